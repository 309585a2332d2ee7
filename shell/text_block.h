// Text blocks: the resources of type 32002 that hold the program's help texts
// and error messages. A block is a sequence of Windows-1252 strings, each ended
// by a NUL byte, and ends with the string made of the single byte 0x01.
#pragma once

#include <cstddef>

// The resource type of text blocks.
constexpr int kTextBlockType = 32002;

// Copies string `number` (counted from 0) of a block into the buffer, at most
// size - 1 characters, NUL-terminated, and returns the string's full length.
// A missing block, a negative number or a block with fewer strings gives an
// empty buffer and 0. Nothing past blockSize is read, even when the block lacks
// its end string or its final NUL; a string cut by the end of the block ends
// there.
int GetTextFromBlock(const char* block, size_t blockSize, int number, char* buffer, int size);
