#pragma once
// What every benchmark of the adventure_bench program sets up for itself, so that it measures
// the same work whatever ran before it: the program directory holding the built demo's pictures,
// sprites and voices, the foundation's caches and settings as a new process has them, the log
// off and the adventure's state from scratch. When the benchmark ends, all it made goes again:
// the scene, the backlog, the voice, the cursor, the sound device and the graphics device.

class AdventureBenchStage {
public:
    AdventureBenchStage();
    ~AdventureBenchStage();
    AdventureBenchStage(const AdventureBenchStage&) = delete;
    AdventureBenchStage& operator=(const AdventureBenchStage&) = delete;
};
