// The generated pictures and cursors: every number the program loads from its
// own pack or from the picture module exists with the size the program lays it
// out with, stamp masks fit their pictures, and cursors are well formed. The
// packs are opened from the build tree with LoadLibraryA, as the program opens
// the picture module.

#include <gtest/gtest.h>

#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace {

const std::string kDist = TAVELIN_DIST_DIR;

HMODULE OpenPack(const std::string& path) {
    static std::vector<std::pair<std::string, HMODULE>> opened;
    for (const auto& [name, module] : opened) {
        if (name == path) return module;
    }
    const HMODULE module = LoadLibraryA(("Z:" + path).c_str());
    opened.push_back({path, module});
    return module;
}

HMODULE ProgramPack() { return OpenPack(kDist + "/../resources/program_resources.pack"); }
HMODULE PictureModule() { return OpenPack(kDist + "/lib/tavelin/Banques.dat"); }

std::optional<std::vector<uint8_t>> Resource(HMODULE module, int id, LPCSTR type) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (found == nullptr) return std::nullopt;
    const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(module, found)));
    if (bytes == nullptr) return std::nullopt;
    return std::vector<uint8_t>(bytes, bytes + SizeofResource(module, found));
}

uint32_t Read32(const uint8_t* p) { return p[0] | (p[1] << 8) | (p[2] << 16) | (uint32_t(p[3]) << 24); }

// A packed bitmap read back pixel by pixel (0x00RRGGBB, top-down).
struct Picture {
    int width = 0;
    int height = 0;
    int bits = 0;
    std::vector<uint32_t> rgb;
};

std::optional<Picture> LoadPicture(HMODULE module, int id) {
    const auto data = Resource(module, id, RT_BITMAP);
    if (!data || data->size() < 40) return std::nullopt;
    const uint8_t* p = data->data();
    Picture picture;
    picture.width = static_cast<int32_t>(Read32(p + 4));
    picture.height = static_cast<int32_t>(Read32(p + 8));
    picture.bits = p[14];
    if (picture.width <= 0 || picture.height <= 0) return std::nullopt;
    uint32_t colours = Read32(p + 32);
    if (picture.bits <= 8 && colours == 0) colours = 1u << picture.bits;
    if (picture.bits > 8) colours = 0;
    const size_t stride = ((static_cast<size_t>(picture.width) * picture.bits + 31) / 32) * 4;
    const size_t start = Read32(p) + colours * 4;
    if (start + stride * picture.height > data->size()) return std::nullopt;
    for (int y = 0; y < picture.height; ++y) {
        const uint8_t* row = p + start + stride * (picture.height - 1 - y);
        for (int x = 0; x < picture.width; ++x) {
            uint32_t rgb = 0;
            if (picture.bits == 24) {
                rgb = row[x * 3] | (row[x * 3 + 1] << 8) | (row[x * 3 + 2] << 16);
            } else if (picture.bits == 8) {
                rgb = Read32(p + Read32(p) + row[x] * 4) & 0xFFFFFF;
            } else if (picture.bits == 1) {
                rgb = Read32(p + Read32(p) + ((row[x / 8] >> (7 - x % 8)) & 1) * 4) & 0xFFFFFF;
            }
            picture.rgb.push_back(rgb);
        }
    }
    return picture;
}

// A run of pictures that the program lays out at one size.
struct Run {
    int first;
    int count;
    int step;
    int width;
    int height;
};

void ExpectSizes(HMODULE module, const std::vector<Run>& runs) {
    for (const Run& run : runs) {
        for (int k = 0; k < run.count; ++k) {
            const int id = run.first + k * run.step;
            const auto data = Resource(module, id, RT_BITMAP);
            ASSERT_TRUE(data.has_value()) << "picture " << id << " is missing";
            ASSERT_GE(data->size(), 40u);
            EXPECT_EQ(static_cast<int32_t>(Read32(data->data() + 4)), run.width) << "picture " << id;
            EXPECT_EQ(static_cast<int32_t>(Read32(data->data() + 8)), run.height) << "picture " << id;
        }
    }
}

TEST(Pictures, ProgramPicturesHaveTheirLayoutSizes) {
    const HMODULE pack = ProgramPack();
    ASSERT_NE(pack, nullptr);
    ExpectSizes(pack, {
        // Command buttons: normal, pressed, hover.
        {100, 7, 4, 76, 24}, {101, 7, 4, 76, 24}, {102, 7, 4, 76, 24},
        // Brush sizes and tool buttons with their five looks.
        {905, 40, 1, 20, 22},
        {250, 3, 1, 40, 16}, {254, 3, 1, 40, 17}, {900, 3, 1, 80, 41},
        // The language screen's flags (three looks each) and the title.
        {800, 3, 1, 120, 80}, {810, 3, 1, 120, 80}, {820, 3, 1, 120, 80},
        {830, 3, 1, 120, 80}, {840, 3, 1, 120, 80}, {850, 3, 1, 120, 80},
        {870, 2, 1, 640, 480},
        // Dialog pictures, up and pressed.
        {570, 4, 1, 32, 200}, {574, 12, 1, 80, 40}, {590, 1, 1, 256, 200},
        {592, 1, 1, 128, 100}, {594, 1, 1, 128, 100}, {600, 44, 1, 40, 40},
        {700, 4, 1, 38, 38}, {704, 8, 1, 38, 34}, {712, 10, 1, 80, 34},
    });
    // Tool buttons: radio and toggle ones have five looks, push ones three.
    for (int id : {140, 145, 150, 155, 160, 165, 170, 175, 180, 185, 195, 210, 215, 220}) {
        ExpectSizes(pack, {{id, 5, 1, 40, 40}});
    }
    for (int id : {190, 200, 205, 225}) ExpectSizes(pack, {{id, 3, 1, 40, 40}});
    // Both logos exist and fit on the language screen beside their places.
    for (int id : {860, 865}) {
        const auto logo = LoadPicture(pack, id);
        ASSERT_TRUE(logo.has_value()) << id;
        EXPECT_LE((id == 860 ? 40 : 320) + logo->width, 640);
        EXPECT_LE((id == 860 ? 400 : 398) + logo->height, 480);
    }
    // The title comes in 256 colours and in true colour.
    EXPECT_EQ(LoadPicture(pack, 870)->bits, 8);
    EXPECT_EQ(LoadPicture(pack, 871)->bits, 24);
}

TEST(Pictures, PictureModuleHasEveryNumber) {
    const HMODULE module = PictureModule();
    ASSERT_NE(module, nullptr);
    ExpectSizes(module, {
        {1490, 1, 1, 512, 400}, {1500, 28, 10, 512, 400}, {510, 46, 1, 100, 78},
        {1470, 1, 1, 512, 400}, {1474, 1, 1, 512, 400},
        {597, 1, 1, 450, 250},
    });
    // The thirteen stamp buttons, with the five looks of radio buttons.
    for (int bank = 0; bank < 13; ++bank) ExpectSizes(module, {{300 + 10 * bank, 5, 1, 40, 40}});
    // Backgrounds 18 to 22 are the 256-colour ones; 23 to 27 their true-colour variants.
    for (int k = 18; k <= 22; ++k) {
        EXPECT_EQ(LoadPicture(module, 1500 + 10 * k)->bits, 8) << k;
        EXPECT_EQ(LoadPicture(module, 1550 + 10 * k)->bits, 24) << k;
    }
    // The blank paper is white all over; the puzzle frames are white with black lines.
    const auto paper = LoadPicture(module, 1490);
    for (uint32_t c : paper->rgb) ASSERT_EQ(c, 0xFFFFFFu);
    for (int id : {1470, 1474}) {
        const auto frame = LoadPicture(module, id);
        size_t black = 0;
        for (uint32_t c : frame->rgb) {
            ASSERT_TRUE(c == 0 || c == 0xFFFFFFu) << id;
            black += c == 0;
        }
        EXPECT_GT(black, 1000u) << id;
        EXPECT_LT(black, frame->rgb.size() / 10) << id;
    }
}

TEST(Pictures, StampItemsComeWithMatchingMasks) {
    const HMODULE module = PictureModule();
    ASSERT_NE(module, nullptr);
    const int counts[13] = {11, 17, 18, 10, 12, 15, 14, 14, 17, 15, 8, 18, 26};
    for (int bank = 0; bank < 13; ++bank) {
        for (int item = 0; item < counts[bank]; ++item) {
            const int id = 2000 + 200 * bank + 4 * item;
            int normalSide = 0;
            for (int large = 0; large < 2; ++large) {
                const auto picture = LoadPicture(module, id + 2 * large);
                const auto mask = LoadPicture(module, id + 2 * large + 1);
                ASSERT_TRUE(picture && mask) << "stamp " << id + 2 * large;
                ASSERT_EQ(mask->bits, 1);
                ASSERT_EQ(mask->width, picture->width) << id;
                ASSERT_EQ(mask->height, picture->height) << id;
                const int side = std::max(picture->width, picture->height);
                if (large == 0) {
                    normalSide = side;
                    EXPECT_GE(side, 40) << id;
                    EXPECT_LE(side, 56) << id;
                } else {
                    EXPECT_EQ(side, 2 * normalSide) << id;
                }
                // Drawn through the mask, the picture shows exactly where the
                // mask is black: it must be white where the sheet shows.
                size_t drawn = 0;
                for (size_t i = 0; i < mask->rgb.size(); ++i) {
                    ASSERT_TRUE(mask->rgb[i] == 0 || mask->rgb[i] == 0xFFFFFFu);
                    if (mask->rgb[i] == 0) ++drawn;
                    else ASSERT_EQ(picture->rgb[i], 0xFFFFFFu) << "stamp " << id << " pixel " << i;
                }
                EXPECT_GT(drawn, mask->rgb.size() / 8) << "stamp " << id << " is nearly empty";
            }
        }
        EXPECT_FALSE(Resource(module, 2000 + 200 * bank + 4 * counts[bank], RT_BITMAP).has_value())
            << "bank " << bank << " has more items than the stamp tool counts";
    }
}

struct Cursor {
    int width = 0;
    int height = 0;
    int hotX = 0;
    int hotY = 0;
    std::vector<uint32_t> argb;  // top-down, alpha 0 where transparent
};

std::optional<Cursor> LoadCursorFile(int id) {
    const auto data = Resource(ProgramPack(), id, RT_CURSOR);
    if (!data || data->size() < 22 + 40) return std::nullopt;
    const uint8_t* p = data->data();
    if (p[2] != 2 || p[4] != 1) return std::nullopt;
    Cursor cursor;
    cursor.width = p[6];
    cursor.height = p[7];
    cursor.hotX = p[10] | (p[11] << 8);
    cursor.hotY = p[12] | (p[13] << 8);
    const uint32_t offset = Read32(p + 18);
    const uint8_t* image = p + offset;
    if (image[14] != 32 || offset + 40 + cursor.width * cursor.height * 4 > data->size()) {
        return std::nullopt;
    }
    for (int y = cursor.height - 1; y >= 0; --y) {
        for (int x = 0; x < cursor.width; ++x) cursor.argb.push_back(Read32(image + 40 + (y * cursor.width + x) * 4));
    }
    return cursor;
}

TEST(Pictures, CursorsAre32x32WithHotSpotsInside) {
    std::vector<int> ids = {32000, 32001, 32002, 101, 102, 110, 201, 202, 205, 206, 209};
    for (int id = 210; id <= 223; ++id) ids.push_back(id);
    for (int id : ids) {
        const auto cursor = LoadCursorFile(id);
        ASSERT_TRUE(cursor.has_value()) << "cursor " << id;
        EXPECT_EQ(cursor->width, 32) << id;
        EXPECT_EQ(cursor->height, 32) << id;
        EXPECT_LT(cursor->hotX, 32) << id;
        EXPECT_LT(cursor->hotY, 32) << id;
        // The layer decodes it as the program will.
        EXPECT_NE(LoadCursorA(reinterpret_cast<HINSTANCE>(ProgramPack()), MAKEINTRESOURCEA(id)), nullptr) << id;
    }
    // A brush cursor's dot under the hot spot grows with the brush width.
    const int widths[8] = {1, 2, 4, 6, 3, 5, 8, 10};
    auto dotSize = [](const Cursor& cursor) {
        // Black opaque pixels along the row through the hot spot, around it.
        int run = 0;
        for (int x = 0; x < 32; ++x) {
            const uint32_t p = cursor.argb[cursor.hotY * 32 + x];
            const bool black = (p >> 24) != 0 && (p & 0xFFFFFF) == 0;
            if (black && std::abs(x - cursor.hotX) <= 6) ++run;
        }
        return run;
    };
    for (int a = 0; a < 8; ++a) {
        const auto cursor = LoadCursorFile(210 + a);
        ASSERT_TRUE(cursor.has_value());
        EXPECT_GE(dotSize(*cursor), widths[a]) << "brush cursor " << 210 + a;
    }
    // An eraser cursor outlines its square from the hot spot.
    const int sides[4] = {4, 8, 12, 20};
    for (int a = 0; a < 4; ++a) {
        const auto cursor = LoadCursorFile(220 + a);
        ASSERT_TRUE(cursor.has_value());
        const int corner = cursor->hotY * 32 + cursor->hotX + sides[a];
        EXPECT_NE(cursor->argb[corner] >> 24, 0u) << "eraser cursor " << 220 + a;
        EXPECT_EQ(cursor->argb[cursor->hotY * 32 + cursor->hotX + sides[a] + 3] >> 24, 0u)
            << "eraser cursor " << 220 + a << " is wider than its square";
    }
}

}  // namespace
