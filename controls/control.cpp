#include "controls/control.h"

void ClearGroup(Control** list, int index, int count) {
    const Control* clicked = list[index];
    for (int i = 0; i < count; ++i) {
        Control* other = list[i];
        if (i == index || !(other->m_flags & kControlRadio)) continue;
        if (other->m_group == clicked->m_group && (other->m_flags & kControlSelected)) {
            other->Unselect();
        }
    }
}
