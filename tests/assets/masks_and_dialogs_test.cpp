// The effects' masks and the CD's copy of the picture module, as the build
// leaves them in build/dist, and the dialog templates of the program's pack.
// Files are opened through the Windows layer, the way the program opens them.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace {

const std::string kDist = TAVELIN_DIST_DIR;

std::optional<std::vector<uint8_t>> ReadWindowsFile(std::string path) {
    std::replace(path.begin(), path.end(), '/', '\\');
    HANDLE file = CreateFileA(("Z:" + path).c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr,
                              OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<uint8_t> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    const BOOL ok = bytes.empty() ||
                    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    if (!ok || read != bytes.size()) return std::nullopt;
    return bytes;
}

uint16_t Word(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

TEST(EffectMasks, EachHoldsOneBytePerSheetPixel) {
    // The effects open "Datas\<name>.bin" relative to the data root, the CD's
    // Datas folder.
    const std::string dataRoot = kDist + "/share/tavelin/cd/Datas";
    for (const char* name :
         {"Soleil", "Pointi", "BulleL", "BulleH", "NeigeL", "NeigeH", "PlanteL2", "PlanteH"}) {
        SCOPED_TRACE(name);
        const auto mask = ReadWindowsFile(dataRoot + "/Datas/" + name + ".bin");
        ASSERT_TRUE(mask.has_value());
        ASSERT_EQ(mask->size(), 512u * 400u);
        // A mask is a picture, not a flat wash: it has both untouched and
        // strongly marked pixels.
        const auto [low, high] = std::minmax_element(mask->begin(), mask->end());
        EXPECT_LE(*low, 20);
        EXPECT_GE(*high, 60);
    }
    // The file starts with the bottom line: the sun, 64 lines below the top
    // of the sheet, is in the file's row 335, and its mirror row is dim.
    const auto sun = ReadWindowsFile(dataRoot + "/Datas/Soleil.bin");
    ASSERT_TRUE(sun.has_value());
    EXPECT_GT((*sun)[335 * 512 + 72], 230);
    EXPECT_LT((*sun)[64 * 512 + 72], 130);

    const auto module = ReadWindowsFile(kDist + "/lib/tavelin/Banques.dat");
    const auto fallback = ReadWindowsFile(dataRoot + "/Banques.dat");
    ASSERT_TRUE(module.has_value());
    ASSERT_TRUE(fallback.has_value());
    EXPECT_TRUE(*module == *fallback);
}

TEST(ProgramDialogs, EveryTemplateIsInTheProgramPack) {
    // The tests link their own pack, so the program's is opened as a library.
    const HMODULE pack = LoadLibraryA(("Z:" + kDist + "/../resources/program_resources.pack").c_str());
    ASSERT_NE(pack, nullptr);
    struct Expected {
        int id;
        int items;
        int cx;
        int cy;
    };
    for (const Expected& e : {Expected{200, 24, 256, 200}, Expected{202, 23, 148, 100},
                              Expected{203, 7, 167, 159}, Expected{204, 5, 141, 160},
                              Expected{205, 24, 256, 200}, Expected{206, 4, 135, 100},
                              Expected{209, 4, 131, 97}, Expected{210, 1, 225, 125}}) {
        SCOPED_TRACE(e.id);
        HRSRC found = FindResourceA(pack, MAKEINTRESOURCEA(e.id), RT_DIALOG);
        ASSERT_NE(found, nullptr);
        const auto* bytes = static_cast<const uint8_t*>(LockResource(LoadResource(pack, found)));
        ASSERT_NE(bytes, nullptr);
        ASSERT_GE(SizeofResource(pack, found), 24u);
        const uint32_t style = Word(bytes) | static_cast<uint32_t>(Word(bytes + 2)) << 16;
        EXPECT_EQ(style & (WS_POPUP | WS_BORDER), static_cast<uint32_t>(WS_POPUP | WS_BORDER));
        EXPECT_EQ(Word(bytes + 8), e.items);
        EXPECT_EQ(Word(bytes + 14), e.cx);
        EXPECT_EQ(Word(bytes + 16), e.cy);
    }
    EXPECT_EQ(FindResourceA(pack, MAKEINTRESOURCEA(201), RT_DIALOG), nullptr);
}

}  // namespace
