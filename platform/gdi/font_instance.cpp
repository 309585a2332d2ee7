// Realised fonts: a FreeType face at a pixel size, its GDI metrics, and its
// glyphs rendered once and kept.
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_OUTLINE_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <deque>
#include <map>
#include <tuple>

#include "platform/gdi/font.h"
#include "platform/kernel/codepage.h"

namespace platform::gdi {
namespace {

constexpr int kMaxPixelHeight = 1000;
constexpr int kDefaultCellHeight = 16;
// The slant of synthetic italics, as a 16.16 shear: about 12 degrees.
constexpr FT_Fixed kItalicShear = 0x0366A;
// Instances kept alive after their last font object goes, so that a font made
// and deleted for every piece of text keeps its rendered glyphs.
constexpr size_t kRecentInstances = 8;

FT_Face Face(void* face) {
    return static_cast<FT_Face>(face);
}

int RoundToInt(double value) {
    return static_cast<int>(std::lround(value));
}

// The vertical extent GDI uses for a TrueType face, in font units: the OS/2
// table's Windows ascent and descent, else the horizontal header's.
std::pair<int, int> DesignAscentDescent(FT_Face face) {
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    int ascent = 0;
    int descent = 0;
    if (os2 != nullptr && os2->version != 0xFFFF) {
        ascent = os2->usWinAscent;
        descent = os2->usWinDescent;
    }
    if (ascent + descent <= 0) {
        ascent = face->ascender;
        descent = -face->descender;
    }
    if (ascent < 0 || descent < 0 || ascent + descent <= 0) {
        ascent = face->units_per_EM * 4 / 5;
        descent = face->units_per_EM - ascent;
    }
    return {ascent, descent};
}

struct InstanceKey {
    const void* bytes;
    long faceIndex;
    int height;
    bool bold;
    bool italic;
    auto operator<=>(const InstanceKey&) const = default;
};

struct InstanceCache {
    std::map<InstanceKey, std::weak_ptr<FontInstance>> instances;
    std::deque<std::shared_ptr<FontInstance>> recent;
};

InstanceCache& Cache() {
    static InstanceCache cache;
    return cache;
}

}  // namespace

FontInstance::FontInstance(std::shared_ptr<const Source> source, int height, bool bold, bool italic)
    : m_source(std::move(source)), m_syntheticBold(bold), m_syntheticItalic(italic) {
    m_faceName = m_source->faceName;
    if (!Open(height)) {
        if (m_face != nullptr)
            FT_Done_Face(Face(m_face));
        m_face = nullptr;
    }
    ComputeMetrics(height);
}

FontInstance::~FontInstance() {
    if (m_face != nullptr)
        FT_Done_Face(Face(m_face));
}

// Opens the face and sizes it so that the cell (positive heights) or the em
// (negative heights) has the height asked for.
bool FontInstance::Open(int height) {
    auto library = static_cast<FT_Library>(FreeTypeLibrary());
    if (m_source->bytes == nullptr || library == nullptr)
        return false;
    FT_Face face = nullptr;
    if (FT_New_Memory_Face(library, m_source->bytes->data(),
                           static_cast<FT_Long>(m_source->bytes->size()), m_source->faceIndex,
                           &face) != 0) {
        return false;
    }
    m_face = face;
    if (FT_Select_Charmap(face, FT_ENCODING_UNICODE) != 0) {
        if (FT_Select_Charmap(face, FT_ENCODING_MS_SYMBOL) == 0) {
            m_metrics.symbol = true;
        } else if (face->num_charmaps > 0) {
            FT_Set_Charmap(face, face->charmaps[0]);
        }
    }
    const auto [ascent, descent] = DesignAscentDescent(face);
    const double em =
        height > 0 ? double(height) * face->units_per_EM / (ascent + descent) : double(-height);
    const auto size = static_cast<FT_F26Dot6>(std::max(64.0, std::round(em * 64)));
    return FT_Set_Char_Size(face, 0, size, 72, 72) == 0;
}

void FontInstance::ComputeMetrics(int height) {
    FontMetrics& m = m_metrics;
    FT_Face face = Face(m_face);
    if (face == nullptr) {
        m.height = height > 0 ? height : -height * 5 / 4;
        m.ascent = m.height * 4 / 5;
        m.descent = m.height - m.ascent;
        m.aveCharWidth = m.maxCharWidth = std::max(1, m.ascent * 2 / 3);
        m.underlineOffset = std::min(1, m.descent - 1);
        m.strikeOutOffset = m.ascent / 3;
        return;
    }
    const auto [designAscent, designDescent] = DesignAscentDescent(face);
    const double em = face->size->metrics.y_ppem > 0
                          ? face->size->metrics.y_scale / 65536.0 * face->units_per_EM / 64.0
                          : 1.0;
    const double scale = em / face->units_per_EM;
    if (height > 0) {
        m.height = height;
        m.ascent = RoundToInt(double(designAscent) * height / (designAscent + designDescent));
        m.descent = height - m.ascent;
    } else {
        m.ascent = RoundToInt(designAscent * scale);
        m.descent = RoundToInt(designDescent * scale);
        m.height = m.ascent + m.descent;
    }
    m.internalLeading = std::max(0, m.height - RoundToInt(em));
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const auto* hhea = static_cast<const TT_HoriHeader*>(FT_Get_Sfnt_Table(face, FT_SFNT_HHEA));
    if (hhea != nullptr) {
        const int gap =
            hhea->Line_Gap - ((designAscent + designDescent) - (hhea->Ascender - hhea->Descender));
        m.externalLeading = std::max(0, RoundToInt(gap * scale));
    }
    const bool hasOs2 = os2 != nullptr && os2->version != 0xFFFF;
    m.aveCharWidth =
        hasOs2 && os2->xAvgCharWidth > 0 ? RoundToInt(os2->xAvgCharWidth * scale) : Advance('x');
    m.maxCharWidth = RoundToInt(face->max_advance_width * scale);
    m.weight = hasOs2 && os2->usWeightClass >= 100 && os2->usWeightClass <= 1000
                   ? os2->usWeightClass
                   : FW_NORMAL;
    if (m_syntheticBold) {
        m.weight = std::max(m.weight, int{FW_BOLD});
        m_emboldenStrength = std::max<long>(64, std::lround(em * 64 / 24));
        const int extra = static_cast<int>((m_emboldenStrength + 32) >> 6);
        m.aveCharWidth += extra;
        m.maxCharWidth += extra;
    }
    ComputeDecorations(scale, em);
    m.fixedPitch = FT_IS_FIXED_WIDTH(face);
}

// Underline and strike-out from the post and OS/2 tables, kept inside the cell.
void FontInstance::ComputeDecorations(double scale, double em) {
    FontMetrics& m = m_metrics;
    FT_Face face = Face(m_face);
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    const bool hasOs2 = os2 != nullptr && os2->version != 0xFFFF;
    m.underlineThickness = std::max(1, RoundToInt(face->underline_thickness * scale));
    m.underlineOffset =
        std::max(0, RoundToInt(-face->underline_position * scale) - m.underlineThickness / 2);
    m.underlineOffset = std::min(m.underlineOffset, std::max(0, m.descent - m.underlineThickness));
    if (hasOs2 && os2->yStrikeoutSize > 0) {
        m.strikeOutThickness = std::max(1, RoundToInt(os2->yStrikeoutSize * scale));
        m.strikeOutOffset = RoundToInt(os2->yStrikeoutPosition * scale);
    } else {
        m.strikeOutThickness = m.underlineThickness;
        m.strikeOutOffset = RoundToInt(em * 0.3);
    }
}

uint32_t FontInstance::GlyphIndex(uint8_t character) const {
    FT_Face face = Face(m_face);
    if (m_metrics.symbol) {
        const FT_UInt index = FT_Get_Char_Index(face, 0xF000u + character);
        return index != 0 ? index : FT_Get_Char_Index(face, character);
    }
    const FT_UInt index = FT_Get_Char_Index(face, CodePointOf1252(character));
    // A font without a no-break space (French puts one before "?" and "!")
    // shows an ordinary space instead of its missing-glyph box.
    if (index == 0 && character == 0xA0) return FT_Get_Char_Index(face, ' ');
    return index;
}

const GlyphImage& FontInstance::Glyph(uint8_t character) {
    std::unique_ptr<GlyphImage>& slot = m_glyphs[character];
    if (slot == nullptr) {
        slot = std::make_unique<GlyphImage>();
        if (m_face != nullptr) {
            Render(character, *slot);
        } else {
            RenderBlock(character, *slot);
        }
    }
    return *slot;
}

// Loads the outline, adds the synthetic styles and renders grey coverage. A
// glyph FreeType cannot load is drawn as nothing, one em-fifth wide.
void FontInstance::Render(uint8_t character, GlyphImage& image) {
    FT_Face face = Face(m_face);
    if (FT_Load_Glyph(face, GlyphIndex(character), FT_LOAD_NO_BITMAP) != 0) {
        image.advance = std::max(1, m_metrics.height / 5);
        return;
    }
    FT_GlyphSlot slot = face->glyph;
    image.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE)
        return;
    if (m_syntheticBold) {
        // Emboldening grows the outline by half the strength on every side:
        // shift it back so that it starts at the pen and sits on the baseline.
        FT_Outline_Embolden(&slot->outline, m_emboldenStrength);
        FT_Outline_Translate(&slot->outline, m_emboldenStrength / 2, m_emboldenStrength / 2);
        image.advance += static_cast<int>((m_emboldenStrength + 32) >> 6);
    }
    if (m_syntheticItalic) {
        FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0)
        return;
    const FT_Bitmap& bitmap = slot->bitmap;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_GRAY || bitmap.buffer == nullptr)
        return;
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.width = static_cast<int>(bitmap.width);
    image.height = static_cast<int>(bitmap.rows);
    image.coverage.resize(static_cast<size_t>(image.width) * image.height);
    for (int row = 0; row < image.height; ++row) {
        const uint8_t* source = bitmap.buffer + static_cast<ptrdiff_t>(row) * bitmap.pitch;
        std::copy(source, source + image.width,
                  image.coverage.begin() + ptrdiff_t{row} * image.width);
    }
}

// Without any face, characters are solid blocks so that text still shows.
void FontInstance::RenderBlock(uint8_t character, GlyphImage& image) const {
    image.advance = m_metrics.aveCharWidth;
    if (character <= ' ' || character == 0xA0)
        return;
    image.left = 1;
    image.width = std::max(1, image.advance - 2);
    image.height = std::max(1, m_metrics.ascent - 2);
    image.top = image.height;
    image.coverage.assign(static_cast<size_t>(image.width) * image.height, 255);
}

int FontInstance::TextWidth(std::string_view text) {
    int width = 0;
    for (char c : text)
        width += Advance(static_cast<uint8_t>(c));
    return width;
}

std::shared_ptr<FontInstance> RealizeFont(const LOGFONTA& logFont) {
    char name[LF_FACESIZE + 1] = {};
    std::copy(logFont.lfFaceName, logFont.lfFaceName + LF_FACESIZE, name);
    const bool bold = logFont.lfWeight >= FW_SEMIBOLD;
    const bool italic = logFont.lfItalic != 0;
    FaceChoice choice = ChooseFace(name, bold, italic);
    int height = logFont.lfHeight == 0 ? kDefaultCellHeight : logFont.lfHeight;
    height = std::clamp(height, -kMaxPixelHeight, kMaxPixelHeight);
    const InstanceKey key{choice.source->bytes.get(), choice.source->faceIndex, height,
                          choice.syntheticBold, choice.syntheticItalic};
    InstanceCache& cache = Cache();
    std::shared_ptr<FontInstance> instance = cache.instances[key].lock();
    if (instance == nullptr) {
        instance = std::make_shared<FontInstance>(choice.source, height, choice.syntheticBold,
                                                  choice.syntheticItalic);
        cache.instances[key] = instance;
    }
    auto known = std::find(cache.recent.begin(), cache.recent.end(), instance);
    if (known != cache.recent.end())
        cache.recent.erase(known);
    cache.recent.push_front(instance);
    if (cache.recent.size() > kRecentInstances)
        cache.recent.pop_back();
    std::erase_if(cache.instances, [](const auto& entry) { return entry.second.expired(); });
    return instance;
}

void ForgetFontInstances() {
    Cache().instances.clear();
    Cache().recent.clear();
}

}  // namespace platform::gdi
