#pragma once
// The one Direct3D application of the process: the Direct3D object and the device, device
// creation with its capability checks, presenting, and the device-loss recovery that backs up
// and restores textures and planes.

#include "platform/d3d9/d3d9.h"
#include "platform/d3dx/com_ptr.h"

// The initial presentation parameters: 800 x 0 (the start-up dialog sets the size), format
// unknown, one back buffer, no multisampling, DISCARD, no window yet, windowed, an automatic
// D16 depth-stencil buffer, a lockable back buffer and a discarded depth buffer, rate 0,
// interval DEFAULT.
constexpr D3DPRESENT_PARAMETERS InitialDisplaySettings() {
    D3DPRESENT_PARAMETERS parameters{};
    parameters.BackBufferWidth = 800;
    parameters.BackBufferHeight = 0;
    parameters.BackBufferFormat = D3DFMT_UNKNOWN;
    parameters.BackBufferCount = 1;
    parameters.MultiSampleType = D3DMULTISAMPLE_NONE;
    parameters.MultiSampleQuality = 0;
    parameters.SwapEffect = D3DSWAPEFFECT_DISCARD;
    parameters.hDeviceWindow = nullptr;
    parameters.Windowed = TRUE;
    parameters.EnableAutoDepthStencil = TRUE;
    parameters.AutoDepthStencilFormat = D3DFMT_D16;
    parameters.Flags = D3DPRESENTFLAG_LOCKABLE_BACKBUFFER | D3DPRESENTFLAG_DISCARD_DEPTHSTENCIL;
    parameters.FullScreen_RefreshRateInHz = 0;
    parameters.PresentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
    return parameters;
}

// The one presentation-parameter block of the program: the start-up settings dialog fills it;
// device creation, every reset and the full-screen toggle use it. Starts as
// InitialDisplaySettings().
extern D3DPRESENT_PARAMETERS DisplaySettings;
// Its windowed member.
inline BOOL& WindowedFlag = DisplaySettings.Windowed;

struct D3DApplication {
    // Released in reverse order: the render target, the device, then the Direct3D object.
    d3dx::ComPtr<IDirect3D9> direct3D;
    d3dx::ComPtr<IDirect3DDevice9> device;
    d3dx::ComPtr<IDirect3DSurface9> backupRenderTarget;
    UINT adapter = 0;
    D3DPRESENT_PARAMETERS presentParameters{};
    D3DDEVTYPE deviceType{};
    // Bit 0: full-screen X8R8G8B8 rendering possible; bit 1: windowed rendering in the
    // desktop format possible.
    DWORD modeFlags = 0;
    D3DCAPS9 caps{};
    D3DADAPTER_IDENTIFIER9 identifier{};
    float cameraEye[3]{};
    float cameraAt[3]{};
    float cameraUp[3]{};
    D3DMATRIX world{};
    D3DMATRIX view{};
    D3DMATRIX projection{};
    // Set while a reset has not yet restored every default-pool resource and the depth buffer;
    // the frame step calls Reset again while it is set, even when the device reports no loss.
    bool resetPending = false;

    D3DApplication() = default;
    ~D3DApplication() = default;
    D3DApplication(const D3DApplication&) = delete;
    D3DApplication& operator=(const D3DApplication&) = delete;

    HRESULT CheckDevice(UINT adapterOrdinal, D3DDEVTYPE type);
    // `parameters` NULL keeps presentParameters; behaviour 0 means hardware vertex processing.
    HRESULT SetDevice(HWND window, const D3DPRESENT_PARAMETERS* parameters, UINT adapterOrdinal,
                      D3DDEVTYPE type, DWORD behaviour);
    // Device-loss recovery; `parameters` NULL keeps the current ones.
    HRESULT Reset(const D3DPRESENT_PARAMETERS* parameters);
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND overrideWindow,
                    const void* dirtyRegion);
    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix);
    // The kept world, view or projection matrix; 0 (other states leave `matrix` untouched).
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix);

    // The "Changed ... mode" line with the back-buffer and depth-buffer lines.
    void WriteModeLines();

private:
    HRESULT ReplaceDepthBuffer();
    HRESULT RestoreResources();
};

// NULL until CreateD3DApplication succeeds and again after DestroyD3DApplication.
extern D3DApplication* D3DApp;

// Replaces any previous instance; 1 on success, 0 (and D3DApp NULL) when the Direct3D object
// cannot be made.
int CreateD3DApplication();
// Deletes the instance and clears D3DApp; call after every font is released.
void DestroyD3DApplication();

// The frame step's forwarder: E_FAIL without an instance or device.
HRESULT D3D_Present(const RECT* sourceRect, const RECT* destRect, HWND overrideWindow,
                    const void* dirtyRegion);
