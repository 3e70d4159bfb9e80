#include "platform/d3d9/device.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <mutex>
#include <set>
#include <utility>

#include "platform/d3d9/present_overlay.h"

#include "platform/d3d9/adapter_table.h"
#include "platform/d3d9/index_buffer.h"
#include "platform/d3d9/pixel_format.h"
#include "platform/d3d9/sdl_presenter.h"
#include "platform/d3d9/surface.h"
#include "platform/d3d9/texture.h"
#include "platform/d3d9/vertex_buffer.h"
#include "platform/win32/colour_cursor.h"

namespace d3d9_internal {
namespace {

std::atomic<PresentOverlay> presentOverlay{nullptr};
std::atomic<DeviceEndObserver> deviceEndObserver{nullptr};

struct LiveDevices {
    std::mutex mutex;
    std::set<Device*> devices;
};
LiveDevices& Live() {
    static LiveDevices* const live = new LiveDevices;
    return *live;
}

constexpr UINT kMaxBackBufferSize = 16384;

D3DFORMAT DisplayFormatOf(D3DFORMAT backBuffer) {
    return backBuffer == D3DFMT_A8R8G8B8 ? D3DFMT_X8R8G8B8 : backBuffer;
}

// Puts `surface` in a binding slot; the new one is bound before the old one lets go, so that
// rebinding the same surface never frees it in between.
void BindSlot(Surface*& slot, Surface* surface) {
    if (surface != nullptr) {
        surface->owner()->Bind();
    }
    Surface* old = std::exchange(slot, surface);
    if (old != nullptr) {
        old->owner()->Unbind();
    }
}

}  // namespace

Device::Device(IDirect3D9* direct3D, D3DDEVTYPE deviceType, HWND focusWindow, DWORD behaviorFlags)
    : direct3D_(direct3D),
      deviceType_(deviceType),
      focusWindow_(focusWindow),
      behaviorFlags_(behaviorFlags) {
    direct3D_->AddRef();
    std::lock_guard<std::mutex> lock(Live().mutex);
    Live().devices.insert(this);
}

void SetPresentOverlay(PresentOverlay overlay) {
    presentOverlay = overlay;
}

PresentOverlay CurrentPresentOverlay() {
    return presentOverlay.load();
}

void SetDeviceEndObserver(DeviceEndObserver observer) {
    deviceEndObserver = observer;
}

void Device::KeepPicture(Surface* strip, const std::uint32_t* frame) {
    const int width = static_cast<int>(backBuffer_->width());
    const int stripRows = strip != nullptr ? static_cast<int>(strip->height()) : 0;
    const int rows = stripRows + static_cast<int>(backBuffer_->height());
    keptPicture_.width = width;
    keptPicture_.height = rows;
    keptPicture_.argb.assign(static_cast<std::size_t>(width) * static_cast<std::size_t>(rows), 0);
    for (int y = 0; y < rows; ++y) {
        std::uint32_t* out = keptPicture_.argb.data() + static_cast<std::size_t>(y) * width;
        if (y >= stripRows && frame != nullptr) {
            std::memcpy(out, frame + static_cast<std::size_t>(y - stripRows) * width,
                        static_cast<std::size_t>(width) * 4);
            continue;
        }
        Surface* source = y < stripRows ? strip : backBuffer_;
        const int row = y < stripRows ? y : y - stripRows;
        RowToArgb(source->format(),
                  source->bytes() + static_cast<std::ptrdiff_t>(row) * source->pitch(), out, width);
    }
}

PresentedImage ImageOf(Surface* surface) {
    return PresentedImage{surface->bytes(), surface->pitch(), static_cast<int>(surface->width()),
                          static_cast<int>(surface->height()), surface->format()};
}

SdlPresenter* Device::PresenterFor(HWND window) {
    if (presenter_ != nullptr && (!presenter_->SameWindow(window) || !presenter_->WindowAlive())) {
        presenter_.reset();
    }
    if (presenter_ == nullptr) {
        presenter_ = SdlPresenter::ForWindow(window);
    }
    return presenter_.get();
}

IDirect3DDevice9* FindDeviceOfWindow(HWND window) {
    std::lock_guard<std::mutex> lock(Live().mutex);
    for (Device* device : Live().devices) {
        if (device->PresentsInto(window)) {
            return device;
        }
    }
    return nullptr;
}

Device::~Device() {
    if (DeviceEndObserver observer = deviceEndObserver.load()) {
        observer(this);
    }
    {
        std::lock_guard<std::mutex> lock(Live().mutex);
        Live().devices.erase(this);
    }
    win32_internal::DropColourCursor(CursorWindow());
    UnbindAll();
    ReleaseSwapChain();
    for (ResourceCore* resource : resources_) {
        resource->Orphan();
    }
    resources_.clear();
    direct3D_->Release();
}

HRESULT Device::QueryInterface(REFIID, void** object) {
    if (object != nullptr) {
        *object = nullptr;
    }
    return E_NOINTERFACE;
}

ULONG Device::Release() {
    const ULONG left = --refs_;
    if (left == 0) {
        delete this;
    }
    return left;
}

void Device::RegisterResource(ResourceCore* resource) {
    resources_.insert(resource);
}

void Device::UnregisterResource(ResourceCore* resource) {
    resources_.erase(resource);
}

HRESULT Device::ValidateParameters(D3DPRESENT_PARAMETERS* pp) const {
    if (pp->BackBufferCount == 0) {
        pp->BackBufferCount = 1;
    }
    if (pp->BackBufferCount > 3 || pp->MultiSampleType != D3DMULTISAMPLE_NONE ||
        pp->SwapEffect < D3DSWAPEFFECT_DISCARD || pp->SwapEffect > D3DSWAPEFFECT_COPY) {
        return D3DERR_INVALIDCALL;
    }
    const HWND window = pp->hDeviceWindow != nullptr ? pp->hDeviceWindow : focusWindow_;
    if (window == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const d3d9_test::AdapterTable table = CurrentAdapterTable();
    if (pp->Windowed) {
        if (pp->BackBufferFormat == D3DFMT_UNKNOWN) {
            pp->BackBufferFormat = table.desktop.Format;
        }
        if (pp->BackBufferWidth == 0 || pp->BackBufferHeight == 0) {
            UINT w = 0;
            UINT h = 0;
            std::unique_ptr<SdlPresenter> probe = SdlPresenter::ForWindow(window);
            if (probe == nullptr || !probe->ClientSize(&w, &h)) {
                return D3DERR_INVALIDCALL;
            }
            pp->BackBufferWidth = pp->BackBufferWidth == 0 ? w : pp->BackBufferWidth;
            pp->BackBufferHeight = pp->BackBufferHeight == 0 ? h : pp->BackBufferHeight;
        }
        const bool formatOk =
            pp->BackBufferFormat == table.desktop.Format ||
            (table.desktop.Format == D3DFMT_X8R8G8B8 && pp->BackBufferFormat == D3DFMT_A8R8G8B8);
        if (!formatOk) {
            return D3DERR_INVALIDCALL;
        }
    } else {
        const D3DFORMAT display = DisplayFormatOf(pp->BackBufferFormat);
        const bool modeOk =
            IsDisplayFormat(display) &&
            std::any_of(table.modes.begin(), table.modes.end(), [&](const D3DDISPLAYMODE& m) {
                return m.Format == display && m.Width == pp->BackBufferWidth &&
                       m.Height == pp->BackBufferHeight &&
                       (pp->FullScreen_RefreshRateInHz == 0 ||
                        m.RefreshRate == pp->FullScreen_RefreshRateInHz);
            });
        if (!modeOk) {
            return D3DERR_INVALIDCALL;
        }
    }
    if (pp->BackBufferWidth == 0 || pp->BackBufferHeight == 0 ||
        pp->BackBufferWidth > kMaxBackBufferSize || pp->BackBufferHeight > kMaxBackBufferSize) {
        return D3DERR_INVALIDCALL;
    }
    if (pp->EnableAutoDepthStencil &&
        !ContainsFormat(table.depthFormats, pp->AutoDepthStencilFormat)) {
        return D3DERR_INVALIDCALL;
    }
    return D3D_OK;
}

HRESULT Device::Initialize(D3DPRESENT_PARAMETERS* parameters) {
    D3DPRESENT_PARAMETERS resolved = *parameters;
    if (const HRESULT hr = ValidateParameters(&resolved); FAILED(hr)) {
        return hr;
    }
    parameters_ = resolved;
    *parameters = resolved;
    if (const HRESULT hr = CreateSwapChain(); FAILED(hr)) {
        return hr;
    }
    ResetStates();
    return D3D_OK;
}

HRESULT Device::CreateSwapChain() {
    const D3DPRESENT_PARAMETERS& pp = parameters_;
    backBuffer_ = TryCreate<Surface>(this, pp.BackBufferWidth, pp.BackBufferHeight,
                                     pp.BackBufferFormat, D3DPOOL_DEFAULT, D3DUSAGE_RENDERTARGET,
                                     (pp.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) != 0, true);
    if (backBuffer_ == nullptr) {
        return D3DERR_OUTOFVIDEOMEMORY;
    }
    if (pp.EnableAutoDepthStencil) {
        autoDepth_ = TryCreate<Surface>(this, pp.BackBufferWidth, pp.BackBufferHeight,
                                        pp.AutoDepthStencilFormat, D3DPOOL_DEFAULT,
                                        D3DUSAGE_DEPTHSTENCIL, false, true);
        if (autoDepth_ == nullptr) {
            ReleaseSwapChain();
            return D3DERR_OUTOFVIDEOMEMORY;
        }
        std::fill_n(autoDepth_->words(),
                    static_cast<std::size_t>(pp.BackBufferWidth) * pp.BackBufferHeight,
                    DepthBits(pp.AutoDepthStencilFormat) == 16 ? 0xFFFFu : 0xFFFFFFu);
    }
    const HWND window = pp.hDeviceWindow != nullptr ? pp.hDeviceWindow : focusWindow_;
    if (presenter_ == nullptr || !presenter_->SameWindow(window)) {
        presenter_ = SdlPresenter::ForWindow(window);
    }
    return D3D_OK;
}

void Device::ReleaseSwapChain() {
    // A leaked reference keeps the surface alive (orphaned) rather than dangling.
    for (Surface** surface : {&backBuffer_, &autoDepth_}) {
        if (*surface != nullptr) {
            UnregisterResource(*surface);
            (*surface)->Orphan();
            (*surface)->DropDeviceOwnership();
            *surface = nullptr;
        }
    }
}

void Device::UnbindAll() {
    for (Texture*& texture : textures_) {
        if (texture != nullptr) {
            Texture* old = texture;
            texture = nullptr;
            old->Unbind();
        }
    }
    if (stream_ != nullptr) {
        VertexBuffer* old = stream_;
        stream_ = nullptr;
        old->Unbind();
    }
    if (indices_ != nullptr) {
        IndexBuffer* old = indices_;
        indices_ = nullptr;
        old->Unbind();
    }
    BindRenderTarget(nullptr);
    BindDepth(nullptr);
}

void Device::BindRenderTarget(Surface* surface) {
    BindSlot(renderTarget_, surface);
}

void Device::BindDepth(Surface* surface) {
    BindSlot(depth_, surface);
}

void Device::ResetViewportToTarget() {
    viewport_ = D3DVIEWPORT9{0,
                             0,
                             renderTarget_ != nullptr ? renderTarget_->width() : 0,
                             renderTarget_ != nullptr ? renderTarget_->height() : 0,
                             0.0f,
                             1.0f};
}

void Device::ResetStates() {
    UnbindAll();
    BindRenderTarget(backBuffer_);
    BindDepth(autoDepth_);
    ResetViewportToTarget();
    scissor_ = RECT{0, 0, static_cast<LONG>(backBuffer_->width()),
                    static_cast<LONG>(backBuffer_->height())};
    fvf_ = 0;
    streamOffset_ = 0;
    streamStride_ = 0;

    auto floatBits = [](float f) {
        DWORD bits;
        std::memcpy(&bits, &f, 4);
        return bits;
    };
    renderStates_.fill(0);
    renderStates_[D3DRS_ZENABLE] = autoDepth_ != nullptr ? D3DZB_TRUE : D3DZB_FALSE;
    renderStates_[D3DRS_FILLMODE] = D3DFILL_SOLID;
    renderStates_[D3DRS_SHADEMODE] = D3DSHADE_GOURAUD;
    renderStates_[D3DRS_ZWRITEENABLE] = TRUE;
    renderStates_[D3DRS_LASTPIXEL] = TRUE;
    renderStates_[D3DRS_SRCBLEND] = D3DBLEND_ONE;
    renderStates_[D3DRS_DESTBLEND] = D3DBLEND_ZERO;
    renderStates_[D3DRS_CULLMODE] = D3DCULL_CCW;
    renderStates_[D3DRS_ZFUNC] = D3DCMP_LESSEQUAL;
    renderStates_[D3DRS_ALPHAFUNC] = D3DCMP_ALWAYS;
    renderStates_[D3DRS_FOGEND] = floatBits(1.0f);
    renderStates_[D3DRS_FOGDENSITY] = floatBits(1.0f);
    renderStates_[53] = 1;              // stencil fail: keep
    renderStates_[54] = 1;              // stencil z fail: keep
    renderStates_[55] = 1;              // stencil pass: keep
    renderStates_[56] = D3DCMP_ALWAYS;  // stencil function
    renderStates_[58] = 0xFFFFFFFFu;    // stencil mask
    renderStates_[59] = 0xFFFFFFFFu;    // stencil write mask
    renderStates_[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFFu;
    renderStates_[D3DRS_CLIPPING] = TRUE;
    renderStates_[D3DRS_LIGHTING] = TRUE;
    renderStates_[D3DRS_COLORVERTEX] = TRUE;
    renderStates_[D3DRS_LOCALVIEWER] = TRUE;
    renderStates_[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    renderStates_[D3DRS_SPECULARMATERIALSOURCE] = D3DMCS_COLOR2;
    renderStates_[D3DRS_AMBIENTMATERIALSOURCE] = D3DMCS_MATERIAL;
    renderStates_[D3DRS_EMISSIVEMATERIALSOURCE] = D3DMCS_MATERIAL;
    renderStates_[D3DRS_MULTISAMPLEANTIALIAS] = TRUE;
    renderStates_[D3DRS_COLORWRITEENABLE] = 0xF;
    renderStates_[D3DRS_BLENDOP] = D3DBLENDOP_ADD;
    renderStates_[D3DRS_SRCBLENDALPHA] = D3DBLEND_ONE;
    renderStates_[D3DRS_DESTBLENDALPHA] = D3DBLEND_ZERO;
    renderStates_[D3DRS_BLENDOPALPHA] = D3DBLENDOP_ADD;

    for (int stage = 0; stage < kStages; ++stage) {
        auto& s = stageStates_[stage];
        s.fill(0);
        s[D3DTSS_COLOROP] = stage == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        s[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
        s[D3DTSS_COLORARG2] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAOP] = stage == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        s[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        s[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        s[D3DTSS_TEXCOORDINDEX] = static_cast<DWORD>(stage);
        s[D3DTSS_COLORARG0] = D3DTA_CURRENT;
        s[D3DTSS_ALPHAARG0] = D3DTA_CURRENT;
        s[D3DTSS_RESULTARG] = D3DTA_CURRENT;
        auto& sampler = samplerStates_[stage];
        sampler.fill(0);
        sampler[D3DSAMP_ADDRESSU] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_ADDRESSV] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_ADDRESSW] = D3DTADDRESS_WRAP;
        sampler[D3DSAMP_MAGFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MINFILTER] = D3DTEXF_POINT;
        sampler[D3DSAMP_MIPFILTER] = D3DTEXF_NONE;
        sampler[D3DSAMP_MAXANISOTROPY] = 1;
    }
    transforms_.clear();
    material_ = D3DMATERIAL9{};
    material_.Diffuse = D3DCOLORVALUE{1.0f, 1.0f, 1.0f, 1.0f};
    lights_.clear();
}

HRESULT Device::TestCooperativeLevel() {
    switch (cooperation_) {
        case Cooperation::kLost:
            return D3DERR_DEVICELOST;
        case Cooperation::kNotReset:
            return D3DERR_DEVICENOTRESET;
        default:
            return D3D_OK;
    }
}

UINT Device::GetAvailableTextureMem() {
    std::uint64_t used = 0;
    for (const ResourceCore* resource : resources_) {
        if (resource->pool() == D3DPOOL_DEFAULT) {
            used += resource->bytes();
        }
    }
    const std::uint64_t total = CurrentAdapterTable().textureMemoryBytes;
    const std::uint64_t free = used >= total ? 0 : total - used;
    const std::uint64_t mebibytes = (free >> 20) << 20;
    return static_cast<UINT>(std::min<std::uint64_t>(mebibytes, 0xFFF00000u));
}

HRESULT Device::GetDirect3D(IDirect3D9** direct3D) {
    if (direct3D == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    direct3D_->AddRef();
    *direct3D = direct3D_;
    return D3D_OK;
}

HRESULT Device::GetDeviceCaps(D3DCAPS9* caps) {
    return direct3D_->GetDeviceCaps(D3DADAPTER_DEFAULT, deviceType_, caps);
}

HRESULT Device::GetDisplayMode(UINT swapChain, D3DDISPLAYMODE* mode) {
    if (swapChain != 0 || mode == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const d3d9_test::AdapterTable table = CurrentAdapterTable();
    if (parameters_.Windowed) {
        *mode = table.desktop;
    } else {
        *mode = D3DDISPLAYMODE{parameters_.BackBufferWidth, parameters_.BackBufferHeight,
                               parameters_.FullScreen_RefreshRateInHz != 0
                                   ? parameters_.FullScreen_RefreshRateInHz
                                   : table.desktop.RefreshRate,
                               DisplayFormatOf(parameters_.BackBufferFormat)};
    }
    return D3D_OK;
}

HRESULT Device::GetCreationParameters(D3DDEVICE_CREATION_PARAMETERS* parameters) {
    if (parameters == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *parameters = D3DDEVICE_CREATION_PARAMETERS{D3DADAPTER_DEFAULT, deviceType_, focusWindow_,
                                                behaviorFlags_};
    return D3D_OK;
}

HRESULT Device::SetCursorProperties(UINT hotSpotX, UINT hotSpotY, IDirect3DSurface9* image) {
    Surface* surface = AsSurface(image);
    if (surface == nullptr || surface->format() != D3DFMT_A8R8G8B8 || surface->width() != 32 ||
        surface->height() != 32 || hotSpotX >= 32 || hotSpotY >= 32) {
        return D3DERR_INVALIDCALL;
    }
    cursorImage_.assign(32 * 32, 0);
    for (int y = 0; y < 32; ++y) {
        std::memcpy(cursorImage_.data() + y * 32, surface->bytes() + y * surface->pitch(), 32 * 4);
    }
    cursorHotX_ = hotSpotX;
    cursorHotY_ = hotSpotY;
    win32_internal::SetColourCursor(
        CursorWindow(), cursorImage_.data(),
        POINT{static_cast<LONG>(hotSpotX), static_cast<LONG>(hotSpotY)});
    return D3D_OK;
}

// The desktop's pointer is the cursor (colour_cursor.h): it is where the mouse is already, so a
// position is only noted.
void Device::SetCursorPosition(int x, int y, DWORD) {
    cursorX_ = x;
    cursorY_ = y;
}

BOOL Device::ShowCursor(BOOL show) {
    const BOOL was = cursorShown_ ? TRUE : FALSE;
    cursorShown_ = show != FALSE;
    win32_internal::ShowColourCursor(CursorWindow(), cursorShown_);
    return was;
}

HWND Device::CursorWindow() const {
    return parameters_.hDeviceWindow != nullptr ? parameters_.hDeviceWindow : focusWindow_;
}

d3d9_test::CursorState Device::cursorState() const {
    return d3d9_test::CursorState{!cursorImage_.empty(), cursorShown_, cursorX_,    cursorY_,
                                  cursorHotX_,           cursorHotY_,  cursorImage_};
}

HRESULT Device::Reset(D3DPRESENT_PARAMETERS* parameters) {
    if (cooperation_ == Cooperation::kLost) {
        return D3DERR_DEVICELOST;
    }
    if (parameters == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    for (const ResourceCore* resource : resources_) {
        if (resource->pool() == D3DPOOL_DEFAULT && resource->publicRefs() > 0) {
            cooperation_ = Cooperation::kNotReset;
            return D3DERR_INVALIDCALL;
        }
    }
    D3DPRESENT_PARAMETERS resolved = *parameters;
    if (FAILED(ValidateParameters(&resolved))) {
        cooperation_ = Cooperation::kNotReset;
        return D3DERR_INVALIDCALL;
    }
    // Bound default-pool resources that nobody references go with the old device state.
    UnbindAll();
    ReleaseSwapChain();
    parameters_ = resolved;
    *parameters = resolved;
    if (const HRESULT hr = CreateSwapChain(); FAILED(hr)) {
        cooperation_ = Cooperation::kNotReset;
        return hr;
    }
    ResetStates();
    inScene_ = false;
    cooperation_ = Cooperation::kOk;
    return D3D_OK;
}

HRESULT Device::Present(const RECT* sourceRect, const RECT*, HWND destWindowOverride, const void*) {
    if (cooperation_ != Cooperation::kOk) {
        return D3DERR_DEVICELOST;
    }
    if (FAILED(nextPresentFailure_)) {
        const HRESULT result = nextPresentFailure_;
        nextPresentFailure_ = D3D_OK;
        return result;
    }
    const HWND window = destWindowOverride != nullptr          ? destWindowOverride
                        : parameters_.hDeviceWindow != nullptr ? parameters_.hDeviceWindow
                                                               : focusWindow_;
    IDirect3DSurface9* stripSurface = nullptr;
    if (PresentOverlay overlay = CurrentPresentOverlay()) {
        overlay(this, window, &stripSurface);
    }
    const SurfaceReference stripReference(stripSurface);
    Surface* strip = stripSurface != nullptr ? AsSurface(stripSurface) : nullptr;
    if (strip != nullptr &&
        (strip->width() != backBuffer_->width() || strip->format() != backBuffer_->format())) {
        strip = nullptr;
    }
    if (KeepingPresentedPictures()) {
        KeepPicture(strip, nullptr);
    }
    if (SdlPresenter* presenter = PresenterFor(window)) {
        const PresentedImage stripImage = strip != nullptr ? ImageOf(strip) : PresentedImage{};
        const HRESULT hr =
            presenter->Show(ImageOf(backBuffer_), strip != nullptr ? &stripImage : nullptr,
                            sourceRect, PresentsWithVsync());
        if (FAILED(hr)) {
            return hr;
        }
    }
    ++presentCount_;
    return D3D_OK;
}

HRESULT Device::GetBackBuffer(UINT swapChain, UINT backBuffer, D3DBACKBUFFER_TYPE,
                              IDirect3DSurface9** surface) {
    if (surface == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *surface = nullptr;
    if (swapChain != 0 || backBuffer >= parameters_.BackBufferCount || backBuffer_ == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    backBuffer_->AddRef();
    *surface = backBuffer_;
    return D3D_OK;
}

HRESULT Device::SetDialogBoxMode(BOOL enable) {
    // Dialogs over a full-screen device need a back buffer they can be drawn into.
    if (enable && !parameters_.Windowed &&
        (!(parameters_.Flags & D3DPRESENTFLAG_LOCKABLE_BACKBUFFER) ||
         parameters_.SwapEffect != D3DSWAPEFFECT_DISCARD)) {
        return D3DERR_INVALIDCALL;
    }
    dialogBoxMode_ = enable != FALSE;
    return D3D_OK;
}

HRESULT Device::BeginScene() {
    if (inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = true;
    return D3D_OK;
}

HRESULT Device::EndScene() {
    if (!inScene_) {
        return D3DERR_INVALIDCALL;
    }
    inScene_ = false;
    return D3D_OK;
}

}  // namespace d3d9_internal
