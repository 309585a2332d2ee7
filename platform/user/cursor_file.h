// Decoding of Windows cursor files (.CUR), as cursor resources hold them.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/backend/backend.h"

namespace platform::user {

constexpr int RT_CURSOR_ID = 1;

// The first image of a cursor file as a 32-bit picture with its hot spot; the
// AND mask becomes transparency. Nothing when the bytes are not a cursor, or
// when a pixel names a colour the file's table does not hold.
std::optional<CursorShape> DecodeCursorFile(const uint8_t* bytes, size_t size);

}  // namespace platform::user
