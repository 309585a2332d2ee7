// The conversions at the edge between the desktop's UTF-8 and the program's
// Windows-1252.
#include "platform/kernel/codepage.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace platform {
namespace {

TEST(KernelCodepage, Utf8ToCp1252SaysWhatItCannotSpell) {
    const struct {
        std::string utf8;
        std::string cp1252;
        bool lost;
    } cases[] = {
        {"dessin", "dessin", false},
        {"\xC3\xA9t\xC3\xA9", "\xE9t\xE9", false},                // été
        {"\xE2\x82\xAC \xC5\x93", "\x80 \x9C", false},            // € œ
        {"\xE6\x97\xA5.bmp", "?.bmp", true},                      // a CJK character
        {"\xC5\x90", "?", true},                                  // O double acute
        {"\xF0\x9F\x98\x80", "?", true},                          // an emoji
        {"a?b", "a?b", false},                                    // a real question mark
        {"\xE9t\xE9", "\xE9t\xE9", false},                        // already Windows-1252
        {"\xC0\x80", "\xC0\x80", false},                          // overlong: bytes as they are
    };
    for (const auto& c : cases) {
        bool lost = false;
        EXPECT_EQ(Utf8ToCp1252(c.utf8, &lost), c.cp1252) << c.utf8;
        EXPECT_EQ(lost, c.lost) << c.utf8;
    }
}

TEST(KernelCodepage, ValidUtf8IsTellingFromWindows1252) {
    const struct {
        std::string text;
        bool valid;
    } cases[] = {
        {"", true},
        {"plain", true},
        {"\xC3\xA9t\xC3\xA9", true},
        {"\xF0\x9F\x98\x80", true},
        {"\xE9t\xE9", false},          // Windows-1252 accents
        {"\xC3", false},               // cut short
        {"\xE2\x82", false},           // cut short
        {"\x80", false},               // a lone continuation byte
        {"\xC0\xAF", false},           // overlong
        {"\xED\xA0\x80", false},       // a surrogate
        {"\xF4\x90\x80\x80", false},   // past U+10FFFF
        {"\xC3\xA9\xE9", false},       // mixed
    };
    for (const auto& c : cases) EXPECT_EQ(IsValidUtf8(c.text), c.valid) << c.text;
}

// Typed text, a character at a time: a malformed byte is passed over and the
// characters around it still come, each with its Windows-1252 byte or 0.
TEST(KernelCodepage, TypedTextComesACharacterAtATime) {
    const std::string text = "z\xC3\xA9\xA9\xE2\x82\xAC\xCE\xB1\xC0\xA9\xF0\x9F\x98\x80\xC3";
    std::vector<uint32_t> codePoints;
    std::string bytes;
    for (size_t pos = 0; pos < text.size();) {
        codePoints.push_back(NextCodePoint(text, pos));
        bytes += static_cast<char>(Cp1252ByteOf(codePoints.back()));
    }
    EXPECT_EQ(codePoints, (std::vector<uint32_t>{'z', 0xE9, 0, 0x20AC, 0x3B1, 0, 0, 0x1F600, 0}));
    EXPECT_EQ(bytes, std::string("z\xE9\0\x80\0\0\0\0\0", 9));
    size_t end = text.size();
    EXPECT_EQ(NextCodePoint(text, end), 0u);
    EXPECT_EQ(end, text.size());
    // Every byte comes back through its code point.
    for (int byte = 1; byte < 256; ++byte) EXPECT_EQ(Cp1252ByteOf(CodePointOf1252(static_cast<uint8_t>(byte))), byte);
}

}  // namespace
}  // namespace platform
