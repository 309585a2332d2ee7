#include "tools/floating_text.h"

FloatingText::FloatingText(WorkshopScreen* owner, HBITMAP picture, HBITMAP mask)
    : FloatingPicture(owner, nullptr) {
    m_masked = 1;
    SetPicture(picture, mask);
}

FloatingText::~FloatingText() {
    // The picture leaves the screen before it is deleted.
    Hide();
    if (m_picture != nullptr) DeleteObject(m_picture);
    if (m_mask != nullptr) DeleteObject(m_mask);
}
