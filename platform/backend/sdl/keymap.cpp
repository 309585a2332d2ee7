#include "platform/backend/sdl/keymap.h"

#include <SDL_keycode.h>
#include <SDL_scancode.h>

#include <array>


namespace platform {
namespace {

// Windows virtual-key codes, by their Windows names without the VK_ prefix.
enum : uint16_t {
    kVkBack = 0x08, kVkTab = 0x09, kVkClear = 0x0C, kVkReturn = 0x0D,
    kVkShift = 0x10, kVkControl = 0x11, kVkMenu = 0x12, kVkPause = 0x13,
    kVkCapital = 0x14, kVkEscape = 0x1B, kVkSpace = 0x20, kVkPrior = 0x21,
    kVkNext = 0x22, kVkEnd = 0x23, kVkHome = 0x24, kVkLeft = 0x25, kVkUp = 0x26,
    kVkRight = 0x27, kVkDown = 0x28, kVkSnapshot = 0x2C, kVkInsert = 0x2D,
    kVkDelete = 0x2E, kVkLWin = 0x5B, kVkRWin = 0x5C, kVkApps = 0x5D,
    kVkNumpad0 = 0x60, kVkMultiply = 0x6A, kVkAdd = 0x6B, kVkSubtract = 0x6D,
    kVkDecimal = 0x6E, kVkDivide = 0x6F, kVkF1 = 0x70, kVkNumLock = 0x90,
    kVkScroll = 0x91, kVkOem1 = 0xBA, kVkOemPlus = 0xBB, kVkOemComma = 0xBC,
    kVkOemMinus = 0xBD, kVkOemPeriod = 0xBE, kVkOem2 = 0xBF, kVkOem3 = 0xC0,
    kVkOem4 = 0xDB, kVkOem5 = 0xDC, kVkOem6 = 0xDD, kVkOem7 = 0xDE,
    kVkOem102 = 0xE2,
};

constexpr uint16_t kExt = kScanExtended;

struct KeyEntry {
    uint16_t vk = 0;
    uint16_t scan = 0;
};

using KeyTable = std::array<KeyEntry, SDL_NUM_SCANCODES>;

void AddLettersAndDigits(KeyTable& table) {
    // Set-1 make codes of A..Z, in alphabetical order.
    static constexpr uint8_t kLetterScans[26] = {
        0x1E, 0x30, 0x2E, 0x20, 0x12, 0x21, 0x22, 0x23, 0x17, 0x24, 0x25, 0x26, 0x32,
        0x31, 0x18, 0x19, 0x10, 0x13, 0x1F, 0x14, 0x16, 0x2F, 0x11, 0x2D, 0x15, 0x2C,
    };
    for (int i = 0; i < 26; ++i) {
        table[SDL_SCANCODE_A + i] = {static_cast<uint16_t>('A' + i), kLetterScans[i]};
    }
    // SDL numbers the top row 1..9 then 0, as the set-1 codes 2..11 do.
    for (int i = 0; i < 10; ++i) {
        uint16_t vk = static_cast<uint16_t>(i == 9 ? '0' : '1' + i);
        table[SDL_SCANCODE_1 + i] = {vk, static_cast<uint16_t>(0x02 + i)};
    }
    for (int i = 0; i < 10; ++i) {
        table[SDL_SCANCODE_F1 + i] = {static_cast<uint16_t>(kVkF1 + i), static_cast<uint16_t>(0x3B + i)};
    }
    table[SDL_SCANCODE_F11] = {kVkF1 + 10, 0x57};
    table[SDL_SCANCODE_F12] = {kVkF1 + 11, 0x58};
}

void AddEditingAndPunctuation(KeyTable& table) {
    table[SDL_SCANCODE_RETURN] = {kVkReturn, 0x1C};
    table[SDL_SCANCODE_ESCAPE] = {kVkEscape, 0x01};
    table[SDL_SCANCODE_BACKSPACE] = {kVkBack, 0x0E};
    table[SDL_SCANCODE_TAB] = {kVkTab, 0x0F};
    table[SDL_SCANCODE_SPACE] = {kVkSpace, 0x39};
    table[SDL_SCANCODE_MINUS] = {kVkOemMinus, 0x0C};
    table[SDL_SCANCODE_EQUALS] = {kVkOemPlus, 0x0D};
    table[SDL_SCANCODE_LEFTBRACKET] = {kVkOem4, 0x1A};
    table[SDL_SCANCODE_RIGHTBRACKET] = {kVkOem6, 0x1B};
    table[SDL_SCANCODE_BACKSLASH] = {kVkOem5, 0x2B};
    table[SDL_SCANCODE_NONUSHASH] = {kVkOem5, 0x2B};
    table[SDL_SCANCODE_SEMICOLON] = {kVkOem1, 0x27};
    table[SDL_SCANCODE_APOSTROPHE] = {kVkOem7, 0x28};
    table[SDL_SCANCODE_GRAVE] = {kVkOem3, 0x29};
    table[SDL_SCANCODE_COMMA] = {kVkOemComma, 0x33};
    table[SDL_SCANCODE_PERIOD] = {kVkOemPeriod, 0x34};
    table[SDL_SCANCODE_SLASH] = {kVkOem2, 0x35};
    table[SDL_SCANCODE_NONUSBACKSLASH] = {kVkOem102, 0x56};
    table[SDL_SCANCODE_CAPSLOCK] = {kVkCapital, 0x3A};
    table[SDL_SCANCODE_PRINTSCREEN] = {kVkSnapshot, 0x37 | kExt};
    table[SDL_SCANCODE_SCROLLLOCK] = {kVkScroll, 0x46};
    table[SDL_SCANCODE_PAUSE] = {kVkPause, 0x45};
    table[SDL_SCANCODE_INSERT] = {kVkInsert, 0x52 | kExt};
    table[SDL_SCANCODE_HOME] = {kVkHome, 0x47 | kExt};
    table[SDL_SCANCODE_PAGEUP] = {kVkPrior, 0x49 | kExt};
    table[SDL_SCANCODE_DELETE] = {kVkDelete, 0x53 | kExt};
    table[SDL_SCANCODE_END] = {kVkEnd, 0x4F | kExt};
    table[SDL_SCANCODE_PAGEDOWN] = {kVkNext, 0x51 | kExt};
    table[SDL_SCANCODE_RIGHT] = {kVkRight, 0x4D | kExt};
    table[SDL_SCANCODE_LEFT] = {kVkLeft, 0x4B | kExt};
    table[SDL_SCANCODE_DOWN] = {kVkDown, 0x50 | kExt};
    table[SDL_SCANCODE_UP] = {kVkUp, 0x48 | kExt};
    table[SDL_SCANCODE_APPLICATION] = {kVkApps, 0x5D | kExt};
}

void AddKeypadAndModifiers(KeyTable& table) {
    table[SDL_SCANCODE_NUMLOCKCLEAR] = {kVkNumLock, 0x45 | kExt};
    table[SDL_SCANCODE_KP_DIVIDE] = {kVkDivide, 0x35 | kExt};
    table[SDL_SCANCODE_KP_MULTIPLY] = {kVkMultiply, 0x37};
    table[SDL_SCANCODE_KP_MINUS] = {kVkSubtract, 0x4A};
    table[SDL_SCANCODE_KP_PLUS] = {kVkAdd, 0x4E};
    table[SDL_SCANCODE_KP_ENTER] = {kVkReturn, 0x1C | kExt};
    // SDL numbers the keypad 1..9 then 0; the scan codes follow the pad's rows.
    static constexpr uint8_t kPadScans[10] = {0x4F, 0x50, 0x51, 0x4B, 0x4C, 0x4D, 0x47, 0x48, 0x49, 0x52};
    for (int i = 0; i < 10; ++i) {
        uint16_t vk = static_cast<uint16_t>(kVkNumpad0 + (i == 9 ? 0 : i + 1));
        table[SDL_SCANCODE_KP_1 + i] = {vk, kPadScans[i]};
    }
    table[SDL_SCANCODE_KP_PERIOD] = {kVkDecimal, 0x53};
    table[SDL_SCANCODE_LCTRL] = {kVkControl, 0x1D};
    table[SDL_SCANCODE_RCTRL] = {kVkControl, 0x1D | kExt};
    table[SDL_SCANCODE_LSHIFT] = {kVkShift, 0x2A};
    table[SDL_SCANCODE_RSHIFT] = {kVkShift, 0x36};
    table[SDL_SCANCODE_LALT] = {kVkMenu, 0x38};
    table[SDL_SCANCODE_RALT] = {kVkMenu, 0x38 | kExt};
    table[SDL_SCANCODE_LGUI] = {kVkLWin, 0x5B | kExt};
    table[SDL_SCANCODE_RGUI] = {kVkRWin, 0x5C | kExt};
}

const KeyTable& ScancodeTable() {
    static const KeyTable table = [] {
        KeyTable t{};
        AddLettersAndDigits(t);
        AddEditingAndPunctuation(t);
        AddKeypadAndModifiers(t);
        return t;
    }();
    return table;
}

// With Num Lock off the keypad digits are navigation keys (not extended).
uint16_t KeypadNavigationVk(int scancode) {
    switch (scancode) {
        case SDL_SCANCODE_KP_0: return kVkInsert;
        case SDL_SCANCODE_KP_1: return kVkEnd;
        case SDL_SCANCODE_KP_2: return kVkDown;
        case SDL_SCANCODE_KP_3: return kVkNext;
        case SDL_SCANCODE_KP_4: return kVkLeft;
        case SDL_SCANCODE_KP_5: return kVkClear;
        case SDL_SCANCODE_KP_6: return kVkRight;
        case SDL_SCANCODE_KP_7: return kVkHome;
        case SDL_SCANCODE_KP_8: return kVkUp;
        case SDL_SCANCODE_KP_9: return kVkPrior;
        case SDL_SCANCODE_KP_PERIOD: return kVkDelete;
        default: return 0;
    }
}

// The OEM virtual key of a punctuation character, as the US layout places it.
uint16_t PunctuationVk(int32_t keycode) {
    switch (keycode) {
        case ';': return kVkOem1;
        case '=': return kVkOemPlus;
        case ',': return kVkOemComma;
        case '-': return kVkOemMinus;
        case '.': return kVkOemPeriod;
        case '/': return kVkOem2;
        case '`': return kVkOem3;
        case '[': return kVkOem4;
        case '\\': return kVkOem5;
        case ']': return kVkOem6;
        case '\'': return kVkOem7;
        default: return 0;
    }
}

bool IsCharacterKey(int scancode) {
    return (scancode >= SDL_SCANCODE_A && scancode <= SDL_SCANCODE_Z) ||
           (scancode >= SDL_SCANCODE_MINUS && scancode <= SDL_SCANCODE_SLASH) ||
           scancode == SDL_SCANCODE_NONUSBACKSLASH;
}

}  // namespace

KeyCodes MapSdlKey(int sdlScancode, int32_t sdlKeycode, bool numLock) {
    if (sdlScancode < 0 || sdlScancode >= SDL_NUM_SCANCODES) {
        return {};
    }
    KeyEntry entry = ScancodeTable()[sdlScancode];
    KeyCodes codes{entry.vk, entry.scan};
    if (!numLock) {
        if (uint16_t vk = KeypadNavigationVk(sdlScancode)) {
            codes.vk = vk;
        }
    }
    if (IsCharacterKey(sdlScancode)) {
        // Letters and punctuation follow the layout; digits keep their place.
        if (sdlKeycode >= 'a' && sdlKeycode <= 'z') {
            codes.vk = static_cast<uint32_t>(sdlKeycode - 'a' + 'A');
        } else if (uint16_t vk = PunctuationVk(sdlKeycode)) {
            codes.vk = vk;
        }
    }
    return codes;
}

uint8_t KeyCharacter(uint32_t vk, bool ctrl, bool alt, std::string_view textUtf8) {
    switch (vk) {
        case kVkBack: return 8;
        case kVkTab: return 9;
        case kVkReturn: return 13;
        case kVkEscape: return 27;
        default: break;
    }
    if (ctrl && !alt) {
        return vk >= 'A' && vk <= 'Z' ? static_cast<uint8_t>(vk - 'A' + 1) : 0;
    }
    size_t pos = 0;
    return Cp1252ByteOf(NextCodePoint(textUtf8, pos));
}

}  // namespace platform
