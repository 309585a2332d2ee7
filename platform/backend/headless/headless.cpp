#include "platform/backend/headless/headless.h"

#include <cstdio>
#include <deque>
#include <fstream>
#include <sstream>

#include "platform/backend/headless/monkey.h"
#include "platform/gdi/dc.h"
#include "platform/kernel/codepage.h"
#include "platform/user/single_instance.h"
#include "platform/win/user.h"

namespace platform {
namespace {

class VirtualClock : public Clock {
public:
    uint32_t NowMs() override { return m_now; }
    void SleepMs(uint32_t ms) override {
        m_now += ms;
        if (Monkey* monkey = CurrentMonkey()) monkey->Slept(m_now);
    }

private:
    uint32_t m_now = 0;
};

class MemoryPresenter : public Presenter {
public:
    void Present(const uint32_t*, int, int, int) override {}
    void SetCursor(const CursorShape*) override {}
    void ShowCursor(bool) override {}
    void WarpMouse(int, int) override {}
    void Raise() override {}
    void SetTitle(const std::string&) override {}
    bool NativeMessageBox(const std::string&, const std::string&) override { return false; }
};

class SilentAudio : public AudioSink {
public:
    void Play(std::vector<int16_t>, bool) override {}
    void Stop() override {}
    bool Playing() override { return false; }
};

// A box the script leaves unanswered takes its default button. When boxes
// keep coming with no input in between, the program is asking again and
// again (a question whose OK retries) and no script will end it: the run
// stops, saying so, with exit code 4.
class UnansweredBoxes {
public:
    int TakeDefault(int defaultId) {
        if (++m_inARow >= kMaxUnansweredInARow) {
            const char* reason = "script: a message box keeps coming back unanswered; the run stops";
            fprintf(stderr, "tavelin: %s\n", reason);
            LogLine(reason);
            LogLine("exit 4");
            fflush(nullptr);
            _Exit(4);
        }
        return defaultId;
    }
    void InputTaken() { m_inARow = 0; }

private:
    static constexpr int kMaxUnansweredInARow = 20;
    int m_inARow = 0;
};

struct KeyName {
    const char* name;
    uint32_t vk;
    uint8_t character;
    uint8_t scan;
};

const KeyName kKeys[] = {
    {"space", VK_SPACE, ' ', 0x39},   {"enter", VK_RETURN, 13, 0x1C},
    {"escape", VK_ESCAPE, 27, 0x01},  {"backspace", VK_BACK, 8, 0x0E},
    {"delete", VK_DELETE, 0, 0x53},   {"tab", VK_TAB, 9, 0x0F},
    {"left", VK_LEFT, 0, 0x4B},       {"right", VK_RIGHT, 0, 0x4D},
    {"up", VK_UP, 0, 0x48},           {"down", VK_DOWN, 0, 0x50},
    {"home", VK_HOME, 0, 0x47},       {"end", VK_END, 0, 0x4F},
    {"pageup", VK_PRIOR, 0, 0x49},    {"pagedown", VK_NEXT, 0, 0x51},
};

const char kLetterScans[] = "\x1E\x30\x2E\x20\x12\x21\x22\x23\x17\x24\x25\x26\x32\x31\x18\x19"
                            "\x10\x13\x1F\x14\x16\x2F\x11\x2D\x15\x2C";

// Looks a key name up as the keyboard would make it: virtual key, character
// and scan code.
bool LookUpKey(const std::string& name, bool ctrl, bool shift, InputEvent& key) {
    key.kind = InputEvent::Kind::KeyDown;
    if (name.size() == 1 && name[0] >= 'a' && name[0] <= 'z') {
        const int index = name[0] - 'a';
        key.vk = 'A' + index;
        key.scan = static_cast<uint8_t>(kLetterScans[index]);
        key.character = static_cast<uint8_t>(ctrl ? index + 1 : (shift ? 'A' : 'a') + index);
        return true;
    }
    if (name.size() == 1 && name[0] >= '0' && name[0] <= '9') {
        key.vk = name[0];
        key.scan = name[0] == '0' ? 0x0B : 0x02 + (name[0] - '1');
        key.character = ctrl ? 0 : name[0];
        return true;
    }
    if (name.size() >= 2 && name[0] == 'f') {
        const int n = atoi(name.c_str() + 1);
        if (n >= 1 && n <= 12 && name == "f" + std::to_string(n)) {
            key.vk = VK_F1 + n - 1;
            key.scan = n <= 10 ? 0x3B + n - 1 : 0x57 + n - 11;
            return true;
        }
    }
    for (const KeyName& k : kKeys) {
        if (name == k.name) {
            key.vk = k.vk;
            key.scan = k.scan;
            key.character = (ctrl && k.character == ' ') ? ' ' : k.character;
            return true;
        }
    }
    return false;
}

class ScriptSource : public EventSource {
public:
    ScriptSource(std::vector<ScriptCommand> commands, Clock& clock)
        : m_commands(std::move(commands)), m_clock(clock) {}
    // The commands come from the monkey, an action at a time.
    ScriptSource(std::unique_ptr<Monkey> monkey, Clock& clock)
        : m_clock(clock), m_monkey(std::move(monkey)) {}

    bool Poll(InputEvent& event) override {
        if (TakeRaiseRequest()) {
            event = InputEvent{};
            event.kind = InputEvent::Kind::Raise;
            return true;
        }
        if (m_monkey != nullptr) m_monkey->InputTaken(m_clock.NowMs());
        while (m_pending.empty() && Due() && (m_next < m_commands.size() || MoreFromMonkey())) {
            Run(m_commands[m_next++]);
        }
        if (m_pending.empty() && m_next >= m_commands.size() && Due()) EndOfScript();
        if (m_pending.empty()) return false;
        event = m_pending.front();
        m_pending.pop_front();
        m_unanswered.InputTaken();
        return true;
    }

    std::optional<int> AnswerMessageBox(uint32_t, int defaultId) override {
        // A box can come before the program first looks for input; the
        // answers that the script gives at that point count for it.
        while (m_answers.empty() && m_next < m_commands.size() &&
               m_commands[m_next].verb == ScriptCommand::Verb::Answer && Due()) {
            Run(m_commands[m_next++]);
        }
        if (m_answers.empty() && m_monkey != nullptr) {
            m_monkey->InputTaken(m_clock.NowMs());
            if (std::optional<ScriptCommand> answer = m_monkey->AnswerBox()) Run(*answer);
        }
        if (m_answers.empty()) return m_unanswered.TakeDefault(defaultId);
        const int answer = m_answers.front();
        m_answers.pop_front();
        m_unanswered.InputTaken();
        return answer;
    }

    bool Finished() override { return m_closed; }

private:
    // The monkey's next action, once the commands so far are all taken.
    bool MoreFromMonkey() {
        if (m_monkey == nullptr) return false;
        m_commands.clear();
        m_next = 0;
        return m_monkey->NextAction(m_commands);
    }

    bool Due() { return static_cast<int32_t>(m_clock.NowMs() - m_resumeAt) >= 0; }

    void Mouse(InputEvent::Kind kind, int x, int y, bool right) {
        InputEvent e;
        e.kind = kind;
        e.x = x;
        e.y = y;
        e.button = right ? MouseButton::Right : MouseButton::Left;
        m_pending.push_back(e);
        m_x = x;
        m_y = y;
    }

    void Key(const std::string& keyName) {
        std::string name = keyName;
        bool ctrl = false, shift = false;
        for (;;) {
            if (name.rfind("ctrl+", 0) == 0) ctrl = true, name.erase(0, 5);
            else if (name.rfind("shift+", 0) == 0) shift = true, name.erase(0, 6);
            else break;
        }
        InputEvent key;
        if (!LookUpKey(name, ctrl, shift, key)) {
            LogLine("script: unknown key " + keyName);
            return;
        }
        Modifier(ctrl, VK_CONTROL, 0x1D, true);
        Modifier(shift, VK_SHIFT, 0x2A, true);
        m_pending.push_back(key);
        key.kind = InputEvent::Kind::KeyUp;
        key.character = 0;
        m_pending.push_back(key);
        Modifier(shift, VK_SHIFT, 0x2A, false);
        Modifier(ctrl, VK_CONTROL, 0x1D, false);
    }

    void Modifier(bool held, uint32_t vk, uint32_t scan, bool down) {
        if (!held) return;
        InputEvent e;
        e.kind = down ? InputEvent::Kind::KeyDown : InputEvent::Kind::KeyUp;
        e.vk = vk;
        e.scan = scan;
        m_pending.push_back(e);
    }

    // Each character of the UTF-8 text as the Windows-1252 key press a
    // keyboard makes for it (the euro and the curly quotes included); a
    // character without a place in Windows-1252 comes keyless, as an input
    // method types it.
    void Type(const std::string& utf8) {
        for (size_t i = 0; i < utf8.size();) {
            const uint32_t codePoint = NextCodePoint(utf8, i);
            if (codePoint == 0) continue;
            InputEvent key;
            key.character = Cp1252ByteOf(codePoint);
            if (key.character == 0) {
                key.kind = InputEvent::Kind::Character;
                key.codePoint = codePoint;
                m_pending.push_back(key);
                continue;
            }
            const uint8_t cp = key.character;
            key.kind = InputEvent::Kind::KeyDown;
            if (cp >= 'a' && cp <= 'z') key.vk = cp - 'a' + 'A';
            else if ((cp >= 'A' && cp <= 'Z') || (cp >= '0' && cp <= '9') || cp == ' ') key.vk = cp;
            m_pending.push_back(key);
            key.kind = InputEvent::Kind::KeyUp;
            key.character = 0;
            m_pending.push_back(key);
        }
    }

    void Run(const ScriptCommand& c) {
        using Verb = ScriptCommand::Verb;
        using Kind = InputEvent::Kind;
        const std::vector<int>& n = c.numbers;
        if (m_monkey != nullptr) m_monkey->Ran(c);
        switch (c.verb) {
            case Verb::Wait: m_resumeAt = m_clock.NowMs() + static_cast<uint32_t>(n[0]); break;
            case Verb::Move: Mouse(Kind::MouseMove, n[0], n[1], false); break;
            case Verb::Down: Mouse(Kind::MouseDown, m_x, m_y, c.right); break;
            case Verb::Up: Mouse(Kind::MouseUp, m_x, m_y, c.right); break;
            case Verb::Click:
                Mouse(Kind::MouseMove, n[0], n[1], false);
                Mouse(Kind::MouseDown, n[0], n[1], c.right);
                Mouse(Kind::MouseUp, n[0], n[1], c.right);
                break;
            case Verb::Drag: {
                const int steps = n.size() > 4 ? n[4] : 10;
                Mouse(Kind::MouseMove, n[0], n[1], false);
                Mouse(Kind::MouseDown, n[0], n[1], false);
                for (int i = 1; i <= steps; ++i) {
                    Mouse(Kind::MouseMove, n[0] + (n[2] - n[0]) * i / steps,
                          n[1] + (n[3] - n[1]) * i / steps, false);
                }
                Mouse(Kind::MouseUp, n[2], n[3], false);
                break;
            }
            case Verb::Key: Key(c.text); break;
            case Verb::Type: Type(c.text); break;
            case Verb::Answer:
                m_answers.push_back(c.text == "ok" ? IDOK : c.text == "cancel" ? IDCANCEL : IDRETRY);
                break;
            case Verb::Screenshot:
                gdi::PresentIfDirty();
                if (!WriteScreenshot(c.text)) LogLine("script: cannot write " + c.text);
                break;
            case Verb::Close: {
                InputEvent e;
                e.kind = Kind::Close;
                m_pending.push_back(e);
                break;
            }
        }
    }

    void Ending() override { ReportMonkey(); }

    // How far the monkey got, once, whether its actions ran out or random
    // input quit the program first.
    void ReportMonkey() {
        if (m_monkey == nullptr || m_monkeyReported) return;
        m_monkeyReported = true;
        LogLine("monkey: " + std::to_string(m_monkey->Taken()) + " actions taken");
    }

    // The script is over: the program is closed as by the user, who answers
    // the dialog that the close may bring up (the quit question) with Enter,
    // and closes again if the program is still there: each second, Enter and
    // the close in turn. A program that refuses to go is stopped after a
    // minute of its clock.
    void EndOfScript() {
        const uint32_t now = m_clock.NowMs();
        InputEvent close;
        close.kind = InputEvent::Kind::Close;
        if (!m_closed) {
            ReportMonkey();
            m_closed = true;
            m_closedAt = m_lastNudge = now;
            m_pending.push_back(close);
        } else if (now - m_closedAt > 60000) {
            LogLine("script: the program did not close");
            LogLine("exit 3");
            fflush(nullptr);
            _Exit(3);
        } else if (now - m_lastNudge >= 1000) {
            m_lastNudge = now;
            if (m_nudges++ % 2 == 0) Key("enter");
            else m_pending.push_back(close);
        }
    }

    std::vector<ScriptCommand> m_commands;
    Clock& m_clock;
    std::unique_ptr<Monkey> m_monkey;
    bool m_monkeyReported = false;
    size_t m_next = 0;
    uint32_t m_resumeAt = 0;
    std::deque<InputEvent> m_pending;
    std::deque<int> m_answers;
    UnansweredBoxes m_unanswered;
    int m_x = 0;
    int m_y = 0;
    bool m_closed = false;
    uint32_t m_closedAt = 0;
    uint32_t m_lastNudge = 0;
    int m_nudges = 0;
};

// Without a script nothing happens and every box takes its default button.
class QuietSource : public EventSource {
public:
    bool Poll(InputEvent& event) override {
        if (!TakeRaiseRequest()) return false;
        event = InputEvent{};
        event.kind = InputEvent::Kind::Raise;
        return true;
    }
    std::optional<int> AnswerMessageBox(uint32_t, int defaultId) override {
        return m_unanswered.TakeDefault(defaultId);
    }

private:
    UnansweredBoxes m_unanswered;
};

void Put16(std::vector<uint8_t>& out, uint32_t v) {
    out.push_back(v & 0xFF);
    out.push_back((v >> 8) & 0xFF);
}

void Put32(std::vector<uint8_t>& out, uint32_t v) {
    Put16(out, v & 0xFFFF);
    Put16(out, v >> 16);
}

}  // namespace

bool WriteScreenshot(const std::string& path) {
    gdi::Surface& s = gdi::Display();
    const uint32_t stride = (static_cast<uint32_t>(s.width) * 3 + 3) & ~3u;
    const uint32_t imageSize = stride * static_cast<uint32_t>(s.height);
    std::vector<uint8_t> out;
    out.reserve(54 + imageSize);
    out.push_back('B');
    out.push_back('M');
    Put32(out, 54 + imageSize);
    Put32(out, 0);
    Put32(out, 54);
    Put32(out, 40);
    Put32(out, static_cast<uint32_t>(s.width));
    Put32(out, static_cast<uint32_t>(s.height));
    Put16(out, 1);
    Put16(out, 24);
    Put32(out, 0);
    Put32(out, imageSize);
    Put32(out, 2835);
    Put32(out, 2835);
    Put32(out, 0);
    Put32(out, 0);
    for (int y = s.height - 1; y >= 0; --y) {
        for (int x = 0; x < s.width; ++x) {
            const uint32_t rgb = gdi::ReadRgb(s, x, y);
            out.push_back(rgb & 0xFF);
            out.push_back((rgb >> 8) & 0xFF);
            out.push_back((rgb >> 16) & 0xFF);
        }
        for (uint32_t pad = static_cast<uint32_t>(s.width) * 3; pad < stride; ++pad) out.push_back(0);
    }
    FILE* file = fopen(path.c_str(), "wb");
    if (file == nullptr) return false;
    const bool ok = fwrite(out.data(), 1, out.size(), file) == out.size();
    return fclose(file) == 0 && ok;
}

Backend MakeHeadlessBackend(const Options& options) {
    Backend backend;
    backend.headless = true;
    backend.clock = std::make_unique<VirtualClock>();
    backend.presenter = std::make_unique<MemoryPresenter>();
    backend.audio = std::make_unique<SilentAudio>();
    if (!options.logPath.empty()) backend.log = MakeFileLog(options.logPath);
    backend.events = std::make_unique<QuietSource>();
    if (options.monkeyCount > 0) {
        auto monkey = std::make_unique<Monkey>(options.monkeySeed, options.monkeyCount,
                                               options.monkeyAnswers, options.monkeyScript);
        monkey->Watch();
        backend.events = std::make_unique<ScriptSource>(std::move(monkey), *backend.clock);
        return backend;
    }
    if (!options.scriptPath.empty()) {
        std::ifstream in(options.scriptPath, std::ios::binary);
        std::stringstream text;
        text << in.rdbuf();
        std::vector<ScriptCommand> commands;
        std::string error;
        if (!in.is_open()) {
            error = "cannot read the script " + options.scriptPath;
        } else if (ParseScript(text.str(), commands, error)) {
            backend.events = std::make_unique<ScriptSource>(std::move(commands), *backend.clock);
            return backend;
        }
        fprintf(stderr, "tavelin: %s\n", error.c_str());
        backend.events.reset();
    }
    return backend;
}

}  // namespace platform
