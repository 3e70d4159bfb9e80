// ISprite: the instance list, opening, cloning, deleting, starting and the small accessors.

#include "sprite_ui/sprite.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

#include "foundation/path.h"

namespace {

std::vector<ISprite*>& MutableList() {
    static std::vector<ISprite*> list;
    return list;
}

std::uint64_t& NextSerial() {
    static std::uint64_t serial = 0;
    return serial;
}

// Counts deletions, so that StepAll searches the list only after one happened.
std::uint64_t& Deletions() {
    static std::uint64_t count = 0;
    return count;
}

void CopyName(char* destination, const char* name) {
    std::size_t length = std::strlen(name);
    if (length >= kSpriteNameSize) {
        length = kSpriteNameSize - 1;
    }
    std::memcpy(destination, name, length);
    std::memset(destination + length, 0, kSpriteNameSize - length);
}

}  // namespace

ISprite::ISprite() : serial_(++NextSerial()) {
    MutableList().push_back(this);
}

ISprite::ISprite(const ISprite& other)
    : data(other.data),
      flags(other.flags),
      x3(other.x3),
      y3(other.y3),
      z3(other.z3),
      x(other.x),
      y(other.y),
      moveX(other.moveX),
      moveY(other.moveY),
      moveZ(other.moveZ),
      totalTicks(other.totalTicks),
      listDuration(other.listDuration),
      listElapsed(other.listElapsed),
      frame(other.frame),
      ticksPerFrame(other.ticksPerFrame),
      frameElapsed(other.frameElapsed),
      moveSteps(other.moveSteps),
      movesDone(other.movesDone),
      listActive(other.listActive),
      animationStart(other.animationStart),
      frameCursor(other.frameCursor),
      codeCursor(other.codeCursor),
      drawnRect(other.drawnRect),
      drawnMark(other.drawnMark),
      blendMode(other.blendMode),
      scaleX(other.scaleX),
      scaleY(other.scaleY),
      scaleZ(other.scaleZ),
      colour(other.colour),
      speed(other.speed),
      filter(other.filter),
      stepCallback(other.stepCallback),
      stepContext(other.stepContext),
      endCallback(other.endCallback),
      endContext(other.endContext),
      eventCallback(other.eventCallback),
      eventContext(other.eventContext),
      userWord(other.userWord),
      serial_(++NextSerial()) {
    std::memcpy(animationName, other.animationName, sizeof animationName);
    if (data != nullptr) {
        ++data->refCount;
    }
    MutableList().push_back(this);
}

ISprite::~ISprite() {
    ReleaseData(data);
    data = nullptr;
    auto& list = MutableList();
    list.erase(std::remove(list.begin(), list.end(), this), list.end());
    ++Deletions();
}

const std::vector<ISprite*>& ISprite::List() {
    return MutableList();
}

ISprite* ISprite::Create(const char* name) {
    auto* sprite = new ISprite();
    if (sprite->Open(name) == 0) {
        Delete(sprite);
        return nullptr;
    }
    return sprite;
}

int ISprite::Delete(ISprite* sprite) {
    delete sprite;
    return 0;
}

int ISprite::Open(const char* name) {
    if (name == nullptr) {
        return 0;
    }
    SpriteData* shared = FindSpriteData(name);
    if (shared != nullptr) {
        ++shared->refCount;
    } else {
        shared = new SpriteData();
        CopyName(shared->name, name);
        if (Load(GetPath(PathKind::Sprite, name), shared) == 0) {
            // The record leaves the list, so the next open of the name tries again.
            ReleaseData(shared);
            return 0;
        }
    }
    // Cursors into another container's code mean nothing here.
    ReleaseData(data);
    data = shared;
    ResetAnimation();
    scaleX = scaleY = scaleZ = 1.0f;
    colour = 0xFFFFFFFFu;
    filter = kSpriteFilterPoint;
    return 1;
}

ISprite* ISprite::Clone() const {
    return new ISprite(*this);
}

void ISprite::ResetAnimation() {
    animationStart = frameCursor = codeCursor = kAnimNoCode;
    listActive = 0;
    animationName[0] = '\0';
}

int ISprite::Start(const char* name, std::uint32_t startFlags, std::uint32_t ticks) {
    if (data == nullptr || name == nullptr) {
        return 0;
    }
    const std::uint32_t first = FindAnimation(data->animCode, name);
    if (first == kAnimNoCode) {
        return 0;
    }
    CopyName(animationName, name);
    animationStart = codeCursor = first;
    frameCursor = kAnimNoCode;
    frame = kSpriteNoFrame;
    ticksPerFrame = kAnimDefaultTicks;
    moveX = moveY = moveZ = 0.0f;
    flags = startFlags;
    speed = 1.0f;
    totalTicks = listDuration = listElapsed = frameElapsed = 0;
    moveSteps = movesDone = listActive = 0;
    ++starts_;
    Step(ticks);
    return 1;
}

void ISprite::StepAll(std::uint32_t ticks) {
    if (ticks == 0) {
        for (ISprite* sprite : MutableList()) {
            sprite->drawnMark = 0;
        }
        return;
    }
    struct Entry {
        ISprite* sprite;
        std::uint64_t serial;
    };
    std::vector<Entry> walk;
    walk.reserve(MutableList().size());
    for (ISprite* sprite : MutableList()) {
        walk.push_back({sprite, sprite->serial_});
    }
    const std::uint64_t deletionsBefore = Deletions();
    for (const Entry& entry : walk) {
        if (Deletions() != deletionsBefore) {
            // Something was deleted: step only what is still listed under the same serial.
            const auto& list = MutableList();
            const bool alive = std::any_of(list.begin(), list.end(), [&](ISprite* sprite) {
                return sprite == entry.sprite && sprite->serial_ == entry.serial;
            });
            if (!alive) {
                continue;
            }
        }
        entry.sprite->Step(ticks);
    }
}

void ISprite::SetVisible(bool visible) {
    flags = visible ? flags | kSpriteVisible : flags & ~kSpriteVisible;
}

void ISprite::SetPosition(float px, float py) {
    x = px;
    y = py;
}

void ISprite::GetPosition(int* px, int* py) const {
    if (px != nullptr) {
        *px = SpriteCoordinate(x);
    }
    if (py != nullptr) {
        *py = SpriteCoordinate(y);
    }
}

int SpriteCoordinate(float value) {
    const float whole = std::trunc(value);
    if (!(whole > -2147483648.0f)) {
        return std::numeric_limits<int>::min();
    }
    if (whole >= 2147483648.0f) {
        return std::numeric_limits<int>::max();
    }
    return static_cast<int>(whole);
}

void ISprite::GetPositionFloat(float* px, float* py) const {
    if (px != nullptr) {
        *px = x;
    }
    if (py != nullptr) {
        *py = y;
    }
}

void ISprite::SetScale(float scale) {
    scaleX = scaleY = scaleZ = scale;
}

void ISprite::SetFilter(std::uint32_t textureFilter) {
    filter = textureFilter;
}

void ISprite::SetPlaying(bool playing) {
    flags = playing ? flags | kSpritePlaying : flags & ~kSpritePlaying;
}

void ISprite::SetStepCallback(SpriteCallback callback, void* context) {
    stepCallback = callback;
    stepContext = context;
}

void ISprite::SetEndCallback(SpriteCallback callback, void* context) {
    endCallback = callback;
    endContext = context;
}

void ISprite::SetEventCallback(SpriteCallback callback, void* context) {
    eventCallback = callback;
    eventContext = context;
}
