#pragma once
// Test-only resets of the process-wide caches of the foundation library, so that each test can
// start from a fresh program directory. The program itself never calls these.

namespace foundation_test {

// All of the below, and the application settings back to their defaults.
void ResetState();

// Forgets the program directory and the alternate directory.
void ResetPathState();
// Releases the pack manager's set and forgets its base directory.
void ResetPackState();
// Forgets the log's path, turns the log on and makes the next line the first of the run.
void ResetLogState();
// Leaves the random generator unseeded, as a new process finds it: the first draw seeds it from
// the clock.
void ResetRandomState();

}  // namespace foundation_test
