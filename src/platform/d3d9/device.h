#pragma once
// The device: states, resources, drawing through the software rasteriser, loss and reset, and
// presentation.

#include <array>
#include <atomic>
#include <cstdint>
#include <map>
#include <memory>
#include <unordered_set>
#include <vector>

#include "platform/d3d9/d3d9.h"
#include "platform/d3d9/d3d9_test.h"
#include "platform/d3d9/raster_state.h"

namespace d3d9_internal {

class IndexBuffer;
class ResourceCore;
class Surface;
class Texture;
class VertexBuffer;
class SdlPresenter;
struct ForeignPicture;
struct PresentedImage;
struct VertexStageState;

struct SurfaceRelease {
    void operator()(IDirect3DSurface9* surface) const { surface->Release(); }
};
using SurfaceReference = std::unique_ptr<IDirect3DSurface9, SurfaceRelease>;

constexpr int kStages = 8;
constexpr int kRenderStates = 256;
constexpr int kStageStates = 33;
constexpr int kSamplerStates = 14;

class Device final : public IDirect3DDevice9 {
public:
    Device(IDirect3D9* direct3D, D3DDEVTYPE deviceType, HWND focusWindow, DWORD behaviorFlags);
    // Validates and resolves the parameters, writes them back, makes the swap chain.
    HRESULT Initialize(D3DPRESENT_PARAMETERS* parameters);

    HRESULT QueryInterface(REFIID riid, void** object) override;
    ULONG AddRef() override { return ++refs_; }
    ULONG Release() override;

    HRESULT TestCooperativeLevel() override;
    UINT GetAvailableTextureMem() override;
    HRESULT GetDirect3D(IDirect3D9** direct3D) override;
    HRESULT GetDeviceCaps(D3DCAPS9* caps) override;
    HRESULT GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) override;
    HRESULT GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) override;
    HRESULT SetCursorProperties(UINT hotSpotX, UINT hotSpotY, IDirect3DSurface9* image) override;
    void SetCursorPosition(int x, int y, DWORD flags) override;
    BOOL ShowCursor(BOOL show) override;
    HRESULT Reset(D3DPRESENT_PARAMETERS* parameters) override;
    HRESULT Present(const RECT* sourceRect, const RECT* destRect, HWND destWindowOverride,
                    const void* dirtyRegion) override;
    HRESULT GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE type,
                          IDirect3DSurface9** surface) override;
    HRESULT SetDialogBoxMode(BOOL enable) override;

    HRESULT CreateTexture(UINT width, UINT height, UINT levels, DWORD usage, D3DFORMAT format,
                          D3DPOOL pool, IDirect3DTexture9** texture, HANDLE* shared) override;
    HRESULT CreateVertexBuffer(UINT length, DWORD usage, DWORD fvf, D3DPOOL pool,
                               IDirect3DVertexBuffer9** buffer, HANDLE* shared) override;
    HRESULT CreateIndexBuffer(UINT length, DWORD usage, D3DFORMAT format, D3DPOOL pool,
                              IDirect3DIndexBuffer9** buffer, HANDLE* shared) override;
    HRESULT CreateRenderTarget(UINT width, UINT height, D3DFORMAT format,
                               D3DMULTISAMPLE_TYPE multiSample, DWORD multiSampleQuality,
                               BOOL lockable, IDirect3DSurface9** surface, HANDLE* shared) override;
    HRESULT CreateDepthStencilSurface(UINT width, UINT height, D3DFORMAT format,
                                      D3DMULTISAMPLE_TYPE multiSample, DWORD multiSampleQuality,
                                      BOOL discard, IDirect3DSurface9** surface,
                                      HANDLE* shared) override;
    HRESULT CreateOffscreenPlainSurface(UINT width, UINT height, D3DFORMAT format, D3DPOOL pool,
                                        IDirect3DSurface9** surface, HANDLE* shared) override;

    HRESULT UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect,
                          IDirect3DSurface9* dest, const POINT* destPoint) override;
    HRESULT GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* dest) override;
    HRESULT StretchRect(IDirect3DSurface9* source, const RECT* sourceRect, IDirect3DSurface9* dest,
                        const RECT* destRect, D3DTEXTUREFILTERTYPE filter) override;
    HRESULT ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) override;

    HRESULT SetRenderTarget(DWORD index, IDirect3DSurface9* surface) override;
    HRESULT GetRenderTarget(DWORD index, IDirect3DSurface9** surface) override;
    HRESULT SetDepthStencilSurface(IDirect3DSurface9* surface) override;
    HRESULT GetDepthStencilSurface(IDirect3DSurface9** surface) override;

    HRESULT BeginScene() override;
    HRESULT EndScene() override;
    HRESULT Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                  DWORD stencil) override;

    HRESULT SetTransform(D3DTRANSFORMSTATETYPE state, const D3DMATRIX* matrix) override;
    HRESULT GetTransform(D3DTRANSFORMSTATETYPE state, D3DMATRIX* matrix) override;
    HRESULT SetViewport(const D3DVIEWPORT9* viewport) override;
    HRESULT GetViewport(D3DVIEWPORT9* viewport) override;

    HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) override;
    HRESULT GetRenderState(D3DRENDERSTATETYPE state, DWORD* value) override;
    HRESULT SetTexture(DWORD stage, IDirect3DBaseTexture9* texture) override;
    HRESULT GetTexture(DWORD stage, IDirect3DBaseTexture9** texture) override;
    HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD value) override;
    HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE type, DWORD* value) override;
    HRESULT SetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD value) override;
    HRESULT GetSamplerState(DWORD sampler, D3DSAMPLERSTATETYPE type, DWORD* value) override;
    HRESULT SetScissorRect(const RECT* rect) override;
    HRESULT GetScissorRect(RECT* rect) override;

    HRESULT SetMaterial(const D3DMATERIAL9* material) override;
    HRESULT GetMaterial(D3DMATERIAL9* material) override;
    HRESULT SetLight(DWORD index, const D3DLIGHT9* light) override;
    HRESULT GetLight(DWORD index, D3DLIGHT9* light) override;
    HRESULT LightEnable(DWORD index, BOOL enable) override;
    HRESULT GetLightEnable(DWORD index, BOOL* enable) override;

    HRESULT SetFVF(DWORD fvf) override;
    HRESULT GetFVF(DWORD* fvf) override;
    HRESULT SetStreamSource(UINT stream, IDirect3DVertexBuffer9* buffer, UINT offset,
                            UINT stride) override;
    HRESULT SetIndices(IDirect3DIndexBuffer9* buffer) override;
    HRESULT GetIndices(IDirect3DIndexBuffer9** buffer) override;

    HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, UINT startVertex, UINT primitiveCount) override;
    HRESULT DrawPrimitiveUP(D3DPRIMITIVETYPE type, UINT primitiveCount, const void* vertexData,
                            UINT stride) override;
    HRESULT DrawIndexedPrimitive(D3DPRIMITIVETYPE type, INT baseVertexIndex, UINT minVertexIndex,
                                 UINT numVertices, UINT startIndex, UINT primitiveCount) override;
    HRESULT DrawIndexedPrimitiveUP(D3DPRIMITIVETYPE type, UINT minVertexIndex, UINT numVertices,
                                   UINT primitiveCount, const void* indexData,
                                   D3DFORMAT indexFormat, const void* vertexData,
                                   UINT stride) override;

    // A picture from outside the device shown in `window` as Present shows a frame
    // (foreign_picture.h); D3DERR_DEVICELOST while the device is lost.
    HRESULT PresentPicture(HWND window, const ForeignPicture& picture);
    SIZE backBufferSize() const;

    bool PresentsInto(HWND window) const {
        return window != nullptr &&
               (parameters_.hDeviceWindow != nullptr ? parameters_.hDeviceWindow : focusWindow_) ==
                   window;
    }

    // Bookkeeping of the resources made on this device.
    void RegisterResource(ResourceCore* resource);
    void UnregisterResource(ResourceCore* resource);

    // Test controls (d3d9_test.h).
    enum class Cooperation { kOk, kLost, kNotReset };
    void SetCooperation(Cooperation state) { cooperation_ = state; }
    void FailNextPresent(HRESULT result) { nextPresentFailure_ = result; }
    int presentCount() const { return presentCount_; }
    bool dialogBoxMode() const { return dialogBoxMode_; }
    d3d9_test::CursorState cursorState() const;
    const d3d9_test::PresentedPicture& keptPicture() const { return keptPicture_; }

private:
    ~Device() override;

    // The window the cursor shows over: the device window, else the focus window.
    HWND CursorWindow() const;

    HRESULT ValidateParameters(D3DPRESENT_PARAMETERS* parameters) const;
    HRESULT CreateSwapChain();
    void ReleaseSwapChain();
    void ResetStates();
    void UnbindAll();
    void BindRenderTarget(Surface* surface);
    void BindDepth(Surface* surface);
    void ResetViewportToTarget();
    bool BuildPipeline(PipelineState* state);
    void FillVertexStage(VertexStageState* stage);
    // Reads `count` indices from `data`, adds `base` and keeps them relative to `minVertex` in
    // scratchIndices_; false when one names no vertex of [minVertex, minVertex + numVertices).
    bool RebaseIndices(const std::uint8_t* data, bool wide, std::uint64_t count, std::int64_t base,
                       std::int64_t minVertex, UINT numVertices);
    // `indices` null draws the vertices in order; else scratchIndices_ holds them.
    HRESULT DrawVertices(D3DPRIMITIVETYPE type, UINT primitiveCount, const std::uint8_t* vertices,
                         UINT vertexCount, UINT stride, bool indexed);
    bool ClipToTarget(RECT* rect) const;
    // Keeps what was shown for d3d9_test::LastPresentedPicture: `strip` (may be null) above the
    // frame, which is `frame` (A8R8G8B8, the back buffer's size) or, for null, the back buffer.
    void KeepPicture(Surface* strip, const std::uint32_t* frame);
    // The presenter of `window`, made again when the window changed or went; null when it has no
    // SDL window.
    SdlPresenter* PresenterFor(HWND window);
    bool PresentsWithVsync() const {
        return parameters_.PresentationInterval != D3DPRESENT_INTERVAL_IMMEDIATE;
    }
    // The overlay drawn over nothing: into `layer` (straight alpha, the back buffer's size; left
    // empty when the overlay draws nothing over the frame), with its strip into `strip`.
    void DrawOverlayLayer(HWND window, std::vector<std::uint32_t>* layer, SurfaceReference* strip);
    // The overlay drawn over a target of the back buffer's size cleared to `background`, read
    // back into `pixels`; false when no target could be made.
    bool DrawOverlayOn(HWND window, D3DCOLOR background, SurfaceReference* strip,
                       std::vector<std::uint32_t>* pixels);

    std::atomic<ULONG> refs_{1};
    IDirect3D9* direct3D_;
    D3DDEVTYPE deviceType_;
    HWND focusWindow_;
    DWORD behaviorFlags_;
    D3DPRESENT_PARAMETERS parameters_{};
    Cooperation cooperation_ = Cooperation::kOk;
    HRESULT nextPresentFailure_ = D3D_OK;
    int presentCount_ = 0;
    bool dialogBoxMode_ = false;
    bool inScene_ = false;

    Surface* backBuffer_ = nullptr;
    Surface* autoDepth_ = nullptr;
    Surface* renderTarget_ = nullptr;
    Surface* depth_ = nullptr;
    std::array<Texture*, kStages> textures_{};
    VertexBuffer* stream_ = nullptr;
    UINT streamOffset_ = 0;
    UINT streamStride_ = 0;
    IndexBuffer* indices_ = nullptr;
    DWORD fvf_ = 0;

    struct LightSlot {
        D3DLIGHT9 light;
        bool enabled;
    };
    D3DMATERIAL9 material_{};
    std::map<DWORD, LightSlot> lights_;

    std::array<DWORD, kRenderStates> renderStates_{};
    std::array<std::array<DWORD, kStageStates>, kStages> stageStates_{};
    std::array<std::array<DWORD, kSamplerStates>, kStages> samplerStates_{};
    std::map<DWORD, D3DMATRIX> transforms_;
    D3DVIEWPORT9 viewport_{};
    RECT scissor_{};

    std::vector<std::uint32_t> cursorImage_;
    UINT cursorHotX_ = 0;
    UINT cursorHotY_ = 0;
    int cursorX_ = 0;
    int cursorY_ = 0;
    bool cursorShown_ = false;

    std::unordered_set<ResourceCore*> resources_;
    std::unique_ptr<SdlPresenter> presenter_;
    d3d9_test::PresentedPicture keptPicture_;
    std::vector<RasterVertex> scratchVertices_;
    std::vector<std::uint32_t> scratchIndices_;
};

// d3d9_test::KeepPresentedPictures.
bool KeepingPresentedPictures();

// The pixels of `surface` as the presenter takes them (sdl_presenter.h).
PresentedImage ImageOf(Surface* surface);

inline Device* AsDevice(IDirect3DDevice9* device) {
    return static_cast<Device*>(device);
}

}  // namespace d3d9_internal
