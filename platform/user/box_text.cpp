#include "platform/user/box_text.h"

#include "platform/kernel/codepage.h"

#include <ft2build.h>
#include FT_FREETYPE_H

#include <algorithm>

namespace platform::user {
namespace {

const char* const kFacePaths[] = {
    "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
    "/usr/share/fonts/truetype/freefont/FreeSans.ttf",
    "/usr/share/fonts/truetype/liberation/LiberationSans-Regular.ttf",
};

FT_Face Face(void* face) { return static_cast<FT_Face>(face); }

}  // namespace

bool BoxText::Open(int pixelHeight) {
    m_lineHeight = pixelHeight + pixelHeight / 3;
    m_ascent = pixelHeight;
    FT_Library library = nullptr;
    if (FT_Init_FreeType(&library) != 0) return false;
    m_library = library;
    for (const char* path : kFacePaths) {
        FT_Face face = nullptr;
        if (FT_New_Face(library, path, 0, &face) == 0) {
            FT_Set_Pixel_Sizes(face, 0, pixelHeight);
            m_face = face;
            m_ascent = static_cast<int>(face->size->metrics.ascender >> 6);
            m_lineHeight = static_cast<int>(face->size->metrics.height >> 6);
            return true;
        }
    }
    return false;
}

BoxText::~BoxText() {
    if (m_face != nullptr) FT_Done_Face(Face(m_face));
    if (m_library != nullptr) FT_Done_FreeType(static_cast<FT_Library>(m_library));
}

int BoxText::Width(const std::string& text) {
    if (m_face == nullptr) return static_cast<int>(text.size()) * (m_ascent * 2 / 3);
    int width = 0;
    for (unsigned char c : text) {
        if (FT_Load_Char(Face(m_face), platform::CodePointOf1252(c), FT_LOAD_DEFAULT) == 0) {
            width += static_cast<int>(Face(m_face)->glyph->advance.x >> 6);
        }
    }
    return width;
}

void BoxText::Draw(gdi::Surface& surface, int x, int y, const std::string& text, uint32_t rgb) {
    const int baseline = y + m_ascent;
    for (unsigned char c : text) {
        if (m_face == nullptr) {
            const int w = m_ascent * 2 / 3;
            for (int row = y + 2; row < baseline && c != ' '; ++row) {
                for (int col = x + 1; col < x + w - 1; ++col) {
                    if (row >= 0 && row < surface.height && col >= 0 && col < surface.width)
                        gdi::WriteRgb(surface, col, row, rgb);
                }
            }
            x += w;
            continue;
        }
        if (FT_Load_Char(Face(m_face), platform::CodePointOf1252(c), FT_LOAD_RENDER) != 0) continue;
        const FT_GlyphSlot glyph = Face(m_face)->glyph;
        const FT_Bitmap& bitmap = glyph->bitmap;
        for (unsigned int row = 0; row < bitmap.rows; ++row) {
            const int py = baseline - glyph->bitmap_top + static_cast<int>(row);
            if (py < 0 || py >= surface.height) continue;
            for (unsigned int col = 0; col < bitmap.width; ++col) {
                const int px = x + glyph->bitmap_left + static_cast<int>(col);
                if (px < 0 || px >= surface.width) continue;
                const uint32_t a = bitmap.buffer[row * bitmap.pitch + col];
                if (a == 0) continue;
                const uint32_t d = gdi::ReadRgb(surface, px, py);
                auto blend = [a](uint32_t dst, uint32_t src) {
                    return (src * a + dst * (255 - a)) / 255;
                };
                gdi::WriteRgb(surface, px, py,
                              (blend((d >> 16) & 0xFF, (rgb >> 16) & 0xFF) << 16) |
                                  (blend((d >> 8) & 0xFF, (rgb >> 8) & 0xFF) << 8) |
                                  blend(d & 0xFF, rgb & 0xFF));
            }
        }
        x += static_cast<int>(glyph->advance.x >> 6);
    }
}

// Cuts a word too wide for a line (a long file name) between characters:
// every piece but the last goes into lines, the last is returned.
std::string BoxText::BreakWord(const std::string& word, int width, std::vector<std::string>& lines) {
    std::string rest = word;
    while (rest.size() > 1 && Width(rest) > width) {
        size_t fit = 1;
        while (fit < rest.size() && Width(rest.substr(0, fit + 1)) <= width) ++fit;
        lines.push_back(rest.substr(0, fit));
        rest.erase(0, fit);
    }
    return rest;
}

std::vector<std::string> BoxText::Wrap(const std::string& text, int width) {
    std::vector<std::string> lines;
    size_t start = 0;
    while (start <= text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        std::string paragraph = text.substr(start, end - start);
        if (!paragraph.empty() && paragraph.back() == '\r') paragraph.pop_back();
        std::string line;
        size_t word = 0;
        while (word < paragraph.size()) {
            size_t next = paragraph.find(' ', word);
            if (next == std::string::npos) next = paragraph.size();
            const std::string piece = paragraph.substr(word, next - word);
            std::string candidate = line.empty() ? piece : line + " " + piece;
            if (Width(candidate) <= width) {
                line = candidate;
            } else {
                if (!line.empty()) lines.push_back(line);
                line = BreakWord(piece, width, lines);
            }
            word = next + 1;
        }
        lines.push_back(line);
        start = end + 1;
    }
    return lines;
}

}  // namespace platform::user
