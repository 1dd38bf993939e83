#include "shell/text_viewer_install.h"

#include <memory>

#include "shell/copy_print.h"
#include "shell/form_main.h"
#include "shell/navigation.h"
#include "shell/node_data.h"
#include "shell/text_viewer.h"

namespace vl {

namespace {

// The window owns the viewer through its viewer table; the QObject parent must not delete it too.
struct ViewerHandle : TopicViewer {
  explicit ViewerHandle(TextViewer *viewer) : viewer(viewer) {}
  void showTopic(TformMain &window, const QModelIndex &node, TNodeData &topic) override {
    if (viewer) viewer->showTopic(window, node, topic);
  }
  void clear(TformMain &window) override {
    if (viewer) viewer->clear(window);
  }
  void refresh(TformMain &window) override {
    if (viewer) viewer->refresh(window);
  }
  QPointer<TextViewer> viewer;
};

}  // namespace

TextPage installTextPage(TformMain &window) {
  TextPage page;
  page.text = new TextViewer(window);
  page.navigation = new Navigation(window, *page.text);
  page.copyPrint = new CopyPrint(window);
  window.setViewer(KindText, std::make_shared<ViewerHandle>(page.text));
  Navigation *navigation = page.navigation;
  ShellHooks &hooks = window.hooks();
  hooks.leaveTopic = [navigation](TformMain &, const QModelIndex &left) { navigation->LeaveTopic(left); };
  hooks.topicShown = [navigation, previous = hooks.topicShown](TformMain &w, const QModelIndex &node) {
    navigation->BuildParentsLine(node);
    if (previous) previous(w, node);
  };
  hooks.historyEmpty = [navigation] { return navigation->history().empty(); };
  return page;
}

}  // namespace vl
