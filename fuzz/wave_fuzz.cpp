// Feeds arbitrary bytes to the wave parser, and what it accepts to the
// conversion to the device's format.
#include <cstddef>
#include <cstdint>

#include "platform/multimedia/wave.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    platform::WaveError error;
    const auto sound = platform::ParseWave({data, size}, error);
    if (sound) {
        const auto samples = platform::ConvertToDevice(*sound);
        (void)platform::DeviceDurationMs(samples.size());
    }
    (void)platform::WaveImageSize(data, size);
    return 0;
}
