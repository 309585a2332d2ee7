// How soon a click reaches a program that rests between inputs: the SDL event
// source waiting on the display connection, beside the one-millisecond sleeps
// an idle program used to take. A second thread pushes a button press into
// SDL's queue a few milliseconds after the wait begins; the time measured runs
// from the push to the moment the source hands the press over. Needs a display
// (run it under xvfb-run).

#include <benchmark/benchmark.h>

#include <SDL.h>

#include <atomic>
#include <chrono>
#include <string>
#include <thread>

#include "platform/backend/backend.h"
#include "platform/backend/sdl/sdl_backend.h"
#include "platform/options.h"

namespace {

using Clock = std::chrono::steady_clock;

platform::Backend* SdlBackend() {
    static platform::Backend backend = [] {
        platform::Options options;
        options.window = true;
        options.mute = true;
        std::string error;
        return platform::MakeSdlBackend(options, &error);
    }();
    return backend.events != nullptr && SDL_WasInit(SDL_INIT_VIDEO) != 0 ? &backend : nullptr;
}

template <typename Rest>
void MeasureClick(benchmark::State& state, Rest rest) {
    platform::Backend* backend = SdlBackend();
    if (backend == nullptr) {
        state.SkipWithError("no display");
        return;
    }
    for (auto _ : state) {
        std::atomic<int64_t> pushedAt{0};
        std::thread pusher([&pushedAt] {
            std::this_thread::sleep_for(std::chrono::milliseconds(5));
            SDL_Event press{};
            press.type = SDL_MOUSEBUTTONDOWN;
            press.button.button = SDL_BUTTON_LEFT;
            press.button.state = SDL_PRESSED;
            pushedAt = Clock::now().time_since_epoch().count();
            SDL_PushEvent(&press);
        });
        platform::InputEvent event;
        for (;;) {
            if (backend->events->Poll(event)) {
                if (event.kind == platform::InputEvent::Kind::MouseDown) break;
                continue;
            }
            rest(*backend);
        }
        const int64_t arrived = Clock::now().time_since_epoch().count();
        pusher.join();
        state.SetIterationTime(std::chrono::duration<double>(Clock::duration(arrived - pushedAt)).count());
    }
}

void BM_ClickWhileWaitingForInput(benchmark::State& state) {
    MeasureClick(state, [](platform::Backend& backend) {
        if (!backend.events->WaitForInput(50)) backend.clock->SleepMs(1);
    });
}
BENCHMARK(BM_ClickWhileWaitingForInput)->UseManualTime()->Iterations(40)->Unit(benchmark::kMicrosecond);

void BM_ClickWhileSleepingAMillisecond(benchmark::State& state) {
    MeasureClick(state, [](platform::Backend& backend) { backend.clock->SleepMs(1); });
}
BENCHMARK(BM_ClickWhileSleepingAMillisecond)->UseManualTime()->Iterations(40)->Unit(benchmark::kMicrosecond);

}  // namespace
