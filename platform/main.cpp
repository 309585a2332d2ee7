// The process entry point: reads the emulated machine's options, starts the
// backend and calls the program's WinMain.
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <string>

#include "platform/backend/backend.h"
#include "platform/backend/headless/headless.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "platform/gdi/dc.h"
#include "platform/kernel/codepage.h"
#include "platform/kernel/paths.h"
#include "platform/kernel/profile.h"
#include "platform/user/session.h"
#include "platform/options.h"
#include "platform/windows.h"

namespace {

// The picture named on the command line, in the program's Windows-1252. A
// name that Windows-1252 cannot spell is said to be so, on a box of the
// desktop too, and the program starts without it.
std::string ProgramCommandLine(const std::string& utf8) {
    bool lost = false;
    std::string converted = platform::Utf8ToCp1252(utf8, &lost);
    if (!lost) return converted;
    platform::ReportUnusableName(utf8);
    const auto language = platform::DesktopProfileValue("intl", "sLanguage");
    const bool french = language && language->rfind("fr", 0) == 0;
    const std::string text =
        (french ? "Le nom \u00ab\u00a0" : "The name \u201c") + utf8 +
        (french ? "\u00a0\u00bb contient un caract\u00e8re que le programme ne conna\u00eet pas : "
                  "renommez le fichier avec des lettres d\u2019Europe de l\u2019Ouest."
                : "\u201d holds a character this program does not know: rename the file with "
                  "Western European letters only.");
    platform::CurrentBackend().presenter->NativeMessageBox("Le petit Tavelin", text);
    return std::string();
}

}  // namespace

int main(int argc, char** argv) {
    platform::Options& options = platform::CurrentOptions();
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--help" || std::string(argv[i]) == "-h") {
            fputs(platform::UsageText(), stdout);
            return 0;
        }
        if (std::string(argv[i]) == "--version") {
            printf("tavelin %s\n", TAVELIN_VERSION);
            return 0;
        }
    }
    std::string error;
    if (!platform::ParseOptions(argc, argv, options, error)) {
        fprintf(stderr, "tavelin: %s\n%s", error.c_str(), platform::UsageText());
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
    // A desktop smaller than the emulated display is what the program sees, so
    // that it says which screen it needs instead of showing a cropped picture.
    int desktopWidth = 0;
    int desktopHeight = 0;
    if (!options.headless && platform::SdlDesktopSize(desktopWidth, desktopHeight) &&
        (desktopWidth < options.screenWidth || desktopHeight < options.screenHeight)) {
        platform::gdi::InitDisplay(std::min(desktopWidth, options.screenWidth),
                                   std::min(desktopHeight, options.screenHeight), options.depth);
    }
    platform::InstallBackend(std::move(backend));
    platform::user::CatchSessionEndSignals();
    std::string commandLine = ProgramCommandLine(options.commandLine);
    const int code = WinMain(GetModuleHandleA(nullptr), nullptr, commandLine.data(), SW_SHOW);
    ExitProcess(static_cast<UINT>(code));
}
