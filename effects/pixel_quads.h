// Four pixels of an effect image row at a time, for the passes that run on
// SSE2: each pixel of a quad sits in a 32-bit lane as blue, green, red, 0.
// Builds without SSE2 leave TAVELIN_PIXEL_QUADS undefined and the passes run
// their pixel-by-pixel code alone.
#pragma once

#include <cstdint>

#if defined(__SSE2__)
#define TAVELIN_PIXEL_QUADS 1
#include <emmintrin.h>

namespace pixel_quads {

// Loads the four pixels from start, reading two bytes past them.
inline __m128i Load(const uint8_t* start) {
    const __m128i raw = _mm_unpacklo_epi64(_mm_loadl_epi64(reinterpret_cast<const __m128i*>(start)),
                                           _mm_loadl_epi64(reinterpret_cast<const __m128i*>(start + 6)));
    const __m128i low = _mm_and_si128(raw, _mm_set1_epi64x(0xFFFFFF));
    const __m128i high = _mm_and_si128(_mm_slli_epi64(raw, 8), _mm_set1_epi64x(0xFFFFFF00000000ll));
    return _mm_or_si128(low, high);
}

// Stores the four pixels' twelve bytes from start, and nothing past them, so
// that the next quad's loads never wait for these stores.
inline void Store(uint8_t* start, __m128i pixels) {
    const __m128i low = _mm_and_si128(pixels, _mm_set1_epi64x(0xFFFFFF));
    const __m128i high = _mm_and_si128(_mm_srli_epi64(pixels, 8), _mm_set1_epi64x(0xFFFFFF000000ll));
    const __m128i halves = _mm_or_si128(low, high);
    const __m128i bytes = _mm_or_si128(_mm_move_epi64(halves), _mm_slli_si128(_mm_srli_si128(halves, 8), 6));
    _mm_storel_epi64(reinterpret_cast<__m128i*>(start), bytes);
    _mm_storel_epi64(reinterpret_cast<__m128i*>(start + 4), _mm_srli_si128(bytes, 4));
}

// The channel planes of two quads, eight 16-bit lanes each.
struct Planes {
    __m128i blue;
    __m128i green;
    __m128i red;
};

inline Planes Split(__m128i first, __m128i second) {
    const __m128i byte = _mm_set1_epi32(0xFF);
    return {_mm_packs_epi32(_mm_and_si128(first, byte), _mm_and_si128(second, byte)),
            _mm_packs_epi32(_mm_and_si128(_mm_srli_epi32(first, 8), byte),
                            _mm_and_si128(_mm_srli_epi32(second, 8), byte)),
            _mm_packs_epi32(_mm_srli_epi32(first, 16), _mm_srli_epi32(second, 16))};
}

// The two quads of planes whose lanes hold 0 to 255.
inline void Join(const Planes& planes, __m128i* first, __m128i* second) {
    const __m128i zero = _mm_setzero_si128();
    *first = _mm_or_si128(_mm_unpacklo_epi16(planes.blue, planes.red),
                          _mm_slli_epi32(_mm_unpacklo_epi16(planes.green, zero), 8));
    *second = _mm_or_si128(_mm_unpackhi_epi16(planes.blue, planes.red),
                           _mm_slli_epi32(_mm_unpackhi_epi16(planes.green, zero), 8));
}

// The 16-bit lanes where mask is set take yes, the others no.
inline __m128i Select(__m128i mask, __m128i yes, __m128i no) {
    return _mm_or_si128(_mm_and_si128(mask, yes), _mm_andnot_si128(mask, no));
}

// Each lane's value 0 to 255 in its blue, green and red bytes.
inline __m128i Grey(__m128i level) {
    return _mm_or_si128(_mm_or_si128(level, _mm_slli_epi32(level, 8)), _mm_slli_epi32(level, 16));
}

}  // namespace pixel_quads

#endif

// True when (value * magic) >> shift equals value / divisor for every value
// from 0 to limit: the passes divide by constants this way.
constexpr bool DividesExactly(int divisor, uint32_t magic, int shift, int limit) {
    for (uint32_t value = 0; value <= static_cast<uint32_t>(limit); ++value) {
        if (((value * magic) >> shift) != value / static_cast<uint32_t>(divisor)) return false;
    }
    return true;
}
