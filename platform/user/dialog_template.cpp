// The reader of DLGTEMPLATE resources. Templates come from resource packs,
// which are files on disk: every field is checked against the resource's size
// before it is read.
#include <string_view>

#include "platform/kernel/codepage.h"
#include "platform/user/dialog_internal.h"

namespace platform::user {
namespace {

class TemplateReader {
public:
    TemplateReader(const uint8_t* data, size_t size) : m_data(data), m_size(size) {}

    [[nodiscard]] bool Word(WORD& value) {
        if (m_pos > m_size || m_size - m_pos < 2) return false;
        value = static_cast<WORD>(m_data[m_pos] | (m_data[m_pos + 1] << 8));
        m_pos += 2;
        return true;
    }

    [[nodiscard]] bool Short(LONG& value) {
        WORD word;
        if (!Word(word)) return false;
        value = static_cast<int16_t>(word);
        return true;
    }

    [[nodiscard]] bool Dword(DWORD& value) {
        WORD low, high;
        if (!Word(low) || !Word(high)) return false;
        value = low | (static_cast<DWORD>(high) << 16);
        return true;
    }

    // A NUL-terminated UTF-16 string, as Windows-1252.
    [[nodiscard]] bool String(std::string& out) {
        const size_t start = m_pos;
        for (WORD c = 1; c != 0;) {
            if (!Word(c)) return false;
        }
        const auto* bytes = reinterpret_cast<const char*>(m_data + start);
        out = Utf16ToCp1252(std::string_view(bytes, m_pos - start - 2), false);
        return true;
    }

    // A name or an ordinal: 0x0000 for none, 0xFFFF and a number, or a string.
    [[nodiscard]] bool NameOrOrdinal(std::string& name, WORD& ordinal) {
        name.clear();
        ordinal = 0;
        WORD first;
        if (!Word(first)) return false;
        if (first == 0) return true;
        if (first == 0xFFFF) return Word(ordinal);
        m_pos -= 2;
        return String(name);
    }

    [[nodiscard]] bool Skip(size_t count) {
        if (count > m_size - m_pos) return false;
        m_pos += count;
        return true;
    }

    [[nodiscard]] bool AlignToDword() { return Skip(((m_pos + 3) & ~size_t{3}) - m_pos); }

    size_t Remaining() const { return m_size - m_pos; }

private:
    const uint8_t* m_data;
    size_t m_size;
    size_t m_pos = 0;
};

[[nodiscard]] bool ReadUnits(TemplateReader& in, RECT& units) {
    LONG x, y, cx, cy;
    if (!in.Short(x) || !in.Short(y) || !in.Short(cx) || !in.Short(cy)) return false;
    units = RECT{x, y, x + cx, y + cy};
    return true;
}

[[nodiscard]] bool ReadItem(TemplateReader& in, DialogTemplateItem& item) {
    if (!in.AlignToDword() || !in.Dword(item.style) || !in.Dword(item.exStyle) ||
        !ReadUnits(in, item.units) || !in.Word(item.id)) {
        return false;
    }
    WORD atom = 0;
    if (!in.NameOrOrdinal(item.className, atom)) return false;
    if (item.className.empty()) {
        switch (atom) {
            case 0x0080: item.className = "Button"; break;
            case 0x0081: item.className = "Edit"; break;
            case 0x0082: item.className = "Static"; break;
            default: return false;  // list boxes, scroll bars and combo boxes are not made
        }
    }
    WORD textOrdinal = 0;
    if (!in.NameOrOrdinal(item.text, textOrdinal)) return false;
    // Creation data: a size word, then that many bytes for the item.
    WORD extra = 0;
    return in.Word(extra) && in.Skip(extra);
}

}  // namespace

bool ParseDialogTemplate(const uint8_t* data, size_t size, DialogTemplate& out) {
    if (data == nullptr) return false;
    TemplateReader in(data, size);
    out = DialogTemplate{};
    WORD count = 0;
    if (!in.Dword(out.style) || !in.Dword(out.exStyle) || !in.Word(count) ||
        !ReadUnits(in, out.units)) {
        return false;
    }
    // DLGTEMPLATEEX starts with version 1 and signature 0xFFFF.
    if (out.style == 0xFFFF0001u) return false;
    std::string menu, className;
    WORD menuId = 0, classAtom = 0;
    if (!in.NameOrOrdinal(menu, menuId) || !menu.empty() || menuId != 0) return false;
    if (!in.NameOrOrdinal(className, classAtom) || !className.empty() || classAtom != 0) return false;
    if (!in.String(out.caption)) return false;
    if ((out.style & DS_SETFONT) && (!in.Word(out.pointSize) || !in.String(out.face))) return false;
    // Each item takes at least 24 bytes, so the count cannot ask for more
    // memory than the resource could describe.
    if (count > in.Remaining() / 24) return false;
    out.items.resize(count);
    for (DialogTemplateItem& item : out.items) {
        if (!ReadItem(in, item)) return false;
    }
    return true;
}

}  // namespace platform::user
