#include "platform/backend/sdl/keymap.h"

#include <SDL_keycode.h>
#include <SDL_scancode.h>
#include <gtest/gtest.h>

namespace platform {
namespace {

struct KeyCase {
    int scancode;
    SDL_Keycode keycode;
    bool numLock;
    uint32_t vk;
    uint32_t scan;
};

TEST(SdlKeymap, KeysGiveWindowsVirtualKeysAndScanCodes) {
    const KeyCase cases[] = {
        {SDL_SCANCODE_A, SDLK_a, true, 'A', 0x1E},
        {SDL_SCANCODE_Z, SDLK_z, true, 'Z', 0x2C},
        {SDL_SCANCODE_M, SDLK_m, true, 'M', 0x32},
        {SDL_SCANCODE_1, SDLK_1, true, '1', 0x02},
        {SDL_SCANCODE_9, SDLK_9, true, '9', 0x0A},
        {SDL_SCANCODE_0, SDLK_0, true, '0', 0x0B},
        {SDL_SCANCODE_BACKSPACE, SDLK_BACKSPACE, true, 0x08, 0x0E},
        {SDL_SCANCODE_TAB, SDLK_TAB, true, 0x09, 0x0F},
        {SDL_SCANCODE_RETURN, SDLK_RETURN, true, 0x0D, 0x1C},
        {SDL_SCANCODE_KP_ENTER, SDLK_KP_ENTER, true, 0x0D, 0x1C | kScanExtended},
        {SDL_SCANCODE_ESCAPE, SDLK_ESCAPE, true, 0x1B, 0x01},
        {SDL_SCANCODE_SPACE, SDLK_SPACE, true, 0x20, 0x39},
        {SDL_SCANCODE_PAGEUP, SDLK_PAGEUP, true, 0x21, 0x49 | kScanExtended},
        {SDL_SCANCODE_PAGEDOWN, SDLK_PAGEDOWN, true, 0x22, 0x51 | kScanExtended},
        {SDL_SCANCODE_END, SDLK_END, true, 0x23, 0x4F | kScanExtended},
        {SDL_SCANCODE_HOME, SDLK_HOME, true, 0x24, 0x47 | kScanExtended},
        {SDL_SCANCODE_LEFT, SDLK_LEFT, true, 0x25, 0x4B | kScanExtended},
        {SDL_SCANCODE_UP, SDLK_UP, true, 0x26, 0x48 | kScanExtended},
        {SDL_SCANCODE_RIGHT, SDLK_RIGHT, true, 0x27, 0x4D | kScanExtended},
        {SDL_SCANCODE_DOWN, SDLK_DOWN, true, 0x28, 0x50 | kScanExtended},
        {SDL_SCANCODE_DELETE, SDLK_DELETE, true, 0x2E, 0x53 | kScanExtended},
        {SDL_SCANCODE_F1, SDLK_F1, true, 0x70, 0x3B},
        {SDL_SCANCODE_F10, SDLK_F10, true, 0x79, 0x44},
        {SDL_SCANCODE_F11, SDLK_F11, true, 0x7A, 0x57},
        {SDL_SCANCODE_F12, SDLK_F12, true, 0x7B, 0x58},
        {SDL_SCANCODE_LSHIFT, SDLK_LSHIFT, true, 0x10, 0x2A},
        {SDL_SCANCODE_RSHIFT, SDLK_RSHIFT, true, 0x10, 0x36},
        {SDL_SCANCODE_LCTRL, SDLK_LCTRL, true, 0x11, 0x1D},
        {SDL_SCANCODE_RCTRL, SDLK_RCTRL, true, 0x11, 0x1D | kScanExtended},
        {SDL_SCANCODE_LALT, SDLK_LALT, true, 0x12, 0x38},
        {SDL_SCANCODE_RALT, SDLK_RALT, true, 0x12, 0x38 | kScanExtended},
        // The keypad: digits with Num Lock, navigation without, same scan codes.
        {SDL_SCANCODE_KP_0, SDLK_KP_0, true, 0x60, 0x52},
        {SDL_SCANCODE_KP_1, SDLK_KP_1, true, 0x61, 0x4F},
        {SDL_SCANCODE_KP_9, SDLK_KP_9, true, 0x69, 0x49},
        {SDL_SCANCODE_KP_1, SDLK_KP_1, false, 0x23, 0x4F},
        {SDL_SCANCODE_KP_8, SDLK_KP_8, false, 0x26, 0x48},
        {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, true, 0x6E, 0x53},
        {SDL_SCANCODE_KP_PERIOD, SDLK_KP_PERIOD, false, 0x2E, 0x53},
        {SDL_SCANCODE_KP_PLUS, SDLK_KP_PLUS, false, 0x6B, 0x4E},
        {SDL_SCANCODE_KP_DIVIDE, SDLK_KP_DIVIDE, true, 0x6F, 0x35 | kScanExtended},
        // Punctuation on a US keyboard.
        {SDL_SCANCODE_SEMICOLON, SDLK_SEMICOLON, true, 0xBA, 0x27},
        {SDL_SCANCODE_EQUALS, SDLK_EQUALS, true, 0xBB, 0x0D},
        {SDL_SCANCODE_COMMA, SDLK_COMMA, true, 0xBC, 0x33},
        {SDL_SCANCODE_MINUS, SDLK_MINUS, true, 0xBD, 0x0C},
        {SDL_SCANCODE_SLASH, SDLK_SLASH, true, 0xBF, 0x35},
        {SDL_SCANCODE_GRAVE, SDLK_BACKQUOTE, true, 0xC0, 0x29},
        {SDL_SCANCODE_APOSTROPHE, SDLK_QUOTE, true, 0xDE, 0x28},
        {SDL_SCANCODE_NONUSBACKSLASH, SDLK_LESS, true, 0xE2, 0x56},
        // A French keyboard: letters follow the layout, the scan code the place,
        // and the digit row stays digits whatever it types.
        {SDL_SCANCODE_Q, SDLK_a, true, 'A', 0x10},
        {SDL_SCANCODE_A, SDLK_q, true, 'Q', 0x1E},
        {SDL_SCANCODE_SEMICOLON, SDLK_m, true, 'M', 0x27},
        {SDL_SCANCODE_M, SDLK_COMMA, true, 0xBC, 0x32},
        {SDL_SCANCODE_1, SDLK_AMPERSAND, true, '1', 0x02},
        {SDL_SCANCODE_2, 0xE9, true, '2', 0x03},
        // Keys Windows has no virtual key for here.
        {SDL_SCANCODE_AUDIONEXT, SDLK_AUDIONEXT, true, 0, 0},
        {-1, 0, true, 0, 0},
        {SDL_NUM_SCANCODES, 0, true, 0, 0},
    };
    for (const KeyCase& key : cases) {
        KeyCodes codes = MapSdlKey(key.scancode, key.keycode, key.numLock);
        EXPECT_EQ(codes.vk, key.vk) << "scancode " << key.scancode << " numLock " << key.numLock;
        EXPECT_EQ(codes.scan, key.scan) << "scancode " << key.scancode << " numLock " << key.numLock;
    }
}

TEST(SdlKeymap, KeyDownCharacterFollowsWindows) {
    EXPECT_EQ(KeyCharacter(0x08, false, false, ""), 8);
    EXPECT_EQ(KeyCharacter(0x09, false, false, "\t"), 9);
    EXPECT_EQ(KeyCharacter(0x0D, false, false, ""), 13);
    EXPECT_EQ(KeyCharacter(0x1B, false, false, ""), 27);
    EXPECT_EQ(KeyCharacter('A', false, false, "a"), 'a');
    EXPECT_EQ(KeyCharacter('A', false, false, "A"), 'A');
    EXPECT_EQ(KeyCharacter('2', false, false, "\xC3\xA9"), 0xE9);  // é on the French digit row
    EXPECT_EQ(KeyCharacter('A', true, false, ""), 1);
    EXPECT_EQ(KeyCharacter('Z', true, false, "z"), 26);
    EXPECT_EQ(KeyCharacter('1', true, false, ""), 0);
    // AltGr is Ctrl+Alt to Windows: the typed character wins.
    EXPECT_EQ(KeyCharacter('E', true, true, "\xE2\x82\xAC"), 0x80);
    EXPECT_EQ(KeyCharacter(0x10, false, false, ""), 0);
    EXPECT_EQ(KeyCharacter(0x25, false, false, ""), 0);
    // What Windows-1252 lacks types nothing here: the event carries its code point.
    EXPECT_EQ(KeyCharacter('A', false, false, "\xCE\xB1"), 0);
    EXPECT_EQ(KeyCharacter('A', false, false, "\xF0\x9F\x98\x80"), 0);
}

}  // namespace
}  // namespace platform
