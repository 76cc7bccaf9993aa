#include "E2eInput.h"

#include <cstdio>
#include <cstdlib>
#include <thread>
#include <vector>

#include "E2eSupport.h"
#include "../win32/WindowTestKit.h"

namespace e2e {

using namespace std::chrono_literals;

void Key(WORD vk, std::initializer_list<WORD> modifiers) {
  wtk::Key(vk, modifiers);
  std::this_thread::sleep_for(150ms);
}

void Type(const std::wstring& text) {
  wtk::Type(text);
  std::this_thread::sleep_for(150ms);
}

void Click(HWND wnd) {
  RECT r{};
  GetWindowRect(wnd, &r);
  SetCursorPos((r.left + r.right) / 2, (r.top + r.bottom) / 2);
  INPUT in[2]{};
  in[0].type = in[1].type = INPUT_MOUSE;
  in[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  in[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, in, sizeof(INPUT));
  std::this_thread::sleep_for(300ms);
}

void Shot(RECT r, const char* name) {
  const char* dir = std::getenv("NW_E2E_SHOTS");
  if (!dir || !*dir) return;
  std::this_thread::sleep_for(400ms);  // painted
  const int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return;
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  BITMAPINFO bi{};
  bi.bmiHeader.biSize = sizeof bi.bmiHeader;
  bi.bmiHeader.biWidth = w;
  bi.bmiHeader.biHeight = h;
  bi.bmiHeader.biPlanes = 1;
  bi.bmiHeader.biBitCount = 24;
  void* bits = nullptr;
  HBITMAP bmp = CreateDIBSection(screen, &bi, DIB_RGB_COLORS, &bits, nullptr, 0);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  const DWORD stride = (static_cast<DWORD>(w) * 3 + 3) & ~3u;
  BITMAPFILEHEADER fh{};
  fh.bfType = 0x4D42;
  fh.bfOffBits = sizeof fh + sizeof bi.bmiHeader;
  fh.bfSize = fh.bfOffBits + stride * static_cast<DWORD>(h);
  if (FILE* f = std::fopen((std::string(dir) + "\\" + name + ".bmp").c_str(), "wb")) {
    std::fwrite(&fh, sizeof fh, 1, f);
    std::fwrite(&bi.bmiHeader, sizeof bi.bmiHeader, 1, f);
    std::fwrite(bits, stride, static_cast<size_t>(h), f);
    std::fclose(f);
  }
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
}

void Shot(HWND wnd, const char* name) {
  RECT r{};
  GetWindowRect(wnd, &r);
  Shot(r, name);
}

HWND Control(HWND dlg, int id) {
  struct Ctx {
    int Id;
    HWND Found;
    static BOOL CALLBACK Each(HWND w, LPARAM lp) {
      auto* c = reinterpret_cast<Ctx*>(lp);
      if (GetDlgCtrlID(w) != c->Id) return TRUE;
      c->Found = w;
      return FALSE;
    }
  } ctx{id, nullptr};
  EnumChildWindows(dlg, &Ctx::Each, reinterpret_cast<LPARAM>(&ctx));
  return ctx.Found;
}

int FocusId(HWND dlg) {
  GUITHREADINFO info{};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(dlg, nullptr), &info) || !info.hwndFocus) return 0;
  return GetDlgCtrlID(info.hwndFocus);
}

}  // namespace e2e
