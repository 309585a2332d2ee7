// Conversions between the Windows-1252 names the program uses and the UTF-8
// names on a Linux file system, and the Windows-1252 case folding that Windows
// applies when it compares file, section and key names.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>

namespace platform {

// Every byte has a meaning in Windows-1252, so this never fails; the five
// unassigned bytes become the C1 control characters of the same value.
// The Unicode code point of a Windows-1252 byte.
char32_t CodePointOf1252(unsigned char byte);

std::string Cp1252ToUtf8(std::string_view text);

// The code point of the UTF-8 sequence at text[pos], moving pos past it; 0 at
// the end, and 0 with pos moved one byte on where no valid sequence starts.
uint32_t NextCodePoint(std::string_view text, size_t& pos);

// The Windows-1252 byte of a code point; 0 when the code page lacks it.
uint8_t Cp1252ByteOf(uint32_t codePoint);

// Characters that Windows-1252 lacks become '?' and set *lost when it is
// given. A byte that does not start a valid UTF-8 sequence is taken as a
// Windows-1252 byte of its own.
std::string Utf8ToCp1252(std::string_view text, bool* lost = nullptr);

// True when the whole text is valid, shortest-form UTF-8 (plain ASCII is).
bool IsValidUtf8(std::string_view text);

// UTF-16 text of either byte order as Windows-1252; what the code page cannot
// hold, surrogates included, becomes '?', and a lone byte at the end is lost.
std::string Utf16ToCp1252(std::string_view bytes, bool bigEndian);

// Upper case of one Windows-1252 character, as Windows compares names.
char FoldCase(char c);

// True when a and b are equal ignoring Windows-1252 case.
bool EqualNoCase(std::string_view a, std::string_view b);

}  // namespace platform
