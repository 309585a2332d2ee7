// The comic sounds: renders every recipe into its folder as NAME.WAV.
//   tavelin_synth --sounds DIR --cd-sounds DIR [--stamp FILE]
// The stamp is written last, so that the build knows the whole set is there.

#include <cstdio>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>

#include "buildtools/synth/recipes.h"
#include "buildtools/synth/wav.h"

namespace {

constexpr double kPeakDb = -3.0;

bool Render(const synth::Recipe& recipe, const std::filesystem::path& folder) {
    synth::Sound sound;
    recipe.make(sound);
    sound.Normalise(kPeakDb);
    const std::filesystem::path path = folder / (std::string(recipe.name) + ".WAV");
    if (!synth::WriteWav(path.string(), sound.Samples(), synth::kSampleRate)) {
        std::fprintf(stderr, "tavelin_synth: cannot write %s\n", path.c_str());
        return false;
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    std::filesystem::path sounds;
    std::filesystem::path cdSounds;
    std::filesystem::path stamp;
    for (int i = 1; i + 1 < argc; i += 2) {
        if (std::strcmp(argv[i], "--sounds") == 0) sounds = argv[i + 1];
        else if (std::strcmp(argv[i], "--cd-sounds") == 0) cdSounds = argv[i + 1];
        else if (std::strcmp(argv[i], "--stamp") == 0) stamp = argv[i + 1];
    }
    if (sounds.empty() || cdSounds.empty()) {
        std::fprintf(stderr, "usage: tavelin_synth --sounds DIR --cd-sounds DIR [--stamp FILE]\n");
        return 2;
    }
    std::error_code error;
    std::filesystem::create_directories(sounds, error);
    std::filesystem::create_directories(cdSounds, error);
    for (const synth::Recipe& recipe : synth::ProgramRecipes()) {
        if (!Render(recipe, sounds)) return 1;
    }
    for (const synth::Recipe& recipe : synth::CdRecipes()) {
        if (!Render(recipe, cdSounds)) return 1;
    }
    if (!stamp.empty()) {
        std::ofstream file(stamp, std::ios::trunc);
        file << "sounds\n";
        if (!file) return 1;
    }
    return 0;
}
