#include "platform/backend/headless/monkey.h"

#include <signal.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>

#include "platform/backend/backend.h"

#if defined(__SANITIZE_ADDRESS__)
#define TAVELIN_SANITIZED 1
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
#define TAVELIN_SANITIZED 1
#endif
#endif
#ifdef TAVELIN_SANITIZED
#include <sanitizer/common_interface_defs.h>
#endif

namespace platform {
namespace {

using Kind = MonkeyAction::Kind;
using Verb = ScriptCommand::Verb;

// How often each kind of action comes. Clicks and drags are the most of what
// a child does; a close request now and then brings the quit question.
constexpr MonkeyAction kActions[] = {
    {Kind::Click, 34},    {Kind::RightClick, 4}, {Kind::DoubleClick, 5}, {Kind::Drag, 20},
    {Kind::LongPress, 4}, {Kind::Move, 8},       {Kind::Key, 14},        {Kind::Type, 4},
    {Kind::Wait, 5},      {Kind::Close, 1},
};

// Where the pointer goes: the workshop's palette by areas, the sheet, the
// middle of the window where the dialogs open, and anywhere, a little outside
// included. Each button named here is reached often; a new button gets a row.
constexpr MonkeyTarget kTargets[] = {
    {"sheet", 84, 36, 512, 400, 30},
    {"top buttons", 11, 4, 536, 28, 8},
    {"quit button", 557, 4, 80, 28, 1},
    {"tool buttons", 0, 80, 80, 360, 18},
    {"text button", 40, 240, 40, 40, 3},
    {"brush sizes", 0, 34, 80, 44, 5},
    {"stamps", 80, 440, 560, 40, 6},
    {"backgrounds", 0, 440, 80, 40, 3},
    {"swatches", 600, 95, 40, 342, 7},
    {"patterns", 600, 34, 40, 60, 3},
    {"dialogs", 120, 100, 400, 280, 12},
    {"anywhere", 0, 0, 640, 480, 10},
    {"around the window", -20, -20, 680, 520, 1},
};

// A question to quit is nearly always answered no at once, so that a long
// run goes on; once in two hundred times whatever comes next answers it.
bool AsksToQuit(Kind kind, int x, int y) {
    if (kind == Kind::Close) return true;
    const bool click = kind == Kind::Click || kind == Kind::DoubleClick;
    return click && x >= 557 && x < 637 && y >= 4 && y < 32;
}

// Keys as the script names them; the last ones come with ctrl+ or shift+.
constexpr const char* kKeyNames[] = {
    "enter", "escape", "tab", "space", "backspace", "delete", "left", "right", "up", "down",
    "home", "end", "pageup", "pagedown", "f1", "f2", "f3", "f4", "f5", "f10", "f12",
    "a", "b", "c", "e", "o", "s", "u", "x", "y", "z", "0", "1", "9",
};

// Typed text with the accents of the six languages.
constexpr const char* kTexts[] = {"é", "à", "ç", "ù", "ê", "ô", "ü", "ß", "ñ", "Léa", "Noël", "Zoé 2"};

template <typename Row>
int TotalWeight(const Row* rows, size_t count) {
    int total = 0;
    for (size_t i = 0; i < count; ++i) total += rows[i].weight;
    return total;
}

// A program that takes no input for this long, on the real clock or on the
// virtual one, is stuck.
constexpr unsigned kRealSecondsBound = 60;
constexpr uint32_t kVirtualMsBound = 120000;

Monkey* g_monkey = nullptr;
char g_failureText[512];

void WriteText(const char* text) {
    const ssize_t written = write(STDERR_FILENO, text, strlen(text));
    (void)written;
}

#ifdef TAVELIN_SANITIZED
void OnDeath() { WriteText(g_failureText); }
#else
void OnFatalSignal(int signal) {
    WriteText(g_failureText);
    raise(signal);
}
#endif

void OnAlarm(int) {
    WriteText("tavelin: monkey: no input taken for a minute of real time\n");
    WriteText(g_failureText);
    _exit(5);
}

void InstallWatch() {
#ifdef TAVELIN_SANITIZED
    __sanitizer_set_death_callback(OnDeath);
#else
    for (int each : {SIGSEGV, SIGBUS, SIGFPE, SIGILL, SIGABRT}) {
        struct sigaction action {};
        action.sa_handler = OnFatalSignal;
        action.sa_flags = SA_RESETHAND;
        sigaction(each, &action, nullptr);
    }
#endif
    struct sigaction alarmAction {};
    alarmAction.sa_handler = OnAlarm;
    sigaction(SIGALRM, &alarmAction, nullptr);
}

}  // namespace

Monkey* CurrentMonkey() { return g_monkey; }

Monkey::Monkey(uint32_t seed, int count, bool answerBoxes, const std::string& scriptPath)
    : m_random(seed), m_seed(seed), m_count(count), m_answerBoxes(answerBoxes),
      m_scriptPath(scriptPath) {
    if (!scriptPath.empty()) {
        m_script = fopen(scriptPath.c_str(), "w");
        if (m_script == nullptr) fprintf(stderr, "tavelin: cannot write %s\n", scriptPath.c_str());
        else fprintf(m_script, "# monkey %u:%d%s\n", seed, count, answerBoxes ? ":answer" : "");
    }
    snprintf(g_failureText, sizeof g_failureText, "tavelin: monkey: seed %u failed before its first action\n", seed);
}

void Monkey::Watch() {
    g_monkey = this;
    m_watching = true;
    InstallWatch();
    InputTaken(0);
}

Monkey::~Monkey() {
    if (m_watching) alarm(0);
    if (m_script != nullptr) fclose(m_script);
    if (g_monkey == this) g_monkey = nullptr;
}

int Monkey::Uniform(int low, int high) {
    return std::uniform_int_distribution<int>(low, high)(m_random);
}

Monkey::Spot Monkey::PickSpot() {
    int pick = Uniform(0, TotalWeight(kTargets, std::size(kTargets)) - 1);
    for (const MonkeyTarget& target : kTargets) {
        if (pick < target.weight) {
            return {target.left + Uniform(0, target.width - 1),
                    target.top + Uniform(0, target.height - 1)};
        }
        pick -= target.weight;
    }
    return {320, 240};
}

ScriptCommand Monkey::Command(Verb verb, std::vector<int> numbers, std::string text, bool right) {
    ScriptCommand command;
    command.verb = verb;
    command.numbers = std::move(numbers);
    command.text = std::move(text);
    command.right = right;
    return command;
}

void Monkey::AddWait(std::vector<ScriptCommand>& out, int low, int high) {
    out.push_back(Command(Verb::Wait, {Uniform(low, high)}));
}

bool Monkey::NextAction(std::vector<ScriptCommand>& out) {
    if (m_generated >= m_count) return false;
    ++m_generated;
    int pick = Uniform(0, TotalWeight(kActions, std::size(kActions)) - 1);
    Kind kind = Kind::Wait;
    for (const MonkeyAction& action : kActions) {
        if (pick < action.weight) {
            kind = action.kind;
            break;
        }
        pick -= action.weight;
    }
    const Spot a = PickSpot();
    switch (kind) {
        case Kind::Click: out.push_back(Command(Verb::Click, {a.x, a.y})); break;
        case Kind::RightClick: out.push_back(Command(Verb::Click, {a.x, a.y}, "", true)); break;
        case Kind::DoubleClick:
            out.push_back(Command(Verb::Click, {a.x, a.y}));
            out.push_back(Command(Verb::Click, {a.x, a.y}));
            break;
        case Kind::Drag: {
            const Spot b = PickSpot();
            out.push_back(Command(Verb::Drag, {a.x, a.y, b.x, b.y, Uniform(1, 40)}));
            break;
        }
        case Kind::LongPress:
            out.push_back(Command(Verb::Move, {a.x, a.y}));
            out.push_back(Command(Verb::Down, {}));
            AddWait(out, 300, 2500);
            out.push_back(Command(Verb::Up, {}));
            break;
        case Kind::Move: out.push_back(Command(Verb::Move, {a.x, a.y})); break;
        case Kind::Key: {
            const int modifier = Uniform(0, 9);
            const std::string prefix = modifier == 0 ? "ctrl+" : modifier == 1 ? "shift+" : "";
            out.push_back(Command(Verb::Key, {}, prefix + kKeyNames[Uniform(0, std::size(kKeyNames) - 1)]));
            break;
        }
        case Kind::Type: out.push_back(Command(Verb::Type, {}, kTexts[Uniform(0, std::size(kTexts) - 1)])); break;
        case Kind::Wait: AddWait(out, 200, 3000); break;
        case Kind::Close: out.push_back(Command(Verb::Close, {})); break;
    }
    if (AsksToQuit(kind, a.x, a.y) && Uniform(0, 199) != 0) out.push_back(Command(Verb::Key, {}, "escape"));
    // Half of the actions follow the last at once; the others after a pause
    // in which timers and animations run.
    if (Uniform(0, 1) == 1) AddWait(out, 10, 400);
    for (ScriptCommand& command : out) command.line = m_generated;
    return true;
}

std::optional<ScriptCommand> Monkey::AnswerBox() {
    if (!m_answerBoxes || m_generated >= m_count) return std::nullopt;
    constexpr const char* kAnswers[] = {"ok", "cancel", "retry"};
    ScriptCommand answer = Command(Verb::Answer, {}, kAnswers[Uniform(0, 2)]);
    answer.line = m_generated;
    return answer;
}

void Monkey::Ran(const ScriptCommand& command) {
    if (command.line != m_current) {
        m_current = command.line;
        snprintf(g_failureText, sizeof g_failureText,
                 "tavelin: monkey: seed %u, action %d failed%s%s\n", m_seed, m_current,
                 m_script != nullptr ? "; it replays with --script " : "", m_scriptPath.c_str());
    }
    if (m_script == nullptr) return;
    fprintf(m_script, "%s\n", FormatScriptCommand(command).c_str());
    fflush(m_script);
}

void Monkey::InputTaken(uint32_t now) {
    m_lastInput = now;
    if (m_watching) alarm(kRealSecondsBound);
}

void Monkey::Slept(uint32_t now) {
    if (now - m_lastInput > kVirtualMsBound) Fail("no input taken for two minutes of the program's clock");
}

void Monkey::Fail(const std::string& why) {
    if (m_script != nullptr) fflush(m_script);
    fprintf(stderr, "tavelin: monkey: %s\n", why.c_str());
    WriteText(g_failureText);
    LogLine("monkey: " + why);
    LogLine("exit 6");
    fflush(nullptr);
    _Exit(6);
}

}  // namespace platform
