// The checked reader of picture files, row by row. It takes the file headers
// of 12, 40, 108 and 124 bytes (the last two as other programs write them
// today), uncompressed rows of 1, 4, 8, 16, 24 or 32 bits, bit fields at 16
// and 32 bits, and RLE8 and RLE4 compression, and hands out every picture in
// the plain form of the packed DIB block: bit fields become 24-bit rows, RLE
// becomes 8-bit rows; rows come bottom row first, whatever the file's order.
// Nothing is allocated or read before the headers are checked: each side 1 to
// kMaxPictureSide, kMaxPicturePixels in all, one plane, a known depth and
// compression, valid masks, the colour count, the pixel offset, and that the
// file holds every stored row (for RLE, every byte of the compressed data).
// RLE runs, deltas and literal strings never write outside the picture;
// pixels that the data leave out take colour 0.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/windows.h"

class DibRowReader {
public:
    // Reads and checks the headers of the open file (which stays the
    // caller's); 0, or kBadDibHeader, kShortRead or a file error.
    [[nodiscard]] long Open(HANDLE file);

    // The picture as handed out: a 40-byte header, BI_RGB, a positive
    // height, the size of the rows handed out, the colour count in
    // biClrUsed; and its colour table of 4-byte entries.
    const BITMAPINFOHEADER& Header() const { return m_header; }
    const std::vector<uint8_t>& ColourTable() const { return m_table; }
    int64_t Stride() const;
    // True when the rows handed out are the file's own bytes (no bit fields,
    // no RLE), and whether the file stores them top row first.
    bool RowsAsStored() const { return m_layout == Layout::kPlain; }
    bool TopDown() const { return m_topDown; }

    // Puts row (0 the bottom one) into out, Stride() bytes. Rows may be asked
    // for in any order except that RLE rows go upwards only.
    [[nodiscard]] long ReadRow(int row, uint8_t* out);
    // Puts every row into pixels, Stride() x height bytes, bottom row first.
    [[nodiscard]] long ReadAll(uint8_t* pixels);

private:
    enum class Layout { kPlain, kBitFields, kRle8, kRle4 };

    [[nodiscard]] long ReadStored(int row, uint8_t* out);
    void ConvertBitFields(const uint8_t* stored, uint8_t* out) const;
    [[nodiscard]] long NextRleRow(uint8_t* out);
    bool NextByte(uint8_t& byte);
    void PutRle(uint8_t* out, uint8_t index);

    HANDLE m_file = nullptr;
    BITMAPINFOHEADER m_header{};
    std::vector<uint8_t> m_table;
    Layout m_layout = Layout::kPlain;
    int m_storedBits = 0;
    bool m_topDown = false;
    uint32_t m_masks[3] = {};
    int64_t m_pixelStart = 0;   // file position of the first stored byte
    uint32_t m_dataSize = 0;    // RLE: bytes of compressed data
    std::vector<uint8_t> m_stored;  // one stored row, for bit fields

    // RLE decoding state.
    int m_nextRow = 0;       // the row that NextRleRow gives next
    int m_x = 0;             // where the next pixel goes in the row
    int m_blankRows = 0;     // rows a delta passes over
    bool m_ended = false;    // end of bitmap, or of the data
    uint32_t m_consumed = 0;
    std::vector<uint8_t> m_buffer;
    size_t m_bufferAt = 0;
};
