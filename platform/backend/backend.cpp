#include "platform/backend/backend.h"

#include "platform/backend/headless/headless.h"
#include "platform/options.h"

namespace platform {
namespace {

Backend& Slot() {
    static Backend backend;
    return backend;
}

}  // namespace

Backend& CurrentBackend() {
    Backend& backend = Slot();
    // Code that runs before a backend is chosen, such as a test, gets the
    // headless one without a script.
    if (!backend.clock) backend = MakeHeadlessBackend(CurrentOptions());
    return backend;
}

void InstallBackend(Backend backend) { Slot() = std::move(backend); }

void LogLine(const std::string& line) {
    Backend& backend = CurrentBackend();
    if (backend.log) backend.log->Line(line);
}

}  // namespace platform
