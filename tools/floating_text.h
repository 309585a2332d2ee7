// A finished speech balloon under the pointer: a floating picture that the
// child drops onto the sheet like a stamp. It owns the balloon's picture and
// mask; it has no bank and no size toggle.
#pragma once

#include "tools/floating_picture.h"

class FloatingText : public FloatingPicture {
public:
    FloatingText(WorkshopScreen* owner, HBITMAP picture, HBITMAP mask);
    ~FloatingText() override;
};
