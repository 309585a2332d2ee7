// The process entry point: reads the emulated machine's options, starts the
// backend and calls the program's WinMain.
#include <unistd.h>

#include <climits>
#include <cstdio>
#include <string>

#include "platform/backend/backend.h"
#include "platform/backend/headless/headless.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "platform/gdi/dc.h"
#include "platform/options.h"
#include "platform/windows.h"

namespace {

const char kUsage[] =
    "usage: tavelin [--window] [--mute] [--data DIR] [--config DIR] [--depth BITS]\n"
    "               [--screen WxH] [PICTURE]\n"
    "       tavelin --headless [--script FILE] [--log FILE] [--seed N] ... [PICTURE]\n";

}  // namespace

int main(int argc, char** argv) {
    platform::Options& options = platform::CurrentOptions();
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            fputs(kUsage, stdout);
            return 0;
        }
    }
    std::string error;
    if (!platform::ParseOptions(argc, argv, options, error)) {
        fprintf(stderr, "tavelin: %s\n%s", error.c_str(), kUsage);
        return 2;
    }
    char self[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", self, sizeof self - 1);
    options.programPath = length > 0 ? std::string(self, static_cast<size_t>(length)) : argv[0];
    options.singleInstance = true;
    platform::gdi::InitDisplay(options.screenWidth, options.screenHeight, options.depth);

    std::string displayError;
    platform::Backend backend = options.headless
                                    ? platform::MakeHeadlessBackend(options)
                                    : platform::MakeSdlBackend(options, &displayError);
    if (!backend.events || !displayError.empty()) {
        if (!displayError.empty()) fprintf(stderr, "tavelin: %s\n", displayError.c_str());
        fprintf(stderr, "tavelin: cannot start; --headless runs without a display\n");
        return 2;
    }
    platform::InstallBackend(std::move(backend));
    std::string commandLine = options.commandLine;
    const int code = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOW);
    ExitProcess(static_cast<UINT>(code));
}
