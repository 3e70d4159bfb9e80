#pragma once
// The message window: one render-target texture holding each laid-out line twice (a grey mask
// copy in rows 0..W-1, the coloured copy in rows W..2W-1), three planes that show it as the
// shadow, mask and word layers, the gradient "MSG BACK" in the window colour beneath them, and
// their open and close fade. The adventure frame draws them; the layout (message_layout.h)
// writes the text.

#include <cstdint>

#include "platform/d3d9/d3d9_types.h"

struct D3DFont;
struct D3DPlane;
struct D3DTexture;

constexpr int kSpeakerNameLength = 64;

extern int MessageWindowShown;
// Seconds left of the open or close fade.
extern float WindowFadeTime;
// Lines laid out on the current page; -1: the next text starts a new page.
extern std::int32_t LineCounter;
// The current speaker (Shift-JIS); empty: none.
extern char SpeakerName[kSpeakerNameLength];

// Length of the open and close fade, when adventure effects are on.
constexpr float kWindowFadeSeconds = 0.2f;

// Colours (ARGB) of the mask copy, the text and the speaker line, each also as shown while the
// backlog shows an older entry.
constexpr D3DCOLOR kMessageMaskColour = 0xFFC0C0C0u;
constexpr D3DCOLOR kMessageTextColour = 0xFFFFFFFFu;
constexpr D3DCOLOR kMessageOldTextColour = 0xFFC0C0C0u;
constexpr D3DCOLOR kSpeakerColour = 0xFF7FF4FFu;
constexpr D3DCOLOR kSpeakerOldColour = 0xFF60C0C0u;

// The window's measures in pixels, from MessageFontScale, LetterboxRect and ScreenHeight.
struct MessageGeometry {
    int fontSize;    // F: MessageFontScale x 26 / 20
    int rubySize;    // R: F x 2 / 5
    int lineHeight;  // H: F x 1.5
    int top;         // T: screen row of the window's top, four and a half lines above the bottom
    int height;      // W: rows of one copy in the texture, down to the bottom of the screen
};
MessageGeometry GetMessageGeometry();

// The window's objects; each null until made and again after ReleaseMessageWindow.
extern D3DTexture* MessageTexture;
extern D3DPlane* MessageShadowPlane;
extern D3DPlane* MessageMaskPlane;
extern D3DPlane* MessageWordPlane;
extern D3DPlane* MessageBackPlane;
extern D3DFont* MessageFont;
extern D3DFont* RubyFont;

// Makes the texture (filled opaque black) and the three layers when absent; false when any
// part cannot be made, every part then released again.
bool BuildMessageWindow();
// The message font (and the ruby font) of the current geometry, made on first use; null when
// it cannot be made.
D3DFont* GetMessageFont();
D3DFont* GetRubyFont();
// Fills the texture's used rows with opaque black (a new page).
void ClearMessageTexture();
// Draws `line` with `font` into the texture: at (x, y) in the mask colour, clipped to the
// mask rows, and at (x, y + W) in `colour`, clipped to the word rows.
void DrawMessageLine(D3DFont* font, int x, int y, D3DCOLOR colour, const char* line);

// The update callback of the three layers (user data 0 shadow, 1 mask, 2 word) and of
// "MSG BACK" (3): the fade of WindowFadeTime. Answers 1.
int MessageLayerUpdate(D3DPlane* plane, double elapsed, void* userData);
// Rebuilds the vertices of "MSG BACK" in `colour`.
void BuildMessageBack(D3DCOLOR colour);
// Updates the three layers and "MSG BACK" with elapsed 0, so that a change of the window's
// state shows at once.
void RefreshMessageLayers();
// Releases "MSG BACK", so that the next frame builds it again in the current WndColor.
void ReleaseMessageBackPlane();
// Releases every object of the window: layers, "MSG BACK", texture and both fonts.
void ReleaseMessageWindow();

// The adventure frame's drawing of the window: the device states, "MSG BACK" built when
// missing, and, while the page has lines, the back, the face and the three layers.
void DrawMessageWindow();
