#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "tests/platform/user/dialog_support.h"

using namespace dialog_testing;

namespace {

// 1: item 103 is a disabled tab stop, 101 the first one; 2: a list box;
// 3 (made below): an extended template.
const char kSource[] = R"(
DIALOG 1 10 20 100 60
STYLE WS_POPUP | WS_BORDER
FONT 10 "System"
STATIC 10 "Label" 0 0 100 10 SS_OWNERDRAW
BUTTON 101 "" 5 12 40 14 BS_OWNERDRAW | WS_TABSTOP
BUTTON 103 "" 55 12 40 14 BS_OWNERDRAW | WS_TABSTOP | WS_DISABLED
BUTTON 1 "" 5 40 40 14 BS_OWNERDRAW | WS_TABSTOP
BUTTON 2 "" 55 40 40 14 BS_OWNERDRAW | WS_TABSTOP
END
DIALOG 2 0 0 50 20
STYLE WS_POPUP
LISTBOX 5 "" 0 0 50 20
END
)";

HMODULE Library() {
    static HMODULE library = [] {
        auto templates = Encode(kSource);
        templates.push_back(templates[0]);
        templates[2][0] = 1, templates[2][1] = 0, templates[2][2] = 0xFF, templates[2][3] = 0xFF;
        return DialogLibrary(templates, 1);
    }();
    return library;
}

// Records WM_INITDIALOG, WM_DRAWITEM ("draw id action state") and WM_COMMAND,
// which ends the dialog with the id; a minute of the clock ends it with -2.
INT_PTR CALLBACK Recording(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorder& r = Current();
    if (INT_PTR answer = r.on ? r.on(dialog, message, wParam, lParam) : 0) return answer;
    switch (message) {
        case WM_INITDIALOG:
            r.seen.push_back("init " + std::to_string(GetDlgCtrlID(reinterpret_cast<HWND>(wParam))));
            SetTimer(dialog, 99, 60000, nullptr);
            if (r.onInit) r.onInit(dialog);
            return TRUE;
        case WM_DRAWITEM: {
            const auto* d = reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
            r.seen.push_back("draw " + std::to_string(d->CtlID) + " " + std::to_string(d->itemAction) +
                             " " + std::to_string(d->itemState));
            return TRUE;
        }
        case WM_COMMAND:
            r.seen.push_back("command " + std::to_string(LOWORD(wParam)));
            return EndDialog(dialog, LOWORD(wParam));
        case WM_TIMER: return wParam == 99 ? EndDialog(dialog, -2) : FALSE;
        default: return FALSE;
    }
}

INT_PTR Open(std::function<void(HWND)> onInit,
             std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> on = nullptr, int id = 1) {
    return OpenDialog(Library(), id, Recording, std::move(onInit), std::move(on));
}

// What was seen apart from the whole-item paints (action 1).
Seen Changes() {
    Seen out;
    for (const std::string& s : Current().seen) {
        if (s.rfind("draw ", 0) != 0 || s.substr(s.find(' ', 5), 3) != " 1 ") out.push_back(s);
    }
    return out;
}

TEST(Dialog, PaintsItsItemsAndClicksOnlyOnAReleaseInside) {
    // A click on Cancel: the focus leaves 101, Cancel is pressed and released.
    EXPECT_EQ(Open([](HWND d) { QueueClick(ItemPoint(d, 2, 3, 3)); }), IDCANCEL);
    EXPECT_EQ(Current().seen, (Seen{"init 101", "draw 10 1 0", "draw 101 1 16", "draw 103 1 4",
                                    "draw 1 1 0", "draw 2 1 0", "draw 101 4 0", "draw 2 4 16",
                                    "draw 2 2 17", "draw 2 2 16", "command 2", "draw 2 4 0"}));
    EXPECT_EQ(FindWindowA("#32770", nullptr), nullptr);

    // The disabled button ignores a click; 101 is drawn pressed only while
    // the pointer is on it, and a release outside clicks nothing.
    EXPECT_EQ(Open([](HWND d) {
                  QueueClick(ItemPoint(d, 103, 3, 3));
                  const POINT in = ItemPoint(d, 101, 3, 3), out = ItemPoint(d, 101, -2, 3);
                  QueueEvent(Kind::MouseMove, in);
                  QueueEvent(Kind::MouseDown, in);
                  for (POINT p : {out, in, out}) QueueEvent(Kind::MouseMove, p);
                  QueueEvent(Kind::MouseUp, out);
                  QueueKey(VK_ESCAPE, 27);
              }),
              IDCANCEL);
    EXPECT_EQ(Changes(), (Seen{"init 101", "draw 101 2 17", "draw 101 2 16", "draw 101 2 17",
                               "draw 101 2 16", "command 2", "draw 101 4 0"}));
}

TEST(Dialog, KeyboardMovesTheFocusAndChooses) {
    struct Case {
        const char* name;
        std::vector<std::pair<uint32_t, bool>> keys;  // key, with Shift
        INT_PTR result;
    };
    const Case cases[] = {
        // An owner-drawn button answers DLGC_BUTTON alone: Enter is the
        // dialog's default command whichever button has the focus.
        {"Enter is IDOK", {{VK_RETURN, false}}, IDOK},
        {"Space clicks the focused button", {{VK_SPACE, false}}, 101},
        {"Escape is Cancel", {{VK_ESCAPE, false}}, IDCANCEL},
        {"Tab skips the disabled button", {{VK_TAB, false}, {VK_SPACE, false}}, IDOK},
        {"Tab twice", {{VK_TAB, false}, {VK_TAB, false}, {VK_SPACE, false}}, IDCANCEL},
        {"Tab twice, Enter", {{VK_TAB, false}, {VK_TAB, false}, {VK_RETURN, false}}, IDOK},
        {"Tab wraps", {{VK_TAB, false}, {VK_TAB, false}, {VK_TAB, false}, {VK_SPACE, false}}, 101},
        {"Shift+Tab wraps back", {{VK_TAB, true}, {VK_SPACE, false}}, IDCANCEL},
        {"Shift+Tab twice", {{VK_TAB, true}, {VK_TAB, true}, {VK_RETURN, false}}, IDOK},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Open([&c](HWND) {
                      for (auto [vk, shift] : c.keys) QueueKey(vk, vk == VK_SPACE ? ' ' : 0, shift);
                  }),
                  c.result)
            << c.name;
    }
    // The last case's focus went from 101 to Cancel and on to OK.
    EXPECT_EQ(Changes(), (Seen{"init 101", "draw 101 4 0", "draw 2 4 16", "draw 2 4 0", "draw 1 4 16",
                               "command 1", "draw 1 4 0"}));
}

TEST(Dialog, RefusesMissingAndBrokenTemplates) {
    const std::vector<uint8_t> whole = Encode(kSource)[0];
    std::vector<std::vector<uint8_t>> cut;
    for (size_t size = 0; size < whole.size(); ++size) cut.push_back({whole.begin(), whole.begin() + size});
    HMODULE library = DialogLibrary(cut, 100);
    for (size_t size = 0; size < whole.size(); ++size) {
        EXPECT_EQ(OpenDialog(library, static_cast<int>(100 + size), Recording, nullptr), -1)
            << size << " of " << whole.size() << " bytes";
    }
    EXPECT_EQ(Open(nullptr, nullptr, 2), -1) << "a list box";
    EXPECT_EQ(Open(nullptr, nullptr, 3), -1) << "an extended template";
    EXPECT_EQ(Open(nullptr, nullptr, 99), -1) << "no such template";
    EXPECT_EQ(OpenDialog(nullptr, 200, Recording, nullptr), -1) << "the tests' own module";
    EXPECT_TRUE(Current().seen.empty());
    EXPECT_TRUE(IsWindowEnabled(FindWindowA("DialogOwner", nullptr)));
    EXPECT_EQ(FindWindowA("#32770", nullptr), nullptr);
}

TEST(Dialog, TimerOwnerFocusAndBeep) {
    static DWORD s_start;
    const INT_PTR end = Open(nullptr, [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        HWND owner = FindWindowA("DialogOwner", nullptr);
        if (message == WM_INITDIALOG) {
            Current().seen.push_back(IsWindowEnabled(owner) ? "owner enabled" : "owner disabled");
            s_start = GetTickCount();
            return SetTimer(dialog, 1, 4000, nullptr) != 0;
        }
        if (message != WM_TIMER || wParam != 1) return FALSE;
        KillTimer(dialog, 1);
        Current().seen.push_back(GetActiveWindow() == dialog ? "active" : "not active");
        MessageBeep(MB_ICONEXCLAMATION);
        return EndDialog(dialog, GetTickCount());
    });
    EXPECT_GE(end - s_start, 4000);
    EXPECT_LE(end - s_start, 4020);
    Seen notDrawing;
    for (const std::string& s : Current().seen) {
        if (s.rfind("draw", 0) != 0) notDrawing.push_back(s);
    }
    EXPECT_EQ(notDrawing, (Seen{"owner disabled", "active"}));
    EXPECT_EQ(testing_support::LogLines(), Seen{"beep 30"});
    HWND owner = FindWindowA("DialogOwner", nullptr);
    EXPECT_TRUE(IsWindowEnabled(owner));
    EXPECT_EQ(GetFocus(), owner);
    EXPECT_EQ(GetActiveWindow(), owner);
}

TEST(Dialog, ItemTextEnablingAndRedrawing) {
    auto on = [](HWND dialog, UINT message, WPARAM wParam, LPARAM) -> INT_PTR {
        Seen& seen = Current().seen;
        char text[16];
        if (message == WM_INITDIALOG) {
            seen.push_back(std::to_string(GetDlgItemTextA(dialog, 10, text, sizeof text)) + text);
            SetDlgItemTextA(dialog, 10, "Bonjour");
            seen.push_back(std::to_string(GetWindowTextLengthA(GetDlgItem(dialog, 10))));
            seen.push_back(std::to_string(GetWindowTextA(GetDlgItem(dialog, 10), text, 4)) + text);
            seen.push_back(std::to_string(GetDlgItemTextA(dialog, 77, text, sizeof text)) + text);
            return SetTimer(dialog, 1, 100, nullptr) != 0;
        }
        if (message != WM_TIMER) return FALSE;
        KillTimer(dialog, wParam);
        if (wParam == 2) return EndDialog(dialog, 5);
        // Each change redraws its item.
        seen.push_back("changes");
        EnableWindow(GetDlgItem(dialog, 101), FALSE);
        SetDlgItemTextA(dialog, 10, "Au revoir");
        InvalidateRect(GetDlgItem(dialog, 1), nullptr, FALSE);
        return SetTimer(dialog, 2, 100, nullptr) != 0;
    };
    EXPECT_EQ(Open(nullptr, on), 5);
    const Seen& seen = Current().seen;
    const auto changes = std::find(seen.begin(), seen.end(), "changes");
    EXPECT_EQ(Seen(seen.begin(), seen.begin() + 4), (Seen{"5Label", "7", "3Bon", "0"}));
    EXPECT_EQ(Seen(changes, seen.end()),
              (Seen{"changes", "draw 101 4 4", "draw 10 1 0", "draw 101 1 4", "draw 1 1 0"}));
}

// The font a template names lives as long as its dialog: ended by its
// procedure or by a command, the dialog takes its font with it.
TEST(Dialog, FreesItsTemplatesFontWhenItGoes) {
    static HGDIOBJ s_font;
    for (bool byCommand : {false, true}) {
        s_font = nullptr;
        Open(
            [byCommand](HWND dialog) {
                s_font = reinterpret_cast<HGDIOBJ>(SendDlgItemMessageA(dialog, 101, WM_GETFONT, 0, 0));
                if (byCommand) PostMessageA(dialog, WM_COMMAND, IDOK, 0);
                else EndDialog(dialog, 0);
            });
        ASSERT_NE(s_font, nullptr);
        EXPECT_EQ(GetObjectType(s_font), 0u) << "ended by " << (byCommand ? "a command" : "its procedure");
    }
}

TEST(Dialog, MakesTheProgramsTemplatesInTheirFontsUnits) {
    std::ifstream in(std::string(TAVELIN_SOURCE_DIR) + "/resources/dialogs.txt", std::ios::binary);
    std::stringstream text;
    text << in.rdbuf();
    const int ids[] = {200, 202, 203, 204, 205, 206, 209, 210};
    const INT_PTR itemCounts[] = {24, 23, 7, 5, 24, 4, 4, 1};
    static const SIZE kSizes[] = {{256, 200}, {148, 100}, {167, 159}, {141, 160},
                                  {256, 200}, {135, 100}, {131, 97},  {225, 125}};
    const auto templates = Encode(text.str());
    ASSERT_EQ(templates.size(), std::size(ids));
    for (size_t i = 0; i < std::size(ids); ++i) {
        // Answers the number of items; records the client's size and the
        // template's size mapped through the font's base units.
        static size_t s_index;
        s_index = i;
        auto on = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
            if (message != WM_INITDIALOG) return FALSE;
            RECT units{0, 0, kSizes[s_index].cx, kSizes[s_index].cy}, client;
            MapDialogRect(dialog, &units);
            GetClientRect(dialog, &client);
            for (const RECT& r : {units, client}) {
                Current().seen.push_back(std::to_string(r.right) + "x" + std::to_string(r.bottom));
            }
            int count = 0;
            EnumChildWindows(dialog, [](HWND, LPARAM n) { return ++*reinterpret_cast<int*>(n), TRUE; },
                             reinterpret_cast<LPARAM>(&count));
            return EndDialog(dialog, count);
        };
        EXPECT_EQ(OpenDialog(DialogLibrary({templates[i]}, ids[i]), ids[i], Recording, nullptr, on),
                  itemCounts[i])
            << ids[i];
        const Seen& seen = Current().seen;
        ASSERT_EQ(seen.size(), 2u);
        EXPECT_EQ(seen[0], seen[1]) << ids[i];
        // Between one and three pixels a unit, whatever the fonts.
        const int width = std::stoi(seen[1]);
        EXPECT_GT(width, kSizes[i].cx) << ids[i];
        EXPECT_LT(width, 3 * kSizes[i].cx) << ids[i];
    }
}

}  // namespace
