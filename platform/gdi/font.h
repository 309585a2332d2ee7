// Fonts and text: TrueType and OpenType files drawn through FreeType, as GDI's
// font mapper, rasteriser and text calls present them to the program.
//
// Implements AddFontResourceA and RemoveFontResourceA (a file registers the
// family name and the full name of each of its faces), CreateFontA and
// CreateFontIndirectA with Windows' height rules (positive: the cell height,
// ascent plus descent from the OS/2 table's Windows metrics; negative: the em
// size; zero: a 16-pixel cell), bold from weight 600 up, italic, underline,
// strike-out, synthetic bold and italic when a family lacks the style, and the
// font mapper's fall-backs: registered names first, then the profile's
// [FontSubstitutes] section, then the default face (DejaVu Sans), so that text
// always draws. Text is Windows-1252; a face with only a symbol character map
// takes the bytes as symbol codes. TextOutA honours the text alignment
// (TA_UPDATECP included), the background mode and colour, and ignores the
// ROP2 as Windows does; GetTextExtentPoint32A, GetCharWidthA, GetTextMetricsA
// and GetTextFaceA measure. DrawTextA breaks lines at CR LF, LF and CR, wraps
// at spaces (a word wider than the line stays whole and is clipped, or is cut
// where it overflows with DT_EDITCONTROL), resolves '&' prefixes ("&&" is one
// ampersand, "&x" underlines x), expands tabs every eight average widths,
// aligns, clips to the rectangle and adds end ellipses.
//
// Left out: bitmap and vector (.fon) fonts, which are refused; escapement and
// orientation (text is always horizontal); lfWidth (glyphs keep their own
// proportions); character sets other than Windows-1252 and symbol; kerning;
// ExtTextOutA; DrawTextA's path and word ellipses, DT_TABSTOP and
// DT_MODIFYSTRING.
//
// Knowing differences: a height above 1000 pixels is drawn at 1000; plain
// (non-antialiased) text is the antialiased coverage cut at one half, which is
// close to but not always the same as Windows' monochrome rasteriser.
// Synthetic italics keep the upright advances (as Windows) and lean into the
// next character's cell.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "platform/gdi/dc.h"
#include "platform/win/gdi.h"

namespace platform::gdi {

// One rendered character: grey coverage (0 to 255), placed relative to the pen
// position on the baseline.
struct GlyphImage {
    int left = 0;  // from the pen position to the image's first column
    int top = 0;   // from the image's first row up to the baseline
    int width = 0;
    int height = 0;
    int advance = 0;                // whole pixels, as GetCharWidthA reports
    std::vector<uint8_t> coverage;  // width * height bytes, rows top-down
};

// The metrics of a realised font in pixels, as GetTextMetricsA reports them.
struct FontMetrics {
    int height = 0;  // the cell: ascent + descent
    int ascent = 0;
    int descent = 0;
    int internalLeading = 0;
    int externalLeading = 0;
    int aveCharWidth = 0;
    int maxCharWidth = 0;
    int weight = FW_NORMAL;
    int underlineOffset = 0;  // below the baseline to the underline's top row
    int underlineThickness = 1;
    int strikeOutOffset = 0;  // above the baseline to the strike-out's top row
    int strikeOutThickness = 1;
    bool fixedPitch = false;
    bool symbol = false;
};

// A face at one pixel size with its synthetic styles, shared by every font
// object that asks for the same thing. Glyphs are rendered once, on first use,
// and kept as long as the instance lives.
class FontInstance {
public:
    struct Source;  // the face's bytes and index, or none for the block face
    FontInstance(std::shared_ptr<const Source> source, int height, bool bold, bool italic);
    ~FontInstance();
    FontInstance(const FontInstance&) = delete;
    FontInstance& operator=(const FontInstance&) = delete;

    const FontMetrics& Metrics() const { return m_metrics; }
    const std::string& FaceName() const { return m_faceName; }
    const GlyphImage& Glyph(uint8_t character);
    int Advance(uint8_t character) { return Glyph(character).advance; }
    int TextWidth(std::string_view text);

private:
    bool Open(int height);
    void ComputeMetrics(int height);
    void ComputeDecorations(double scale, double em);
    uint32_t GlyphIndex(uint8_t character) const;
    void Render(uint8_t character, GlyphImage& image);
    void RenderBlock(uint8_t character, GlyphImage& image) const;

    std::shared_ptr<const Source> m_source;
    void* m_face = nullptr;  // FT_Face, null when only blocks can be drawn
    std::string m_faceName;
    FontMetrics m_metrics;
    bool m_syntheticBold = false;
    bool m_syntheticItalic = false;
    long m_emboldenStrength = 0;  // 26.6 pixels
    std::array<std::unique_ptr<GlyphImage>, 256> m_glyphs;
};

// Where an instance's glyphs come from: one face of a registered file.
struct FontInstance::Source {
    std::shared_ptr<const std::vector<uint8_t>> bytes;  // null: the block face
    long faceIndex = 0;
    std::string faceName;  // the family, as GetTextFaceA answers
};

// The face the mapper chooses for a name and style, and what it must add.
struct FaceChoice {
    std::shared_ptr<const FontInstance::Source> source;
    bool syntheticBold = false;
    bool syntheticItalic = false;
};
FaceChoice ChooseFace(std::string_view faceName, bool bold, bool italic);

// The process's FreeType library (an FT_Library), made on first use; null when
// FreeType cannot start.
void* FreeTypeLibrary();

// Registers the faces found in a font file's bytes under a key (the Linux path
// for AddFontResourceA). Registering the same key again counts one more use.
// Returns the number of faces, 0 for bytes FreeType cannot use; families, when
// given, receives the family name of each face.
[[nodiscard]] int RegisterFontBytes(const std::string& key, std::vector<uint8_t> bytes,
                                    std::vector<std::string>* families = nullptr);

// Drops one use of a key; its faces are forgotten with the last use. Fonts
// already realised from them keep working.
bool UnregisterFontBytes(const std::string& key);

// Forgets every registered face and every cached instance.
void ResetFonts();
void ForgetFontInstances();

// A font file's bytes: nothing when it cannot be opened, no bytes when it is
// empty or too large to be a font.
std::optional<std::vector<uint8_t>> ReadFontFile(const std::string& path);
bool IsFontKeyRegistered(const std::string& key);

// The instance for a logical font: the face the mapper chooses, at the size
// the height asks for. Never null.
std::shared_ptr<FontInstance> RealizeFont(const LOGFONTA& logFont);

// True when a logical font asks for grey-level text.
inline bool WantsAntialiasing(const LOGFONTA& logFont) {
    return logFont.lfQuality == ANTIALIASED_QUALITY || logFont.lfQuality == 5;
}

// A font handle's object: what the program asked for and what it got.
struct FontObject : GdiObject {
    LOGFONTA logFont{};
    std::shared_ptr<FontInstance> instance;
};

// The font selected into a context, or the system font when none is.
struct SelectedFont {
    const LOGFONTA* logFont;
    FontInstance* instance;
};
SelectedFont CurrentFont(const DeviceContext& dc);

// Draws text with its cell's top-left corner at (x, y) in device coordinates:
// the cell in the bk colour first when the context is opaque, then the glyphs
// in the text colour, then underline and strike-out when the font has them.
// Returns the width drawn.
int DrawTextRun(DeviceContext& dc, const SelectedFont& font, int x, int y, std::string_view text);

// A line of the font's underline thickness under [x, x + width) of a cell
// whose top is y, in the text colour.
void DrawUnderline(DeviceContext& dc, const SelectedFont& font, int x, int y, int width);

}  // namespace platform::gdi
