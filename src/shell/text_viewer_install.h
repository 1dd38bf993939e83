#pragma once
// Installs the text page, navigation and the copy, print and mail commands into the main window.
namespace vl {

class CopyPrint;
class Navigation;
class TextViewer;
class TformMain;

struct TextPage {
  TextViewer *text = nullptr;      // owned by the window
  Navigation *navigation = nullptr;
  CopyPrint *copyPrint = nullptr;
};

TextPage installTextPage(TformMain &window);

}  // namespace vl
