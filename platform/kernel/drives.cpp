// The drive table: Z: for the Linux root, D: for the data folder shown as the
// program's CD, and further CD drives for labelled folders under the media
// mount places. Also the Linux folders behind the Windows places.
#include <dirent.h>
#include <limits.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstdio>
#include <mutex>

#include "platform/kernel/codepage.h"
#include "platform/kernel/files.h"
#include "platform/kernel/paths.h"
#include "platform/options.h"
#include "platform/win/kernel.h"

namespace platform {
namespace {

constexpr size_t kMaxLabelLength = 32;
constexpr size_t kMaxEntriesPerFolder = 256;
constexpr size_t kMaxMountsBytes = 1 << 20;

struct DriveState {
    std::mutex mutex;
    std::vector<MediaRoot> mediaRoots = DefaultMediaRoots();
    bool mediaScanned = false;
    std::vector<std::pair<std::string, std::string>> media;
};

DriveState& State() {
    static DriveState state;
    return state;
}

bool IsDirectory(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

std::string Canonical(const std::string& path) {
    char buffer[PATH_MAX];
    if (realpath(path.c_str(), buffer) != nullptr) {
        return buffer;
    }
    return NormalizeLinuxPath(path);
}

std::string ParentFolder(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return ".";
    }
    return slash == 0 ? "/" : path.substr(0, slash);
}

bool IsOctal(char c) {
    return c >= '0' && c <= '7';
}

// Undoes the octal escapes of /proc/self/mounts ("\040" for a space).
std::string UnescapeMountField(std::string_view field) {
    std::string out;
    for (size_t i = 0; i < field.size(); ++i) {
        if (field[i] == '\\' && field.size() - i >= 4 && IsOctal(field[i + 1]) &&
            IsOctal(field[i + 2]) && IsOctal(field[i + 3])) {
            out += static_cast<char>(((field[i + 1] - '0') << 6) | ((field[i + 2] - '0') << 3) |
                                     (field[i + 3] - '0'));
            i += 3;
        } else {
            out += field[i];
        }
    }
    return out;
}

// Undoes the "\x20" escapes of the names in /dev/disk/by-label.
std::string UnescapeLabelName(std::string_view name) {
    std::string out;
    for (size_t i = 0; i < name.size(); ++i) {
        if (name[i] == '\\' && name.size() - i >= 4 && name[i + 1] == 'x' &&
            isxdigit(static_cast<unsigned char>(name[i + 2])) &&
            isxdigit(static_cast<unsigned char>(name[i + 3]))) {
            out += static_cast<char>(std::strtol(std::string(name.substr(i + 2, 2)).c_str(),
                                                 nullptr, 16));
            i += 3;
        } else {
            out += name[i];
        }
    }
    return out;
}

using MountTable = std::vector<std::pair<std::string, std::string>>;

// The mount points of /proc/self/mounts with the devices mounted on them.
MountTable ReadMounts() {
    MountTable mounts;
    const auto text = ReadRegularFile("/proc/self/mounts", kMaxMountsBytes);
    if (!text) {
        return mounts;
    }
    size_t start = 0;
    while (start < text->size()) {
        size_t end = text->find('\n', start);
        if (end == std::string::npos) {
            end = text->size();
        }
        const std::string_view line(text->data() + start, end - start);
        start = end + 1;
        const size_t firstSpace = line.find(' ');
        const size_t secondSpace = line.find(' ', firstSpace + 1);
        if (firstSpace == std::string_view::npos || secondSpace == std::string_view::npos) {
            continue;
        }
        const std::string source = UnescapeMountField(line.substr(0, firstSpace));
        if (source.rfind("/dev/", 0) == 0) {
            mounts.emplace_back(
                UnescapeMountField(line.substr(firstSpace + 1, secondSpace - firstSpace - 1)),
                source);
        }
    }
    return mounts;
}

// The volume label of the device mounted on folder, when there is one.
std::optional<std::string> MountLabel(const MountTable& mounts, const std::string& folder) {
    std::string device;
    for (const auto& [target, source] : mounts) {
        if (target == folder) {
            device = Canonical(source);
        }
    }
    if (device.empty()) {
        return std::nullopt;
    }
    DIR* labels = opendir("/dev/disk/by-label");
    if (labels == nullptr) {
        return std::nullopt;
    }
    std::optional<std::string> label;
    while (const dirent* entry = readdir(labels)) {
        const std::string name = entry->d_name;
        if (name != "." && name != ".." && Canonical("/dev/disk/by-label/" + name) == device) {
            label = UnescapeLabelName(name);
            break;
        }
    }
    closedir(labels);
    return label;
}

// Subfolders of folder down to depth levels, sorted, hidden ones left out.
void CollectFolders(const std::string& folder, int depth, std::vector<std::string>& out) {
    if (depth <= 0) {
        return;
    }
    DIR* dir = opendir(folder.c_str());
    if (dir == nullptr) {
        return;
    }
    std::vector<std::string> children;
    while (const dirent* entry = readdir(dir)) {
        if (entry->d_name[0] == '.' || children.size() >= kMaxEntriesPerFolder) {
            continue;
        }
        const std::string child = (folder == "/" ? "" : folder) + "/" + entry->d_name;
        if (IsDirectory(child)) {
            children.push_back(child);
        }
    }
    closedir(dir);
    std::sort(children.begin(), children.end());
    for (const std::string& child : children) {
        out.push_back(child);
        CollectFolders(child, depth - 1, out);
    }
}

std::string DataFolderFor(const Options& options) {
    if (!options.dataDir.empty()) {
        return Canonical(options.dataDir);
    }
    const std::string program = ProgramFile();
    if (program.empty()) {
        return "/nonexistent/share/tavelin/cd";
    }
    return Canonical(ParentFolder(program) + "/../../share/tavelin/cd");
}

}  // namespace

std::string ParseVolumeLabel(std::string_view bytes) {
    const size_t end = bytes.find_first_of(std::string_view("\r\n\0", 3));
    std::string_view line = bytes.substr(0, end);
    while (!line.empty() && (line.front() == ' ' || line.front() == '\t')) {
        line.remove_prefix(1);
    }
    while (!line.empty() && (line.back() == ' ' || line.back() == '\t')) {
        line.remove_suffix(1);
    }
    if (line.empty()) {
        return kDataVolumeLabel;
    }
    return Utf8ToCp1252(line.substr(0, kMaxLabelLength)).substr(0, kMaxLabelLength);
}

std::vector<MediaRoot> DefaultMediaRoots() {
    return {{"/media", 2}, {"/run/media", 2}, {"/mnt", 1}};
}

std::vector<std::pair<std::string, std::string>> FindLabelledFolders(
    const std::vector<MediaRoot>& roots) {
    std::vector<std::pair<std::string, std::string>> found;
    const MountTable mounts = ReadMounts();
    for (const MediaRoot& root : roots) {
        std::vector<std::string> folders;
        CollectFolders(root.folder, root.depth, folders);
        for (const std::string& folder : folders) {
            const std::string canonical = Canonical(folder);
            const bool known = std::any_of(found.begin(), found.end(),
                                           [&](const auto& f) { return f.first == canonical; });
            if (known) {
                continue;
            }
            if (const auto bytes = ReadRegularFile(folder + "/" + kLabelFileName, 256)) {
                found.emplace_back(canonical, ParseVolumeLabel(*bytes));
            } else if (const auto label = MountLabel(mounts, canonical);
                       label && EqualNoCase(*label, kDataVolumeLabel)) {
                found.emplace_back(canonical, kDataVolumeLabel);
            }
        }
    }
    return found;
}

std::string ProgramFile() {
    const std::string& program = CurrentOptions().programPath;
    if (!program.empty()) {
        return NormalizeLinuxPath(program);
    }
    char buffer[PATH_MAX];
    const ssize_t length = readlink("/proc/self/exe", buffer, sizeof buffer - 1);
    return length > 0 ? std::string(buffer, static_cast<size_t>(length)) : std::string();
}

std::string DataFolder() {
    return DataFolderFor(CurrentOptions());
}

std::string ConfigFolder() {
    const std::string& configured = CurrentOptions().configDir;
    if (!configured.empty()) {
        return NormalizeLinuxPath(configured);
    }
    const char* xdg = getenv("XDG_CONFIG_HOME");
    if (xdg != nullptr && xdg[0] == '/') {
        return NormalizeLinuxPath(std::string(xdg) + "/tavelin");
    }
    const char* home = getenv("HOME");
    return NormalizeLinuxPath(std::string(home != nullptr ? home : "/") + "/.config/tavelin");
}

std::vector<Drive> CurrentDrives() {
    std::vector<Drive> drives;
    const std::string data = DataFolder();
    drives.push_back({kDataDriveLetter, data, DRIVE_CDROM, kDataVolumeLabel});
    DriveState& state = State();
    std::lock_guard lock(state.mutex);
    if (!state.mediaScanned) {
        state.media = FindLabelledFolders(state.mediaRoots);
        state.mediaScanned = true;
    }
    char letter = 'E';
    for (const auto& [folder, label] : state.media) {
        if (letter >= kRootDriveLetter) {
            break;
        }
        if (folder != data) {
            drives.push_back({letter++, folder, DRIVE_CDROM, label});
        }
    }
    drives.push_back({kRootDriveLetter, "/", DRIVE_FIXED, ""});
    return drives;
}

std::optional<Drive> FindDrive(char letter) {
    letter = FoldCase(letter);
    if (letter == kRootDriveLetter) {
        return Drive{kRootDriveLetter, "/", DRIVE_FIXED, ""};
    }
    if (letter == kDataDriveLetter) {
        return Drive{kDataDriveLetter, DataFolder(), DRIVE_CDROM, kDataVolumeLabel};
    }
    for (Drive& drive : CurrentDrives()) {
        if (drive.letter == letter) {
            return std::move(drive);
        }
    }
    return std::nullopt;
}

void RescanMediaDrives() {
    DriveState& state = State();
    std::lock_guard lock(state.mutex);
    state.mediaScanned = false;
}

void SetMediaRoots(std::vector<MediaRoot> roots) {
    DriveState& state = State();
    std::lock_guard lock(state.mutex);
    state.mediaRoots = std::move(roots);
    state.mediaScanned = false;
}

}  // namespace platform
