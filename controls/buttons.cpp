#include "controls/buttons.h"

#include "graphics/blit.h"
#include "graphics/surface.h"
#include "shell/sound.h"

namespace {

HBITMAP FirstOf(HBITMAP first, HBITMAP second, HBITMAP third = nullptr) {
    if (first != nullptr) return first;
    return second != nullptr ? second : third;
}

void DeletePicture(HBITMAP& picture) {
    if (picture != nullptr) DeleteObject(picture);
    picture = nullptr;
}

}  // namespace

void PlayClickSound(const ControlInfo* info, int clicked) {
    if (clicked == 1 && info != nullptr && info->soundName != nullptr) {
        PlaySoundFile(info->soundName, SND_ASYNC);
    }
}

PictureButton::PictureButton(int id, int x, int y, int picture, int flags, int group, int hotkey,
                             ControlInfo* info)
    : Control(id, flags, group, hotkey, info), m_picture(picture) {
    if (picture != 0) LoadPictures(x, y);
}

void PictureButton::LoadPictures(int x, int y) {
    const int n = m_picture;
    m_normal = LoadPictureOrFail(n);
    m_pressed = LoadPicture(n + 1);
    if (m_flags & (kControlToggle | kControlRadio)) {
        // Each look exists only when the one before it does.
        m_selected = LoadPicture(n + 2);
        if (m_selected != nullptr) m_selectedPressed = LoadPicture(n + 3);
        if (m_selectedPressed != nullptr) m_hover = LoadPicture(n + 4);
    } else {
        m_hover = LoadPicture(n + 2);
    }
    RECT size{};
    if (m_normal != nullptr) GetBitmapRect(m_normal, size);
    SetBounds(RECT{x, y, x + size.right - size.left, y + size.bottom - size.top});
    if (m_hover != nullptr) m_flags |= kControlHoverRedraw;
    m_loaded = 1;
}

PictureButton::~PictureButton() {
    if (!m_loaded) return;
    DeletePicture(m_normal);
    DeletePicture(m_pressed);
    DeletePicture(m_selected);
    DeletePicture(m_selectedPressed);
    DeletePicture(m_hover);
    m_loaded = 0;
}

HBITMAP PictureButton::ChoosePicture() const {
    const bool selected = (m_flags & kControlSelected) != 0;
    if (m_hover != nullptr && (m_flags & kControlHover)) return m_hover;
    if ((m_flags & kControlCaptured) && (m_flags & kControlPressedLook)) {
        return selected ? FirstOf(m_selectedPressed, m_selected, m_normal)
                        : FirstOf(m_pressed, m_normal);
    }
    return selected ? FirstOf(m_selected, m_normal) : m_normal;
}

void PictureButton::Draw() {
    if (!m_loaded) return;
    if (HBITMAP picture = ChoosePicture()) DrawBitmapAt(picture, m_bounds.left, m_bounds.top);
}

PushButton::PushButton(int id, int x, int y, int picture, int hotkey, ControlInfo* info)
    : PictureButton(id, x, y, picture, kPushFlags, 0, hotkey, info) {}

ToggleButton::ToggleButton(int id, int x, int y, int picture, int hotkey, ControlInfo* info)
    : PictureButton(id, x, y, picture, kToggleFlags, 0, hotkey, info) {}

RadioButton::RadioButton(int id, int x, int y, int picture, int group, int hotkey,
                         ControlInfo* info)
    : PictureButton(id, x, y, picture, kRadioFlags, group, hotkey, info) {}

SoundPushButton::SoundPushButton(int id, int x, int y, int picture, int hotkey, ControlInfo* info)
    : PushButton(id, x, y, picture, hotkey, info) {}

SoundPushButton::SoundPushButton(int id, int x, int y, int picture, int hotkey,
                                 const char* soundName, int helpNumber)
    : PushButton(id, x, y, picture, hotkey, MakeControlInfo(soundName, helpNumber)) {}

SoundPushButton::~SoundPushButton() {
    delete m_info;
    m_info = nullptr;
}

void SoundPushButton::Released(int clicked) { PlayClickSound(m_info, clicked); }

SoundToggleButton::SoundToggleButton(int id, int x, int y, int picture, int hotkey,
                                     ControlInfo* info)
    : ToggleButton(id, x, y, picture, hotkey, info) {}

SoundToggleButton::~SoundToggleButton() {
    delete m_info;
    m_info = nullptr;
}

void SoundToggleButton::Released(int clicked) { PlayClickSound(m_info, clicked); }

SoundRadioButton::SoundRadioButton(int id, int x, int y, int picture, int group, int hotkey,
                                   ControlInfo* info)
    : RadioButton(id, x, y, picture, group, hotkey, info) {}

SoundRadioButton::~SoundRadioButton() {
    delete m_info;
    m_info = nullptr;
}

void SoundRadioButton::Released(int clicked) { PlayClickSound(m_info, clicked); }
