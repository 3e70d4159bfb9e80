#pragma once
// Internal to src/platform: sound that another platform part plays of its own accord (a movie's
// sound track) goes through the program's own sound device, so that its mixer, master volume and
// output device apply. Nothing outside src/platform includes this header.

#include "platform/dsound/dsound.h"

// A buffer made as IDirectSound8::CreateSoundBuffer makes one, on the newest sound device not
// released whose cooperative level was set for `window`. DSERR_NODRIVER when there is none.
HRESULT DSoundCreateBufferForWindow(HWND window, LPCDSBUFFERDESC description,
                                    LPDIRECTSOUNDBUFFER* buffer);
