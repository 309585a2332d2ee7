// Picture files: the packed DIB block, in which a picture leaves the screen,
// and the operations that capture, draw, write and read one.
//
// A packed DIB block is a movable global memory block holding a 40-byte
// BITMAPINFOHEADER, its colour table of 4-byte entries and the pixel rows,
// bottom row first, each padded to a multiple of 4 bytes. A picture file is a
// 14-byte BITMAPFILEHEADER followed by such a block, byte for byte. The caller
// owns every block returned and frees it with GlobalFree.
//
// The reader (storage/dib_reader.h) takes any file on disk as hostile and
// checks it before anything is allocated or read. Besides the two header
// forms that the writer knows, it takes the 108- and 124-byte headers, bit
// fields and RLE compression that other programs write, and hands every
// picture out in the plain form of the block: rows bottom row first, bit
// fields as 24 bits per pixel, RLE as 8. A refused file changes nothing.
#pragma once

#include <cstdint>

#include "platform/windows.h"

// The program's codes for picture files, beside kShortRead (38) and
// kNoMemory (-48) of the file layer.
constexpr long kNoDibBlock = 301;
constexpr long kBadDibHeader = 302;

constexpr int32_t kMaxPictureSide = 16384;
constexpr int64_t kMaxPicturePixels = int64_t{64} * 1024 * 1024;

// Bytes of one stored row: ((width * bits per pixel + 31) / 32) * 4.
int64_t DibStride(int64_t width, int bitsPerPixel);

// The colour count of a 40- or 12-byte header: the low 16 bits of a non-zero
// colours-used field of a 40-byte header, else 2, 16 or 256 for 1, 4 or 8 bits
// per pixel and 0 for any other depth.
int DibColourCount(const void* header);
// The colour count times 4 for a 40-byte header, times 3 for a 12-byte one.
int DibColourTableSize(const void* header);

// A new block holding the bitmap's pixels at bitsPerPixel (0: the bitmap's
// own depth), converted through palette (null: the program's palette).
// Null when the bitmap cannot be captured.
HGLOBAL CaptureDib(HBITMAP bitmap, int bitsPerPixel, HPALETTE palette, DWORD compression);

// Stretches the source rectangle of the block's pixels onto the destination
// rectangle of dc with rop; with no block, fills the destination with rop
// alone. Returns the number of rows drawn, 0 on failure.
int DrawDib(HDC dc, int x, int y, int width, int height, HGLOBAL block, int sourceX,
            int sourceY, int sourceWidth, int sourceHeight, DWORD rop);

// Writes the block as a picture file through the file layer's safe
// replacement: an existing file is replaced only by a complete new one.
[[nodiscard]] long WriteDibFile(const char* name, HGLOBAL block);
// Captures the bitmap and writes it; -48 when the capture fails.
[[nodiscard]] long SaveBitmapAsFile(const char* name, HBITMAP bitmap, int bitsPerPixel,
                                    HPALETTE palette, DWORD compression);
// Saves the sheet at 8 bits per pixel on a display of 8 bits or fewer, at 24
// bits otherwise.
[[nodiscard]] long SaveSheetPicture(const char* name, HBITMAP sheet);

// Reads the headers of the open file, which may start with a file header or
// directly with the bitmap's header, into a new block holding the 40-byte
// header and the colour table; the file then stands at the first pixel byte,
// and holds all the pixel rows, top row first when the height is negative.
// Files whose rows are not stored as the block holds them (bit fields, RLE)
// are refused with kBadDibHeader here: DibRowReader reads them. Null with
// *error set on failure.
HGLOBAL ReadDibHeader(HANDLE file, long* error);
// Copies the block's header into header, with the pixel data size and the
// colours used filled in when they are 0. Returns 1, or 0 when there is no
// block.
int GetDibHeader(HGLOBAL block, BITMAPINFOHEADER* header);
// Reads a whole picture file into a new block; null with *error set on
// failure.
HGLOBAL ReadDibFile(const char* name, long* error);

// Reads the file and stretches it onto the whole target bitmap, reading only
// the rows the stretch shows, one at a time: the memory used is that of the
// target, whatever the size of the picture. On any error the target is left
// as it was.
[[nodiscard]] long LoadPictureIntoBitmap(const char* name, HBITMAP target);
