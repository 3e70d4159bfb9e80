#include "adventure/message_window.h"

#include <algorithm>
#include <cstdint>
#include <cstdio>

#include "adventure/face.h"
#include "adventure/game_mode.h"
#include "foundation/app_settings.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/font.h"
#include "media/graphics/plane.h"
#include "media/graphics/texture.h"
#include "platform/gdi/gdi_types.h"
#include "shell/program.h"

int MessageWindowShown = 0;
float WindowFadeTime = 0.0f;
std::int32_t LineCounter = -1;
char SpeakerName[kSpeakerNameLength] = {};

D3DTexture* MessageTexture = nullptr;
D3DPlane* MessageShadowPlane = nullptr;
D3DPlane* MessageMaskPlane = nullptr;
D3DPlane* MessageWordPlane = nullptr;
D3DPlane* MessageBackPlane = nullptr;
D3DFont* MessageFont = nullptr;
D3DFont* RubyFont = nullptr;

namespace {

// "ＭＳ ゴシック" in Shift-JIS.
constexpr char kMessageFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
constexpr UINT kGlyphCacheSize = 256;
// Rows of "MSG BACK" above the window's top over which the back fades in.
constexpr int kBackFadeRows = 32;

enum LayerData : std::uintptr_t {
    kShadowLayer = 0,
    kMaskLayer = 1,
    kWordLayer = 2,
    kBackLayer = 3
};

void* LayerUserData(LayerData layer) {
    return reinterpret_cast<void*>(static_cast<std::uintptr_t>(layer));
}

template <typename T>
void ReleaseObject(T*& object) {
    if (object != nullptr) {
        object->Release();
        object = nullptr;
    }
}

D3DFont* MakeFont(int height) {
    LOGFONTA logFont{};
    logFont.lfHeight = height;
    logFont.lfWeight = FW_NORMAL;
    logFont.lfCharSet = SHIFTJIS_CHARSET;
    std::snprintf(logFont.lfFaceName, sizeof logFont.lfFaceName, "%s", kMessageFace);
    D3DFont* font = nullptr;
    if (FAILED(D3D_CreateFont(&font, &logFont, kGlyphCacheSize))) {
        ReleaseObject(font);
    }
    return font;
}

// The texture holds the mask rows and the word rows below them, and columns up to ScreenWidth.
void MessageTextureSize(const MessageGeometry& g, UINT* width, UINT* height) {
    const auto letterboxWidth = static_cast<UINT>(LetterboxRect.right - LetterboxRect.left);
    const auto letterboxHeight = static_cast<UINT>(LetterboxRect.bottom - LetterboxRect.top);
    *width = std::max(NextPowerOfTwo(letterboxWidth), NextPowerOfTwo(ScreenWidth));
    *height = std::max(NextPowerOfTwo(letterboxHeight),
                       NextPowerOfTwo(static_cast<UINT>(std::max(g.height, 0)) * 2));
}

D3DPlane* MakeLayer(const MessageGeometry& g, LayerData layer, int x, int y, const char* name) {
    const LONG sourceTop = layer == kWordLayer ? g.height : 0;
    const RECT source{0, sourceTop, static_cast<LONG>(ScreenWidth), sourceTop + g.height};
    D3DPlane* plane = nullptr;
    if (FAILED(D3D_CreatePlaneFromTexture(MessageTexture, &plane, &source, 0, D3DPOOL_SYSTEMMEM))) {
        ReleaseObject(plane);
        return nullptr;
    }
    plane->SetUpdateCallback(MessageLayerUpdate, LayerUserData(layer));
    plane->SetPosition(x, y);
    plane->SetName(name);
    plane->Update(0.0);
    return plane;
}

void ReleaseLayers() {
    ReleaseObject(MessageShadowPlane);
    ReleaseObject(MessageMaskPlane);
    ReleaseObject(MessageWordPlane);
    ReleaseObject(MessageTexture);
}

// The strip of "MSG BACK": the letterbox's width from 32 rows above the window's top (clear)
// through the top (opaque) to the letterbox's bottom.
void MessageBackVertices(D3DCOLOR colour, TLVertex vertices[6]) {
    const MessageGeometry g = GetMessageGeometry();
    const auto left = static_cast<float>(LetterboxRect.left);
    const auto right = static_cast<float>(LetterboxRect.right);
    const auto bottom = static_cast<float>(LetterboxRect.bottom);
    const auto top = static_cast<float>(g.top);
    const D3DCOLOR clear = colour & 0x00FFFFFFu;
    vertices[0] = TLVertex(left, top - kBackFadeRows, clear, 0.0f, 0.0f);
    vertices[1] = TLVertex(right, top - kBackFadeRows, clear, 0.0f, 0.0f);
    vertices[2] = TLVertex(left, top, colour, 0.0f, 0.0f);
    vertices[3] = TLVertex(right, top, colour, 0.0f, 0.0f);
    vertices[4] = TLVertex(left, bottom, colour, 0.0f, 0.0f);
    vertices[5] = TLVertex(right, bottom, colour, 0.0f, 0.0f);
}

void SetBlend(IDirect3DDevice9* device, DWORD source, DWORD dest) {
    device->SetRenderState(D3DRS_SRCBLEND, source);
    device->SetRenderState(D3DRS_DESTBLEND, dest);
}

// Frame step 12: the device states of the message window.
void SetMessageWindowStates(IDirect3DDevice9* device) {
    device->SetSamplerState(0, D3DSAMP_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetSamplerState(0, D3DSAMP_MINFILTER, D3DTEXF_POINT);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, D3DTEXF_POINT);
    device->SetTextureStageState(0, D3DTSS_COLOROP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_COLORARG2, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    SetBlend(device, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_ZENABLE, D3DZB_TRUE);
    device->SetRenderState(D3DRS_ZFUNC, D3DCMP_LESSEQUAL);
    device->SetRenderState(D3DRS_ZWRITEENABLE, FALSE);
}

}  // namespace

MessageGeometry GetMessageGeometry() {
    MessageGeometry g{};
    g.fontSize = MessageFontScale * 26 / 20;
    g.rubySize = g.fontSize * 2 / 5;
    g.lineHeight = static_cast<int>(g.fontSize * 1.5);
    const int windowLines = 4 * g.lineHeight + g.lineHeight / 2;
    g.top = LetterboxRect.bottom - windowLines;
    g.height = windowLines + (static_cast<int>(ScreenHeight) - LetterboxRect.bottom);
    return g;
}

bool BuildMessageWindow() {
    if (MessageTexture != nullptr) {
        return true;
    }
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr || D3DApp == nullptr) {
        return false;
    }
    const MessageGeometry g = GetMessageGeometry();
    if (g.height <= 0 || ScreenWidth == 0) {
        return false;
    }
    UINT width = 0;
    UINT height = 0;
    MessageTextureSize(g, &width, &height);
    const D3DFORMAT format = D3DApp->presentParameters.BackBufferFormat;
    if (FAILED(D3D_CreateTexture(&MessageTexture, width, height, D3DUSAGE_RENDERTARGET, format,
                                 D3DPOOL_DEFAULT)) ||
        FAILED(MessageTexture->ColorFill(nullptr, 0xFF000000u))) {
        ReleaseLayers();
        return false;
    }
    MessageTexture->SetName("MSG");
    MessageShadowPlane =
        MakeLayer(g, kShadowLayer, LetterboxRect.left + 2, g.top + 2, "MSG SHADOW");
    MessageMaskPlane = MakeLayer(g, kMaskLayer, LetterboxRect.left, g.top, "MSG MASK");
    MessageWordPlane = MakeLayer(g, kWordLayer, LetterboxRect.left, g.top, "MSG WORD");
    if (MessageShadowPlane == nullptr || MessageMaskPlane == nullptr ||
        MessageWordPlane == nullptr) {
        ReleaseLayers();
        return false;
    }
    return true;
}

D3DFont* GetMessageFont() {
    if (MessageFont == nullptr) {
        MessageFont = MakeFont(GetMessageGeometry().fontSize);
    }
    return MessageFont;
}

D3DFont* GetRubyFont() {
    if (RubyFont == nullptr) {
        RubyFont = MakeFont(GetMessageGeometry().rubySize);
    }
    return RubyFont;
}

void ClearMessageTexture() {
    if (MessageTexture == nullptr) {
        return;
    }
    // Only the two copies' rows are ever drawn or shown.
    const MessageGeometry g = GetMessageGeometry();
    const RECT used{
        0, 0, static_cast<LONG>(std::min(MessageTexture->width, ScreenWidth)),
        static_cast<LONG>(std::min<UINT>(MessageTexture->height, static_cast<UINT>(g.height) * 2))};
    MessageTexture->ColorFill(&used, 0xFF000000u);
}

void DrawMessageLine(D3DFont* font, int x, int y, D3DCOLOR colour, const char* line) {
    if (font == nullptr || MessageTexture == nullptr) {
        return;
    }
    const int rows = GetMessageGeometry().height;
    const auto right = static_cast<LONG>(MessageTexture->width);
    const RECT maskRows{0, 0, right, rows};
    const RECT wordRows{0, rows, right, 2 * rows};
    font->SetColor(kMessageMaskColour);
    font->Draw(x, y, line, &maskRows);
    font->SetColor(colour);
    font->Draw(x, y + rows, line, &wordRows);
}

int MessageLayerUpdate(D3DPlane* plane, double, void* userData) {
    const float k = MessageWindowShown != 0 ? WindowFadeTime * 5.0f : 1.0f - WindowFadeTime * 5.0f;
    const int v = 255 - static_cast<int>(255.0f * k);
    const float d = 4.0f * k;
    const D3DCOLOR grey = 0xFF000000u + static_cast<D3DCOLOR>(v) * 0x010101u;
    switch (reinterpret_cast<std::uintptr_t>(userData)) {
        case kShadowLayer:
            plane->SetColor(grey);
            plane->SetPivot(-d, -d);
            break;
        case kMaskLayer:
        case kWordLayer:
            plane->SetColor(grey);
            plane->SetPivot(d, d);
            break;
        case kBackLayer: {
            const D3DCOLOR alpha = (WndColor >> 24) * static_cast<D3DCOLOR>(v) / 255;
            BuildMessageBack((alpha << 24) | (WndColor & 0x00FFFFFFu));
            break;
        }
        default:
            break;
    }
    return 1;
}

void BuildMessageBack(D3DCOLOR colour) {
    if (MessageBackPlane == nullptr) {
        return;
    }
    TLVertex vertices[6];
    MessageBackVertices(colour, vertices);
    if (MessageBackPlane->vertices.size() == 6 && MessageBackPlane->vertexCount == 6) {
        std::copy(vertices, vertices + 6, MessageBackPlane->vertices.begin());
        MessageBackPlane->Transform(true);
        return;
    }
    MessageBackPlane->CreateVB(D3DPT_TRIANGLESTRIP, sizeof(TLVertex), kTLVertexFvf, vertices, 6, 0,
                               D3DPOOL_SYSTEMMEM);
}

void RefreshMessageLayers() {
    for (D3DPlane* plane :
         {MessageShadowPlane, MessageMaskPlane, MessageWordPlane, MessageBackPlane}) {
        if (plane != nullptr) {
            plane->Update(0.0);
        }
    }
}

void ReleaseMessageBackPlane() {
    ReleaseObject(MessageBackPlane);
}

void ReleaseMessageWindow() {
    ReleaseLayers();
    ReleaseMessageBackPlane();
    ReleaseObject(MessageFont);
    ReleaseObject(RubyFont);
}

void DrawMessageWindow() {
    IDirect3DDevice9* device = CurrentDevice();
    if (device == nullptr) {
        return;
    }
    SetMessageWindowStates(device);
    if (MessageBackPlane == nullptr) {
        TLVertex vertices[6];
        MessageBackVertices(WndColor, vertices);
        if (FAILED(D3D_CreateStripPlane(vertices, 6, &MessageBackPlane, 0, D3DPOOL_SYSTEMMEM))) {
            ReleaseObject(MessageBackPlane);
        } else {
            MessageBackPlane->SetName("MSG BACK");
            MessageBackPlane->SetUpdateCallback(MessageLayerUpdate, LayerUserData(kBackLayer));
        }
    }
    if (LineCounter <= 0 || MessageTexture == nullptr) {
        return;
    }
    if (MessageBackPlane != nullptr) {
        MessageBackPlane->Draw();
    }
    if (FacePlane != nullptr) {
        FacePlane->Draw();
    }
    const DWORD filter = WindowFadeTime != 0.0f ? D3DTEXF_LINEAR : D3DTEXF_POINT;
    device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
    SetBlend(device, D3DBLEND_ZERO, D3DBLEND_INVSRCCOLOR);
    for (D3DPlane* layer : {MessageShadowPlane, MessageMaskPlane}) {
        if (layer != nullptr) {
            layer->Draw();
        }
    }
    SetBlend(device, D3DBLEND_ONE, D3DBLEND_ONE);
    if (MessageWordPlane != nullptr) {
        MessageWordPlane->Draw();
    }
    SetBlend(device, D3DBLEND_SRCALPHA, D3DBLEND_INVSRCALPHA);
}
