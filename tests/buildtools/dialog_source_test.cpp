// The dialog template compiler of respack: the bytes of a compiled template
// follow the classic DLGTEMPLATE layout, and bad source lines are refused with
// their file and line.

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "buildtools/respack/dialog_source.h"

namespace {

std::vector<uint8_t> Bytes(const std::string& text) { return {text.begin(), text.end()}; }

uint16_t Word(const std::vector<uint8_t>& b, size_t at) {
    return static_cast<uint16_t>(b.at(at) | b.at(at + 1) << 8);
}

uint32_t Dword(const std::vector<uint8_t>& b, size_t at) {
    return Word(b, at) | static_cast<uint32_t>(Word(b, at + 2)) << 16;
}

// Reads a NUL-terminated UTF-16 string at `at` and moves past it.
std::u16string String(const std::vector<uint8_t>& b, size_t& at) {
    std::u16string text;
    for (uint16_t c = Word(b, at); c != 0; c = Word(b, at)) {
        text += static_cast<char16_t>(c);
        at += 2;
    }
    at += 2;
    return text;
}

struct Item {
    uint32_t style;
    int16_t x, y, cx, cy;
    uint16_t id;
    uint16_t atom;
    std::u16string text;
};

// Reads one DLGITEMTEMPLATE from the next four-byte boundary.
Item ReadItem(const std::vector<uint8_t>& b, size_t& at) {
    at = (at + 3) & ~size_t{3};
    Item item{};
    item.style = Dword(b, at);
    EXPECT_EQ(Dword(b, at + 4), 0u) << "extended style";
    item.x = static_cast<int16_t>(Word(b, at + 8));
    item.y = static_cast<int16_t>(Word(b, at + 10));
    item.cx = static_cast<int16_t>(Word(b, at + 12));
    item.cy = static_cast<int16_t>(Word(b, at + 14));
    item.id = Word(b, at + 16);
    EXPECT_EQ(Word(b, at + 18), 0xFFFF) << "class given by atom";
    item.atom = Word(b, at + 20);
    at += 22;
    item.text = String(b, at);
    EXPECT_EQ(Word(b, at), 0) << "creation data";
    at += 2;
    return item;
}

const char kSource[] =
    "# A comment, then a blank line.\n"
    "\n"
    "DIALOG 203 0 0 167 159\n"
    "STYLE WS_POPUP | WS_BORDER\n"
    "CAPTION \"Aé \\\"x\\\"\"\n"
    "FONT 10 \"System\"\n"
    "  STATIC 105 \"Chargement :\" 0 1 167 14 SS_OWNERDRAW\n"
    "  EDIT 102 \"\" -4 118 133 13 ES_AUTOHSCROLL | WS_BORDER | 0x10000\n"
    "  BUTTON 2 \"\" 107 134 40 20 BS_OWNERDRAW\n"
    "  0x0085 7 \"\" 1 2 3 4\n"
    "END\n"
    "DIALOG 210 5 6 225 125\r\n"
    "STYLE WS_POPUP\r\n"
    "BUTTON 100 \"\" 0 0 225 125 BS_OWNERDRAW\r\n"
    "END\r\n";

TEST(DialogSource, CompilesTheClassicTemplate) {
    std::vector<uint8_t> b;
    std::string error;
    ASSERT_TRUE(respack::CompileDialog(Bytes(kSource), "dialogs.txt", 203, b, error)) << error;

    EXPECT_EQ(Dword(b, 0), 0x80800040u);  // WS_POPUP | WS_BORDER | DS_SETFONT
    EXPECT_EQ(Dword(b, 4), 0u);
    EXPECT_EQ(Word(b, 8), 4);  // items
    EXPECT_EQ(Word(b, 10), 0);
    EXPECT_EQ(Word(b, 12), 0);
    EXPECT_EQ(Word(b, 14), 167);
    EXPECT_EQ(Word(b, 16), 159);
    EXPECT_EQ(Word(b, 18), 0);  // menu
    EXPECT_EQ(Word(b, 20), 0);  // class
    size_t at = 22;
    EXPECT_EQ(String(b, at), u"A\u00e9 \"x\"");
    EXPECT_EQ(Word(b, at), 10);
    at += 2;
    EXPECT_EQ(String(b, at), u"System");

    const Item label = ReadItem(b, at);
    EXPECT_EQ(label.style, 0x5000000Du);  // WS_CHILD | WS_VISIBLE | SS_OWNERDRAW
    EXPECT_EQ(label.atom, 0x0082);
    EXPECT_EQ(label.id, 105);
    EXPECT_EQ(label.x, 0);
    EXPECT_EQ(label.y, 1);
    EXPECT_EQ(label.cx, 167);
    EXPECT_EQ(label.cy, 14);
    EXPECT_EQ(label.text, u"Chargement :");

    const Item edit = ReadItem(b, at);
    EXPECT_EQ(edit.style, 0x50810080u);
    EXPECT_EQ(edit.atom, 0x0081);
    EXPECT_EQ(edit.x, -4);
    EXPECT_EQ(edit.text, u"");

    const Item button = ReadItem(b, at);
    EXPECT_EQ(button.atom, 0x0080);
    EXPECT_EQ(button.style, 0x5000000Bu);
    EXPECT_EQ(button.id, 2);

    const Item other = ReadItem(b, at);
    EXPECT_EQ(other.atom, 0x0085);
    EXPECT_EQ(other.style, 0x50000000u);
    EXPECT_EQ(other.cy, 4);
    EXPECT_EQ(at, b.size());
}

TEST(DialogSource, LeavesTheFontOutWithoutAFontLine) {
    std::vector<uint8_t> b;
    std::string error;
    ASSERT_TRUE(respack::CompileDialog(Bytes(kSource), "dialogs.txt", 210, b, error)) << error;
    EXPECT_EQ(Dword(b, 0), 0x80000000u);
    EXPECT_EQ(Word(b, 8), 1);
    EXPECT_EQ(Word(b, 10), 5);
    EXPECT_EQ(Word(b, 12), 6);
    size_t at = 22;
    EXPECT_EQ(String(b, at), u"");
    EXPECT_EQ(at, 24u);
    const Item picture = ReadItem(b, at);
    EXPECT_EQ(picture.id, 100);
    EXPECT_EQ(picture.cx, 225);
    EXPECT_EQ(at, b.size());

    EXPECT_FALSE(respack::CompileDialog(Bytes(kSource), "dialogs.txt", 204, b, error));
    EXPECT_EQ(error, "dialogs.txt: no dialog 204");
}

TEST(DialogSource, RefusesBadLinesWithFileAndLine) {
    const std::string head = "DIALOG 200 0 0 10 10\nSTYLE WS_POPUP\n";
    struct Case {
        std::string source;
        std::string message;
    };
    const Case cases[] = {
        {head + "BUTTON 1 \"\" 0 0 10 10 BS_OWNERDRAW\n", "bad.txt:1: dialog 200 has no END"},
        {head + "COMBO 1 \"\" 0 0 10 10\nEND\n", "bad.txt:3: unknown keyword or item class COMBO"},
        {head + "BUTTON 1 \"\" 0 0 10 10 SS_OWNERDRAW\nEND\n",
         "bad.txt:3: style SS_OWNERDRAW does not belong on this item"},
        {head + "BUTTON 1 \"\" 0 0 10 10 WS_FOO\nEND\n", "bad.txt:3: unknown style WS_FOO"},
        {head + "BUTTON 1 \"\" 0 0 10 10 BS_OWNERDRAW |\nEND\n", "bad.txt:3: a style ends with |"},
        {head + "BUTTON 1 \"\" 0 0 10 10 BS_OWNERDRAW WS_TABSTOP\nEND\n",
         "bad.txt:3: styles are joined by |, found WS_TABSTOP"},
        {head + "BUTTON 1 \"\" 0 0 -1 10\nEND\n",
         "bad.txt:3: width must be a number from 0 to 32767, found -1"},
        {head + "BUTTON 70000 \"\" 0 0 1 1\nEND\n",
         "bad.txt:3: the item id must be a number from 0 to 65535, found 70000"},
        {head + "BUTTON 1 \"\" 0 0 1\nEND\n", "bad.txt:3: height is missing"},
        {head + "BUTTON 1 0 0 1 1\nEND\n", "bad.txt:3: the item's text is missing (write \"\" for none)"},
        {head + "CAPTION \"open\nEND\n", "bad.txt:3: a string is not closed"},
        {head + "CAPTION \"\xE2\x86\x92\"\nEND\n", "bad.txt:3: U+2192 cannot be written in Windows-1252"},
        {head + "CAPTION \"\xC3\"\nEND\n", "bad.txt:3: invalid UTF-8 in a string"},
        {head + "CAPTION \"a\\n\"\nEND\n", "bad.txt:3: unknown escape in a string"},
        {head + "STYLE WS_BORDER\nEND\n", "bad.txt:3: STYLE given twice"},
        {"DIALOG 200 0 0 10 10\nSTYLE WS_POPUP | DS_SETFONT\nFONT 8 \"Arial\"\nEND\n",
         "bad.txt:4: DS_SETFONT is set by a FONT line, not written"},
        {"DIALOG 200 0 0 10 10\nSTYLE BS_OWNERDRAW\nEND\n",
         "bad.txt:2: style BS_OWNERDRAW does not belong on this dialog"},
        {"DIALOG 200 0 0 10 10\nCAPTION \"x\"\nEND\n", "bad.txt:3: dialog 200 has no STYLE"},
        {head + "FONT 0 \"Arial\"\nEND\n", "bad.txt:3: the font size must be a number from 1 to 65535"},
        {head + "END\nDIALOG 200 0 0 10 10\n", "bad.txt:4: dialog 200 appears twice"},
        {head + "DIALOG 201 0 0 10 10\n", "bad.txt:3: DIALOG inside dialog 200 (END is missing)"},
        {"BUTTON 1 \"\" 0 0 10 10\n", "bad.txt:1: expected DIALOG ID X Y WIDTH HEIGHT"},
        {"DIALOG 0 0 0 10 10\n", "bad.txt:1: the dialog id must be a number from 1 to 65535, found 0"},
        {head + "END extra\n", "bad.txt:3: END stands alone"},
    };
    for (const Case& c : cases) {
        std::vector<respack::DialogTemplate> dialogs;
        std::string error;
        EXPECT_FALSE(respack::ParseDialogSource(Bytes(c.source), "bad.txt", dialogs, error)) << c.source;
        EXPECT_EQ(error.rfind(c.message, 0), 0u) << "got: " << error << "\nfor:\n" << c.source;
        EXPECT_TRUE(dialogs.empty());
    }
}

}  // namespace
