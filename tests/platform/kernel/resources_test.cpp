#include <gtest/gtest.h>

#include <stdlib.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/kernel/resource_pack.h"
#include "platform/windows.h"

namespace {

using namespace std::string_literals;
using platform::PackError;
using platform::PackView;

const LPCSTR kTextType = MAKEINTRESOURCEA(32002);

std::vector<uint8_t> Bytes(const std::string& text) {
    return {text.begin(), text.end()};
}

std::vector<uint8_t> SamplePack() {
    std::vector<uint8_t> pack;
    const bool built = platform::BuildPack({{10, 7, Bytes("seven")},
                                            {2, 300, Bytes("bitmap")},
                                            {10, 1, Bytes("one")},
                                            {32002, 5, Bytes("A\0B\0\x01\0"s)}},
                                           pack);
    EXPECT_TRUE(built);
    return pack;
}

void PutU32(std::vector<uint8_t>& pack, size_t at, uint32_t value) {
    for (size_t i = 0; i < 4; ++i) {
        pack[at + i] = static_cast<uint8_t>(value >> (8 * i));
    }
}

std::string ResourceText(HMODULE module, int id, LPCSTR type) {
    HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(id), type);
    if (found == nullptr) {
        return "<missing>";
    }
    const char* data = static_cast<const char*>(LockResource(LoadResource(module, found)));
    return std::string(data, SizeofResource(module, found));
}

// The strings of a text block of the program's pack, split at each NUL.
std::vector<std::string> BlockStrings(int id) {
    std::vector<std::string> strings;
    const std::string block = ResourceText(nullptr, id, kTextType);
    size_t start = 0;
    for (size_t nul; (nul = block.find('\0', start)) != std::string::npos; start = nul + 1) {
        strings.push_back(block.substr(start, nul - start));
    }
    EXPECT_EQ(start, block.size()) << "the block does not end with a NUL";
    return strings;
}

class TempFolder {
public:
    TempFolder() {
        char pattern[] = "/tmp/tavelin-resources-XXXXXX";
        m_path = mkdtemp(pattern);
    }
    ~TempFolder() { std::filesystem::remove_all(m_path); }

    // Writes the file and returns its name as a Windows path on drive Z:.
    std::string Write(const std::string& name, const std::vector<uint8_t>& bytes) const {
        std::ofstream(m_path + "/" + name, std::ios::binary)
            .write(reinterpret_cast<const char*>(bytes.data()),
                   static_cast<std::streamsize>(bytes.size()));
        return WindowsPath(name);
    }

    std::string WindowsPath(const std::string& name) const {
        std::string path = "Z:" + m_path + "/" + name;
        std::replace(path.begin(), path.end(), '/', '\\');
        return path;
    }

private:
    std::string m_path;
};

}  // namespace

TEST(ResourcePack, RoundTripsAndFindsEveryEntry) {
    const std::vector<uint8_t> bytes = SamplePack();
    PackView pack;
    ASSERT_EQ(pack.Open(bytes.data(), bytes.size()), PackError::None);
    ASSERT_EQ(pack.EntryCount(), 4u);
    const struct {
        uint16_t type, id;
        std::string data;
    } expected[] = {
        {2, 300, "bitmap"}, {10, 1, "one"}, {10, 7, "seven"}, {32002, 5, "A\0B\0\x01\0"s}};
    for (const auto& want : expected) {
        const std::optional<size_t> index = pack.Find(want.type, want.id);
        ASSERT_TRUE(index) << want.type << "/" << want.id;
        EXPECT_EQ(pack.Entry(*index).offset % platform::kPackDataAlignment, 0u);
        EXPECT_EQ(std::string(reinterpret_cast<const char*>(pack.EntryData(*index)),
                              pack.Entry(*index).size),
                  want.data);
        EXPECT_TRUE(pack.HasType(want.type));
    }
    EXPECT_FALSE(pack.Find(10, 2));
    EXPECT_FALSE(pack.Find(3, 300));
    EXPECT_FALSE(pack.HasType(3));
    EXPECT_FALSE(pack.HasType(65535));

    std::vector<uint8_t> refused;
    EXPECT_FALSE(platform::BuildPack({{10, 1, {}}, {10, 1, Bytes("again")}}, refused));
}

TEST(ResourcePack, RefusesCorruptPacks) {
    const std::vector<uint8_t> good = SamplePack();
    // The entries start at 16, 12 bytes each: type, id, offset (+4), size (+8).
    const struct {
        const char* what;
        void (*corrupt)(std::vector<uint8_t>&);
        PackError error;
    } cases[] = {
        {"empty", [](std::vector<uint8_t>& p) { p.clear(); }, PackError::TooSmall},
        {"signature", [](std::vector<uint8_t>& p) { p[0] = 'X'; }, PackError::BadMagic},
        {"version", [](std::vector<uint8_t>& p) { p[4] = 2; }, PackError::BadVersion},
        {"reserved", [](std::vector<uint8_t>& p) { p[13] = 1; }, PackError::BadReserved},
        {"huge count", [](std::vector<uint8_t>& p) { PutU32(p, 8, 0xffffffff); },
         PackError::TableOutsideFile},
        {"offset past end", [](std::vector<uint8_t>& p) { PutU32(p, 16 + 4, 0xfffffff0); },
         PackError::DataOutsideFile},
        {"size past end", [](std::vector<uint8_t>& p) { PutU32(p, 16 + 8, 0xffffffff); },
         PackError::DataOutsideFile},
        {"offset in table", [](std::vector<uint8_t>& p) { PutU32(p, 16 + 4, 20); },
         PackError::DataOverlapsTable},
        {"duplicate",
         [](std::vector<uint8_t>& p) { std::copy_n(p.begin() + 16, 4, p.begin() + 28); },
         PackError::EntriesOutOfOrder},
        {"unsorted", [](std::vector<uint8_t>& p) { p[16] = 11; }, PackError::EntriesOutOfOrder},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> bytes = good;
        c.corrupt(bytes);
        PackView pack;
        EXPECT_EQ(pack.Open(bytes.data(), bytes.size()), c.error) << c.what;
        EXPECT_EQ(pack.EntryCount(), 0u) << c.what;
    }
    // The last resource ends at the end of the file, so every cut is noticed.
    for (size_t size = 0; size < good.size(); ++size) {
        PackView pack;
        EXPECT_NE(pack.Open(good.data(), size), PackError::None) << "cut at " << size;
    }
}

TEST(Resources, FindsProgramResourcesByTypeAndNumber) {
    const HMODULE program = GetModuleHandleA(nullptr);
    ASSERT_NE(program, nullptr);
    EXPECT_EQ(ResourceText(program, 1, RT_RCDATA), "TVRP-sample-record-24byt");
    EXPECT_EQ(ResourceText(nullptr, 40000, RT_RCDATA), "TVRP-sample-record-24byt");

    HRSRC byString = FindResourceA(nullptr, "#1", "#10");
    ASSERT_NE(byString, nullptr);
    EXPECT_EQ(SizeofResource(nullptr, byString), 24u);

    HRSRC empty = FindResourceA(program, MAKEINTRESOURCEA(2), RT_RCDATA);
    ASSERT_NE(empty, nullptr);
    EXPECT_EQ(SizeofResource(program, empty), 0u);
    EXPECT_NE(LoadResource(program, empty), nullptr);

    const struct {
        LPCSTR name;
        LPCSTR type;
        DWORD error;
    } missing[] = {
        {MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(99), ERROR_RESOURCE_TYPE_NOT_FOUND},
        {MAKEINTRESOURCEA(1), "WAVE", ERROR_RESOURCE_TYPE_NOT_FOUND},
        {MAKEINTRESOURCEA(3), RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"RECORD", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"#1x", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
        {"#70000", RT_RCDATA, ERROR_RESOURCE_NAME_NOT_FOUND},
    };
    for (const auto& m : missing) {
        SetLastError(0);
        EXPECT_EQ(FindResourceA(program, m.name, m.type), nullptr);
        EXPECT_EQ(GetLastError(), m.error);
    }
    const HMODULE bogus = reinterpret_cast<HMODULE>(uintptr_t{0x7f000000});
    EXPECT_EQ(FindResourceA(bogus, MAKEINTRESOURCEA(1), RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(LoadResource(nullptr, reinterpret_cast<HRSRC>(uintptr_t{12345})), nullptr);
    EXPECT_EQ(SizeofResource(nullptr, nullptr), 0u);
}

TEST(Resources, ErrorTextsAreTheProgramsWindows1252Blocks) {
    const std::vector<std::string> english = BlockStrings(32001);
    const std::vector<std::string> french = BlockStrings(32000);
    ASSERT_EQ(english.size(), 54u);
    ASSERT_EQ(french.size(), 54u);
    EXPECT_EQ(english.back(), "\x01");
    EXPECT_EQ(french.back(), "\x01");
    EXPECT_EQ(english[10], "Insufficient memory.");
    EXPECT_EQ(french[6],
              "Le nombre de couleurs de l\x92\xe9"
              "cran doit \xeatre au minimum de :");
    EXPECT_EQ(english[52], "The program's data folder was not found:\n");
    EXPECT_EQ(english[9], "");
    EXPECT_EQ(french[9], "");
    EXPECT_EQ(english[2],
              "If the problem persists, contact the product support\n(try to clean the CD-ROM).");
    EXPECT_EQ(french[41],
              "Ins\xe9rez le c\xe9"
              "d\xe9rom \xab\xa0%s\xa0\xbb dans le lecteur.");
    EXPECT_EQ(
        french[47],
        "D\xe9passement de capacit\xe9\xa0: essayez l\x92impression en mode \x93portrait\x94.");
    EXPECT_NE(french[13].find("QuickTime 32\x99 pour"), std::string::npos);
    EXPECT_EQ(english[51], "Dialog box unavailable.");
    EXPECT_EQ(french[51],
              "Ex\xe9"
              "cution de dialogue impossible.");
}

TEST(Resources, LoadsAndSharesLibrariesFromDisk) {
    TempFolder folder;
    const std::string path = folder.Write("Stamps.dat", SamplePack());
    folder.Write("noext.DLL", SamplePack());

    const HMODULE library = LoadLibraryA(path.c_str());
    ASSERT_NE(library, nullptr);
    EXPECT_NE(library, GetModuleHandleA(nullptr));
    EXPECT_EQ(ResourceText(library, 300, RT_BITMAP), "bitmap");
    EXPECT_EQ(ResourceText(nullptr, 300, RT_BITMAP), "<missing>");
    EXPECT_EQ(GetModuleHandleA("STAMPS.DAT"), library);
    const std::string fileName = platform::LibraryFileName(library);
    EXPECT_TRUE(fileName.ends_with("\\Stamps.dat")) << fileName;
    EXPECT_EQ(platform::LibraryFileName(GetModuleHandleA(nullptr)), "");

    EXPECT_EQ(LoadLibraryA(path.c_str()), library);
    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_EQ(ResourceText(library, 7, RT_RCDATA), "seven");
    HRSRC stale = FindResourceA(library, MAKEINTRESOURCEA(7), RT_RCDATA);
    EXPECT_TRUE(FreeLibrary(library));
    EXPECT_EQ(FindResourceA(library, MAKEINTRESOURCEA(7), RT_RCDATA), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_INVALID_HANDLE));
    EXPECT_EQ(LoadResource(library, stale), nullptr);
    EXPECT_FALSE(FreeLibrary(library));
    EXPECT_EQ(GetModuleHandleA("Stamps.dat"), nullptr);

    const HMODULE noExtension = LoadLibraryA(folder.WindowsPath("noext").c_str());
    ASSERT_NE(noExtension, nullptr);
    EXPECT_EQ(ResourceText(noExtension, 1, RT_RCDATA), "one");
    EXPECT_TRUE(FreeLibrary(noExtension));

    EXPECT_EQ(LoadLibraryA(folder.WindowsPath("absent.dat").c_str()), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_MOD_NOT_FOUND));
}

TEST(Resources, RefusesCorruptLibraries) {
    TempFolder folder;
    std::vector<uint8_t> truncated = SamplePack();
    truncated.pop_back();
    std::vector<uint8_t> hugeCount = SamplePack();
    PutU32(hugeCount, 8, 0x40000000);
    const std::vector<uint8_t> files[] = {{}, Bytes("MZ not a pack at all"), truncated, hugeCount};
    for (const std::vector<uint8_t>& bytes : files) {
        SetLastError(0);
        EXPECT_EQ(LoadLibraryA(folder.Write("bad.dat", bytes).c_str()), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
        SetLastError(0);
        EXPECT_EQ(platform::LoadPackFromMemory(bytes), nullptr);
        EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BAD_EXE_FORMAT));
    }
    const HMODULE fromMemory = platform::LoadPackFromMemory(SamplePack());
    ASSERT_NE(fromMemory, nullptr);
    EXPECT_EQ(ResourceText(fromMemory, 5, kTextType), "A\0B\0\x01\0"s);
    EXPECT_TRUE(FreeLibrary(fromMemory));
}

TEST(Resources, ProgramPackCanBeReplacedAndRestored) {
    const std::vector<uint8_t> withoutErrors = SamplePack();
    EXPECT_FALSE(platform::SetProgramPack(withoutErrors.data(), 10));
    EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(32001), kTextType), nullptr);

    ASSERT_TRUE(platform::SetProgramPack(withoutErrors.data(), withoutErrors.size()));
    EXPECT_EQ(FindResourceA(nullptr, MAKEINTRESOURCEA(32001), kTextType), nullptr);
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_RESOURCE_NAME_NOT_FOUND));
    EXPECT_EQ(ResourceText(nullptr, 7, RT_RCDATA), "seven");

    platform::ResetProgramPack();
    EXPECT_NE(FindResourceA(nullptr, MAKEINTRESOURCEA(32001), kTextType), nullptr);
}
