#pragma once

// The comic instruments: each adds one short event to a sound at a time in
// seconds. Recipes are written with these rather than with raw voices.

#include "buildtools/synth/dsp.h"

namespace synth {

// Hollow wooden bar: the swatch notes.
void Marimba(Sound& s, double t, double hz, double length = 0.45);
// Bright metal bar: the brush-size notes.
void Xylophone(Sound& s, double t, double hz, double length = 0.4);
// A struck bell or glass; bright near 2, soft near 1.
void Bell(Sound& s, double t, double hz, double length = 0.9, double brightness = 2.0);
// A dry click whose colour is its centre frequency.
void Click(Sound& s, double t, double centre, double length = 0.02, double amp = 1.0);
// Air moving past: a band of noise sweeping from c0 to c1.
void Whoosh(Sound& s, double t, double length, double c0, double c1, double amp = 1.0);
// One bubble: a short sine that rises as it closes.
void Bubble(Sound& s, double t, double hz, double length = 0.07, double amp = 1.0);
// Water hitting water: a falling band of noise and a few bubbles.
void Splash(Sound& s, double t, double length, uint32_t seed);
// A sci-fi zap gliding from f0 to f1 with a fast wobble.
void Zap(Sound& s, double t, double f0, double f1, double length);
// A spring: a wobbling glide that settles on its note.
void Boing(Sound& s, double t, double hz, double length = 0.5);
// A soft electronic beep.
void Beep(Sound& s, double t, double hz, double length = 0.08, double amp = 1.0);
// A cork pop.
void Pop(Sound& s, double t, double hz, double amp = 1.0);
// A padded knock, as of a hammer on wood.
void Thump(Sound& s, double t, double hz, double amp = 1.0);
// A short puff of breath.
void Puff(Sound& s, double t, double length, double centre, uint32_t seed);
// A metal clank: inharmonic partials that die quickly.
void Clank(Sound& s, double t, double hz, double length = 0.35);

}  // namespace synth
