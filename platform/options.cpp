#include "platform/options.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace platform {

Options& CurrentOptions() {
    static Options options;
    return options;
}

namespace {

const char kUsage[] =
    "usage: tavelin [OPTION]... [PICTURE]\n"
    "  PICTURE          a BMP drawing to open first\n"
    "  --window         a window instead of the full screen\n"
    "  --mute           no sound\n"
    "  --scale MODE     sharp (the picture fills the screen) or integer (whole factors only)\n"
    "  --data DIR       the folder of the program's data (it holds Datas)\n"
    "  --config DIR     the folder of Tavelin.ini and win.ini (default ~/.config/tavelin)\n"
    "  --depth BITS     the display's bits per pixel: 8 or 32 (default 32)\n"
    "  --screen WxH     the display's size in pixels, such as 640x480 (default 640x480)\n"
    "  --headless       no display nor sound card: for scripts and tests\n"
    "  --script FILE    the input script of a headless run (needs --headless)\n"
    "  --log FILE       write what the run shows, plays and writes to FILE\n"
    "  --monkey SEED:COUNT[:answer]  COUNT random actions (needs --headless)\n"
    "  --monkey-script FILE  write the random actions as a replay script\n"
    "  --seed N         a number from 0 to 2147483647 to start the randomness with\n"
    "  --print-to DIR   print each page as a PDF file in DIR instead of on a printer\n"
    "  --print-page WxH the printable area of those pages in printer pixels\n"
    "  --print-dpi X[xY] the resolution of those pages (default 300)\n"
    "  --help           this text\n"
    "  --version        the program's version\n";

bool ParseInt(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    value = strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

bool ParseSize(const char* text, int& width, int& height) {
    char tail = 0;
    return sscanf(text, "%dx%d%c", &width, &height, &tail) == 2 && width >= 1 && height >= 1 &&
           width <= 8192 && height <= 8192;
}

// SEED:COUNT[:answer], the seed from 0 to 2147483647 and from 1 to
// 100000000 actions.
bool ParseMonkey(const char* value, Options& options, std::string& error) {
    long seed = 0, count = 0;
    int used = 0;
    const bool read = sscanf(value, "%ld:%ld%n", &seed, &count, &used) == 2;
    const char* rest = value + (read ? used : 0);
    const bool ok = read && (*rest == '\0' || strcmp(rest, ":answer") == 0) && seed >= 0 &&
                    seed <= 0x7FFFFFFF && count >= 1 && count <= 100000000;
    if (!ok) {
        error = "--monkey needs SEED:COUNT or SEED:COUNT:answer, such as 7:20000";
        return false;
    }
    options.monkeySeed = static_cast<uint32_t>(seed);
    options.monkeyCount = static_cast<int>(count);
    options.monkeyAnswers = *rest != '\0';
    return true;
}

// The options that take a value: what they set, and what is said when the
// value is refused.
bool TakeValue(const std::string& name, const char* value, Options& options, std::string& error) {
    long number = 0;
    if (name == "--script" || name == "--log" || name == "--data" || name == "--config" ||
        name == "--monkey-script") {
        std::string& target = name == "--script"           ? options.scriptPath
                              : name == "--monkey-script" ? options.monkeyScript
                              : name == "--log"  ? options.logPath
                              : name == "--data" ? options.dataDir
                                                 : options.configDir;
        target = value;
    } else if (name == "--scale") {
        if (strcmp(value, "integer") != 0 && strcmp(value, "sharp") != 0) {
            error = "--scale needs integer or sharp";
            return false;
        }
        options.wholeScale = strcmp(value, "integer") == 0;
    } else if (name == "--seed") {
        if (!ParseInt(value, 0, 0x7FFFFFFF, number)) {
            error = "--seed needs a number from 0 to 2147483647";
            return false;
        }
        options.seed = static_cast<uint32_t>(number);
    } else if (name == "--monkey") {
        return ParseMonkey(value, options, error);
    } else if (name == "--depth") {
        if (!ParseInt(value, 8, 32, number) || (number != 8 && number != 32)) {
            error = "--depth needs 8 or 32";
            return false;
        }
        options.depth = static_cast<int>(number);
    } else if (name == "--screen") {
        if (!ParseSize(value, options.screenWidth, options.screenHeight)) {
            error = "--screen needs a size such as 640x480";
            return false;
        }
    } else if (name == "--print-to") {
        options.printTo = value;
    } else if (name == "--print-page" || name == "--print-dpi") {
        int x = 0, y = 0;
        char tail = 0;
        const int read = sscanf(value, "%dx%d%c", &x, &y, &tail);
        const bool page = name == "--print-page";
        if (page ? read != 2 : read < 1 || read > 2) {
            error = page ? "--print-page needs a size such as 2400x3300"
                         : "--print-dpi needs a resolution such as 300 or 600x300";
            return false;
        }
        if (read == 1) y = x;
        const int low = page ? 1 : 10;
        const int high = page ? 100000 : 9600;
        if (x < low || y < low || x > high || y > high) {
            error = name + " is out of range";
            return false;
        }
        (page ? options.printWidth : options.printDpiX) = x;
        (page ? options.printHeight : options.printDpiY) = y;
    }
    return true;
}

bool TakesValue(const std::string& name) {
    for (const char* each : {"--script", "--log", "--data", "--config", "--seed", "--depth",
                             "--monkey", "--monkey-script", "--screen", "--scale", "--print-to",
                             "--print-page", "--print-dpi"}) {
        if (name == each) return true;
    }
    return false;
}

}  // namespace

const char* UsageText() { return kUsage; }

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
    std::string picture;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--window") {
            options.window = true;
        } else if (arg == "--mute") {
            options.mute = true;
        } else if (TakesValue(arg)) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            if (!TakeValue(arg, argv[++i], options, error)) return false;
        } else if (arg.size() > 2 && arg.compare(0, 2, "--") == 0) {
            error = "unknown option " + arg;
            return false;
        } else {
            picture += picture.empty() ? arg : " " + arg;
        }
    }
    if (!options.scriptPath.empty() && !options.headless) {
        error = "--script needs --headless";
        return false;
    }
    if (options.monkeyCount > 0 && (!options.headless || !options.scriptPath.empty())) {
        error = "--monkey needs --headless and no --script";
        return false;
    }
    options.commandLine = picture;
    return true;
}

}  // namespace platform
