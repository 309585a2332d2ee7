#include "buildtools/respack/dialog_source.h"

#include <algorithm>
#include <charconv>
#include <cstdio>
#include <optional>

namespace respack {

namespace {

constexpr uint32_t kWsChild = 0x40000000;
constexpr uint32_t kWsVisible = 0x10000000;
constexpr uint32_t kDsSetFont = 0x40;

// What a style name may be used on: any window, the dialog itself, or items
// of one predefined class (the scope is then the class atom).
constexpr uint16_t kAnyWindow = 0;
constexpr uint16_t kDialogOnly = 1;
constexpr uint16_t kButton = 0x80;
constexpr uint16_t kEdit = 0x81;
constexpr uint16_t kStatic = 0x82;
constexpr uint16_t kListBox = 0x83;
constexpr uint16_t kScrollBar = 0x84;

struct StyleName {
    const char* name;
    uint32_t value;
    uint16_t scope;
};

constexpr StyleName kStyleNames[] = {
    {"WS_POPUP", 0x80000000, kAnyWindow},
    {"WS_CHILD", 0x40000000, kAnyWindow},
    {"WS_VISIBLE", 0x10000000, kAnyWindow},
    {"WS_DISABLED", 0x08000000, kAnyWindow},
    {"WS_CLIPSIBLINGS", 0x04000000, kAnyWindow},
    {"WS_CLIPCHILDREN", 0x02000000, kAnyWindow},
    {"WS_CAPTION", 0x00C00000, kAnyWindow},
    {"WS_BORDER", 0x00800000, kAnyWindow},
    {"WS_DLGFRAME", 0x00400000, kAnyWindow},
    {"WS_VSCROLL", 0x00200000, kAnyWindow},
    {"WS_HSCROLL", 0x00100000, kAnyWindow},
    {"WS_SYSMENU", 0x00080000, kAnyWindow},
    {"WS_GROUP", 0x00020000, kAnyWindow},
    {"WS_TABSTOP", 0x00010000, kAnyWindow},
    {"DS_3DLOOK", 0x0004, kDialogOnly},
    {"DS_SETFONT", kDsSetFont, kDialogOnly},
    {"DS_MODALFRAME", 0x0080, kDialogOnly},
    {"DS_NOIDLEMSG", 0x0100, kDialogOnly},
    {"DS_SETFOREGROUND", 0x0200, kDialogOnly},
    {"DS_CENTER", 0x0800, kDialogOnly},
    {"BS_PUSHBUTTON", 0x0000, kButton},
    {"BS_DEFPUSHBUTTON", 0x0001, kButton},
    {"BS_CHECKBOX", 0x0002, kButton},
    {"BS_AUTOCHECKBOX", 0x0003, kButton},
    {"BS_RADIOBUTTON", 0x0004, kButton},
    {"BS_GROUPBOX", 0x0007, kButton},
    {"BS_AUTORADIOBUTTON", 0x0009, kButton},
    {"BS_OWNERDRAW", 0x000B, kButton},
    {"ES_LEFT", 0x0000, kEdit},
    {"ES_CENTER", 0x0001, kEdit},
    {"ES_RIGHT", 0x0002, kEdit},
    {"ES_MULTILINE", 0x0004, kEdit},
    {"ES_UPPERCASE", 0x0008, kEdit},
    {"ES_AUTOVSCROLL", 0x0040, kEdit},
    {"ES_AUTOHSCROLL", 0x0080, kEdit},
    {"ES_READONLY", 0x0800, kEdit},
    {"SS_LEFT", 0x0000, kStatic},
    {"SS_CENTER", 0x0001, kStatic},
    {"SS_RIGHT", 0x0002, kStatic},
    {"SS_ICON", 0x0003, kStatic},
    {"SS_OWNERDRAW", 0x000D, kStatic},
    {"SS_BITMAP", 0x000E, kStatic},
    {"SS_NOTIFY", 0x0100, kStatic},
    {"LBS_NOTIFY", 0x0001, kListBox},
    {"LBS_SORT", 0x0002, kListBox},
    {"LBS_OWNERDRAWFIXED", 0x0010, kListBox},
    {"LBS_HASSTRINGS", 0x0040, kListBox},
    {"SBS_HORZ", 0x0000, kScrollBar},
    {"SBS_VERT", 0x0001, kScrollBar},
};

struct ClassName {
    const char* name;
    uint16_t atom;
};

constexpr ClassName kClassNames[] = {
    {"BUTTON", kButton}, {"EDIT", kEdit},           {"STATIC", kStatic},
    {"LISTBOX", kListBox}, {"SCROLLBAR", kScrollBar},
};

// Windows-1252 bytes 0x80 to 0x9F; 0 marks the five that have no character.
constexpr char16_t kHighControls[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

bool InWindows1252(char32_t c) {
    if ((c >= 0x20 && c < 0x7F) || (c >= 0xA0 && c <= 0xFF)) {
        return true;
    }
    return c != 0 && std::find(std::begin(kHighControls), std::end(kHighControls), c) !=
                         std::end(kHighControls);
}

enum class TokenKind { Word, Text, Bar };

struct Token {
    TokenKind kind;
    std::string text;  // a word as written, or a string's UTF-8 bytes without quotes
};

// Splits a line into words, quoted strings and bars. Inside a string \" is a
// quote and \\ a backslash.
[[nodiscard]] bool Tokenize(const std::string& line, std::vector<Token>& tokens, std::string& error) {
    size_t pos = 0;
    while (pos < line.size()) {
        const char c = line[pos];
        if (c == ' ' || c == '\t') {
            ++pos;
        } else if (c == '|') {
            tokens.push_back({TokenKind::Bar, "|"});
            ++pos;
        } else if (c == '"') {
            std::string text;
            for (++pos;; ++pos) {
                if (pos >= line.size()) {
                    error = "a string is not closed";
                    return false;
                }
                if (line[pos] == '"') {
                    break;
                }
                if (line[pos] == '\\') {
                    if (pos + 1 >= line.size() || (line[pos + 1] != '"' && line[pos + 1] != '\\')) {
                        error = "unknown escape in a string (only \\\" and \\\\ are known)";
                        return false;
                    }
                    ++pos;
                }
                text += line[pos];
            }
            ++pos;
            tokens.push_back({TokenKind::Text, text});
        } else {
            const size_t end = line.find_first_of(" \t|\"", pos);
            const size_t stop = end == std::string::npos ? line.size() : end;
            tokens.push_back({TokenKind::Word, line.substr(pos, stop - pos)});
            pos = stop;
        }
    }
    return true;
}

std::optional<long> ParseInteger(const std::string& text) {
    long value = 0;
    const char* first = text.data();
    const char* last = first + text.size();
    std::from_chars_result result;
    if (text.size() > 2 && text[0] == '0' && (text[1] == 'x' || text[1] == 'X')) {
        result = std::from_chars(first + 2, last, value, 16);
    } else {
        result = std::from_chars(first, last, value, 10);
    }
    if (result.ec != std::errc() || result.ptr != last || text.empty()) {
        return std::nullopt;
    }
    return value;
}

// Converts a string's UTF-8 to UTF-16, accepting only what Windows-1252 can
// hold, since the program reads every text through the ANSI calls.
[[nodiscard]] bool ToUtf16(const std::string& utf8, std::u16string& out, std::string& error) {
    out.clear();
    for (size_t pos = 0; pos < utf8.size();) {
        const auto lead = static_cast<uint8_t>(utf8[pos]);
        const int extra = lead < 0x80 ? 0 : (lead & 0xE0) == 0xC0 ? 1 : (lead & 0xF0) == 0xE0 ? 2 : -1;
        if (extra < 0 || utf8.size() - pos <= static_cast<size_t>(extra)) {
            error = "invalid UTF-8 in a string";
            return false;
        }
        char32_t c = extra == 0 ? lead : lead & (0x3F >> extra);
        for (int i = 1; i <= extra; ++i) {
            const auto next = static_cast<uint8_t>(utf8[pos + i]);
            if ((next & 0xC0) != 0x80) {
                error = "invalid UTF-8 in a string";
                return false;
            }
            c = (c << 6) | (next & 0x3F);
        }
        if ((extra == 1 && c < 0x80) || (extra == 2 && c < 0x800)) {
            error = "invalid UTF-8 in a string";
            return false;
        }
        if (!InWindows1252(c)) {
            char code[16];
            std::snprintf(code, sizeof code, "U+%04X", static_cast<unsigned>(c));
            error = std::string(code) + " cannot be written in Windows-1252";
            return false;
        }
        out += static_cast<char16_t>(c);
        pos += extra + 1;
    }
    return true;
}

// Reads "NAME | NAME | NUMBER ..." from tokens[first] on. The scope is
// kDialogOnly for the dialog's own style, else the item's class atom.
[[nodiscard]] bool ParseStyle(const std::vector<Token>& tokens, size_t first, uint16_t scope,
                              uint32_t& style, std::string& error) {
    if (first >= tokens.size()) {
        error = "a style is missing";
        return false;
    }
    style = 0;
    for (size_t i = first; i < tokens.size(); ++i) {
        const Token& token = tokens[i];
        const bool wantName = (i - first) % 2 == 0;
        if (!wantName) {
            if (token.kind != TokenKind::Bar) {
                error = "styles are joined by |, found " + token.text;
                return false;
            }
            continue;
        }
        if (token.kind != TokenKind::Word) {
            error = "a style name or number is missing";
            return false;
        }
        if (const std::optional<long> number = ParseInteger(token.text)) {
            if (*number < 0 || *number > 0xFFFFFFFFL) {
                error = "style " + token.text + " does not fit 32 bits";
                return false;
            }
            style |= static_cast<uint32_t>(*number);
            continue;
        }
        const auto* known = std::find_if(std::begin(kStyleNames), std::end(kStyleNames),
                                         [&](const StyleName& s) { return token.text == s.name; });
        if (known == std::end(kStyleNames)) {
            error = "unknown style " + token.text;
            return false;
        }
        if (known->scope != kAnyWindow && known->scope != scope) {
            error = "style " + token.text + " does not belong on this " +
                    (scope == kDialogOnly ? std::string("dialog") : std::string("item"));
            return false;
        }
        style |= known->value;
    }
    if (tokens.back().kind == TokenKind::Bar) {
        error = "a style ends with |";
        return false;
    }
    return true;
}

// Reads one signed number from a word token within [low, high].
[[nodiscard]] bool ReadNumber(const std::vector<Token>& tokens, size_t index, const char* what,
                              long low, long high, long& value, std::string& error) {
    if (index >= tokens.size() || tokens[index].kind != TokenKind::Word) {
        error = std::string(what) + " is missing";
        return false;
    }
    const std::optional<long> number = ParseInteger(tokens[index].text);
    if (!number || *number < low || *number > high) {
        error = std::string(what) + " must be a number from " + std::to_string(low) + " to " +
                std::to_string(high) + ", found " + tokens[index].text;
        return false;
    }
    value = *number;
    return true;
}

// Reads x, y, cx and cy from tokens[first] on.
[[nodiscard]] bool ReadRectangle(const std::vector<Token>& tokens, size_t first, int16_t (&out)[4],
                                 std::string& error) {
    static constexpr const char* kNames[4] = {"x", "y", "width", "height"};
    for (int i = 0; i < 4; ++i) {
        long value = 0;
        if (!ReadNumber(tokens, first + i, kNames[i], i < 2 ? -32768 : 0, 32767, value, error)) {
            return false;
        }
        out[i] = static_cast<int16_t>(value);
    }
    return true;
}

std::optional<uint16_t> ClassAtom(const std::string& word) {
    for (const ClassName& known : kClassNames) {
        if (word == known.name) {
            return known.atom;
        }
    }
    const std::optional<long> number = ParseInteger(word);
    if (number && *number >= 1 && *number <= 0xFFFF) {
        return static_cast<uint16_t>(*number);
    }
    return std::nullopt;
}

// "CLASS ID "TEXT" X Y CX CY [STYLE]"
[[nodiscard]] bool ParseItem(const std::vector<Token>& tokens, uint16_t atom, DialogItem& item,
                             std::string& error) {
    item.classAtom = atom;
    long id = 0;
    if (!ReadNumber(tokens, 1, "the item id", 0, 0xFFFF, id, error)) {
        return false;
    }
    item.id = static_cast<uint16_t>(id);
    if (tokens.size() < 3 || tokens[2].kind != TokenKind::Text) {
        error = "the item's text is missing (write \"\" for none)";
        return false;
    }
    if (!ToUtf16(tokens[2].text, item.text, error)) {
        return false;
    }
    int16_t rectangle[4];
    if (!ReadRectangle(tokens, 3, rectangle, error)) {
        return false;
    }
    item.x = rectangle[0];
    item.y = rectangle[1];
    item.cx = rectangle[2];
    item.cy = rectangle[3];
    uint32_t style = 0;
    if (tokens.size() > 7 && !ParseStyle(tokens, 7, atom, style, error)) {
        return false;
    }
    item.style = style | kWsChild | kWsVisible;
    return true;
}

// Reads one line that belongs to the open dialog; done is set by END.
[[nodiscard]] bool ParseDialogLine(const std::vector<Token>& tokens, DialogTemplate& dialog,
                                   bool& styleSeen, bool& done, std::string& error) {
    const std::string& keyword = tokens[0].text;
    if (tokens[0].kind != TokenKind::Word) {
        error = "a line starts with a keyword or an item class";
        return false;
    }
    if (keyword == "END") {
        if (tokens.size() != 1) {
            error = "END stands alone";
            return false;
        }
        if (!styleSeen) {
            error = "dialog " + std::to_string(dialog.id) + " has no STYLE";
            return false;
        }
        if ((dialog.style & kDsSetFont) != 0) {
            error = "DS_SETFONT is set by a FONT line, not written";
            return false;
        }
        if (dialog.pointSize != 0) {
            dialog.style |= kDsSetFont;
        }
        done = true;
        return true;
    }
    if (keyword == "STYLE") {
        if (styleSeen) {
            error = "STYLE given twice";
            return false;
        }
        styleSeen = true;
        return ParseStyle(tokens, 1, kDialogOnly, dialog.style, error);
    }
    if (keyword == "CAPTION") {
        if (tokens.size() != 2 || tokens[1].kind != TokenKind::Text) {
            error = "expected CAPTION \"TEXT\"";
            return false;
        }
        return ToUtf16(tokens[1].text, dialog.caption, error);
    }
    if (keyword == "FONT") {
        long size = 0;
        if (dialog.pointSize != 0) {
            error = "FONT given twice";
            return false;
        }
        if (tokens.size() != 3 || tokens[2].kind != TokenKind::Text || tokens[2].text.empty()) {
            error = "expected FONT SIZE \"FACE\"";
            return false;
        }
        if (!ReadNumber(tokens, 1, "the font size", 1, 0xFFFF, size, error) ||
            !ToUtf16(tokens[2].text, dialog.faceName, error)) {
            return false;
        }
        dialog.pointSize = static_cast<uint16_t>(size);
        return true;
    }
    if (keyword == "DIALOG") {
        error = "DIALOG inside dialog " + std::to_string(dialog.id) + " (END is missing)";
        return false;
    }
    const std::optional<uint16_t> atom = ClassAtom(keyword);
    if (!atom) {
        error = "unknown keyword or item class " + keyword;
        return false;
    }
    if (dialog.items.size() == 0xFFFF) {
        error = "too many items";
        return false;
    }
    DialogItem item;
    if (!ParseItem(tokens, *atom, item, error)) {
        return false;
    }
    dialog.items.push_back(std::move(item));
    return true;
}

// "DIALOG ID X Y CX CY"
[[nodiscard]] bool ParseDialogHeader(const std::vector<Token>& tokens, DialogTemplate& dialog,
                                     std::string& error) {
    if (tokens[0].kind != TokenKind::Word || tokens[0].text != "DIALOG") {
        error = "expected DIALOG ID X Y WIDTH HEIGHT";
        return false;
    }
    if (tokens.size() != 6) {
        error = "expected DIALOG ID X Y WIDTH HEIGHT";
        return false;
    }
    long id = 0;
    int16_t rectangle[4];
    if (!ReadNumber(tokens, 1, "the dialog id", 1, 0xFFFF, id, error) ||
        !ReadRectangle(tokens, 2, rectangle, error)) {
        return false;
    }
    dialog.id = static_cast<uint16_t>(id);
    dialog.x = rectangle[0];
    dialog.y = rectangle[1];
    dialog.cx = rectangle[2];
    dialog.cy = rectangle[3];
    return true;
}

void Put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void Put32(std::vector<uint8_t>& out, uint32_t value) {
    Put16(out, static_cast<uint16_t>(value));
    Put16(out, static_cast<uint16_t>(value >> 16));
}

void PutString(std::vector<uint8_t>& out, const std::u16string& text) {
    for (char16_t c : text) {
        Put16(out, c);
    }
    Put16(out, 0);
}

}  // namespace

bool ParseDialogSource(const std::vector<uint8_t>& source, const std::string& fileName,
                       std::vector<DialogTemplate>& dialogs, std::string& error) {
    dialogs.clear();
    std::vector<DialogTemplate> parsed;
    bool open = false;
    bool styleSeen = false;
    size_t start = 0;
    int number = 0;
    while (start < source.size()) {
        ++number;
        size_t end = std::find(source.begin() + start, source.end(), '\n') - source.begin();
        std::string line(source.begin() + start, source.begin() + end);
        start = end + 1;
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        const size_t first = line.find_first_not_of(" \t");
        if (first == std::string::npos || line[first] == '#') {
            continue;
        }
        std::vector<Token> tokens;
        std::string lineError;
        bool ok = Tokenize(line, tokens, lineError);
        if (ok && !open) {
            DialogTemplate dialog;
            dialog.line = number;
            ok = ParseDialogHeader(tokens, dialog, lineError);
            const bool twice = ok && std::any_of(parsed.begin(), parsed.end(), [&](const auto& d) {
                                   return d.id == dialog.id;
                               });
            if (twice) {
                lineError = "dialog " + std::to_string(dialog.id) + " appears twice";
                ok = false;
            }
            if (ok) {
                parsed.push_back(std::move(dialog));
                open = true;
                styleSeen = false;
            }
        } else if (ok) {
            bool done = false;
            ok = ParseDialogLine(tokens, parsed.back(), styleSeen, done, lineError);
            open = !done;
        }
        if (!ok) {
            error = fileName + ":" + std::to_string(number) + ": " + lineError;
            return false;
        }
    }
    if (open) {
        error = fileName + ":" + std::to_string(parsed.back().line) + ": dialog " +
                std::to_string(parsed.back().id) + " has no END";
        return false;
    }
    dialogs = std::move(parsed);
    return true;
}

std::vector<uint8_t> EncodeDialogTemplate(const DialogTemplate& dialog) {
    std::vector<uint8_t> out;
    Put32(out, dialog.style);
    Put32(out, 0);  // extended style
    Put16(out, static_cast<uint16_t>(dialog.items.size()));
    Put16(out, static_cast<uint16_t>(dialog.x));
    Put16(out, static_cast<uint16_t>(dialog.y));
    Put16(out, static_cast<uint16_t>(dialog.cx));
    Put16(out, static_cast<uint16_t>(dialog.cy));
    Put16(out, 0);  // no menu
    Put16(out, 0);  // the predefined dialog class
    PutString(out, dialog.caption);
    if ((dialog.style & kDsSetFont) != 0) {
        Put16(out, dialog.pointSize);
        PutString(out, dialog.faceName);
    }
    for (const DialogItem& item : dialog.items) {
        out.resize((out.size() + 3) & ~size_t{3}, 0);
        Put32(out, item.style);
        Put32(out, 0);  // extended style
        Put16(out, static_cast<uint16_t>(item.x));
        Put16(out, static_cast<uint16_t>(item.y));
        Put16(out, static_cast<uint16_t>(item.cx));
        Put16(out, static_cast<uint16_t>(item.cy));
        Put16(out, item.id);
        Put16(out, 0xFFFF);
        Put16(out, item.classAtom);
        PutString(out, item.text);
        Put16(out, 0);  // no creation data
    }
    return out;
}

bool CompileDialog(const std::vector<uint8_t>& source, const std::string& fileName, uint16_t id,
                   std::vector<uint8_t>& bytes, std::string& error) {
    std::vector<DialogTemplate> dialogs;
    if (!ParseDialogSource(source, fileName, dialogs, error)) {
        return false;
    }
    for (const DialogTemplate& dialog : dialogs) {
        if (dialog.id == id) {
            bytes = EncodeDialogTemplate(dialog);
            return true;
        }
    }
    error = fileName + ": no dialog " + std::to_string(id);
    return false;
}

}  // namespace respack
