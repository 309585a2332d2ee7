#include "buildtools/synth/instruments.h"

namespace synth {

void Marimba(Sound& s, double t, double hz, double length) {
    s.Add(Tone{.start = t, .duration = length, .f0 = hz, .amp = 1.0, .attack = 0.004,
               .decay = length / 3.5, .release = 0.05});
    s.Add(Tone{.start = t, .duration = length * 0.4, .f0 = hz * 4.0, .amp = 0.18,
               .attack = 0.002, .decay = 0.03, .release = 0.02});
    s.Add(Tone{.start = t, .duration = length * 0.2, .f0 = hz * 10.0, .amp = 0.04,
               .attack = 0.002, .decay = 0.01, .release = 0.01});
}

void Xylophone(Sound& s, double t, double hz, double length) {
    s.Add(Tone{.start = t, .duration = length, .f0 = hz, .wave = Wave::Bell, .amp = 1.0,
               .attack = 0.003, .decay = length / 3.0, .release = 0.05, .bellRatio = 3.0,
               .bellIndex = 1.2});
    s.Add(Tone{.start = t, .duration = length * 0.5, .f0 = hz * 2.0, .amp = 0.2,
               .attack = 0.003, .decay = length / 8.0, .release = 0.03});
}

void Bell(Sound& s, double t, double hz, double length, double brightness) {
    s.Add(Tone{.start = t, .duration = length, .f0 = hz, .wave = Wave::Bell, .amp = 1.0,
               .attack = 0.004, .decay = length / 3.0, .release = 0.08, .bellRatio = 3.52,
               .bellIndex = brightness});
    s.Add(Tone{.start = t, .duration = length * 0.7, .f0 = hz * 2.76, .amp = 0.12,
               .attack = 0.003, .decay = length / 8.0, .release = 0.05});
}

void Click(Sound& s, double t, double centre, double length, double amp) {
    s.Add(Noise{.start = t, .duration = length, .c0 = centre, .q = 2.5, .amp = amp,
                .attack = 0.001, .decay = length / 4.0, .release = 0.004,
                .seed = static_cast<uint32_t>(centre)});
    s.Add(Tone{.start = t, .duration = length, .f0 = centre * 0.5, .amp = amp * 0.35,
               .attack = 0.001, .decay = length / 4.0, .release = 0.004});
}

void Whoosh(Sound& s, double t, double length, double c0, double c1, double amp) {
    s.Add(Noise{.start = t, .duration = length, .c0 = c0, .c1 = c1, .q = 0.8, .amp = amp,
                .attack = length * 0.4, .release = length * 0.5,
                .seed = static_cast<uint32_t>(c0 + c1)});
}

void Bubble(Sound& s, double t, double hz, double length, double amp) {
    s.Add(Tone{.start = t, .duration = length, .f0 = hz, .f1 = hz * 2.2, .amp = amp,
               .attack = 0.004, .decay = length / 2.5, .release = 0.015});
}

void Splash(Sound& s, double t, double length, uint32_t seed) {
    s.Add(Noise{.start = t, .duration = length, .c0 = 4500.0, .c1 = 700.0, .q = 0.6,
                .amp = 1.0, .attack = 0.006, .decay = length / 3.0, .release = length / 3.0,
                .seed = seed});
    const double hz[] = {520.0, 760.0, 610.0, 900.0};
    for (int i = 0; i < 4; ++i) {
        Bubble(s, t + length * (0.25 + 0.15 * i), hz[(i + seed) % 4], 0.05, 0.35);
    }
}

void Zap(Sound& s, double t, double f0, double f1, double length) {
    s.Add(Tone{.start = t, .duration = length, .f0 = f0, .f1 = f1, .wave = Wave::Warm,
               .amp = 1.0, .attack = 0.004, .decay = length / 2.0, .release = 0.03,
               .vibratoHz = 35.0, .vibratoDepth = 0.06});
}

void Boing(Sound& s, double t, double hz, double length) {
    s.Add(Tone{.start = t, .duration = length, .f0 = hz * 0.55, .f1 = hz, .wave = Wave::Warm,
               .amp = 1.0, .attack = 0.005, .decay = length / 2.5, .release = 0.05,
               .vibratoHz = 14.0, .vibratoDepth = 0.12});
}

void Beep(Sound& s, double t, double hz, double length, double amp) {
    s.Add(Tone{.start = t, .duration = length, .f0 = hz, .wave = Wave::Warm, .amp = amp,
               .attack = 0.006, .release = 0.02});
}

void Pop(Sound& s, double t, double hz, double amp) {
    s.Add(Tone{.start = t, .duration = 0.07, .f0 = hz * 1.8, .f1 = hz, .amp = amp,
               .attack = 0.002, .decay = 0.02, .release = 0.01});
    Click(s, t, 3000.0, 0.012, amp * 0.5);
}

void Thump(Sound& s, double t, double hz, double amp) {
    s.Add(Tone{.start = t, .duration = 0.16, .f0 = hz * 1.6, .f1 = hz * 0.7, .amp = amp,
               .attack = 0.002, .decay = 0.04, .release = 0.02});
    s.Add(Noise{.start = t, .duration = 0.05, .c0 = 1200.0, .lowPass = true, .amp = amp * 0.6,
                .attack = 0.001, .decay = 0.012, .release = 0.01,
                .seed = static_cast<uint32_t>(hz)});
}

void Puff(Sound& s, double t, double length, double centre, uint32_t seed) {
    s.Add(Noise{.start = t, .duration = length, .c0 = centre * 1.3, .c1 = centre * 0.7, .q = 0.7,
                .amp = 1.0, .attack = 0.01, .decay = length / 2.5, .release = length / 3.0,
                .seed = seed});
}

void Clank(Sound& s, double t, double hz, double length) {
    const double ratios[] = {1.0, 2.41, 3.77, 5.93};
    const double amps[] = {1.0, 0.6, 0.4, 0.2};
    for (int i = 0; i < 4; ++i) {
        s.Add(Tone{.start = t, .duration = length, .f0 = hz * ratios[i], .amp = amps[i] * 0.5,
                   .attack = 0.002, .decay = length / (3.0 + 2.0 * i), .release = 0.04});
    }
    Click(s, t, 2500.0, 0.015, 0.6);
}

}  // namespace synth
