// The main window, the one-message pump, the program's private messages and
// the translation of special keys into the program's key codes.
#pragma once

#include "platform/windows.h"

constexpr UINT WM_SCREENCLOSED = 0x590;
constexpr UINT WM_SCREENRESULT = 0x591;
constexpr UINT WM_QUERYCLOSE = 0x592;

// Event kind bits of a screen's input filter and flush.
constexpr int EV_CHAR = 0x01;
constexpr int EV_KEYUP = 0x02;
constexpr int EV_LDOWN = 0x04;
constexpr int EV_LUP = 0x08;
constexpr int EV_RDOWN = 0x10;
constexpr int EV_RUP = 0x20;
constexpr int EV_MOVE = 0x40;
constexpr int EV_TIMER = 0x80;

extern HWND g_mainWindow;
extern HWND g_focusWindow;
extern int g_closing;

void RegisterMainClass();
void CreateMainWindow();
void OpenMainWindow();
void SetFocusWindow(HWND window);
// Takes one message: 0 for an ordinary one or none, 1 for WM_QUIT (result =
// its exit code), 2 for the end of a screen loop (result = its lParam).
int PumpMessage(int& result);
void CloseAllScreens();
void ForEachScreenWindow(void (*function)(HWND));
int GetModifierState();
int TranslateKey(WPARAM virtualKey, int modifiers);
// The key code a screen hears for a typed character that the program's code
// page lacks (an emoji, a Greek letter): nothing takes it as a letter.
constexpr int kForeignCharacter = 0x8030;
LRESULT CALLBACK MainWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
