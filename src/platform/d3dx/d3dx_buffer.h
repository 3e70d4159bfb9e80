#pragma once
// A reference-counted block of bytes handed out by the library (saved image files).

#include "platform/winbase/win_types.h"

struct ID3DXBuffer : public IUnknown {
    virtual LPVOID GetBufferPointer() = 0;
    virtual DWORD GetBufferSize() = 0;
};

// A zeroed buffer of `size` bytes with one reference; E_OUTOFMEMORY when it cannot be had.
HRESULT D3DXCreateBuffer(DWORD size, ID3DXBuffer** buffer);
