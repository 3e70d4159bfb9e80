// ISprite: measuring an animation, point lists, and the small helpers of the instance list.

#include "foundation/app_settings.h"
#include "sprite_ui/sprite.h"

namespace {

// Steps RunToEnd takes at most, so that a huge animation measured in steps of 1 tick ends.
constexpr std::uint32_t kRunToEndMaxSteps = 1u << 24;

int optionA = 1;
int optionB = 0;

struct Measure {
    std::uint32_t step = 1;
    std::uint32_t length = 0;
    bool ended = false;
};

int RecordEnd(ISprite* sprite, std::uint32_t /*leftOver*/, void* context) {
    auto* measure = static_cast<Measure*>(context);
    if (!measure->ended) {
        const std::uint32_t total = sprite->GetTotalTicks();
        measure->length = total > measure->step ? total - measure->step : 0;
        measure->ended = true;
    }
    return 1;
}

const SpritePointList* PointList(const SpriteData* data, std::uint32_t frame) {
    if (data == nullptr || frame >= data->pointLists.size()) {
        return nullptr;
    }
    return &data->pointLists[frame];
}

}  // namespace

std::uint32_t ISprite::RunToEnd(const char* name, std::uint32_t step) const {
    Measure measure;
    measure.step = step == 0 ? 1 : step;
    ISprite* clone = Clone();
    // The owner's callbacks are not run for a measurement.
    clone->SetStepCallback(nullptr, nullptr);
    clone->SetEventCallback(nullptr, nullptr);
    clone->SetEndCallback(RecordEnd, &measure);
    const DWORD savedVolume = SoundVolume;
    SoundVolume = 0;
    if (clone->Start(name, kSpriteVisible | kSpritePlaying | kSpriteLoop, 0) != 0) {
        for (std::uint32_t i = 0; !measure.ended && i < kRunToEndMaxSteps; ++i) {
            if (clone->Step(measure.step) == 0) {
                break;
            }
        }
    }
    SoundVolume = savedVolume;
    Delete(clone);
    return measure.length;
}

int ISprite::GetPointCount(std::uint32_t frameNumber) const {
    const SpritePointList* list =
        PointList(data, frameNumber == kSpriteNoFrame ? frame : frameNumber);
    return list != nullptr ? list->count : 0;
}

int ISprite::GetPoint(int* px, int* py, int index, std::uint32_t frameNumber) const {
    const SpritePointList* list =
        PointList(data, frameNumber == kSpriteNoFrame ? frame : frameNumber);
    if (list == nullptr || index < 0 || index >= list->count) {
        return 0;
    }
    const std::uint32_t point = list->points[index];
    if (px != nullptr) {
        *px = static_cast<std::int16_t>(point & 0xFFFF);
    }
    if (py != nullptr) {
        *py = static_cast<std::int16_t>(point >> 16);
    }
    return 1;
}

std::size_t ISprite::Count() {
    return List().size();
}

void ISprite::DeleteAll() {
    while (!List().empty()) {
        Delete(List().front());
    }
}

int ISprite::DeleteCallback(ISprite* sprite, std::uint32_t /*value*/, void* /*context*/) {
    Delete(sprite);
    return 0;
}

void ISprite::SetOptionA(int value) {
    optionA = value;
}

int ISprite::GetOptionA() {
    return optionA;
}

void ISprite::SetOptionB(int value) {
    optionB = value;
}

int ISprite::GetOptionB() {
    return optionB;
}

void ISprite::Idle() {}
