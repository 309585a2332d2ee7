// Feeds arbitrary bytes to the cursor decoder, as a damaged resource would.
#include <cstddef>
#include <cstdint>

#include "platform/user/cursor_file.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    auto shape = platform::user::DecodeCursorFile(data, size);
    if (shape && shape->argb.size() != static_cast<size_t>(shape->width) * shape->height) {
        __builtin_trap();
    }
    return 0;
}
