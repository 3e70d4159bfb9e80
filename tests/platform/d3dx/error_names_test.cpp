#include <gtest/gtest.h>

#include <string>

#include "platform/d3d9/d3d9_types.h"
#include "platform/d3dx/d3dx_errors.h"
#include "platform/d3dx/error_names.h"

namespace {

TEST(ErrorNames, CodesOfTheLayerHaveTheirSymbolicNames) {
    struct Case {
        HRESULT code;
        const char* name;
    };
    const Case cases[] = {
        {S_OK, "S_OK"},
        {S_FALSE, "S_FALSE"},
        {E_FAIL, "E_FAIL"},
        {E_OUTOFMEMORY, "E_OUTOFMEMORY"},
        {E_INVALIDARG, "E_INVALIDARG"},
        {E_NOTIMPL, "E_NOTIMPL"},
        {E_ACCESSDENIED, "E_ACCESSDENIED"},
        {D3DERR_DEVICELOST, "D3DERR_DEVICELOST"},
        {D3DERR_DEVICENOTRESET, "D3DERR_DEVICENOTRESET"},
        {D3DERR_DRIVERINTERNALERROR, "D3DERR_DRIVERINTERNALERROR"},
        {D3DERR_INVALIDCALL, "D3DERR_INVALIDCALL"},
        {D3DERR_MOREDATA, "D3DERR_MOREDATA"},
        {D3DERR_NOTAVAILABLE, "D3DERR_NOTAVAILABLE"},
        {D3DERR_OUTOFVIDEOMEMORY, "D3DERR_OUTOFVIDEOMEMORY"},
        {D3DXERR_INVALIDDATA, "D3DXERR_INVALIDDATA"},
        {static_cast<HRESULT>(0x8007001Eu), "DIERR_INPUTLOST"},
        {static_cast<HRESULT>(0x8007000Cu), "DIERR_NOTACQUIRED"},
        {static_cast<HRESULT>(0x80040209u), "DIERR_UNPLUGGED"},
        {static_cast<HRESULT>(0x88780096u), "DSERR_BUFFERLOST"},
        {static_cast<HRESULT>(0x8878000Au), "DSERR_ALLOCATED"},
        {static_cast<HRESULT>(0x88780032u), "DSERR_INVALIDCALL"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(std::string(DXGetErrorString9(c.code)), c.name) << std::hex << c.code;
    }
}

TEST(ErrorNames, UnknownCodesSayUnknown) {
    for (std::uint32_t code : {0x00000005u, 0x80004006u, 0x88760000u, 0xFFFFFFFFu}) {
        EXPECT_EQ(std::string(DXGetErrorString9(static_cast<HRESULT>(code))), "Unknown")
            << std::hex << code;
    }
}

}  // namespace
