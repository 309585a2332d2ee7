// respack: compiles a resource manifest into a resource pack, and optionally
// into a C++ source that embeds the pack in an executable.
//
//   respack [--pack FILE] [--source FILE] [--depfile FILE] [--search DIR]... MANIFEST
//
// The manifest has one resource a line, "TYPE ID FILE"; see resources/README.md.
#include <algorithm>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "platform/kernel/resource_pack.h"
#include "buildtools/respack/dialog_source.h"
#include "buildtools/respack/text_source.h"

namespace {

constexpr uint16_t kTextType = 32002;
constexpr uint16_t kBitmapType = 2;
constexpr uint16_t kDialogType = 5;
constexpr size_t kBitmapFileHeaderSize = 14;
constexpr size_t kMaxInputSize = size_t{64} << 20;

const std::map<std::string, uint16_t> kTypeNames = {
    {"CURSOR", 1},  {"BITMAP", 2},        {"ICON", 3},        {"MENU", 4},         {"DIALOG", 5},
    {"RCDATA", 10}, {"GROUP_CURSOR", 12}, {"GROUP_ICON", 14}, {"TEXT", kTextType},
};

struct Options {
    std::string manifest;
    std::string packPath;
    std::string sourcePath;
    std::string depfilePath;
    std::vector<std::string> searchDirs;
};

[[nodiscard]] bool ReadFile(const std::string& path, std::vector<uint8_t>& bytes) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    if (size < 0 || static_cast<uint64_t>(size) > kMaxInputSize) {
        return false;
    }
    in.seekg(0);
    bytes.resize(static_cast<size_t>(size));
    return static_cast<bool>(in.read(reinterpret_cast<char*>(bytes.data()), size));
}

[[nodiscard]] bool WriteFile(const std::string& path, const std::string& text) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << text;
    return static_cast<bool>(out.flush());
}

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? std::string(".") : path.substr(0, slash);
}

std::optional<uint16_t> ParseNumber(const std::string& text) {
    if (text.empty() || text.size() > 5 ||
        !std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        return std::nullopt;
    }
    const unsigned long value = std::stoul(text);
    if (value == 0 || value > 0xffff) {
        return std::nullopt;
    }
    return static_cast<uint16_t>(value);
}

// The resource's bytes as the pack holds them: text blocks compiled, bitmaps
// without their file header, everything else as it is.
[[nodiscard]] bool PrepareData(uint16_t type, std::vector<uint8_t>& bytes, std::string& error) {
    if (type == kTextType) {
        std::vector<uint8_t> block;
        if (!respack::CompileTextBlock(bytes, block, error)) {
            return false;
        }
        bytes = std::move(block);
    } else if (type == kBitmapType) {
        if (bytes.size() < kBitmapFileHeaderSize || bytes[0] != 'B' || bytes[1] != 'M') {
            error = "not a BMP file";
            return false;
        }
        bytes.erase(bytes.begin(), bytes.begin() + kBitmapFileHeaderSize);
    }
    return true;
}

std::string FindInput(const Options& options, const std::string& name) {
    if (!name.empty() && name[0] == '/') {
        return name;
    }
    std::vector<std::string> dirs = {DirectoryOf(options.manifest)};
    dirs.insert(dirs.end(), options.searchDirs.begin(), options.searchDirs.end());
    for (const std::string& dir : dirs) {
        const std::string path = dir + "/" + name;
        if (std::ifstream(path).good()) {
            return path;
        }
    }
    return dirs.front() + "/" + name;
}

// Reads one manifest line into an item; false with a message on a bad line.
[[nodiscard]] bool ParseLine(const Options& options, const std::string& line,
                             std::vector<platform::PackItem>& items,
                             std::vector<std::string>& inputs, std::string& error) {
    std::istringstream fields(line);
    std::string typeText, idText, name, extra;
    if (!(fields >> typeText >> idText >> name) || (fields >> extra)) {
        error = "expected \"TYPE ID FILE\"";
        return false;
    }
    const auto named = kTypeNames.find(typeText);
    const std::optional<uint16_t> type =
        named != kTypeNames.end() ? std::optional<uint16_t>(named->second) : ParseNumber(typeText);
    const std::optional<uint16_t> id = ParseNumber(idText);
    if (!type || !id) {
        error = !type ? "unknown type " + typeText : "bad id " + idText + " (1 to 65535)";
        return false;
    }
    const std::string path = FindInput(options, name);
    inputs.push_back(path);
    platform::PackItem item{*type, *id, {}};
    if (!ReadFile(path, item.bytes)) {
        error = "cannot read " + path;
        return false;
    }
    if (*type == kDialogType) {
        // A dialog is compiled from its block of a dialog source, whose
        // messages name their own file and line.
        std::vector<uint8_t> compiled;
        if (!respack::CompileDialog(item.bytes, path, *id, compiled, error)) {
            return false;
        }
        item.bytes = std::move(compiled);
    } else if (!PrepareData(*type, item.bytes, error)) {
        error = path + ": " + error;
        return false;
    }
    items.push_back(std::move(item));
    return true;
}

std::string EmbeddingSource(const std::vector<uint8_t>& pack, const std::string& manifest) {
    std::string out =
        "// Made by respack from " + manifest + "; edit the manifest, not this file.\n";
    out += "#include <cstddef>\n\nnamespace platform::embedded {\n\n";
    out += "extern const unsigned char kTavelinPack[];\nextern const size_t kTavelinPackSize;\n\n";
    // One more byte than the pack for the string literal's final NUL.
    out += "alignas(8) const unsigned char kTavelinPack[" + std::to_string(pack.size() + 1) + "] =";
    for (size_t i = 0; i < pack.size(); ++i) {
        if (i % 64 == 0) {
            out += "\n    \"";
        }
        const uint8_t byte = pack[i];
        // A question mark is escaped too, so that no "??x" reads as a trigraph.
        if (byte >= 0x20 && byte < 0x7F && byte != '"' && byte != '\\' && byte != '?') {
            out += static_cast<char>(byte);
        } else {
            char escape[8];
            std::snprintf(escape, sizeof escape, "\\%03o", byte);
            out += escape;
        }
        if (i % 64 == 63 || i + 1 == pack.size()) {
            out += '"';
        }
    }
    out += pack.empty() ? " \"\";\n" : ";\n";
    out += "const size_t kTavelinPackSize = " + std::to_string(pack.size()) + ";\n\n";
    out += "}  // namespace platform::embedded\n";
    return out;
}

std::string Depfile(const std::string& target, const std::vector<std::string>& inputs) {
    auto escape = [](const std::string& path) {
        std::string out;
        for (char c : path) {
            if (c == ' ' || c == '#') {
                out += '\\';
            } else if (c == '$') {
                out += '$';
            }
            out += c;
        }
        return out;
    };
    std::string out = escape(target) + ":";
    for (const std::string& input : inputs) {
        out += " \\\n  " + escape(input);
    }
    return out + "\n";
}

[[nodiscard]] bool ParseArguments(int argc, char** argv, Options& options) {
    for (int i = 1; i < argc; ++i) {
        const std::string argument = argv[i];
        std::string* value = argument == "--pack"      ? &options.packPath
                             : argument == "--source"  ? &options.sourcePath
                             : argument == "--depfile" ? &options.depfilePath
                                                       : nullptr;
        if (argument == "--search" && i + 1 < argc) {
            options.searchDirs.push_back(argv[++i]);
        } else if (value != nullptr && i + 1 < argc) {
            *value = argv[++i];
        } else if (argument.rfind("--", 0) != 0 && options.manifest.empty()) {
            options.manifest = argument;
        } else {
            return false;
        }
    }
    return !options.manifest.empty() && (!options.packPath.empty() || !options.sourcePath.empty());
}

[[nodiscard]] bool ReadManifest(const Options& options, std::vector<platform::PackItem>& items,
                                std::vector<std::string>& inputs) {
    std::ifstream in(options.manifest);
    if (!in) {
        std::fprintf(stderr, "respack: cannot read %s\n", options.manifest.c_str());
        return false;
    }
    std::map<uint32_t, int> seen;
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        const size_t first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') {
            continue;
        }
        std::string error;
        if (!ParseLine(options, line, items, inputs, error)) {
            std::fprintf(stderr, "%s:%d: %s\n", options.manifest.c_str(), number, error.c_str());
            return false;
        }
        const uint32_t key = (uint32_t{items.back().type} << 16) | items.back().id;
        if (!seen.emplace(key, number).second) {
            std::fprintf(stderr, "%s:%d: %s %u appears twice (first on line %d)\n",
                         options.manifest.c_str(), number,
                         line.substr(first, line.find_first_of(" \t", first) - first).c_str(),
                         static_cast<unsigned>(items.back().id), seen[key]);
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    if (!ParseArguments(argc, argv, options)) {
        std::fprintf(stderr,
                     "usage: respack [--pack FILE] [--source FILE] [--depfile FILE] "
                     "[--search DIR]... MANIFEST\n");
        return 2;
    }
    std::vector<platform::PackItem> items;
    std::vector<std::string> inputs = {options.manifest};
    if (!ReadManifest(options, items, inputs)) {
        return 1;
    }
    std::vector<uint8_t> pack;
    if (!platform::BuildPack(std::move(items), pack)) {
        std::fprintf(stderr, "%s: a type and id appear twice, or the pack exceeds 4 GiB\n",
                     options.manifest.c_str());
        return 1;
    }
    platform::PackView check;
    if (check.Open(pack.data(), pack.size()) != platform::PackError::None) {
        std::fprintf(stderr, "respack: internal error: the pack made is invalid\n");
        return 1;
    }
    const std::string packText(pack.begin(), pack.end());
    const std::string& firstOutput =
        options.packPath.empty() ? options.sourcePath : options.packPath;
    if ((!options.packPath.empty() && !WriteFile(options.packPath, packText)) ||
        (!options.sourcePath.empty() &&
         !WriteFile(options.sourcePath, EmbeddingSource(pack, options.manifest))) ||
        (!options.depfilePath.empty() &&
         !WriteFile(options.depfilePath, Depfile(firstOutput, inputs)))) {
        std::fprintf(stderr, "respack: cannot write the outputs\n");
        return 1;
    }
    return 0;
}
