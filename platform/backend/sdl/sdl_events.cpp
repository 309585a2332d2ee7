#include "platform/backend/sdl/keymap.h"
#include "platform/backend/sdl/sdl_parts.h"
#include "platform/user/single_instance.h"

#include <chrono>
#include <deque>
#include <utility>

namespace platform {
namespace {

class SdlEvents final : public EventSource {
public:
    explicit SdlEvents(std::shared_ptr<SdlDisplay> display) : m_display(std::move(display)) {}

    // Reading the display connection costs a few system calls, and an idle
    // program asks every millisecond: after a look that found nothing, the
    // connection is read again only after a few milliseconds, and the
    // single-instance socket after a few dozen.
    bool Poll(InputEvent& event) override {
        if (!m_typed.empty()) {
            event = m_typed.front();
            m_typed.pop_front();
            return true;
        }
        const auto now = std::chrono::steady_clock::now();
        if (now - m_lastRaiseCheck >= std::chrono::milliseconds(50)) {
            m_lastRaiseCheck = now;
            if (TakeRaiseRequest()) {
                event = InputEvent{};
                event.kind = InputEvent::Kind::Raise;
                return true;
            }
        }
        if (!m_display->EventsReady()) {
            return false;
        }
        bool pumped = false;
        SDL_Event sdlEvent;
        for (;;) {
            if (SDL_PeepEvents(&sdlEvent, 1, SDL_GETEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) == 1) {
                event = InputEvent{};
                m_quiet = false;
                if (Translate(sdlEvent, event)) return true;
                continue;
            }
            if (pumped || (m_quiet && now - m_lastPump < std::chrono::milliseconds(4))) return false;
            SDL_PumpEvents();
            m_lastPump = now;
            m_quiet = true;
            pumped = true;
        }
    }

    // SDL sleeps on the display connection until something arrives.
    bool WaitForInput(uint32_t ms) override {
        if (!m_display->EventsReady()) return false;
        SDL_WaitEventTimeout(nullptr, static_cast<int>(ms));
        m_quiet = false;
        return true;
    }

    std::optional<int> AnswerMessageBox(uint32_t, int) override { return std::nullopt; }

private:
    bool Translate(const SDL_Event& sdlEvent, InputEvent& event);
    bool TranslateMouseButton(const SDL_MouseButtonEvent& button, InputEvent& event);
    bool TranslateKey(const SDL_KeyboardEvent& key, InputEvent& event);
    bool TranslateWindow(const SDL_WindowEvent& window, InputEvent& event);
    std::string TakeFollowingText();
    bool TranslateText(std::string_view text, InputEvent& event);

    std::shared_ptr<SdlDisplay> m_display;
    std::chrono::steady_clock::time_point m_lastRaiseCheck{};
    std::chrono::steady_clock::time_point m_lastPump{};
    bool m_quiet = false;
    std::deque<InputEvent> m_typed;  // the rest of a text typed in one go
};

bool SdlEvents::Translate(const SDL_Event& sdlEvent, InputEvent& event) {
    switch (sdlEvent.type) {
        case SDL_MOUSEMOTION:
            event.kind = InputEvent::Kind::MouseMove;
            m_display->WindowToScreen(sdlEvent.motion.x, sdlEvent.motion.y, event.x, event.y);
            return true;
        case SDL_MOUSEBUTTONDOWN:
        case SDL_MOUSEBUTTONUP:
            return TranslateMouseButton(sdlEvent.button, event);
        case SDL_KEYDOWN:
        case SDL_KEYUP:
            return TranslateKey(sdlEvent.key, event);
        case SDL_WINDOWEVENT:
            return TranslateWindow(sdlEvent.window, event);
        case SDL_QUIT:
            event.kind = InputEvent::Kind::Close;
            return true;
        case SDL_TEXTINPUT:
            // Text that no key-down claimed: an input method's commit.
            return TranslateText(sdlEvent.text.text, event);
        default:
            return false;
    }
}

bool SdlEvents::TranslateMouseButton(const SDL_MouseButtonEvent& button, InputEvent& event) {
    if (button.button == SDL_BUTTON_LEFT) {
        event.button = MouseButton::Left;
    } else if (button.button == SDL_BUTTON_RIGHT) {
        event.button = MouseButton::Right;
    } else {
        return false;
    }
    event.kind = button.state == SDL_PRESSED ? InputEvent::Kind::MouseDown : InputEvent::Kind::MouseUp;
    m_display->WindowToScreen(button.x, button.y, event.x, event.y);
    return true;
}

bool SdlEvents::TranslateKey(const SDL_KeyboardEvent& key, InputEvent& event) {
    bool numLock = (key.keysym.mod & KMOD_NUM) != 0;
    KeyCodes codes = MapSdlKey(key.keysym.scancode, key.keysym.sym, numLock);
    bool down = key.state == SDL_PRESSED;
    // The text a key-down typed follows it in the queue; take it even for a key
    // we do not report, so that it does not stray onto a later key.
    std::string text = down ? TakeFollowingText() : std::string();
    if (codes.vk == 0) {
        // A key the layout gave a character no Windows key has.
        return TranslateText(text, event);
    }
    event.kind = down ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
    event.vk = codes.vk;
    event.scan = codes.scan;
    event.repeat = key.repeat != 0;
    if (down) {
        bool ctrl = (key.keysym.mod & KMOD_CTRL) != 0;
        bool alt = (key.keysym.mod & KMOD_ALT) != 0;
        event.character = KeyCharacter(codes.vk, ctrl, alt, text);
        if (event.character == 0 && (!ctrl || alt) && !text.empty()) {
            size_t pos = 0;
            event.codePoint = NextCodePoint(text, pos);
        }
    }
    return true;
}

// Each character of the text becomes an event of its own, in Windows-1252
// when it has a place there and as its code point otherwise.
bool SdlEvents::TranslateText(std::string_view text, InputEvent& event) {
    for (size_t pos = 0; pos < text.size();) {
        const uint32_t codePoint = NextCodePoint(text, pos);
        if (codePoint == 0) continue;
        InputEvent typed;
        typed.kind = InputEvent::Kind::Character;
        typed.character = Cp1252ByteOf(codePoint);
        if (typed.character == 0) typed.codePoint = codePoint;
        m_typed.push_back(typed);
    }
    if (m_typed.empty()) return false;
    event = m_typed.front();
    m_typed.pop_front();
    return true;
}

std::string SdlEvents::TakeFollowingText() {
    SDL_Event next;
    if (SDL_PeepEvents(&next, 1, SDL_PEEKEVENT, SDL_FIRSTEVENT, SDL_LASTEVENT) != 1 || next.type != SDL_TEXTINPUT) {
        return {};
    }
    SDL_PeepEvents(&next, 1, SDL_GETEVENT, SDL_TEXTINPUT, SDL_TEXTINPUT);
    return next.text.text;
}

bool SdlEvents::TranslateWindow(const SDL_WindowEvent& window, InputEvent& event) {
    switch (window.event) {
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            event.kind = InputEvent::Kind::FocusGained;
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            event.kind = InputEvent::Kind::FocusLost;
            return true;
        case SDL_WINDOWEVENT_CLOSE:
            // Closing the only window also queues a quit; one Close is enough.
            SDL_FlushEvent(SDL_QUIT);
            event.kind = InputEvent::Kind::Close;
            return true;
        case SDL_WINDOWEVENT_EXPOSED:
        case SDL_WINDOWEVENT_SIZE_CHANGED:
            m_display->Redraw();
            return false;
        default:
            return false;
    }
}

}  // namespace

std::unique_ptr<EventSource> MakeSdlEvents(std::shared_ptr<SdlDisplay> display) {
    return std::make_unique<SdlEvents>(std::move(display));
}

}  // namespace platform
