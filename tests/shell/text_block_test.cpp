#include "shell/text_block.h"

#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

namespace {

using namespace std::string_literals;

struct Lookup {
    int length;
    std::string text;
};

// Looks a string up in a heap copy of exactly the block's size, so that the
// address sanitizer sees any read past its end.
Lookup Get(const std::string& block, int number, int size = 64) {
    std::unique_ptr<char[]> exact(new char[block.size()]);
    std::memcpy(exact.get(), block.data(), block.size());
    std::string buffer(static_cast<size_t>(size > 0 ? size : 1), '?');
    const int length = GetTextFromBlock(exact.get(), block.size(), number, buffer.data(), size);
    return {length, size > 0 ? std::string(buffer.c_str()) : buffer};
}

}  // namespace

TEST(TextBlock, CopiesNumberedStringsUpToTheEndString) {
    const std::string block = "One\0Two\0\0Four\0\x01\0Hidden\0"s;
    const struct {
        int number;
        int length;
        const char* text;
    } cases[] = {
        {0, 3, "One"}, {1, 3, "Two"}, {2, 0, ""},  {3, 4, "Four"},
        {4, 0, ""},    {5, 0, ""},    {-1, 0, ""},
    };
    for (const auto& c : cases) {
        const Lookup got = Get(block, c.number);
        EXPECT_EQ(got.length, c.length) << c.number;
        EXPECT_EQ(got.text, c.text) << c.number;
    }
    // Only the string made of 0x01 alone ends the block.
    EXPECT_EQ(Get("\x01x\0B\0\x01\0"s, 1).text, "B");
}

TEST(TextBlock, CutsToTheBufferButReturnsTheFullLength) {
    const std::string block = "Insufficient memory.\0\x01\0"s;
    EXPECT_EQ(Get(block, 0, 9).text, "Insuffic");
    EXPECT_EQ(Get(block, 0, 9).length, 20);
    EXPECT_EQ(Get(block, 0, 1).text, "");
    EXPECT_EQ(Get(block, 0, 21).text, "Insufficient memory.");
    const Lookup untouched = Get(block, 0, 0);
    EXPECT_EQ(untouched.length, 20);
    EXPECT_EQ(untouched.text, "?");
}

TEST(TextBlock, NeverReadsPastBlocksWithoutTheirEnd) {
    // No end string, no final NUL, a cut end string, an empty block.
    EXPECT_EQ(Get("One\0Two"s, 1).text, "Two");
    EXPECT_EQ(Get("One\0Two"s, 1).length, 3);
    EXPECT_EQ(Get("One\0Two"s, 2).length, 0);
    EXPECT_EQ(Get("One\0"s, 1).length, 0);
    EXPECT_EQ(Get("One\0\x01"s, 1).length, 0);
    EXPECT_EQ(Get("\x01"s, 0).length, 0);
    EXPECT_EQ(Get(""s, 0).length, 0);

    char buffer[8] = "stale";
    EXPECT_EQ(GetTextFromBlock(nullptr, 100, 0, buffer, sizeof buffer), 0);
    EXPECT_STREQ(buffer, "");
}
