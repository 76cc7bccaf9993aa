#pragma once
// The columns of a history list: tab stops that follow the widest cell of each shown column (or its
// name, when that is wider), measured in the list's font, and a header line above the list naming
// the columns at those stops. The header moves with the list when it scrolls sideways and takes no
// mouse or keyboard input of its own.
//
//     NWDLogColumns columns;
//     columns.Attach(list, headerHeight);   // the header goes right above the list
//     columns.Show(fill.Columns);           // after every fill
#include <windows.h>

#include <span>

#include "history/NWDLogListModel.h"

namespace nw {

class NWDLogColumns {
 public:
  NWDLogColumns() = default;
  ~NWDLogColumns();
  NWDLogColumns(const NWDLogColumns&) = delete;
  NWDLogColumns& operator=(const NWDLogColumns&) = delete;

  // Creates the header in the list's parent, `height` pixels tall, right above `list`.
  void Attach(HWND list, int height);
  // Tab stops, header items and the list's scrolling width for `columns` (in row order).
  void Show(std::span<const ShownColumn> columns);

  HWND Header() const { return header_; }

 private:
  static LRESULT CALLBACK ListProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK HeaderProc(HWND wnd, UINT msg, WPARAM wp, LPARAM lp);
  // Lines the header up with the list's sideways scroll position.
  void Follow();
  void Detach();

  HWND list_ = nullptr;
  HWND header_ = nullptr;
  WNDPROC listProc_ = nullptr, headerProc_ = nullptr;  // their own procedures
  RECT place_{};  // the header's place in the parent when the list is not scrolled
  int scrolled_ = 0;
};

}  // namespace nw
