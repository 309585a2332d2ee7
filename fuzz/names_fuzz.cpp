// Feeds arbitrary bytes to the conversions between the desktop's UTF-8 names
// and the program's Windows-1252 ones, and checks the round trips that must
// hold: Windows-1252 text comes back unchanged through UTF-8, and valid UTF-8
// that converts without loss comes back unchanged too; typed text walked a
// character at a time always moves on and gives only real code points.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "platform/kernel/codepage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const std::string utf8 = platform::Cp1252ToUtf8(bytes);
    if (!platform::IsValidUtf8(utf8) || platform::Utf8ToCp1252(utf8) != bytes) abort();
    bool lost = false;
    const std::string converted = platform::Utf8ToCp1252(bytes, &lost);
    if (platform::IsValidUtf8(bytes) && !lost && platform::Cp1252ToUtf8(converted) != bytes) {
        abort();
    }
    platform::Utf16ToCp1252(bytes, size > 0 && (data[0] & 1) != 0);
    for (size_t pos = 0; pos < size;) {
        const size_t before = pos;
        const uint32_t codePoint = platform::NextCodePoint(bytes, pos);
        if (pos <= before || pos > size || codePoint > 0x10FFFF || (codePoint >= 0xD800 && codePoint <= 0xDFFF)) {
            abort();
        }
    }
    return 0;
}
