#include "platform/dinput/input_state.h"

#include <algorithm>

#include "platform/dinput/pad_guid.h"

void InputState::SetKey(BYTE dik, bool down) {
    BYTE value = down ? 0x80 : 0x00;
    if (keys_[dik] == value) {
        return;
    }
    keys_[dik] = value;
    Notify(InputEventKind::Key, 0, dik, down ? 1 : 0);
}

void InputState::MoveMouse(LONG dx, LONG dy) {
    if (dx != 0) {
        mouse_.x += dx;
        Notify(InputEventKind::MouseAxis, 0, 0, dx);
    }
    if (dy != 0) {
        mouse_.y += dy;
        Notify(InputEventKind::MouseAxis, 0, 1, dy);
    }
}

void InputState::TurnWheel(LONG delta) {
    if (delta == 0) {
        return;
    }
    mouse_.wheel += delta;
    Notify(InputEventKind::MouseAxis, 0, 2, delta);
}

void InputState::SetMouseButton(int button, bool down) {
    if (button < 0 || button >= kMouseButtons || mouse_.buttons[button] == down) {
        return;
    }
    mouse_.buttons[button] = down;
    Notify(InputEventKind::MouseButton, 0, button, down ? 1 : 0);
}

PadId InputState::AttachPad(PadDescription description, const PadReading& initial) {
    description.axisCount = std::clamp(description.axisCount, 0, kMaxPadAxes);
    description.buttonCount = std::clamp(description.buttonCount, 0, kMaxPadButtons);
    description.hatCount = std::clamp(description.hatCount, 0, kMaxPadHats);
    PadRecord record;
    record.id = nextPadId_++;
    record.productGuid = PadProductGuid(description.joystickGuid);
    // Pads of one model are told apart by the lowest ordinal not taken by an attached one.
    for (int ordinal = 0;; ++ordinal) {
        GUID candidate = PadInstanceGuid(description.joystickGuid, ordinal);
        if (FindPad(candidate) == nullptr) {
            record.instanceGuid = candidate;
            break;
        }
    }
    record.description = std::move(description);
    record.reading = initial;
    pads_.push_back(std::move(record));
    return pads_.back().id;
}

void InputState::DetachPad(PadId pad) {
    auto it = std::find_if(pads_.begin(), pads_.end(),
                           [pad](const PadRecord& record) { return record.id == pad; });
    if (it == pads_.end()) {
        return;
    }
    GUID instance = it->instanceGuid;
    pads_.erase(it);
    std::erase_if(exclusiveHolders_, [&](const auto& holder) { return holder.first == instance; });
}

void InputState::SetPadAxis(PadId pad, int axis, std::int16_t value) {
    PadRecord* record = FindPadRecord(pad);
    if (record == nullptr || axis < 0 || axis >= record->description.axisCount ||
        record->reading.axes[axis] == value) {
        return;
    }
    record->reading.axes[axis] = value;
    Notify(InputEventKind::PadAxis, pad, axis, value);
}

void InputState::SetPadHat(PadId pad, int hat, BYTE bits) {
    PadRecord* record = FindPadRecord(pad);
    if (record == nullptr || hat < 0 || hat >= record->description.hatCount) {
        return;
    }
    bits &= kHatUp | kHatRight | kHatDown | kHatLeft;
    if (record->reading.hats[hat] == bits) {
        return;
    }
    record->reading.hats[hat] = bits;
    Notify(InputEventKind::PadHat, pad, hat, bits);
}

void InputState::SetPadButton(PadId pad, int button, bool down) {
    PadRecord* record = FindPadRecord(pad);
    if (record == nullptr || button < 0 || button >= record->description.buttonCount ||
        record->reading.buttons[button] == down) {
        return;
    }
    record->reading.buttons[button] = down;
    Notify(InputEventKind::PadButton, pad, button, down ? 1 : 0);
}

void InputState::SetPadHeldElsewhere(PadId pad, bool held) {
    if (PadRecord* record = FindPadRecord(pad)) {
        record->heldElsewhere = held;
    }
}

const PadRecord* InputState::FindPad(PadId pad) const {
    for (const PadRecord& record : pads_) {
        if (record.id == pad) {
            return &record;
        }
    }
    return nullptr;
}

const PadRecord* InputState::FindPad(const GUID& instanceGuid) const {
    for (const PadRecord& record : pads_) {
        if (record.instanceGuid == instanceGuid) {
            return &record;
        }
    }
    return nullptr;
}

PadRecord* InputState::FindPadRecord(PadId pad) {
    return const_cast<PadRecord*>(std::as_const(*this).FindPad(pad));
}

int InputState::JoystickId(PadId pad) const {
    for (std::size_t i = 0; i < pads_.size(); ++i) {
        if (pads_[i].id == pad) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

bool InputState::ClaimExclusive(const GUID& device, const void* owner) {
    for (const auto& [guid, holder] : exclusiveHolders_) {
        if (guid == device) {
            return holder == owner;
        }
    }
    exclusiveHolders_.emplace_back(device, owner);
    return true;
}

void InputState::ReleaseExclusive(const GUID& device, const void* owner) {
    std::erase_if(exclusiveHolders_, [&](const auto& holder) {
        return holder.first == device && holder.second == owner;
    });
}

void InputState::AddObserver(InputObserver* observer) {
    if (std::find(observers_.begin(), observers_.end(), observer) == observers_.end()) {
        observers_.push_back(observer);
    }
}

void InputState::RemoveObserver(InputObserver* observer) {
    std::erase(observers_, observer);
}

void InputState::Notify(InputEventKind kind, PadId pad, int index, LONG value) {
    InputEvent event;
    event.kind = kind;
    event.pad = pad;
    event.index = index;
    event.value = value;
    event.timeMs = timeMs_;
    event.sequence = ++sequence_;
    // A copy, so that an observer may come or go while the event is handed out.
    std::vector<InputObserver*> observers = observers_;
    for (InputObserver* observer : observers) {
        if (std::find(observers_.begin(), observers_.end(), observer) != observers_.end()) {
            observer->OnInputEvent(event);
        }
    }
}
