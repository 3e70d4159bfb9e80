#include "adventure/mascot.h"

#include "adventure/adventure_frame.h"

// The mascot calls stand in until the mascot exists: there is no sprite to make, show or
// animate.
void CreateMascot(int, int) {}
void SetMascotVisible(bool) {}
void MascotAwake() {}
void MascotGoodnight() {}
void HideMascot() {}
void ReleaseMascot() {}

void PageEnd() {
    PendingDelayMs = 0;
    PageWait = 1;
    if (SkipActive == 0 && AutoMode == 0) {
        MascotAwake();
    } else {
        MascotGoodnight();
    }
    SetMascotVisible(true);
}
