// The desktop's own folders: the parser of ~/.config/user-dirs.dirs, the
// file in which the desktop names the user's folders in the user's language
// ("~/Images" on a French desktop), and the pictures folder chosen from it.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace platform {

// At most this much of user-dirs.dirs is read.
inline constexpr size_t kMaxUserDirsBytes = 64 * 1024;

// The folder that user-dirs.dirs gives to name ("XDG_PICTURES_DIR"), read as
// the desktop's xdg-user-dir reads it: lines NAME="$HOME/..." or
// NAME="/absolute/path", backslash escaping the next character, '#' starting a
// comment, the last line for a name counting. Nothing when no line gives a
// usable value: a relative path, a missing closing quote, a NUL, or a path
// longer than 4096 bytes. The answer is a normalised Linux path.
std::optional<std::string> ParseUserDirs(std::string_view bytes, std::string_view name,
                                         const std::string& home);

// The user's pictures folder: XDG_PICTURES_DIR of user-dirs.dirs in
// $XDG_CONFIG_HOME (else ~/.config), then the XDG_PICTURES_DIR variable, then
// ~/Pictures; the first that Windows-1252 can spell. Nothing without a home.
std::optional<std::string> DesktopPicturesFolder();

}  // namespace platform
