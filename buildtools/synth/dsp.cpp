#include "buildtools/synth/dsp.h"

#include <algorithm>
#include <cmath>
#include <numbers>

namespace synth {
namespace {

constexpr double kTwoPi = 2.0 * std::numbers::pi;
constexpr double kLoudestRmsDb = -11.0;

// The phase-to-sample function of each wave. Warm is a sine with two soft
// harmonics: rounder than a square, brighter than a sine.
double Oscillator(Wave wave, double phase) {
    switch (wave) {
    case Wave::Sine:
    case Wave::Bell:
        return std::sin(phase);
    case Wave::Triangle: {
        const double x = std::fmod(phase / kTwoPi, 1.0);
        return x < 0.5 ? 4.0 * x - 1.0 : 3.0 - 4.0 * x;
    }
    case Wave::Warm:
        return 0.8 * std::sin(phase) + 0.25 * std::sin(2.0 * phase) + 0.1 * std::sin(3.0 * phase);
    }
    return 0.0;
}

// A small linear congruential generator, so that every build makes the same
// noise whatever the standard library.
class Rng {
public:
    explicit Rng(uint32_t seed) : m_state(seed * 2654435761u + 1u) {}
    double Next() {
        m_state = m_state * 1664525u + 1013904223u;
        return static_cast<double>(m_state >> 8) / static_cast<double>(1u << 24) * 2.0 - 1.0;
    }

private:
    uint32_t m_state;
};

}  // namespace

double NoteHz(int semitonesFromA4) {
    return 440.0 * std::pow(2.0, semitonesFromA4 / 12.0);
}

double Envelope(double t, double duration, double attack, double decay, double release) {
    if (t < 0.0 || t >= duration) return 0.0;
    double level = 1.0;
    if (attack > 0.0 && t < attack) {
        // A raised-cosine attack never clicks.
        level = 0.5 - 0.5 * std::cos(std::numbers::pi * t / attack);
    } else if (decay > 0.0) {
        level = std::exp(-(t - attack) / decay);
    }
    const double untilEnd = duration - t;
    if (release > 0.0 && untilEnd < release) {
        level *= 0.5 - 0.5 * std::cos(std::numbers::pi * untilEnd / release);
    }
    return level;
}

std::vector<float>& Sound::Span(double start, double duration, size_t* first, size_t* count) {
    *first = static_cast<size_t>(std::lround(std::max(0.0, start) * kSampleRate));
    *count = static_cast<size_t>(std::lround(std::max(0.0, duration) * kSampleRate));
    if (m_samples.size() < *first + *count) m_samples.resize(*first + *count, 0.0f);
    return m_samples;
}

void Sound::Add(const Tone& tone) {
    size_t first = 0;
    size_t count = 0;
    std::vector<float>& out = Span(tone.start, tone.duration, &first, &count);
    const double f1 = tone.f1 > 0.0 ? tone.f1 : tone.f0;
    const double ratio = std::log(f1 / tone.f0);
    double phase = 0.0;
    double modPhase = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double progress = tone.duration > 0.0 ? t / tone.duration : 0.0;
        double freq = tone.f0 * std::exp(ratio * progress);
        if (tone.vibratoDepth > 0.0) {
            freq *= 1.0 + tone.vibratoDepth * std::sin(kTwoPi * tone.vibratoHz * t);
        }
        const double env = Envelope(t, tone.duration, tone.attack, tone.decay, tone.release);
        double value = 0.0;
        if (tone.wave == Wave::Bell) {
            // Two-operator FM whose brightness fades faster than the tone.
            const double index = tone.bellIndex * std::exp(-t * 6.0);
            value = std::sin(phase + index * std::sin(modPhase));
            modPhase += kTwoPi * freq * tone.bellRatio / kSampleRate;
        } else {
            value = Oscillator(tone.wave, phase);
        }
        phase += kTwoPi * freq / kSampleRate;
        if (phase > 1e6) phase = std::fmod(phase, kTwoPi);
        if (modPhase > 1e6) modPhase = std::fmod(modPhase, kTwoPi);
        out[first + i] += static_cast<float>(tone.amp * env * value);
    }
}

void Sound::Add(const Noise& noise) {
    size_t first = 0;
    size_t count = 0;
    std::vector<float>& out = Span(noise.start, noise.duration, &first, &count);
    const double c1 = noise.c1 > 0.0 ? noise.c1 : noise.c0;
    const double ratio = std::log(c1 / noise.c0);
    const double damping = 1.0 / std::max(0.3, noise.q);
    Rng rng(noise.seed);
    double ic1 = 0.0;
    double ic2 = 0.0;
    for (size_t i = 0; i < count; ++i) {
        const double t = static_cast<double>(i) / kSampleRate;
        const double progress = noise.duration > 0.0 ? t / noise.duration : 0.0;
        const double centre = std::min(noise.c0 * std::exp(ratio * progress), kSampleRate * 0.45);
        // A trapezoidal state-variable filter: stable at every centre and width.
        const double g = std::tan(std::numbers::pi * centre / kSampleRate);
        const double a1 = 1.0 / (1.0 + g * (g + damping));
        const double a2 = g * a1;
        const double a3 = g * a2;
        const double v3 = rng.Next() - ic2;
        const double band = a1 * ic1 + a2 * v3;
        const double low = ic2 + a2 * ic1 + a3 * v3;
        ic1 = 2.0 * band - ic1;
        ic2 = 2.0 * low - ic2;
        double value = noise.lowPass ? low : band * damping;
        if (noise.gateHz > 0.0) {
            const double cycle = std::fmod(t * noise.gateHz, 1.0);
            // A gate with soft edges: each grain rises and falls like a click.
            value *= cycle < noise.gateDuty ? std::sin(std::numbers::pi * cycle / noise.gateDuty) : 0.0;
        }
        const double env = Envelope(t, noise.duration, noise.attack, noise.decay, noise.release);
        out[first + i] += static_cast<float>(noise.amp * env * value);
    }
}

void Sound::Normalise(double peakDb) {
    if (m_samples.empty()) return;
    double mean = 0.0;
    for (float s : m_samples) mean += s;
    mean /= static_cast<double>(m_samples.size());
    // A short fade at both ends, so that no sound starts or stops with a click.
    const size_t fade = std::min<size_t>(m_samples.size() / 2, kSampleRate / 500);
    double peak = 0.0;
    for (size_t i = 0; i < m_samples.size(); ++i) {
        double value = m_samples[i] - mean;
        const size_t edge = std::min(i, m_samples.size() - 1 - i);
        if (edge < fade) value *= static_cast<double>(edge) / static_cast<double>(fade);
        m_samples[i] = static_cast<float>(value);
        peak = std::max(peak, std::fabs(value));
    }
    if (peak <= 0.0) return;
    double power = 0.0;
    for (float sample : m_samples) power += static_cast<double>(sample) * sample;
    const double rms = std::sqrt(power / static_cast<double>(m_samples.size()));
    // Held tones would sound much louder than clicks at the same peak, so their
    // average level is held down too.
    const double gain = std::min(std::pow(10.0, peakDb / 20.0) / peak,
                                 std::pow(10.0, kLoudestRmsDb / 20.0) / rms);
    for (float& s : m_samples) s = static_cast<float>(s * gain);
}

}  // namespace synth
