#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace respack {

// Turns the UTF-8 source of a text block into the block: one string per line,
// "\n" in a line standing for a line break and "\\" for a backslash, each
// string converted to Windows-1252 and ended by NUL, then the end string made
// of the byte 0x01. On failure returns false with a message naming the line.
[[nodiscard]] bool CompileTextBlock(const std::vector<uint8_t>& source, std::vector<uint8_t>& block,
                                    std::string& error);

}  // namespace respack
