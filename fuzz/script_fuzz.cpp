// Feeds arbitrary text to the headless backend's script reader. Every command
// it accepts must carry the numbers its verb needs.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "platform/backend/headless/headless.h"

namespace {

bool Complete(const platform::ScriptCommand& command) {
    using Verb = platform::ScriptCommand::Verb;
    const size_t count = command.numbers.size();
    switch (command.verb) {
        case Verb::Wait: return count == 1 && command.numbers[0] >= 0;
        case Verb::Move:
        case Verb::Click: return count == 2;
        case Verb::Drag: return count == 4 || (count == 5 && command.numbers[4] >= 1);
        case Verb::Key:
        case Verb::Answer:
        case Verb::Screenshot: return count == 0 && !command.text.empty();
        default: return count == 0;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string source(reinterpret_cast<const char*>(data), size);
    std::vector<platform::ScriptCommand> commands;
    std::string error;
    if (platform::ParseScript(source, commands, error)) {
        int line = 0;
        for (const platform::ScriptCommand& command : commands) {
            if (!Complete(command) || command.line <= line) __builtin_trap();
            line = command.line;
        }
    } else if (error.empty()) {
        __builtin_trap();
    }
    return 0;
}
