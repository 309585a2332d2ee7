// Message boxes. Once the program has a window, a box is drawn inside the
// emulated display, so that it shows in full screen and in the headless
// backend alike; before that, the desktop's own box and standard error carry
// the text. Every box is written to the run's log with its answer.
#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/gdi/dc.h"
#include "platform/kernel/codepage.h"
#include "platform/user/box_text.h"
#include "platform/user/desktop.h"
#include "platform/user/internal.h"
#include "platform/user/session.h"
#include "platform/windows.h"

namespace platform::user {
namespace {

constexpr uint32_t kFace = 0xD4D0C8;
constexpr uint32_t kTitle = 0x0A246A;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBlack = 0x000000;
constexpr uint32_t kShadow = 0x808080;
constexpr int kButtonWidth = 88;
constexpr int kButtonHeight = 26;

struct Button {
    int id;
    const char* label;
    RECT rect;
};

std::vector<Button> ButtonsFor(UINT type) {
    switch (type & MB_TYPEMASK) {
        case MB_OKCANCEL: return {{IDOK, "OK", {}}, {IDCANCEL, "Cancel", {}}};
        case MB_ABORTRETRYIGNORE:
            return {{IDABORT, "Abort", {}}, {IDRETRY, "Retry", {}}, {IDIGNORE, "Ignore", {}}};
        case MB_YESNOCANCEL: return {{IDYES, "Yes", {}}, {IDNO, "No", {}}, {IDCANCEL, "Cancel", {}}};
        case MB_YESNO: return {{IDYES, "Yes", {}}, {IDNO, "No", {}}};
        case MB_RETRYCANCEL: return {{IDRETRY, "Retry", {}}, {IDCANCEL, "Cancel", {}}};
        default: return {{IDOK, "OK", {}}};
    }
}

size_t DefaultIndex(UINT type, size_t count) {
    const size_t index = (type & MB_DEFMASK) >> 8;
    return index < count ? index : 0;
}

std::string Escaped(const char* text) {
    std::string out;
    for (const char* p = text; *p != '\0'; ++p) {
        if (*p == '\n') out += "\\n";
        else if (*p != '\r') out += *p;
    }
    return platform::Cp1252ToUtf8(out);
}

void Fill(gdi::Surface& s, RECT r, uint32_t rgb) {
    RECT clipped;
    if (!Intersect(clipped, r, RECT{0, 0, s.width, s.height})) return;
    for (int y = clipped.top; y < clipped.bottom; ++y) {
        for (int x = clipped.left; x < clipped.right; ++x) gdi::WriteRgb(s, x, y, rgb);
    }
}

void Bevel(gdi::Surface& s, RECT r, bool pressed) {
    Fill(s, r, pressed ? kShadow : kWhite);
    Fill(s, RECT{r.left + 1, r.top + 1, r.right, r.bottom}, pressed ? kWhite : kBlack);
    Fill(s, RECT{r.left + 1, r.top + 1, r.right - 1, r.bottom - 1}, kFace);
}

class ScreenBox {
public:
    ScreenBox(const char* text, const char* caption, UINT type)
        : m_text(text), m_caption(caption), m_type(type), m_buttons(ButtonsFor(type)) {
        m_focus = DefaultIndex(type, m_buttons.size());
        m_font.Open(13);
        Layout();
    }

    int DefaultId() const { return m_buttons[m_focus].id; }

    void Draw() {
        gdi::Surface& s = gdi::Display();
        Fill(s, RECT{m_box.left + 4, m_box.top + 4, m_box.right + 4, m_box.bottom + 4}, kShadow);
        Bevel(s, m_box, false);
        Fill(s, RECT{m_box.left + 3, m_box.top + 3, m_box.right - 3, m_box.top + 24}, kTitle);
        m_font.Draw(s, m_box.left + 8, m_box.top + 5, m_caption, kWhite);
        DrawIcon(s);
        int y = m_box.top + 40;
        for (const std::string& line : m_lines) {
            m_font.Draw(s, m_textLeft, y, line, kBlack);
            y += m_font.LineHeight();
        }
        for (size_t i = 0; i < m_buttons.size(); ++i) {
            const Button& b = m_buttons[i];
            Bevel(s, b.rect, static_cast<int>(i) == m_pressed);
            if (i == m_focus) {
                Fill(s, RECT{b.rect.left - 1, b.rect.top - 1, b.rect.right + 1, b.rect.top}, kBlack);
                Fill(s, RECT{b.rect.left - 1, b.rect.bottom, b.rect.right + 1, b.rect.bottom + 1}, kBlack);
            }
            const int w = m_font.Width(b.label);
            m_font.Draw(s, (b.rect.left + b.rect.right - w) / 2, b.rect.top + 5, b.label, kBlack);
        }
        gdi::MarkDisplayDirty();
        gdi::PresentIfDirty();
    }

    // Runs the box until a button is chosen.
    int Run() {
        Draw();
        ReleaseCapture();
        MSG msg;
        for (;;) {
            if (!PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) continue;
            if (msg.message == WM_QUIT) {
                PostQuitMessage(static_cast<int>(msg.wParam));
                return Cancel();
            }
            if (msg.message >= WM_MOUSEFIRST && msg.message <= WM_MOUSELAST) {
                if (int id = OnMouse(msg); id != 0) return id;
                continue;
            }
            if (msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN) {
                if (int id = OnKey(msg.wParam); id != 0) return id;
                continue;
            }
            if (msg.message == WM_SYSCOMMAND && (msg.wParam & 0xFFF0) == SC_CLOSE) return Cancel();
            if (msg.message == WM_KEYUP || msg.message == WM_CHAR || msg.message == WM_SYSKEYUP)
                continue;
            DispatchMessageA(&msg);
            Draw();
        }
    }

private:
    void Layout() {
        const gdi::Surface& s = gdi::Display();
        const int maxText = std::min(s.width - 120, 460);
        m_lines = m_font.Wrap(m_text, maxText);
        int textWidth = 0;
        for (const std::string& line : m_lines) textWidth = std::max(textWidth, m_font.Width(line));
        const int buttonsWidth = static_cast<int>(m_buttons.size()) * (kButtonWidth + 10) - 10;
        int width = std::max({textWidth + 80, buttonsWidth + 40, m_font.Width(m_caption) + 40, 240});
        width = std::min(width, s.width - 8);
        const int textHeight = std::max(static_cast<int>(m_lines.size()) * m_font.LineHeight(), 32);
        const int height = std::min(40 + textHeight + 20 + kButtonHeight + 16, s.height - 8);
        const int left = (s.width - width) / 2;
        const int top = (s.height - height) / 2;
        m_box = RECT{left, top, left + width, top + height};
        m_textLeft = left + 60;
        int x = left + (width - buttonsWidth) / 2;
        const int y = m_box.bottom - 16 - kButtonHeight;
        for (Button& b : m_buttons) {
            b.rect = RECT{x, y, x + kButtonWidth, y + kButtonHeight};
            x += kButtonWidth + 10;
        }
    }

    void DrawIcon(gdi::Surface& s) {
        const UINT icon = m_type & MB_ICONMASK;
        if (icon == 0) return;
        const uint32_t colour = icon == MB_ICONHAND ? 0xCC0000 : icon == MB_ICONQUESTION ? 0x2050C0 : 0xE0A000;
        const char* mark = icon == MB_ICONHAND ? "X" : icon == MB_ICONQUESTION ? "?" : "!";
        const int cx = m_box.left + 30;
        const int cy = m_box.top + 52;
        for (int dy = -14; dy <= 14; ++dy) {
            for (int dx = -14; dx <= 14; ++dx) {
                if (dx * dx + dy * dy > 196) continue;
                const int x = cx + dx;
                const int y = cy + dy;
                if (x >= 0 && y >= 0 && x < s.width && y < s.height) gdi::WriteRgb(s, x, y, colour);
            }
        }
        m_font.Draw(s, cx - m_font.Width(mark) / 2, cy - m_font.LineHeight() / 2, mark, kWhite);
    }

    int Cancel() const {
        for (const Button& b : m_buttons) {
            if (b.id == IDCANCEL) return IDCANCEL;
        }
        return m_buttons.size() == 1 ? m_buttons[0].id : 0;
    }

    int HitButton(POINT p) const {
        for (size_t i = 0; i < m_buttons.size(); ++i) {
            if (PtInRect(&m_buttons[i].rect, p)) return static_cast<int>(i);
        }
        return -1;
    }

    int OnMouse(const MSG& msg) {
        if (msg.message == WM_LBUTTONDOWN) {
            m_pressed = HitButton(msg.pt);
            Draw();
        } else if (msg.message == WM_LBUTTONUP) {
            const int hit = HitButton(msg.pt);
            const int pressed = m_pressed;
            m_pressed = -1;
            Draw();
            if (hit >= 0 && hit == pressed) return m_buttons[hit].id;
        }
        return 0;
    }

    int OnKey(WPARAM key) {
        if (key == VK_RETURN || key == VK_SPACE) return m_buttons[m_focus].id;
        if (key == VK_ESCAPE) return Cancel();
        if (key == VK_TAB || key == VK_RIGHT) m_focus = (m_focus + 1) % m_buttons.size();
        if (key == VK_LEFT) m_focus = (m_focus + m_buttons.size() - 1) % m_buttons.size();
        Draw();
        return 0;
    }

    std::string m_text;
    std::string m_caption;
    UINT m_type;
    std::vector<Button> m_buttons;
    std::vector<std::string> m_lines;
    size_t m_focus = 0;
    int m_pressed = -1;
    RECT m_box{};
    int m_textLeft = 0;
    BoxText m_font;
};

}  // namespace

int RunScreenMessageBox(const char* text, const char* caption, UINT type) {
    gdi::Surface& display = gdi::Display();
    const std::vector<uint8_t> saved = display.storage;
    ScreenBox box(text, caption, type);
    box.Draw();
    const std::optional<int> answer =
        CurrentBackend().events->AnswerMessageBox(type, box.DefaultId());
    const int result = answer ? *answer : box.Run();
    if (display.storage.size() == saved.size()) display.storage = saved;
    gdi::MarkDisplayDirty();
    gdi::PresentIfDirty();
    return result;
}

}  // namespace platform::user

using namespace platform::user;

int WINAPI MessageBoxA(HWND, LPCSTR text, LPCSTR caption, UINT type) {
    if (text == nullptr) text = "";
    if (caption == nullptr) caption = "Error";
    char style[16];
    snprintf(style, sizeof style, "%x", type);
    platform::LogLine(std::string("message ") + style + " " + Escaped(text));
    int answer;
    if (platform::user::SessionEnding()) {
        // Nobody is there to answer any more.
        const std::vector<Button> buttons = ButtonsFor(type);
        const auto cancel = std::find_if(buttons.begin(), buttons.end(),
                                         [](const Button& b) { return b.id == IDCANCEL; });
        answer = cancel != buttons.end() ? IDCANCEL
                                         : buttons[DefaultIndex(type, buttons.size())].id;
    } else if (TopLevelWindows().empty()) {
        const std::vector<Button> buttons = ButtonsFor(type);
        const int defaultId = buttons[DefaultIndex(type, buttons.size())].id;
        fprintf(stderr, "%s: %s\n", platform::Cp1252ToUtf8(caption).c_str(), platform::Cp1252ToUtf8(text).c_str());
        platform::Backend& backend = platform::CurrentBackend();
        std::optional<int> scripted = backend.events->AnswerMessageBox(type, defaultId);
        if (!scripted && backend.presenter) {
            backend.presenter->NativeMessageBox(platform::Cp1252ToUtf8(caption), platform::Cp1252ToUtf8(text));
        }
        answer = scripted.value_or(defaultId);
    } else {
        answer = RunScreenMessageBox(text, caption, type);
    }
    platform::LogLine("answer " + std::to_string(answer));
    return answer;
}
