#pragma once
// Baloon: the explanation balloon, a speech-bubble box with an optional title and icon drawn
// from the image "baloon" cut into a 4 x 4 grid of quarters, pointing at a spot of the screen.
// Balloons live in one list in creation order. The window layer keeps one open help balloon for
// the current item of the focused window, opened after a countdown (menu_input.h).

#include <vector>

#include "platform/d3d9/d3d9_types.h"
#include "platform/winbase/win_types.h"

struct D3DFont;
struct D3DTexture;

constexpr DWORD kBaloonDrawn = 0x1;  // drawn in this frame; cleared by every input update
constexpr D3DCOLOR kBaloonTitleColour = 0xFF40C0FFu;
constexpr D3DCOLOR kBaloonTextColour = 0xFF000000u;

struct Baloon {
    D3DTexture* texture = nullptr;  // "baloon" of the image folder
    D3DTexture* icon = nullptr;
    D3DFont* font = nullptr;
    DWORD flags = 0;
    int x = 0;  // the point the balloon refers to
    int y = 0;
    int widestLine = 0;  // bytes of the longest line without markup
    int lineCount = 0;
    RECT box{};  // screen coordinates
    int lineHeight = 0;
    char* title = nullptr;
    char* text = nullptr;

    // Appends the balloon to the list.
    Baloon();
    Baloon(const Baloon&) = delete;
    Baloon& operator=(const Baloon&) = delete;

    // 1 when laid out; 0 when the text is missing or an image cannot be loaded.
    int Layout(int pointX, int pointY, const char* titleText, const char* bodyText,
               const char* iconName);
    int Draw();

private:
    friend Baloon* DeleteBaloon(Baloon* baloon);
    ~Baloon();
    void DrawBox(int w, int h, int qw, int qh);
    void DrawTail(int qw, int qh);
    void DrawContents(int qw, int qh);
};

// Null when the layout fails (nothing is shown). `title` and `icon` (an image name) may be null.
Baloon* CreateBaloon(int x, int y, const char* title, const char* text, const char* icon);
// Answers 0 so that callers store it back into their pointer.
Baloon* DeleteBaloon(Baloon* baloon);
const std::vector<Baloon*>& BaloonList();
// With the balloon's font: unless `colour` is opaque black, the text in opaque black one pixel
// to the lower right first; then the text in `colour` at (x, y).
void DrawShadowText(Baloon* baloon, int x, int y, const char* text, D3DCOLOR colour);

// The window layer's open help balloon (or null), the countdown before one may open
// (milliseconds) and the clock of the pulsing highlight (seconds).
extern Baloon* HelpBaloon;
extern DWORD BaloonCountdown;
extern double HighlightClock;

// Highlight clock 0, countdown BaloonTime, and the open help balloon deleted and forgotten.
void ResetBaloonTimer();
