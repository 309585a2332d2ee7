// The workshop: the sheet in the middle of the window, framed by the palette
// of 86 controls, the state the tools read, the command loop and the routing
// of the sheet's events to the current tool.
#pragma once

#include "shell/screen.h"
#include "workshop/workshop_state.h"

class Control;
class HelpBubble;
class PatternSelector;
class Tool;

class WorkshopScreen : public Screen {
public:
    explicit WorkshopScreen(HPALETTE palette) : Screen(nullptr, palette) {}

    void OnCreate() override;
    void OnStart() override;
    void OnDestroy() override;
    void OnDeactivate() override;
    int CanClose() override;
    void OnEndSession() override;
    void PaintBackground(const RECT& rect) override;

    void OnCommand(int id) override;
    void OnLButtonDown(int x, int y) override;
    void OnLButtonUp(int x, int y) override;
    void OnMouseMove(int x, int y) override;
    void OnRButtonDown(int x, int y) override;
    void OnChar(int code, int repeat) override;
    void OnTimer(int timerId) override;
    void OnIdle() override;

    // The tool protocol's side of the workshop.
    void BeginAction();
    void EndAction();
    void HandOver();
    void DeleteTools();
    void BackToBrush();
    void Undo();

    void LoadBackground(int number);
    void AdoptLoadedPicture();
    // The sheet as it stands in the window, or in a bitmap of the sheet's
    // size, is the one last saved, loaded or begun: the end of the session
    // keeps only a sheet changed since.
    void RememberKeptSheet();
    void RememberKeptSheet(HBITMAP sheet);

    // Help mode: a bubble for the control or the sheet at (x, y); false when
    // the point has no help.
    bool ShowBubbleAt(int x, int y);
    void CloseBubble();

    // The controls the command loop reaches by name.
    Control* m_sizeButtons[8] = {};
    Control* m_brushButton = nullptr;
    Control* m_textButton = nullptr;
    Control* m_magnifierButton = nullptr;
    PatternSelector* m_patternSelector = nullptr;
    COLORREF m_paletteColours[36] = {};
    Control* m_firstSwatch = nullptr;
    HelpBubble* m_bubble = nullptr;

private:
    void BuildPalette();
    void OpenStartupPicture();
    void ChooseTool(int id);
    void SelectToolButton(Control* button);
    void ChooseBrushSize(Control* button);
    void CycleBrushSize();
    void FlipSheet(bool upsideDown);
    void StartHelpMode();
    void StartEraseWait();
    void EndEraseWait(bool confirmed);
    void CrackSheet();
    void RevealBackground();
    void ChooseNewBackground();
    void RunEffectCommand();
    void RunPrintCommand();
    void RunLoadCommand();
    void RunSaveCommand();
    void RunQuitCommand();
    void ChooseFontsAndStyles();
    bool OnSheet(int x, int y) const;
    void CheckRest();

    // The GDI objects in use at the screen's first rest.
    DWORD m_restObjects = 0;
};

