#pragma once
// COM initialisation of a thread. Nothing here needs COM itself; the calls keep the count that
// pairs each CoInitialize with its CoUninitialize, as the program's start-up and shutdown do.

#include "platform/winbase/win_types.h"

// S_OK for the thread's first initialisation, S_FALSE when it was already initialised (the call
// still counts and needs its own CoUninitialize). `reserved` must be null (E_INVALIDARG).
HRESULT CoInitialize(LPVOID reserved);
// Undoes one CoInitialize of this thread; nothing when there is none left.
void CoUninitialize();
// How many CoInitialize calls of this thread are not yet undone.
int Win32ComInitializationCount();
