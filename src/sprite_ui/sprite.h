#pragma once
// ISprite: an animated sprite instance. It shares the SpriteData of one sprite container, plays
// one named animation at a time and is drawn as the parts of its current frame. Every instance
// sits in one list in creation order; the frame step steps them all (StepAll) and draws the
// visible ones not yet drawn (DrawAll).
//
// Callbacks get the sprite, a value and their context: the step callback the scaled ticks of a
// step, the end callback the ticks left over when the end code was reached, the event callback
// the event number. A zero result stops the step (step and end callbacks) or deletes the
// instance (event callback). A callback may start another animation on its own sprite; it must
// not delete its sprite except by the event callback's zero.

#include <cstdint>
#include <vector>

#include "sprite_ui/sprite_anim_code.h"
#include "sprite_ui/sprite_container.h"
#include "sprite_ui/sprite_data.h"

class ISprite;

using SpriteCallback = int (*)(ISprite* sprite, std::uint32_t value, void* context);

// Bits of ISprite::flags.
constexpr std::uint32_t kSpriteVisible = 0x01;
constexpr std::uint32_t kSpriteMirrorX = 0x02;
constexpr std::uint32_t kSpriteMirrorY = 0x04;
constexpr std::uint32_t kSpritePlaying = 0x08;
constexpr std::uint32_t kSpriteLoop = 0x10;

// ISprite::frame from a start until the first frame is reached.
constexpr std::uint32_t kSpriteNoFrame = 0xFFFFFFFFu;

// Blend modes of textures (draw modes) and instances: anything else is alpha blending.
constexpr std::uint32_t kSpriteBlendAdditive = 2;
constexpr std::uint32_t kSpriteBlendInverse = 3;

// Texture filters of an instance: 0 leaves the device's filter as it is.
constexpr std::uint32_t kSpriteFilterNone = 0;
constexpr std::uint32_t kSpriteFilterPoint = 1;
constexpr std::uint32_t kSpriteFilterLinear = 2;

class ISprite {
public:
    SpriteData* data = nullptr;
    std::uint32_t flags = 0;
    // The 3-D position, moved by 3-D containers; drawing does not use it.
    float x3 = 0.0f;
    float y3 = 0.0f;
    float z3 = 0.0f;
    // The drawing position, moved by 2-D containers.
    float x = 0.0f;
    float y = 0.0f;
    float moveX = 0.0f;  // move per frame
    float moveY = 0.0f;
    float moveZ = 0.0f;
    std::uint32_t totalTicks = 0;    // since the animation (or its last loop) started
    std::uint32_t listDuration = 0;  // ticks per frame x frames of the current frame list
    std::uint32_t listElapsed = 0;   // ticks spent in the current frame list
    std::uint32_t frame = 0;         // the current frame number
    std::uint32_t ticksPerFrame = 0;
    std::uint32_t frameElapsed = 0;  // ticks spent on the current frame
    std::uint32_t moveSteps = 0;     // frames of the current list that still take a share
    std::uint32_t movesDone = 0;
    std::uint32_t listActive = 0;  // 1 while the frames of a list are being walked
    char animationName[kSpriteNameSize] = {};
    // Word indices into data->animCode; kAnimNoCode while no animation was started.
    std::uint32_t animationStart = kAnimNoCode;
    std::uint32_t frameCursor = kAnimNoCode;
    std::uint32_t codeCursor = kAnimNoCode;
    RECT drawnRect{};
    std::uint32_t drawnMark = 0;  // set when drawn in this frame
    std::uint32_t blendMode = 0;
    float scaleX = 0.0f;
    float scaleY = 0.0f;
    float scaleZ = 0.0f;
    std::uint32_t colour = 0;  // ARGB, the vertex colour of every part
    float speed = 0.0f;        // factor on elapsed ticks
    std::uint32_t filter = 0;  // kSpriteFilter...
    SpriteCallback stepCallback = nullptr;
    void* stepContext = nullptr;
    SpriteCallback endCallback = nullptr;
    void* endContext = nullptr;
    SpriteCallback eventCallback = nullptr;
    void* eventContext = nullptr;
    std::uint32_t userWord = 0;  // free for the owner

    // A zeroed instance appended to the instance list.
    ISprite();
    // Releases the data reference and leaves the instance list.
    ~ISprite();
    ISprite& operator=(const ISprite&) = delete;

    // A new instance opened on the container `name` of the sprite folder; null (and nothing
    // left behind) when it cannot be opened.
    static ISprite* Create(const char* name);
    // Runs the destructor of a non-null sprite and frees it; always 0, for the caller to store.
    static int Delete(ISprite* sprite);
    // Shares the loaded container of that name (ignoring case) or loads it; scale 1, colour
    // 0xFFFFFFFF, filter point. 1 on success.
    int Open(const char* name);
    // A new instance with every field of this one; one more reference to the data.
    ISprite* Clone() const;

    // Fills `data` from the container file at `path` (Windows form); 1 on success.
    static int Load(const char* path, SpriteData* data);
    // Drops one reference; at 0 releases the textures and sounds and frees the record. The
    // new count.
    static int ReleaseData(SpriteData* data);

    // Starts the animation `name` (ignoring case) with `flags` (the whole flags word) and steps
    // it by `ticks` at once; 0 when there is no data or no such animation.
    int Start(const char* name, std::uint32_t startFlags, std::uint32_t ticks);
    // Advances by `ticks` milliseconds. 0 without data, when a callback stopped the step, or
    // when the event callback deleted the instance (the caller must then not touch it).
    int Step(std::uint32_t ticks);
    // Draws the parts of the current frame now and marks the instance drawn.
    void DrawParts();
    // The bounding box of the parts drawn last; (0, 0, -1, -1) without data.
    void GetRect(RECT* rect) const;

    // Every instance by `ticks` (0: only the drawn marks are cleared). Instances made during
    // the walk are not stepped; one deleted during it is not stepped after.
    static void StepAll(std::uint32_t ticks);
    // Every visible instance with data not yet drawn this frame, in list order.
    static void DrawAll(int flags);

    void SetVisible(bool visible);
    void SetPosition(float px, float py);
    void GetPosition(int* px, int* py) const;
    void GetPositionFloat(float* px, float* py) const;
    void SetScale(float scale);
    void SetFilter(std::uint32_t textureFilter);
    const char* GetAnimationName() const { return animationName; }
    void SetPlaying(bool playing);
    std::uint32_t GetTotalTicks() const { return totalTicks; }
    void SetStepCallback(SpriteCallback callback, void* context);
    void SetEndCallback(SpriteCallback callback, void* context);
    void SetEventCallback(SpriteCallback callback, void* context);

    // Measures the animation `name`: a muted clone plays it (visible, playing, looping) in
    // steps of `step` ticks (1 for 0) to its end. Its length in ticks; 0 when it has none.
    std::uint32_t RunToEnd(const char* name, std::uint32_t step) const;
    // Points of `frameNumber` (kSpriteNoFrame: the current frame); 0 when the frame or the
    // point lists are missing.
    int GetPointCount(std::uint32_t frameNumber) const;
    // 1 with the point's coordinates; 0 when the frame, the index or the lists are missing.
    int GetPoint(int* px, int* py, int index, std::uint32_t frameNumber) const;
    bool HasData() const { return data != nullptr; }
    static std::size_t Count();
    static void DeleteAll();
    // An end or step callback that deletes its sprite and stops the step.
    static int DeleteCallback(ISprite* sprite, std::uint32_t value, void* context);
    // Module-wide values that nothing reads (initially 1 and 0), and a call that does nothing.
    static void SetOptionA(int value);
    static int GetOptionA();
    static void SetOptionB(int value);
    static int GetOptionB();
    static void Idle();

    // The instance list, in creation order.
    static const std::vector<ISprite*>& List();

protected:
    ISprite(const ISprite& other);

private:
    // How a part of Step ended: go on; stopped by a callback; deleted by the event callback
    // (not to be touched); started anew by a callback (already stepped); at the end of an
    // animation that does not loop.
    enum class Phase { Go, Stop, Deleted, Restarted, EndOfPlay };
    Phase CommandPhase(std::uint32_t ticks, bool* newList, bool* wrapped);
    // The event at the frame cursor: calls the event callback.
    Phase FireEvent();
    Phase FinishList();
    Phase FrameAdvance(bool newList);
    void MoveStep(std::uint32_t shares);
    // Whether a pass over the current animation uses any time (a frame with ticks above 0).
    bool TakesTime() const;
    void ResetAnimation();

    std::uint64_t serial_ = 0;
    std::uint32_t starts_ = 0;  // counts Start calls, so that Step sees a restart by a callback
};

// A position truncated toward zero and held to the range of an int.
int SpriteCoordinate(float value);

// Places `sprite` given in 800 x 600 design coordinates into the letterboxed screen.
void PlaceSpriteScaled(ISprite* sprite, float x, float y);

// ISprite::Load with the reason of a refusal. With `keep`, the file's bytes and its reading stay
// there (the container writer's dump prints them).
struct SpriteContainerCopy {
    std::vector<std::uint8_t> bytes;
    SpriteContainerFile file;
};
SpriteLoadResult LoadSpriteContainer(const char* path, SpriteData* data, SpriteContainerCopy* keep);
