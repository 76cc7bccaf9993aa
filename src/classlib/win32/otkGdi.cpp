#include "classlib/win32/otkGdi.h"

#include "classlib/win32/WinText.h"

namespace otkGdi {

namespace {

UINT layoutDpi = 0;

// The DPI the system metrics and fonts come at. It stays what it was when the program started
// until the user logs on again, so it is asked once; Windows 10 and later say it without a screen
// DC, which costs a start-up under Wine most of a millisecond.
UINT DeviceDpi() {
  static const UINT dpi = [] {
    using SystemDpiFn = UINT(WINAPI*)();
    const FARPROC found = GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForSystem");
    const auto systemDpi = reinterpret_cast<SystemDpiFn>(reinterpret_cast<void (*)()>(found));
    if (const UINT d = systemDpi ? systemDpi() : 0) return d;
    HDC screen = GetDC(nullptr);
    if (!screen) return 96u;
    const int caps = GetDeviceCaps(screen, LOGPIXELSY);
    ReleaseDC(nullptr, screen);
    return caps > 0 ? static_cast<UINT>(caps) : 96u;
  }();
  return dpi;
}

}  // namespace

UINT ScreenDpi() { return layoutDpi ? layoutDpi : DeviceDpi(); }

void SetLayoutDpi(UINT dpi) { layoutDpi = dpi; }

Bitmap LoadBitmapScaled(HINSTANCE inst, int id, UINT dpi) {
  HBITMAP raw =
      static_cast<HBITMAP>(LoadImageW(inst, MAKEINTRESOURCEW(id), IMAGE_BITMAP, 0, 0, LR_LOADMAP3DCOLORS));
  if (!raw || dpi == 96) return Bitmap(raw);
  BITMAP bm{};
  GetObjectW(raw, sizeof bm, &bm);
  DeleteObject(raw);
  return Bitmap(static_cast<HBITMAP>(LoadImageW(inst, MAKEINTRESOURCEW(id), IMAGE_BITMAP, Scale(bm.bmWidth, dpi),
                                                Scale(bm.bmHeight, dpi), LR_LOADMAP3DCOLORS)));
}

Font CreateMessageFont(UINT dpi) {
  NONCLIENTMETRICSW ncm{};
  ncm.cbSize = sizeof ncm;
  LOGFONTW lf{};
  if (SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof ncm, &ncm, 0)) {
    lf = ncm.lfMessageFont;
    // The metrics come at the screen's DPI; rescale when asked for another.
    const UINT screen = DeviceDpi();
    if (dpi != screen) lf.lfHeight = MulDiv(lf.lfHeight, static_cast<int>(dpi), static_cast<int>(screen));
  } else {
    lf.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
    lf.lfWeight = FW_NORMAL;
    lf.lfCharSet = DEFAULT_CHARSET;
  }
  // A face without Japanese glyphs would only show boxes; leave the choice of a face that has
  // them to the font mapper.
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfQuality = DEFAULT_QUALITY;
  return Font(CreateFontIndirectW(&lf));
}

int MeasureText(HDC dc, const std::string& text) {
  const std::wstring w = nw::win::Widen(text);
  SIZE size{};
  if (!GetTextExtentPoint32W(dc, w.c_str(), static_cast<int>(w.size()), &size)) return 0;
  return size.cx;
}

void OffscreenTextBox::Draw(HDC target, int left, int top, int width, int height, HFONT font,
                            HBRUSH background, const std::vector<TextLine>& lines) {
  if (!target || width <= 0 || height <= 0) return;
  if (!bitmap_ || width != width_ || height != height_) {
    bitmap_.Reset(CreateCompatibleBitmap(target, width, height));
    width_ = width;
    height_ = height;
    if (!bitmap_) return;
  }
  MemoryDc mem(target);
  if (!mem) return;
  if (!font) font = static_cast<HFONT>(GetCurrentObject(target, OBJ_FONT));
  SelectGuard selBitmap(mem.Get(), bitmap_.Get());
  SelectGuard selFont(mem.Get(), font);

  const RECT box{0, 0, width, height};
  FillRect(mem.Get(), &box, background ? background : GetSysColorBrush(COLOR_BTNFACE));
  SetBkMode(mem.Get(), TRANSPARENT);
  for (const TextLine& line : lines) {
    const std::wstring w = nw::win::Widen(line.Text);
    SetTextColor(mem.Get(), line.Color);
    int x = line.X;
    if (line.AlignRight) {
      SIZE size{};
      GetTextExtentPoint32W(mem.Get(), w.c_str(), static_cast<int>(w.size()), &size);
      x = width - size.cx;
    }
    TextOutW(mem.Get(), x, line.Y, w.c_str(), static_cast<int>(w.size()));
  }
  BitBlt(target, left, top, width, height, mem.Get(), 0, 0, SRCCOPY);
}

}  // namespace otkGdi
