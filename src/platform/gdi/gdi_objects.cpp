#include "platform/gdi/gdi_objects.h"

#include <cstring>
#include <mutex>
#include <new>
#include <string>
#include <string_view>
#include <unordered_map>
#include <variant>

#include "platform/gdi/font_file.h"
#include "platform/gdi/gdi.h"

namespace gdi {
namespace {

constexpr long long kMaxDibPixels = 16384LL * 16384LL;

using Object = std::variant<std::shared_ptr<FontObject>, std::shared_ptr<BitmapObject>>;

struct Registry {
    std::mutex lock;
    std::uintptr_t nextId = 0x1000;
    std::unordered_map<std::uintptr_t, Object> objects;
    std::unordered_map<std::uintptr_t, std::shared_ptr<DeviceContext>> contexts;
    // Stock objects: selected into every new context, never deleted.
    HGDIOBJ stockFont = nullptr;
    HGDIOBJ stockBitmap = nullptr;

    std::uintptr_t NewId() { return nextId += 0x10; }
};

Registry& Objects() {
    static Registry registry;
    return registry;
}

template <typename Handle>
std::uintptr_t IdOf(Handle handle) {
    return reinterpret_cast<std::uintptr_t>(handle);
}
template <typename Handle>
Handle HandleOf(std::uintptr_t id) {
    return reinterpret_cast<Handle>(id);
}

std::unique_ptr<ScaledFont> OpenScaledFont(const LOGFONTA& logFont) {
    const std::string_view face(logFont.lfFaceName,
                                strnlen(logFont.lfFaceName, sizeof(logFont.lfFaceName)));
    // A file fontconfig offers may still be unusable (not scalable, damaged): then the fixed
    // file of the character set draws the face.
    const std::string fallback = FallbackFontFile(logFont.lfCharSet);
    for (const std::string& file : {FontFileForFace(face, logFont.lfCharSet), fallback}) {
        if (file.empty()) {
            continue;
        }
        std::unique_ptr<ScaledFont> scaled = ScaledFont::Open(file, logFont);
        GlyphCoverage probe;
        if (scaled && scaled->Render(U'A', &probe)) {
            return scaled;
        }
        if (file == fallback) {
            break;
        }
    }
    return nullptr;
}

// Called with the registry locked.
void EnsureStockObjects(Registry& registry) {
    if (registry.stockFont != nullptr) {
        return;
    }
    auto font = std::make_shared<FontObject>();
    font->logFont.lfHeight = 16;
    font->logFont.lfWeight = FW_NORMAL;
    std::memcpy(font->logFont.lfFaceName, "Arial", 6);
    font->scaled = OpenScaledFont(font->logFont);
    const std::uintptr_t fontId = registry.NewId();
    registry.objects.emplace(fontId, font);
    registry.stockFont = HandleOf<HGDIOBJ>(fontId);

    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->width = 1;
    bitmap->height = 1;
    bitmap->pixels.assign(1, 0u);
    const std::uintptr_t bitmapId = registry.NewId();
    registry.objects.emplace(bitmapId, bitmap);
    registry.stockBitmap = HandleOf<HGDIOBJ>(bitmapId);
}

template <typename Member>
auto SetContextValue(HDC dc, Member DeviceContext::*member, Member value, Member failure) {
    Registry& registry = Objects();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto found = registry.contexts.find(IdOf(dc));
    if (found == registry.contexts.end()) {
        return failure;
    }
    Member previous = found->second.get()->*member;
    found->second.get()->*member = value;
    return previous;
}

}  // namespace

std::shared_ptr<DeviceContext> LookUpContext(HDC dc) {
    Registry& registry = Objects();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto found = registry.contexts.find(IdOf(dc));
    if (found == registry.contexts.end()) {
        return nullptr;
    }
    return std::make_shared<DeviceContext>(*found->second);
}

}  // namespace gdi

using namespace gdi;

HFONT CreateFontIndirectA(const LOGFONTA* logFont) {
    if (logFont == nullptr || logFont->lfHeight <= 0) {
        return nullptr;
    }
    auto font = std::make_shared<FontObject>();
    font->logFont = *logFont;
    font->scaled = OpenScaledFont(*logFont);
    if (!font->scaled) {
        return nullptr;
    }
    Registry& registry = Objects();
    std::lock_guard<std::mutex> guard(registry.lock);
    const std::uintptr_t id = registry.NewId();
    registry.objects.emplace(id, font);
    return HandleOf<HFONT>(id);
}

HDC CreateCompatibleDC(HDC) {
    Registry& registry = Objects();
    std::lock_guard<std::mutex> guard(registry.lock);
    EnsureStockObjects(registry);
    auto context = std::make_shared<DeviceContext>();
    context->font =
        std::get<std::shared_ptr<FontObject>>(registry.objects.at(IdOf(registry.stockFont)));
    context->fontHandle = registry.stockFont;
    context->bitmap =
        std::get<std::shared_ptr<BitmapObject>>(registry.objects.at(IdOf(registry.stockBitmap)));
    context->bitmapHandle = registry.stockBitmap;
    const std::uintptr_t id = registry.NewId();
    registry.contexts.emplace(id, context);
    return HandleOf<HDC>(id);
}

BOOL DeleteDC(HDC dc) {
    Registry& registry = Objects();
    std::lock_guard<std::mutex> guard(registry.lock);
    return registry.contexts.erase(IdOf(dc)) == 1 ? TRUE : FALSE;
}

HBITMAP CreateDIBSection(HDC, const BITMAPINFO* info, UINT usage, void** bits, HANDLE section,
                         DWORD offset) {
    if (bits != nullptr) {
        *bits = nullptr;
    }
    if (info == nullptr || usage != DIB_RGB_COLORS || section != nullptr || offset != 0) {
        return nullptr;
    }
    const BITMAPINFOHEADER& header = info->bmiHeader;
    const long long width = header.biWidth;
    const long long height =
        header.biHeight < 0 ? -static_cast<long long>(header.biHeight) : header.biHeight;
    if (header.biSize < sizeof(BITMAPINFOHEADER) || header.biPlanes != 1 ||
        header.biBitCount != 32 || header.biCompression != BI_RGB || width <= 0 || height <= 0 ||
        width * height > kMaxDibPixels) {
        return nullptr;
    }
    auto bitmap = std::make_shared<BitmapObject>();
    bitmap->width = static_cast<int>(width);
    bitmap->height = static_cast<int>(height);
    bitmap->topDown = header.biHeight < 0;
    try {
        bitmap->pixels.assign(static_cast<std::size_t>(width * height), 0u);
    } catch (const std::bad_alloc&) {
        return nullptr;
    }
    Registry& registry = Objects();
    std::lock_guard<std::mutex> guard(registry.lock);
    const std::uintptr_t id = registry.NewId();
    registry.objects.emplace(id, bitmap);
    if (bits != nullptr) {
        *bits = bitmap->pixels.data();
    }
    return HandleOf<HBITMAP>(id);
}

HGDIOBJ SelectObject(HDC dc, HGDIOBJ object) {
    Registry& registry = Objects();
    std::lock_guard<std::mutex> guard(registry.lock);
    auto context = registry.contexts.find(IdOf(dc));
    auto found = registry.objects.find(IdOf(object));
    if (context == registry.contexts.end() || found == registry.objects.end()) {
        return nullptr;
    }
    DeviceContext& state = *context->second;
    HGDIOBJ previous = nullptr;
    if (const auto* font = std::get_if<std::shared_ptr<FontObject>>(&found->second)) {
        previous = state.fontHandle;
        state.font = *font;
        state.fontHandle = object;
    } else {
        previous = state.bitmapHandle;
        state.bitmap = std::get<std::shared_ptr<BitmapObject>>(found->second);
        state.bitmapHandle = object;
    }
    return previous;
}

HGDIOBJ SelectObject(HDC dc, HFONT font) {
    return SelectObject(dc, reinterpret_cast<HGDIOBJ>(font));
}

HGDIOBJ SelectObject(HDC dc, HBITMAP bitmap) {
    return SelectObject(dc, reinterpret_cast<HGDIOBJ>(bitmap));
}

BOOL DeleteObject(HGDIOBJ object) {
    Registry& registry = Objects();
    std::lock_guard<std::mutex> guard(registry.lock);
    if (object == nullptr || object == registry.stockFont || object == registry.stockBitmap) {
        return FALSE;
    }
    return registry.objects.erase(IdOf(object)) == 1 ? TRUE : FALSE;
}

BOOL DeleteObject(HFONT font) {
    return DeleteObject(reinterpret_cast<HGDIOBJ>(font));
}

BOOL DeleteObject(HBITMAP bitmap) {
    return DeleteObject(reinterpret_cast<HGDIOBJ>(bitmap));
}

int SetMapMode(HDC dc, int mode) {
    if (mode != MM_TEXT || !LookUpContext(dc)) {
        return 0;
    }
    return MM_TEXT;
}

COLORREF SetTextColor(HDC dc, COLORREF colour) {
    return SetContextValue(dc, &DeviceContext::textColour, colour, CLR_INVALID);
}

COLORREF SetBkColor(HDC dc, COLORREF colour) {
    return SetContextValue(dc, &DeviceContext::backgroundColour, colour, CLR_INVALID);
}

int SetBkMode(HDC dc, int mode) {
    if (mode != TRANSPARENT && mode != OPAQUE) {
        return 0;
    }
    return SetContextValue(dc, &DeviceContext::backgroundMode, mode, 0);
}

UINT SetTextAlign(HDC dc, UINT align) {
    return SetContextValue(dc, &DeviceContext::textAlign, align, GDI_ERROR);
}
