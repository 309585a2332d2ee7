// The SDL backend's translation of keys and text into what Windows reports:
// virtual-key codes, PC scan codes and Windows-1252 characters. Pure functions
// over SDL's key numbers; nothing here needs a display.
//
// Virtual keys follow the US layout for punctuation keys whose character has no
// fixed Windows code (the key beside "0" on a French keyboard is VK_OEM_MINUS
// here); letters follow the active layout, digits the key's position.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "platform/kernel/codepage.h"

namespace platform {

// Bit set in a scan code for keys that Windows marks as extended (the E0
// prefix of the PC set-1 codes), so that (scan << 16) gives lParam bits 16-24.
inline constexpr uint32_t kScanExtended = 0x100;

struct KeyCodes {
    uint32_t vk = 0;    // 0 when the key has no Windows virtual key
    uint32_t scan = 0;  // set-1 make code, with kScanExtended for E0 keys
};

// Maps an SDL scancode and keycode to the Windows virtual key and scan code.
// With numLock off, keypad digits give the navigation keys, as on Windows.
KeyCodes MapSdlKey(int sdlScancode, int32_t sdlKeycode, bool numLock);

// The Windows-1252 character a key-down makes: control characters for
// Backspace, Tab, Enter, Escape and Ctrl+A..Ctrl+Z, otherwise the first
// character of the text the desktop typed; 0 when there is none.
uint8_t KeyCharacter(uint32_t vk, bool ctrl, bool alt, std::string_view textUtf8);

}  // namespace platform
