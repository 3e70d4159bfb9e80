// ISprite::Step: the interpreter of the compiled animation code.
//
// A step adds the scaled ticks to the list, frame and total times. While the current frame
// list's time is used up, a command phase finishes that list and runs the next commands (ticks
// per frame, the next list, its move) or passes the end code. Then the frame advance shows the
// frames whose time has come, firing events and playing sounds as it reaches them.

#include <cmath>
#include <cstring>

#include "foundation/app_settings.h"
#include "media/sound/ds_sound.h"
#include "sprite_ui/sprite.h"

namespace {

bool IsCommand(std::uint16_t word) {
    return word == kAnimTicks || word == kAnimFrames || word == kAnimMove;
}

float FloatAt(const std::vector<std::uint16_t>& code, std::uint32_t index) {
    const std::uint32_t bits = static_cast<std::uint32_t>(AnimWord(code, index)) |
                               (static_cast<std::uint32_t>(AnimWord(code, index + 1)) << 16);
    float value = 0.0f;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

}  // namespace

void ISprite::MoveStep(std::uint32_t shares) {
    if (data->kind == kSpriteKind3D) {
        for (std::uint32_t i = 0; i < shares; ++i) {
            x3 += moveX;
            y3 += moveY;
            z3 += moveZ;
        }
        return;
    }
    const float count = static_cast<float>(shares);
    const float signX = (flags & kSpriteMirrorX) != 0 ? -1.0f : 1.0f;
    const float signY = (flags & kSpriteMirrorY) != 0 ? -1.0f : 1.0f;
    x += std::trunc(moveX * signX * count);
    y += std::trunc(moveY * signY * count);
}

ISprite::Phase ISprite::FireEvent() {
    const std::uint16_t event = AnimWord(data->animCode, frameCursor + 1);
    frameCursor += 2;
    const std::uint32_t starts = starts_;
    if (eventCallback != nullptr && eventCallback(this, event, eventContext) == 0) {
        Delete(this);
        return Phase::Deleted;
    }
    return starts_ != starts ? Phase::Restarted : Phase::Go;
}

ISprite::Phase ISprite::FinishList() {
    const std::vector<std::uint16_t>& code = data->animCode;
    while (listActive != 0) {
        const std::uint16_t word = AnimWord(code, frameCursor);
        if (word == kAnimEvent) {
            const Phase fired = FireEvent();
            if (fired != Phase::Go) {
                return fired;
            }
        } else if (word == kAnimSound) {
            frameCursor += 2;
        } else if (word < kAnimFrameLimit) {
            frame = word;
            ++frameCursor;
            if (movesDone < moveSteps) {
                MoveStep(1);
                ++movesDone;
            }
            if (AnimWord(code, frameCursor) == kAnimListEnd) {
                listActive = 0;
            }
        } else {
            // The list end (or, in damaged code, anything else from 0xFF00 up).
            listActive = 0;
        }
    }
    return Phase::Go;
}

ISprite::Phase ISprite::CommandPhase(std::uint32_t ticks, bool* newList, bool* wrapped) {
    const std::vector<std::uint16_t>& code = data->animCode;
    const Phase finished = FinishList();
    if (finished != Phase::Go) {
        return finished;
    }
    if (movesDone < moveSteps) {
        MoveStep(moveSteps - movesDone);
    }
    movesDone = 0;
    if (ticks != 0) {
        listElapsed -= listDuration;
        frameElapsed = listElapsed;
    }
    if (!IsCommand(AnimWord(code, codeCursor))) {
        // The end code; in damaged code any word that is no command ends the animation too.
        const std::uint32_t starts = starts_;
        if (endCallback != nullptr && endCallback(this, listElapsed, endContext) == 0) {
            return Phase::Stop;
        }
        if (starts_ != starts) {
            // The callback started an animation, which its own start has already stepped.
            return Phase::Restarted;
        }
        codeCursor = animationStart;
        totalTicks = listElapsed;
        frameElapsed = listElapsed;
        ticksPerFrame = kAnimDefaultTicks;
        listDuration = 0;
        *wrapped = true;
        if ((flags & kSpriteLoop) == 0) {
            flags &= ~kSpritePlaying;
            return Phase::EndOfPlay;
        }
    }
    if (AnimWord(code, codeCursor) == kAnimTicks) {
        ticksPerFrame = AnimWord(code, codeCursor + 1);
        codeCursor += 2;
    }
    std::uint32_t frames = 0;
    if (AnimWord(code, codeCursor) == kAnimFrames) {
        frameCursor = codeCursor + 1;
        std::uint32_t at = frameCursor;
        for (;;) {
            const std::uint16_t word = AnimWord(code, at);
            if (word == kAnimEvent || word == kAnimSound) {
                at += 2;
            } else if (word < kAnimFrameLimit) {
                ++frames;
                ++at;
            } else {
                break;
            }
        }
        codeCursor = AnimWord(code, at) == kAnimListEnd ? at + 1 : at;
        listDuration = ticksPerFrame * frames;
        const bool still = moveX == 0.0f && moveY == 0.0f && moveZ == 0.0f;
        moveSteps = still ? 0 : frames;
        listActive = 1;
    } else {
        moveSteps = 0;
        listActive = 0;
    }
    movesDone = 0;
    if (AnimWord(code, codeCursor) == kAnimMove) {
        if (data->kind == kSpriteKind3D) {
            const float share = frames != 0 ? 1.0f / static_cast<float>(frames) : 0.0f;
            moveX = FloatAt(code, codeCursor + 1) * share;
            moveY = FloatAt(code, codeCursor + 3) * share;
            moveZ = FloatAt(code, codeCursor + 5) * share;
            codeCursor += 7;
        } else {
            const auto dx = static_cast<std::int16_t>(AnimWord(code, codeCursor + 1));
            const auto dy = static_cast<std::int16_t>(AnimWord(code, codeCursor + 2));
            // A move over no frames moves nothing.
            const float count = static_cast<float>(frames);
            moveX = frames != 0 ? static_cast<float>(dx) / count : 0.0f;
            moveY = frames != 0 ? static_cast<float>(dy) / count : 0.0f;
            moveZ = 0.0f;
            codeCursor += 3;
        }
        const bool still = moveX == 0.0f && moveY == 0.0f && moveZ == 0.0f;
        moveSteps = still ? 0 : frames;
    }
    *newList = true;
    return Phase::Go;
}

ISprite::Phase ISprite::FrameAdvance(bool newList) {
    const std::vector<std::uint16_t>& code = data->animCode;
    for (;;) {
        if (!newList && frameElapsed <= ticksPerFrame) {
            return Phase::Go;
        }
        // Only a list being walked has a frame cursor.
        if (listActive == 0) {
            return Phase::Go;
        }
        for (;;) {
            const std::uint16_t word = AnimWord(code, frameCursor);
            if (word == kAnimEvent) {
                const Phase fired = FireEvent();
                if (fired != Phase::Go) {
                    return fired;
                }
            } else if (word == kAnimSound) {
                const std::uint16_t slot = AnimWord(code, frameCursor + 1);
                frameCursor += 2;
                DSSound* sound = slot < kSpriteMaxSounds ? data->sounds[slot] : nullptr;
                if (sound != nullptr) {
                    sound->SetVolume(static_cast<LONG>(SoundVolume) - 10000);
                    sound->Play(0);
                }
            } else if (word >= kAnimFrameLimit && word != kAnimListEnd) {
                // Damaged code: end the list here.
                listActive = 0;
                return Phase::Go;
            } else {
                break;
            }
        }
        if (!newList) {
            frameElapsed -= ticksPerFrame;
        }
        const std::uint16_t word = AnimWord(code, frameCursor);
        if (word != kAnimListEnd) {
            frame = word;
            ++frameCursor;
        }
        if (movesDone < moveSteps) {
            MoveStep(1);
            ++movesDone;
        }
        newList = false;
        if (AnimWord(code, frameCursor) == kAnimListEnd) {
            listActive = 0;
            return Phase::Go;
        }
    }
}

bool ISprite::TakesTime() const {
    const std::vector<std::uint16_t>& code = data->animCode;
    std::uint32_t ticks = kAnimDefaultTicks;
    std::uint32_t at = animationStart;
    for (;;) {
        const std::uint16_t word = AnimWord(code, at);
        if (word == kAnimTicks) {
            ticks = AnimWord(code, at + 1);
            at += 2;
        } else if (word == kAnimFrames) {
            for (++at;; ++at) {
                const std::uint16_t item = AnimWord(code, at);
                if (item == kAnimEvent || item == kAnimSound) {
                    ++at;
                } else if (item < kAnimFrameLimit) {
                    if (ticks != 0) {
                        return true;
                    }
                } else {
                    break;
                }
            }
            if (AnimWord(code, at) == kAnimListEnd) {
                ++at;
            }
        } else if (word == kAnimMove) {
            at += data->kind == kSpriteKind3D ? 7 : 3;
        } else {
            return false;
        }
    }
}

int ISprite::Step(std::uint32_t ticks) {
    if (data == nullptr) {
        return 0;
    }
    drawnMark = 0;
    if (animationStart == kAnimNoCode || (flags & kSpritePlaying) == 0) {
        return 1;
    }
    const double scaled = std::trunc(static_cast<double>(ticks) * static_cast<double>(speed));
    const std::uint32_t t = !(scaled >= 1.0)         ? 1u
                            : scaled >= 4294967295.0 ? 0xFFFFFFFFu
                                                     : static_cast<std::uint32_t>(scaled);
    totalTicks += t;
    listElapsed += t;
    frameElapsed += t;
    bool newList = false;

    // Ends the step early for a phase that does not let it go on.
    auto finish = [](Phase phase) {
        return phase == Phase::Stop || phase == Phase::Deleted ? 0 : 1;
    };
    if (ticks == 0) {
        bool wrapped = false;
        const Phase phase = CommandPhase(ticks, &newList, &wrapped);
        if (phase != Phase::Go) {
            return finish(phase);
        }
    } else {
        while (listElapsed > listDuration) {
            bool wrapped = false;
            const Phase phase = CommandPhase(ticks, &newList, &wrapped);
            if (phase != Phase::Go) {
                return finish(phase);
            }
            // A looping animation whose passes take no time would never use the time up: the
            // step ends at its end code, its time spent.
            if (wrapped && !TakesTime()) {
                totalTicks = listElapsed = frameElapsed = 0;
                break;
            }
        }
    }
    if (stepCallback != nullptr && stepCallback(this, t, stepContext) == 0) {
        return 0;
    }
    return finish(FrameAdvance(newList));
}
