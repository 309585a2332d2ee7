#include "platform/user/box_text.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using platform::user::BoxText;

// A long file name in a message has no space to break at: it is cut between
// characters, every line fits, and nothing is lost.
TEST(BoxText, WrapsWordsAndCutsOnesWiderThanALine) {
    BoxText text;
    text.Open(16);
    const std::string longName = "Can't write the file " + std::string(250, '\xE9') + ".BMP";
    struct Case {
        std::string text;
        size_t minLines;
    };
    const Case cases[] = {
        {longName, 3},
        {"short words only", 1},
        {std::string(40, 'W') + "\nnext", 2},
    };
    for (const Case& c : cases) {
        const std::vector<std::string> lines = text.Wrap(c.text, 300);
        EXPECT_GE(lines.size(), c.minLines) << c.text;
        std::string joined;
        for (const std::string& line : lines) {
            EXPECT_LE(text.Width(line), 300) << line;
            joined += line;
        }
        std::string expected = c.text;
        std::erase(expected, '\n');
        std::erase(expected, ' ');
        std::erase(joined, ' ');
        EXPECT_EQ(joined, expected);
    }
}

}  // namespace
