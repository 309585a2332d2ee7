#include "buildtools/synth/instruments.h"
#include "buildtools/synth/recipes.h"

namespace synth {
namespace {

constexpr Folder kHere = Folder::Sounds;

// The swatch scale: C5 up to C6, semitones from A4.
constexpr int kC5 = 3, kD5 = 5, kE5 = 7, kF5 = 8, kG5 = 10, kA5 = 12, kB5 = 14, kC6 = 15;

// A continuous tool sound is looped while the child draws, so it keeps an even
// level and a short fade at each end.
void Steady(Sound& s, double length, double centre, double q, uint32_t seed) {
    s.Add(Noise{.start = 0.0, .duration = length, .c0 = centre, .q = q, .amp = 1.0,
                .attack = 0.02, .release = 0.02, .seed = seed});
}

void Key(Sound& s, double centre) {
    Click(s, 0.0, centre, 0.025);
    Thump(s, 0.004, 180.0, 0.5);
}

}  // namespace

const std::vector<Recipe>& ProgramRecipes() {
    static const std::vector<Recipe> recipes = {
        // The language screen: a little breath of air.
        {"LitBlow", kHere, [](Sound& s) { Whoosh(s, 0.0, 0.45, 600.0, 2400.0); Bell(s, 0.25, NoteHz(kC6 + 12), 0.4, 1.0); }},
        // The palette's buttons.
        {"Help", kHere, [](Sound& s) { Bell(s, 0.0, NoteHz(kC5 + 12), 0.5, 1.2); Bell(s, 0.12, NoteHz(kG5 + 12), 0.6, 1.2); }},
        {"GlingC", kHere, [](Sound& s) { Bell(s, 0.0, NoteHz(kC6 + 12), 0.8, 2.5); Bell(s, 0.05, NoteHz(kE5 + 24), 0.6, 1.5); }},
        {"Brsh_Re2", kHere, [](Sound& s) { Xylophone(s, 0.0, NoteHz(17)); }},
        {"Brsh_Si", kHere, [](Sound& s) { Xylophone(s, 0.0, NoteHz(14)); }},
        {"Brsh_Sol", kHere, [](Sound& s) { Xylophone(s, 0.0, NoteHz(10)); }},
        {"Brsh_ReD", kHere, [](Sound& s) { Xylophone(s, 0.0, NoteHz(6)); }},
        {"Brsh_DoD", kHere, [](Sound& s) { Xylophone(s, 0.0, NoteHz(4)); }},
        {"Brsh_La", kHere, [](Sound& s) { Xylophone(s, 0.0, NoteHz(0)); }},
        {"Brsh_Fa", kHere, [](Sound& s) { Xylophone(s, 0.0, NoteHz(-4)); }},
        {"Brsh_UtD", kHere, [](Sound& s) { Xylophone(s, 0.0, NoteHz(-8)); }},
        {"Chirt", kHere, [](Sound& s) {
             for (int i = 0; i < 3; ++i) {
                 s.Add(Tone{.start = 0.09 * i, .duration = 0.07, .f0 = 2200.0, .f1 = 3600.0,
                            .amp = 1.0, .attack = 0.008, .release = 0.03});
             }
         }},
        {"gomme0", kHere, [](Sound& s) { Puff(s, 0.0, 0.12, 1800.0, 3); Puff(s, 0.13, 0.12, 1500.0, 4); }},
        {"TiBip", kHere, [](Sound& s) { Beep(s, 0.0, 1320.0, 0.06); Beep(s, 0.1, 1760.0, 0.1); }},
        {"Bender", kHere, [](Sound& s) { Boing(s, 0.0, 330.0, 0.6); }},
        {"Weez", kHere, [](Sound& s) {
             s.Add(Tone{.start = 0.0, .duration = 0.5, .f0 = 1400.0, .f1 = 700.0, .amp = 0.6,
                        .attack = 0.04, .release = 0.15, .vibratoHz = 9.0, .vibratoDepth = 0.03});
             Whoosh(s, 0.0, 0.5, 3000.0, 1500.0, 0.6);
         }},
        {"AlarmP", kHere, [](Sound& s) {
             for (int i = 0; i < 4; ++i) Beep(s, 0.1 * i, i % 2 == 0 ? 988.0 : 784.0, 0.09);
         }},
        {"Hammer", kHere, [](Sound& s) { Thump(s, 0.0, 160.0); Click(s, 0.0, 1800.0, 0.03, 0.7); Thump(s, 0.18, 150.0, 0.8); Click(s, 0.18, 1700.0, 0.03, 0.6); }},
        {"Klank", kHere, [](Sound& s) { Clank(s, 0.0, 420.0); }},
        {"Trrrrr", kHere, [](Sound& s) {
             s.Add(Noise{.start = 0.0, .duration = 0.45, .c0 = 1500.0, .q = 1.2, .amp = 1.0,
                         .attack = 0.01, .release = 0.08, .gateHz = 28.0, .gateDuty = 0.35, .seed = 7});
         }},
        {"ZigloCrt", kHere, [](Sound& s) { Zap(s, 0.0, 1800.0, 500.0, 0.18); }},
        {"Gloup", kHere, [](Sound& s) {
             s.Add(Tone{.start = 0.0, .duration = 0.18, .f0 = 500.0, .f1 = 160.0, .amp = 1.0,
                        .attack = 0.01, .decay = 0.08, .release = 0.04});
             Bubble(s, 0.15, 300.0, 0.09, 0.7);
         }},
        {"Pshat", kHere, [](Sound& s) { Splash(s, 0.0, 0.35, 11); }},
        {"sfit", kHere, [](Sound& s) { Whoosh(s, 0.0, 0.16, 900.0, 4500.0); }},
        {"Latch1", kHere, [](Sound& s) { Click(s, 0.0, 2600.0, 0.02); Click(s, 0.06, 1700.0, 0.03); }},
        {"Col_Ut", kHere, [](Sound& s) { Marimba(s, 0.0, NoteHz(kC5)); }},
        {"Col_Re", kHere, [](Sound& s) { Marimba(s, 0.0, NoteHz(kD5)); }},
        {"Col_Mi", kHere, [](Sound& s) { Marimba(s, 0.0, NoteHz(kE5)); }},
        {"Col_Fa", kHere, [](Sound& s) { Marimba(s, 0.0, NoteHz(kF5)); }},
        {"Col_Sol", kHere, [](Sound& s) { Marimba(s, 0.0, NoteHz(kG5)); }},
        {"Col_La", kHere, [](Sound& s) { Marimba(s, 0.0, NoteHz(kA5)); }},
        {"Col_Si", kHere, [](Sound& s) { Marimba(s, 0.0, NoteHz(kB5)); }},
        {"Col_Do", kHere, [](Sound& s) { Marimba(s, 0.0, NoteHz(kC6)); }},
        {"tic", kHere, [](Sound& s) { Click(s, 0.0, 3200.0, 0.03); }},
        {"tac", kHere, [](Sound& s) { Click(s, 0.0, 1400.0, 0.035); }},
        // "tink" and "Tink" name one file: names are found without regard to case.
        {"Tink", kHere, [](Sound& s) { Bell(s, 0.0, 2093.0, 0.35, 1.5); }},
        {"Undo4", kHere, [](Sound& s) {
             s.Add(Tone{.start = 0.0, .duration = 0.25, .f0 = 900.0, .f1 = 300.0, .wave = Wave::Triangle,
                        .amp = 1.0, .attack = 0.01, .release = 0.05});
             s.Add(Tone{.start = 0.22, .duration = 0.12, .f0 = 300.0, .f1 = 600.0, .wave = Wave::Triangle,
                        .amp = 0.8, .attack = 0.01, .release = 0.05});
         }},
        {"Crecel", kHere, [](Sound& s) {
             for (int i = 0; i < 10; ++i) Click(s, 0.03 * i + 0.002 * i * i, 2000.0 - 60.0 * i, 0.02, 1.0 - 0.05 * i);
         }},
        {"Gomme1", kHere, [](Sound& s) {
             s.Add(Noise{.start = 0.0, .duration = 0.6, .c0 = 1600.0, .q = 1.0, .amp = 1.0, .attack = 0.02,
                         .release = 0.02, .gateHz = 9.0, .gateDuty = 0.8, .seed = 5});
         }},
        {"WeezCrt", kHere, [](Sound& s) {
             s.Add(Tone{.start = 0.0, .duration = 0.2, .f0 = 1300.0, .f1 = 800.0, .amp = 0.6,
                        .attack = 0.02, .release = 0.08, .vibratoHz = 9.0, .vibratoDepth = 0.03});
             Whoosh(s, 0.0, 0.2, 2800.0, 1600.0, 0.5);
         }},
        // The workshop's commands.
        {"Print", kHere, [](Sound& s) {
             s.Add(Tone{.start = 0.0, .duration = 0.9, .f0 = 110.0, .wave = Wave::Warm, .amp = 0.4,
                        .attack = 0.05, .release = 0.1, .vibratoHz = 6.0, .vibratoDepth = 0.02});
             s.Add(Noise{.start = 0.0, .duration = 0.9, .c0 = 2500.0, .q = 1.5, .amp = 0.8, .attack = 0.05,
                         .release = 0.1, .gateHz = 12.0, .gateDuty = 0.5, .seed = 9});
         }},
        {"VFlip", kHere, [](Sound& s) { Whoosh(s, 0.0, 0.3, 500.0, 3500.0); Bell(s, 0.22, 1568.0, 0.3, 1.0); }},
        {"VFlip1", kHere, [](Sound& s) { Whoosh(s, 0.0, 0.3, 3500.0, 500.0); Bell(s, 0.22, 784.0, 0.3, 1.0); }},
        {"HFlip", kHere, [](Sound& s) { Whoosh(s, 0.0, 0.18, 800.0, 3000.0); Whoosh(s, 0.16, 0.18, 3000.0, 800.0); }},
        {"HFlip1", kHere, [](Sound& s) { Whoosh(s, 0.0, 0.18, 3000.0, 800.0); Whoosh(s, 0.16, 0.18, 800.0, 3000.0); }},
        {"TicHaut", kHere, [](Sound& s) { Click(s, 0.0, 4200.0, 0.025); }},
        {"KlinkUp", kHere, [](Sound& s) { Bell(s, 0.0, 1047.0, 0.3, 1.5); Bell(s, 0.08, 1568.0, 0.4, 1.5); }},
        {"KlinkBa", kHere, [](Sound& s) { Bell(s, 0.0, 1568.0, 0.3, 1.5); Bell(s, 0.08, 1047.0, 0.4, 1.5); }},
        {"TicBHaut", kHere, [](Sound& s) { Click(s, 0.0, 3000.0, 0.02); Beep(s, 0.0, 1760.0, 0.05, 0.5); }},
        {"TicBBas", kHere, [](Sound& s) { Click(s, 0.0, 1500.0, 0.02); Beep(s, 0.0, 880.0, 0.05, 0.5); }},
        {"Ticbel2", kHere, [](Sound& s) { Click(s, 0.0, 2800.0, 0.02); Bell(s, 0.04, 1319.0, 0.5, 1.2); }},
        {"KlankE", kHere, [](Sound& s) { Clank(s, 0.0, 380.0, 0.3); Clank(s, 0.22, 380.0, 0.3); }},
        {"Glace", kHere, [](Sound& s) {
             const double hz[] = {2637.0, 3136.0, 3951.0, 2349.0, 3520.0};
             for (int i = 0; i < 5; ++i) Bell(s, 0.05 * i, hz[i], 0.6, 1.0);
         }},
        {"Synthac", kHere, [](Sound& s) {
             const int notes[] = {kC5, kE5, kG5, kC6};
             for (int i = 0; i < 4; ++i) Beep(s, 0.08 * i, NoteHz(notes[i]), 0.22, 0.7);
         }},
        // The tools.
        {"aero", kHere, [](Sound& s) { Steady(s, 1.0, 3500.0, 0.6, 21); }},
        {"pff1", kHere, [](Sound& s) { Puff(s, 0.0, 0.22, 1200.0, 22); }},
        {"ponce", kHere, [](Sound& s) {
             s.Add(Noise{.start = 0.0, .duration = 0.8, .c0 = 2200.0, .q = 0.9, .amp = 1.0, .attack = 0.02,
                         .release = 0.02, .gateHz = 6.0, .gateDuty = 0.9, .seed = 23});
         }},
        {"pff2", kHere, [](Sound& s) { Puff(s, 0.0, 0.3, 900.0, 24); }},
        {"Loupe0", kHere, [](Sound& s) { Zap(s, 0.0, 400.0, 1200.0, 0.3); }},
        {"Loupe2", kHere, [](Sound& s) { Zap(s, 0.0, 1200.0, 400.0, 0.3); }},
        {"pook", kHere, [](Sound& s) { Pop(s, 0.0, 380.0); }},
        {"Pshit", kHere, [](Sound& s) { Puff(s, 0.0, 0.25, 4000.0, 25); }},
        {"Kook", kHere, [](Sound& s) { Pop(s, 0.0, 600.0); Pop(s, 0.09, 450.0, 0.8); }},
        {"PloufCrt", kHere, [](Sound& s) { Bubble(s, 0.0, 250.0, 0.08); Splash(s, 0.03, 0.22, 26); }},
        {"eau", kHere, [](Sound& s) {
             s.Add(Noise{.start = 0.0, .duration = 1.0, .c0 = 900.0, .q = 0.7, .amp = 0.5, .attack = 0.02,
                         .release = 0.02, .seed = 27});
             const double hz[] = {420.0, 640.0, 520.0, 760.0, 480.0, 700.0, 560.0, 600.0};
             for (int i = 0; i < 8; ++i) Bubble(s, 0.04 + 0.115 * i, hz[i], 0.06, 0.8);
         }},
        {"bubble", kHere, [](Sound& s) { Bubble(s, 0.0, 400.0, 0.09); Bubble(s, 0.1, 560.0, 0.08, 0.8); }},
        {"bubble2", kHere, [](Sound& s) {
             const double hz[] = {500.0, 700.0, 450.0, 820.0};
             for (int i = 0; i < 4; ++i) Bubble(s, 0.07 * i, hz[i], 0.07, 0.9);
         }},
        {"Cr2", kHere, [](Sound& s) {
             for (int i = 0; i < 6; ++i) Click(s, 0.025 * i, 2500.0 + 300.0 * (i % 3), 0.02, 0.9);
         }},
        {"Cr3", kHere, [](Sound& s) {
             for (int i = 0; i < 8; ++i) Click(s, 0.03 * i, 1500.0 + 400.0 * (i % 2), 0.025, 0.9);
         }},
        {"KeyA", kHere, [](Sound& s) { Key(s, 2400.0); }},
        {"KeyB", kHere, [](Sound& s) { Key(s, 2000.0); }},
        {"KeyC", kHere, [](Sound& s) { Key(s, 2800.0); }},
        {"KeyErr", kHere, [](Sound& s) { Beep(s, 0.0, 330.0, 0.12, 0.8); Beep(s, 0.14, 262.0, 0.18, 0.8); }},
        // The save dialog: a camera.
        {"Photo", kHere, [](Sound& s) {
             Click(s, 0.0, 3000.0, 0.02);
             Whoosh(s, 0.02, 0.12, 4000.0, 2000.0, 0.6);
             Click(s, 0.12, 2000.0, 0.03);
         }},
    };
    return recipes;
}

}  // namespace synth
