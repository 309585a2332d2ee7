// The dialog manager's parts inside USER: the template reader, the classes of
// the dialog and its items, and what the items ask of the dialog.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/win/types.h"
#include "platform/windows.h"

namespace platform::user {

inline constexpr const char* kDialogClass = "#32770";

struct DialogTemplateItem {
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT units{};  // left, top, right, bottom in dialog units
    WORD id = 0;
    std::string className;  // "Button", "Edit", "Static" or the template's own name
    std::string text;       // Windows-1252
};

struct DialogTemplate {
    DWORD style = 0;
    DWORD exStyle = 0;
    RECT units{};
    std::string caption;
    WORD pointSize = 0;  // with DS_SETFONT
    std::string face;
    std::vector<DialogTemplateItem> items;
};

// Reads a standard DLGTEMPLATE of size bytes. Every field is checked against
// the size before it is read; false for a truncated or malformed template, an
// extended one, a menu, or an item of a predefined class other than button,
// edit and static.
[[nodiscard]] bool ParseDialogTemplate(const uint8_t* data, size_t size, DialogTemplate& out);

// Registers the dialog class and the item classes when they are missing.
void EnsureDialogClasses();

// The item procedures, for the class registrations.
LRESULT CALLBACK ButtonProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK StaticProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK EditProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// The font an item draws its text with: the one WM_SETFONT gave, else the
// default GUI font.
HFONT ItemFont(HWND item);
void SetItemFont(HWND item, HFONT font);

// Sends WM_COMMAND with a notification code to an item's parent.
void NotifyParent(HWND item, WORD code);

// Forget the items' state; ResetDialogs calls them.
void ResetDialogItems();
void ResetEdits();

}  // namespace platform::user
