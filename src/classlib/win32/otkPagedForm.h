#pragma once
// otkPagedForm: a form whose pages are chosen by a column of labels on its left (otkSelFrame), by
// a click on a label, Ctrl+Tab / Ctrl+Shift+Tab or Ctrl+PageDown / Ctrl+PageUp (the labels' tips
// say so). The settings dialogs and the history windows are built on it; each names its pages and
// may refuse some of them for a while.
//
//     const otkPagedForm::Page pages[] = {{"一つ目", kFirst, kFirstControls}, ...};
//     CreatePages(pages);   // strips at the left, containers in `pageRect`, hidden
//     SelectPage(0);
#include <windows.h>

#include <map>
#include <span>
#include <string_view>

#include "classlib/otkSelFrame.h"
#include "classlib/win32/otkForm.h"

namespace otk {

class otkPagedForm : public otkForm::Form, protected otk::otkSelFramePort {
 public:
  struct Page {
    const char* Name;
    int Container;
    std::span<const otkForm::Control> Controls;
  };

 protected:
  // selId / wordId: the first identifiers of the strips UtilSel(i) and their captions UtilWord(i).
  otkPagedForm(HINSTANCE instance, int selId, int wordId, const RECT& pageRect);
  ~otkPagedForm() override;

  void CreatePages(std::span<const Page> pages);
  // Selects page `index` (when the page selector lets it change); the focus leaves a hidden page.
  void SelectPage(int index);
  // The first control of the shown page that may take the first focus gets it.
  void FocusFirstOfPage();
  // Whether control `id` may take the focus first when its page comes (every control by default).
  virtual bool TakesFirstFocus(int /*id*/) const { return true; }
  // Page `index`'s caption, shortened with "..." to its label; then whole in the label's tip.
  void SetPageCaption(int index, std::string_view caption);
  int ShownPage() const { return sel_.NowVisIndex; }
  // Whether the user may choose page `index` now (labels and keys); every page by default.
  virtual bool PageSelectable(int /*index*/) const { return true; }
  // A click on a page label: true when `id` was one (handled).
  bool PageLabelCommand(int id, int code);
  // The colour of page `index`'s caption, kept until the page selector colours it again.
  void SetPageCaptionColor(int index, otk::OleColor color);

  bool PreTranslate(const MSG& msg) override;
  HBRUSH OnColorStatic(HWND control, HDC dc) override;

  otk::otkSelFrame sel_;

 private:
  // otkSelFramePort
  void SetBackColor(otk::otkControlHandle label, otk::OleColor color) override;
  void SetForeColor(otk::otkControlHandle label, otk::OleColor color) override;
  bool Visible(otk::otkControlHandle container) override;
  void SetVisible(otk::otkControlHandle container, bool visible) override;

  int selId_, wordId_;
  RECT pageRect_;
  std::vector<int> containers_;
  std::map<HWND, otk::OleColor> back_, fore_;
  std::map<HWND, HWND> wordToBase_;
  otkGdi::BrushCache brushes_;
};

}  // namespace otk
