// The data the build generates into build/dist: every sound under the name the
// program plays, every spoken help recording, the help text blocks, and the
// sixteen fonts reached through win.ini's face-name substitutes. Files are read
// through the Windows layer with drive-letter paths, so that they are found the
// way the program finds them (names resolved without regard to case).

#include <ft2build.h>
#include FT_FREETYPE_H

#include <gtest/gtest.h>

#include <strings.h>

#include <algorithm>
#include <cstdint>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "platform/windows.h"

namespace {

const std::string kDist = TAVELIN_DIST_DIR;

// The Windows form of a path below build/dist.
std::string WindowsPath(const std::string& relative) {
    std::string path = "Z:" + kDist + "/" + relative;
    for (char& c : path) {
        if (c == '/') c = '\\';
    }
    return path;
}

std::optional<std::vector<uint8_t>> ReadWindowsFile(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    std::vector<uint8_t> bytes(GetFileSize(file, nullptr));
    DWORD read = 0;
    const BOOL ok = bytes.empty() ||
                    ReadFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &read, nullptr);
    CloseHandle(file);
    if (!ok || read != bytes.size()) return std::nullopt;
    return bytes;
}

uint32_t U32(const std::vector<uint8_t>& b, size_t at) {
    return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

uint16_t U16(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b[at] | b[at + 1] << 8);
}

// Checks a file as the wave player would take it: RIFF/WAVE, a PCM format
// chunk of 16-bit samples, a data chunk inside the file. Returns the peak as a
// fraction of full scale, or an explanation.
std::string CheckWave(const std::string& relative, double* peak) {
    const auto bytes = ReadWindowsFile(WindowsPath(relative));
    if (!bytes) return "missing";
    const std::vector<uint8_t>& b = *bytes;
    if (b.size() < 12 || std::memcmp(b.data(), "RIFF", 4) != 0 ||
        std::memcmp(b.data() + 8, "WAVE", 4) != 0) {
        return "not a RIFF WAVE file";
    }
    bool pcm16 = false;
    size_t at = 12;
    while (at + 8 <= b.size()) {
        const uint32_t size = U32(b, at + 4);
        const size_t body = at + 8;
        if (size > b.size() - body) return "a chunk runs past the end";
        if (std::memcmp(b.data() + at, "fmt ", 4) == 0 && size >= 16) {
            const uint16_t channels = U16(b, body + 2);
            pcm16 = U16(b, body) == 1 && U16(b, body + 14) == 16 && (channels == 1 || channels == 2) &&
                    U32(b, body + 4) >= 8000;
            if (!pcm16) return "not 16-bit PCM";
        } else if (std::memcmp(b.data() + at, "data", 4) == 0) {
            if (!pcm16) return "data before the format";
            if (size < 2 * 100) return "fewer than 100 samples";
            int highest = 0;
            for (size_t i = body; i + 1 < body + size; i += 2) {
                const int sample = static_cast<int16_t>(U16(b, i));
                highest = std::max(highest, sample < 0 ? -sample : sample);
            }
            *peak = highest / 32768.0;
            return "";
        }
        at = body + size + (size & 1);
    }
    return "no data chunk";
}

// The strings of a help text block: NUL-terminated, up to the string 0x01.
std::vector<std::string> HelpBlock(HMODULE pack, int id) {
    std::vector<std::string> strings;
    HRSRC found = FindResourceA(pack, MAKEINTRESOURCEA(id), MAKEINTRESOURCEA(32002));
    if (found == nullptr) return strings;
    const char* data = static_cast<const char*>(LockResource(LoadResource(pack, found)));
    const DWORD size = SizeofResource(pack, found);
    std::string current;
    for (DWORD i = 0; i < size; ++i) {
        if (data[i] != '\0') {
            current += data[i];
            continue;
        }
        if (current == "\x01") return strings;
        strings.push_back(current);
        current.clear();
    }
    ADD_FAILURE() << "block " << id << " has no end marker";
    return strings;
}

struct Language {
    int block;
    char letter;  // 0: the language has no recordings.
    const char* title;
};

constexpr Language kLanguages[] = {
    {100, 'F', "Le petit Tavelin"},   {101, 'A', "Little Tavelino"},
    {102, 'd', "Der kleine Tavelin"}, {103, 'E', "El peque\xF1o Tavelino"},
    {104, 'H', "De kleine Tavelin"},  {105, 0, "Il piccolo Tavelino"},
};

HMODULE ProgramPack() {
    static HMODULE pack = LoadLibraryA(WindowsPath("../resources/program_resources.pack").c_str());
    return pack;
}

}  // namespace

TEST(AssetsData, EverySoundIsAPlayableWaveWhereTheProgramLooksForIt) {
    const char* const programSounds[] = {
        "LitBlow", "Help", "GlingC", "Brsh_Re2", "Brsh_Si", "Brsh_Sol", "Brsh_ReD", "Brsh_DoD",
        "Brsh_La", "Brsh_Fa", "Brsh_UtD", "Chirt", "gomme0", "TiBip", "Bender", "Weez", "AlarmP",
        "Hammer", "Klank", "Trrrrr", "ZigloCrt", "Gloup", "Pshat", "sfit", "Latch1", "Col_Do",
        "Col_Re", "Col_Mi", "Col_Fa", "Col_Sol", "Col_La", "Col_Si", "Col_Ut", "tic", "tac", "tink",
        "Undo4", "Crecel", "Gomme1", "WeezCrt", "Print", "VFlip", "VFlip1", "HFlip", "HFlip1",
        "TicHaut", "KlinkUp", "KlinkBa", "TicBHaut", "TicBBas", "Ticbel2", "KlankE", "Glace",
        "Synthac", "aero", "pff1", "ponce", "pff2", "Loupe0", "Loupe2", "pook", "Pshit", "Kook",
        "PloufCrt", "eau", "bubble", "bubble2", "Cr2", "Cr3", "KeyA", "KeyB", "KeyC", "KeyErr",
        "Tink", "Photo"};
    const char* const cdSounds[] = {"About", "Final",   "harpe",   "Zapslnk2", "sircops",
                                    "glingB", "ziglo1", "Siraigu", "Zapslnk1", "2gling"};
    auto check = [](const std::string& relative) {
        double peak = 0.0;
        const std::string problem = CheckWave(relative, &peak);
        EXPECT_EQ(problem, "") << relative;
        if (!problem.empty()) return;
        // Loud enough to hear, never clipped.
        EXPECT_GT(peak, 0.25) << relative;
        EXPECT_LT(peak, 0.99) << relative;
    };
    for (const char* name : programSounds) check(std::string("lib/tavelin/Sons/") + name + ".WAV");
    for (const char* name : cdSounds) {
        check(std::string("share/tavelin/cd/Datas/CDSons/") + name + ".WAV");
    }
}

TEST(AssetsData, HelpBlocksHoldFortyNineStringsAndTheirRecordingsExist) {
    ASSERT_NE(ProgramPack(), nullptr);
    const std::vector<std::string> english = HelpBlock(ProgramPack(), 101);
    ASSERT_EQ(english.size(), 49u);
    EXPECT_EQ(english[0], "Press down this button, then click on an icon to see how it works.#Ahelp");
    EXPECT_EQ(english[36], "Here is your worksheet: make use of all the different tools to create "
                           "your artwork\x85#APage");
    EXPECT_EQ(english[46], "Styles and fonts loading is not possible.");
    for (const Language& language : kLanguages) {
        SCOPED_TRACE(language.block);
        const std::vector<std::string> strings = HelpBlock(ProgramPack(), language.block);
        ASSERT_EQ(strings.size(), 49u);
        EXPECT_EQ(strings[38], language.title);
        EXPECT_FALSE(strings[46].empty());
        EXPECT_TRUE(strings[47].empty());
        EXPECT_TRUE(strings[48].empty());
        for (size_t n = 0; n < strings.size(); ++n) {
            const size_t hash = strings[n].find('#');
            const size_t englishHash = english[n].find('#');
            if (language.letter == 0 || n > 37) {
                EXPECT_EQ(hash, std::string::npos) << "string " << n;
                continue;
            }
            // Recording names follow the English ones with the language's letter.
            ASSERT_NE(hash, std::string::npos) << "string " << n;
            EXPECT_GT(hash, 0u) << "string " << n;
            const std::string name = strings[n].substr(hash + 1);
            EXPECT_EQ(name, language.letter + english[n].substr(englishHash + 2));
            double peak = 0.0;
            EXPECT_EQ(CheckWave("share/tavelin/cd/Datas/CDSons/" + name + ".WAV", &peak), "") << name;
            EXPECT_GT(peak, 0.1) << name;
        }
    }
    const std::vector<std::string> french = HelpBlock(ProgramPack(), 100);
    ASSERT_EQ(french.size(), 49u);
    EXPECT_EQ(french[45], "La m\xE9moire de l\x92ordinateur est insuffisante pour utiliser cet effet.");
}

TEST(AssetsData, EveryFaceNameResolvesToAFamilyOfItsFontFile) {
    const struct {
        const char* file;
        const char* face;
    } fonts[] = {
        {"Univers.ttf", "Univers ATT"},
        {"Goudi.ttf", "Goudi Olde Style"},
        {"BrushScr.ttf", "Jikharev"},
        {"Joff.ttf", "JottFLF-BoldItalic.97"},
        {"BDStyle.ttf", "Dom Very Casual"},
        {"Bodaciou.ttf", "Bodacious-Normal"},
        {"Cyrillic.ttf", "Cyrillic-Normal"},
        {"Gothic.ttf", "Linotext-Light"},
        {"MyBahaus.ttf", "Lithograph Bold"},
        {"MyLithos.ttf", "Blippo"},
        {"UsArmy.ttf", "Army Expanded"},
        {"Western.ttf", "AbileneFLF.fog_"},
        {"Ranson.ttf", "RansomNote"},
        {"SecretC.ttf", "SecretCode-Normal"},
        {"Outline.ttf", "Alfredo Heavy Hollow Wide"},
        {"Dingbats.ttf", "dingbats-Thin"},
    };
    const std::string winIni = WindowsPath("lib/tavelin/win.ini");
    FT_Library library = nullptr;
    ASSERT_EQ(FT_Init_FreeType(&library), 0);
    for (const auto& font : fonts) {
        SCOPED_TRACE(font.file);
        char family[64] = {};
        GetPrivateProfileStringA("FontSubstitutes", font.face, "", family, sizeof family,
                                 winIni.c_str());
        EXPECT_STRNE(family, "");
        const auto bytes = ReadWindowsFile(WindowsPath("share/tavelin/cd/Datas/Polices/") + font.file);
        ASSERT_TRUE(bytes.has_value());
        FT_Face face = nullptr;
        ASSERT_EQ(FT_New_Memory_Face(library, bytes->data(), static_cast<FT_Long>(bytes->size()), 0,
                                     &face),
                  0);
        ASSERT_NE(face->family_name, nullptr);
        EXPECT_EQ(strcasecmp(face->family_name, family), 0) << face->family_name << " / " << family;
        // The program writes with these faces, so they must have letters.
        EXPECT_NE(FT_Get_Char_Index(face, 'A'), 0u);
        FT_Done_Face(face);
    }
    FT_Done_FreeType(library);
}
