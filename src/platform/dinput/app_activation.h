#pragma once
// Internal to dinput: how often the application has lost the activation, so that a device
// acquired before the last loss knows its acquisition is gone.

#include <cstdint>

std::uint64_t DInputDeactivationCount();
