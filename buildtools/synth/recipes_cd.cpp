#include "buildtools/synth/instruments.h"
#include "buildtools/synth/recipes.h"

namespace synth {
namespace {

constexpr Folder kCd = Folder::CdSounds;

// A siren rising and falling between two pitches.
void Siren(Sound& s, double low, double high, int cycles, double cycleLength) {
    for (int i = 0; i < cycles; ++i) {
        const double t = cycleLength * i;
        s.Add(Tone{.start = t, .duration = cycleLength / 2.0, .f0 = low, .f1 = high,
                   .wave = Wave::Warm, .amp = 0.8, .attack = 0.02, .release = 0.02});
        s.Add(Tone{.start = t + cycleLength / 2.0, .duration = cycleLength / 2.0, .f0 = high,
                   .f1 = low, .wave = Wave::Warm, .amp = 0.8, .attack = 0.02, .release = 0.02});
    }
}

}  // namespace

const std::vector<Recipe>& CdRecipes() {
    static const std::vector<Recipe> recipes = {
        // The effects, played while a whole-picture effect runs.
        {"harpe", kCd, [](Sound& s) {
             const int notes[] = {-9, -5, -2, 3, 7, 10, 15, 19, 22, 27};
             for (int i = 0; i < 10; ++i) {
                 s.Add(Tone{.start = 0.06 * i, .duration = 0.9, .f0 = NoteHz(notes[i]), .wave = Wave::Triangle,
                            .amp = 0.45, .attack = 0.004, .decay = 0.3, .release = 0.1});
             }
         }},
        {"Zapslnk2", kCd, [](Sound& s) { Zap(s, 0.0, 2400.0, 300.0, 0.3); Zap(s, 0.25, 1800.0, 250.0, 0.3); }},
        {"sircops", kCd, [](Sound& s) { Siren(s, 600.0, 900.0, 2, 0.5); }},
        {"glingB", kCd, [](Sound& s) { Bell(s, 0.0, 1319.0, 1.0, 2.0); Bell(s, 0.1, 1976.0, 0.9, 1.5); }},
        {"ziglo1", kCd, [](Sound& s) {
             for (int i = 0; i < 4; ++i) Zap(s, 0.1 * i, i % 2 == 0 ? 600.0 : 1500.0, i % 2 == 0 ? 1500.0 : 600.0, 0.12);
         }},
        {"Siraigu", kCd, [](Sound& s) { Siren(s, 1200.0, 1800.0, 3, 0.3); }},
        {"Zapslnk1", kCd, [](Sound& s) { Zap(s, 0.0, 300.0, 2400.0, 0.35); }},
        {"2gling", kCd, [](Sound& s) { Bell(s, 0.0, 1568.0, 0.7, 2.0); Bell(s, 0.2, 2093.0, 0.9, 2.0); }},
    };
    return recipes;
}

}  // namespace synth
