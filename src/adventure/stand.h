#pragma once
// Standing characters: sprite instances of the containers "stand\NAME" in up to three places
// along the bottom of the letterbox (slot -3 centre, -2 right, -1 left), drawn by the scene in
// the order they were added, and blinking between spells of "stand".

#include <cstdint>
#include <vector>

#include "adventure/script_arguments.h"
#include "sprite_ui/sprite.h"

// Slots of the three places; any other value is a key of the script's own.
constexpr std::int32_t kStandSlotLeft = -1;
constexpr std::int32_t kStandSlotRight = -2;
constexpr std::int32_t kStandSlotCentre = -3;
// Bytes of a stand's name field, the terminating zero included.
constexpr std::size_t kStandNameSize = 16;
// Visible, playing and looping: how every stand animation starts.
constexpr std::uint32_t kStandAnimationFlags = kSpriteVisible | kSpritePlaying | kSpriteLoop;

// ISprite has no virtual destructor: a StandSprite is made with new StandSprite and deleted
// through a StandSprite pointer, never through ISprite::Delete.
class StandSprite : public ISprite {
public:
    // -1 at creation; -3 centre, -2 right, -1 left, other values script keys.
    std::int32_t slot = kStandSlotLeft;
    // Milliseconds until the next blink may start.
    std::uint32_t blinkCountdown = 0;
    // The character's name, cut to 15 bytes on a character boundary.
    char name[kStandNameSize] = {};
    // x relative to the letterbox's left edge, as the last layout placed the stand; a stand of
    // a script's own slot keeps it, so the letterbox margin is applied once.
    float offset = 0.0f;
};

// The standing characters in the order they were added (the drawing order).
extern std::vector<StandSprite*> StandList;

// Adds the character `name` ("stand\NAME" of the sprite folder) at `slot`: slot 0 replaces the
// last stand added and takes its slot, another slot replaces the stand holding it. An empty or
// null name only removes. False (nothing changed) when the container does not open.
bool AddStand(const char* name, std::uint32_t slot);
// Whether any standing character is shown (the choice window places itself by it).
bool AnyStandShown();
// Deletes every standing character.
void ClearStands();
// The stand named `name` (compared as stored, cut to 15 bytes), or null.
StandSprite* FindStand(const char* name);
// Places every stand: one stand alone, or a stand of slot -3, in the middle; -2 at three
// quarters; -1 at a quarter of the letterbox's width; feet on its bottom edge.
void LayoutStands();
// Draws every standing character in list order with the current states.
void DrawStands();

// The step callback of a stand: the blink countdown runs down by `elapsed` ms, not below 0.
int StandStep(ISprite* sprite, std::uint32_t elapsed, void* context);
// The end callback of a stand: "stand" again while the countdown runs; else a blink ("wink",
// or "wink1" / "wink2" by chance) and a new countdown of 2 to 5 seconds.
int StandAnimationEnd(ISprite* sprite, std::uint32_t elapsed, void* context);

// Built-in function 4 (0 s name, 1 u slot (0)): a standing character added at the slot after a
// snapshot of the scene, then cross-faded in; false when the cross-fade starts.
bool BuiltinStand(const ScriptArguments& arguments);
// Built-in function 7 (0 w tenths): every standing character starts "stand" and the scene
// cross-fades over tenths x 100 ms with the window hidden. False.
bool BuiltinStartStands(const ScriptArguments& arguments);
// Built-in function 31: as 4 without the snapshot and the cross-fade. True.
bool BuiltinStandAtOnce(const ScriptArguments& arguments);
