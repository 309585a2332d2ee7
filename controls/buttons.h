// The concrete controls: picture buttons with one picture per look, in push,
// toggle and radio behaviour, with or without a click sound; the colour
// swatch; and the pattern selector.
//
// A picture button with picture n uses n (normal, required), n + 1 (pressed)
// and, for toggle and radio buttons, n + 2 (selected), n + 3 (selected and
// pressed) and n + 4 (hover), each loaded only when the one before it exists;
// other buttons take their hover picture from n + 2. A button with a hover
// picture redraws when the pointer enters and leaves it.
#pragma once

#include "controls/control.h"

class PictureButton : public Control {
public:
    // Picture 0 means no pictures: the button stays empty until SetBounds.
    // A missing picture n is a fatal error.
    PictureButton(int id, int x, int y, int picture, int flags, int group, int hotkey,
                  ControlInfo* info);
    ~PictureButton() override;

    void Draw() override;

    int m_loaded = 0;
    int m_picture = 0;
    HBITMAP m_normal = nullptr;
    HBITMAP m_pressed = nullptr;
    HBITMAP m_selected = nullptr;
    HBITMAP m_selectedPressed = nullptr;
    HBITMAP m_hover = nullptr;

private:
    void LoadPictures(int x, int y);
    HBITMAP ChoosePicture() const;
};

class PushButton : public PictureButton {
public:
    PushButton(int id, int x, int y, int picture, int hotkey, ControlInfo* info);
};

class ToggleButton : public PictureButton {
public:
    ToggleButton(int id, int x, int y, int picture, int hotkey, ControlInfo* info);
};

class RadioButton : public PictureButton {
public:
    RadioButton(int id, int x, int y, int picture, int group, int hotkey, ControlInfo* info);
};

// The sound variants play their ControlInfo's sound on each click, and own
// and free that record.
class SoundPushButton : public PushButton {
public:
    SoundPushButton(int id, int x, int y, int picture, int hotkey, ControlInfo* info);
    SoundPushButton(int id, int x, int y, int picture, int hotkey, const char* soundName,
                    int helpNumber);
    ~SoundPushButton() override;
    void Released(int clicked) override;
};

class SoundToggleButton : public ToggleButton {
public:
    SoundToggleButton(int id, int x, int y, int picture, int hotkey, ControlInfo* info);
    ~SoundToggleButton() override;
    void Released(int clicked) override;
};

class SoundRadioButton : public RadioButton {
public:
    SoundRadioButton(int id, int x, int y, int picture, int group, int hotkey, ControlInfo* info);
    ~SoundRadioButton() override;
    void Released(int clicked) override;
};

// A plain coloured rectangle of a radio group that clicks as soon as it is
// pressed; the selected one wears a white and black frame.
class ColourSwatch : public Control {
public:
    ColourSwatch(int id, const RECT& rect, int group, COLORREF colour, const char* soundName,
                 int helpNumber);
    ~ColourSwatch() override;
    void Draw() override;
    void Released(int clicked) override;

    COLORREF m_colour = 0;
};

// Pattern selector indices map to these toolkit patterns.
constexpr int kSelectorPatternCount = 21;
extern const int kSelectorPatterns[kSelectorPatternCount];

// Shows the current colour filled with the chosen pattern; a click switches
// between the plain colour and the pattern used last.
class PatternSelector : public Control {
public:
    PatternSelector(int id, int x, int y, int width, int height, COLORREF colour,
                    const char* soundName, int helpNumber);
    ~PatternSelector() override;
    void Draw() override;
    void Released(int clicked) override;

    void SetColour(COLORREF colour);
    // A non-zero delta moves through the patterns, wrapping at both ends;
    // zero swaps between the plain colour and the remembered pattern.
    void Step(int delta);
    // The toolkit pattern of the current index.
    int Pattern() const { return kSelectorPatterns[m_index]; }

    COLORREF m_colour = 0;
    int m_index = 0;
    int m_rememberedIndex = 10;
};

// Plays the control's click sound, if it has one, for a release that clicked.
void PlayClickSound(const ControlInfo* info, int clicked);
