// The monkey: a seeded stream of random actions for the headless backend, as
// a child hammering mouse and keyboard would make them, and the watch kept
// over the run. The same seed gives the same actions; each action taken is
// written down as script lines, so that a failing run replays with --script.
// A run fails on a crash, a sanitizer report, a program that stops taking
// input (real or virtual time), or a broken state the program reports through
// OutputDebugStringA; it then says the seed and the number of the action.
#pragma once

#include <cstdint>
#include <cstdio>
#include <optional>
#include <random>
#include <string>
#include <vector>

#include "platform/backend/headless/headless.h"

namespace platform {

// One kind of action and how often it is drawn. Target-less kinds ignore the
// target table.
struct MonkeyAction {
    enum class Kind { Click, RightClick, DoubleClick, Drag, LongPress, Move, Key, Type, Wait, Close };
    Kind kind;
    int weight;
};

// A place of the window and how often clicks and drags go there.
struct MonkeyTarget {
    const char* name;
    int left, top, width, height;
    int weight;
};

class Monkey {
public:
    Monkey(uint32_t seed, int count, bool answerBoxes, const std::string& scriptPath);
    ~Monkey();
    Monkey(const Monkey&) = delete;
    Monkey& operator=(const Monkey&) = delete;

    // From now on the run is watched: crashes, sanitizer reports and stops
    // are reported with the seed and the action.
    void Watch();

    // The commands of the next action, each with the action's number in its
    // line; false once every action was given.
    bool NextAction(std::vector<ScriptCommand>& commands);
    // The answer to a box, in the answering mode only.
    std::optional<ScriptCommand> AnswerBox();
    // A command is being run: it goes into the replay script.
    void Ran(const ScriptCommand& command);
    // The program looked for input or asked a box at virtual time now.
    void InputTaken(uint32_t now);
    // The program sleeps at virtual time now.
    void Slept(uint32_t now);
    // Stops the run, saying why, the seed and the action.
    [[noreturn]] void Fail(const std::string& why);

    int Taken() const { return m_current; }

private:
    struct Spot {
        int x, y;
    };
    Spot PickSpot();
    static ScriptCommand Command(ScriptCommand::Verb verb, std::vector<int> numbers,
                                 std::string text = "", bool right = false);
    void AddWait(std::vector<ScriptCommand>& out, int low, int high);
    int Uniform(int low, int high);

    std::mt19937 m_random;
    uint32_t m_seed;
    int m_count;
    bool m_answerBoxes;
    bool m_watching = false;
    int m_generated = 0;
    int m_current = 0;
    uint32_t m_lastInput = 0;
    FILE* m_script = nullptr;
    std::string m_scriptPath;
};

// The monkey of the run, if any, for the failure reports of signal handlers
// and of OutputDebugStringA.
Monkey* CurrentMonkey();

}  // namespace platform
