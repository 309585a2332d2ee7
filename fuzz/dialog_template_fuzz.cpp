// Feeds arbitrary bytes to the dialog template reader, as a damaged resource
// would.
#include <cstddef>
#include <cstdint>

#include "platform/user/dialog_internal.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::user::DialogTemplate dialog;
    if (platform::user::ParseDialogTemplate(data, size, dialog) && dialog.items.size() > 65535) {
        __builtin_trap();
    }
    return 0;
}
