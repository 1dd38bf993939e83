#pragma once
// The RTF reader's engine: runs the tokens through the group states into a DocumentBuilder.
#include "common/rtf_codepage.h"
#include "common/rtf_control_words.h"
#include "common/rtf_document_builder.h"
#include "common/rtf_picture.h"
#include "common/rtf_reader.h"
#include "common/rtf_state.h"
#include "common/rtf_tokenizer.h"

#include <QByteArray>
#include <QString>

#include <optional>
#include <string_view>
#include <vector>

namespace vl::rtf {

class Parser {
 public:
  Parser(std::string_view data, QTextDocument *document, const RtfReadOptions &options);
  RtfReadResult run();

 private:
  struct Field {
    QString instruction;
    int link = -1;
    int resultStart = -1;
  };

  GroupState &top() { return stack_.back(); }
  void openGroup();
  void closeGroup();
  void skipCurrentGroup();
  void controlWord(const Token &token);
  void controlSymbol(char c);
  void destinationWord(Word word);
  void charWord(Word word, const Token &token);
  void paraWord(Word word, const Token &token);
  void pictureWord(Word word, const Token &token);
  void text(std::string_view bytes);
  void flushBytes();
  void route(QStringView text);
  void emitChar(char16_t c);
  void emitParagraph();
  int codePage();
  void commitFont();
  void commitColour();
  void finishPicture(const GroupState &group);
  void finishField(const GroupState &group);

  Tokenizer tokenizer_;
  QTextDocument *document_;
  RtfReadOptions options_;
  DocumentTables tables_;
  DocumentBuilder builder_;
  CodePageDecoder decoder_;
  std::vector<GroupState> stack_;
  std::vector<Field> fields_;
  QByteArray pendingBytes_;
  QString decoded_;
  int documentCodePage_ = 1252;
  int skipDepth_ = 0;      // open groups inside the group being skipped
  int unicodeSkip_ = 0;    // fallback characters of \u still to skip
  bool done_ = false;
  // Font table entry being read.
  int fontNumber_ = -1;
  FontEntry fontEntry_;
  // Colour table entry being read.
  int red_ = -1, green_ = -1, blue_ = -1;
  std::optional<PictureData> picture_;
  bool pictureIsAlternative_ = false;
  int shapePictureEnd_ = -1;  // document position after the last \shppict picture
  QString bookmark_;
  qint64 pixelBudget_ = kPicturePixelBudget;
};

}  // namespace vl::rtf
