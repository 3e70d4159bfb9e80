#pragma once
// The seconds clock of frame timing.

// Seconds since an arbitrary origin: the performance counter over its frequency, or the
// millisecond timer when there is no performance counter.
double GetSeconds();
