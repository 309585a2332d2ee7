#include "buildtools/respack/text_source.h"

#include <cstdio>
#include <optional>

namespace respack {

namespace {

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five that have no character.
constexpr char32_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

std::optional<uint8_t> ToWindows1252(char32_t c) {
    if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF) || c == '\n') {
        return static_cast<uint8_t>(c);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] != 0 && kHighControls[i] == c) {
            return static_cast<uint8_t>(0x80 + i);
        }
    }
    return std::nullopt;
}

// Decodes one UTF-8 sequence at `pos`, refusing overlong forms, surrogates and
// values past U+10FFFF.
std::optional<char32_t> DecodeUtf8(const std::vector<uint8_t>& text, size_t& pos, size_t end) {
    const uint8_t lead = text[pos];
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    // The lead byte gives the number of continuation bytes and the smallest
    // value that needs that many.
    int extra = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        extra = 1;
        minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        extra = 2;
        minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        extra = 3;
        minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    char32_t value = lead & (0x3F >> extra);
    if (end - pos <= static_cast<size_t>(extra)) {
        return std::nullopt;
    }
    for (int i = 1; i <= extra; ++i) {
        const uint8_t next = text[pos + i];
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += extra + 1;
    return value;
}

std::string Describe(char32_t c) {
    char text[16];
    std::snprintf(text, sizeof text, "U+%04X", static_cast<unsigned>(c));
    return text;
}

// Appends one line, converted, to the block; sets the error on failure.
[[nodiscard]] bool CompileLine(const std::vector<uint8_t>& source, size_t pos, size_t end,
                               std::vector<uint8_t>& block, std::string& error) {
    while (pos < end) {
        std::optional<char32_t> c = DecodeUtf8(source, pos, end);
        if (!c) {
            error = "invalid UTF-8";
            return false;
        }
        if (*c == '\\') {
            const char next = pos < end ? static_cast<char>(source[pos]) : '\0';
            if (next != 'n' && next != '\\') {
                error = "unknown escape (only \\n and \\\\ are known)";
                return false;
            }
            c = next == 'n' ? U'\n' : U'\\';
            ++pos;
        } else if (*c == '\n' || *c < 0x20 || *c == 0x7F) {
            error = "control character " + Describe(*c) + " (write a line break as \\n)";
            return false;
        }
        const std::optional<uint8_t> byte = ToWindows1252(*c);
        if (!byte) {
            error = Describe(*c) + " cannot be written in Windows-1252";
            return false;
        }
        block.push_back(*byte);
    }
    block.push_back(0);
    return true;
}

}  // namespace

bool CompileTextBlock(const std::vector<uint8_t>& source, std::vector<uint8_t>& block,
                      std::string& error) {
    block.clear();
    size_t start = 0;
    int line = 1;
    while (start < source.size()) {
        size_t end = start;
        while (end < source.size() && source[end] != '\n') {
            ++end;
        }
        std::string lineError;
        if (!CompileLine(source, start, end, block, lineError)) {
            error = "line " + std::to_string(line) + ": " + lineError;
            return false;
        }
        start = end + 1;
        ++line;
    }
    block.push_back(0x01);
    block.push_back(0);
    return true;
}

}  // namespace respack
