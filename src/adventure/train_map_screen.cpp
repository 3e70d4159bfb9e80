#include "adventure/train_map_screen.h"

#include <array>
#include <cstdio>
#include <cstring>
#include <string>

#include "adventure/game_mode.h"
#include "foundation/app_settings.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "media/graphics/d3d_functions.h"
#include "media/graphics/ref_counted.h"
#include "media/graphics/texture.h"
#include "media/sound/direct_sound.h"
#include "platform/win32/message_api.h"
#include "script/script_variables.h"
#include "shell/cursor.h"
#include "sprite_ui/menu_window.h"
#include "sprite_ui/sprite.h"

D3DTexture* TrainMapScreen::background = nullptr;
ISprite* TrainMapScreen::baseSprite = nullptr;
ISprite* TrainMapScreen::calendarClock = nullptr;
ISprite* TrainMapScreen::calendarMonth = nullptr;
ISprite* TrainMapScreen::calendarWeek = nullptr;
ISprite* TrainMapScreen::calendarDay = nullptr;
std::int32_t TrainMapScreen::originX = 0;
std::int32_t TrainMapScreen::originY = 0;
std::map<std::int32_t, ISprite*> TrainMapScreen::stations;
std::map<std::int32_t, ISprite*> TrainMapScreen::figures;
std::int32_t TrainMapScreen::hovered = -1;
std::int32_t TrainMapScreen::done = 0;
int TrainMapScreen::savedMode = kGameModeNone;

namespace {

constexpr const char* kTrainContainer = "train";
constexpr const char* kStationContainer = "train.kra";
constexpr const char* kHoverAnimation = "ON/OFF";
constexpr const char* kClockAnimation = "0";
// The prefix of a station's animation while it is hovered.
constexpr const char* kHoveredPrefix = "ON.";
constexpr std::size_t kHoveredPrefixLength = 3;
constexpr const char* kChoiceSound = "se001";
constexpr DWORD kChoiceSoundFlags = 128;  // DSBCAPS_CTRLVOLUME

constexpr std::uint32_t kShown = kSpriteVisible | kSpritePlaying | kSpriteLoop;
constexpr std::uint32_t kPlayingHidden = kSpritePlaying | kSpriteLoop;

// Calendar pieces beside the origin, in design pixels.
constexpr float kCalendarColumn = 76.0f;
constexpr float kCalendarRow = 76.0f;
// A figure stands this far above its station, in design pixels.
constexpr float kFigureLift = 40.0f;

constexpr D3DCOLOR kBackgroundShade = 0xFFC0C0C0u;

constexpr int kCursorArrow = 1;
constexpr int kCursorHand = 2;

// Room for a figure's container and animation names, or a day type with its week number.
constexpr std::size_t kNameBuffer = 64;

constexpr std::array<const char*, 13> kMonthNames = {
    "", "JAN", "FEB", "MAR", "APR", "MAY", "JUN", "JULY", "AUG", "SEP", "OCT", "NOV", "DEC"};
constexpr std::array<const char*, 3> kDayTypeNames = {"WEEKDAY", "SATURDAY", "SUNDAY"};

std::int32_t SignedVar(std::uint32_t index) {
    return static_cast<std::int32_t>(GetVar(index));
}

void WriteVar(std::uint32_t index, std::int32_t value) {
    const auto word = static_cast<std::uint32_t>(value);
    SetVar(index, &word);
}

// A clone of the hidden base sprite placed at design (x, y) and playing `animation`; null when
// no clone can be made.
ISprite* CalendarPiece(float x, float y, const char* animation) {
    ISprite* piece = TrainMapScreen::baseSprite->Clone();
    if (piece == nullptr) {
        LogPrintf("TrainMapScreen::Open: error. calendar piece \"%s\"", animation);
        return nullptr;
    }
    PlaceSpriteScaled(piece, x, y);
    piece->Start(animation, kShown, 0);
    return piece;
}

void DeleteSprite(ISprite*& sprite) {
    ISprite::Delete(sprite);
    sprite = nullptr;
}

void DeleteAll(std::map<std::int32_t, ISprite*>& sprites) {
    for (auto& entry : sprites) {
        ISprite::Delete(entry.second);
    }
    sprites.clear();
}

// Keeps `sprite` under `key` unless the key is taken; a second instance is deleted, since only
// the first is ever shown.
void Insert(std::map<std::int32_t, ISprite*>& sprites, std::int32_t key, ISprite* sprite,
            const char* what) {
    if (!sprites.emplace(key, sprite).second) {
        LogPrintf("TrainMapScreen::Add%s: error. key(%d) already present", what, key);
        ISprite::Delete(sprite);
    }
}

// The station's animation without the hover prefix, and with it while hovered.
std::string StationAnimation(const ISprite& station, bool isHovered) {
    const char* name = station.GetAnimationName();
    if (std::strncmp(name, kHoveredPrefix, kHoveredPrefixLength) == 0) {
        name += kHoveredPrefixLength;
    }
    return isHovered ? std::string(kHoveredPrefix) + name : std::string(name);
}

void SetDrawStates(IDirect3DDevice9* device) {
    device->SetRenderState(D3DRS_ALPHATESTENABLE, FALSE);
    device->SetRenderState(D3DRS_ALPHABLENDENABLE, TRUE);
    device->SetRenderState(D3DRS_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRS_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRS_FOGENABLE, FALSE);
    device->SetRenderState(D3DRS_LIGHTING, FALSE);
    device->SetRenderState(D3DRS_SPECULARENABLE, FALSE);
    const DWORD filter = LetterboxScale == 1.0 ? D3DTEXF_POINT : D3DTEXF_LINEAR;
    device->SetSamplerState(0, D3DSAMP_MINFILTER, filter);
    device->SetSamplerState(0, D3DSAMP_MAGFILTER, filter);
}

}  // namespace

const char* TrainMapScreen::MonthName(std::int32_t month) {
    return month >= 0 && static_cast<std::size_t>(month) < kMonthNames.size()
               ? kMonthNames[static_cast<std::size_t>(month)]
               : "";
}

const char* TrainMapScreen::DayTypeName(std::int32_t dayType) {
    return dayType >= 0 && static_cast<std::size_t>(dayType) < kDayTypeNames.size()
               ? kDayTypeNames[static_cast<std::size_t>(dayType)]
               : "";
}

void TrainMapScreen::SetOrigin(std::int32_t x, std::int32_t y) {
    originX = x;
    originY = y;
}

bool TrainMapScreen::AddStation(std::int32_t key, const char* animation, std::int32_t x,
                                std::int32_t y) {
    ISprite* station = ISprite::Create(kStationContainer);
    if (station == nullptr) {
        return false;
    }
    station->Start(animation, kShown, 0);
    station->SetVisible(false);
    PlaceSpriteScaled(station, static_cast<float>(x), static_cast<float>(y));
    Insert(stations, key, station, "Station");
    return true;
}

void TrainMapScreen::AddFigure(std::int32_t stationKey, std::int32_t character,
                               std::int32_t figure) {
    char name[kNameBuffer];
    std::snprintf(name, sizeof name, "ch%02d.kra", character);
    ISprite* sprite = ISprite::Create(name);
    if (sprite == nullptr) {
        return;
    }
    char animation[kNameBuffer];
    std::snprintf(animation, sizeof animation, "figure%1d", figure);
    sprite->Start(animation, kShown, 0);
    sprite->SetVisible(false);
    PlaceSpriteScaled(sprite, 0.0f, 0.0f);
    sprite->userWord = static_cast<std::uint32_t>(stationKey);
    Insert(figures, character, sprite, "Figure");
}

bool TrainMapScreen::Open(const char* path) {
    // Whatever an earlier open left is let go first, so that nothing is held twice.
    ReleaseRef(background);
    DeleteSprite(baseSprite);
    for (ISprite** piece : {&calendarClock, &calendarMonth, &calendarWeek, &calendarDay}) {
        DeleteSprite(*piece);
    }
    if (FAILED(D3D_LoadTexture(GetPath(PathKind::Image, path), &background, 0, 0, D3DFMT_UNKNOWN,
                               D3DPOOL_MANAGED, D3DX_FILTER_NONE))) {
        Close();
        return false;
    }
    baseSprite = ISprite::Create(kTrainContainer);
    if (baseSprite == nullptr) {
        Close();
        return false;
    }
    PlaceSpriteScaled(baseSprite, 0.0f, 0.0f);
    baseSprite->SetVisible(false);

    const auto x = static_cast<float>(originX);
    const auto y = static_cast<float>(originY);
    const char* dayType = DayTypeName(SignedVar(kDayTypeVariable));
    char week[kNameBuffer];
    std::snprintf(week, sizeof week, "%s%d", dayType, SignedVar(kWeekVariable));
    calendarClock = CalendarPiece(x, y, kClockAnimation);
    calendarMonth = CalendarPiece(x, y, MonthName(SignedVar(kMonthVariable)));
    calendarDay = CalendarPiece(x + kCalendarColumn, y + kCalendarRow, dayType);
    calendarWeek = CalendarPiece(x + kCalendarColumn, y, week);

    const auto lift = kFigureLift * static_cast<float>(LetterboxScale);
    for (auto& [character, figure] : figures) {
        const auto station = stations.find(static_cast<std::int32_t>(figure->userWord));
        if (station == stations.end()) {
            continue;
        }
        int stationX = 0;
        int stationY = 0;
        station->second->GetPosition(&stationX, &stationY);
        station->second->userWord = static_cast<std::uint32_t>(character);
        figure->SetPosition(static_cast<float>(stationX), static_cast<float>(stationY) - lift);
        figure->SetVisible(true);
    }
    for (auto& entry : stations) {
        entry.second->SetVisible(true);
    }
    savedMode = GameMode;
    hovered = 0;
    done = 0;
    GameMode = kGameModeTrainMap;
    return true;
}

LRESULT TrainMapScreen::OnMessage(HWND, UINT message, WPARAM, LPARAM) {
    switch (message) {
        case WM_MOUSEMOVE: {
            const POINT pointer = MenuCursorPosition();
            const std::int32_t before = hovered;
            hovered = 0;
            for (auto& [key, station] : stations) {
                RECT rect{};
                station->GetRect(&rect);
                if (!MenuRectContains(rect, pointer)) {
                    continue;
                }
                hovered = key;
                if (key != before && baseSprite != nullptr) {
                    baseSprite->Start(kHoverAnimation, kPlayingHidden, 0);
                }
            }
            return 0;
        }
        case WM_LBUTTONDOWN: {
            const auto station = stations.find(hovered);
            if (hovered > 0 && station != stations.end()) {
                WriteVar(kChosenStationVariable, hovered);
                WriteVar(kChosenFigureVariable,
                         static_cast<std::int32_t>(station->second->userWord));
                PlaySE(GetPath(PathKind::Sound, kChoiceSound),
                       static_cast<LONG>(SoundVolume) - 10000, nullptr, kChoiceSoundFlags);
                done = 1;
            }
            return 0;
        }
        case WM_RBUTTONUP:
            return 0;
        default:
            return 1;
    }
}

void TrainMapScreen::Draw(float) {
    IDirect3DDevice9* device = CurrentDevice();
    if (device != nullptr) {
        SetDrawStates(device);
    }
    if (background != nullptr) {
        const RECT source{0, 0, static_cast<LONG>(background->imageWidth),
                          static_cast<LONG>(background->imageHeight)};
        background->DrawRect(&LetterboxRect, &source, kBackgroundShade);
    }
    const auto hoveredStation = stations.find(hovered);
    if (done == 0 && hovered != 0 && baseSprite != nullptr && hoveredStation != stations.end()) {
        float x = 0.0f;
        float y = 0.0f;
        hoveredStation->second->GetPositionFloat(&x, &y);
        baseSprite->SetPosition(x, y);
        baseSprite->DrawParts();
    }
    SetCursorShape(hovered != 0 ? kCursorHand : kCursorArrow);
    if (calendarClock != nullptr) {
        calendarClock->DrawParts();
    }
    // A station added while the screen is open keeps hidden until the next open.
    for (auto& [key, station] : stations) {
        const std::string animation = StationAnimation(*station, key == hovered);
        station->Start(animation.c_str(), kPlayingHidden | (station->flags & kSpriteVisible), 0);
    }
    if (done != 0) {
        Close();
        GameMode = savedMode;
    }
    SetCursorShape(hovered >= 0 ? kCursorHand : kCursorArrow);
}

void TrainMapScreen::Close() {
    DeleteAll(stations);
    DeleteAll(figures);
    DeleteSprite(baseSprite);
    for (ISprite** piece : {&calendarClock, &calendarMonth, &calendarWeek, &calendarDay}) {
        DeleteSprite(*piece);
    }
    ReleaseRef(background);
    hovered = 0;
    done = 0;
}
