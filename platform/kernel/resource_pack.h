// The resource pack: the file format that holds the program's resources and the
// resource libraries, with its validating reader and its writer.
//
// A pack is little-endian throughout:
//
//   header   16 bytes  "TVRP", version (u16, 1), reserved (u16, 0),
//                      entry count (u32), reserved (u32, 0)
//   entries  12 bytes each: type (u16), id (u16), offset (u32), size (u32),
//                      sorted by type then id, each (type, id) at most once
//   data     the resources' bytes, anywhere after the entry table
//
// The reader checks every field before anything is used, so a view that passed
// validation can be indexed without further checks. Duplicate or unsorted
// entries make the pack invalid: a pack names each resource once.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "platform/win/types.h"

namespace platform {

inline constexpr char kPackMagic[4] = {'T', 'V', 'R', 'P'};
inline constexpr uint16_t kPackVersion = 1;
inline constexpr size_t kPackHeaderSize = 16;
inline constexpr size_t kPackEntrySize = 12;
// Data blocks start on this boundary in the packs the writer makes, so that the
// structures inside them can be read in place.
inline constexpr size_t kPackDataAlignment = 8;

enum class PackError {
    None,
    TooSmall,
    BadMagic,
    BadVersion,
    BadReserved,
    TableOutsideFile,
    DataOutsideFile,
    DataOverlapsTable,
    EntriesOutOfOrder,
};

// A sentence describing the error, for logs and the tool's messages.
const char* DescribePackError(PackError error);

struct PackEntry {
    uint16_t type;
    uint16_t id;
    uint32_t offset;
    uint32_t size;
};

// A validated pack over bytes owned by someone else.
class PackView {
public:
    PackView() = default;

    // Checks the whole pack; on success the view is usable, on failure it is
    // left empty and the reason is returned.
    [[nodiscard]] PackError Open(const uint8_t* data, size_t size);

    size_t EntryCount() const { return m_count; }
    PackEntry Entry(size_t index) const;
    const uint8_t* EntryData(size_t index) const;

    // The index of the entry with this type and id, or nothing.
    std::optional<size_t> Find(uint16_t type, uint16_t id) const;
    bool HasType(uint16_t type) const;

private:
    const uint8_t* m_data = nullptr;
    size_t m_size = 0;
    size_t m_count = 0;
};

struct PackItem {
    uint16_t type;
    uint16_t id;
    std::vector<uint8_t> bytes;
};

// Serialises items into a pack, sorted by type and id. Returns false when two
// items share a type and id, or when the pack would not fit 32-bit offsets.
[[nodiscard]] bool BuildPack(std::vector<PackItem> items, std::vector<uint8_t>& pack);

// The layer's side of packs, for tests and the layer itself.

// Makes a library of a pack held in memory, as LoadLibraryA does with a file:
// NULL and ERROR_BAD_EXE_FORMAT when the pack is invalid.
HMODULE LoadPackFromMemory(std::vector<uint8_t> bytes);

// Replaces the program's own pack by a copy of this one; false, and nothing
// changed, when it is invalid. ResetProgramPack brings back the built-in pack.
[[nodiscard]] bool SetProgramPack(const uint8_t* data, size_t size);
void ResetProgramPack();

// The drive-letter path a library was loaded from; empty for the program's
// module, a pack loaded from memory and a handle that names no library.
std::string LibraryFileName(HMODULE module);

}  // namespace platform
