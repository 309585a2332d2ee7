// Windows-1252 and UTF-8 conversions for file names and profile text.
#include "platform/kernel/codepage.h"

#include <cstdint>

namespace platform {
namespace {

// Unicode code points of the bytes 0x80 to 0x9F; the unassigned ones map to
// the C1 control character of the same value.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

char32_t CodePointOf1252(unsigned char byte) {
    return byte >= 0x80 && byte < 0xA0 ? kHighControls[byte - 0x80] : byte;
}

namespace {

void AppendUtf8(std::string& out, uint32_t codePoint) {
    if (codePoint < 0x80) {
        out += static_cast<char>(codePoint);
    } else if (codePoint < 0x800) {
        out += static_cast<char>(0xC0 | (codePoint >> 6));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    } else {
        out += static_cast<char>(0xE0 | (codePoint >> 12));
        out += static_cast<char>(0x80 | ((codePoint >> 6) & 0x3F));
        out += static_cast<char>(0x80 | (codePoint & 0x3F));
    }
}

// Decodes one UTF-8 sequence at text[pos]; returns its length, or 0 when the
// bytes there are not a valid, shortest-form sequence.
size_t DecodeUtf8(std::string_view text, size_t pos, uint32_t& codePoint) {
    const auto lead = static_cast<uint8_t>(text[pos]);
    size_t length = 0;
    uint32_t minimum = 0;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2, codePoint = lead & 0x1F, minimum = 0x80;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3, codePoint = lead & 0x0F, minimum = 0x800;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4, codePoint = lead & 0x07, minimum = 0x10000;
    } else {
        return 0;
    }
    if (text.size() - pos < length) {
        return 0;
    }
    for (size_t i = 1; i < length; ++i) {
        const auto next = static_cast<uint8_t>(text[pos + i]);
        if ((next & 0xC0) != 0x80) {
            return 0;
        }
        codePoint = (codePoint << 6) | (next & 0x3F);
    }
    if (codePoint < minimum || codePoint > 0x10FFFF ||
        (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
        return 0;
    }
    return length;
}

}  // namespace

uint8_t Cp1252ByteOf(uint32_t codePoint) {
    if (codePoint < 0x80 || (codePoint >= 0xA0 && codePoint <= 0xFF)) {
        return static_cast<uint8_t>(codePoint);
    }
    for (int i = 0; i < 32; ++i) {
        if (kHighControls[i] == codePoint) {
            return static_cast<uint8_t>(0x80 + i);
        }
    }
    return 0;
}

uint32_t NextCodePoint(std::string_view text, size_t& pos) {
    if (pos >= text.size()) return 0;
    uint32_t codePoint = static_cast<uint8_t>(text[pos]);
    const size_t length = codePoint < 0x80 ? 1 : DecodeUtf8(text, pos, codePoint);
    if (length == 0) {
        ++pos;
        return 0;
    }
    pos += length;
    return codePoint;
}

std::string Cp1252ToUtf8(std::string_view text) {
    std::string out;
    out.reserve(text.size());
    for (char c : text) {
        const auto byte = static_cast<uint8_t>(c);
        if (byte < 0x80) {
            out += c;
        } else if (byte < 0xA0) {
            AppendUtf8(out, kHighControls[byte - 0x80]);
        } else {
            AppendUtf8(out, byte);
        }
    }
    return out;
}

std::string Utf8ToCp1252(std::string_view text, bool* lost) {
    std::string out;
    out.reserve(text.size());
    size_t pos = 0;
    while (pos < text.size()) {
        const auto byte = static_cast<uint8_t>(text[pos]);
        uint32_t codePoint = 0;
        const size_t length = byte < 0x80 ? 0 : DecodeUtf8(text, pos, codePoint);
        if (length == 0) {
            out += text[pos];
            ++pos;
        } else {
            const uint8_t converted = Cp1252ByteOf(codePoint);
            if (converted == 0 && lost != nullptr) {
                *lost = true;
            }
            out += converted != 0 ? static_cast<char>(converted) : '?';
            pos += length;
        }
    }
    return out;
}

bool IsValidUtf8(std::string_view text) {
    size_t pos = 0;
    while (pos < text.size()) {
        uint32_t codePoint = 0;
        const size_t length =
            static_cast<uint8_t>(text[pos]) < 0x80 ? 1 : DecodeUtf8(text, pos, codePoint);
        if (length == 0) {
            return false;
        }
        pos += length;
    }
    return true;
}

char FoldCase(char c) {
    const auto byte = static_cast<uint8_t>(c);
    if ((byte >= 'a' && byte <= 'z') || (byte >= 0xE0 && byte <= 0xFE && byte != 0xF7)) {
        return static_cast<char>(byte - 0x20);
    }
    switch (byte) {
        case 0x9A:  // s caron
        case 0x9C:  // oe ligature
        case 0x9E:  // z caron
            return static_cast<char>(byte - 0x10);
        case 0xFF:  // y diaeresis
            return static_cast<char>(0x9F);
        default:
            return c;
    }
}

bool EqualNoCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) {
        return false;
    }
    for (size_t i = 0; i < a.size(); ++i) {
        if (FoldCase(a[i]) != FoldCase(b[i])) {
            return false;
        }
    }
    return true;
}

std::string Utf16ToCp1252(std::string_view bytes, bool bigEndian) {
    std::string out;
    for (size_t i = 0; i + 1 < bytes.size(); i += 2) {
        const auto first = static_cast<uint8_t>(bytes[i]);
        const auto second = static_cast<uint8_t>(bytes[i + 1]);
        const uint32_t unit = bigEndian ? (first << 8) | second : first | (second << 8);
        const uint8_t byte = Cp1252ByteOf(unit);
        out += byte != 0 || unit == 0 ? static_cast<char>(byte) : '?';
    }
    return out;
}

}  // namespace platform
