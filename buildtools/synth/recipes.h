#pragma once

// Every sound the program plays, by name, with the folder it is played from.

#include <vector>

#include "buildtools/synth/dsp.h"

namespace synth {

// The program folder's sounds folder, or the data drive's CD sounds folder.
enum class Folder { Sounds, CdSounds };

struct Recipe {
    const char* name;
    Folder folder;
    void (*make)(Sound& sound);
};

// The button, command and tool sounds of the program folder.
const std::vector<Recipe>& ProgramRecipes();
// The effect sounds of the data drive (the voices come from the speech build).
const std::vector<Recipe>& CdRecipes();

}  // namespace synth
