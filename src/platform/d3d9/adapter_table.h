#pragma once
// The adapter's answers (caps, modes, formats): a test's table when one is set, else the fixed
// table with the display modes from SDL when its video is up.

#include "platform/d3d9/d3d9_test.h"

namespace d3d9_internal {

d3d9_test::AdapterTable CurrentAdapterTable();

bool IsDisplayFormat(D3DFORMAT format);
bool ContainsFormat(const std::vector<D3DFORMAT>& formats, D3DFORMAT format);

// D3D_OK when the device type is one we run (HAL and REF are both this software device).
HRESULT CheckAdapter(UINT adapter, D3DDEVTYPE deviceType);

}  // namespace d3d9_internal
