#include "platform/kernel/profile.h"

#include <gtest/gtest.h>
#include <stdlib.h>
#include <sys/stat.h>

#include "platform/win/kernel.h"
#include "tests/platform/kernel/kernel_test_folder.h"

namespace platform {
namespace {

using testing::KernelTestFolder;

std::string Lookup(std::string_view bytes, const char* section, const char* key) {
    const ProfileFile file = ParseProfile(bytes);
    const auto value = file.Find(section, key);
    return value ? std::string(*value) : std::string("<none>");
}

TEST(KernelProfile, ParsesValuesLikeWindows) {
    const struct {
        std::string bytes;
        const char* section;
        const char* key;
        const char* value;
    } cases[] = {
        {"[intl]\nsLanguage=fra\n", "INTL", "slanguage", "fra"},
        {"[intl]\r\nsLanguage=deu\r\n", "intl", "sLanguage", "deu"},
        {"\xEF\xBB\xBF[intl]\nsLanguage=ita", "intl", "sLanguage", "ita"},
        {"\xEF\xBB\xBF[p]\nname=\xC3\xA9t\xC3\xA9", "p", "name", "\xE9t\xE9"},
        // UTF-8 without a mark reads as well; Windows-1252 stays as it is.
        {"[p]\nname=\xC3\xA9t\xC3\xA9", "p", "name", "\xE9t\xE9"},
        {"[p]\nname=\xE9t\xE9", "p", "name", "\xE9t\xE9"},
        {"[p]\nname=\xC3\xA9t\xE9", "p", "name", "\xC3\xA9t\xE9"},
        {"[\xC3\xA9]\nk=v", "\xC9", "K", "v"},
        {std::string("\xFF\xFE[\0p\0]\0\n\0k\0=\0\xE9\0", 16), "p", "k", "\xE9"},
        {"  [ param ]  \n  langage =  2  \n", "param", "langage", "2"},
        {"[p]\nk=\"quoted value\"\n", "p", "k", "quoted value"},
        {"[p]\nk='single'\n", "p", "k", "single"},
        {"[p]\nk=\"unbalanced\n", "p", "k", "\"unbalanced"},
        {"[p]\nk=\"\n", "p", "k", "\""},
        {"[p]\nk=a=b\n", "p", "k", "a=b"},
        {"[p]\nk=\n", "p", "k", ""},
        {"[p]\nk=first\nK=second\n", "p", "k", "first"},
        {"[p]\nk=first\n[P]\nk=second\nj=later\n", "p", "j", "later"},
        {"[p]\nk=first\n[P]\nk=second\n", "p", "k", "first"},
        {"k=outside\n[p]\n", "p", "k", "<none>"},
        {"[p\nk=v\n", "p", "k", "<none>"},
        {"[p]\n;k=comment\n", "p", "k", "<none>"},
        {"[p]\nkey without equals\n", "p", "key without equals", "<none>"},
        {"[p]\n=no key\n", "p", "", "<none>"},
        {std::string("[p]\nk=va\0lue\n", 13), "p", "k", "va"},
        {"[p]\rk=old mac\r", "p", "k", "old mac"},
        {"[a]b]\nk=v", "a]b", "k", "v"},
        {"", "p", "k", "<none>"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Lookup(c.bytes, c.section, c.key), c.value) << c.bytes;
    }
}

TEST(KernelProfile, HugeAndHostileInputsStayBounded) {
    std::string longLine = "[p]\nk=" + std::string(200000, 'v') + "\nj=1\n";
    EXPECT_EQ(Lookup(longLine, "p", "j"), "1");
    EXPECT_EQ(Lookup(longLine, "p", "k").size(), 200000u);

    // Only the first megabyte counts: a key past it is not seen.
    std::string huge = "[p]\n" + std::string(kMaxProfileBytes, ';') + "\nlate=1\n";
    EXPECT_EQ(Lookup(huge, "p", "late"), "<none>");

    std::string many = "[p]\n";
    for (int i = 0; i < 70000; ++i) {
        many += "k=v\n";
    }
    const ProfileFile file = ParseProfile(many);
    ASSERT_EQ(file.sections.size(), 1u);
    EXPECT_EQ(file.sections[0].entries.size(), kMaxProfileItems - 1);

    std::string noise;
    for (int i = 0; i < 4096; ++i) {
        noise += static_cast<char>((i * 7919) & 0xFF);
    }
    ParseProfile(noise);
}

TEST(KernelProfile, NotesTheLinesWithCharactersWindows1252Lacks) {
    const ProfileFile file = ParseProfile("[param]\nlangage=2\ndir=/home/\xD0\x9A\r\nok=\xC3\xA9\n");
    EXPECT_EQ(file.unusableLines, std::vector<size_t>{3});
    EXPECT_EQ(Lookup("[p]\ndir=/home/\xD0\x9A", "p", "dir"), "/home/?");
    EXPECT_TRUE(ParseProfile("[p]\nk=\xE9\n").unusableLines.empty());
}

TEST(KernelProfile, APipeInPlaceOfAProfileFileIsNeverWaitedOn) {
    KernelTestFolder folder;
    ASSERT_EQ(mkfifo(folder.Path("config/Tavelin.ini").c_str(), 0600), 0);
    ASSERT_EQ(mkfifo(folder.Path("config/win.ini").c_str(), 0600), 0);
    folder.Write("lib/tavelin/win.ini", "[intl]\nsLanguage=ita\n");
    EXPECT_EQ(GetPrivateProfileIntA("param", "langage", -1, "Tavelin.ini"), static_cast<UINT>(-1));
    char buffer[8];
    GetProfileStringA("intl", "sLanguage", "fra", buffer, sizeof buffer);
    EXPECT_STREQ(buffer, "ita");
    EXPECT_FALSE(LoadProfile(folder.Path("config/win.ini")));
}

TEST(KernelProfile, CopiesAndNumbersFollowWindows) {
    char buffer[8];
    EXPECT_EQ(CopyProfileValue("abc", buffer, sizeof buffer), 3u);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(CopyProfileValue("abcdefghij", buffer, 4), 3u);
    EXPECT_STREQ(buffer, "abc");
    EXPECT_EQ(CopyProfileValue("abc", buffer, 1), 0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(CopyProfileValue("abc", buffer, 0), 0u);

    const struct {
        const char* text;
        UINT value;
    } numbers[] = {
        {"42", 42},   {"  7 apples", 7}, {"-3", static_cast<UINT>(-3)}, {"+5", 5},
        {"0x1F", 31}, {"0xZ", 0},        {"apples", 0},                 {"4294967297", 1},
    };
    for (const auto& n : numbers) {
        EXPECT_EQ(ParseProfileInt(n.text), n.value) << n.text;
    }
}

TEST(KernelProfile, PrivateProfileFilesThroughWindowsCalls) {
    KernelTestFolder folder;
    folder.Write("lib/tavelin/Tavelin.ini", "[param]\nlangage=3\ndir=C:\\Dessins  \n");
    folder.Write("config/tavelin.INI", "[param]\nlangage=1\n");
    const std::string ini = folder.WindowsPath("lib/tavelin/TAVELIN.INI");
    char buffer[16];
    EXPECT_EQ(GetPrivateProfileIntA("param", "langage", -1, ini.c_str()), 3u);
    EXPECT_EQ(GetPrivateProfileIntA("param", "missing", -1, ini.c_str()), static_cast<UINT>(-1));
    EXPECT_EQ(GetPrivateProfileStringA("PARAM", "DIR", "", buffer, sizeof buffer, ini.c_str()),
              10u);
    EXPECT_STREQ(buffer, "C:\\Dessins");
    EXPECT_EQ(GetPrivateProfileStringA("param", "dir", "", buffer, 5, ini.c_str()), 4u);
    EXPECT_STREQ(buffer, "C:\\D");
    EXPECT_EQ(GetPrivateProfileStringA("param", "none", "def  ", buffer, sizeof buffer,
                                       ini.c_str()),
              3u);
    EXPECT_STREQ(buffer, "def");
    EXPECT_EQ(GetPrivateProfileStringA("param", "none", nullptr, buffer, sizeof buffer,
                                       ini.c_str()),
              0u);
    EXPECT_STREQ(buffer, "");
    EXPECT_EQ(GetPrivateProfileStringA("param", "none", "x", buffer, sizeof buffer,
                                       folder.WindowsPath("none.ini").c_str()),
              1u);
    // A bare name is looked for in the Windows folder.
    EXPECT_EQ(GetPrivateProfileIntA("param", "langage", -1, "Tavelin.ini"), 1u);
}

TEST(KernelProfile, WinIniFallsBackFromConfigToProgramToDesktop) {
    KernelTestFolder folder;
    folder.Write("config/win.ini", "[intl]\nsLanguage=nld\n");
    folder.Write("lib/tavelin/WIN.INI", "[intl]\nsLanguage=ita\niCountry=39\n[windows]\n"
                                        "device=Test,winspool,CUPS\n");
    char buffer[16];
    EXPECT_EQ(GetProfileStringA("intl", "sLanguage", "fra", buffer, 7), 3u);
    EXPECT_STREQ(buffer, "nld");
    EXPECT_EQ(GetProfileIntA("intl", "iCountry", 1), 39u);
    EXPECT_EQ(GetProfileStringA("windows", "device", "", buffer, sizeof buffer), 15u);
    EXPECT_STREQ(buffer, "Test,winspool,C");

    folder.Write("config/win.ini", "");
    folder.Write("lib/tavelin/WIN.INI", "");
    const char* saved = getenv("LANG");
    const std::string savedLang = saved != nullptr ? saved : "";
    const char* savedAll = getenv("LC_ALL");
    const std::string savedAllValue = savedAll != nullptr ? savedAll : "";
    const char* savedMessages = getenv("LC_MESSAGES");
    const std::string savedMessagesValue = savedMessages != nullptr ? savedMessages : "";
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    setenv("LANG", "de_DE.UTF-8", 1);
    EXPECT_EQ(GetProfileStringA("intl", "sLanguage", "fra", buffer, 7), 3u);
    EXPECT_STREQ(buffer, "deu");
    setenv("LC_MESSAGES", "es_ES", 1);
    GetProfileStringA("intl", "sLanguage", "fra", buffer, 7);
    EXPECT_STREQ(buffer, "esn");
    // No locale, C and POSIX speak English, whatever LANG says below them.
    for (const char* locale : {"C", "C.UTF-8", "POSIX"}) {
        setenv("LC_ALL", locale, 1);
        GetProfileStringA("intl", "sLanguage", "fra", buffer, 7);
        EXPECT_STREQ(buffer, "enu") << locale;
    }
    unsetenv("LC_ALL");
    unsetenv("LC_MESSAGES");
    unsetenv("LANG");
    GetProfileStringA("intl", "sLanguage", "fra", buffer, 7);
    EXPECT_STREQ(buffer, "enu");
    saved != nullptr ? setenv("LANG", savedLang.c_str(), 1) : unsetenv("LANG");
    savedAll != nullptr ? setenv("LC_ALL", savedAllValue.c_str(), 1) : unsetenv("LC_ALL");
    savedMessages != nullptr ? setenv("LC_MESSAGES", savedMessagesValue.c_str(), 1)
                             : unsetenv("LC_MESSAGES");
}

TEST(KernelProfile, LocalesGiveWindowsLanguageCodes) {
    const struct {
        const char* locale;
        const char* code;
    } cases[] = {
        {"fr_FR.UTF-8", "fra"}, {"fr_CA", "fra"},       {"en_GB.UTF-8", "eng"},
        {"en_US", "enu"},       {"en", "enu"},          {"de_AT@euro", "deu"},
        {"es_ES.UTF-8", "esn"}, {"nl_BE", "nld"},       {"it_IT", "ita"},
        {"pt_BR", "ptb"},       {"nb_NO.UTF-8", "nor"}, {"ja_JP.UTF-8", "ja"},
        {"C", nullptr},         {"POSIX", nullptr},     {"C.UTF-8", nullptr},
        {"", nullptr},          {"12_34", nullptr},
    };
    for (const auto& c : cases) {
        const auto code = LanguageFromLocale(c.locale);
        EXPECT_EQ(code.value_or("<none>"), c.code != nullptr ? c.code : "<none>") << c.locale;
    }
}

}  // namespace
}  // namespace platform
