#pragma once
// The user's hands and eyes for the dialog tests: real key strokes and clicks through SendInput
// into whatever window has the focus, controls found by identifier, and pictures of screen areas
// when NW_E2E_SHOTS names a folder (the screenshot scripts turn them into PNG files).
#include <windows.h>

#include <initializer_list>
#include <string>

namespace e2e {

// One key with modifiers held (VK_CONTROL, VK_SHIFT, VK_MENU), pressed and released.
void Key(WORD vk, std::initializer_list<WORD> modifiers = {});
// Characters typed as Unicode key strokes.
void Type(const std::wstring& text);
// A left click in the middle of a window.
void Click(HWND wnd);

// With NW_E2E_SHOTS set to a folder: the screen area saved there as NAME.bmp.
void Shot(RECT r, const char* name);
void Shot(HWND wnd, const char* name);

// The child of `dlg` (at any depth) with identifier `id`; the identifier of the focused control.
HWND Control(HWND dlg, int id);
int FocusId(HWND dlg);

}  // namespace e2e
