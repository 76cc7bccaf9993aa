#pragma once
// GDI ownership and the off-screen text boxes of the counter displays.
//
// Every handle kind has one move-only owner; selecting an object into a DC goes through
// SelectGuard so the DC gets its old object back. Layouts are designed at 96 DPI and scaled
// with Scale(); the program declares itself system-DPI aware, so one DPI holds for the process.
#include <windows.h>

#include <cstdint>
#include <map>
#include <string>
#include <utility>
#include <vector>

namespace otkGdi {

// Owner of one GDI object (HBITMAP, HFONT, HBRUSH, HPEN); DeleteObject on destruction.
template <class H>
class GdiObject {
 public:
  GdiObject() = default;
  explicit GdiObject(H h) : h_(h) {}
  GdiObject(const GdiObject&) = delete;
  GdiObject& operator=(const GdiObject&) = delete;
  GdiObject(GdiObject&& o) noexcept : h_(std::exchange(o.h_, nullptr)) {}
  GdiObject& operator=(GdiObject&& o) noexcept {
    if (this != &o) Reset(std::exchange(o.h_, nullptr));
    return *this;
  }
  ~GdiObject() { Reset(); }

  H Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }
  void Reset(H h = nullptr) {
    if (h_) DeleteObject(h_);
    h_ = h;
  }

 private:
  H h_ = nullptr;
};

using Bitmap = GdiObject<HBITMAP>;
using Font = GdiObject<HFONT>;
using Brush = GdiObject<HBRUSH>;
using Pen = GdiObject<HPEN>;

// A memory DC (CreateCompatibleDC / DeleteDC).
class MemoryDc {
 public:
  explicit MemoryDc(HDC compatibleWith) : h_(CreateCompatibleDC(compatibleWith)) {}
  MemoryDc(const MemoryDc&) = delete;
  MemoryDc& operator=(const MemoryDc&) = delete;
  ~MemoryDc() {
    if (h_) DeleteDC(h_);
  }
  HDC Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HDC h_;
};

// A window's client DC for the length of a scope (GetDC / ReleaseDC).
class WindowDc {
 public:
  explicit WindowDc(HWND wnd) : wnd_(wnd), h_(GetDC(wnd)) {}
  WindowDc(const WindowDc&) = delete;
  WindowDc& operator=(const WindowDc&) = delete;
  ~WindowDc() {
    if (h_) ReleaseDC(wnd_, h_);
  }
  HDC Get() const { return h_; }
  explicit operator bool() const { return h_ != nullptr; }

 private:
  HWND wnd_;
  HDC h_;
};

// BeginPaint / EndPaint.
class PaintDc {
 public:
  explicit PaintDc(HWND wnd) : wnd_(wnd) { h_ = BeginPaint(wnd, &ps_); }
  PaintDc(const PaintDc&) = delete;
  PaintDc& operator=(const PaintDc&) = delete;
  ~PaintDc() { EndPaint(wnd_, &ps_); }
  HDC Get() const { return h_; }
  const RECT& Area() const { return ps_.rcPaint; }

 private:
  HWND wnd_;
  PAINTSTRUCT ps_{};
  HDC h_;
};

// SelectObject for a scope; the previous object is selected back at the end.
class SelectGuard {
 public:
  SelectGuard(HDC dc, HGDIOBJ obj) : dc_(dc), old_(obj ? SelectObject(dc, obj) : nullptr) {}
  SelectGuard(const SelectGuard&) = delete;
  SelectGuard& operator=(const SelectGuard&) = delete;
  ~SelectGuard() {
    if (old_) SelectObject(dc_, old_);
  }

 private:
  HDC dc_;
  HGDIOBJ old_;
};

// The DPI windows are laid out for: the screen's (96 on a standard display), or the one set by
// SetLayoutDpi. The layout tests measure every window at 96 and at 144 DPI in one run, which the
// screen's own setting cannot give them (it changes only with a new session).
UINT ScreenDpi();
void SetLayoutDpi(UINT dpi);  // 0: the screen's again
// A 96-DPI length at `dpi`.
inline int Scale(int px96, UINT dpi) { return MulDiv(px96, static_cast<int>(dpi), 96); }
// Twips (1440 per inch) to pixels at `dpi`.
inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }
inline int PixelsToTwips(int px, UINT dpi) { return MulDiv(px, 1440, static_cast<int>(dpi)); }

// A stored colour: RGB in the low three bytes, or with the top bit set a system colour by the
// index in its low byte (0x8000000D: the selection highlight).
inline COLORREF OleToColorRef(uint32_t c) {
  return (c & 0x80000000u) ? GetSysColor(static_cast<int>(c & 0xFF)) : static_cast<COLORREF>(c & 0xFFFFFF);
}

// Solid brushes by colour, made on first use and kept as long as the cache.
class BrushCache {
 public:
  HBRUSH For(COLORREF c) {
    Brush& b = brushes_[c];
    if (!b) b.Reset(CreateSolidBrush(c));
    return b.Get();
  }

 private:
  std::map<COLORREF, Brush> brushes_;
};

// A button picture of the program's resources at `dpi` (drawn for 96 DPI; the background becomes
// the button face colour). Null when the resource is missing.
Bitmap LoadBitmapScaled(HINSTANCE inst, int id, UINT dpi);

// The system's message font (the font of message boxes and dialogs) at `dpi`.
Font CreateMessageFont(UINT dpi);

// Text width in pixels of UTF-8 `text` in the font selected into `dc`.
int MeasureText(HDC dc, const std::string& text);

// One line of text in an off-screen box, in box coordinates (already scaled).
struct TextLine {
  std::string Text;  // UTF-8
  int X = 0;
  int Y = 0;
  COLORREF Color = RGB(0, 0, 0);
  bool AlignRight = false;  // right-aligned to the box's right edge (X ignored)
};

// Draws lines of text into an off-screen bitmap of the box's size and copies the bitmap to
// `target` at (left, top), so the box never flickers. The bitmap is kept between calls and
// re-created only when the box size changes.
class OffscreenTextBox {
 public:
  // `font` may be null (the target DC's current font is used); `background` fills the box.
  void Draw(HDC target, int left, int top, int width, int height, HFONT font, HBRUSH background,
            const std::vector<TextLine>& lines);

 private:
  Bitmap bitmap_;
  int width_ = 0;
  int height_ = 0;
};

}  // namespace otkGdi
