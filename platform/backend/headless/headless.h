// The headless backend: a memory framebuffer (the display surface itself), a
// virtual clock that moves only when the program sleeps or waits, input from a
// script, and a log of what a person would have seen and heard.
#pragma once

#include <string>
#include <vector>

#include "platform/backend/backend.h"
#include "platform/options.h"

namespace platform {

// A backend without display or sound card; with options.scriptPath the script
// drives it, with options.monkeyCount the monkey's random actions do (see
// monkey.h), with options.logPath its log is written. A message box that the
// script does not answer takes its default button; twenty of them in a row
// with no input between them are a loop no script ends, and the run stops
// with a line in the log and exit code 4.
Backend MakeHeadlessBackend(const Options& options);

// One parsed script line; bad lines are reported with their number.
struct ScriptCommand {
    enum class Verb { Wait, Move, Down, Up, Click, Drag, Key, Type, Answer, Screenshot, Close };
    Verb verb = Verb::Wait;
    std::vector<int> numbers;
    std::string text;       // key name, typed text, answer or file name
    bool right = false;     // the right mouse button
    int line = 0;
};

[[nodiscard]] bool ParseScript(const std::string& source, std::vector<ScriptCommand>& commands,
                               std::string& error);

// The script line that gives the command again.
std::string FormatScriptCommand(const ScriptCommand& command);

// Writes the display's framebuffer as a 24-bit bottom-up BMP file.
[[nodiscard]] bool WriteScreenshot(const std::string& path);

}  // namespace platform
