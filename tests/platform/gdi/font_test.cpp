#include "platform/gdi/font.h"

#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <string>
#include <vector>

#include "platform/windows.h"
#include "tests/platform/kernel/kernel_test_folder.h"

namespace platform::gdi {
namespace {

const std::string kFonts = "/usr/share/fonts/truetype/dejavu/";
const char* const kSerif = "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSerif.ttf";
const char* const kSerifBold = "Z:\\usr\\share\\fonts\\truetype\\dejavu\\DejaVuSerif-Bold.ttf";

LOGFONTA Font(const char* face, int height, int weight = FW_NORMAL, bool italic = false) {
    LOGFONTA logFont{};
    logFont.lfHeight = height;
    logFont.lfWeight = weight;
    logFont.lfItalic = italic ? 1 : 0;
    std::strncpy(logFont.lfFaceName, face, LF_FACESIZE - 1);
    return logFont;
}

std::vector<uint8_t> FileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void WriteFile(const std::string& path, const std::vector<uint8_t>& bytes) {
    std::ofstream(path, std::ios::binary)
        .write(reinterpret_cast<const char*>(bytes.data()),
               static_cast<std::streamsize>(bytes.size()));
}

// The columns a glyph's ink covers in its top and bottom rows, relative to the pen.
std::pair<int, int> InkCentreTopAndBottom(const GlyphImage& glyph) {
    auto centre = [&](int row) {
        int sum = 0;
        int weight = 0;
        for (int x = 0; x < glyph.width; ++x) {
            sum += x * glyph.coverage[static_cast<size_t>(row * glyph.width + x)];
            weight += glyph.coverage[static_cast<size_t>(row * glyph.width + x)];
        }
        return weight == 0 ? 0 : glyph.left + sum / weight;
    };
    return {centre(0), centre(glyph.height - 1)};
}

class FontTest : public ::testing::Test {
protected:
    void SetUp() override { ResetFonts(); }
    void TearDown() override { ResetFonts(); }
};

TEST_F(FontTest, RegistersFontFilesAndRefusesBadOnes) {
    testing::KernelTestFolder folder;
    const std::string dir = folder.Root() + "/cd/";
    std::vector<uint8_t> serif = FileBytes(kFonts + "DejaVuSerif.ttf");
    ASSERT_GT(serif.size(), 1000u);
    std::vector<uint8_t> truncated(serif.begin(), serif.begin() + 600);
    std::vector<uint8_t> scrambled = serif;
    for (size_t i = 12; i < 400; ++i)
        scrambled[i] ^= 0x5A;  // the table directory
    WriteFile(dir + "truncated.ttf", truncated);
    WriteFile(dir + "scrambled.ttf", scrambled);
    WriteFile(dir + "empty.ttf", {});
    WriteFile(dir + "text.ttf", {'h', 'e', 'l', 'l', 'o'});
    const struct {
        std::string path;
        int faces;
        DWORD error;
    } cases[] = {
        {kSerif, 1, 0},
        {"Z:\\USR\\share\\FONTS\\truetype\\dejavu\\dejavusans-bold.TTF", 1, 0},
        {"D:\\missing.ttf", 0, ERROR_FILE_NOT_FOUND},
        {"D:\\truncated.ttf", 0, 13},
        {"D:\\scrambled.ttf", 0, 13},
        {"D:\\empty.ttf", 0, 13},
        {"D:\\text.ttf", 0, 13},
        {"", 0, ERROR_INVALID_PARAMETER},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.path);
        SetLastError(0);
        EXPECT_EQ(AddFontResourceA(c.path.c_str()), c.faces);
        if (c.faces == 0) {
            EXPECT_EQ(GetLastError(), c.error);
        }
    }
    // Each registration is one use; the last removal forgets the file.
    EXPECT_EQ(AddFontResourceA(kSerif), 1);
    EXPECT_TRUE(RemoveFontResourceA(kSerif));
    EXPECT_EQ(RealizeFont(Font("DejaVu Serif", 20))->FaceName(), "DejaVu Serif");
    EXPECT_TRUE(RemoveFontResourceA(kSerif));
    EXPECT_FALSE(RemoveFontResourceA(kSerif));
    EXPECT_FALSE(RemoveFontResourceA("D:\\missing.ttf"));
    EXPECT_EQ(RealizeFont(Font("DejaVu Serif", 20))->FaceName(), "DejaVu Sans");
}

TEST_F(FontTest, MapsFaceNamesThroughSubstitutesToTheDefaultFace) {
    testing::KernelTestFolder folder;
    std::ofstream(folder.Root() + "/config/win.ini")
        << "[FontSubstitutes]\r\nUnivers ATT=DejaVu Serif,0\r\nBlippo=Nowhere Sans\r\n";
    ASSERT_EQ(AddFontResourceA(kSerif), 1);
    ASSERT_EQ(AddFontResourceA(kSerifBold), 1);
    const struct {
        const char* asked;
        const char* face;
    } cases[] = {
        {"DejaVu Serif", "DejaVu Serif"},
        {"dejavu SERIF", "DejaVu Serif"},
        {"DejaVu Serif Bold", "DejaVu Serif"},  // the full name of the bold face
        {"Univers ATT", "DejaVu Serif"},
        {"Blippo", "DejaVu Sans"},  // a substitute that is missing too
        {"No Such Face", "DejaVu Sans"},
        {"", "DejaVu Sans"},
        {"DejaVu Sans", "DejaVu Sans"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        std::shared_ptr<FontInstance> font = RealizeFont(Font(c.asked, 24));
        EXPECT_EQ(font->FaceName(), c.face);
        EXPECT_GT(font->Glyph('A').coverage.size(), 0u);
    }
}

TEST_F(FontTest, HeightsFollowTheCellAndEmRules) {
    const struct {
        int asked;
        int cell;  // 0: more than the em
        int em;
    } cases[] = {{32, 32, 0}, {-32, 0, 32}, {1, 1, 0}, {0, 16, 0}, {-11, 0, 11}, {100, 100, 0}};
    for (const auto& c : cases) {
        SCOPED_TRACE(c.asked);
        const FontMetrics& m = RealizeFont(Font("DejaVu Sans", c.asked))->Metrics();
        EXPECT_EQ(m.height, m.ascent + m.descent);
        if (c.cell != 0) {
            EXPECT_EQ(m.height, c.cell);
        } else {
            EXPECT_GT(m.height, c.em);
            EXPECT_EQ(m.internalLeading, m.height - c.em);
        }
        EXPECT_GT(m.ascent, m.descent);
        EXPECT_GE(m.aveCharWidth, 1);
        EXPECT_LE(m.underlineOffset + m.underlineThickness, std::max(1, m.descent));
    }
    // A larger em draws larger letters.
    EXPECT_LT(RealizeFont(Font("DejaVu Sans", -20))->TextWidth("Hello"),
              RealizeFont(Font("DejaVu Sans", -40))->TextWidth("Hello"));
}

TEST_F(FontTest, SyntheticAndRealStyles) {
    ASSERT_EQ(AddFontResourceA(kSerif), 1);
    std::shared_ptr<FontInstance> regular = RealizeFont(Font("DejaVu Serif", 32));
    std::shared_ptr<FontInstance> fakeBold = RealizeFont(Font("DejaVu Serif", 32, FW_BOLD));
    std::shared_ptr<FontInstance> semibold = RealizeFont(Font("DejaVu Serif", 32, FW_SEMIBOLD));
    std::shared_ptr<FontInstance> medium = RealizeFont(Font("DejaVu Serif", 32, FW_MEDIUM));
    std::shared_ptr<FontInstance> italic = RealizeFont(Font("DejaVu Serif", 32, FW_NORMAL, true));
    const std::string text = "The quick brown fox";
    EXPECT_GT(fakeBold->TextWidth(text), regular->TextWidth(text));
    EXPECT_EQ(semibold.get(), fakeBold.get());
    EXPECT_EQ(medium.get(), regular.get());
    EXPECT_EQ(fakeBold->Metrics().weight, FW_BOLD);
    EXPECT_GT(fakeBold->Glyph('l').width, regular->Glyph('l').width);

    // Synthetic italics lean: the top of an 'l' sits right of its foot.
    const auto [uprightTop, uprightFoot] = InkCentreTopAndBottom(regular->Glyph('l'));
    const auto [slantedTop, slantedFoot] = InkCentreTopAndBottom(italic->Glyph('l'));
    EXPECT_NEAR(uprightTop, uprightFoot, 1);
    EXPECT_GE(slantedTop - slantedFoot, 3);

    // Registering the bold file replaces the synthetic bold by the real one.
    ASSERT_EQ(AddFontResourceA(kSerifBold), 1);
    std::shared_ptr<FontInstance> realBold = RealizeFont(Font("DejaVu Serif", 32, FW_BOLD));
    EXPECT_NE(realBold.get(), fakeBold.get());
    EXPECT_GT(realBold->TextWidth(text), regular->TextWidth(text));
    EXPECT_EQ(RealizeFont(Font("DejaVu Serif", 32)).get(), regular.get());
}

TEST_F(FontTest, GlyphsAreWindows1252AndCached) {
    std::shared_ptr<FontInstance> font = RealizeFont(Font("DejaVu Sans", 32));
    EXPECT_EQ(RealizeFont(Font("DejaVu Sans", 32)).get(), font.get());
    const GlyphImage& euro = font->Glyph(0x80);
    EXPECT_EQ(&font->Glyph(0x80), &euro);
    EXPECT_GT(euro.coverage.size(), 0u);
    // 0x80 is the euro sign and 0x81 has no character: they differ, while é
    // (0xE9) and e share their advance in this face.
    EXPECT_NE(euro.coverage, font->Glyph(0x81).coverage);
    EXPECT_EQ(font->Advance(0xE9), font->Advance('e'));
    EXPECT_GT(font->Glyph(0xE9).top, font->Glyph('e').top);  // the accent rises above
    EXPECT_EQ(font->Glyph(' ').coverage.size(), 0u);
    EXPECT_GT(font->Advance(' '), 0);
    EXPECT_EQ(font->TextWidth("ab"), font->Advance('a') + font->Advance('b'));

    // A face without a no-break space draws a space there, not a box.
    ASSERT_GT(AddFontResourceA("Z:\\usr\\share\\fonts\\opentype\\allerta\\allerta_stencil.otf"), 0);
    std::shared_ptr<FontInstance> stencil = RealizeFont(Font("Allerta", 24));
    EXPECT_EQ(stencil->Glyph(0xA0).coverage.size(), 0u);
    EXPECT_EQ(stencil->Advance(0xA0), stencil->Advance(' '));
}

}  // namespace
}  // namespace platform::gdi
