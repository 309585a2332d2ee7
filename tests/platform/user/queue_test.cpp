#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/user/cursor_file.h"
#include "platform/user/internal.h"
#include "platform/windows.h"
#include "tests/support/layer.h"

using namespace testing_support;

namespace {

std::vector<std::string> g_seen;

LRESULT CALLBACK RecordingProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT: g_seen.push_back("paint"); break;
        case WM_TIMER: g_seen.push_back("timer " + std::to_string(wParam)); return 0;
        case WM_USER: g_seen.push_back("user " + std::to_string(wParam)); return 0;
        case WM_LBUTTONDOWN:
            g_seen.push_back("down " + std::to_string(GET_X_LPARAM(lParam)) + "," +
                             std::to_string(GET_Y_LPARAM(lParam)));
            return 0;
        case WM_CHAR: g_seen.push_back("char " + std::to_string(wParam)); return 0;
        case WM_KEYDOWN: g_seen.push_back("key " + std::to_string(wParam)); return 0;
        default: break;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

HWND MakeWindow(HWND parent, RECT r) {
    WNDCLASSA wc{};
    if (!GetClassInfoA(nullptr, "Recorder", &wc)) {
        wc.lpfnWndProc = RecordingProc;
        wc.lpszClassName = "Recorder";
        wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH));
        RegisterClassA(&wc);
    }
    const DWORD style = (parent ? WS_CHILD : WS_POPUP) | WS_VISIBLE;
    return CreateWindowExA(0, "Recorder", "", style, r.left, r.top, r.right - r.left,
                           r.bottom - r.top, parent, nullptr, nullptr, nullptr);
}

void Drain() {
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

TEST(Queue, TakesPostedThenInputThenPaintThenTimers) {
    ResetLayer();
    HWND top = MakeWindow(nullptr, {0, 0, 640, 480});
    HWND child = MakeWindow(top, {100, 50, 200, 150});
    Drain();
    g_seen.clear();
    AdvanceClock(5);
    SetTimer(child, 7, 10, nullptr);
    InvalidateRect(child, nullptr, FALSE);
    platform::InputEvent press;
    press.kind = platform::InputEvent::Kind::MouseDown;
    press.x = 110;
    press.y = 60;
    platform::user::ApplyInputEvent(press);
    PostMessageA(child, WM_USER, 1, 0);
    PostMessageA(child, WM_USER, 2, 0);
    AdvanceClock(10);
    Drain();
    EXPECT_EQ(g_seen, (std::vector<std::string>{"user 1", "user 2", "down 10,10", "paint", "timer 7"}));
    EXPECT_EQ(GetMessageTime(), 15);

    // A destroyed window's timers and messages go with it; its parent
    // repaints what it covered.
    g_seen.clear();
    PostMessageA(child, WM_USER, 3, 0);
    DestroyWindow(child);
    AdvanceClock(20);
    Drain();
    EXPECT_EQ(g_seen, std::vector<std::string>{"paint"});
}

TEST(Queue, TranslateMessageMakesCharactersAfterTheKey) {
    ResetLayer();
    HWND top = MakeWindow(nullptr, {0, 0, 640, 480});
    SetFocus(top);
    Drain();
    g_seen.clear();
    Key('A', true, 'a');
    Key(VK_DELETE, true, 0);
    Drain();
    EXPECT_EQ(g_seen, (std::vector<std::string>{"key 65", "char 97", "key 46"}));
}

TEST(Queue, QuitComesAfterPostedMessagesAndMatchesItsRange) {
    ResetLayer();
    HWND top = MakeWindow(nullptr, {0, 0, 640, 480});
    Drain();
    PostQuitMessage(3);
    PostMessageA(top, WM_USER, 0, 0);
    MSG msg;
    EXPECT_TRUE(PeekMessageA(&msg, top, WM_QUIT, WM_QUIT, PM_NOREMOVE));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_USER));
    ASSERT_TRUE(PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE));
    EXPECT_EQ(msg.message, static_cast<UINT>(WM_QUIT));
    EXPECT_EQ(msg.wParam, 3u);
    EXPECT_FALSE(PeekMessageA(&msg, nullptr, WM_QUIT, WM_QUIT, PM_REMOVE));
}

TEST(Queue, AnIdleLoopSleepsAMillisecondAtATime) {
    ResetLayer();
    MSG msg;
    const DWORD start = GetTickCount();
    int looks = 0;
    while (GetTickCount() - start < 100) {
        PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE);
        ++looks;
    }
    // One look a millisecond: the idle handler keeps its rhythm and the
    // processor rests in between.
    EXPECT_GE(looks, 100);
    EXPECT_LE(looks, 101);
}

TEST(MessageBox, DrawsInsideTheScreenAndPutsItBack) {
    TestEvents& events = ResetLayer();
    HWND top = MakeWindow(nullptr, {0, 0, 640, 480});
    Drain();
    platform::gdi::Surface& display = platform::gdi::Display();
    const std::vector<uint8_t> before = display.storage;
    const uint32_t centreBefore = platform::gdi::ReadRgb(display, 320, 240);
    uint32_t centre = 0;
    events.onBox = [&](uint32_t) {
        centre = platform::gdi::ReadRgb(display, 320, 240);
        return IDCANCEL;
    };
    EXPECT_EQ(MessageBoxA(top, "Save the drawing?", "Le petit Tavelin", MB_OKCANCEL | MB_ICONQUESTION),
              IDCANCEL);
    EXPECT_NE(centre, centreBefore);
    EXPECT_EQ(display.storage, before);
    EXPECT_EQ(LogLines(), (std::vector<std::string>{"message 21 Save the drawing?", "answer 2"}));
}

// A 2 x 2 cursor, 1 bit per pixel: white, black / transparent, white.
std::vector<uint8_t> TinyCursor() {
    std::vector<uint8_t> c = {0, 0, 2, 0, 1, 0,                          // directory
                              2, 2, 2, 0, 1, 0, 1, 0, 0, 0, 0, 0, 22, 0, 0, 0};  // entry
    const uint8_t header[40] = {40, 0, 0, 0, 2, 0, 0, 0, 4, 0, 0, 0, 1, 0, 1, 0};
    c.insert(c.end(), header, header + 40);
    const uint8_t table[8] = {0, 0, 0, 0, 255, 255, 255, 0};
    c.insert(c.end(), table, table + 8);
    const uint8_t xorRows[8] = {0x80, 0, 0, 0, 0x80, 0, 0, 0};  // bottom row first
    const uint8_t andRows[8] = {0x80, 0, 0, 0, 0x00, 0, 0, 0};
    c.insert(c.end(), xorRows, xorRows + 8);
    c.insert(c.end(), andRows, andRows + 8);
    const uint32_t size = static_cast<uint32_t>(c.size() - 22);
    c[14] = size & 0xFF;
    return c;
}

TEST(Cursor, DecodesAMonochromeCursorAndRefusesDamagedOnes) {
    const std::vector<uint8_t> bytes = TinyCursor();
    auto shape = platform::user::DecodeCursorFile(bytes.data(), bytes.size());
    ASSERT_TRUE(shape);
    EXPECT_EQ(shape->width, 2);
    EXPECT_EQ(shape->height, 2);
    EXPECT_EQ(shape->hotX, 1);
    EXPECT_EQ(shape->hotY, 1);
    EXPECT_EQ(shape->argb, (std::vector<uint32_t>{0xFFFFFFFF, 0xFF000000, 0x00FFFFFF, 0xFF000000}));
    for (size_t cut = 0; cut < bytes.size(); ++cut) {
        EXPECT_FALSE(platform::user::DecodeCursorFile(bytes.data(), cut)) << cut;
    }
    std::vector<uint8_t> huge = bytes;
    huge[22 + 4] = 0xFF;  // a width far beyond what a cursor can be
    EXPECT_FALSE(platform::user::DecodeCursorFile(huge.data(), huge.size()));
}

// A square cursor of side pixels at bits per pixel whose table holds colours
// entries and whose every pixel names colour index; the file has no byte to
// spare after its AND mask.
std::vector<uint8_t> IndexedCursor(int side, int bits, int colours, int index) {
    const size_t xorStride = (static_cast<size_t>(side) * bits + 31) / 32 * 4;
    const size_t andStride = (static_cast<size_t>(side) + 31) / 32 * 4;
    std::vector<uint8_t> c = {0, 0, 2, 0, 1, 0, static_cast<uint8_t>(side), static_cast<uint8_t>(side),
                              0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 22, 0, 0, 0};
    const uint8_t header[40] = {40, 0, 0, 0, static_cast<uint8_t>(side), 0, 0, 0,
                                static_cast<uint8_t>(side * 2), 0, 0, 0, 1, 0,
                                static_cast<uint8_t>(bits), 0, 0, 0, 0, 0, 0, 0, 0, 0,
                                0, 0, 0, 0, 0, 0, 0, 0, static_cast<uint8_t>(colours)};
    c.insert(c.end(), header, header + 40);
    for (int i = 0; i < colours; ++i) c.insert(c.end(), {static_cast<uint8_t>(i * 60), 0x40, 0x20, 0});
    uint8_t packed = 0;
    for (int at = 0; at < 8; at += bits) packed = static_cast<uint8_t>(packed | index << at);
    c.insert(c.end(), xorStride * side, packed);
    c.insert(c.end(), andStride * side, 0);
    const size_t size = c.size() - 22;
    c[14] = static_cast<uint8_t>(size), c[15] = static_cast<uint8_t>(size >> 8);
    return c;
}

TEST(Cursor, RefusesPixelsNamingColoursBeyondItsTable) {
    struct Case {
        int side, bits, colours, index;
        uint32_t argb;  // 0: refused
    };
    const Case cases[] = {
        {16, 8, 4, 3, 0xFF2040B4},  // the last colour of a short table
        {16, 8, 4, 4, 0},           // one past it
        {16, 8, 4, 255, 0},         // far past it, and past the end of the file
        {32, 4, 2, 15, 0},
        {32, 1, 1, 1, 0},
        {32, 1, 2, 1, 0xFF20403C},
    };
    for (const Case& c : cases) {
        const std::vector<uint8_t> bytes = IndexedCursor(c.side, c.bits, c.colours, c.index);
        // An exact copy on the heap, so that a read past its end is caught.
        const std::unique_ptr<uint8_t[]> exact(new uint8_t[bytes.size()]);
        std::copy(bytes.begin(), bytes.end(), exact.get());
        const auto shape = platform::user::DecodeCursorFile(exact.get(), bytes.size());
        SCOPED_TRACE(testing::Message() << c.bits << " bits, " << c.colours << " colours, index "
                                        << c.index);
        if (c.argb == 0) {
            EXPECT_FALSE(shape);
        } else {
            ASSERT_TRUE(shape);
            EXPECT_EQ(shape->argb, std::vector<uint32_t>(c.side * c.side, c.argb));
        }
    }
}

}  // namespace
