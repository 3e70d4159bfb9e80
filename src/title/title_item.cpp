#include "title/title_item.h"

#include <cmath>

#include "adventure/game_mode.h"
#include "adventure/scene.h"
#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/loaded_file.h"
#include "media/graphics/ref_counted.h"
#include "media/graphics/texture.h"
#include "script/call_stack.h"
#include "sprite_ui/baloon.h"
#include "title/title_data.h"
#include "title/title_menu.h"

namespace {

constexpr DWORD kImagePool = 1;    // D3DPOOL_MANAGED
constexpr DWORD kImageFilter = 1;  // D3DX_FILTER_NONE
constexpr D3DCOLOR kShadowColour = 0xFFA0A0A0u;
constexpr double kShadowDepth = 6.0;  // design pixels
constexpr D3DCOLOR kHighlightBlue = 0xA0u;
constexpr D3DCOLOR kOpaqueWhite = 0xFFFFFFFFu;
constexpr const char* kReplayScript = "title_cg";
constexpr const char* kReplayLabel = "normal";
constexpr const char* kGalleryFolder = "visual\\";

std::string Named(const std::string& name) {
    return name == "*" ? std::string() : name;
}

// Toward zero, as a C cast does.
LONG Trunc(double value) {
    return static_cast<LONG>(std::trunc(value));
}

// A modulo that stays in 0..size-1 for negative values too.
LONG Wrap(LONG value, LONG size) {
    const LONG rest = value % size;
    return rest < 0 ? rest + size : rest;
}

void SetBlend(IDirect3DDevice9* device, DWORD source, DWORD dest) {
    device->SetRenderState(D3DRS_SRCBLEND, source);
    device->SetRenderState(D3DRS_DESTBLEND, dest);
}

void DrawShadow(IDirect3DDevice9* device, const RECT& dest) {
    const auto k = static_cast<LONG>(LetterboxScale * kShadowDepth);
    if (k <= 0) {
        return;
    }
    SetBlend(device, D3DBLEND_ZERO, D3DBLEND_SRCCOLOR);
    const RECT below{dest.left + k, dest.bottom, dest.right + k, dest.bottom + k};
    const RECT right{dest.right, dest.top + k, dest.right + k, dest.bottom + k};
    D3D_ColorFillRect(&below, kShadowColour);
    D3D_ColorFillRect(&right, kShadowColour);
    SetBlend(device, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
}

void DrawImage(D3DTexture* image, const RECT& dest, const RECT& source) {
    if (LetterboxScale == 1.0) {
        image->DrawRect(&dest, &source, kOpaqueWhite);
        return;
    }
    // DrawQuad moves the corners by -0.5 itself.
    const FloatRect destArea(dest);
    const FloatRect sourceArea(source);
    image->DrawQuad(&destArea, &sourceArea, kOpaqueWhite);
}

void DrawHighlight(IDirect3DDevice9* device, const RECT& dest, int pulse) {
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_ONE);
    D3D_ColorFillRect(&dest, static_cast<D3DCOLOR>(pulse & 0xFF) << 24 | kHighlightBlue);
    SetBlend(device, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
}

void OpenBalloon(const TitleItem& item) {
    if (gTitleMenu == nullptr || item.itemIndex == -1 || gTitleData.balloons.empty() ||
        TitleHoverBaloon != nullptr || gTitleMenu->hoverClock * 1000.0 < BaloonTime) {
        return;
    }
    const std::string& text = Title::BalloonText(item.itemIndex);
    if (text == "*") {
        return;
    }
    const int x =
        static_cast<int>((static_cast<std::int64_t>(item.dest.left) + item.dest.right) / 2);
    TitleHoverBaloon = CreateBaloon(x, item.dest.top, nullptr, text.c_str(), nullptr);
}

}  // namespace

TitleItem::TitleItem(const std::array<std::string, kTitleImageStates>& names,
                     std::uint32_t itemFlags, const RECT& designDest,
                     const std::array<RECT, kTitleImageStates>& sources,
                     const std::string& scriptName, const std::string& labelName, std::int32_t left,
                     std::int32_t right, std::int32_t index)
    : flags(itemFlags),
      src(sources),
      script(scriptName == "*" ? std::string(kTitleDefaultScript) : scriptName),
      label(Named(labelName)),
      leftValue(left),
      rightValue(right),
      itemIndex(index) {
    for (int k = 0; k < kTitleImageStates; ++k) {
        imageNames[k] = Named(names[k]);
    }
    const double s = LetterboxScale;
    const LONG width = Trunc(static_cast<double>(designDest.right - designDest.left) * s);
    const LONG height = Trunc(static_cast<double>(designDest.bottom - designDest.top) * s);
    dest.left = Trunc(designDest.left * s) + LetterboxRect.left;
    dest.top = Trunc(designDest.top * s) + LetterboxRect.top;
    dest.right = dest.left + width;
    dest.bottom = dest.top + height;
}

TitleItem::~TitleItem() {
    for (D3DTexture*& image : images) {
        ReleaseRef(image);
    }
}

HRESULT TitleItem::LoadImages() {
    HRESULT result = S_OK;
    for (int k = 0; k < kTitleImageStates; ++k) {
        ReleaseRef(images[k]);
        if (imageNames[k].empty()) {
            continue;
        }
        const std::string name = kTitleImageFolder + imageNames[k];
        result = D3D_LoadTexture(GetPath(PathKind::Image, name.c_str()), &images[k], 0, 0,
                                 D3DFMT_UNKNOWN, static_cast<D3DPOOL>(kImagePool), kImageFilter);
        if (FAILED(result)) {
            ReleaseRef(images[k]);
            return result;
        }
        const auto width = static_cast<LONG>(images[k]->imageWidth);
        const auto height = static_cast<LONG>(images[k]->imageHeight);
        if (width <= 0 || height <= 0) {
            LogPrintf("Title: image(\"%s\") has no size", name.c_str());
            ReleaseRef(images[k]);
            return E_FAIL;
        }
        RECT& source = src[k];
        const LONG sourceWidth = source.right - source.left;
        const LONG sourceHeight = source.bottom - source.top;
        source.left = Wrap(source.left, width);
        source.top = Wrap(source.top, height);
        source.right = source.left + sourceWidth;
        source.bottom = source.top + sourceHeight;
    }
    return result;
}

bool TitleItem::HasImage(int state) const {
    return state >= 0 && state < kTitleImageStates && images[state] != nullptr;
}

void TitleItem::Draw(int state, int pulse) const {
    int shown = state;
    while (shown > 0 && images[shown] == nullptr) {
        --shown;
    }
    D3DTexture* image = images[shown];
    IDirect3DDevice9* device = CurrentDevice();
    if (image == nullptr || device == nullptr) {
        return;
    }
    if ((flags & kTitleItemShadow) != 0) {
        DrawShadow(device, dest);
    }
    DrawImage(image, dest, src[shown]);
    if ((flags & kTitleItemHighlight) != 0 && state != 0) {
        DrawHighlight(device, dest, pulse);
    }
    if (state == 1) {
        OpenBalloon(*this);
    }
}

bool TitleItem::RunScript() const {
    if (label.empty()) {
        return false;
    }
    return StartScript(GetPath(PathKind::Script, script.c_str()), label.c_str(), 0);
}

namespace Title {

bool AddItem(const char* name) {
    if (gTitleMenu == nullptr) {
        return false;
    }
    const LoadedFile file(GetPath(PathKind::Data, name));
    if (!file.ok() || file.size() == 0) {
        return false;
    }
    const std::int64_t page = CurrentPage();
    for (const ItemTableRecord& record : ReadItemTable({file.data(), file.size()})) {
        if (!RecordApplies(record, page)) {
            continue;
        }
        for (const TitleCell& cell : LayoutItemRecord(record, page, ItemState)) {
            if (gTitleMenu->items.size() >= kTitleItemLimit) {
                LogPrintf("Title: AddItem: \"%s\" goes beyond %d items", name,
                          static_cast<int>(kTitleItemLimit));
                return false;
            }
            auto item = std::make_unique<TitleItem>(
                record.images, record.flags, cell.dest, cell.source, record.script, record.label,
                cell.leftValue, cell.rightValue, cell.itemIndex);
            if (FAILED(item->LoadImages())) {
                return false;
            }
            gTitleMenu->items.push_back(std::move(item));
        }
    }
    return true;
}

void ShowPicture(std::uint32_t item) {
    if (item >= gTitleData.names.size()) {
        return;
    }
    const std::string name = kGalleryFolder + gTitleData.names[item];
    D3DTexture* picture = nullptr;
    if (SUCCEEDED(D3D_LoadTexture(GetPath(PathKind::Image, name.c_str()), &picture, 0, 0,
                                  D3DFMT_UNKNOWN, static_cast<D3DPOOL>(kImagePool),
                                  kImageFilter))) {
        CaptureBasePlane(picture);
    }
    ReleaseRef(picture);
}

bool ReplayScene(std::uint32_t item) {
    if (item >= gTitleData.names.size()) {
        return false;
    }
    DeleteHoverBaloon();
    if (!StartScript(GetPath(PathKind::Script, kReplayScript), kReplayLabel, 0)) {
        return false;
    }
    const std::string& label = gTitleData.names[item];
    const ScriptFrame* frame = CurrentFrame();
    if (frame != nullptr && frame->script != nullptr && frame->script->HasLabel(label.c_str())) {
        return JumpToLabel(label.c_str()) != kNoPosition;
    }
    return true;
}

}  // namespace Title
