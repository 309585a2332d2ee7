// DrawTextA: text laid out in a rectangle, with line breaks, word wrapping,
// '&' prefixes, tabs, alignment and end ellipses.
#include <algorithm>
#include <string>
#include <vector>

#include "platform/gdi/font.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

constexpr int kTabStopChars = 8;
constexpr std::string_view kEllipsis = "...";

// A line ready to draw: pieces of text at offsets from the line's left edge
// (one piece unless tabs were expanded), and the prefixed character's place.
struct LaidOutLine {
    struct Piece {
        int x;
        std::string text;
    };
    std::vector<Piece> pieces;
    int width = 0;
    int underlineX = -1;
    int underlineWidth = 0;
};

// The text with its '&' prefixes resolved: "&&" is one '&', "&x" marks x.
struct CleanText {
    std::string chars;
    std::vector<bool> marked;
};

CleanText ResolvePrefixes(std::string_view text, bool noPrefix) {
    CleanText clean;
    clean.chars.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        bool mark = false;
        if (!noPrefix && text[i] == '&') {
            // A prefix at the end or before a line break marks nothing.
            if (i + 1 == text.size() || text[i + 1] == '\r' || text[i + 1] == '\n')
                continue;
            ++i;
            mark = text[i] != '&';
        }
        clean.chars += text[i];
        clean.marked.push_back(mark);
    }
    return clean;
}

class Layout {
public:
    Layout(FontInstance& font, UINT format, int maxWidth)
        : m_font(font),
          m_format(format),
          m_maxWidth(maxWidth),
          m_tabWidth(std::max(1, font.Metrics().aveCharWidth * kTabStopChars)) {}

    std::vector<LaidOutLine> Run(const CleanText& text);

private:
    int AdvanceAt(char c, int x) {
        if (c == '\t' && (m_format & DT_EXPANDTABS) != 0)
            return (x / m_tabWidth + 1) * m_tabWidth - x;
        return m_font.Advance(static_cast<uint8_t>(c));
    }
    int Width(std::string_view text) {
        int x = 0;
        for (char c : text)
            x += AdvanceAt(c, x);
        return x;
    }
    void Paragraph(const CleanText& text, size_t begin, size_t end);
    void Emit(const CleanText& text, size_t begin, size_t end);

    FontInstance& m_font;
    UINT m_format;
    int m_maxWidth;
    int m_tabWidth;
    std::vector<LaidOutLine> m_lines;
};

std::vector<LaidOutLine> Layout::Run(const CleanText& text) {
    const std::string& s = text.chars;
    if ((m_format & DT_SINGLELINE) != 0) {
        Paragraph(text, 0, s.size());
        return std::move(m_lines);
    }
    size_t begin = 0;
    while (begin < s.size() || m_lines.empty()) {
        size_t end = s.find_first_of("\r\n", begin);
        if (end == std::string::npos)
            end = s.size();
        Paragraph(text, begin, end);
        if (end < s.size() && s[end] == '\r' && end + 1 < s.size() && s[end + 1] == '\n')
            ++end;
        begin = end + 1;
    }
    return std::move(m_lines);
}

// Breaks a paragraph between words to fit the width. Spaces at a break are
// dropped; a single word wider than the line stays whole (and is clipped), or
// is cut where it overflows with DT_EDITCONTROL.
void Layout::Paragraph(const CleanText& text, size_t begin, size_t end) {
    const std::string& s = text.chars;
    if ((m_format & DT_WORDBREAK) == 0 || (m_format & DT_SINGLELINE) != 0) {
        Emit(text, begin, end);
        return;
    }
    size_t pos = begin;
    do {
        int x = 0;
        size_t i = pos;
        size_t breakAt = std::string::npos;
        for (; i < end; ++i) {
            if (s[i] == ' ') {
                if (i > pos && s[i - 1] != ' ')
                    breakAt = i;
            } else if (x + AdvanceAt(s[i], x) > m_maxWidth) {
                break;
            }
            x += AdvanceAt(s[i], x);
        }
        if (i == end) {
            Emit(text, pos, end);
            return;
        }
        size_t lineEnd = breakAt;
        if (lineEnd == std::string::npos) {
            if ((m_format & DT_EDITCONTROL) != 0) {
                lineEnd = std::max(i, pos + 1);
            } else {
                lineEnd = s.find(' ', i);
                if (lineEnd == std::string::npos || lineEnd > end)
                    lineEnd = end;
            }
        }
        size_t trimmed = lineEnd;
        while (trimmed > pos && s[trimmed - 1] == ' ')
            --trimmed;
        Emit(text, pos, trimmed);
        pos = lineEnd;
        while (pos < end && s[pos] == ' ')
            ++pos;
    } while (pos < end);
}

// Measures one line, cuts it with an ellipsis when asked to, and splits it at
// expanded tabs into pieces.
void Layout::Emit(const CleanText& text, size_t begin, size_t end) {
    std::string line = text.chars.substr(begin, end - begin);
    std::vector<bool> marked(text.marked.begin() + static_cast<ptrdiff_t>(begin),
                             text.marked.begin() + static_cast<ptrdiff_t>(end));
    if ((m_format & DT_END_ELLIPSIS) != 0 && Width(line) > m_maxWidth) {
        const int ellipsis = m_font.TextWidth(kEllipsis);
        while (!line.empty() && Width(line) + ellipsis > m_maxWidth)
            line.pop_back();
        marked.resize(line.size());
        line += kEllipsis;
        marked.resize(line.size(), false);
    }
    LaidOutLine out;
    int x = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        const int advance = AdvanceAt(line[i], x);
        if (line[i] == '\t' && (m_format & DT_EXPANDTABS) != 0) {
            out.pieces.push_back({x + advance, {}});
        } else {
            if (out.pieces.empty())
                out.pieces.push_back({0, {}});
            out.pieces.back().text += line[i];
            if (marked[i]) {
                out.underlineX = x;
                out.underlineWidth = advance;
            }
        }
        x += advance;
    }
    out.width = x;
    m_lines.push_back(std::move(out));
}

// Narrows a context's clip to a device rectangle for the life of the object.
class ClipToRect {
public:
    ClipToRect(DeviceContext& dc, const RECT& device) : m_dc(dc), m_saved(dc.clip) {
        std::vector<RECT> narrowed;
        for (const RECT& r : m_saved) {
            const RECT cut{std::max(r.left, device.left), std::max(r.top, device.top),
                           std::min(r.right, device.right), std::min(r.bottom, device.bottom)};
            if (cut.left < cut.right && cut.top < cut.bottom)
                narrowed.push_back(cut);
        }
        dc.clip = std::move(narrowed);
    }
    ~ClipToRect() { m_dc.clip = std::move(m_saved); }
    ClipToRect(const ClipToRect&) = delete;
    ClipToRect& operator=(const ClipToRect&) = delete;

private:
    DeviceContext& m_dc;
    std::vector<RECT> m_saved;
};

void DrawLines(DeviceContext& dc, const SelectedFont& font, const std::vector<LaidOutLine>& lines,
               const RECT& rect, UINT format, int top, int lineHeight) {
    int y = top;
    for (const LaidOutLine& line : lines) {
        int x = rect.left;
        if ((format & DT_CENTER) != 0) {
            x = rect.left + (rect.right - rect.left - line.width) / 2;
        } else if ((format & DT_RIGHT) != 0) {
            x = rect.right - line.width;
        }
        const int deviceX = x + dc.origin.x;
        const int deviceY = y + dc.origin.y;
        for (const LaidOutLine::Piece& piece : line.pieces) {
            DrawTextRun(dc, font, deviceX + piece.x, deviceY, piece.text);
        }
        if (line.underlineX >= 0) {
            DrawUnderline(dc, font, deviceX + line.underlineX, deviceY, line.underlineWidth);
        }
        y += lineHeight;
    }
}

}  // namespace
}  // namespace platform::gdi

int WINAPI DrawTextA(HDC hdc, LPCSTR text, int count, LPRECT rect, UINT format) {
    using namespace platform::gdi;
    DeviceContext* dc = LookupDC(hdc);
    if (dc == nullptr || rect == nullptr || (text == nullptr && count != 0))
        return 0;
    const std::string_view source = text == nullptr ? std::string_view{}
                                    : count < 0     ? std::string_view{text}
                                                    : std::string_view{text, size_t(count)};
    const SelectedFont font = CurrentFont(*dc);
    const FontMetrics& metrics = font.instance->Metrics();
    const int lineHeight =
        metrics.height + ((format & DT_EXTERNALLEADING) != 0 ? metrics.externalLeading : 0);
    if (source.empty()) {
        if ((format & DT_CALCRECT) != 0) {
            rect->right = rect->left;
            rect->bottom = rect->top + ((format & DT_SINGLELINE) != 0 ? lineHeight : 0);
        }
        return lineHeight;
    }
    const CleanText clean = ResolvePrefixes(source, (format & DT_NOPREFIX) != 0);
    const std::vector<LaidOutLine> lines =
        Layout(*font.instance, format, rect->right - rect->left).Run(clean);
    const int height = lineHeight * static_cast<int>(lines.size());
    if ((format & DT_CALCRECT) != 0) {
        int widest = 0;
        for (const LaidOutLine& line : lines)
            widest = std::max(widest, line.width);
        rect->right = rect->left + widest;
        rect->bottom = rect->top + height;
        return height;
    }
    int top = rect->top;
    if ((format & DT_SINGLELINE) != 0 && (format & DT_VCENTER) != 0) {
        top = rect->top + (rect->bottom - rect->top - lineHeight) / 2;
    } else if ((format & DT_SINGLELINE) != 0 && (format & DT_BOTTOM) != 0) {
        top = rect->bottom - lineHeight;
    }
    if ((format & DT_NOCLIP) != 0) {
        DrawLines(*dc, font, lines, *rect, format, top, lineHeight);
    } else {
        const RECT device{rect->left + dc->origin.x, rect->top + dc->origin.y,
                          rect->right + dc->origin.x, rect->bottom + dc->origin.y};
        ClipToRect clip(*dc, device);
        DrawLines(*dc, font, lines, *rect, format, top, lineHeight);
    }
    return top - rect->top + height;
}
