// The cross-fade: FADE, holding the old scene, fades out over the new one while the script
// waits.

#include <cmath>
#include <cstdint>
#include <limits>

#include "adventure/adventure_frame.h"
#include "adventure/adventure_state.h"
#include "adventure/scene.h"
#include "adventure/scene_effects.h"

namespace {

// Whole milliseconds of `seconds`, truncated; 0 for a negative or non-finite time.
std::uint32_t WholeMilliseconds(double seconds) {
    const double ms = std::trunc(seconds * 1000.0);
    if (!(ms > 0.0)) {
        return 0;
    }
    return ms >= static_cast<double>(std::numeric_limits<std::uint32_t>::max())
               ? std::numeric_limits<std::uint32_t>::max()
               : static_cast<std::uint32_t>(ms);
}

}  // namespace

void StartSceneFade(std::uint32_t milliseconds) {
    if (SkipActive != 0 || FadePlane == nullptr) {
        return;
    }
    // A fade started over a running one replaces it and holds the script only once.
    const bool running = FadePlane->updateCallback == SceneFadeUpdate;
    FadePlane->SetColor(0xFFFFFFFFu);
    FadePlane->SetUpdateCallback(
        SceneFadeUpdate, reinterpret_cast<void*>(static_cast<std::uintptr_t>(milliseconds)));
    FadePlane->gameData = milliseconds;
    if (!running) {
        ++BlockingCount;
    }
}

int SceneFadeUpdate(D3DPlane* plane, double elapsed, void* duration) {
    const auto total = static_cast<std::uint32_t>(reinterpret_cast<std::uintptr_t>(duration));
    const std::uint32_t step = WholeMilliseconds(elapsed);
    if (SkipActive == 0 && total != 0 && step < plane->gameData) {
        plane->gameData -= step;
        plane->SetAlpha(static_cast<BYTE>(std::uint64_t{plane->gameData} * 255u / total));
    } else {
        EndSceneFade(plane);
    }
    return 1;
}

void EndSceneFade(D3DPlane* plane) {
    plane->SetUpdateCallback(nullptr, nullptr);
    if (BlockingCount > 0) {
        --BlockingCount;
    }
    plane->gameData = 0;
}
