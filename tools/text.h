// The text tool: a click on the sheet starts a text, typed key by key with a
// typewriter sound for each and a blinking caret; Enter starts a new line,
// Backspace and Delete take letters back, straight quotes become typographic
// ones. A click or Escape ends the text. In the plain style the letters stay
// where they were typed; in the two balloon styles the text becomes a speech
// balloon that the child places like a stamp (FloatingText), after which the
// text tool is current again. The whole text is one action, so one undo
// takes it all back.
#pragma once

#include "tools/text_layout.h"
#include "tools/tool.h"

// The window timer that blinks the caret.
constexpr int kCaretTimer = 1;

// The text cursor of a text style.
HCURSOR TextCursorFor(int style);

class TextTool : public Tool {
public:
    explicit TextTool(WorkshopScreen* owner);
    ~TextTool() override;

    void OnActionStart(int x, int y) override;
    void OnPress(int x, int y) override;
    void OnActionMove(int x, int y, int leftDown) override;
    void OnTimer(int timerId, int x, int y, int leftDown) override;
    void OnChar(int code, int repeat) override;
    // The hand-over query: the balloon as a FloatingText, with this tool kept.
    int OnCommand(int code, LPARAM value) override;

    void FinishText();
    void ToggleCaret();
    // The balloon picture and mask of the text, in the current colour, with
    // the typed preview taken off the sheet.
    void MakeBalloon();

    Sound* m_keySound = nullptr;
    HFONT m_font = nullptr;
    char m_text[kTextMaxLength + 1] = {};
    int m_caretX = 0;
    int m_caretY = 0;
    int m_originX = 0;
    int m_originY = 0;
    int m_length = 0;
    int m_lineHeight = 0;
    int m_caretShown = 0;
    // Pointer moves left until the mouse cursor shows again; 0 when shown.
    int m_pointerHidden = 0;
    int m_entryOpen = 0;
    HBITMAP m_balloonPicture = nullptr;
    HBITMAP m_balloonMask = nullptr;

private:
    void PlayKey(const char* name, int repeat);
    void TakeBack(int repeat);
    void NewLine();
    void Type(int code, int repeat);
    void ShowPointer();

    HCURSOR m_cursorBeforeText = nullptr;
    HCURSOR m_cursorBeforeTool = nullptr;
};
