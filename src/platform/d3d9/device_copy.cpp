// Clears, colour fills and copies between surfaces.

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

#include "platform/d3d9/device.h"
#include "platform/d3d9/pixel_format.h"
#include "platform/d3d9/pixel_math.h"
#include "platform/d3d9/surface.h"

namespace d3d9_internal {
namespace {

bool Intersect(RECT* a, const RECT& b) {
    a->left = std::max(a->left, b.left);
    a->top = std::max(a->top, b.top);
    a->right = std::min(a->right, b.right);
    a->bottom = std::min(a->bottom, b.bottom);
    return a->left < a->right && a->top < a->bottom;
}

RECT WholeOf(Surface* surface) {
    return RECT{0, 0, static_cast<LONG>(surface->width()), static_cast<LONG>(surface->height())};
}

void FillColour(Surface* surface, const RECT& area, D3DCOLOR colour) {
    const int bpp = BytesPerPixel(surface->format());
    for (LONG y = area.top; y < area.bottom; ++y) {
        FillRow(surface->format(), colour,
                surface->bytes() + static_cast<std::ptrdiff_t>(y) * surface->pitch() +
                    static_cast<std::ptrdiff_t>(area.left) * bpp,
                area.right - area.left);
    }
    surface->MarkWritten();
}

void FillDepth(Surface* depth, const RECT& area, float z) {
    const double clamped = std::isfinite(z) ? std::clamp(static_cast<double>(z), 0.0, 1.0) : 0.0;
    const std::uint32_t max = DepthBits(depth->format()) == 16 ? 0xFFFFu : 0xFFFFFFu;
    const auto value = static_cast<std::uint32_t>(std::floor(clamped * max + 0.5));
    for (LONG y = area.top; y < area.bottom; ++y) {
        std::uint32_t* row = depth->words() + static_cast<std::ptrdiff_t>(y) * depth->width();
        std::fill(row + area.left, row + area.right, value);
    }
}

// Copies a rectangle between surfaces of any colour formats, without scaling.
void CopyConverted(Surface* source, const RECT& from, Surface* dest, LONG destX, LONG destY) {
    const int width = from.right - from.left;
    const int srcBpp = BytesPerPixel(source->format());
    const int dstBpp = BytesPerPixel(dest->format());
    std::vector<std::uint32_t> row(static_cast<std::size_t>(width));
    for (LONG y = 0; y < from.bottom - from.top; ++y) {
        const std::uint8_t* in = source->bytes() +
                                 static_cast<std::ptrdiff_t>(from.top + y) * source->pitch() +
                                 static_cast<std::ptrdiff_t>(from.left) * srcBpp;
        std::uint8_t* out = dest->bytes() + static_cast<std::ptrdiff_t>(destY + y) * dest->pitch() +
                            static_cast<std::ptrdiff_t>(destX) * dstBpp;
        if (source->format() == dest->format()) {
            std::memmove(out, in, static_cast<std::size_t>(width) * srcBpp);
        } else {
            RowToArgb(source->format(), in, row.data(), width);
            RowFromArgb(dest->format(), row.data(), out, width);
        }
    }
    dest->MarkWritten();
}

}  // namespace

bool Device::ClipToTarget(RECT* rect) const {
    RECT view{static_cast<LONG>(viewport_.X), static_cast<LONG>(viewport_.Y),
              static_cast<LONG>(viewport_.X + viewport_.Width),
              static_cast<LONG>(viewport_.Y + viewport_.Height)};
    if (!Intersect(rect, view)) {
        return false;
    }
    if (renderStates_[D3DRS_SCISSORTESTENABLE] && !Intersect(rect, scissor_)) {
        return false;
    }
    return true;
}

HRESULT Device::Clear(DWORD count, const D3DRECT* rects, DWORD flags, D3DCOLOR color, float z,
                      DWORD) {
    if ((count > 0 && rects == nullptr) ||
        (flags & ~(D3DCLEAR_TARGET | D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) != 0) {
        return D3DERR_INVALIDCALL;
    }
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) && depth_ == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    if ((flags & D3DCLEAR_STENCIL) && depth_->format() != D3DFMT_D24S8) {
        return D3DERR_INVALIDCALL;
    }
    if (renderTarget_ == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    const DWORD areas = rects == nullptr ? 1 : count;
    for (DWORD i = 0; i < areas; ++i) {
        RECT area = rects == nullptr ? WholeOf(renderTarget_)
                                     : RECT{rects[i].x1, rects[i].y1, rects[i].x2, rects[i].y2};
        if (!ClipToTarget(&area)) {
            continue;
        }
        if (flags & D3DCLEAR_TARGET) {
            RECT target = area;
            if (Intersect(&target, WholeOf(renderTarget_))) {
                FillColour(renderTarget_, target, color);
            }
        }
        if (flags & D3DCLEAR_ZBUFFER) {
            RECT depthArea = area;
            if (Intersect(&depthArea, WholeOf(depth_))) {
                FillDepth(depth_, depthArea, z);
            }
        }
    }
    return D3D_OK;
}

HRESULT Device::ColorFill(IDirect3DSurface9* surface, const RECT* rect, D3DCOLOR color) {
    Surface* target = AsSurface(surface);
    RECT area;
    if (target == nullptr || target->isDepth() || target->surfacePool() != D3DPOOL_DEFAULT ||
        !target->ResolveRect(rect, &area)) {
        return D3DERR_INVALIDCALL;
    }
    FillColour(target, area, color);
    return D3D_OK;
}

HRESULT Device::UpdateSurface(IDirect3DSurface9* source, const RECT* sourceRect,
                              IDirect3DSurface9* dest, const POINT* destPoint) {
    Surface* from = AsSurface(source);
    Surface* to = AsSurface(dest);
    RECT area;
    if (from == nullptr || to == nullptr || from == to || from->isDepth() || to->isDepth() ||
        from->format() != to->format() || !from->ResolveRect(sourceRect, &area)) {
        return D3DERR_INVALIDCALL;
    }
    const LONG x = destPoint != nullptr ? destPoint->x : 0;
    const LONG y = destPoint != nullptr ? destPoint->y : 0;
    // Checked in 64 bits: a point near the end of the LONG range must not wrap back inside.
    if (x < 0 || y < 0 || std::int64_t{x} + (area.right - area.left) > std::int64_t{to->width()} ||
        std::int64_t{y} + (area.bottom - area.top) > std::int64_t{to->height()}) {
        return D3DERR_INVALIDCALL;
    }
    CopyConverted(from, area, to, x, y);
    return D3D_OK;
}

HRESULT Device::GetRenderTargetData(IDirect3DSurface9* renderTarget, IDirect3DSurface9* dest) {
    Surface* from = AsSurface(renderTarget);
    Surface* to = AsSurface(dest);
    if (from == nullptr || to == nullptr || from == to || from->isDepth() ||
        to->surfacePool() != D3DPOOL_SYSTEMMEM || from->width() != to->width() ||
        from->height() != to->height() || from->format() != to->format()) {
        return D3DERR_INVALIDCALL;
    }
    CopyConverted(from, WholeOf(from), to, 0, 0);
    return D3D_OK;
}

HRESULT Device::StretchRect(IDirect3DSurface9* source, const RECT* sourceRect,
                            IDirect3DSurface9* dest, const RECT* destRect,
                            D3DTEXTUREFILTERTYPE filter) {
    Surface* from = AsSurface(source);
    Surface* to = AsSurface(dest);
    RECT src;
    RECT dst;
    if (from == nullptr || to == nullptr || from->isDepth() || to->isDepth() ||
        from->surfacePool() != D3DPOOL_DEFAULT || to->surfacePool() != D3DPOOL_DEFAULT ||
        !from->ResolveRect(sourceRect, &src) || !to->ResolveRect(destRect, &dst) ||
        filter > D3DTEXF_LINEAR) {
        return D3DERR_INVALIDCALL;
    }
    if (from == to) {
        RECT overlap = src;
        if (Intersect(&overlap, dst)) {
            return D3DERR_INVALIDCALL;
        }
    }
    const int srcW = src.right - src.left;
    const int srcH = src.bottom - src.top;
    const int dstW = dst.right - dst.left;
    const int dstH = dst.bottom - dst.top;
    if (srcW == dstW && srcH == dstH) {
        CopyConverted(from, src, to, dst.left, dst.top);
        return D3D_OK;
    }
    // The source rectangle as A8R8G8B8, sampled with clamping at its own edges.
    std::vector<std::uint32_t> texels(static_cast<std::size_t>(srcW) * srcH);
    for (int y = 0; y < srcH; ++y) {
        RowToArgb(from->format(),
                  from->bytes() + static_cast<std::ptrdiff_t>(src.top + y) * from->pitch() +
                      static_cast<std::ptrdiff_t>(src.left) * BytesPerPixel(from->format()),
                  texels.data() + static_cast<std::ptrdiff_t>(y) * srcW, srcW);
    }
    SamplerView view;
    view.texels = texels.data();
    view.width = srcW;
    view.height = srcH;
    view.pitch = srcW;
    view.addressU = D3DTADDRESS_CLAMP;
    view.addressV = D3DTADDRESS_CLAMP;
    std::vector<std::uint32_t> row(static_cast<std::size_t>(dstW));
    const int dstBpp = BytesPerPixel(to->format());
    for (int y = 0; y < dstH; ++y) {
        // Pixel centres mapped onto the source, in 16.16 texels.
        const auto t =
            static_cast<std::int32_t>(((2 * std::int64_t{y} + 1) * srcH << 16) / (2 * dstH));
        for (int x = 0; x < dstW; ++x) {
            const auto s =
                static_cast<std::int32_t>(((2 * std::int64_t{x} + 1) * srcW << 16) / (2 * dstW));
            row[static_cast<std::size_t>(x)] =
                filter == D3DTEXF_LINEAR ? SampleLinear(view, s, t) : SamplePoint(view, s, t);
        }
        RowFromArgb(to->format(), row.data(),
                    to->bytes() + static_cast<std::ptrdiff_t>(dst.top + y) * to->pitch() +
                        static_cast<std::ptrdiff_t>(dst.left) * dstBpp,
                    dstW);
    }
    to->MarkWritten();
    return D3D_OK;
}

}  // namespace d3d9_internal
