// The real program driven through its script mode, for the end-to-end tests.
#pragma once

#include <unistd.h>
#include <sys/wait.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

namespace fs = std::filesystem;

// A private home, runtime folder and configuration for each run, so that runs
// in parallel never meet through the single-instance lock.
class ProgramRun {
public:
    ProgramRun() {
        char pattern[] = "/tmp/tavelin-e2e-XXXXXX";
        m_dir = mkdtemp(pattern);
        fs::create_directories(m_dir / "runtime");
        fs::create_directories(m_dir / "home");
    }
    ~ProgramRun() { fs::remove_all(m_dir); }

    fs::path Path(const std::string& name) const { return m_dir / name; }

    std::string Environment(const std::string& lang) const {
        return "env -i PATH=/usr/bin:/bin LANG=" + lang + " HOME=" + Path("home").string() +
               " XDG_RUNTIME_DIR=" + Path("runtime").string() + " ";
    }

    std::string Command(const std::string& script, const std::string& args, const std::string& lang) {
        std::ofstream(Path("script.txt")) << script;
        return Environment(lang) + TAVELIN_BINARY + " --headless --script " +
               Path("script.txt").string() + " --log " + Path("log.txt").string() + " " + args;
    }

    int Start(const std::string& script, const std::string& args = "",
              const std::string& lang = "en_GB.UTF-8") {
        const int status = std::system((Command(script, args, lang) + " 2>/dev/null").c_str());
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    // The script run in the workshop: "shot NAME" lines become screenshots
    // NAME.bmp in the run's folder.
    int StartInWorkshop(const std::string& script, const std::string& args = "",
                        const std::string& lang = "en_GB.UTF-8") {
        std::string expanded = "wait 300\nclick 320 240\nwait 300\n";
        size_t at = 0;
        while (at < script.size()) {
            size_t end = script.find('\n', at);
            if (end == std::string::npos) end = script.size();
            const std::string line = script.substr(at, end - at);
            expanded += line.rfind("shot ", 0) == 0 ? "screenshot " + ShotPath(line.substr(5)) : line;
            expanded += "\n";
            at = end + 1;
        }
        return Start(expanded, args, lang);
    }
    std::string ShotPath(const std::string& name) const { return Path(name + ".bmp").string(); }
    std::string Shot(const std::string& name) const;

    std::vector<std::string> Log() const {
        std::ifstream in(Path("log.txt"));
        std::vector<std::string> lines;
        for (std::string line; std::getline(in, line);) lines.push_back(line);
        return lines;
    }

private:
    fs::path m_dir;
};

// The pixel at (x, y) of a 640 x 480 24-bit screenshot, as 0xRRGGBB.
inline uint32_t PixelOf(const std::string& bmp, int x, int y) {
    const size_t at = 54 + (static_cast<size_t>(479 - y) * 640 + x) * 3;
    if (bmp.size() < at + 3) return 0xFFFFFFFF;
    return (static_cast<uint8_t>(bmp[at + 2]) << 16) | (static_cast<uint8_t>(bmp[at + 1]) << 8) |
           static_cast<uint8_t>(bmp[at]);
}

inline std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
}

inline bool Contains(const std::vector<std::string>& lines, const std::string& line) {
    return std::find(lines.begin(), lines.end(), line) != lines.end();
}

inline std::string ProgramRun::Shot(const std::string& name) const { return ReadBytes(ShotPath(name)); }

// The sounds a run's log played, without their folders: "Tink.WAV 3", "- 40".
inline std::vector<std::string> SoundNames(const std::vector<std::string>& log) {
    std::vector<std::string> names;
    for (const std::string& line : log) {
        if (line.rfind("sound ", 0) != 0) continue;
        const size_t slash = line.find_last_of('\\');
        names.push_back(slash == std::string::npos ? line.substr(6) : line.substr(slash + 1));
    }
    return names;
}

// How many of the names start with the prefix.
inline int CountStartingWith(const std::vector<std::string>& names, const std::string& prefix) {
    return static_cast<int>(std::count_if(names.begin(), names.end(),
                                          [&](const std::string& name) { return name.rfind(prefix, 0) == 0; }));
}

// A 24-bit 512 x 400 drawing file painted by the function, (0, 0) at the top left.
inline std::string DrawingFile(const std::function<uint32_t(int x, int y)>& colour) {
    std::string bmp(54 + 512 * 400 * 3, '\0');
    const uint32_t size = static_cast<uint32_t>(bmp.size());
    const uint32_t header[] = {size, 0, 54, 40, 512, 400, 0x180001, 0, size - 54, 2835, 2835, 0, 0};
    bmp[0] = 'B';
    bmp[1] = 'M';
    memcpy(&bmp[2], header, sizeof header);
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 512; ++x) {
            const uint32_t c = colour(x, y);
            const size_t at = 54 + (static_cast<size_t>(399 - y) * 512 + x) * 3;
            bmp[at] = static_cast<char>(c & 0xFF);
            bmp[at + 1] = static_cast<char>((c >> 8) & 0xFF);
            bmp[at + 2] = static_cast<char>((c >> 16) & 0xFF);
        }
    }
    return bmp;
}

// The pixel (x, y) of a 24-bit 512 x 400 drawing file as 0xRRGGBB, or
// 0xFFFFFFFF when the file is not such a drawing.
inline uint32_t DrawingPixel(const std::string& bmp, int x, int y) {
    uint32_t offset = 0;
    int32_t width = 0, height = 0;
    uint16_t bits = 0;
    if (bmp.size() < 54) return 0xFFFFFFFF;
    memcpy(&offset, &bmp[10], 4);
    memcpy(&width, &bmp[18], 4);
    memcpy(&height, &bmp[22], 4);
    memcpy(&bits, &bmp[28], 2);
    if (width != 512 || height != 400 || bits != 24) return 0xFFFFFFFF;
    const size_t at = offset + (static_cast<size_t>(399 - y) * 512 + x) * 3;
    if (bmp.size() < at + 3) return 0xFFFFFFFF;
    return (static_cast<uint8_t>(bmp[at + 2]) << 16) | (static_cast<uint8_t>(bmp[at + 1]) << 8) |
           static_cast<uint8_t>(bmp[at]);
}

}  // namespace e2e

using e2e::ProgramRun;
using e2e::PixelOf;
using e2e::ReadBytes;
using e2e::Contains;
using e2e::CountStartingWith;
using e2e::DrawingFile;
using e2e::DrawingPixel;
using e2e::SoundNames;
