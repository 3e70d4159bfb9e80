#pragma once
// Internal to the presentation: the windows it draws over and where. A dialog or a menu over a
// window that has a device is drawn into that window's picture when the window's frame is
// presented (the overlay of present_overlay.h); its coordinates are window coordinates, from the
// top-left corner of the window rectangle, menu bar included. A windowed window with a menu bar
// shows it in a strip above the back buffer; in full screen the bar lies on the back buffer's
// top rows.

#include "platform/d3d9/d3d9.h"
#include "platform/ui/imgui_renderer.h"

namespace ui_internal {

// True when nothing on this display would be seen (headless SDL video or none) and no test asked
// for drawing all the same (ui::DrawOnHeadlessDisplay).
bool DrawingUnseen();
// A dialog or box over `owner` can be drawn: the owner has a device, and drawing is seen.
bool DrawsOver(HWND owner);

// The screen position of `window`'s top-left corner (menu bar included).
POINT WindowOrigin(HWND window);
// The rows the back buffer of `window` lies below the window's top: the menu bar's in a window,
// 0 in full screen (where the bar covers the back buffer).
LONG StripRows(HWND window);

// The modal dialogs drawn over `window` (dialog_session.cpp): their frames brought to the current
// font atlas (false when one wanted new glyphs, so that the atlas must be built again), and
// drawn.
bool RefreshDialogFramesOver(HWND window);
void DrawDialogsOver(IDirect3DDevice9* device, HWND window, IDirect3DTexture9* font, float offsetY);

// The menu bar of `window` and the open menu of its menu loop, in window coordinates
// (menu_view.cpp); empty when it has neither.
DrawnFrame BuildMenuFrame(HWND window);

// The overlay of present_overlay.h.
void Overlay(IDirect3DDevice9* device, HWND window, IDirect3DSurface9** strip);

}  // namespace ui_internal
