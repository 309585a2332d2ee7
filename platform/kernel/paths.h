// Windows paths over the Linux file system: the drive table, the parsing of
// drive-letter paths and their case-insensitive resolution to Linux paths.
#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/types.h"

namespace platform {

// One lettered drive: the Linux folder that is its root (canonical, without a
// trailing '/' unless it is "/"), its Windows drive type and volume label.
struct Drive {
    char letter = 0;
    std::string root;
    UINT type = 0;
    std::string label;
};

// A place searched for labelled folders: its subfolders down to depth levels.
struct MediaRoot {
    std::string folder;
    int depth = 1;
};

inline constexpr char kDataDriveLetter = 'D';
inline constexpr char kRootDriveLetter = 'Z';
inline constexpr const char* kDataVolumeLabel = "PALMIRON";
inline constexpr const char* kLabelFileName = ".tavelin-label";

// The drives in letter order. Media folders are scanned the first time and
// again after RescanMediaDrives.
std::vector<Drive> CurrentDrives();
std::optional<Drive> FindDrive(char letter);
void RescanMediaDrives();

// /media and /run/media two levels deep, /mnt one level.
std::vector<MediaRoot> DefaultMediaRoots();

// Replaces the places searched for labelled folders (/media, /run/media and
// /mnt by default) and forces a rescan; tests point it at a temporary folder.
void SetMediaRoots(std::vector<MediaRoot> roots);

// Labelled folders under the roots, in path order, each with its label: a
// folder holding kLabelFileName (its first line, else kDataVolumeLabel), or a
// mount point whose volume label is kDataVolumeLabel.
std::vector<std::pair<std::string, std::string>> FindLabelledFolders(
    const std::vector<MediaRoot>& roots);

// The first line of a label file's bytes, trimmed and cut to 32 characters;
// kDataVolumeLabel when that leaves nothing.
std::string ParseVolumeLabel(std::string_view bytes);

// Linux folders and files behind the Windows places, from CurrentOptions()
// with their defaults filled in.
std::string ProgramFile();
std::string DataFolder();
std::string ConfigFolder();

// Makes a Linux path absolute against the current folder and removes ".",
// ".." and repeated separators without touching the disk.
std::string NormalizeLinuxPath(std::string_view path);

// A Windows path split into its drive and folder components, with "." and
// ".." already applied.
struct WindowsPath {
    char letter = 0;
    std::vector<std::string> components;
    std::string ToString() const;  // "D:\Datas\Sons"
};

// Parses an absolute, drive-relative, rooted or relative Windows path with
// either separator. Fails with ERROR_PATH_NOT_FOUND for an empty or network
// path and ERROR_INVALID_NAME for characters Windows refuses in names; the
// last component may hold '*' and '?' when wildcards are allowed.
[[nodiscard]] std::optional<WindowsPath> ParseWindowsPath(const char* path, bool allowWildcards,
                                                          DWORD& error);

struct ResolvedPath {
    std::string linuxPath;
    std::string windowsPath;  // normalized drive-letter form, as written
    bool exists = false;
    bool parentExists = false;  // the folder that would hold it exists
    UINT driveType = 0;         // DRIVE_FIXED or DRIVE_CDROM
};

// Maps a parsed path through the drive table, resolving each component that
// does not exist as written by a case-insensitive match. Fails with
// ERROR_PATH_NOT_FOUND for a drive that is not in the table.
[[nodiscard]] std::optional<ResolvedPath> Resolve(const WindowsPath& path, DWORD& error);

// ParseWindowsPath (no wildcards) then Resolve.
[[nodiscard]] std::optional<ResolvedPath> ResolvePath(const char* path, DWORD& error);

// The Linux path of a Windows path; empty when it cannot be mapped.
std::string ToLinuxPath(const char* windowsPath);

// The drive-letter form of a Linux path: the drive with the longest matching
// root, names converted to Windows-1252. A name with a character that
// Windows-1252 lacks is reported, and '?' stands for the character.
std::string ToWindowsPath(const std::string& linuxPath);

// Says once for each name, on the error output and in the run's log, that a
// desktop name (a file, a folder, an argument, a line of a profile file)
// holds a character Windows-1252 lacks, so that the program cannot use it.
void ReportUnusableName(const std::string& what);

// Copies text and a terminating NUL into a caller's buffer of size bytes, as
// the Windows getters do: returns the length copied, or the size needed with
// the NUL when the buffer is too small (the buffer is then left alone).
DWORD CopyPathOut(const std::string& text, char* buffer, DWORD size);

}  // namespace platform
