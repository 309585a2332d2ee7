// ExtFloodFill: the 4-connected area around a seed, found row by row on a mask
// of fillable pixels and painted through the brush path as spans.
#include <algorithm>
#include <cstring>
#include <memory>

#include "platform/gdi/spans.h"
#include "platform/windows.h"

namespace platform::gdi {
namespace {

// Which pixels of the clip box may be filled, worked out a row at a time when
// the fill first reaches the row. A filled pixel is cleared.
class FloodMask {
public:
    FloodMask(const DeviceContext& dc, const RECT& box, uint32_t value, bool sameColour)
        : m_dc(dc), m_box(box), m_width(box.right - box.left), m_value(value),
          m_sameColour(sameColour),
          m_bits(new uint8_t[static_cast<size_t>(m_width) * (box.bottom - box.top)]),
          m_ready(static_cast<size_t>(box.bottom - box.top), false) {}

    // The mask of row y, indexed from the box's left edge.
    uint8_t* Row(int y) {
        uint8_t* row = m_bits.get() + static_cast<size_t>(y - m_box.top) * m_width;
        if (!m_ready[y - m_box.top]) {
            m_ready[y - m_box.top] = true;
            Compute(y, row);
        }
        return row;
    }

private:
    void Compute(int y, uint8_t* row) {
        std::memset(row, 0, m_width);
        const Surface& surface = *m_dc.surface;
        for (const RECT& c : m_dc.clip) {
            if (y < c.top || y >= c.bottom) continue;
            const int left = std::max(c.left, m_box.left);
            const int right = std::min(c.right, m_box.right);
            if (left >= right) continue;
            uint8_t* out = row + (left - m_box.left);
            const int count = right - left;
            if (surface.bitsPerPixel == 32) {
                Classify(surface.Row(y) + left, count, out);
            } else {
                m_values.resize(count);
                surface.ops->loadRow(surface, left, y, count, m_values.data());
                Classify(m_values.data(), count, out);
            }
        }
    }

    void Classify(const uint32_t* values, int count, uint8_t* out) const {
        const uint32_t mask = m_dc.surface->ops->valueMask;
        if (m_sameColour) {
            for (int i = 0; i < count; ++i) out[i] = (values[i] & mask) == m_value;
        } else {
            for (int i = 0; i < count; ++i) out[i] = (values[i] & mask) != m_value;
        }
    }

    const DeviceContext& m_dc;
    RECT m_box;
    int m_width;
    uint32_t m_value;
    bool m_sameColour;
    std::unique_ptr<uint8_t[]> m_bits;
    std::vector<bool> m_ready;
    std::vector<uint32_t> m_values;
};

bool InClip(const DeviceContext& dc, int x, int y) {
    for (const RECT& c : dc.clip) {
        if (x >= c.left && x < c.right && y >= c.top && y < c.bottom) return true;
    }
    return false;
}

RECT ClipBox(const DeviceContext& dc) {
    RECT box = dc.clip.front();
    for (const RECT& r : dc.clip) {
        box.left = std::min(box.left, r.left);
        box.top = std::min(box.top, r.top);
        box.right = std::max(box.right, r.right);
        box.bottom = std::max(box.bottom, r.bottom);
    }
    return box;
}

// Mask bytes are 0 or 1; these scan them eight at a time.
constexpr uint64_t kOnes = 0x0101010101010101ull;

uint64_t Load8(const uint8_t* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

// The first x in [x, end) whose byte is 0 (zero true) or 1 (zero false), or end.
int FindByte(const uint8_t* row, int x, int end, bool zero) {
    while (x < end && (x & 7) != 0) {
        if ((row[x] == 0) == zero) return x;
        ++x;
    }
    for (; x + 8 <= end; x += 8) {
        const uint64_t word = Load8(row + x);
        const uint64_t hits = zero ? word ^ kOnes : word;
        if (hits != 0) return x + __builtin_ctzll(hits) / 8;
    }
    for (; x < end; ++x) {
        if ((row[x] == 0) == zero) return x;
    }
    return end;
}

// The first x going left from x - 1 down to begin whose byte is 0, plus one:
// the left end of the run of ones ending at x - 1.
int RunStart(const uint8_t* row, int x, int begin) {
    while (x > begin && (x & 7) != 0) {
        if (row[x - 1] == 0) return x;
        --x;
    }
    for (; x - 8 >= begin; x -= 8) {
        const uint64_t zeros = Load8(row + x - 8) ^ kOnes;
        if (zeros != 0) return x - __builtin_clzll(zeros) / 8;
    }
    for (; x > begin; --x) {
        if (row[x - 1] == 0) return x;
    }
    return begin;
}

// Scans the span-wide stretch of a neighbouring row and queues one seed for
// each run of fillable pixels in it.
void QueueRuns(FloodMask& mask, const RECT& box, int y, int left, int right,
               std::vector<POINT>& seeds) {
    if (y < box.top || y >= box.bottom) return;
    const uint8_t* row = mask.Row(y) - box.left;
    int x = FindByte(row, left, right, false);
    while (x < right) {
        seeds.push_back(POINT{x, y});
        x = FindByte(row, FindByte(row, x, right, true), right, false);
    }
}

}  // namespace

std::vector<Span> FloodSpans(const DeviceContext& dc, int x, int y, uint32_t value,
                             bool sameColour) {
    std::vector<Span> spans;
    if (dc.surface == nullptr || dc.clip.empty() || !InClip(dc, x, y)) return spans;
    const RECT box = ClipBox(dc);
    FloodMask mask(dc, box, value, sameColour);
    std::vector<POINT> seeds{POINT{x, y}};
    while (!seeds.empty()) {
        const POINT seed = seeds.back();
        seeds.pop_back();
        uint8_t* row = mask.Row(seed.y) - box.left;
        if (!row[seed.x]) continue;
        const int left = RunStart(row, seed.x, box.left);
        const int right = FindByte(row, seed.x + 1, box.right, true);
        std::memset(row + left, 0, right - left);
        spans.push_back(Span{seed.y, left, right});
        QueueRuns(mask, box, seed.y - 1, left, right, seeds);
        QueueRuns(mask, box, seed.y + 1, left, right, seeds);
    }
    return spans;
}

}  // namespace platform::gdi

using namespace platform::gdi;

BOOL WINAPI ExtFloodFill(HDC dc, int x, int y, COLORREF colour, UINT type) {
    DeviceContext* context = LookupDC(dc);
    if (context == nullptr || context->surface == nullptr) return FALSE;
    if (type != FLOODFILLSURFACE && type != FLOODFILLBORDER) return FALSE;
    const std::vector<Span> spans =
        FloodSpans(*context, x + context->origin.x, y + context->origin.y,
                   ColourToPixel(*context, colour), type == FLOODFILLSURFACE);
    if (spans.empty()) return FALSE;
    FillSpansWithBrush(*context, spans.data(), spans.size(), context->brush);
    return TRUE;
}
