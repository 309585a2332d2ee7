// Dialog templates written as text and compiled into the binary DLGTEMPLATE
// form that Windows keeps in its resources. The source format is described in
// resources/README.md; in short:
//
//   DIALOG 203 0 0 167 159
//   STYLE WS_POPUP | WS_BORDER
//   CAPTION "Chargement"
//   FONT 10 "System"
//   STATIC 105 "Chargement d'un dessin :" 0 1 167 14 SS_OWNERDRAW
//   BUTTON 1 "" 22 134 40 20 BS_OWNERDRAW | WS_TABSTOP
//   END
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace respack {

struct DialogItem {
    uint16_t classAtom = 0;  // 0x0080 button, 0x0081 edit, 0x0082 static, ...
    uint16_t id = 0;
    std::u16string text;
    int16_t x = 0;
    int16_t y = 0;
    int16_t cx = 0;
    int16_t cy = 0;
    uint32_t style = 0;  // WS_CHILD and WS_VISIBLE included
};

struct DialogTemplate {
    uint16_t id = 0;
    int line = 0;  // where its DIALOG line is, for messages
    uint32_t style = 0;  // DS_SETFONT included exactly when a font is set
    int16_t x = 0;
    int16_t y = 0;
    int16_t cx = 0;
    int16_t cy = 0;
    std::u16string caption;
    uint16_t pointSize = 0;  // 0: no FONT line
    std::u16string faceName;
    std::vector<DialogItem> items;
};

// Reads every dialog of a source file. On failure returns false with a message
// of the form "FILE:LINE: what is wrong"; nothing is half-read.
[[nodiscard]] bool ParseDialogSource(const std::vector<uint8_t>& source, const std::string& fileName,
                                     std::vector<DialogTemplate>& dialogs, std::string& error);

// The DLGTEMPLATE bytes of one dialog: the header, the menu and class as 0x0000,
// the caption, the font when DS_SETFONT is set, then each DLGITEMTEMPLATE on a
// four-byte boundary with its class as 0xFFFF and the atom, its text and no
// creation data.
std::vector<uint8_t> EncodeDialogTemplate(const DialogTemplate& dialog);

// Parses the source and encodes the dialog with the given id; a source with an
// error anywhere, or without that dialog, is refused.
[[nodiscard]] bool CompileDialog(const std::vector<uint8_t>& source, const std::string& fileName,
                                 uint16_t id, std::vector<uint8_t>& bytes, std::string& error);

}  // namespace respack
