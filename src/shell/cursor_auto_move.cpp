// The pointer's glide to a menu: each frame covers 1/CursorSpeed of the remaining distance.
#include "foundation/app_settings.h"
#include "media/graphics/d3d_application.h"
#include "platform/win32/cursor_api.h"
#include "platform/win32/window_placement.h"
#include "shell/cursor.h"
#include "shell/game_window.h"

namespace {

POINT cursorTarget{-1, -1};
double glideX = -1.0;
double glideY = -1.0;

bool InClientCoordinates() {
    return WindowedFlag && MainWindow != nullptr;
}

POINT PointerPosition() {
    POINT p{};
    GetCursorPos(&p);
    if (InClientCoordinates()) {
        ScreenToClient(MainWindow, &p);
    }
    return p;
}

void ClearTarget() {
    cursorTarget = POINT{-1, -1};
}

}  // namespace

void SetCursorTarget(int x, int y) {
    cursorTarget = POINT{x, y};
}

void UpdateCursorAutoMove() {
    const POINT p = PointerPosition();
    if (CursorAutoMove == 0 || cursorTarget.x < 0) {
        glideX = p.x;
        glideY = p.y;
        return;
    }
    if (glideX >= 0.0 && (p.x != static_cast<LONG>(glideX) || p.y != static_cast<LONG>(glideY))) {
        ClearTarget();
        return;
    }
    if (p.x == cursorTarget.x && p.y == cursorTarget.y) {
        ClearTarget();
        return;
    }
    if (glideX < 0.0) {
        glideX = p.x;
        glideY = p.y;
    }
    const double s = CursorSpeed == 0 ? 1.0 : static_cast<double>(CursorSpeed);
    const double stepX = ((cursorTarget.x - glideX) + s - 1.0) / s;
    const double stepY = ((cursorTarget.y - glideY) + s - 1.0) / s;
    if (glideX + stepX == glideX || glideY + stepY == glideY) {
        ClearTarget();
    }
    glideX += stepX;
    glideY += stepY;
    POINT moved{static_cast<LONG>(glideX), static_cast<LONG>(glideY)};
    if (InClientCoordinates()) {
        ClientToScreen(MainWindow, &moved);
    }
    SetCursorPos(moved.x, moved.y);
    if (static_cast<LONG>(stepX) == 0 && static_cast<LONG>(stepY) == 0) {
        ClearTarget();
    }
}
