#include "classlib/win32/otkGdi.h"

#include <gtest/gtest.h>

using namespace otkGdi;

namespace {

// A 24-bit DIB section so pixels can be read back exactly.
struct Canvas {
  MemoryDc dc{nullptr};
  Bitmap bmp;
  const DWORD* pixels = nullptr;
  int width;
  Canvas(int w, int h) : width(w) {
    BITMAPINFO bi{};
    bi.bmiHeader.biSize = sizeof bi.bmiHeader;
    bi.bmiHeader.biWidth = w;
    bi.bmiHeader.biHeight = -h;
    bi.bmiHeader.biPlanes = 1;
    bi.bmiHeader.biBitCount = 32;
    void* bits = nullptr;
    bmp.Reset(CreateDIBSection(dc.Get(), &bi, DIB_RGB_COLORS, &bits, nullptr, 0));
    pixels = static_cast<const DWORD*>(bits);
    SelectObject(dc.Get(), bmp.Get());
    const RECT all{0, 0, w, h};
    FillRect(dc.Get(), &all, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
  }
  // Reads the DIB's memory directly (0x00RRGGBB), far faster than GetPixel under Wine.
  int CountColor(RECT r, COLORREF c) const {
    GdiFlush();
    const DWORD want = (GetRValue(c) << 16) | (GetGValue(c) << 8) | GetBValue(c);
    int n = 0;
    for (int y = r.top; y < r.bottom; ++y)
      for (int x = r.left; x < r.right; ++x)
        if ((pixels[y * width + x] & 0xFFFFFF) == want) ++n;
    return n;
  }
};

}  // namespace

TEST(OffscreenTextBox, FillsOnlyItsBoxAndDrawsTextInColour) {
  Canvas canvas(200, 60);
  Brush back(CreateSolidBrush(RGB(0, 0, 255)));
  Font font = CreateMessageFont(96);
  OffscreenTextBox box;
  box.Draw(canvas.dc.Get(), 10, 5, 104, 33, font.Get(), back.Get(),
           {{"12:34:56", 0, 0, RGB(255, 0, 0)}, {"3 回", 0, 20, RGB(255, 0, 0)}});

  // Outside the box the canvas is untouched.
  EXPECT_EQ(canvas.CountColor({0, 0, 10, 60}, RGB(255, 255, 255)), 10 * 60);
  EXPECT_EQ(canvas.CountColor({114, 0, 200, 60}, RGB(255, 255, 255)), 86 * 60);
  // Inside: background plus red text on both lines.
  EXPECT_GT(canvas.CountColor({10, 5, 114, 38}, RGB(0, 0, 255)), 104 * 33 / 2);
  EXPECT_GT(canvas.CountColor({10, 5, 114, 25}, RGB(255, 0, 0)), 10);
  EXPECT_GT(canvas.CountColor({10, 25, 114, 38}, RGB(255, 0, 0)), 5);
}

TEST(OffscreenTextBox, RightAlignedTextEndsAtTheRightEdge) {
  Canvas canvas(260, 20);
  Brush back(CreateSolidBrush(RGB(255, 255, 255)));
  Font font = CreateMessageFont(96);
  OffscreenTextBox box;
  box.Draw(canvas.dc.Get(), 0, 0, 241, 13, font.Get(), back.Get(),
           {{"接続時間: 0:01:02", 0, 0, RGB(0, 0, 0), true}});
  // Left half empty, ink near the right edge.
  EXPECT_EQ(canvas.CountColor({0, 0, 100, 13}, RGB(0, 0, 0)), 0);
  EXPECT_GT(canvas.CountColor({200, 0, 241, 13}, RGB(0, 0, 0)), 5);
}

TEST(GdiScaling, TwipsAndDpi) {
  EXPECT_EQ(TwipsToPixels(6615, 96), 441);
  EXPECT_EQ(TwipsToPixels(1440, 144), 144);
  EXPECT_EQ(Scale(104, 144), 156);
  EXPECT_EQ(PixelsToTwips(441, 96), 6615);
}
