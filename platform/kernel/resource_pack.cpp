#include "platform/kernel/resource_pack.h"

#include <algorithm>
#include <cstring>
#include <limits>

namespace platform {

namespace {

uint16_t ReadU16(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}

uint32_t ReadU32(const uint8_t* p) {
    return static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
           (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24);
}

void WriteU16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void WriteU32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8) {
        out.push_back(static_cast<uint8_t>(value >> shift));
    }
}

uint32_t Key(uint16_t type, uint16_t id) {
    return (static_cast<uint32_t>(type) << 16) | id;
}

}  // namespace

const char* DescribePackError(PackError error) {
    switch (error) {
        case PackError::None:
            return "the pack is valid";
        case PackError::TooSmall:
            return "the file is too small to hold a resource pack header";
        case PackError::BadMagic:
            return "the file is not a resource pack (bad signature)";
        case PackError::BadVersion:
            return "the resource pack has an unknown version";
        case PackError::BadReserved:
            return "the resource pack header has non-zero reserved fields";
        case PackError::TableOutsideFile:
            return "the resource pack's entry table runs past the end of the file";
        case PackError::DataOutsideFile:
            return "a resource of the pack runs past the end of the file";
        case PackError::DataOverlapsTable:
            return "a resource of the pack overlaps the pack's header or entry table";
        case PackError::EntriesOutOfOrder:
            return "the resource pack's entries are duplicated or out of order";
    }
    return "unknown resource pack error";
}

PackError PackView::Open(const uint8_t* data, size_t size) {
    *this = PackView();
    if (data == nullptr || size < kPackHeaderSize) {
        return PackError::TooSmall;
    }
    if (std::memcmp(data, kPackMagic, sizeof kPackMagic) != 0) {
        return PackError::BadMagic;
    }
    if (ReadU16(data + 4) != kPackVersion) {
        return PackError::BadVersion;
    }
    if (ReadU16(data + 6) != 0 || ReadU32(data + 12) != 0) {
        return PackError::BadReserved;
    }
    // The count is at most 2^32 - 1, so the table size cannot overflow 64 bits.
    const uint64_t count = ReadU32(data + 8);
    const uint64_t tableEnd = kPackHeaderSize + count * kPackEntrySize;
    if (tableEnd > size) {
        return PackError::TableOutsideFile;
    }
    uint32_t previousKey = 0;
    for (uint64_t i = 0; i < count; ++i) {
        const uint8_t* entry = data + kPackHeaderSize + i * kPackEntrySize;
        const uint32_t key = Key(ReadU16(entry), ReadU16(entry + 2));
        const uint64_t offset = ReadU32(entry + 4);
        const uint64_t length = ReadU32(entry + 8);
        if (i > 0 && key <= previousKey) {
            return PackError::EntriesOutOfOrder;
        }
        if (offset < tableEnd) {
            return PackError::DataOverlapsTable;
        }
        if (offset + length > size) {
            return PackError::DataOutsideFile;
        }
        previousKey = key;
    }
    m_data = data;
    m_size = size;
    m_count = static_cast<size_t>(count);
    return PackError::None;
}

PackEntry PackView::Entry(size_t index) const {
    const uint8_t* entry = m_data + kPackHeaderSize + index * kPackEntrySize;
    return PackEntry{ReadU16(entry), ReadU16(entry + 2), ReadU32(entry + 4), ReadU32(entry + 8)};
}

const uint8_t* PackView::EntryData(size_t index) const {
    return m_data + Entry(index).offset;
}

std::optional<size_t> PackView::Find(uint16_t type, uint16_t id) const {
    // The entries are sorted by key, which validation has checked.
    const uint32_t wanted = Key(type, id);
    size_t low = 0;
    size_t high = m_count;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        const PackEntry entry = Entry(middle);
        const uint32_t key = Key(entry.type, entry.id);
        if (key == wanted) {
            return middle;
        }
        if (key < wanted) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return std::nullopt;
}

bool PackView::HasType(uint16_t type) const {
    // The first entry whose key is not below (type, 0) has this type if any has.
    size_t low = 0;
    size_t high = m_count;
    while (low < high) {
        const size_t middle = low + (high - low) / 2;
        if (Entry(middle).type < type) {
            low = middle + 1;
        } else {
            high = middle;
        }
    }
    return low < m_count && Entry(low).type == type;
}

bool BuildPack(std::vector<PackItem> items, std::vector<uint8_t>& pack) {
    std::sort(items.begin(), items.end(), [](const PackItem& a, const PackItem& b) {
        return Key(a.type, a.id) < Key(b.type, b.id);
    });
    for (size_t i = 1; i < items.size(); ++i) {
        if (Key(items[i - 1].type, items[i - 1].id) == Key(items[i].type, items[i].id)) {
            return false;
        }
    }
    auto align = [](uint64_t value) {
        return (value + kPackDataAlignment - 1) / kPackDataAlignment * kPackDataAlignment;
    };
    uint64_t offset = align(kPackHeaderSize + uint64_t{items.size()} * kPackEntrySize);
    std::vector<uint32_t> offsets;
    for (const PackItem& item : items) {
        if (offset + item.bytes.size() > std::numeric_limits<uint32_t>::max()) {
            return false;
        }
        offsets.push_back(static_cast<uint32_t>(offset));
        offset = align(offset + item.bytes.size());
    }

    std::vector<uint8_t> out(std::begin(kPackMagic), std::end(kPackMagic));
    WriteU16(out, kPackVersion);
    WriteU16(out, 0);
    WriteU32(out, static_cast<uint32_t>(items.size()));
    WriteU32(out, 0);
    for (size_t i = 0; i < items.size(); ++i) {
        WriteU16(out, items[i].type);
        WriteU16(out, items[i].id);
        WriteU32(out, offsets[i]);
        WriteU32(out, static_cast<uint32_t>(items[i].bytes.size()));
    }
    for (size_t i = 0; i < items.size(); ++i) {
        out.resize(offsets[i], 0);
        out.insert(out.end(), items[i].bytes.begin(), items[i].bytes.end());
    }
    pack = std::move(out);
    return true;
}

}  // namespace platform
