#include "media/graphics/device_log.h"

#include "foundation/log.h"
#include "platform/d3dx/error_names.h"

HRESULT LogDeviceError(const char* logName, HRESULT result) {
    LogPrintf("%s: %s", logName, DXGetErrorString9(result));
    return result;
}
