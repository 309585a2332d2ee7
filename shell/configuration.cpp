#include "shell/configuration.h"

#include <cstdint>
#include <cstdio>
#include <cstring>

#include "graphics/palette.h"
#include "shell/cursors.h"
#include "shell/data_paths.h"
#include "shell/messages.h"
#include "shell/picture_module.h"
#include "shell/sound.h"
#include "storage/files.h"

char g_installationFile[MAX_PATH];
int g_languageIndex = 1;
int g_askLanguage = 0;
char g_picturesFolder[MAX_PATH];
char g_fontsFolder[MAX_PATH] = "Polices";
COLORREF g_colourTable[kColourCount];
HPALETTE g_configurationPalette = nullptr;
COLORREF g_swatchColours[kSwatchCount];

const char* const kFontFaceNames[kFontCount] = {
    "Univers ATT",     "Goudi Olde Style",  "Jikharev",        "JottFLF-BoldItalic.97",
    "Dom Very Casual", "Bodacious-Normal",  "Cyrillic-Normal", "Linotext-Light",
    "Lithograph Bold", "Blippo",            "Army Expanded",   "AbileneFLF.fog_",
    "RansomNote",      "SecretCode-Normal", "Alfredo Heavy Hollow Wide", "dingbats-Thin",
};

namespace {

constexpr char kInstallationFileName[] = "Tavelin.ini";
constexpr int kFontsNotLoaded = 46;
constexpr int kNoLanguage = -1;
constexpr int kMaxColourText = 30;

constexpr const char* kFontFiles[kFontCount] = {
    "Univers.ttf",  "Goudi.ttf",   "BrushScr.ttf", "Joff.ttf",     "BDStyle.ttf", "Bodaciou.ttf",
    "Cyrillic.ttf", "Gothic.ttf",  "MyBahaus.ttf", "MyLithos.ttf", "UsArmy.ttf",  "Western.ttf",
    "Ranson.ttf",   "SecretC.ttf", "Outline.ttf",  "Dingbats.ttf",
};

// The program cursors, in the order they are loaded.
constexpr int kCursorIds[] = {101, 102, 110, 201, 206, 205, 220, 221, 222, 223, 202, 209,
                              218, 219, 210, 211, 212, 213, 214, 215, 216, 217};
constexpr int kCursorCount = sizeof kCursorIds / sizeof kCursorIds[0];
HCURSOR g_cursors[kCursorCount];

// The built-in colours as 0xRRGGBB.
constexpr uint32_t kBuiltInColours[kColourCount] = {
    0x000000, 0x800000, 0x008000, 0x808000, 0x000080, 0x800080, 0x008080, 0x808080,
    0xC0DCC0, 0xA6CAF0, 0x101010, 0x202020, 0x303030, 0x404040, 0x505050, 0x606060,
    0x707070, 0x888888, 0x989898, 0xA8A8A8, 0xB8B8B8, 0xC8C8C8, 0xD8D8D8, 0xE8E8E8,
    0xF0F0F0, 0x200000, 0x300000, 0x400000, 0x500000, 0x600000, 0x700000, 0x880000,
    0x980000, 0xA80000, 0xB80000, 0xC80000, 0xD80000, 0xE80000, 0xF80000, 0xF82018,
    0xF83030, 0xF84038, 0xF85050, 0xF86058, 0xF87068, 0xF88878, 0xF8A8A8, 0xF8E0D0,
    0x001000, 0x002000, 0x003000, 0x004000, 0x005000, 0x006000, 0x007000, 0x008800,
    0x009800, 0x00A800, 0x00B800, 0x00C800, 0x00D800, 0x00E800, 0x00F800, 0x30F830,
    0x50F850, 0x70F870, 0x88F888, 0x000010, 0x000020, 0x000030, 0x000040, 0x000050,
    0x000060, 0x000070, 0x000088, 0x000098, 0x0000A8, 0x0000B8, 0x0000C8, 0x0000D8,
    0x0000E8, 0x0000F8, 0x1020F8, 0x2030F8, 0x3040F8, 0x4050F8, 0x5060F8, 0x6070F8,
    0x7088F8, 0x8898F8, 0x98A8F8, 0xA8D8F8, 0xB8E8F8, 0x202000, 0x303000, 0x404000,
    0x585000, 0x686000, 0x787000, 0x888000, 0x989000, 0xA8A800, 0xB8B800, 0xC8C800,
    0xD8D800, 0xE8E800, 0xF8F800, 0xF8F820, 0xF8F840, 0xF8F860, 0xF8F888, 0xF8F8A8,
    0x100010, 0x200020, 0x300030, 0x400040, 0x500050, 0x600060, 0x700070, 0x880088,
    0x980098, 0xA800A8, 0xB800B8, 0xC800C8, 0xD800D8, 0xE800E8, 0xF800F8, 0xF830F8,
    0xF850F8, 0xF870F8, 0xF898F8, 0xF8B8F8, 0x001010, 0x002020, 0x003030, 0x004040,
    0x005050, 0x006060, 0x007070, 0x008888, 0x009898, 0x00A8A8, 0x00B8B8, 0x00C8C8,
    0x00D8D8, 0x00E8E8, 0x00F8F8, 0x20F8F8, 0x40F8F8, 0x60F8F8, 0x88F8F8, 0xA8F8F8,
    0x401800, 0x502000, 0x603010, 0x704020, 0x885030, 0x986040, 0xA87050, 0xB88860,
    0x803000, 0xA83800, 0xB84800, 0xD85800, 0xE86000, 0x600000, 0x500000, 0x702000,
    0x382020, 0x703030, 0x603030, 0x583028, 0x483028, 0x603830, 0xA84000, 0x684038,
    0x604038, 0x484038, 0xB04800, 0x904820, 0x704840, 0x504840, 0xC05800, 0xB05818,
    0x905838, 0x685850, 0x786058, 0x706058, 0xB86840, 0x986848, 0x806860, 0x786860,
    0x706858, 0xB87048, 0xA07050, 0xB87850, 0xA07858, 0x907870, 0x807870, 0xA88060,
    0xA88050, 0xA08058, 0x988060, 0x908078, 0x888070, 0xC08868, 0xB08868, 0x988878,
    0xB09070, 0x909090, 0xC89878, 0xB09878, 0xC8A880, 0xC0A878, 0xB0A890, 0xD8B060,
    0xD0B098, 0xC0B098, 0xB8B0A0, 0xB8B098, 0xE0B870, 0xD0B8A0, 0xC8B8A0, 0xD0C0A8,
    0xC8C0A8, 0xE8C878, 0xE0C898, 0xD0C8A8, 0xF0D088, 0xF0D080, 0xE0D0B8, 0xD8D0C0,
    0xD8D0B0, 0xF0D890, 0xF0D888, 0xE0D8C0, 0xE0D8B8, 0xE0D8B0, 0xF8E090, 0xE8E0C8,
    0xF8E8C8, 0xF8E8B0, 0xF0E8D8, 0xF0E8D0, 0xF8F0E8, 0xF8F0C8, 0xFFFBF0, 0xA0A0A4,
    0x808080, 0xFF0000, 0x00FF00, 0xFFFF00, 0x0000FF, 0xFF00FF, 0x00FFFF, 0xFFFFFF,
};

// The colour-table entry that each swatch starts with.
constexpr int kSwatchEntries[kSwatchCount] = {
    10,  15,  18,  23,  255, 32,  36,  40,  44,  154, 156, 158, 161, 164, 212, 241, 111, 107,
    118, 122, 126, 130, 76,  85,  89,  91,  92,  137, 140, 145, 151, 52,  55,  58,  63,  66,
};

// One number of a colour text: spaces, an optional minus sign and decimal
// digits, 0 when there are none. The next number starts one character after
// this one ends.
uint32_t TakeComponent(const char*& text) {
    while (*text == ' ') ++text;
    const bool negative = *text == '-';
    if (negative) ++text;
    uint32_t value = 0;
    while (*text >= '0' && *text <= '9') value = value * 10 + static_cast<uint32_t>(*text++ - '0');
    if (*text != '\0') ++text;
    return negative ? 0u - value : value;
}

COLORREF ParseColour(const char* text) {
    const uint32_t red = TakeComponent(text);
    const uint32_t green = TakeComponent(text);
    const uint32_t blue = TakeComponent(text);
    return RGB(red & 0xFF, green & 0xFF, blue & 0xFF);
}

// "folder\name" into out (MAX_PATH bytes); empty when it does not fit.
void JoinPath(char* out, const char* folder, const char* name) {
    const int length = std::snprintf(out, MAX_PATH, "%s\\%s", folder, name);
    if (length < 0 || length >= MAX_PATH) out[0] = '\0';
}

int ReadInstallationValues(const char* file) {
    const UINT language = GetPrivateProfileIntA("param", "langage", kNoLanguage, file);
    GetPrivateProfileStringA("param", "dir", "", g_picturesFolder, sizeof g_picturesFolder, file);
    return static_cast<int>(language);
}

void SettlePicturesFolder() {
    if (g_picturesFolder[0] != '\0' && !DirectoryExists(g_picturesFolder)) {
        g_picturesFolder[0] = '\0';
    }
    // Without a "dir", drawings go to the user's pictures folder even when
    // the program folder could take them: a program folder is replaced by
    // the next installation or build, and the drawings with it. The program
    // folder keeps them only when the pictures folder cannot be made.
    if (g_picturesFolder[0] != '\0') return;
    char folder[MAX_PATH];
    if (DefaultPicturesFolder(folder) && CreateFolderPath(folder) == 0) {
        std::memcpy(g_picturesFolder, folder, sizeof folder);
    }
}

void ChooseSoundsFolders() {
    std::snprintf(g_soundsFolder, sizeof g_soundsFolder, "%s",
                  RelativeDirectoryExists("Datas\\Sons") ? "Datas\\Sons" : "Sons");
    JoinPath(g_cdSoundsFolder, g_dataRoot, "CDSons");
}

void RegisterFonts() {
    bool failed = false;
    UseDataRoot();
    for (const char* file : kFontFiles) {
        if (AddFontResourceA(BuildPath(file, g_fontsFolder, nullptr)) == 0) failed = true;
    }
    UseProgramFolder();
    if (failed) {
        LoadHelpTexts(g_languageIndex);
        ShowHelpString(kFontsNotLoaded);
    }
}

// Removing a font tells no other program here: the layer's fonts belong to
// this process alone, so there is nobody to send WM_FONTCHANGE to.
void RemoveFonts() {
    UseDataRoot();
    for (const char* file : kFontFiles) {
        RemoveFontResourceA(BuildPath(file, g_fontsFolder, nullptr));
    }
    UseProgramFolder();
}

void LoadCursors() {
    for (int i = 0; i < kCursorCount; ++i) {
        g_cursors[i] = LoadProgramCursor(kCursorIds[i]);
        if (g_cursors[i] != nullptr) continue;
        LoadCursorOrFail(kCursorIds[i]);
        return;
    }
}

}  // namespace

int LanguageIndexFor(int windowsLanguage) {
    switch (windowsLanguage) {
        case 12: return 0;  // French
        case 19: return 3;  // Spanish
        case 9: return 4;   // Dutch
        case 15: return 5;  // Italian
        case 13: return 2;  // German
        default: return 1;  // English and every other language
    }
}

void ReadInstallationFile() {
    GetProgramFolder(g_programFolder);
    std::snprintf(g_installationFile, sizeof g_installationFile, "%s", kInstallationFileName);
    int language = ReadInstallationValues(g_installationFile);
    if (language < 0) {
        JoinPath(g_installationFile, g_programFolder, kInstallationFileName);
        language = ReadInstallationValues(g_installationFile);
    }
    SettlePicturesFolder();
    g_askLanguage = language == 0 ? 1 : 0;
    g_languageIndex = language == 0 ? 0 : language - 1;
}

void ChooseLanguage() {
    if (g_languageIndex >= 0 && g_languageIndex < kLanguageCount) return;
    g_languageIndex = LanguageIndexFor(GetWindowsLanguage());
}

void LoadColours() {
    for (int i = 0; i < kColourCount; ++i) {
        const uint32_t colour = kBuiltInColours[i];
        g_colourTable[i] = RGB((colour >> 16) & 0xF8, (colour >> 8) & 0xF8, colour & 0xF8);
    }
    g_configurationPalette = MakePalette(g_colourTable);
    for (int k = 0; k < kSwatchCount; ++k) g_swatchColours[k] = g_colourTable[kSwatchEntries[k]];
    for (int k = 1; k < kSwatchCount; ++k) {
        char key[16];
        std::snprintf(key, sizeof key, "Color%d", k);
        char text[kMaxColourText + 1] = "";
        GetPrivateProfileStringA("Couleurs", key, "", text, sizeof text, g_installationFile);
        if (text[0] != '\0') g_swatchColours[k] = ParseColour(text);
    }
}

bool LoadConfiguration() {
    ReadInstallationFile();
    ChooseLanguage();
    if (!g_askLanguage) FollowLanguage(g_languageIndex);
    if (!LocateDataRoot()) return false;
    std::snprintf(g_fontsFolder, sizeof g_fontsFolder, "Polices");
    ChooseSoundsFolders();
    OpenPictureModule();
    RegisterFonts();
    LoadColours();
    LoadCursors();
    return true;
}

void ShutdownConfiguration() {
    ClosePictureModule();
    RemoveFonts();
    if (g_configurationPalette != nullptr) DeleteObject(g_configurationPalette);
    g_configurationPalette = nullptr;
    for (HCURSOR& cursor : g_cursors) cursor = nullptr;
}

HCURSOR LoadedCursor(int id) {
    for (int i = 0; i < kCursorCount; ++i) {
        if (kCursorIds[i] == id && g_cursors[i] != nullptr) return g_cursors[i];
    }
    return ProgramCursor(id);
}
