#include "platform/backend/sdl/sdl_parts.h"

#include <cerrno>
#include <chrono>
#include <ctime>

namespace platform {
namespace {

class SdlClock final : public Clock {
public:
    uint32_t NowMs() override {
        auto elapsed = std::chrono::steady_clock::now() - m_start;
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
    }

    uint64_t NowMicros() override {
        auto elapsed = std::chrono::steady_clock::now() - m_start;
        return static_cast<uint64_t>(
            std::chrono::duration_cast<std::chrono::microseconds>(elapsed).count());
    }

    void SleepMs(uint32_t ms) override {
        timespec remaining{static_cast<time_t>(ms / 1000), static_cast<long>(ms % 1000) * 1000000L};
        while (nanosleep(&remaining, &remaining) != 0 && errno == EINTR) {
        }
    }

private:
    std::chrono::steady_clock::time_point m_start = std::chrono::steady_clock::now();
};

}  // namespace

std::unique_ptr<Clock> MakeSdlClock() {
    return std::make_unique<SdlClock>();
}

}  // namespace platform
