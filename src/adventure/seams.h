#pragma once
// Entry points of the adventure game whose full behaviour arrives with later work on the train
// map. Each already has the name and signature its callers use, and the
// behaviour described beside it.

#include "platform/winbase/win_types.h"

void CloseTrainMap();
LRESULT TrainMapOnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
void TrainMapDraw(float seconds);
