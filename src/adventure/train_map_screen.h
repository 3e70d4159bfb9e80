#pragma once
// TrainMapScreen: the screen on which the player picks a destination. The script fills it with
// stations (animated marks of the sprite container "train" at fixed places, each under a key
// of its own), figures of characters (containers "ch%02d") standing at stations, and the
// calendar's origin, then opens it over a background picture. While it is open the game mode
// is 3 (TrainMap): the frame step calls Draw and the game window hands its messages to
// OnMessage, and the script does not run. A left click on a station stores the station's key
// in script variable 16 and the key of the figure standing there in 17, plays "se001", and the
// next Draw closes the screen and brings the previous mode back, so that the script goes on
// after its open.
//
// Coordinates given by the script are 800 x 600 design coordinates (PlaceSpriteScaled); the
// hover test works in back-buffer pixels on the rectangles the sprites were last drawn in.

#include <cstdint>
#include <map>

#include "platform/winbase/win_types.h"

class ISprite;
struct D3DTexture;

// The script variables the screen writes on a choice.
constexpr std::uint32_t kChosenStationVariable = 16;
constexpr std::uint32_t kChosenFigureVariable = 17;
// The script variables the calendar reads: month (1..12), week, day type (0..2).
constexpr std::uint32_t kMonthVariable = 12;
constexpr std::uint32_t kWeekVariable = 13;
constexpr std::uint32_t kDayTypeVariable = 14;

class TrainMapScreen {
public:
    TrainMapScreen() = delete;

    static D3DTexture* background;
    // An instance of "train", never shown by the frame's sprite drawing; drawn by Draw at the
    // hovered station as the hover marker.
    static ISprite* baseSprite;
    // Clones of baseSprite: the clock and the month at the origin, the week at origin +
    // (76, 0), the day type at origin + (76, 76).
    static ISprite* calendarClock;
    static ISprite* calendarMonth;
    static ISprite* calendarWeek;
    static ISprite* calendarDay;
    // Calendar origin in design coordinates.
    static std::int32_t originX;
    static std::int32_t originY;
    // Stations by key; a station's user word is, after an open, the character number of the
    // figure standing there (0: none).
    static std::map<std::int32_t, ISprite*> stations;
    // Figures by character number; a figure's user word is the key of its station.
    static std::map<std::int32_t, ISprite*> figures;
    // Key of the station under the pointer, 0 for none; -1 before the first open.
    static std::int32_t hovered;
    // Set by a choice: the next Draw closes the screen.
    static std::int32_t done;
    // The game mode Draw brings back when a station was chosen.
    static int savedMode;

    // Sub-command 103: the calendar's origin.
    static void SetOrigin(std::int32_t x, std::int32_t y);
    // Sub-command 101: a hidden station of "train.kra" playing `animation` at (x, y); false when
    // the container cannot be opened. A second station under a key already present is deleted
    // at once (the first stays) and logged.
    static bool AddStation(std::int32_t key, const char* animation, std::int32_t x, std::int32_t y);
    // Sub-command 102: a hidden figure of "ch%02d.kra" playing "figure%1d", standing at the
    // station `stationKey`; nothing when the container cannot be opened. A second figure of a
    // character already present is deleted at once and logged.
    static void AddFigure(std::int32_t stationKey, std::int32_t character, std::int32_t figure);
    // Sub-command 100: opens the screen over the picture `path` of the image folder and enters
    // game mode 3. False, with everything released and the mode unchanged, when the picture or
    // the container "train" cannot be opened.
    static bool Open(const char* path);
    // 0 when the message is consumed (mouse move, left button down, right button up), else 1.
    static LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    // The frame routine of game mode 3; the frame time is not read.
    static void Draw(float seconds);
    // Deletes every sprite of the screen, empties both maps and releases the background;
    // hovered and done back to 0. The game mode stays as it is.
    static void Close();

    // The calendar's animation names for a month and a day type; out of range: "".
    static const char* MonthName(std::int32_t month);
    static const char* DayTypeName(std::int32_t dayType);
};
