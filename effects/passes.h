// The effects' passes over an effect image, one function per effect, and the
// effects that draw on the sheet with the toolkit. The engine brackets each
// pass between TakeSheetPixels and ReturnSheetPixels; tests and benchmarks run
// them on images of their own.
#pragma once

#include <cstddef>
#include <cstdint>

#include "effects/effects.h"

using EffectPass = void (*)(const EffectImage& image);

// Colour effects.
void Brighten(const EffectImage& image);
void DeepenColours(const EffectImage& image);
void MakeNegative(const EffectImage& image);
void MakeGreyscale(const EffectImage& image);
// Draws one random number for the whole picture.
void RotateChannels(const EffectImage& image);
void GlowBlue(const EffectImage& image);
void GlowWarm(const EffectImage& image);
void PaintLightStreaks(const EffectImage& image);
void RaiseRelief(const EffectImage& image);
void Smooth(const EffectImage& image);

// Tile effects.
void MakeMosaic(const EffectImage& image);
void ShadeTriangles(const EffectImage& image);
void PaintDots(const EffectImage& image);
void BevelTiles(const EffectImage& image);

// Mask effects.
void MottleShadow(const EffectImage& image);
void LetItSnow(const EffectImage& image);
void GrowPlants(const EffectImage& image);
void ShineSun(const EffectImage& image);
void BlowBubbles(const EffectImage& image);

// The effects on the sheet itself, inside the current surface's clip.
void ShiftTiles();
void LayPuzzle(int picture);

// The puzzle pictures of the picture module.
constexpr int kLargePuzzle = 1470;
constexpr int kSmallPuzzle = 1474;

// The dominant channel of a (B, G, R) pixel, 0 blue, 1 green, 2 red, or -1
// when no channel stands out.
int DominantChannel(const uint8_t* pixel);

constexpr int kMaxWeightedSum = 25500;

// Luminance weights sum: 59 G + 11 B + 30 R, 0 to 25500.
inline int WeightedSum(const uint8_t* pixel) {
    return 11 * pixel[0] + 59 * pixel[1] + 30 * pixel[2];
}

// The mask operations on an image. mask holds size bytes, one per pixel from
// row 0 on; pixels past its end take 0 and bytes past the image are ignored.
void AddLight(const EffectImage& image, const uint8_t* mask, size_t size);
void SubtractShadow(const EffectImage& image, const uint8_t* mask, size_t size);
// Reads the named mask file of the data root and lays it over the image;
// false, with the image as it was, when the file cannot be read.
bool LayMaskFile(const EffectImage& image, const char* name, bool light);
