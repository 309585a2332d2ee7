// Typed characters: AltGr, the right Alt key of the European layouts, types
// the characters of the keys it changes like any key, while the left Alt keeps
// making system keys; a character that Windows-1252 lacks comes as WM_UNICHAR.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/user/internal.h"
#include "platform/windows.h"
#include "tests/support/layer.h"

namespace {

std::vector<std::string> g_typed;

LRESULT CALLBACK TypingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CHAR: g_typed.push_back("char " + std::to_string(wParam)); return 0;
        case WM_UNICHAR: g_typed.push_back("unichar " + std::to_string(wParam)); return 0;
        case WM_SYSKEYDOWN: g_typed.push_back("syskey " + std::to_string(wParam)); return 0;
        case WM_KEYDOWN: g_typed.push_back("key " + std::to_string(wParam)); return 0;
        default: return DefWindowProcA(window, message, wParam, lParam);
    }
}

void Press(uint32_t vk, uint32_t scan, uint8_t character, bool down) {
    platform::InputEvent event;
    event.kind = down ? platform::InputEvent::Kind::KeyDown : platform::InputEvent::Kind::KeyUp;
    event.vk = vk;
    event.scan = scan;
    event.character = down ? character : 0;
    platform::user::ApplyInputEvent(event);
}

// A fresh layer with a focused window that records what it is typed.
HWND TypingWindow() {
    testing_support::ResetLayer();
    WNDCLASSA wc{};
    wc.lpfnWndProc = TypingProc;
    wc.lpszClassName = "Typing";
    RegisterClassA(&wc);
    HWND window = CreateWindowExA(0, "Typing", "", WS_POPUP | WS_VISIBLE, 0, 0, 640, 480, nullptr, nullptr,
                                  nullptr, nullptr);
    SetFocus(window);
    return window;
}

TEST(AltGr, TypesTheCharactersOfItsLayoutAndTheLeftAltStaysASystemKey) {
    HWND window = TypingWindow();
    const struct {
        uint32_t altScan;
        uint8_t character;
        std::vector<std::string> expected;
    } cases[] = {
        // AltGr+E on a French or German layout: the euro sign.
        {0x138, 0x80, {"syskey 18", "key 69", "char 128"}},
        // Left Alt+E reaches the window as a system key, typing nothing.
        {0x38, 'e', {"syskey 18", "syskey 69"}},
    };
    for (const auto& c : cases) {
        MSG msg;
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
        g_typed.clear();
        Press(VK_MENU, c.altScan, 0, true);
        Press('E', 0x12, c.character, true);
        Press('E', 0x12, 0, false);
        Press(VK_MENU, c.altScan, 0, false);
        while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
            TranslateMessage(&msg);
            DispatchMessageA(&msg);
        }
        EXPECT_EQ(g_typed, c.expected) << "alt scan " << c.altScan;
    }
    DestroyWindow(window);
}

TEST(Typing, CharactersWindows1252LacksComeAsTheirCodePoints) {
    HWND window = TypingWindow();
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) DispatchMessageA(&msg);
    g_typed.clear();
    // A Greek layout's key: its letter rides with the key down.
    platform::InputEvent key;
    key.kind = platform::InputEvent::Kind::KeyDown;
    key.vk = 'A';
    key.scan = 0x1E;
    key.codePoint = 0x3B1;
    platform::user::ApplyInputEvent(key);
    // An input method's text: each character on its own, keyless.
    for (uint32_t codePoint : {0xE9u, 0x1F600u}) {
        platform::InputEvent typed;
        typed.kind = platform::InputEvent::Kind::Character;
        typed.character = codePoint < 0x100 ? static_cast<uint8_t>(codePoint) : 0;
        typed.codePoint = codePoint < 0x100 ? 0 : codePoint;
        platform::user::ApplyInputEvent(typed);
    }
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    EXPECT_EQ(g_typed, (std::vector<std::string>{"key 65", "unichar 945", "char 233", "unichar 128512"}));
    // A window that takes no WM_UNICHAR says so through DefWindowProc.
    EXPECT_EQ(DefWindowProcA(window, WM_UNICHAR, UNICODE_NOCHAR, 0), FALSE);
    DestroyWindow(window);
}

}  // namespace
