// Feeds arbitrary bytes to the parser of the desktop's user-dirs.dirs, for a
// name taken from the input's first byte, and checks what it answers.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "platform/kernel/user_dirs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static constexpr std::string_view kNames[] = {"XDG_PICTURES_DIR", "XDG_DESKTOP_DIR", "X", ""};
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string_view name = kNames[size > 0 ? data[0] % 4 : 0];
    const auto folder = platform::ParseUserDirs(bytes, name, "/home/child");
    if (folder && (folder->empty() || folder->front() != '/' ||
                   folder->find('\0') != std::string::npos)) {
        abort();
    }
    return 0;
}
