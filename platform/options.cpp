#include "platform/options.h"

#include <cstdlib>
#include <cstring>

namespace platform {

Options& CurrentOptions() {
    static Options options;
    return options;
}

namespace {

bool ParseInt(const char* text, long low, long high, long& value) {
    char* end = nullptr;
    value = strtol(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

}  // namespace

bool ParseOptions(int argc, char** argv, Options& options, std::string& error) {
    std::string picture;
    for (int i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        auto value = [&](const char*& out) {
            if (i + 1 >= argc) {
                error = arg + " needs a value";
                return false;
            }
            out = argv[++i];
            return true;
        };
        const char* v = nullptr;
        long number = 0;
        if (arg == "--headless") {
            options.headless = true;
        } else if (arg == "--window") {
            options.window = true;
        } else if (arg == "--mute") {
            options.mute = true;
        } else if (arg == "--script" || arg == "--log" || arg == "--data" || arg == "--config") {
            if (!value(v)) return false;
            std::string& target = arg == "--script" ? options.scriptPath
                                  : arg == "--log"  ? options.logPath
                                  : arg == "--data" ? options.dataDir
                                                    : options.configDir;
            target = v;
        } else if (arg == "--seed") {
            if (!value(v) || !ParseInt(v, 0, 0x7FFFFFFF, number)) {
                error = "--seed needs a number";
                return false;
            }
            options.seed = static_cast<uint32_t>(number);
        } else if (arg == "--depth") {
            if (!value(v) || !ParseInt(v, 1, 32, number)) {
                error = "--depth needs a number of bits per pixel";
                return false;
            }
            options.depth = static_cast<int>(number);
        } else if (arg == "--screen") {
            int w = 0, h = 0;
            char tail = 0;
            if (!value(v) || sscanf(v, "%dx%d%c", &w, &h, &tail) != 2 || w < 1 || h < 1 ||
                w > 8192 || h > 8192) {
                error = "--screen needs a size such as 640x480";
                return false;
            }
            options.screenWidth = w;
            options.screenHeight = h;
        } else if (arg == "--print-to") {
            if (!value(v)) return false;
            options.printTo = v;
        } else if (arg == "--print-page" || arg == "--print-dpi") {
            int x = 0, y = 0;
            char tail = 0;
            const int read = value(v) ? sscanf(v, "%dx%d%c", &x, &y, &tail) : 0;
            const bool page = arg == "--print-page";
            if (page ? read != 2 : read < 1 || read > 2) {
                error = page ? "--print-page needs a size such as 2400x3300"
                             : "--print-dpi needs a resolution such as 300 or 600x300";
                return false;
            }
            if (read == 1) y = x;
            const int low = page ? 1 : 10;
            const int high = page ? 100000 : 9600;
            if (x < low || y < low || x > high || y > high) {
                error = arg + " is out of range";
                return false;
            }
            (page ? options.printWidth : options.printDpiX) = x;
            (page ? options.printHeight : options.printDpiY) = y;
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
    options.commandLine = picture;
    return true;
}

}  // namespace platform
