#pragma once

// Writes a mono 16-bit PCM wave file, the format the program plays.

#include <string>
#include <vector>

namespace synth {

// Writes the samples (full scale at 1.0, rounded, clipped) with a canonical
// 44-byte header. Returns false when the file cannot be written.
[[nodiscard]] bool WriteWav(const std::string& path, const std::vector<float>& samples,
                            int sampleRate);

}  // namespace synth
