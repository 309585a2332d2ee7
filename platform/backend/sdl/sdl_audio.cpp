#include "platform/backend/sdl/sdl_parts.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <mutex>
#include <utility>

namespace platform {
namespace {

constexpr int kSampleRate = 22050;
constexpr int kChannels = 2;
// A click's sound waits at most one buffer before the callback takes it and
// one more while that buffer plays: 256 frames at 22050 Hz are 11.6 ms, so it
// starts within about 23 ms. The callback only copies, so so short a buffer
// does not run dry. A driver may pick its own period; more than kMaxFrames
// (46 ms) is reported, since clicks would then lag visibly.
constexpr Uint16 kWantedFrames = 256;
constexpr Uint16 kMaxFrames = 1024;

// One sound at a time: Play replaces it. The callback thread shares only the
// samples, the read position and the loop flag, under m_mutex.
class SdlAudio final : public AudioSink {
public:
    SdlAudio(std::shared_ptr<SdlSession> session, bool mute) : m_session(std::move(session)), m_mute(mute) {}

    ~SdlAudio() override {
        if (m_device != 0) {
            SDL_CloseAudioDevice(m_device);
        }
        if (m_audioStarted) {
            SDL_QuitSubSystem(SDL_INIT_AUDIO);
        }
    }

    void Play(std::vector<int16_t> samples, bool loop) override {
        if (m_mute || !EnsureDevice()) {
            return;
        }
        // Whole frames only: a stray odd sample would swap the channels on a loop.
        samples.resize(samples.size() - samples.size() % kChannels);
        {
            std::lock_guard lock(m_mutex);
            std::swap(m_samples, samples);
            m_position = 0;
            m_loop = loop && !m_samples.empty();
        }
        // The old sound is freed here, outside the lock.
    }

    void Stop() override {
        std::vector<int16_t> old;
        std::lock_guard lock(m_mutex);
        std::swap(m_samples, old);
        m_position = 0;
        m_loop = false;
    }

    bool Playing() override {
        std::lock_guard lock(m_mutex);
        return m_position < m_samples.size();
    }

private:
    bool EnsureDevice();
    static void Callback(void* userData, Uint8* stream, int length);
    void Fill(int16_t* out, size_t count);

    std::shared_ptr<SdlSession> m_session;
    bool m_mute;
    bool m_tried = false;
    bool m_audioStarted = false;
    SDL_AudioDeviceID m_device = 0;
    std::mutex m_mutex;
    std::vector<int16_t> m_samples;
    size_t m_position = 0;
    bool m_loop = false;
};

bool SdlAudio::EnsureDevice() {
    if (m_tried) {
        return m_device != 0;
    }
    m_tried = true;
    if (SDL_InitSubSystem(SDL_INIT_AUDIO) != 0) {
        std::fprintf(stderr, "tavelin: no sound: %s\n", SDL_GetError());
        return false;
    }
    m_audioStarted = true;
    SDL_AudioSpec wanted{};
    wanted.freq = kSampleRate;
    wanted.format = AUDIO_S16SYS;
    wanted.channels = kChannels;
    wanted.samples = kWantedFrames;
    wanted.callback = &SdlAudio::Callback;
    wanted.userdata = this;
    SDL_AudioSpec obtained{};
    // Rate, format and channels are fixed, and SDL converts to whatever the
    // card wants; the buffer length is the driver's, so that obtained tells
    // what really sits between a Play and the speaker.
    m_device = SDL_OpenAudioDevice(nullptr, 0, &wanted, &obtained, SDL_AUDIO_ALLOW_SAMPLES_CHANGE);
    if (m_device == 0) {
        std::fprintf(stderr, "tavelin: no sound: %s\n", SDL_GetError());
        return false;
    }
    if (obtained.samples > kMaxFrames) {
        std::fprintf(stderr, "tavelin: the sound device buffers %u frames; clicks will lag\n",
                     static_cast<unsigned>(obtained.samples));
    }
    SDL_PauseAudioDevice(m_device, 0);
    return true;
}

void SdlAudio::Callback(void* userData, Uint8* stream, int length) {
    auto* self = static_cast<SdlAudio*>(userData);
    self->Fill(reinterpret_cast<int16_t*>(stream), static_cast<size_t>(length) / sizeof(int16_t));
}

void SdlAudio::Fill(int16_t* out, size_t count) {
    std::lock_guard lock(m_mutex);
    size_t written = 0;
    while (written < count && m_position < m_samples.size()) {
        size_t chunk = std::min(count - written, m_samples.size() - m_position);
        std::memcpy(out + written, m_samples.data() + m_position, chunk * sizeof(int16_t));
        written += chunk;
        m_position += chunk;
        if (m_position == m_samples.size() && m_loop) {
            m_position = 0;
        }
    }
    std::fill(out + written, out + count, int16_t{0});
}

}  // namespace

std::unique_ptr<AudioSink> MakeSdlAudio(std::shared_ptr<SdlSession> session, bool mute) {
    return std::make_unique<SdlAudio>(std::move(session), mute);
}

}  // namespace platform
