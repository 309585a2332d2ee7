// The script language of the headless backend, one command a line:
//   wait MS | move X Y | down left|right | up left|right | click X Y [left|right]
//   drag X1 Y1 X2 Y2 [STEPS] | key [ctrl+|shift+]NAME | type TEXT
//   answer ok|cancel|retry | screenshot FILE.bmp | close | # comment
#include <cstdlib>
#include <sstream>

#include "platform/backend/headless/headless.h"

namespace platform {
namespace {

bool ReadNumbers(std::istringstream& in, size_t count, std::vector<int>& out) {
    for (size_t i = 0; i < count; ++i) {
        long value;
        if (!(in >> value) || value < -100000 || value > 1000000000) return false;
        out.push_back(static_cast<int>(value));
    }
    return true;
}

bool ReadButton(std::istringstream& in, bool required, bool& right) {
    std::string word;
    if (!(in >> word)) return !required;
    if (word == "left") right = false;
    else if (word == "right") right = true;
    else return false;
    return true;
}

}  // namespace

bool ParseScript(const std::string& source, std::vector<ScriptCommand>& commands,
                 std::string& error) {
    using Verb = ScriptCommand::Verb;
    std::istringstream lines(source);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        if (!line.empty() && line.back() == '\r') line.pop_back();
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') continue;
        std::istringstream in(line.substr(first));
        std::string verb;
        in >> verb;
        ScriptCommand command;
        command.line = number;
        bool ok = true;
        if (verb == "wait") {
            command.verb = Verb::Wait;
            ok = ReadNumbers(in, 1, command.numbers) && command.numbers[0] >= 0;
        } else if (verb == "move") {
            command.verb = Verb::Move;
            ok = ReadNumbers(in, 2, command.numbers);
        } else if (verb == "down" || verb == "up") {
            command.verb = verb == "down" ? Verb::Down : Verb::Up;
            ok = ReadButton(in, true, command.right);
        } else if (verb == "click") {
            command.verb = Verb::Click;
            ok = ReadNumbers(in, 2, command.numbers) && ReadButton(in, false, command.right);
        } else if (verb == "drag") {
            command.verb = Verb::Drag;
            ok = ReadNumbers(in, 4, command.numbers);
            int steps;
            if (ok && (in >> steps)) command.numbers.push_back(steps);
            ok = ok && (command.numbers.size() == 4 || (command.numbers[4] >= 1 && command.numbers[4] <= 10000));
        } else if (verb == "key" || verb == "answer" || verb == "screenshot") {
            command.verb = verb == "key" ? Verb::Key : verb == "answer" ? Verb::Answer : Verb::Screenshot;
            ok = static_cast<bool>(in >> command.text);
            if (ok && command.verb == Verb::Answer)
                ok = command.text == "ok" || command.text == "cancel" || command.text == "retry";
        } else if (verb == "type") {
            command.verb = Verb::Type;
            const size_t at = line.find("type", first) + 4;
            command.text = at < line.size() ? line.substr(at + 1) : "";
        } else if (verb == "close") {
            command.verb = Verb::Close;
        } else {
            ok = false;
        }
        if (!ok) {
            error = "script line " + std::to_string(number) + ": cannot read \"" + line + "\"";
            return false;
        }
        commands.push_back(command);
    }
    return true;
}

std::string FormatScriptCommand(const ScriptCommand& c) {
    using Verb = ScriptCommand::Verb;
    std::string numbers;
    for (int n : c.numbers) numbers += " " + std::to_string(n);
    const char* button = c.right ? "right" : "left";
    switch (c.verb) {
        case Verb::Wait: return "wait" + numbers;
        case Verb::Move: return "move" + numbers;
        case Verb::Down: return std::string("down ") + button;
        case Verb::Up: return std::string("up ") + button;
        case Verb::Click: return "click" + numbers + (c.right ? " right" : "");
        case Verb::Drag: return "drag" + numbers;
        case Verb::Key: return "key " + c.text;
        case Verb::Type: return "type " + c.text;
        case Verb::Answer: return "answer " + c.text;
        case Verb::Screenshot: return "screenshot " + c.text;
        case Verb::Close: return "close";
    }
    return "";
}

}  // namespace platform
