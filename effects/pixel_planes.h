// Sixteen pixels of an effect image row at a time, for the colour passes on
// processors with SSE4.1: the 48 bytes are sorted into blue, green and red
// planes with byte shuffles and each plane is split into the even and the odd
// pixels, eight 16-bit lanes each holding 0 to 255. The build targets plain
// x86-64, so these functions carry their own target and run only after
// Available() says the processor has the instructions.
#pragma once

#include <cstdint>

#include "effects/effects.h"

#if defined(__SSE2__) && defined(__GNUC__)
#define TAVELIN_PIXEL_PLANES 1
#include <immintrin.h>
#include <smmintrin.h>

#define TAVELIN_SSE4 __attribute__((target("sse4.1")))
// For the small helpers, which must melt into the loops that call them.
#define TAVELIN_SSE4_INLINE __attribute__((target("sse4.1"), always_inline)) inline
// For the arithmetic on the lanes, in the passes' lambdas.
#define TAVELIN_LANES_INLINE __attribute__((target("sse4.1"), always_inline))
#define TAVELIN_AVX2 __attribute__((target("avx2")))
#define TAVELIN_AVX2_INLINE __attribute__((target("avx2"), always_inline)) inline
#define TAVELIN_WIDE_LANES_INLINE __attribute__((target("avx2"), always_inline))

namespace pixel_planes {

// True when the processor runs SSE4.1, and AVX2 for the passes that also
// take thirty-two pixels at a time. A test may hold the passes to a level:
// 0 pixel by pixel, 1 up to sixteen pixels, 2 everything.
bool Available();
bool WideAvailable();
void LimitForTesting(int level);

// One channel of sixteen pixels: pixels 0, 2 .. 14 in the lanes of even,
// pixels 1, 3 .. 15 in those of odd.
struct Channel {
    __m128i even;
    __m128i odd;
};

struct Sixteen {
    Channel blue;
    Channel green;
    Channel red;
};

// The byte shuffles: split[channel][block] picks a channel's bytes out of
// one of the three 16-byte blocks, join[block][channel] puts them back.
struct Shuffles {
    alignas(16) uint8_t split[3][3][16];
    alignas(16) uint8_t join[3][3][16];
};

constexpr Shuffles MakeShuffles() {
    Shuffles shuffles{};
    for (int channel = 0; channel < 3; ++channel) {
        for (int block = 0; block < 3; ++block) {
            for (int lane = 0; lane < 16; ++lane) {
                const int from = 3 * lane + channel - 16 * block;
                shuffles.split[channel][block][lane] = static_cast<uint8_t>(from >= 0 && from < 16 ? from : 0x80);
                const int place = 16 * block + lane;
                shuffles.join[block][channel][lane] = static_cast<uint8_t>(place % 3 == channel ? place / 3 : 0x80);
            }
        }
    }
    return shuffles;
}

inline constexpr Shuffles kShuffles = MakeShuffles();

TAVELIN_SSE4_INLINE __m128i Shuffle(__m128i bytes, const uint8_t* order) {
    return _mm_shuffle_epi8(bytes, _mm_load_si128(reinterpret_cast<const __m128i*>(order)));
}

// One channel's sixteen bytes out of the three blocks, split into lanes.
TAVELIN_SSE4_INLINE Channel SplitChannel(__m128i first, __m128i second, __m128i third, int channel) {
    const auto& split = kShuffles.split[channel];
    const __m128i bytes = _mm_or_si128(_mm_or_si128(Shuffle(first, split[0]), Shuffle(second, split[1])),
                                       Shuffle(third, split[2]));
    return {_mm_and_si128(bytes, _mm_set1_epi16(0xFF)), _mm_srli_epi16(bytes, 8)};
}

// The three channels' bytes of one of the blocks.
TAVELIN_SSE4_INLINE __m128i JoinBlock(__m128i blue, __m128i green, __m128i red, int block) {
    const auto& join = kShuffles.join[block];
    return _mm_or_si128(_mm_or_si128(Shuffle(blue, join[0]), Shuffle(green, join[1])), Shuffle(red, join[2]));
}

TAVELIN_SSE4_INLINE __m128i ChannelBytes(const Channel& channel) {
    return _mm_or_si128(channel.even, _mm_slli_epi16(channel.odd, 8));
}

// The sixteen pixels from start.
TAVELIN_SSE4_INLINE Sixteen Load(const uint8_t* start) {
    const __m128i first = _mm_loadu_si128(reinterpret_cast<const __m128i*>(start));
    const __m128i second = _mm_loadu_si128(reinterpret_cast<const __m128i*>(start + 16));
    const __m128i third = _mm_loadu_si128(reinterpret_cast<const __m128i*>(start + 32));
    return {SplitChannel(first, second, third, 0), SplitChannel(first, second, third, 1),
            SplitChannel(first, second, third, 2)};
}

// Writes the sixteen pixels from start; every lane must hold 0 to 255.
TAVELIN_SSE4_INLINE void Store(uint8_t* start, const Sixteen& pixels) {
    const __m128i blue = ChannelBytes(pixels.blue);
    const __m128i green = ChannelBytes(pixels.green);
    const __m128i red = ChannelBytes(pixels.red);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(start), JoinBlock(blue, green, red, 0));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(start + 16), JoinBlock(blue, green, red, 1));
    _mm_storeu_si128(reinterpret_cast<__m128i*>(start + 32), JoinBlock(blue, green, red, 2));
}

// Calls lanes(blue, green, red) on the even and on the odd lanes of every
// sixteen pixels of each row, and pixel(pixel) on the rest of the row.
template <typename Lanes, typename Pixel>
TAVELIN_SSE4 void ForEachSixteen(const EffectImage& image, Lanes lanes, Pixel pixel) {
    for (int row = 0; row < image.height; ++row) {
        uint8_t* line = image.pixels + static_cast<ptrdiff_t>(row) * image.stride;
        int x = 0;
        for (; x + 16 <= image.width; x += 16) {
            Sixteen pixels = Load(line + 3 * x);
            lanes(pixels.blue.even, pixels.green.even, pixels.red.even);
            lanes(pixels.blue.odd, pixels.green.odd, pixels.red.odd);
            Store(line + 3 * x, pixels);
        }
        for (; x < image.width; ++x) pixel(line + 3 * x);
    }
}

// Thirty-two pixels: the two 128-bit halves of each register hold sixteen
// pixels each, sorted as above.
struct WideChannel {
    __m256i even;
    __m256i odd;
};

struct ThirtyTwo {
    WideChannel blue;
    WideChannel green;
    WideChannel red;
};

TAVELIN_AVX2_INLINE __m256i Shuffle(__m256i bytes, const uint8_t* order) {
    return _mm256_shuffle_epi8(bytes,
                               _mm256_broadcastsi128_si256(_mm_load_si128(reinterpret_cast<const __m128i*>(order))));
}

TAVELIN_AVX2_INLINE __m256i LoadBlocks(const uint8_t* start) {
    return _mm256_inserti128_si256(
        _mm256_castsi128_si256(_mm_loadu_si128(reinterpret_cast<const __m128i*>(start))),
        _mm_loadu_si128(reinterpret_cast<const __m128i*>(start + 48)), 1);
}

TAVELIN_AVX2_INLINE WideChannel SplitChannel(__m256i first, __m256i second, __m256i third, int channel) {
    const auto& split = kShuffles.split[channel];
    const __m256i bytes = _mm256_or_si256(_mm256_or_si256(Shuffle(first, split[0]), Shuffle(second, split[1])),
                                          Shuffle(third, split[2]));
    return {_mm256_and_si256(bytes, _mm256_set1_epi16(0xFF)), _mm256_srli_epi16(bytes, 8)};
}

TAVELIN_AVX2_INLINE ThirtyTwo LoadWide(const uint8_t* start) {
    const __m256i first = LoadBlocks(start);
    const __m256i second = LoadBlocks(start + 16);
    const __m256i third = LoadBlocks(start + 32);
    return {SplitChannel(first, second, third, 0), SplitChannel(first, second, third, 1),
            SplitChannel(first, second, third, 2)};
}

TAVELIN_AVX2_INLINE __m256i ChannelBytes(const WideChannel& channel) {
    return _mm256_or_si256(channel.even, _mm256_slli_epi16(channel.odd, 8));
}

TAVELIN_AVX2_INLINE void StoreWide(uint8_t* start, const ThirtyTwo& pixels) {
    const __m256i blue = ChannelBytes(pixels.blue);
    const __m256i green = ChannelBytes(pixels.green);
    const __m256i red = ChannelBytes(pixels.red);
    for (int block = 0; block < 3; ++block) {
        const auto& join = kShuffles.join[block];
        const __m256i out = _mm256_or_si256(_mm256_or_si256(Shuffle(blue, join[0]), Shuffle(green, join[1])),
                                            Shuffle(red, join[2]));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(start + 16 * block), _mm256_castsi256_si128(out));
        _mm_storeu_si128(reinterpret_cast<__m128i*>(start + 48 + 16 * block), _mm256_extracti128_si256(out, 1));
    }
}

// As ForEachSixteen, with wideLanes on thirty-two pixels at a time first.
template <typename WideLanes, typename Lanes, typename Pixel>
TAVELIN_AVX2 void ForEachThirtyTwo(const EffectImage& image, WideLanes wideLanes, Lanes lanes, Pixel pixel) {
    for (int row = 0; row < image.height; ++row) {
        uint8_t* line = image.pixels + static_cast<ptrdiff_t>(row) * image.stride;
        int x = 0;
        for (; x + 32 <= image.width; x += 32) {
            ThirtyTwo pixels = LoadWide(line + 3 * x);
            wideLanes(pixels.blue.even, pixels.green.even, pixels.red.even);
            wideLanes(pixels.blue.odd, pixels.green.odd, pixels.red.odd);
            StoreWide(line + 3 * x, pixels);
        }
        for (; x + 16 <= image.width; x += 16) {
            Sixteen pixels = Load(line + 3 * x);
            lanes(pixels.blue.even, pixels.green.even, pixels.red.even);
            lanes(pixels.blue.odd, pixels.green.odd, pixels.red.odd);
            Store(line + 3 * x, pixels);
        }
        for (; x < image.width; ++x) pixel(line + 3 * x);
    }
}

}  // namespace pixel_planes

#endif
