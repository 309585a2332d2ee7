// Feeds arbitrary bytes to the profile file parser, then looks up a section
// and key taken from the input and copies the answer into a short buffer.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "platform/kernel/profile.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const platform::ProfileFile file = platform::ParseProfile(bytes);
    const size_t split = size > 0 ? data[0] % 16 : 0;
    const std::string section(bytes.substr(size > 0 ? 1 : 0, split));
    const std::string key(bytes.substr(std::min(size, 1 + split), 8));
    char buffer[8];
    if (const auto value = file.Find(section, key)) {
        platform::CopyProfileValue(*value, buffer, sizeof buffer);
        platform::ParseProfileInt(*value);
    }
    for (const platform::ProfileSection& each : file.sections) {
        for (const platform::ProfileEntry& entry : each.entries) {
            platform::CopyProfileValue(entry.value, buffer, size % sizeof buffer);
        }
    }
    return 0;
}
