#pragma once
// The game's own pointer: shapes from the cells of "cursor.png" (image folder), shown as the
// device's hardware cursor or drawn by the frame as a software cursor; the glide to a menu
// (cursor auto-move); and the diagnostic FPS line.

#include "platform/winbase/win_types.h"

struct D3DTexture;

// 0..3: a 32 x 32 cell of the cursor image; 5: none (as a request: rebuild now).
constexpr int kCursorShapeNone = 5;
constexpr int kCursorShapeRebuild = 5;
constexpr int kCursorCellSize = 32;

extern int FpsOverlayFlag;

void SetCursorShape(int shape);
// Installs the wanted shape when it changed or a rebuild is due; false when it cannot.
bool UpdateCursor();
void ReleaseCursor();
// Auto-move destination in client pixels; x < 0: none.
void SetCursorTarget(int x, int y);
void UpdateCursorAutoMove();
int GetWantedCursorShape();
int GetFpsOverlayFlag();
// The pointer's hot spot within the cell of `shape`.
POINT CursorHotSpot(int shape);
// The software cursor texture, or null while the hardware cursor is in use or nothing is built.
D3DTexture* SoftwareCursorTexture();
// Frame step: draws the software cursor at the pointer unless a dialog is up.
void DrawSoftwareCursor();
// `frames` counted over `period` seconds (at least 1 s counts).
void DrawFpsOverlay(unsigned frames, double period);
// The FPS line's text for these values, as DrawFpsOverlay writes it.
void FormatFpsLine(char* buffer, int size, unsigned frames, double period);
// Releases the FPS font reference (the font list itself is released at shutdown).
void ReleaseFpsFont();
