// The colour effects: each pixel, or each row, of the effect image changes
// colour by the effect's own arithmetic on its (B, G, R) bytes.
#include <algorithm>
#include <array>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "effects/passes.h"
#include "effects/pixel_planes.h"
#include "effects/pixel_quads.h"
#include "shell/random.h"

namespace {

// The luminance of a weighted sum, sum / 100, as (sum * kBy100) >> 19.
constexpr uint32_t kBy100 = 5243;
static_assert(DividesExactly(100, kBy100, 19, kMaxWeightedSum));

// Calls quad(pixels) for runs of four pixels and pixel(pixel) for the rest
// of each row, which must hold two bytes past the quads.
template <typename QuadVisit, typename Visit>
void ForEachQuad(const EffectImage& image, QuadVisit quad, Visit visit) {
    for (int row = 0; row < image.height; ++row) {
        uint8_t* line = image.pixels + static_cast<ptrdiff_t>(row) * image.stride;
        int x = 0;
#if defined(TAVELIN_PIXEL_QUADS)
        for (; x + 5 <= image.width; x += 4) {
            pixel_quads::Store(line + 3 * x, quad(pixel_quads::Load(line + 3 * x)));
        }
#else
        (void)quad;
#endif
        for (; x < image.width; ++x) visit(line + 3 * x);
    }
}

#if defined(TAVELIN_PIXEL_QUADS)
// The weighted sums of a quad's pixels, in the low half of each lane.
__m128i WeightedSums(__m128i pixels) {
    const __m128i evenBytes = _mm_set1_epi32(0x00FF00FF);
    const __m128i blueRed = _mm_and_si128(pixels, evenBytes);
    const __m128i green = _mm_and_si128(_mm_srli_epi32(pixels, 8), evenBytes);
    return _mm_add_epi32(_mm_madd_epi16(blueRed, _mm_set1_epi32(11 | (30 << 16))),
                         _mm_madd_epi16(green, _mm_set1_epi32(59)));
}

// value * magic >> (16 + shift) in each 16-bit lane.
__m128i Divide(__m128i value, uint32_t magic, int shift) {
    return _mm_srli_epi16(_mm_mulhi_epu16(value, _mm_set1_epi16(static_cast<short>(magic))), shift);
}
#endif

// Calls visit(pixel) for every pixel, row 0 first, left to right.
template <typename Visit>
void ForEachPixel(const EffectImage& image, Visit visit) {
    for (int row = 0; row < image.height; ++row) {
        uint8_t* pixel = image.pixels + static_cast<ptrdiff_t>(row) * image.stride;
        for (int x = 0; x < image.width; ++x, pixel += 3) visit(pixel);
    }
}

// The same for effects that are costly per pixel: a run of pixels of one
// colour, common in drawings, takes the result of its first pixel.
template <typename Visit>
void ForEachColour(const EffectImage& image, Visit visit) {
    for (int row = 0; row < image.height; ++row) {
        uint8_t* pixel = image.pixels + static_cast<ptrdiff_t>(row) * image.stride;
        uint32_t lastColour = ~0u;
        uint8_t lastResult[3] = {};
        for (int x = 0; x < image.width; ++x, pixel += 3) {
            const uint32_t colour = pixel[0] | (pixel[1] << 8) | (pixel[2] << 16);
            if (colour != lastColour) {
                lastColour = colour;
                visit(pixel);
                memcpy(lastResult, pixel, 3);
            } else {
                memcpy(pixel, lastResult, 3);
            }
        }
    }
}

// A table of the 256 results of a byte function.
template <typename Function>
std::array<uint8_t, 256> ByteTable(Function function) {
    std::array<uint8_t, 256> table{};
    for (int value = 0; value < 256; ++value) table[value] = static_cast<uint8_t>(function(value));
    return table;
}

const std::array<uint8_t, 256> kUpByAThird = ByteTable([](int c) { return std::min(c * 4 / 3, 255); });
const std::array<uint8_t, 256> kUpByASeventh = ByteTable([](int c) { return std::min(c * 8 / 7, 255); });
const std::array<uint8_t, 256> kDownByAQuarter = ByteTable([](int c) { return c * 3 / 4; });

// The luminance of each weighted sum: the sum divided by 100.
const std::vector<uint8_t> kLuminance = [] {
    std::vector<uint8_t> table(kMaxWeightedSum + 1);
    for (int sum = 0; sum <= kMaxWeightedSum; ++sum) table[sum] = static_cast<uint8_t>(sum / 100);
    return table;
}();

constexpr int kStreakLength = 49;
constexpr int kStreakMargin = 52;

int PixelSum(const uint8_t* pixel) { return pixel[0] + pixel[1] + pixel[2]; }

void SetGrey(uint8_t* pixel, int level) {
    pixel[0] = pixel[1] = pixel[2] = static_cast<uint8_t>(level);
}

}  // namespace

int DominantChannel(const uint8_t* pixel) {
    const int blueOverGreen = ChannelDifference(pixel[0], pixel[1]);
    if (blueOverGreen == 0 && ChannelDifference(pixel[0], pixel[2]) == 0) return -1;
    const int candidate = blueOverGreen > 0 ? 0 : 1;
    return ChannelDifference(pixel[2], pixel[candidate]) > 0 ? 2 : candidate;
}

namespace {

void BrightenPixel(uint8_t* pixel) {
    const int dominant = DominantChannel(pixel);
    const uint8_t lead = kUpByAThird[pixel[dominant < 0 ? 0 : dominant]];
    pixel[0] = kUpByASeventh[pixel[0]];
    pixel[1] = kUpByASeventh[pixel[1]];
    pixel[2] = kUpByASeventh[pixel[2]];
    if (dominant >= 0) pixel[dominant] = lead;
}

void DeepenPixel(uint8_t* pixel) {
    pixel[0] = kDownByAQuarter[pixel[0]];
    pixel[1] = kDownByAQuarter[pixel[1]];
    pixel[2] = kDownByAQuarter[pixel[2]];
    const int dominant = DominantChannel(pixel);
    if (dominant < 0) return;
    // Channels equal to the leader, the leader among them, keep their value.
    const uint8_t strongest = pixel[dominant];
    for (int channel = 0; channel < 3; ++channel) {
        if (pixel[channel] != strongest) pixel[channel] = kDownByAQuarter[pixel[channel]];
    }
}

void GreyPixel(uint8_t* pixel) { SetGrey(pixel, kLuminance[WeightedSum(pixel)]); }

void GlowBluePixel(uint8_t* pixel) {
    const int v = WeightedSum(pixel) / 39;
    pixel[0] = static_cast<uint8_t>(std::min(v, 255));
    pixel[1] = static_cast<uint8_t>(v > 255 ? std::min(v - 255, 200) : 0);
    pixel[2] = static_cast<uint8_t>(v > 455 ? std::min(v - 455, 200) : 0);
}

void GlowWarmPixel(uint8_t* pixel) {
    const int v = WeightedSum(pixel) / 40;
    pixel[0] = 0;
    pixel[1] = static_cast<uint8_t>(std::min(v / 3, 200));
    pixel[2] = static_cast<uint8_t>(std::min(2 * v / 3, 255));
}

#if defined(TAVELIN_PIXEL_PLANES)

// The SSE4.1 passes, on eight pixels' channels in 16-bit lanes at a time.
using pixel_planes::ForEachSixteen;

// value / divisor as (value * magic) >> (16 + shift).
[[gnu::always_inline]] inline __m128i DivideLanes(__m128i value, uint16_t magic, int shift) {
    return _mm_srli_epi16(_mm_mulhi_epu16(value, _mm_set1_epi16(static_cast<short>(magic))), shift);
}

constexpr uint16_t kSeventh = 9363;
static_assert(DividesExactly(7, kSeventh, 16, 8 * 255));
constexpr uint16_t kThird = 21846;
static_assert(DividesExactly(3, kThird, 16, 5 * 255));
static_assert(DividesExactly(7, kSeventh, 16, 255) && DividesExactly(3, kThird, 16, 255));
constexpr uint16_t kBy39 = 26887;
static_assert(DividesExactly(39, kBy39, 20, kMaxWeightedSum));
constexpr uint16_t kBy40 = 26215;
static_assert(DividesExactly(40, kBy40, 20, kMaxWeightedSum));

[[gnu::always_inline]] inline __m128i SumLanes(__m128i blue, __m128i green, __m128i red) {
    return _mm_add_epi16(_mm_add_epi16(_mm_mullo_epi16(blue, _mm_set1_epi16(11)),
                                       _mm_mullo_epi16(green, _mm_set1_epi16(59))),
                         _mm_mullo_epi16(red, _mm_set1_epi16(30)));
}

[[gnu::always_inline]] inline __m128i LuminanceLanes(__m128i blue, __m128i green, __m128i red) {
    return DivideLanes(SumLanes(blue, green, red), static_cast<uint16_t>(kBy100), 3);
}

// The lanes where the channel leads, as DominantChannel says; none is set
// where no channel stands out, and some where one does.
struct Leader {
    __m128i blue;
    __m128i green;
    __m128i red;
    __m128i some;
};

TAVELIN_SSE4_INLINE Leader LeaderLanes(__m128i blue, __m128i green, __m128i red) {
    const __m128i two = _mm_set1_epi16(2);
    const __m128i blueLessGreen = _mm_sub_epi16(blue, green);
    const __m128i blueOverGreen = _mm_cmpgt_epi16(blueLessGreen, two);
    const __m128i some = _mm_or_si128(_mm_cmpgt_epi16(_mm_abs_epi16(blueLessGreen), two),
                                      _mm_cmpgt_epi16(_mm_abs_epi16(_mm_sub_epi16(blue, red)), two));
    const __m128i candidate = _mm_blendv_epi8(green, blue, blueOverGreen);
    const __m128i redOver = _mm_cmpgt_epi16(_mm_sub_epi16(red, candidate), two);
    return {_mm_andnot_si128(redOver, blueOverGreen), _mm_andnot_si128(redOver, _mm_andnot_si128(blueOverGreen, some)),
            _mm_and_si128(redOver, some), some};
}

// Brighten on eight pixels' channels.
TAVELIN_SSE4_INLINE void BrightenLanes(__m128i& blue, __m128i& green, __m128i& red) {
    const Leader leader = LeaderLanes(blue, green, red);
    // c * 8 / 7 is c + c / 7, and c * 4 / 3 is c + c / 3: one division
    // whose magic number the lane's lead chooses.
    const auto up = [](__m128i value, __m128i leads) TAVELIN_LANES_INLINE {
        const __m128i magic = _mm_add_epi16(_mm_set1_epi16(static_cast<short>(kSeventh)),
                                            _mm_and_si128(leads, _mm_set1_epi16(kThird - kSeventh)));
        return _mm_min_epi16(_mm_add_epi16(value, _mm_mulhi_epu16(value, magic)), _mm_set1_epi16(255));
    };
    blue = up(blue, leader.blue);
    green = up(green, leader.green);
    red = up(red, leader.red);
}

TAVELIN_SSE4 void BrightenSixteens(const EffectImage& image) {
    ForEachSixteen(image, [](__m128i& blue, __m128i& green, __m128i& red) TAVELIN_LANES_INLINE {
        BrightenLanes(blue, green, red);
    }, BrightenPixel);
}

// The deep colours of eight pixels' channels: each down by a quarter, and
// where a channel leads, the others but those equal to it down once more.
TAVELIN_SSE4_INLINE void DeepenLanes(__m128i& blue, __m128i& green, __m128i& red) {
    const auto down = [](__m128i value) TAVELIN_LANES_INLINE {
        return _mm_srli_epi16(_mm_mullo_epi16(value, _mm_set1_epi16(3)), 2);
    };
    blue = down(blue);
    green = down(green);
    red = down(red);
    const Leader leader = LeaderLanes(blue, green, red);
    const __m128i strongest = _mm_blendv_epi8(_mm_blendv_epi8(red, green, leader.green), blue, leader.blue);
    const auto again = [&](__m128i value) TAVELIN_LANES_INLINE {
        return _mm_blendv_epi8(value, down(value), _mm_andnot_si128(_mm_cmpeq_epi16(value, strongest), leader.some));
    };
    blue = again(blue);
    green = again(green);
    red = again(red);
}

// The same on sixteen pixels' channels.
TAVELIN_AVX2_INLINE __m256i DownWide(__m256i value) {
    return _mm256_srli_epi16(_mm256_mullo_epi16(value, _mm256_set1_epi16(3)), 2);
}

TAVELIN_AVX2_INLINE __m256i DownAgainWide(__m256i value, __m256i strongest, __m256i some) {
    return _mm256_blendv_epi8(value, DownWide(value), _mm256_andnot_si256(_mm256_cmpeq_epi16(value, strongest), some));
}

struct WideLeader {
    __m256i blue;
    __m256i green;
    __m256i red;
    __m256i some;
};

TAVELIN_AVX2_INLINE WideLeader LeaderWide(__m256i blue, __m256i green, __m256i red) {
    const __m256i two = _mm256_set1_epi16(2);
    const __m256i blueLessGreen = _mm256_sub_epi16(blue, green);
    const __m256i blueOverGreen = _mm256_cmpgt_epi16(blueLessGreen, two);
    const __m256i some = _mm256_or_si256(_mm256_cmpgt_epi16(_mm256_abs_epi16(blueLessGreen), two),
                                         _mm256_cmpgt_epi16(_mm256_abs_epi16(_mm256_sub_epi16(blue, red)), two));
    const __m256i candidate = _mm256_blendv_epi8(green, blue, blueOverGreen);
    const __m256i redOver = _mm256_cmpgt_epi16(_mm256_sub_epi16(red, candidate), two);
    return {_mm256_andnot_si256(redOver, blueOverGreen),
            _mm256_andnot_si256(redOver, _mm256_andnot_si256(blueOverGreen, some)), _mm256_and_si256(redOver, some),
            some};
}

TAVELIN_AVX2_INLINE void DeepenWideLanes(__m256i& blue, __m256i& green, __m256i& red) {
    blue = DownWide(blue);
    green = DownWide(green);
    red = DownWide(red);
    const WideLeader leader = LeaderWide(blue, green, red);
    const __m256i strongest = _mm256_blendv_epi8(_mm256_blendv_epi8(red, green, leader.green), blue, leader.blue);
    blue = DownAgainWide(blue, strongest, leader.some);
    green = DownAgainWide(green, strongest, leader.some);
    red = DownAgainWide(red, strongest, leader.some);
}

// Brighten's c + c / 7, or c + c / 3 where the channel leads, up to 255.
TAVELIN_AVX2_INLINE __m256i UpWide(__m256i value, __m256i leads) {
    const __m256i magic = _mm256_add_epi16(_mm256_set1_epi16(static_cast<short>(kSeventh)),
                                           _mm256_and_si256(leads, _mm256_set1_epi16(kThird - kSeventh)));
    return _mm256_min_epi16(_mm256_add_epi16(value, _mm256_mulhi_epu16(value, magic)), _mm256_set1_epi16(255));
}

TAVELIN_AVX2 void BrightenThirtyTwos(const EffectImage& image) {
    pixel_planes::ForEachThirtyTwo(
        image,
        [](__m256i& blue, __m256i& green, __m256i& red) TAVELIN_WIDE_LANES_INLINE {
            const WideLeader leader = LeaderWide(blue, green, red);
            blue = UpWide(blue, leader.blue);
            green = UpWide(green, leader.green);
            red = UpWide(red, leader.red);
        },
        [](__m128i& blue, __m128i& green, __m128i& red) TAVELIN_LANES_INLINE { BrightenLanes(blue, green, red); },
        BrightenPixel);
}

TAVELIN_SSE4 void DeepenSixteens(const EffectImage& image) {
    ForEachSixteen(image, [](__m128i& blue, __m128i& green, __m128i& red) TAVELIN_LANES_INLINE {
        DeepenLanes(blue, green, red);
    }, DeepenPixel);
}

TAVELIN_AVX2 void DeepenThirtyTwos(const EffectImage& image) {
    pixel_planes::ForEachThirtyTwo(
        image,
        [](__m256i& blue, __m256i& green, __m256i& red) TAVELIN_WIDE_LANES_INLINE {
            DeepenWideLanes(blue, green, red);
        },
        [](__m128i& blue, __m128i& green, __m128i& red) TAVELIN_LANES_INLINE { DeepenLanes(blue, green, red); },
        DeepenPixel);
}

TAVELIN_SSE4 void GreySixteens(const EffectImage& image) {
    ForEachSixteen(
        image,
        [](__m128i& blue, __m128i& green, __m128i& red) TAVELIN_LANES_INLINE { blue = green = red = LuminanceLanes(blue, green, red); },
        GreyPixel);
}

TAVELIN_SSE4 void GlowBlueSixteens(const EffectImage& image) {
    ForEachSixteen(
        image,
        [](__m128i& blue, __m128i& green, __m128i& red) TAVELIN_LANES_INLINE {
            const __m128i v = DivideLanes(SumLanes(blue, green, red), kBy39, 4);
            const __m128i most = _mm_set1_epi16(200);
            blue = _mm_min_epi16(v, _mm_set1_epi16(255));
            green = _mm_min_epi16(_mm_subs_epu16(v, _mm_set1_epi16(255)), most);
            red = _mm_min_epi16(_mm_subs_epu16(v, _mm_set1_epi16(455)), most);
        },
        GlowBluePixel);
}

TAVELIN_SSE4 void GlowWarmSixteens(const EffectImage& image) {
    ForEachSixteen(
        image,
        [](__m128i& blue, __m128i& green, __m128i& red) TAVELIN_LANES_INLINE {
            const __m128i v = DivideLanes(SumLanes(blue, green, red), kBy40, 4);
            red = _mm_min_epi16(DivideLanes(_mm_add_epi16(v, v), kThird, 0), _mm_set1_epi16(255));
            green = _mm_min_epi16(DivideLanes(v, kThird, 0), _mm_set1_epi16(200));
            blue = _mm_setzero_si128();
        },
        GlowWarmPixel);
}

// The relief of a row's runs of sixteen pixels; previous is the luminance
// left of the first and becomes that of the last. Returns the pixels done.
TAVELIN_SSE4 int ReliefSixteens(uint8_t* line, int width, int* previous) {
    // Lane 7 of before is the luminance of the pixel left of the next run.
    __m128i before = _mm_set1_epi16(static_cast<short>(*previous));
    int x = 0;
    for (; x + 16 <= width; x += 16) {
        pixel_planes::Sixteen pixels = pixel_planes::Load(line + 3 * x);
        const __m128i even = LuminanceLanes(pixels.blue.even, pixels.green.even, pixels.red.even);
        const __m128i odd = LuminanceLanes(pixels.blue.odd, pixels.green.odd, pixels.red.odd);
        const __m128i evenLeft = _mm_or_si128(_mm_slli_si128(odd, 2), _mm_srli_si128(before, 14));
        const auto rise = [](__m128i luminance, __m128i left) TAVELIN_LANES_INLINE {
            const __m128i step = _mm_sub_epi16(luminance, left);
            const __m128i bounded = _mm_max_epi16(_mm_min_epi16(step, _mm_set1_epi16(127)), _mm_set1_epi16(-127));
            return _mm_add_epi16(bounded, _mm_set1_epi16(128));
        };
        const __m128i evenRise = rise(even, evenLeft);
        const __m128i oddRise = rise(odd, even);
        pixels.blue = pixels.green = pixels.red = {evenRise, oddRise};
        pixel_planes::Store(line + 3 * x, pixels);
        before = odd;
    }
    *previous = _mm_extract_epi16(before, 7);
    return x;
}

#endif

}  // namespace

void Brighten(const EffectImage& image) {
#if defined(TAVELIN_PIXEL_PLANES)
    if (pixel_planes::WideAvailable()) return BrightenThirtyTwos(image);
    if (pixel_planes::Available()) return BrightenSixteens(image);
#endif
    ForEachColour(image, BrightenPixel);
}

void DeepenColours(const EffectImage& image) {
#if defined(TAVELIN_PIXEL_PLANES)
    if (pixel_planes::WideAvailable()) return DeepenThirtyTwos(image);
    if (pixel_planes::Available()) return DeepenSixteens(image);
#endif
    ForEachColour(image, DeepenPixel);
}

void MakeNegative(const EffectImage& image) {
    ForEachQuad(
        image,
        [](auto pixels) {
#if defined(TAVELIN_PIXEL_QUADS)
            const __m128i negative = _mm_xor_si128(pixels, _mm_set1_epi32(0xFFFFFF));
            const __m128i black = _mm_cmpeq_epi32(negative, _mm_setzero_si128());
            return _mm_or_si128(negative, _mm_and_si128(black, _mm_set1_epi32(0x080808)));
#else
            return pixels;
#endif
        },
        [](uint8_t* pixel) {
            pixel[0] = static_cast<uint8_t>(255 - pixel[0]);
            pixel[1] = static_cast<uint8_t>(255 - pixel[1]);
            pixel[2] = static_cast<uint8_t>(255 - pixel[2]);
            if ((pixel[0] | pixel[1] | pixel[2]) == 0) SetGrey(pixel, 8);
        });
}

void MakeGreyscale(const EffectImage& image) {
#if defined(TAVELIN_PIXEL_PLANES)
    if (pixel_planes::Available()) return GreySixteens(image);
#endif
    ForEachQuad(
        image,
        [](auto pixels) {
#if defined(TAVELIN_PIXEL_QUADS)
            return pixel_quads::Grey(Divide(WeightedSums(pixels), kBy100, 3));
#else
            return pixels;
#endif
        },
        GreyPixel);
}

void RotateChannels(const EffectImage& image) {
    const int turn = Random() % 6;
    if (turn == 0 || turn == 3 || turn == 4) {
        ForEachPixel(image, [](uint8_t* pixel) {
            const uint8_t blue = pixel[0];
            pixel[0] = pixel[1];
            pixel[1] = pixel[2];
            pixel[2] = blue;
        });
    } else {
        ForEachPixel(image, [](uint8_t* pixel) {
            const uint8_t blue = pixel[0];
            pixel[0] = pixel[2];
            pixel[2] = pixel[1];
            pixel[1] = blue;
        });
    }
}

void GlowBlue(const EffectImage& image) {
#if defined(TAVELIN_PIXEL_PLANES)
    if (pixel_planes::Available()) return GlowBlueSixteens(image);
#endif
    ForEachColour(image, GlowBluePixel);
}

void GlowWarm(const EffectImage& image) {
#if defined(TAVELIN_PIXEL_PLANES)
    if (pixel_planes::Available()) return GlowWarmSixteens(image);
#endif
    ForEachColour(image, GlowWarmPixel);
}

// Every few rows, a streak of light fading to the right starts where the
// colour jumps, one time in four.
void PaintLightStreaks(const EffectImage& image) {
    for (int row = 0; row < image.height; row += 1 + Random() % 6) {
        uint8_t* line = image.pixels + static_cast<ptrdiff_t>(row) * image.stride;
        for (int x = 0; x < image.width - kStreakMargin; ++x) {
            const int jump = std::abs(PixelSum(line + 3 * x) - PixelSum(line + 3 * x + 3));
            if (jump > 200 && Random() % 4 == 0) {
                for (int i = 1; i <= kStreakLength; ++i) SetGrey(line + 3 * (x + i), 256 - i);
                x += 50;
            }
        }
    }
}

// Each pixel shows how much lighter it is than its left neighbour, on grey.
void RaiseRelief(const EffectImage& image) {
#if defined(TAVELIN_PIXEL_PLANES)
    const bool planes = pixel_planes::Available();
#endif
    for (int row = 0; row < image.height; ++row) {
        uint8_t* line = image.pixels + static_cast<ptrdiff_t>(row) * image.stride;
        // The first pixel is its own left neighbour.
        int previous = kLuminance[WeightedSum(line)];
        int x = 0;
#if defined(TAVELIN_PIXEL_PLANES)
        if (planes) x = ReliefSixteens(line, image.width, &previous);
#endif
#if defined(TAVELIN_PIXEL_QUADS)
        __m128i before = _mm_set1_epi32(previous);
        for (; x + 5 <= image.width; x += 4) {
            const __m128i luminance = Divide(WeightedSums(pixel_quads::Load(line + 3 * x)), kBy100, 3);
            const __m128i left = _mm_or_si128(_mm_slli_si128(luminance, 4), _mm_srli_si128(before, 12));
            const __m128i rise = _mm_max_epi16(_mm_min_epi16(_mm_sub_epi16(luminance, left), _mm_set1_epi16(127)),
                                               _mm_set1_epi16(-127));
            pixel_quads::Store(line + 3 * x, pixel_quads::Grey(_mm_add_epi16(rise, _mm_set1_epi32(128))));
            before = luminance;
        }
        previous = _mm_cvtsi128_si32(_mm_srli_si128(before, 12));
#endif
        for (; x < image.width; ++x) {
            uint8_t* pixel = line + 3 * x;
            const int luminance = kLuminance[WeightedSum(pixel)];
            SetGrey(pixel, std::clamp(luminance - previous, -127, 127) + 128);
            previous = luminance;
        }
    }
}

#if defined(TAVELIN_PIXEL_PLANES)
namespace pixel_planes {

namespace {
int g_level = 2;
}  // namespace

bool Available() {
    static const bool supported = __builtin_cpu_supports("sse4.1");
    return supported && g_level >= 1;
}

bool WideAvailable() {
    static const bool supported = __builtin_cpu_supports("avx2");
    return supported && Available() && g_level >= 2;
}

void LimitForTesting(int level) { g_level = level; }

}  // namespace pixel_planes
#endif
