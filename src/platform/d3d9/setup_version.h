#pragma once
// The version query of the DirectX setup library, answered for our Direct3D 9 layer.

#include "platform/winbase/win_types.h"

// The generation our layer implements: 4.9, Direct3D 9.
constexpr DWORD kDirectXSetupVersion = (4u << 16) | 9u;
// Our layer's own release, as the adapter's driver version gives it: sub-version 0, build 1.
constexpr DWORD kDirectXSetupRevision = (0u << 16) | 1u;

// Fills the version and the revision word (either may be null); non-zero on success, 0 (and
// both words untouched) when the query fails.
INT DirectXSetupGetVersion(DWORD* version, DWORD* revision);
