#pragma once

// The synthesizer's building blocks: a mono sample buffer at a fixed rate, and
// the few voices every comic sound is made of (tones that glide, bells, noise
// through a sweeping filter). Everything is deterministic: noise comes from a
// seeded generator, never from the clock.

#include <cstddef>
#include <cstdint>
#include <vector>

namespace synth {

constexpr int kSampleRate = 22050;

enum class Wave { Sine, Triangle, Warm, Bell };

// A tone from f0 to f1 (an exponential glide), shaped by an attack, an
// exponential decay (time constant in seconds; 0 keeps the level) and a
// release at the end.
struct Tone {
    double start = 0.0;
    double duration = 0.2;
    double f0 = 440.0;
    double f1 = 0.0;  // 0 keeps f0.
    Wave wave = Wave::Sine;
    double amp = 1.0;
    double attack = 0.005;
    double decay = 0.0;
    double release = 0.02;
    double vibratoHz = 0.0;
    double vibratoDepth = 0.0;  // A fraction of the frequency.
    double bellRatio = 3.5;     // The modulator of a Bell, as a ratio of the carrier.
    double bellIndex = 2.0;
};

// Filtered noise: a band around a centre that sweeps from c0 to c1, with an
// optional on/off gate for rattles.
struct Noise {
    double start = 0.0;
    double duration = 0.2;
    double c0 = 2000.0;
    double c1 = 0.0;  // 0 keeps c0.
    double q = 1.0;   // 0.5 is broad, 4 is narrow.
    bool lowPass = false;
    double amp = 1.0;
    double attack = 0.005;
    double decay = 0.0;
    double release = 0.03;
    double gateHz = 0.0;
    double gateDuty = 0.5;
    uint32_t seed = 1;
};

class Sound {
public:
    void Add(const Tone& tone);
    void Add(const Noise& noise);

    // Scales the sound so that its highest peak sits at the given level in
    // dBFS, or lower for a held tone whose average level would be too loud,
    // after removing any offset and fading the very ends.
    void Normalise(double peakDb);

    const std::vector<float>& Samples() const { return m_samples; }

private:
    std::vector<float>& Span(double start, double duration, std::size_t* first, std::size_t* count);

    std::vector<float> m_samples;
};

// The envelope of a voice at time t (seconds from its start).
double Envelope(double t, double duration, double attack, double decay, double release);

// The frequency of a note given as semitones from A4 (440 Hz).
double NoteHz(int semitonesFromA4);

}  // namespace synth
