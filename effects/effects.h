// The special effects: twenty-two whole-picture effects that the workshop runs
// on its sheet. Most of them rework a 24-bit copy of the sheet, the effect
// image, byte by byte and draw it back; three draw on the sheet directly.
//
// Every operation here expects the workshop window to be the current surface,
// clipped to the sheet, as the effects command makes it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "platform/windows.h"

constexpr int kEffectCount = 22;

// The pixels of an effect image: rows bottom line first, each pixel three
// bytes in the order blue, green, red, rows stride bytes apart.
struct EffectImage {
    uint8_t* pixels = nullptr;
    int width = 0;
    int height = 0;
    int stride = 0;
};

// The image of the effect that runs; empty outside an effect.
extern EffectImage g_effectImage;

// Plays the next effect sound, then runs effect number (0..21); any other
// number only plays the sound.
void RunEffect(int number);

// Captures the sheet into the effect image, releasing the screen buffer for
// the time. 1 when the image is ready; 0, after the memory warning and with
// the screen buffer back, when it could not be made.
int TakeSheetPixels();
// Draws the effect image back onto the sheet, frees it and makes the screen
// buffer again.
void ReturnSheetPixels();

// a - b, or 0 when the two are closer than 3.
int ChannelDifference(int a, int b);

// Lay a mask file of the data root over the effect image: each byte is light
// added to the three channels of its pixel, or shadow taken from them. A file
// that is missing or cannot be read changes nothing; a short one counts its
// missing bytes as 0 and a long one's extra bytes are ignored.
void AddLightMask(const char* name);
void SubtractShadowMask(const char* name);

// The sound that the next RunEffect plays, 0..7.
int NextEffectSound();
