#include "shell/text_block.h"

#include <climits>
#include <cstring>

namespace {

// The length of the string at `start`, up to its NUL or the end of the block.
size_t StringLength(const char* start, size_t available) {
    const void* nul = std::memchr(start, '\0', available);
    return nul == nullptr ? available : static_cast<size_t>(static_cast<const char*>(nul) - start);
}

bool IsEndString(const char* start, size_t length) {
    return length == 1 && start[0] == '\x01';
}

}  // namespace

int GetTextFromBlock(const char* block, size_t blockSize, int number, char* buffer, int size) {
    if (buffer != nullptr && size > 0) {
        buffer[0] = '\0';
    }
    if (block == nullptr || number < 0) {
        return 0;
    }
    size_t position = 0;
    for (int index = 0; position < blockSize; ++index) {
        const char* start = block + position;
        const size_t length = StringLength(start, blockSize - position);
        if (IsEndString(start, length)) {
            return 0;
        }
        if (index == number) {
            if (buffer != nullptr && size > 0) {
                const size_t room = static_cast<size_t>(size - 1);
                const size_t copied = length < room ? length : room;
                std::memcpy(buffer, start, copied);
                buffer[copied] = '\0';
            }
            return length > INT_MAX ? INT_MAX : static_cast<int>(length);
        }
        position += length + 1;
    }
    return 0;
}
