#include <gtest/gtest.h>

#include "tests/platform/user/dialog_support.h"

using namespace dialog_testing;

namespace {

// 1: the saving dialog's edit box, narrower; 2: the same without ES_AUTOHSCROLL.
const char kSource[] = R"(
DIALOG 1 0 0 141 60
STYLE WS_POPUP | WS_BORDER
FONT 9 "Arial"
EDIT 102 "" 4 10 60 13 ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP
BUTTON 1 "" 12 35 40 20 BS_OWNERDRAW | WS_TABSTOP
BUTTON 2 "" 90 35 40 20 BS_OWNERDRAW | WS_TABSTOP
END
DIALOG 2 0 0 141 60
STYLE WS_POPUP | WS_BORDER
FONT 9 "Arial"
EDIT 102 "" 4 10 60 13 ES_LEFT | WS_BORDER | WS_TABSTOP
BUTTON 1 "" 12 35 40 20 BS_OWNERDRAW | WS_TABSTOP
END
)";

std::string g_initialText;

std::string Selection(HWND edit) {
    DWORD start = 99, end = 99;
    const LRESULT packed = SendMessageA(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&start),
                                        reinterpret_cast<LPARAM>(&end));
    EXPECT_EQ(packed, MAKELONG(start, end));
    return std::to_string(start) + "," + std::to_string(end);
}

// The column where the caret shows (a black line as tall as the text), or -1.
int CaretColumn(HWND edit) {
    RECT r;
    GetClientRect(edit, &r);
    HDC dc = GetDC(edit);
    int found = -1;
    for (int x = 1; x < r.right - 1 && found < 0; ++x) {
        for (int y = 1, run = 0; y < r.bottom - 1 && found < 0; ++y) {
            run = GetPixel(dc, x, y) == RGB(0, 0, 0) ? run + 1 : 0;
            if (run >= 10) found = x;
        }
    }
    ReleaseDC(edit, dc);
    return found;
}

// Counts EN_CHANGE; on any other command records "text|start,end|caret
// column/width" and ends the dialog with the id.
INT_PTR CALLBACK Editing(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
    Recorder& r = Current();
    if (INT_PTR answer = r.on ? r.on(dialog, message, wParam, lParam) : 0) return answer;
    HWND edit = GetDlgItem(dialog, 102);
    if (message == WM_INITDIALOG) {
        SetDlgItemTextA(dialog, 102, g_initialText.c_str());
        SetTimer(dialog, 99, 60000, nullptr);
        r.onInit(dialog);
        return TRUE;
    }
    if (message == WM_COMMAND && HIWORD(wParam) == EN_CHANGE) {
        r.seen.push_back("change");
        return TRUE;
    }
    if (message != WM_COMMAND && message != WM_TIMER) return FALSE;
    char text[128];
    GetDlgItemTextA(dialog, 102, text, sizeof text);
    RECT client;
    GetClientRect(edit, &client);
    r.seen.push_back(std::string(text) + "|" + Selection(edit) + "|" + std::to_string(CaretColumn(edit)) +
                     "/" + std::to_string(client.right));
    return EndDialog(dialog, message == WM_TIMER ? -2 : LOWORD(wParam));
}

// Keys written as text with \r for Enter, {home} {end} {left} {right} {bs}
// {del} {tab}, and {S-...} for the same with Shift.
void QueueKeys(const std::string& keys) {
    static const std::pair<const char*, uint32_t> kNames[] = {
        {"home", VK_HOME}, {"end", VK_END},    {"left", VK_LEFT}, {"right", VK_RIGHT},
        {"bs", VK_BACK},   {"del", VK_DELETE}, {"tab", VK_TAB},
    };
    for (size_t i = 0; i < keys.size(); ++i) {
        if (keys[i] != '{') {
            if (keys[i] == '\r') QueueKey(VK_RETURN);
            else QueueKey(0, static_cast<uint8_t>(keys[i]));
            continue;
        }
        const size_t close = keys.find('}', i);
        const std::string name = keys.substr(i + 1, close - i - 1);
        const bool shift = name.rfind("S-", 0) == 0;
        for (const auto& [known, vk] : kNames) {
            if (name.substr(shift ? 2 : 0) == known) QueueKey(vk, vk == VK_BACK ? 8 : 0, shift);
        }
        i = close;
    }
}

// Opens a dialog whose initialisation queues input; returns the record.
std::string RunEdit(const std::string& initial, std::function<void(HWND)> input, int id = 1,
                std::function<INT_PTR(HWND, UINT, WPARAM, LPARAM)> on = nullptr) {
    static HMODULE library = DialogLibrary(Encode(kSource), 1);
    g_initialText = initial;
    OpenDialog(library, id, Editing, std::move(input), std::move(on));
    return Current().seen.empty() ? "" : Current().seen.back();
}

std::string Type(const std::string& initial, const std::string& keys, int id = 1) {
    return RunEdit(initial, [keys](HWND) { QueueKeys(keys + "\r"); }, id);
}

// The record with "shown" or "hidden" for the caret.
std::string Shown(const std::string& record) {
    const size_t bar = record.rfind('|');
    return record.substr(0, bar) + (record.substr(bar + 1, 2) == "-1" ? "|hidden" : "|shown");
}

TEST(Edit, KeysEditTheText) {
    struct Case {
        const char* name;
        const char* initial;
        const char* keys;
        const char* record;
    };
    const Case cases[] = {
        {"typing replaces the text selected on opening", "Chat", "Lapin", "Lapin|5,5|shown"},
        {"End then typing appends", "Chat", "{end}s", "Chats|5,5|shown"},
        {"Backspace in the middle", "Chat", "{end}{left}{left}{bs}", "Cat|1,1|shown"},
        {"Delete in the middle", "Chat", "{home}{right}{del}", "Cat|1,1|shown"},
        {"Home then typing inserts first", "abc", "{end}{home}x", "xabc|1,1|shown"},
        {"Shift selection is replaced by typing", "Bonjour", "{home}{S-right}{S-right}{S-right}S",
         "Sjour|1,1|shown"},
        {"Shift+Home selects back to the start", "abc", "{end}{S-home}", "abc|0,3|shown"},
        {"Shift+End from the middle", "abcd", "{home}{right}{S-end}", "abcd|1,4|shown"},
        {"Backspace deletes the selection", "abc", "{end}{S-left}{S-left}{bs}", "a|1,1|shown"},
        {"Delete deletes the selection", "abc", "{home}{S-right}{del}", "bc|0,0|shown"},
        {"Backspace at the start does nothing", "abc", "{home}{bs}", "abc|0,0|shown"},
        {"Delete at the end does nothing", "abc", "{end}{del}", "abc|3,3|shown"},
        {"Left and Right stop at the ends", "ab", "{home}{left}{end}{right}{right}", "ab|2,2|shown"},
        {"control characters are not text", "ab", "{end}\x01\x1bz", "abz|3,3|shown"},
        {"Windows-1252 letters are text", "", "\xE9t\xE9", "\xE9t\xE9|3,3|shown"},
        {"Tab back into the box selects it all", "abc", "{end}{tab}{tab}{tab}z", "z|1,1|shown"},
    };
    for (const Case& c : cases) EXPECT_EQ(Shown(Type(c.initial, c.keys)), c.record) << c.name;
}

TEST(Edit, ScrollsToKeepTheCaretInView) {
    const std::string dots(60, '.');
    const std::pair<std::string, bool> cases[] = {  // keys, caret at the left edge
        {dots, false}, {dots + "{home}", true}, {dots + "{home}{end}", false},
        {dots + "{bs}{bs}", false}, {dots + "{S-home}", true},
    };
    for (const auto& [keys, atLeft] : cases) {
        const std::string record = Type("", keys);
        const size_t bar = record.rfind('|');
        const int column = std::stoi(record.substr(bar + 1));
        const int width = std::stoi(record.substr(record.find('/', bar) + 1));
        EXPECT_EQ(record.find('|'), keys.find("{bs}") == std::string::npos ? 60u : 58u) << keys;
        if (atLeft) EXPECT_EQ(column, 2) << keys;  // the border, then a pixel of margin
        else EXPECT_GE(column, width - 4) << keys;
    }
    // Without ES_AUTOHSCROLL the text stops at the box's width.
    const size_t length = Type("", dots, 2).find('|');
    EXPECT_GT(length, 10u);
    EXPECT_LT(length, 60u);
}

TEST(Edit, MouseClicksAndDragsSelect) {
    struct Case {
        const char* name;
        std::vector<std::pair<int, bool>> presses;  // a character boundary, with Shift
        int dragTo;                                  // -1: no drag
        const char* record;                          // after typing X
    };
    const Case cases[] = {
        {"a click places the caret", {{2, false}}, -1, "abXcdef|3,3"},
        {"a drag selects", {{1, false}}, 4, "aXef|2,2"},
        {"a drag backwards selects", {{4, false}}, 1, "aXef|2,2"},
        {"Shift+click extends", {{1, false}, {3, true}}, -1, "aXdef|2,2"},
    };
    for (const Case& c : cases) {
        const std::string record = RunEdit("abcdef", [&c](HWND dialog) {
            HWND edit = GetDlgItem(dialog, 102);
            HDC dc = GetDC(edit);
            SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(edit, WM_GETFONT, 0, 0)));
            auto at = [&](int boundary) {
                SIZE size{};
                GetTextExtentPoint32A(dc, "abcdef", boundary, &size);
                return ItemPoint(dialog, 102, 2 + size.cx, 8);
            };
            for (auto [boundary, shift] : c.presses) {
                if (shift) QueueEvent(Kind::KeyDown, {}, VK_SHIFT);
                QueueEvent(Kind::MouseMove, at(boundary));
                QueueEvent(Kind::MouseDown, at(boundary));
                if (c.dragTo >= 0) QueueEvent(Kind::MouseMove, at(c.dragTo));
                QueueEvent(Kind::MouseUp, at(c.dragTo >= 0 ? c.dragTo : boundary));
                if (shift) QueueEvent(Kind::KeyUp, {}, VK_SHIFT);
            }
            ReleaseDC(edit, dc);
            QueueKeys("X\r");
        });
        EXPECT_EQ(record.substr(0, record.rfind('|')), c.record) << c.name;
    }
}

TEST(Edit, MessagesLimitAndNotifications) {
    auto on = [](HWND dialog, UINT message, WPARAM, LPARAM) -> INT_PTR {
        if (message != WM_INITDIALOG) return FALSE;
        HWND edit = GetDlgItem(dialog, 102);
        Seen& seen = Current().seen;
        SetWindowTextA(edit, "Bonjour");
        seen.push_back(Selection(edit));
        for (auto [start, end] : {std::pair{2, 4}, {0, -1}, {-1, 0}, {5, 2}, {3, 99}}) {
            SendMessageA(edit, EM_SETSEL, start, end);
            seen.push_back(Selection(edit));
        }
        seen.push_back(std::to_string(GetWindowTextLengthA(edit)));
        SendDlgItemMessageA(dialog, 102, EM_LIMITTEXT, 8, 0);
        EnableWindow(GetDlgItem(dialog, IDOK), FALSE);
        QueueKeys("{end}abc\r");  // Enter does nothing while OK is disabled
        QueueKey(VK_ESCAPE);
        return TRUE;
    };
    RunEdit("", nullptr, 1, on);
    Seen& seen = Current().seen;
    seen.back() = Shown(seen.back());
    EXPECT_EQ(seen, (Seen{"change", "0,0", "2,4", "0,7", "7,7", "2,5", "3,7", "7", "change",
                          "Bonjoura|8,8|shown"}));
    EXPECT_EQ(testing_support::LogLines(), (Seen{"beep 0", "beep 0"}));
}

}  // namespace
