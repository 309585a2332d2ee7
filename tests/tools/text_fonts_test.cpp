// The sixteen faces of the text tool, as the program makes them (through
// the profile's substitutes for the fonts shipped): in plain, bold, italic
// and underline, at 16 and 64 pixels, every letter of a French, German and
// Spanish sample is a glyph of the face itself, neither its missing-glyph box
// nor an empty cell.
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "graphics/text.h"
#include "shell/configuration.h"
#include "tests/dialogs/dialog_fixture.h"

namespace {

using dialog_testing::DialogTest;

// Windows-1252: "Ça été très drôle ! Größe ñ €", then the other letters and
// marks French, German and Spanish write: "àâäèêëîïùûüÿ áíóú ¿¡ «» ÀÉÜÑ".
const char kSample[] = "\xC7" "a \xE9t\xE9 tr\xE8s dr\xF4le ! Gr\xF6\xDF" "e \xF1 \x80"
                       " \xE0\xE2\xE4\xE8\xEA\xEB\xEE\xEF\xF9\xFB\xFC\xFF \xE1\xED\xF3\xFA \xBF\xA1 \xAB\xBB"
                       " \xC0\xC9\xDC\xD1";
// Undefined in Windows-1252: every face draws its missing-glyph box for it.
constexpr int kMissing = 0x81;
constexpr int kCell = 96;

class TextFontsTest : public DialogTest {
protected:
    // The pixels of one character drawn black on white in the cell.
    std::vector<uint32_t> Glyph(HDC dc, const uint32_t* bits, int character) {
        RECT cell{0, 0, kCell, kCell};
        FillRect(dc, &cell, static_cast<HBRUSH>(GetStockObject(WHITE_BRUSH)));
        const char text[1] = {static_cast<char>(character)};
        TextOutA(dc, 8, 8, text, 1);
        return std::vector<uint32_t>(bits, bits + kCell * kCell);
    }
};

TEST_F(TextFontsTest, EveryFaceDrawsItsOwnGlyphsForTheSample) {
    HDC dc = CreateCompatibleDC(nullptr);
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = kCell;
    info.bmiHeader.biHeight = -kCell;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP bitmap = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ASSERT_NE(bitmap, nullptr);
    const auto* pixels = static_cast<const uint32_t*>(bits);
    HGDIOBJ oldBitmap = SelectObject(dc, bitmap);
    SetBkMode(dc, TRANSPARENT);
    for (int face = 0; face < kFontCount; ++face) {
        for (int style : {0, kBold, kItalic, kUnderline}) {
            for (int height : {16, 64}) {
                SCOPED_TRACE(testing::Message() << kFontFaceNames[face] << " style " << style << " at " << height);
                HFONT font = CreateFontA(height, 0, 0, 0, (style & kBold) ? FW_BOLD : 0, (style & kItalic) != 0,
                                         (style & kUnderline) != 0, FALSE, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS,
                                         CLIP_DEFAULT_PRECIS, ANTIALIASED_QUALITY, DEFAULT_PITCH,
                                         kFontFaceNames[face]);
                ASSERT_NE(font, nullptr);
                HGDIOBJ oldFont = SelectObject(dc, font);
                char family[64] = {};
                GetTextFaceA(dc, sizeof family, family);
                EXPECT_STRNE(family, "DejaVu Sans");
                // A letter drawn as the box, or as nothing at all (what the
                // space draws, underline included), is missing from the face;
                // the dingbats draw pictures, and nothing where they have none.
                const bool pictures = std::strcmp(kFontFaceNames[face], "dingbats-Thin") == 0;
                const std::vector<uint32_t> box = Glyph(dc, pixels, kMissing);
                const std::vector<uint32_t> blank = Glyph(dc, pixels, ' ');
                std::string missing;
                for (const char* c = kSample; *c != 0; ++c) {
                    if (*c == ' ' || missing.find(*c) != std::string::npos) continue;
                    const std::vector<uint32_t> glyph = Glyph(dc, pixels, static_cast<unsigned char>(*c));
                    if (glyph == box || (glyph == blank && !pictures)) missing += *c;
                }
                EXPECT_EQ(missing, "");
                SelectObject(dc, oldFont);
                DeleteObject(font);
            }
        }
    }
    SelectObject(dc, oldBitmap);
    DeleteObject(bitmap);
    DeleteDC(dc);
}

}  // namespace
