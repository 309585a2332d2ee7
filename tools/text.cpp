#include "tools/text.h"

#include <algorithm>
#include <new>

#include "dialogs/dialogs.h"
#include "graphics/blit.h"
#include "graphics/drawing_state.h"
#include "graphics/palette.h"
#include "graphics/regions.h"
#include "graphics/shapes.h"
#include "graphics/sheet.h"
#include "graphics/surface.h"
#include "graphics/text.h"
#include "platform/win/caret.h"
#include "shell/configuration.h"
#include "shell/cursors.h"
#include "shell/mainwindow.h"
#include "shell/sound.h"
#include "tools/floating_text.h"
#include "workshop/workshop_screen.h"

namespace {

constexpr int kPlainCursor = 201;
constexpr int kLeftBalloonCursor = 218;
constexpr int kRightBalloonCursor = 219;
// The program's key code for Delete, as it reaches the tools (sign-extended).
constexpr int kDeleteKey = 0x8014;
constexpr int kBackspace = 8;
constexpr int kEnter = 13;
constexpr int kEscape = 27;
// The mouse cursor comes back on the fourth pointer move after the click.
constexpr int kHiddenMoves = 4;
// Colours this light get a black balloon, so that the letters show.
constexpr int kLightColour = 70;
constexpr COLORREF kBlack = RGB(0, 0, 0);

bool IsDelete(int code) { return code < 0 && (code & 0xFFFF) == kDeleteKey; }
bool IsForeign(int code) { return code < 0 && (code & 0xFFFF) == kForeignCharacter; }

// The font, the fill colour and the text mode of the typed letters, for one
// operation on the current surface.
class TypingScope {
public:
    explicit TypingScope(HFONT font)
        : m_font(SelectTextFont(font)),
          m_fill(g_drawingState.fillColour),
          m_mode(SetTextMode(kTransparentText)) {
        g_drawingState.fillColour = g_workshop.colour;
    }
    ~TypingScope() {
        SetTextMode(m_mode);
        g_drawingState.fillColour = m_fill;
        SelectTextFont(m_font);
    }
    TypingScope(const TypingScope&) = delete;
    TypingScope& operator=(const TypingScope&) = delete;

private:
    HFONT m_font;
    COLORREF m_fill;
    int m_mode;
};

}  // namespace

HCURSOR TextCursorFor(int style) {
    switch (style) {
        case kBalloonLeft: return LoadedCursor(kLeftBalloonCursor);
        case kBalloonRight: return LoadedCursor(kRightBalloonCursor);
        default: return LoadedCursor(kPlainCursor);
    }
}

TextTool::TextTool(WorkshopScreen* owner) : Tool(owner, TextCursorFor(g_textSettings.style)) {
    m_cursorBeforeTool = g_cursorBeforeTool;
    m_keySound = LoadSound("TicHaut");
    g_workshop.textTool = 1;
}

TextTool::~TextTool() {
    // A text still open when the workshop drops the tool.
    if (m_entryOpen) {
        KillTimer(m_owner->m_window, kCaretTimer);
        DeleteTextFont(m_font);
    }
    if (m_balloonPicture != nullptr) DeleteObject(m_balloonPicture);
    if (m_balloonMask != nullptr) DeleteObject(m_balloonMask);
    FreeSound(m_keySound);
    ShowPointer();
    g_workshop.textTool = 0;
    // A balloon that floated in between made the cursor its own.
    g_cursorBeforeTool = m_cursorBeforeTool;
}

void TextTool::ShowPointer() {
    if (m_pointerHidden == 0) return;
    ShowCursor(TRUE);
    m_pointerHidden = 0;
}

void TextTool::OnActionStart(int x, int y) {
    m_caretX = m_originX = x;
    m_caretY = m_originY = y;
    m_length = 0;
    m_text[0] = 0;
    PlaySoundFile("Cr2", SND_ASYNC);
    const int face = std::clamp(g_textSettings.face, 0, kFontCount - 1);
    m_font = CreateTextFont(kFontFaceNames[face], g_textSettings.height, g_textSettings.styleBits, 0,
                            0, ANTIALIASED_QUALITY);
    GetWindowSurface(m_owner->m_window);
    const HFONT previous = SelectTextFont(m_font);
    m_lineHeight = TextHeight();
    SelectTextFont(previous);
    // The clean sheet that Backspace brings back.
    CopySurfaceToBitmapAt(kSheetRect, g_scratchPicture, 0, 0);
    ReleaseWindowSurface();
    m_caretShown = 0;
    SetTimer(m_owner->m_window, kCaretTimer, GetCaretBlinkTime(), nullptr);
    ToggleCaret();
    m_cursorBeforeText = SetCurrentCursor(TextCursorFor(g_textSettings.style));
    if (m_pointerHidden == 0) ShowCursor(FALSE);
    m_pointerHidden = kHiddenMoves;
    m_entryOpen = 1;
}

void TextTool::OnPress(int /*x*/, int /*y*/) {
    if (m_entryOpen) FinishText();
}

void TextTool::OnActionMove(int /*x*/, int /*y*/, int /*leftDown*/) {
    if (m_pointerHidden > 1) --m_pointerHidden;
    else if (m_pointerHidden == 1) ShowPointer();
}

void TextTool::OnTimer(int timerId, int /*x*/, int /*y*/, int /*leftDown*/) {
    if (timerId == kCaretTimer && m_entryOpen) ToggleCaret();
}

void TextTool::ToggleCaret() {
    GetWindowSurface(m_owner->m_window);
    const int mode = SetDrawingMode(R2_NOT);
    FillRectangle(RECT{m_caretX, m_caretY, m_caretX + 2, m_caretY + m_lineHeight}, 0);
    SetDrawingMode(mode);
    ReleaseWindowSurface();
    m_caretShown ^= 1;
}

// Auto-repeated keys all tick with the sound kept in memory.
void TextTool::PlayKey(const char* name, int repeat) {
    if (repeat && m_keySound != nullptr) PlayLoadedSound(m_keySound, SND_ASYNC);
    else PlaySoundFile(name, SND_ASYNC);
}

void TextTool::OnChar(int code, int repeat) {
    if (!m_entryOpen) return;
    if (m_caretShown) ToggleCaret();
    GetWindowSurface(m_owner->m_window);
    {
        TypingScope typing(m_font);
        if (code == kBackspace || IsDelete(code)) TakeBack(repeat);
        else if (code == kEnter) NewLine();
        else if (code >= 32 && code <= 255) Type(code, repeat);
        else if (IsForeign(code)) PlayKey("Tink", repeat);
        // Tab and every other key type nothing.
    }
    ReleaseWindowSurface();
    if (code == kEscape) FinishText();
}

// The letters are taken back from the clean sheet, never painted over: the
// text's lines, with room for letters that lean out of their cells, come back
// from the scratch picture, and what remains is drawn again once.
void TextTool::TakeBack(int repeat) {
    if (m_length == 0) return;
    PlayKey("KeyC", repeat);
    const POINT origin{m_originX, m_originY};
    const TextLayout before = LayOutText(m_text, m_length, origin, m_lineHeight, kLayoutMeasure);
    const char removed = m_text[--m_length];
    m_text[m_length] = 0;
    if (removed != kLineBreak) {
        const int margin = m_lineHeight;
        RECT band{std::max<int>(kSheetRect.left, before.extent.left - margin), before.extent.top,
                  std::min<int>(kSheetRect.right, before.extent.right + margin),
                  std::min<int>(kSheetRect.bottom, before.extent.bottom + margin / 4)};
        if (band.right > band.left && band.bottom > band.top) {
            RECT source = band;
            OffsetRect(&source, -kSheetRect.left, -kSheetRect.top);
            DrawBitmapRectAt(g_scratchPicture, source, band.left, band.top);
        }
    }
    const int modes = removed == kLineBreak ? kLayoutEnd : kLayoutEnd | kLayoutDraw;
    const TextLayout after = LayOutText(m_text, m_length, origin, m_lineHeight, modes);
    m_caretX = after.end.x;
    m_caretY = after.end.y;
}

void TextTool::NewLine() {
    if (m_length >= kTextMaxLength || m_caretY + m_lineHeight >= kSheetRect.bottom) {
        PlaySoundFile("Tink", SND_ASYNC);
        return;
    }
    m_caretY += m_lineHeight;
    m_caretX = m_originX;
    m_text[m_length++] = kLineBreak;
    m_text[m_length] = 0;
    PlaySoundFile("KeyErr", SND_ASYNC);
}

void TextTool::Type(int code, int repeat) {
    const int character = ApplyQuoteRule(m_text, m_length, code);
    const int width = CharWidth(character);
    if (m_length >= kTextMaxLength || m_caretX >= kSheetRect.right || width < 1) {
        PlayKey("Tink", repeat);
        return;
    }
    PlayKey(character & 1 ? "KeyA" : "KeyB", repeat);
    DrawCharAt(m_caretX, m_caretY, character);
    m_caretX += width;
    m_text[m_length++] = static_cast<char>(character);
    m_text[m_length] = 0;
}

void TextTool::FinishText() {
    while (m_length > 0 && m_text[m_length - 1] == kLineBreak) m_text[--m_length] = 0;
    PlaySoundFile("Cr3", SND_ASYNC);
    KillTimer(m_owner->m_window, kCaretTimer);
    if (m_caretShown) ToggleCaret();
    const bool balloon = g_textSettings.style != kPlainText && m_length > 0;
    if (balloon) MakeBalloon();
    DeleteTextFont(m_font);
    m_font = nullptr;
    SetCurrentCursor(m_cursorBeforeText);
    ShowPointer();
    m_entryOpen = 0;
    m_owner->EndAction();
    if (!balloon) return;
    m_owner->HandOver();
    // The balloon shows under the pointer at once, without waiting for a move.
    if (g_workshop.tool != this && g_workshop.tool != nullptr) {
        g_workshop.tool->OnHover(m_owner->m_pointerX, m_owner->m_pointerY, 0);
    }
}

void TextTool::MakeBalloon() {
    GetWindowSurface(m_owner->m_window);
    // The typed preview leaves the sheet.
    DrawBitmapAt(g_undoPicture, kSheetRect.left, kSheetRect.top);
    HFONT previous = SelectTextFont(m_font);
    const TextLayout measured = LayOutText(m_text, m_length, POINT{0, 0}, m_lineHeight, kLayoutMeasure);
    SelectTextFont(previous);
    const int style = g_textSettings.style == kBalloonRight ? kBalloonRight : kBalloonLeft;
    const BalloonShape shape = BalloonGeometry(measured.extent.right, measured.lines, m_lineHeight, style);
    HRGN region = CreateEllipticRgnIndirect(&shape.ellipse);
    HRGN tail = CreatePolygonRgn(shape.tail, 4, ALTERNATE);
    UniteRegions(region, tail, region);
    DeleteObject(tail);
    m_balloonPicture = CreateSurfaceBitmap(shape.picture, kFillWhite);
    m_balloonMask = CreateMonoBitmap(shape.picture, kFillWhite);
    const COLORREF colour = g_workshop.colour;
    SelectBitmapSurface(m_balloonPicture);
    // The picture starts white: only a light colour's black balloon is filled.
    if (Lightness(colour) >= kLightColour) FillRegion(region, kBlack);
    FrameRegion(region, colour);
    {
        TypingScope typing(m_font);
        LayOutText(m_text, m_length, shape.textOrigin, m_lineHeight, kLayoutDraw);
    }
    RestoreSurface();
    // Black where the balloon is opaque; its frame lies inside the region,
    // so the fill covers it.
    SelectBitmapSurface(m_balloonMask);
    FillRegion(region, kBlack);
    RestoreSurface();
    DeleteObject(region);
    ReleaseWindowSurface();
}

int TextTool::OnCommand(int code, LPARAM value) {
    if (code != kToolHandOver || m_balloonPicture == nullptr) return 0;
    auto* floating = new (std::nothrow) FloatingText(m_owner, m_balloonPicture, m_balloonMask);
    if (floating == nullptr) {
        // Without the balloon the text tool simply stays.
        DeleteObject(m_balloonPicture);
        DeleteObject(m_balloonMask);
        m_balloonPicture = m_balloonMask = nullptr;
        return 0;
    }
    m_balloonPicture = m_balloonMask = nullptr;
    auto* record = reinterpret_cast<HandOverRecord*>(value);
    record->successor = floating;
    record->keep = 1;
    return 1;
}
