// The page a printer context answers with, from what the print server says
// of its media and resolution: sound values give the printable area, absurd
// ones give nothing, so that the locale's paper takes over.
#include <gtest/gtest.h>
#include <stdlib.h>

#include <climits>
#include <optional>
#include <string>

#include "platform/print/printer.h"
#include "platform/windows.h"

namespace platform::print {
namespace {

TEST(PrintPage, MediaAndResolutionGiveThePrintableAreaAndAbsurdOnesNothing) {
    const struct {
        const char* what;
        Media media;
        int dpiX;
        int dpiY;
        int horzRes;  // 0: no page
        int vertRes;
    } cases[] = {
        {"A4 at 300 dpi", {21000, 29700, 0, 0, 0, 0}, 300, 300, 2480, 3507},
        {"Letter, quarter-inch margins, 600 dpi", {21590, 27940, 635, 635, 635, 635}, 600, 600,
         4800, 6300},
        {"pixels twice as wide as high", {21000, 29700, 0, 0, 0, 0}, 150, 300, 1240, 3507},
        {"a side of 1 mm", {100, 29700, 0, 0, 0, 0}, 300, 300, 11, 3507},
        {"no width", {0, 29700, 0, 0, 0, 0}, 300, 300, 0, 0},
        {"a side under 1 mm", {99, 29700, 0, 0, 0, 0}, 300, 300, 0, 0},
        {"a side over 2 m", {200001, 29700, 0, 0, 0, 0}, 300, 300, 0, 0},
        {"the largest length", {21000, INT_MAX, 0, 0, 0, 0}, 300, 300, 0, 0},
        {"a negative margin", {21000, 29700, -500, 0, 0, 0}, 300, 300, 0, 0},
        {"margins leaving nothing", {21000, 29700, 10500, 0, 10500, 0}, 300, 300, 0, 0},
        {"the largest margins", {21000, 29700, 0, INT_MAX, 0, INT_MAX}, 300, 300, 0, 0},
        {"no resolution", {21000, 29700, 0, 0, 0, 0}, 0, 0, 0, 0},
        {"a resolution past 9600 dpi", {21000, 29700, 0, 0, 0, 0}, 300, 9601, 0, 0},
        {"a negative resolution", {21000, 29700, 0, 0, 0, 0}, -300, 300, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        const std::optional<PageGeometry> page = PageFor(c.media, c.dpiX, c.dpiY);
        ASSERT_EQ(page.has_value(), c.horzRes != 0);
        if (!page) continue;
        EXPECT_EQ(page->horzRes, c.horzRes);
        EXPECT_EQ(page->vertRes, c.vertRes);
        EXPECT_EQ(DeviceCaps(*page, ASPECTX) * c.dpiX, DeviceCaps(*page, ASPECTY) * c.dpiY);
    }
}

TEST(PrintPage, TheLocaleChoosesLetterOrA4) {
    const char* const kNames[] = {"LC_ALL", "LC_PAPER", "LANG"};
    std::optional<std::string> saved[3];
    for (int i = 0; i < 3; ++i) {
        if (const char* value = getenv(kNames[i])) saved[i] = value;
    }
    const struct {
        const char* all;
        const char* paper;
        const char* lang;
        int width;
    } cases[] = {
        {nullptr, nullptr, nullptr, 21000},
        {nullptr, nullptr, "en_US.UTF-8", 21590},
        {nullptr, nullptr, "en_GB.UTF-8", 21000},
        {nullptr, "fr_CA.UTF-8", "fr_FR.UTF-8", 21590},
        {"de_DE.UTF-8", "en_US.UTF-8", "en_US.UTF-8", 21000},
        {"", nullptr, "es_MX", 21590},
        {nullptr, nullptr, "C", 21000},
        {nullptr, nullptr, "en_", 21000},
    };
    for (const auto& c : cases) {
        const char* values[] = {c.all, c.paper, c.lang};
        for (int i = 0; i < 3; ++i) {
            if (values[i] != nullptr) {
                setenv(kNames[i], values[i], 1);
            } else {
                unsetenv(kNames[i]);
            }
        }
        EXPECT_EQ(LocalePaper().width, c.width)
            << (c.all ? c.all : "-") << " " << (c.paper ? c.paper : "-") << " "
            << (c.lang ? c.lang : "-");
    }
    for (int i = 0; i < 3; ++i) {
        if (saved[i]) {
            setenv(kNames[i], saved[i]->c_str(), 1);
        } else {
            unsetenv(kNames[i]);
        }
    }
}

}  // namespace
}  // namespace platform::print
