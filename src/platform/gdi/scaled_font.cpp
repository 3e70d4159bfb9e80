#include "platform/gdi/scaled_font.h"

#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_ADVANCES_H
#include FT_OUTLINE_H
#include FT_SIZES_H

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

namespace gdi {
namespace {

constexpr FT_Pos kEmboldenStrength = 64;   // one pixel, in 26.6 units
constexpr FT_Fixed kItalicShear = 0x366A;  // about 12 degrees, in 16.16 units
constexpr FT_Int32 kLoadFlags = FT_LOAD_NO_HINTING | FT_LOAD_NO_BITMAP;

struct Library {
    FT_Library handle = nullptr;
    ~Library() {
        if (handle != nullptr) {
            FT_Done_FreeType(handle);
        }
    }
};

// A face shared by every font of one file; each font keeps its own size object on it, and
// activates it under the face's lock before use.
struct SharedFace {
    std::shared_ptr<Library> library;
    FT_Face face = nullptr;
    std::mutex lock;
    ~SharedFace() {
        if (face != nullptr) {
            FT_Done_Face(face);
        }
    }
};

class FaceCache {
public:
    std::shared_ptr<SharedFace> Get(const std::string& file) {
        std::lock_guard<std::mutex> guard(lock_);
        if (auto found = faces_.find(file); found != faces_.end()) {
            return found->second;
        }
        if (!library_) {
            auto library = std::make_shared<Library>();
            if (FT_Init_FreeType(&library->handle) != 0) {
                library->handle = nullptr;
                return nullptr;
            }
            library_ = library;
        }
        auto shared = std::make_shared<SharedFace>();
        shared->library = library_;
        if (FT_New_Face(library_->handle, file.c_str(), 0, &shared->face) != 0) {
            shared->face = nullptr;
            return nullptr;
        }
        if (!FT_IS_SCALABLE(shared->face) || shared->face->units_per_EM == 0) {
            return nullptr;
        }
        faces_.emplace(file, shared);
        return shared;
    }

private:
    std::mutex lock_;
    std::shared_ptr<Library> library_;
    std::map<std::string, std::shared_ptr<SharedFace>> faces_;
};

FaceCache& Faces() {
    static FaceCache cache;
    return cache;
}

// Rounds value * ppem / unitsPerEm to the nearest whole pixel, halves away from zero.
int ScaleToPixels(long value, int ppem, int unitsPerEm) {
    const long long scaled = static_cast<long long>(value) * ppem * 2;
    const long long denominator = 2LL * unitsPerEm;
    if (scaled >= 0) {
        return static_cast<int>((scaled + unitsPerEm) / denominator);
    }
    return -static_cast<int>((-scaled + unitsPerEm) / denominator);
}

}  // namespace

struct ScaledFont::Impl {
    std::shared_ptr<SharedFace> shared;
    FT_Size size = nullptr;
    int ppemX = 0;
    bool bold = false;
    bool italic = false;

    ~Impl() {
        if (size != nullptr) {
            std::lock_guard<std::mutex> guard(shared->lock);
            FT_Done_Size(size);
        }
    }
    FT_UInt GlyphIndex(char32_t codePoint) const {
        return codePoint == 0 ? 0 : FT_Get_Char_Index(shared->face, codePoint);
    }
};

ScaledFont::ScaledFont(std::unique_ptr<Impl> impl) : impl_(std::move(impl)) {}
ScaledFont::~ScaledFont() = default;

std::unique_ptr<ScaledFont> ScaledFont::Open(const std::string& file, const LOGFONTA& logFont) {
    if (logFont.lfHeight <= 0 || logFont.lfWidth < 0 || logFont.lfHeight > 4096 ||
        logFont.lfWidth > 2048) {
        return nullptr;
    }
    auto impl = std::make_unique<Impl>();
    impl->shared = Faces().Get(file);
    if (!impl->shared) {
        return nullptr;
    }
    const int ppemY = logFont.lfHeight;
    impl->ppemX = logFont.lfWidth > 0 ? logFont.lfWidth * 2 : ppemY;
    impl->bold = logFont.lfWeight >= FW_SEMIBOLD;
    impl->italic = logFont.lfItalic != 0;
    FT_Face face = impl->shared->face;
    {
        std::lock_guard<std::mutex> guard(impl->shared->lock);
        if (FT_New_Size(face, &impl->size) != 0) {
            impl->size = nullptr;
            return nullptr;
        }
        if (FT_Activate_Size(impl->size) != 0 ||
            FT_Set_Pixel_Sizes(face, static_cast<FT_UInt>(impl->ppemX),
                               static_cast<FT_UInt>(ppemY)) != 0) {
            return nullptr;
        }
    }
    // The horizontal header's line box: for the Gothic faces exactly one em, as the cells of the
    // glyph cache expect.
    const long ascender = face->ascender;
    const long descender = -static_cast<long>(face->descender);
    const int unitsPerEm = face->units_per_EM;
    std::unique_ptr<ScaledFont> font(new ScaledFont(std::move(impl)));
    font->ascent_ = ScaleToPixels(ascender, ppemY, unitsPerEm);
    font->height_ = ScaleToPixels(ascender + descender, ppemY, unitsPerEm);
    if (font->height_ <= 0) {
        return nullptr;
    }
    return font;
}

int ScaledFont::Advance(char32_t codePoint) const {
    std::lock_guard<std::mutex> guard(impl_->shared->lock);
    FT_Face face = impl_->shared->face;
    FT_Fixed advance = 0;
    if (FT_Get_Advance(face, impl_->GlyphIndex(codePoint), FT_LOAD_NO_SCALE, &advance) != 0) {
        return 0;
    }
    return ScaleToPixels(advance, impl_->ppemX, face->units_per_EM) + (impl_->bold ? 1 : 0);
}

bool ScaledFont::Render(char32_t codePoint, GlyphCoverage* glyph) const {
    std::lock_guard<std::mutex> guard(impl_->shared->lock);
    FT_Face face = impl_->shared->face;
    if (FT_Activate_Size(impl_->size) != 0 ||
        FT_Load_Glyph(face, impl_->GlyphIndex(codePoint), kLoadFlags) != 0) {
        return false;
    }
    FT_GlyphSlot slot = face->glyph;
    if (slot->format != FT_GLYPH_FORMAT_OUTLINE) {
        return false;
    }
    if (impl_->bold && FT_Outline_EmboldenXY(&slot->outline, kEmboldenStrength, 0) != 0) {
        return false;
    }
    if (impl_->italic) {
        FT_Matrix shear{0x10000, kItalicShear, 0, 0x10000};
        FT_Outline_Transform(&slot->outline, &shear);
    }
    if (FT_Render_Glyph(slot, FT_RENDER_MODE_NORMAL) != 0 ||
        slot->bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) {
        return false;
    }
    const FT_Bitmap& bitmap = slot->bitmap;
    glyph->left = slot->bitmap_left;
    glyph->top = ascent_ - slot->bitmap_top;
    glyph->width = static_cast<int>(bitmap.width);
    glyph->height = static_cast<int>(bitmap.rows);
    glyph->levels.assign(static_cast<std::size_t>(glyph->width) * glyph->height, 0);
    const int pitch = bitmap.pitch;
    for (int y = 0; y < glyph->height; ++y) {
        const unsigned char* row =
            pitch >= 0
                ? bitmap.buffer + static_cast<std::ptrdiff_t>(y) * pitch
                : bitmap.buffer + static_cast<std::ptrdiff_t>(glyph->height - 1 - y) * -pitch;
        std::memcpy(glyph->levels.data() + static_cast<std::size_t>(y) * glyph->width, row,
                    static_cast<std::size_t>(glyph->width));
    }
    return true;
}

}  // namespace gdi
