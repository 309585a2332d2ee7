#include "storage/picture_files.h"

#include <gtest/gtest.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/ptrace.h>
#include <sys/syscall.h>
#include <sys/user.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/kernel/paths.h"
#include "shell/app.h"
#include "shell/messages.h"
#include "shell/resources.h"
#include "storage/files.h"
#include "tests/graphics/canvas.h"
#include "tests/storage/bmp_maker.h"

namespace {

namespace fs = std::filesystem;
using bmp_maker::BmpLayout;
using bmp_maker::MakeBmp;

const std::vector<std::string> kArt = {"rgby", "X..b", "gXr."};
const std::vector<std::string> kBlackAndWhite = {"X..X", ".XX.", "X.X."};

// A fresh toolkit at the display depth of the parameter, the English error
// texts, and a temporary folder as the base folder.
class PictureFilesTest : public ::testing::TestWithParam<int> {
protected:
    void SetUp() override {
        const char* language = getenv("LC_ALL");
        if (language != nullptr) m_savedLanguage = language;
        setenv("LC_ALL", "en_GB.UTF-8", 1);
        canvas::ResetToolkit(GetParam());
        theApp.m_instance = GetModuleHandleA(nullptr);
        SetResourceModule(theApp.m_instance);
        LoadErrorTexts();
        g_platform.bitsPerPixel = GetParam();
        char pattern[] = "/tmp/tavelin-pictures-XXXXXX";
        m_root = mkdtemp(pattern);
        SetBaseFolder("");
        SetBaseFolder(platform::ToWindowsPath(m_root).c_str());
        GetWindowSurface(nullptr);
    }

    void TearDown() override {
        ReleaseWindowSurface();
        FailSaveStepForTesting(SaveStep::kNone, 0);
        SetBaseFolder("");
        SetBaseFolder("");
        if (m_savedLanguage) {
            setenv("LC_ALL", m_savedLanguage->c_str(), 1);
        } else {
            unsetenv("LC_ALL");
        }
        std::error_code ignored;
        fs::remove_all(m_root, ignored);
    }

    void Write(const std::string& name, const std::string& bytes) {
        std::ofstream(m_root + "/" + name, std::ios::binary) << bytes;
    }

    std::string Read(const std::string& name) {
        std::ifstream in(m_root + "/" + name, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::vector<std::string> Listing() {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(m_root)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    std::string m_root;
    std::optional<std::string> m_savedLanguage;
};

uint32_t Field32(const std::string& bytes, size_t at) {
    uint32_t value = 0;
    memcpy(&value, bytes.data() + at, 4);
    return value;
}

// Every pixel of a bitmap as 0x00RRGGBB, top row first.
std::vector<uint32_t> Pixels(HBITMAP bitmap) {
    BITMAP size;
    GetObjectA(bitmap, sizeof size, &size);
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), size.bmWidth, -size.bmHeight, 1, 32,
                                      BI_RGB, 0, 0, 0, 0, 0};
    std::vector<uint32_t> pixels(static_cast<size_t>(size.bmWidth) * size.bmHeight);
    GetDIBits(g_currentSurface, bitmap, 0, size.bmHeight, pixels.data(), &info, DIB_RGB_COLORS);
    return pixels;
}

// A sheet-sized bitmap with a picture that uses every pixel: at 8 bits the
// art's pure colours in stripes, at higher depths a gradient of all channels.
HBITMAP MakeSheet(int depth) {
    HBITMAP sheet = CreateCompatibleBitmap(g_currentSurface, 512, 400);
    std::vector<uint32_t> pixels(512 * 400);
    for (int y = 0; y < 400; ++y) {
        for (int x = 0; x < 512; ++x) {
            pixels[y * 512 + x] =
                depth <= 8 ? bmp_maker::RgbOf(bmp_maker::kArtColours[(x / 7 + y / 3 + x * y) % 6])
                           : static_cast<uint32_t>((x * 0x10301 + y * 0x1F0 + x * y) & 0xFFFFFF);
        }
    }
    BITMAPINFO info{};
    info.bmiHeader = BITMAPINFOHEADER{sizeof(BITMAPINFOHEADER), 512, -400, 1, 32, BI_RGB, 0, 0, 0, 0, 0};
    SetDIBits(g_currentSurface, sheet, 0, 400, pixels.data(), &info, DIB_RGB_COLORS);
    return sheet;
}

TEST_P(PictureFilesTest, SavedSheetHasTheFileLayoutAndReadsBackPixelForPixel) {
    HBITMAP sheet = MakeSheet(GetParam());
    ASSERT_EQ(SaveSheetPicture("Chat.BMP", sheet), 0);
    const std::string file = Read("Chat.BMP");
    const bool eight = GetParam() <= 8;
    ASSERT_EQ(file.size(), eight ? 205878u : 614454u);
    EXPECT_EQ(file.substr(0, 2), "BM");
    EXPECT_EQ(Field32(file, 2), file.size());
    EXPECT_EQ(Field32(file, 6), 0u);
    EXPECT_EQ(Field32(file, 10), eight ? 1078u : 54u);
    const BITMAPINFOHEADER expected{40, 512, 400, 1, static_cast<WORD>(eight ? 8 : 24), BI_RGB,
                                    eight ? 204800u : 614400u, 0, 0, 0, 0};
    EXPECT_EQ(memcmp(file.data() + 14, &expected, 40), 0);

    HBITMAP loaded = CreateCompatibleBitmap(g_currentSurface, 512, 400);
    ASSERT_EQ(LoadPictureIntoBitmap("Chat.BMP", loaded), 0);
    EXPECT_TRUE(Pixels(loaded) == Pixels(sheet));

    // Saving again over the file goes through a temporary file and leaves
    // the same bytes and nothing else.
    ASSERT_EQ(SaveSheetPicture("Chat.BMP", loaded), 0);
    EXPECT_TRUE(Read("Chat.BMP") == file);
    EXPECT_EQ(Listing(), std::vector<std::string>{"Chat.BMP"});
    DeleteObject(sheet);
    DeleteObject(loaded);
}

TEST_P(PictureFilesTest, EveryHeaderFormLoadsTheSamePicture) {
    struct Case {
        const char* what;
        BmpLayout layout;
        const std::vector<std::string>* art;
    };
    const Case cases[] = {
        {"40-byte header, 256 colours", {}, &kArt},
        {"12-byte header, 256 triples", {.headerSize = 12}, &kArt},
        {"bare DIB", {.fileHeader = false}, &kArt},
        {"bare DIB with a 12-byte header", {.headerSize = 12, .fileHeader = false}, &kArt},
        {"16 colours used, rows after a gap", {.used = 16, .gap = 20}, &kArt},
        {"rows stored top-down", {.height = -3}, &kArt},
        {"pixel offset 0 in the file header", {.offsetZero = true}, &kArt},
        {"sizes that lie about the file and rows",
         {.sizeImage = 0xFFFFFFFF, .fileSizeField = 7}, &kArt},
        {"24 bits", {.bits = 24}, &kArt},
        {"24 bits in a 12-byte header", {.headerSize = 12, .bits = 24}, &kArt},
        {"24 bits with an optimal palette", {.bits = 24, .used = 6}, &kArt},
        {"32 bits", {.bits = 32}, &kArt},
        {"16 bits", {.bits = 16}, &kArt},
        {"4 bits", {.bits = 4}, &kArt},
        {"4 bits, 6 colours used", {.bits = 4, .used = 6}, &kArt},
        {"1 bit", {.bits = 1}, &kBlackAndWhite},
        {"1 bit top-down", {.height = -3, .bits = 1}, &kBlackAndWhite},
        // As other programs write them: larger headers, bit fields, RLE.
        {"108-byte header", {.headerSize = 108}, &kArt},
        {"124-byte header, 24 bits", {.headerSize = 124, .bits = 24}, &kArt},
        {"bare DIB with a 124-byte header", {.headerSize = 124, .fileHeader = false}, &kArt},
        {"bit fields 5-6-5", {.bits = 16, .compression = BI_BITFIELDS,
                              .masks = {0xF800, 0x07E0, 0x001F}}, &kArt},
        {"bit fields 5-5-5 in a 108-byte header",
         {.headerSize = 108, .bits = 16, .compression = BI_BITFIELDS,
          .masks = {0x7C00, 0x03E0, 0x001F}}, &kArt},
        {"bit fields at 32 bits, top-down, 124-byte header",
         {.headerSize = 124, .height = -3, .bits = 32, .compression = BI_BITFIELDS,
          .masks = {0xFF0000, 0xFF00, 0xFF}}, &kArt},
        {"bit fields at 32 bits, blue on top", {.bits = 32, .compression = BI_BITFIELDS,
                                               .masks = {0xFF, 0xFF00, 0xFF000000}}, &kArt},
        {"RLE8", {.compression = BI_RLE8, .rle = bmp_maker::Rle(kArt, 8)}, &kArt},
        {"RLE4", {.bits = 4, .compression = BI_RLE4, .rle = bmp_maker::Rle(kArt, 4)}, &kArt},
        {"RLE8 in a 124-byte header",
         {.headerSize = 124, .compression = BI_RLE8, .rle = bmp_maker::Rle(kArt, 8)}, &kArt},
    };
    for (const Case& c : cases) {
        Write("art.bmp", MakeBmp(c.layout, *c.art));
        HBITMAP target = canvas::MakeBitmap({"....", "....", "...."});
        EXPECT_EQ(LoadPictureIntoBitmap("art.bmp", target), 0) << c.what;
        EXPECT_EQ(canvas::ReadBitmap(target), canvas::Join(*c.art)) << c.what;
        DeleteObject(target);

        // The block read holds the rows bottom-up behind its colour table.
        long error = -1;
        HGLOBAL block = ReadDibFile("art.bmp", &error);
        ASSERT_NE(block, nullptr) << c.what;
        BITMAPINFOHEADER header;
        ASSERT_EQ(GetDibHeader(block, &header), 1);
        EXPECT_EQ(header.biHeight, 3) << c.what;
        EXPECT_EQ(GlobalSize(block), 40 + DibColourTableSize(&header) +
                                         bmp_maker::Stride(4, header.biBitCount) * 3u)
            << c.what;
        GlobalFree(block);
    }
}

TEST_P(PictureFilesTest, PicturesOfAnySizeFillTheWholeTarget) {
    struct Case {
        int width, height;
    };
    for (const Case c : {Case{640, 480}, Case{100, 100}, Case{1, 1}, Case{513, 3}}) {
        // Quadrants: red, green above; blue, yellow below.
        std::vector<std::string> art(c.height, std::string(c.width, '.'));
        for (int y = 0; y < c.height; ++y) {
            for (int x = 0; x < c.width; ++x) {
                art[y][x] = "rgby"[(y * 2 >= c.height ? 2 : 0) + (x * 2 >= c.width ? 1 : 0)];
            }
        }
        Write("big.bmp", MakeBmp({.width = c.width, .height = c.height, .bits = 24}, art));
        HBITMAP sheet = CreateCompatibleBitmap(g_currentSurface, 512, 400);
        ASSERT_EQ(LoadPictureIntoBitmap("big.bmp", sheet), 0);
        const std::vector<uint32_t> pixels = Pixels(sheet);
        auto at = [&](int x, int y) { return pixels[y * 512 + x]; };
        const bool single = c.width == 1;
        EXPECT_EQ(at(0, 0), 0xFF0000u) << c.width;
        EXPECT_EQ(at(255, 199), 0xFF0000u) << c.width;
        EXPECT_EQ(at(511, 0), single ? 0xFF0000u : 0x00FF00u) << c.width;
        EXPECT_EQ(at(0, 399), single ? 0xFF0000u : 0x0000FFu) << c.width;
        EXPECT_EQ(at(511, 399), single ? 0xFF0000u : 0xFFFF00u) << c.width;
        if (c.width == 640 || c.width == 100) {
            EXPECT_EQ(at(256, 200), 0xFFFF00u) << c.width;
        }
        DeleteObject(sheet);
    }
}

// The hostile files: each is refused with its code and leaves the target as
// it was. Cuts fall on every boundary of the header and table.
struct Hostile {
    const char* what;
    BmpLayout layout;
    long error;
};

const Hostile kHostile[] = {
    {"empty file", {.cutAt = 0}, kShortRead},
    {"cut inside the file header", {.cutAt = 10}, kShortRead},
    {"cut after the file header", {.cutAt = 14}, kShortRead},
    {"cut inside the header size", {.cutAt = 16}, kShortRead},
    {"cut inside the 40-byte header", {.cutAt = 30}, kShortRead},
    {"cut inside the 12-byte header", {.headerSize = 12, .cutAt = 20}, kShortRead},
    {"colour table cut short", {.cutAt = 54 + 100}, kShortRead},
    {"triples cut short", {.headerSize = 12, .cutAt = 26 + 767}, kShortRead},
    {"last pixel byte missing", {.cutAt = 1078 + 11}, kShortRead},
    {"more rows claimed than held", {.height = 400, .pixelBytes = 12}, kShortRead},
    {"top-down rows missing", {.height = -400, .pixelBytes = 12}, kShortRead},
    {"pixel offset past the end", {.offsetAdjust = 100000}, kShortRead},
    {"pixel offset at 4 GiB", {.offsetAdjust = 0xFFFFFFFFll - 1078}, kShortRead},
    {"pixel offset inside the headers", {.offsetAdjust = -1000}, kBadDibHeader},
    {"header of 52 bytes", {.headerSize = 52}, kBadDibHeader},
    {"header of 64 bytes", {.headerSize = 64}, kBadDibHeader},
    {"cut inside the 124-byte header", {.headerSize = 124, .cutAt = 100}, kShortRead},
    {"masks cut short", {.bits = 16, .compression = BI_BITFIELDS, .cutAt = 60}, kShortRead},
    {"a mask of 0", {.bits = 16, .compression = BI_BITFIELDS, .masks = {0, 0x7E0, 0x1F}},
     kBadDibHeader},
    {"masks sharing bits", {.bits = 16, .compression = BI_BITFIELDS,
                            .masks = {0xF800, 0x0FE0, 0x1F}}, kBadDibHeader},
    {"a mask in two runs", {.bits = 32, .compression = BI_BITFIELDS,
                            .masks = {0xF0000F00, 0xFF00, 0xFF}}, kBadDibHeader},
    {"a mask past 16 bits", {.bits = 16, .compression = BI_BITFIELDS,
                             .masks = {0x1F0000, 0x7E0, 0x1F}}, kBadDibHeader},
    {"bit fields in a v5 header at 24 bits", {.headerSize = 124, .bits = 24,
                                              .compression = BI_BITFIELDS,
                                              .masks = {0xFF0000, 0xFF00, 0xFF}}, kBadDibHeader},
    {"bit fields rows missing", {.width = 400, .bits = 32, .compression = BI_BITFIELDS,
                                 .pixelBytes = 40, .masks = {0xFF0000, 0xFF00, 0xFF}}, kShortRead},
    {"RLE8 rows top-down", {.height = -3, .compression = BI_RLE8, .rle = "\0\1"}, kBadDibHeader},
    {"RLE8 data past the end", {.compression = BI_RLE8, .sizeImage = 100000, .rle = "\0\1"},
     kShortRead},
    {"RLE8 at 4 bits", {.bits = 4, .compression = BI_RLE8, .rle = "\0\1"}, kBadDibHeader},
    {"RLE4 at 8 bits", {.compression = BI_RLE4, .rle = "\0\1"}, kBadDibHeader},
    {"JPEG", {.compression = 4}, kBadDibHeader},
    {"alpha bit fields", {.bits = 32, .compression = 6, .masks = {0xFF0000, 0xFF00, 0xFF}},
     kBadDibHeader},
    {"header size 0", {.headerSize = 0}, kBadDibHeader},
    {"header size 4 GiB", {.headerSize = 0xFFFFFFFF}, kBadDibHeader},
    {"width 0", {.width = 0}, kBadDibHeader},
    {"height 0", {.height = 0}, kBadDibHeader},
    {"12-byte header of width 0", {.headerSize = 12, .width = 0}, kBadDibHeader},
    {"negative width", {.width = -4}, kBadDibHeader},
    {"width past 16384", {.width = 16385}, kBadDibHeader},
    {"height past -16384", {.height = -16385}, kBadDibHeader},
    {"most negative height", {.height = INT32_MIN}, kBadDibHeader},
    {"more than 64 million pixels", {.width = 16384, .height = 16384}, kBadDibHeader},
    {"stride past 32 bits", {.width = 0x7FFFFFFF, .height = 1, .bits = 32}, kBadDibHeader},
    {"planes 0", {.planes = 0}, kBadDibHeader},
    {"planes 2", {.planes = 2}, kBadDibHeader},
    {"0 bits per pixel", {.bits = 0}, kBadDibHeader},
    {"2 bits per pixel", {.bits = 2}, kBadDibHeader},
    {"3 bits per pixel", {.bits = 3}, kBadDibHeader},
    {"7 bits per pixel", {.bits = 7}, kBadDibHeader},
    {"16 bits in a 12-byte header", {.headerSize = 12, .bits = 16}, kBadDibHeader},
    {"257 colours at 8 bits", {.used = 257}, kBadDibHeader},
    {"65536 colours at 8 bits", {.used = 0x10000}, kBadDibHeader},
    {"17 colours at 4 bits", {.bits = 4, .used = 17}, kBadDibHeader},
    {"300 colours at 24 bits", {.bits = 24, .used = 300}, kBadDibHeader},
    {"RLE8", {.compression = BI_RLE8}, kBadDibHeader},
    {"RLE4", {.bits = 4, .compression = BI_RLE4}, kBadDibHeader},
    {"RLE8 runs past the row", {.compression = BI_RLE8, .pixelBytes = 4}, kBadDibHeader},
    {"bit fields at 16 bits", {.bits = 16, .compression = BI_BITFIELDS}, kBadDibHeader},
    {"bit fields at 8 bits", {.compression = BI_BITFIELDS}, kBadDibHeader},
    {"unknown compression", {.compression = 99}, kBadDibHeader},
};

TEST_P(PictureFilesTest, HostileFilesAreRefusedAndChangeNothing) {
    const std::string before = canvas::Join(kArt);
    for (const Hostile& h : kHostile) {
        Write("bad.bmp", MakeBmp(h.layout));
        HBITMAP target = canvas::MakeBitmap(kArt);
        EXPECT_EQ(LoadPictureIntoBitmap("bad.bmp", target), h.error) << h.what;
        EXPECT_EQ(canvas::ReadBitmap(target), before) << h.what;
        DeleteObject(target);
        long error = 0;
        EXPECT_EQ(ReadDibFile("bad.bmp", &error), nullptr) << h.what;
        EXPECT_EQ(error, h.error) << h.what;
    }
    HBITMAP target = canvas::MakeBitmap(kArt);
    EXPECT_EQ(LoadPictureIntoBitmap("missing.bmp", target), ERROR_FILE_NOT_FOUND);
    EXPECT_EQ(canvas::ReadBitmap(target), before);
    DeleteObject(target);
}

// RLE data that try to write outside the picture: runs, literal strings and
// deltas are cut at its edges, and what the data leave out takes colour 0.
TEST_P(PictureFilesTest, RleNeverWritesOutsideThePicture) {
    struct Case {
        const char* what;
        int bits;
        std::string rle;
        std::vector<std::string> art;
    };
    using S = std::string;
    const Case cases[] = {
        {"run past the row", 8, S("\x09\x02\0\0\x01\x03", 6), {"....", "g...", "rrrr"}},
        {"255 runs of 255", 8, [] {
             S s;
             for (int i = 0; i < 255; ++i) s += S("\xFF\x05", 2);
             return s;
         }(), {"....", "....", "yyyy"}},
        {"literal past the row", 8, S("\0\x06\x02\x03\x04\x05\x02\x03", 8),
         {"....", "....", "rgby"}},
        {"delta out of the picture", 8, S("\0\x02\xFF\xFF\x04\x02", 6),
         {"....", "....", "...."}},
        {"delta inside, then a run", 8, S("\0\x02\x01\x01\x01\x03\0\x01", 8),
         {"....", ".g..", "...."}},
        {"ends of line past the top", 8, S(40, '\0') + S("\x04\x02", 2),
         {"....", "....", "...."}},
        {"data ending inside a literal", 8, S("\0\x05\x02\x03", 4), {"....", "....", "rg.."}},
        {"data ending inside a delta", 8, S("\x01\x02\0\x02\x01", 5), {"....", "....", "r..."}},
        {"escape code 2 at the end", 8, S("\x01\x03\0", 3), {"....", "....", "g..."}},
        {"RLE4 run of two colours", 4, S("\x03\x23", 2), {"....", "....", "rgr."}},
        {"RLE4 literal of three", 4, S("\0\x03\x23\x40\x01\x50", 6), {"....", "....", "rgby"}},
        {"RLE4 literal past the row", 4, S("\0\x09\x23\x45\x23\x45\x23\0", 8),
         {"....", "....", "rgby"}},
    };
    for (const Case& c : cases) {
        Write("rle.bmp", MakeBmp({.bits = static_cast<uint16_t>(c.bits),
                                  .compression = static_cast<uint32_t>(c.bits == 8 ? BI_RLE8 : BI_RLE4),
                                  .rle = c.rle}));
        HBITMAP target = canvas::MakeBitmap(kArt);
        EXPECT_EQ(LoadPictureIntoBitmap("rle.bmp", target), 0) << c.what;
        EXPECT_EQ(canvas::ReadBitmap(target), canvas::Join(c.art)) << c.what;
        DeleteObject(target);
        long error = -1;
        HGLOBAL block = ReadDibFile("rle.bmp", &error);
        EXPECT_EQ(error, 0) << c.what;
        if (block != nullptr) GlobalFree(block);
    }
}

// A picture far larger than the target is read a row at a time: the
// target's rows come out right without the whole picture in memory.
TEST_P(PictureFilesTest, AHugePictureLoadsRowByRow) {
    constexpr int kWidth = 16384, kHeight = 4096;
    const int64_t stride = bmp_maker::Stride(kWidth, 1);
    // White (colour 0) on the left half, black on the right; the top quarter
    // black.
    std::string rows(static_cast<size_t>(stride * kHeight), '\0');
    for (int row = 0; row < kHeight; ++row) {
        const bool top = row >= kHeight * 3 / 4;
        memset(&rows[static_cast<size_t>(stride * row + (top ? 0 : stride / 2))], 0xFF,
               static_cast<size_t>(top ? stride : stride / 2));
    }
    BmpLayout layout{.width = kWidth, .height = kHeight, .bits = 1, .pixelBytes = 0};
    Write("huge.bmp", MakeBmp(layout) + rows);
    HBITMAP sheet = CreateCompatibleBitmap(g_currentSurface, 512, 400);
    ASSERT_EQ(LoadPictureIntoBitmap("huge.bmp", sheet), 0);
    const std::vector<uint32_t> pixels = Pixels(sheet);
    EXPECT_EQ(pixels[0], 0x000000u);
    EXPECT_EQ(pixels[200 * 512 + 10], 0xFFFFFFu);
    EXPECT_EQ(pixels[200 * 512 + 500], 0x000000u);
    DeleteObject(sheet);
}

// The fuzz target's seeds for the forms of other programs load, each with
// the red of its top-left pixel.
TEST_P(PictureFilesTest, TheForeignSeedsOfTheFuzzTargetLoad) {
    int seen = 0;
    const std::filesystem::path folder = std::filesystem::path(TAVELIN_SOURCE_DIR) / "fuzz/corpus/bmp";
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        const std::string name = entry.path().filename().string();
        if (name.rfind("v4-", 0) != 0 && name.rfind("v5-", 0) != 0 &&
            name.rfind("bitfields-", 0) != 0 && name.rfind("rle", 0) != 0) {
            continue;
        }
        std::ifstream in(entry.path(), std::ios::binary);
        Write("seed.bmp", std::string(std::istreambuf_iterator<char>(in), {}));
        HBITMAP target = canvas::MakeBitmap({"....", "....", "...."});
        EXPECT_EQ(LoadPictureIntoBitmap("seed.bmp", target), 0) << name;
        EXPECT_EQ(canvas::ReadBitmap(target).substr(0, 1), "r") << name;
        DeleteObject(target);
        ++seen;
    }
    EXPECT_GE(seen, 10);
}

TEST_P(PictureFilesTest, BlocksAreMadeDrawnAndWrittenByTheRules) {
    // The colour-count rule in both header forms.
    struct Count {
        uint32_t size;
        uint16_t bits;
        uint32_t used;
        int count, tableSize;
    };
    const Count counts[] = {{40, 1, 0, 2, 8},          {40, 4, 0, 16, 64},
                            {40, 8, 0, 256, 1024},     {40, 8, 16, 16, 64},
                            {40, 8, 0x10010, 16, 64},  {40, 24, 0, 0, 0},
                            {40, 32, 0, 0, 0},         {12, 8, 0, 256, 768},
                            {12, 24, 0, 0, 0},         {12, 1, 0, 2, 6}};
    for (const Count& c : counts) {
        uint8_t header[40] = {};
        memcpy(header, &c.size, 4);
        memcpy(header + (c.size == 12 ? 10 : 14), &c.bits, 2);
        if (c.size == 40) memcpy(header + 32, &c.used, 4);
        EXPECT_EQ(DibColourCount(header), c.count) << c.size << " " << c.bits;
        EXPECT_EQ(DibColourTableSize(header), c.tableSize) << c.size << " " << c.bits;
    }

    // A capture at 24 bits draws back stretched and with a raster operation;
    // no block fills with the raster operation alone.
    HBITMAP picture = canvas::MakeBitmap({"rg", "bX"});
    HGLOBAL block = CaptureDib(picture, 24, nullptr, BI_RGB);
    ASSERT_NE(block, nullptr);
    EXPECT_EQ(GlobalSize(block), 40u + 2 * 8);
    canvas::Canvas target(4, 2);
    EXPECT_EQ(DrawDib(g_currentSurface, 0, 0, 4, 2, block, 0, 0, 2, 2, SRCCOPY), 2);
    EXPECT_EQ(target.Art(), canvas::Join({"rrgg", "bbXX"}));
    EXPECT_EQ(DrawDib(g_currentSurface, 1, 0, 2, 2, nullptr, 0, 0, 0, 0, WHITENESS), 2);
    EXPECT_EQ(target.Art(), canvas::Join({"r..g", "b..X"}));

    // The capture at the bitmap's own depth and the errors of the writers.
    HGLOBAL own = CaptureDib(picture, 0, nullptr, BI_RGB);
    ASSERT_NE(own, nullptr);
    BITMAPINFOHEADER header;
    ASSERT_EQ(GetDibHeader(own, &header), 1);
    EXPECT_EQ(header.biBitCount, GetParam());
    EXPECT_EQ(GetDibHeader(nullptr, &header), 0);
    EXPECT_EQ(CaptureDib(nullptr, 24, nullptr, BI_RGB), nullptr);
    EXPECT_EQ(WriteDibFile("none.bmp", nullptr), kNoDibBlock);
    EXPECT_EQ(SaveBitmapAsFile("none.bmp", nullptr, 24, nullptr, BI_RGB), kNoMemory);
    EXPECT_EQ(Listing(), std::vector<std::string>{});
    GlobalFree(own);
    GlobalFree(block);
    DeleteObject(picture);
}

TEST_P(PictureFilesTest, AFailedSaveKeepsTheOldDrawing) {
    struct Case {
        SaveStep step;
        DWORD error;
    };
    const Case cases[] = {
        {SaveStep::kWrite, ERROR_DISK_FULL},     {SaveStep::kWrite, ERROR_IO_DEVICE},
        {SaveStep::kWrite, ERROR_WRITE_PROTECT}, {SaveStep::kFlush, ERROR_DISK_FULL},
        {SaveStep::kFlush, ERROR_IO_DEVICE},     {SaveStep::kFlush, ERROR_WRITE_PROTECT},
        {SaveStep::kRename, ERROR_DISK_FULL},    {SaveStep::kRename, ERROR_IO_DEVICE},
        {SaveStep::kRename, ERROR_WRITE_PROTECT},
    };
    HBITMAP oldSheet = MakeSheet(GetParam());
    HBITMAP newSheet = canvas::MakeBitmap({"rgby"});
    ASSERT_EQ(SaveSheetPicture("Chat.BMP", oldSheet), 0);
    const std::string old = Read("Chat.BMP");
    for (const Case& c : cases) {
        FailSaveStepForTesting(c.step, c.error);
        EXPECT_EQ(SaveSheetPicture("Chat.BMP", newSheet), static_cast<long>(c.error));
        EXPECT_TRUE(Read("Chat.BMP") == old);
        EXPECT_EQ(Listing(), std::vector<std::string>{"Chat.BMP"});

        // A new name leaves no file behind.
        FailSaveStepForTesting(c.step, c.error);
        const long error = SaveSheetPicture("Chien.BMP", newSheet);
        EXPECT_EQ(error, c.step == SaveStep::kRename ? 0 : static_cast<long>(c.error));
        if (error == 0) {
            EXPECT_EQ(DeleteRelativeFile("Chien.BMP"), 0);
        }
        FailSaveStepForTesting(SaveStep::kNone, 0);
        EXPECT_EQ(Listing(), std::vector<std::string>{"Chat.BMP"});
    }
    DeleteObject(oldSheet);
    DeleteObject(newSheet);
}

#if defined(__x86_64__)

// The system calls at which a save can be cut off: its writes, its flushes to
// disk and its rename.
bool IsSaveStep(unsigned long long call) {
    switch (call) {
        case SYS_write: case SYS_pwrite64: case SYS_writev: case SYS_fsync: case SYS_fdatasync:
        case SYS_rename: case SYS_renameat: case SYS_renameat2:
            return true;
        default:
            return false;
    }
}

// Runs save in a child process stopped at every system call, and kills it at
// the entry or exit of its killAt-th save step. Returns the number of steps
// seen when the child ran to its end, or -1 when it was killed.
int RunSaveKilledAt(const std::function<void()>& save, int killAt) {
    const pid_t child = fork();
    if (child == 0) {
        ptrace(PTRACE_TRACEME, 0, nullptr, nullptr);
        raise(SIGSTOP);
        save();
        _exit(0);
    }
    int status = 0;
    waitpid(child, &status, 0);
    ptrace(PTRACE_SETOPTIONS, child, nullptr, PTRACE_O_TRACESYSGOOD | PTRACE_O_EXITKILL);
    int seen = 0;
    long passOn = 0;
    for (;;) {
        ptrace(PTRACE_SYSCALL, child, nullptr, passOn);
        passOn = 0;
        if (waitpid(child, &status, 0) < 0 || WIFEXITED(status) || WIFSIGNALED(status)) return seen;
        if (WSTOPSIG(status) != (SIGTRAP | 0x80)) {
            passOn = WSTOPSIG(status);
            continue;
        }
        user_regs_struct registers;
        ptrace(PTRACE_GETREGS, child, nullptr, &registers);
        if (IsSaveStep(registers.orig_rax) && seen++ == killAt) {
            kill(child, SIGKILL);
            waitpid(child, &status, 0);
            return -1;
        }
    }
}

TEST_P(PictureFilesTest, AKilledSaveLeavesTheOldDrawingOrTheNewOne) {
    HBITMAP oldSheet = MakeSheet(GetParam());
    HBITMAP newSheet = CreateSurfaceBitmap(kSheetArea, kFillWhite);
    ASSERT_EQ(SaveSheetPicture("New.BMP", newSheet), 0);
    const std::string newBytes = Read("New.BMP");
    ASSERT_EQ(DeleteRelativeFile("New.BMP"), 0);
    ASSERT_EQ(SaveSheetPicture("Chat.BMP", oldSheet), 0);
    const std::string oldBytes = Read("Chat.BMP");
    const auto save = [&] { _exit(SaveSheetPicture("Chat.BMP", newSheet) == 0 ? 0 : 1); };

    // Kill the save at each step in turn, until one runs to its end.
    int outcomes[2] = {0, 0};
    int steps = 0;
    for (int killAt = 0; killAt < 100 && RunSaveKilledAt(save, killAt) < 0; ++killAt, ++steps) {
        const std::string now = Read("Chat.BMP");
        EXPECT_TRUE(now == oldBytes || now == newBytes) << "killed at step " << killAt;
        ++outcomes[now == newBytes ? 1 : 0];
        // A killed save can leave only its temporary file behind, never a
        // second drawing; the next save goes around it.
        for (const std::string& name : Listing()) {
            EXPECT_TRUE(name == "Chat.BMP" || name.rfind("TempName.", 0) == 0) << name;
            if (name != "Chat.BMP") fs::remove(m_root + "/" + name);
        }
        ASSERT_EQ(SaveSheetPicture("Chat.BMP", oldSheet), 0);
    }
    EXPECT_GE(steps, 4);  // two writes, the file's flush, the rename
    EXPECT_GT(outcomes[0], 0);
    EXPECT_GT(outcomes[1], 0);
    EXPECT_TRUE(Read("Chat.BMP") == newBytes);
    EXPECT_EQ(Listing(), std::vector<std::string>{"Chat.BMP"});
    DeleteObject(oldSheet);
    DeleteObject(newSheet);
}

#endif

INSTANTIATE_TEST_SUITE_P(Depths, PictureFilesTest, ::testing::Values(8, 32),
                         [](const auto& info) { return "Depth" + std::to_string(info.param); });

}  // namespace
