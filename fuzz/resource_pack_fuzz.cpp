// Feeds arbitrary bytes to the resource pack reader, to the resource calls on
// a pack that passed validation, and to the text-block reader.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/kernel/resource_pack.h"
#include "platform/windows.h"
#include "shell/text_block.h"

// The fuzz targets link the platform library only; the text-block reader is
// one small source, so it is compiled in here.
#include "shell/text_block.cpp"

namespace {

void ReadTextBlock(const char* block, size_t size) {
    char buffer[64];
    for (int number = 0; number < 8; ++number) {
        static_cast<void>(GetTextFromBlock(block, size, number, buffer, sizeof buffer));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ReadTextBlock(reinterpret_cast<const char*>(data), size);

    platform::PackView pack;
    if (pack.Open(data, size) == platform::PackError::None) {
        for (size_t i = 0; i < pack.EntryCount(); ++i) {
            const platform::PackEntry entry = pack.Entry(i);
            ReadTextBlock(reinterpret_cast<const char*>(pack.EntryData(i)), entry.size);
        }
    }

    HMODULE module = platform::LoadPackFromMemory(std::vector<uint8_t>(data, data + size));
    if (module != nullptr) {
        for (int type : {2, 10, kTextBlockType}) {
            HRSRC found = FindResourceA(module, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(type));
            if (found != nullptr) {
                const char* bytes =
                    static_cast<const char*>(LockResource(LoadResource(module, found)));
                ReadTextBlock(bytes, SizeofResource(module, found));
            }
        }
        FreeLibrary(module);
    }
    return 0;
}
