// The conversions at the edge between the desktop's UTF-8 and the program's
// Windows-1252.
#include "platform/kernel/codepage.h"

#include <gtest/gtest.h>

#include <string>

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

}  // namespace
}  // namespace platform
