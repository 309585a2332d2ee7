// Smoothing: each pixel becomes the mean of itself and its two neighbours,
// the left one already smoothed, so that every row is one long chain of
// divisions. Rows are independent of one another: on SSE2 sixteen rows run
// side by side, one in each byte lane, after 16-byte blocks of the rows are
// turned into columns.
#include <algorithm>
#include <cstring>
#include <vector>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "effects/passes.h"
#include "effects/pixel_planes.h"
#include "effects/pixel_quads.h"

namespace {

// The mean of three bytes, sum / 3, as (sum * kThirdOfSum) >> 17.
constexpr uint32_t kThirdOfSum = 43691;
static_assert(DividesExactly(3, kThirdOfSum, 17, 3 * 255));

#if defined(__SSE2__)

constexpr int kStripRows = 16;

// One round of interleaving the first eight registers with the last eight.
[[gnu::always_inline]] inline void Interleave(const __m128i* in, __m128i* out) {
#pragma GCC unroll 8
    for (int p = 0; p < 8; ++p) {
        out[2 * p] = _mm_unpacklo_epi8(in[p], in[p + 8]);
        out[2 * p + 1] = _mm_unpackhi_epi8(in[p], in[p + 8]);
    }
}

// Turns sixteen registers of sixteen bytes into their columns: each round of
// interleaving rotates the four row bits and four column bits of a byte's
// place by one, so four rounds swap them.
[[gnu::always_inline]] inline void Transpose(__m128i* block) {
    __m128i mixed[kStripRows];
    Interleave(block, mixed);
    Interleave(mixed, block);
    Interleave(block, mixed);
    Interleave(mixed, block);
}

// Sixteen rows of the image, each of bytes bytes.
struct Strip {
    uint8_t* rows[kStripRows];
    int bytes;
};

// The columns of the 16-byte block at offset of every row; a block that
// runs past the rows' end reads zeros there.
void LoadColumns(const Strip& strip, int offset, __m128i* columns) {
    const int count = std::min(16, strip.bytes - offset);
    for (int r = 0; r < kStripRows; ++r) {
        if (count == 16) {
            columns[r] = _mm_loadu_si128(reinterpret_cast<const __m128i*>(strip.rows[r] + offset));
        } else {
            alignas(16) uint8_t tail[16] = {};
            memcpy(tail, strip.rows[r] + offset, count);
            columns[r] = _mm_load_si128(reinterpret_cast<const __m128i*>(tail));
        }
    }
    Transpose(columns);
}

// Writes columns back as the block at offset, nothing past the rows' end.
void StoreColumns(const Strip& strip, int offset, __m128i* columns) {
    Transpose(columns);
    const int count = std::min(16, strip.bytes - offset);
    for (int r = 0; r < kStripRows; ++r) {
        if (count == 16) {
            _mm_storeu_si128(reinterpret_cast<__m128i*>(strip.rows[r] + offset), columns[r]);
        } else {
            alignas(16) uint8_t tail[16];
            _mm_store_si128(reinterpret_cast<__m128i*>(tail), columns[r]);
            memcpy(strip.rows[r] + offset, tail, count);
        }
    }
}

// One byte of all sixteen rows, even rows in the low byte of 16-bit lanes,
// odd rows in the high byte, split for the arithmetic.
struct Lanes {
    __m128i even;
    __m128i odd;
};

Lanes Split(__m128i bytes) {
    return {_mm_and_si128(bytes, _mm_set1_epi16(0xFF)), _mm_srli_epi16(bytes, 8)};
}

// (left + here + right) / 3 in every lane.
Lanes Mean(const Lanes& left, const Lanes& here, const Lanes& right) {
    const __m128i third = _mm_set1_epi16(static_cast<short>(kThirdOfSum));
    const __m128i even = _mm_add_epi16(_mm_add_epi16(left.even, here.even), right.even);
    const __m128i odd = _mm_add_epi16(_mm_add_epi16(left.odd, here.odd), right.odd);
    return {_mm_srli_epi16(_mm_mulhi_epu16(even, third), 1), _mm_srli_epi16(_mm_mulhi_epu16(odd, third), 1)};
}

// Smooths the strip's bytes from the second pixel to the one before the
// last, a block of sixteen columns at a time; the block after it is loaded
// ahead for the right neighbours.
void SmoothStrip(const Strip& strip) {
    const int end = strip.bytes - 3;
    __m128i current[kStripRows];
    __m128i next[kStripRows];
    LoadColumns(strip, 0, current);
    // The smoothed bytes three, two and one before the one in hand.
    Lanes left[3] = {Split(current[0]), Split(current[1]), Split(current[2])};
    for (int offset = 0; offset < end; offset += 16) {
        if (offset + 16 < strip.bytes) LoadColumns(strip, offset + 16, next);
        const int stop = std::min(16, end - offset);
        const int start = offset == 0 ? 3 : 0;
#pragma GCC unroll 16
        for (int k = 0; k < 16; ++k) {
            if (k < start || k >= stop) continue;
            const Lanes mean = Mean(left[0], Split(current[k]), Split(k + 3 < 16 ? current[k + 3] : next[k - 13]));
            left[0] = left[1];
            left[1] = left[2];
            left[2] = mean;
            current[k] = _mm_or_si128(mean.even, _mm_slli_epi16(mean.odd, 8));
        }
        StoreColumns(strip, offset, current);
        memcpy(current, next, sizeof current);
    }
}

#if defined(TAVELIN_PIXEL_PLANES)

// The same with AVX2 on thirty-two rows: the two halves of each register
// hold the blocks of rows 0 to 15 and 16 to 31, and the interleaving, which
// works within halves, turns both into columns at once.
constexpr int kWideStripRows = 32;

struct WideStrip {
    uint8_t* rows[kWideStripRows];
    int bytes;
};

TAVELIN_AVX2_INLINE void Interleave(const __m256i* in, __m256i* out) {
#pragma GCC unroll 8
    for (int p = 0; p < 8; ++p) {
        out[2 * p] = _mm256_unpacklo_epi8(in[p], in[p + 8]);
        out[2 * p + 1] = _mm256_unpackhi_epi8(in[p], in[p + 8]);
    }
}

TAVELIN_AVX2_INLINE void Transpose(__m256i* block) {
    __m256i mixed[kStripRows];
    Interleave(block, mixed);
    Interleave(mixed, block);
    Interleave(block, mixed);
    Interleave(mixed, block);
}

TAVELIN_AVX2_INLINE __m128i LoadBlock(const uint8_t* start, int count) {
    if (count == 16) return _mm_loadu_si128(reinterpret_cast<const __m128i*>(start));
    alignas(16) uint8_t tail[16] = {};
    memcpy(tail, start, count);
    return _mm_load_si128(reinterpret_cast<const __m128i*>(tail));
}

TAVELIN_AVX2_INLINE void StoreBlock(uint8_t* start, int count, __m128i bytes) {
    if (count == 16) return _mm_storeu_si128(reinterpret_cast<__m128i*>(start), bytes);
    alignas(16) uint8_t tail[16];
    _mm_store_si128(reinterpret_cast<__m128i*>(tail), bytes);
    memcpy(start, tail, count);
}

TAVELIN_AVX2_INLINE void LoadColumns(const WideStrip& strip, int offset, __m256i* columns) {
    const int count = std::min(16, strip.bytes - offset);
    for (int r = 0; r < kStripRows; ++r) {
        columns[r] = _mm256_inserti128_si256(_mm256_castsi128_si256(LoadBlock(strip.rows[r] + offset, count)),
                                             LoadBlock(strip.rows[r + kStripRows] + offset, count), 1);
    }
    Transpose(columns);
}

TAVELIN_AVX2_INLINE void StoreColumns(const WideStrip& strip, int offset, __m256i* columns) {
    Transpose(columns);
    const int count = std::min(16, strip.bytes - offset);
    for (int r = 0; r < kStripRows; ++r) {
        StoreBlock(strip.rows[r] + offset, count, _mm256_castsi256_si128(columns[r]));
        StoreBlock(strip.rows[r + kStripRows] + offset, count, _mm256_extracti128_si256(columns[r], 1));
    }
}

struct WideLanes {
    __m256i even;
    __m256i odd;
};

TAVELIN_AVX2_INLINE WideLanes Split(__m256i bytes) {
    return {_mm256_and_si256(bytes, _mm256_set1_epi16(0xFF)), _mm256_srli_epi16(bytes, 8)};
}

TAVELIN_AVX2_INLINE WideLanes Mean(const WideLanes& left, const WideLanes& here, const WideLanes& right) {
    const __m256i third = _mm256_set1_epi16(static_cast<short>(kThirdOfSum));
    const __m256i even = _mm256_add_epi16(_mm256_add_epi16(left.even, here.even), right.even);
    const __m256i odd = _mm256_add_epi16(_mm256_add_epi16(left.odd, here.odd), right.odd);
    return {_mm256_srli_epi16(_mm256_mulhi_epu16(even, third), 1),
            _mm256_srli_epi16(_mm256_mulhi_epu16(odd, third), 1)};
}

TAVELIN_AVX2 void SmoothStrip(const WideStrip& strip) {
    const int end = strip.bytes - 3;
    __m256i current[kStripRows];
    __m256i next[kStripRows];
    LoadColumns(strip, 0, current);
    WideLanes left[3] = {Split(current[0]), Split(current[1]), Split(current[2])};
    for (int offset = 0; offset < end; offset += 16) {
        if (offset + 16 < strip.bytes) LoadColumns(strip, offset + 16, next);
        const int stop = std::min(16, end - offset);
        const int start = offset == 0 ? 3 : 0;
#pragma GCC unroll 16
        for (int k = 0; k < 16; ++k) {
            if (k < start || k >= stop) continue;
            const WideLanes mean =
                Mean(left[0], Split(current[k]), Split(k + 3 < 16 ? current[k + 3] : next[k - 13]));
            left[0] = left[1];
            left[1] = left[2];
            left[2] = mean;
            current[k] = _mm256_or_si256(mean.even, _mm256_slli_epi16(mean.odd, 8));
        }
        StoreColumns(strip, offset, current);
        memcpy(current, next, sizeof current);
    }
}

bool WideSmoothing() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported;
}

#endif

#else

// Smooths Count rows side by side: each row is a chain of divisions, and
// the chains of independent rows overlap.
template <int Count>
void SmoothRows(uint8_t* first, int stride, int width) {
    uint8_t* rows[Count];
    // The smoothed left neighbour and the pixel itself stay at hand.
    uint32_t left[Count][3];
    uint32_t here[Count][3];
    for (int r = 0; r < Count; ++r) {
        rows[r] = first + static_cast<ptrdiff_t>(r) * stride;
        for (int channel = 0; channel < 3; ++channel) {
            left[r][channel] = rows[r][channel];
            here[r][channel] = rows[r][3 + channel];
        }
    }
    for (int x = 1; x < width - 1; ++x) {
        for (int r = 0; r < Count; ++r) {
            uint8_t* pixel = rows[r] + 3 * x;
            for (int channel = 0; channel < 3; ++channel) {
                const uint32_t right = pixel[3 + channel];
                left[r][channel] = ((left[r][channel] + here[r][channel] + right) * kThirdOfSum) >> 17;
                pixel[channel] = static_cast<uint8_t>(left[r][channel]);
                here[r][channel] = right;
            }
        }
    }
}

#endif

}  // namespace

// Each pixel becomes the mean of itself and its neighbours, the left one
// already smoothed.
void Smooth(const EffectImage& image) {
    if (image.width < 3) return;
#if defined(__SSE2__)
    // Rows past the image's last fill the last strip from a spare row.
    std::vector<uint8_t> spare(static_cast<size_t>(image.width) * 3);
    const auto rowAt = [&](int row) {
        return row < image.height ? image.pixels + static_cast<ptrdiff_t>(row) * image.stride : spare.data();
    };
    int row = 0;
#if defined(TAVELIN_PIXEL_PLANES)
    // Thirty-two rows at a time while more than sixteen are left.
    if (WideSmoothing()) {
        for (; row + kStripRows < image.height; row += kWideStripRows) {
            WideStrip strip{{}, image.width * 3};
            for (int r = 0; r < kWideStripRows; ++r) strip.rows[r] = rowAt(row + r);
            SmoothStrip(strip);
        }
    }
#endif
    for (; row < image.height; row += kStripRows) {
        Strip strip{{}, image.width * 3};
        for (int r = 0; r < kStripRows; ++r) strip.rows[r] = rowAt(row + r);
        SmoothStrip(strip);
    }
#else
    int row = 0;
    for (; row + 4 <= image.height; row += 4) {
        SmoothRows<4>(image.pixels + static_cast<ptrdiff_t>(row) * image.stride, image.stride, image.width);
    }
    for (; row < image.height; ++row) {
        SmoothRows<1>(image.pixels + static_cast<ptrdiff_t>(row) * image.stride, image.stride, image.width);
    }
#endif
}
