// Text output and measurement: TextOutA, the text alignment, and the extents
// and widths of Windows-1252 characters in the selected font.
#include <algorithm>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

// Text ignores the ROP2 on Windows: glyphs, backgrounds and underlines are
// copied whatever the context's drawing mode.
class CopyMode {
public:
    explicit CopyMode(DeviceContext& dc) : m_dc(dc), m_saved(dc.rop2) { dc.rop2 = R2_COPYPEN; }
    ~CopyMode() { m_dc.rop2 = m_saved; }
    CopyMode(const CopyMode&) = delete;
    CopyMode& operator=(const CopyMode&) = delete;

private:
    DeviceContext& m_dc;
    int m_saved;
};

void FillBand(DeviceContext& dc, int left, int right, int top, int rows, COLORREF colour) {
    if (right <= left || rows <= 0)
        return;
    std::vector<Span> spans(static_cast<size_t>(rows));
    for (int row = 0; row < rows; ++row)
        spans[static_cast<size_t>(row)] = Span{top + row, left, right};
    FillSpansWithColour(dc, spans.data(), spans.size(), colour);
}

void DrawGlyphs(DeviceContext& dc, const SelectedFont& font, int x, int baseline,
                std::string_view text) {
    const bool antialiased = WantsAntialiasing(*font.logFont);
    for (char c : text) {
        const GlyphImage& glyph = font.instance->Glyph(static_cast<uint8_t>(c));
        if (glyph.width > 0 && glyph.height > 0) {
            BlendCoverage(dc, x + glyph.left, baseline - glyph.top, glyph.width, glyph.height,
                          glyph.coverage.data(), glyph.width, dc.textColour, antialiased);
        }
        x += glyph.advance;
    }
}

}  // namespace

int DrawTextRun(DeviceContext& dc, const SelectedFont& font, int x, int y, std::string_view text) {
    const FontMetrics& m = font.instance->Metrics();
    const int width = font.instance->TextWidth(text);
    if (dc.surface == nullptr)
        return width;
    CopyMode copy(dc);
    if (dc.bkMode == OPAQUE)
        FillBand(dc, x, x + width, y, m.height, dc.bkColour);
    DrawGlyphs(dc, font, x, y + m.ascent, text);
    if (font.logFont->lfUnderline != 0)
        DrawUnderline(dc, font, x, y, width);
    if (font.logFont->lfStrikeOut != 0) {
        FillBand(dc, x, x + width, y + m.ascent - m.strikeOutOffset, m.strikeOutThickness,
                 dc.textColour);
    }
    NoteDrawn(dc);
    return width;
}

void DrawUnderline(DeviceContext& dc, const SelectedFont& font, int x, int y, int width) {
    const FontMetrics& m = font.instance->Metrics();
    CopyMode copy(dc);
    FillBand(dc, x, x + width, y + m.ascent + m.underlineOffset, m.underlineThickness,
             dc.textColour);
}

}  // namespace platform::gdi

using platform::gdi::CurrentFont;
using platform::gdi::DeviceContext;
using platform::gdi::LookupDC;
using platform::gdi::SelectedFont;

namespace {

// The cell's top-left corner for a reference point under the text alignment.
POINT AlignedCellOrigin(UINT align, POINT reference, int width,
                        const platform::gdi::FontMetrics& metrics) {
    POINT cell = reference;
    if ((align & TA_CENTER) == TA_CENTER) {
        cell.x -= width / 2;
    } else if ((align & TA_RIGHT) != 0) {
        cell.x -= width;
    }
    if ((align & TA_BASELINE) == TA_BASELINE) {
        cell.y -= metrics.ascent;
    } else if ((align & TA_BOTTOM) != 0) {
        cell.y -= metrics.height;
    }
    return cell;
}

}  // namespace

BOOL WINAPI TextOutA(HDC hdc, int x, int y, LPCSTR text, int count) {
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || count < 0 || (text == nullptr && count > 0))
        return FALSE;
    const SelectedFont font = CurrentFont(*dc);
    const std::string_view run(text != nullptr ? text : "", static_cast<size_t>(count));
    const int width = font.instance->TextWidth(run);
    const bool updateCp = (dc->textAlign & TA_UPDATECP) != 0;
    const POINT reference = updateCp ? dc->currentPosition : POINT{x, y};
    const POINT cell = AlignedCellOrigin(dc->textAlign, reference, width, font.instance->Metrics());
    platform::gdi::DrawTextRun(*dc, font, cell.x + dc->origin.x, cell.y + dc->origin.y, run);
    if (updateCp && (dc->textAlign & TA_CENTER) != TA_CENTER) {
        dc->currentPosition.x += (dc->textAlign & TA_RIGHT) != 0 ? -width : width;
    }
    return TRUE;
}

BOOL WINAPI GetTextExtentPoint32A(HDC hdc, LPCSTR text, int count, LPSIZE size) {
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || size == nullptr || count < 0 || (text == nullptr && count > 0)) {
        return FALSE;
    }
    const SelectedFont font = CurrentFont(*dc);
    const std::string_view run(text != nullptr ? text : "", static_cast<size_t>(count));
    size->cx = font.instance->TextWidth(run);
    size->cy = font.instance->Metrics().height;
    return TRUE;
}

BOOL WINAPI GetCharWidthA(HDC hdc, UINT first, UINT last, LPINT widths) {
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || widths == nullptr || first > last || last - first > 0xFFFF)
        return FALSE;
    const SelectedFont font = CurrentFont(*dc);
    for (UINT c = first; c <= last; ++c) {
        widths[c - first] = font.instance->Advance(static_cast<uint8_t>(c & 0xFF));
    }
    return TRUE;
}

UINT WINAPI SetTextAlign(HDC hdc, UINT align) {
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr)
        return GDI_ERROR;
    const UINT previous = dc->textAlign;
    dc->textAlign = align;
    return previous;
}

UINT WINAPI GetTextAlign(HDC hdc) {
    DeviceContext* dc = LookupDC(hdc);
    return dc != nullptr ? dc->textAlign : GDI_ERROR;
}
