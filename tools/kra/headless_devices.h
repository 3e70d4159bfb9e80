#pragma once
// The devices the sprite loader needs, for programs without a game window (the container tool,
// fuzz targets, benchmarks): a windowed Direct3D device drawing into its back buffer only, and a
// null sound device that never plays aloud. Both log their start-up lines as usual.

namespace qvn_kra {

// False when either device cannot be made (whatever was made is then stopped again).
bool StartHeadlessDevices(unsigned width, unsigned height);
void StopHeadlessDevices();

}  // namespace qvn_kra
