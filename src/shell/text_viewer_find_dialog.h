#pragma once
// The find dialog of the text views ("Localizar"): the text, whole word, match case and the
// direction; "Localizar próxima" asks for a search, closing ends the dialog.
#include <QDialog>

#include "shell/text_viewer_find.h"

class QCheckBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

namespace vl {

class TfindDialog : public QDialog {
  Q_OBJECT
 public:
  explicit TfindDialog(QWidget *parent = nullptr);
  void setRequest(const FindRequest &request);
  FindRequest request() const;

 signals:
  void findNext(const vl::FindRequest &request);

 private:
  QLineEdit *m_text;
  QCheckBox *m_wholeWord;
  QCheckBox *m_matchCase;
  QRadioButton *m_up;
  QRadioButton *m_down;
  QPushButton *m_find;
};

}  // namespace vl
