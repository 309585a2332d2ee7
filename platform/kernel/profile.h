// Profile files (.ini): the parser of their untrusted bytes, the lookups the
// profile calls make, and the desktop's answers for the WIN.INI keys that no
// file holds.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/win/types.h"

namespace platform {

// At most this much of a profile file is read; the rest is ignored.
inline constexpr size_t kMaxProfileBytes = 1 << 20;
// Sections and keys past this many, together, are ignored.
inline constexpr size_t kMaxProfileItems = 1 << 16;

struct ProfileEntry {
    std::string key;
    std::string value;  // trimmed of blanks, surrounding quotes removed
};

struct ProfileSection {
    std::string name;
    std::vector<ProfileEntry> entries;
};

// At most this many lines with characters Windows-1252 lacks are noted.
inline constexpr size_t kMaxUnusableLines = 16;

struct ProfileFile {
    std::vector<ProfileSection> sections;
    // Numbers, from 1, of the UTF-8 lines that held a character Windows-1252
    // lacks: '?' stands in their values for it.
    std::vector<size_t> unusableLines;

    // The first value of key in the sections named section, both compared
    // ignoring case; nothing when no such key exists.
    std::optional<std::string_view> Find(std::string_view section, std::string_view key) const;
};

// Parses a profile file's bytes. Lines end at CR, LF or NUL; text with a UTF-8
// byte order mark, or valid UTF-8 without one, is converted to Windows-1252;
// with a UTF-16 little-endian mark it is decoded; any other is Windows-1252
// already. Lines starting with ';' are comments; keys
// before the first section, lines without '=' and section headers without
// ']' are ignored. Never fails: bad bytes only lose the lines they are in.
ProfileFile ParseProfile(std::string_view bytes);

// Reads at most kMaxProfileBytes of a regular file and parses them; nothing
// when the file cannot be opened or is not a regular file. Lines with
// characters Windows-1252 lacks are reported once each.
std::optional<ProfileFile> LoadProfile(const std::string& linuxPath);

// Copies value into a caller's buffer as GetPrivateProfileStringA does: cut to
// size - 1 characters, always terminated; returns the characters copied.
DWORD CopyProfileValue(std::string_view value, char* buffer, DWORD size);

// The number at the start of a value as GetPrivateProfileIntA reads it:
// blanks, a sign, then decimal digits or "0x" and hexadecimal ones; 0 when
// there is no digit. Overflow wraps to 32 bits.
UINT ParseProfileInt(std::string_view value);

// The Windows language code for a POSIX locale name ("fr_FR.UTF-8" gives
// "fra", "en_GB" "eng", "en_US" "enu"); nothing for "C" and "POSIX". A
// language the table does not know gives its own ISO 639 code.
std::optional<std::string> LanguageFromLocale(const char* locale);

// What the desktop says for a WIN.INI key: "intl" "sLanguage" from the first
// non-empty of LC_ALL, LC_MESSAGES and LANG, "enu" when none is set or it is
// "C", "C.UTF-8" or "POSIX"; "windows" "device" from the
// default CUPS destination as "NAME,winspool,CUPS". Nothing for other keys.
std::optional<std::string> DesktopProfileValue(std::string_view section, std::string_view key);

}  // namespace platform
