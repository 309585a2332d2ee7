// The light and shadow masks: headerless files of one byte per pixel of the
// effect image, row 0 first, read from the data root and laid over the image
// by the five mask effects.
#include <algorithm>
#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "effects/passes.h"
#include "shell/data_paths.h"
#include "shell/memory.h"
#include "storage/files.h"

namespace {

// A mask's bytes in a heap block sized for the image, zero past the file's
// end.
class MaskBytes {
public:
    explicit MaskBytes(size_t size)
        : m_size(size), m_data(static_cast<uint8_t*>(AllocBlock(size, GMEM_ZEROINIT))) {}
    ~MaskBytes() { FreeBlock(m_data); }
    MaskBytes(const MaskBytes&) = delete;
    MaskBytes& operator=(const MaskBytes&) = delete;

    uint8_t* Data() const { return m_data; }
    size_t Size() const { return m_size; }

    // Reads up to Size() bytes from the start of the named file; a longer
    // file's tail is never read.
    [[nodiscard]] bool Read(const char* name) {
        if (m_data == nullptr) return false;
        HANDLE file = nullptr;
        if (OpenNamedFile(name, &file, kOpenRead) != 0) return false;
        DWORD fileSize = 0;
        long error = FileSize(file, &fileSize);
        if (error == 0) {
            DWORD count = static_cast<DWORD>(std::min<size_t>(fileSize, m_size));
            if (count > 0) error = ReadBlock(file, &count, m_data);
            // A file that shrank while it was read leaves zeros, as a short one does.
            if (error == kShortRead) error = 0;
        }
        const long closeError = CloseFile(file);
        return error == 0 && closeError == 0;
    }

private:
    size_t m_size;
    uint8_t* m_data;
};

constexpr uint64_t kHighBits = 0x8080808080808080ull;

// Eight saturating byte additions and subtractions in one word.
uint64_t AddBytes(uint64_t a, uint64_t b) {
    uint64_t sum = (a & ~kHighBits) + (b & ~kHighBits);
    const uint64_t carry = ((a & b) | ((a | b) & sum)) & kHighBits;
    sum ^= (a ^ b) & kHighBits;
    return sum | ((carry >> 7) * 0xFF);
}

uint64_t SubtractBytes(uint64_t a, uint64_t b) {
    const uint64_t difference = ((a | kHighBits) - (b & ~kHighBits)) ^ ((a ^ ~b) & kHighBits);
    const uint64_t borrow = ((~a & b) | ((~a | b) & difference)) & kHighBits;
    return difference & ~((borrow >> 7) * 0xFF);
}

#if defined(__SSE2__)
// The order of four lanes, first lane first, for the SSE2 shuffles.
constexpr int Lanes(int a, int b, int c, int d) { return a | (b << 2) | (c << 4) | (d << 6); }

// Sixteen bytes of doubled mask bytes, the words in the first order, but
// for the bytes of second, which take them in the second order.
template <int FirstLow, int FirstHigh, int SecondLow, int SecondHigh>
__m128i Arrange(__m128i words, __m128i second) {
    const __m128i one = _mm_shufflehi_epi16(_mm_shufflelo_epi16(words, FirstLow), FirstHigh);
    const __m128i other = _mm_shufflehi_epi16(_mm_shufflelo_epi16(words, SecondLow), SecondHigh);
    return _mm_or_si128(_mm_andnot_si128(second, one), _mm_and_si128(second, other));
}

// The light or shadow of sixteen mask bytes spread over the 48 bytes of
// their pixels: each output word takes a word of doubled mask bytes, and the
// words whose two bytes belong to two pixels take their second byte from a
// second arrangement.
template <bool Light>
void LaySixteen(uint8_t* bytes, const uint8_t* mask) {
    const __m128i amounts = _mm_loadu_si128(reinterpret_cast<const __m128i*>(mask));
    const __m128i low = _mm_unpacklo_epi8(amounts, amounts);
    const __m128i high = _mm_unpackhi_epi8(amounts, amounts);
    const __m128i first = _mm_shuffle_epi32(low, Lanes(0, 1, 1, 2));
    const __m128i middle =
        _mm_shuffle_epi32(_mm_or_si128(_mm_srli_si128(low, 10), _mm_slli_si128(high, 6)), Lanes(0, 1, 1, 2));
    const __m128i last = _mm_shuffle_epi32(high, Lanes(1, 2, 2, 3));
    const __m128i spread[3] = {
        Arrange<Lanes(0, 0, 1, 2), Lanes(0, 1, 2, 2), Lanes(0, 1, 1, 2), Lanes(1, 1, 2, 3)>(
            first, _mm_set_epi8(-1, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, -1, 0, 0, 0)),
        Arrange<Lanes(0, 1, 1, 2), Lanes(1, 1, 2, 3), Lanes(0, 1, 2, 2), Lanes(1, 2, 2, 3)>(
            middle, _mm_set_epi8(0, 0, 0, 0, -1, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0)),
        Arrange<Lanes(0, 1, 2, 2), Lanes(1, 2, 2, 3), Lanes(1, 1, 2, 3), Lanes(1, 2, 3, 3)>(
            last, _mm_set_epi8(0, 0, -1, 0, 0, 0, 0, 0, -1, 0, 0, 0, 0, 0, -1, 0)),
    };
    for (int i = 0; i < 3; ++i) {
        __m128i* at = reinterpret_cast<__m128i*>(bytes + 16 * i);
        const __m128i pixels = _mm_loadu_si128(at);
        _mm_storeu_si128(at, Light ? _mm_adds_epu8(pixels, spread[i]) : _mm_subs_epu8(pixels, spread[i]));
    }
}
#endif

// Lays the first size bytes of the mask over the image, a row at a time:
// sixteen pixels at a time on SSE2, then the row's other amounts spread over
// their three channels, so that the change runs over plain bytes, eight at a
// time.
template <uint64_t (*Change)(uint64_t, uint64_t), bool Light>
void LayMask(const EffectImage& image, const uint8_t* mask, size_t size) {
    std::vector<uint8_t> spread(static_cast<size_t>(image.width) * 3 + 8, 0);
    for (int row = 0; row < image.height; ++row) {
        const size_t start = static_cast<size_t>(row) * image.width;
        if (start >= size) return;
        const int count = static_cast<int>(std::min<size_t>(image.width, size - start));
        uint8_t* bytes = image.pixels + static_cast<ptrdiff_t>(row) * image.stride;
        int done = 0;
#if defined(__SSE2__)
        for (; done + 16 <= count; done += 16) LaySixteen<Light>(bytes + 3 * done, mask + start + done);
#endif
        for (int x = done; x < count; ++x) {
            spread[3 * x] = spread[3 * x + 1] = spread[3 * x + 2] = mask[start + x];
        }
        const int length = 3 * count;
        int i = 3 * done;
        for (; i + 8 <= length; i += 8) {
            uint64_t word = 0;
            uint64_t amounts = 0;
            memcpy(&word, bytes + i, 8);
            memcpy(&amounts, spread.data() + i, 8);
            word = Change(word, amounts);
            memcpy(bytes + i, &word, 8);
        }
        for (; i < length; ++i) {
            bytes[i] = static_cast<uint8_t>(Change(bytes[i], spread[i]));
        }
    }
}

constexpr bool kShadow = false;
constexpr bool kLight = true;

}  // namespace

void AddLight(const EffectImage& image, const uint8_t* mask, size_t size) {
    LayMask<AddBytes, true>(image, mask, size);
}

void SubtractShadow(const EffectImage& image, const uint8_t* mask, size_t size) {
    LayMask<SubtractBytes, false>(image, mask, size);
}

namespace {

// The masks read so far. The mask effects lay the same few files of the
// program's data again and again, and those files do not change while the
// program runs, so each file's bytes are read once, on its first use for an
// image of a size, and kept. A file that cannot be read is tried again on
// its next use.
struct KeptMask {
    std::string path;
    std::unique_ptr<MaskBytes> bytes;
};

constexpr size_t kKeptMasks = 8;

// The kept masks live until the program ends: their blocks come from the
// layer's heap, which may be gone before static objects are destroyed.
std::vector<KeptMask>& KeptMasks() {
    static auto* kept = new std::vector<KeptMask>;
    return *kept;
}

// The named mask file's bytes for an image of size pixels; null when the
// file cannot be read. Call with the data root as the base folder.
const MaskBytes* MaskFor(const char* name, size_t size) {
    char path[kPathSize];
    if (!ResolveName(name, path)) return nullptr;
    std::vector<KeptMask>& keptMasks = KeptMasks();
    for (const KeptMask& kept : keptMasks) {
        if (kept.path == path && kept.bytes->Size() == size) return kept.bytes.get();
    }
    auto bytes = std::make_unique<MaskBytes>(size);
    if (!bytes->Read(name)) return nullptr;
    if (keptMasks.size() >= kKeptMasks) keptMasks.erase(keptMasks.begin());
    keptMasks.push_back(KeptMask{path, std::move(bytes)});
    return keptMasks.back().bytes.get();
}

}  // namespace

bool LayMaskFile(const EffectImage& image, const char* name, bool light) {
    if (image.pixels == nullptr) return false;
    UseDataRoot();
    const MaskBytes* mask = MaskFor(name, static_cast<size_t>(image.width) * image.height);
    UseProgramFolder();
    if (mask == nullptr) return false;
    if (light) AddLight(image, mask->Data(), mask->Size());
    else SubtractShadow(image, mask->Data(), mask->Size());
    return true;
}

void AddLightMask(const char* name) { LayMaskFile(g_effectImage, name, kLight); }

void SubtractShadowMask(const char* name) { LayMaskFile(g_effectImage, name, kShadow); }

void MottleShadow(const EffectImage& image) { LayMaskFile(image, "Datas\\Pointi.bin", kShadow); }

void LetItSnow(const EffectImage& image) {
    LayMaskFile(image, "Datas\\NeigeL.bin", kShadow);
    LayMaskFile(image, "Datas\\NeigeH.bin", kLight);
}

void GrowPlants(const EffectImage& image) {
    LayMaskFile(image, "Datas\\PlanteL2.bin", kShadow);
    LayMaskFile(image, "Datas\\PlanteH.bin", kLight);
}

void ShineSun(const EffectImage& image) { LayMaskFile(image, "Datas\\Soleil.bin", kLight); }

void BlowBubbles(const EffectImage& image) {
    LayMaskFile(image, "Datas\\BulleL.bin", kShadow);
    LayMaskFile(image, "Datas\\BulleH.bin", kLight);
}
