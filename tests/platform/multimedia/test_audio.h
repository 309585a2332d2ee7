// An audio sink for the sound tests: it keeps every sound it is given and
// plays each for its length on the backend's clock (a loop forever).
#pragma once

#include <cstdint>
#include <memory>
#include <utility>
#include <vector>

#include "platform/backend/backend.h"

namespace test_audio {

class TestAudio : public platform::AudioSink {
public:
    struct Played {
        std::vector<int16_t> samples;
        bool loop = false;
    };

    void Play(std::vector<int16_t> samples, bool loop) override {
        m_start = platform::CurrentBackend().clock->NowMs();
        played.push_back({std::move(samples), loop});
        m_stopped = false;
    }
    void Stop() override {
        m_stopped = true;
        ++stops;
    }
    bool Playing() override {
        if (played.empty() || m_stopped) return false;
        const Played& last = played.back();
        const uint64_t lengthMs = last.samples.size() / 2 * 1000 / 22050;
        return last.loop || platform::CurrentBackend().clock->NowMs() - m_start < lengthMs;
    }

    std::vector<Played> played;
    int stops = 0;

private:
    uint32_t m_start = 0;
    bool m_stopped = false;
};

// Puts a fresh test sink into the current backend and returns it.
inline TestAudio& Install() {
    auto sink = std::make_unique<TestAudio>();
    TestAudio& result = *sink;
    platform::CurrentBackend().audio = std::move(sink);
    return result;
}

}  // namespace test_audio
