#include "platform/d3dx/animation_controller.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <new>
#include <string>
#include <vector>

#include "platform/d3d9/d3d9_types.h"
#include "platform/d3dx/com_object.h"

namespace d3dx {
namespace {

// Callback keys one track may report in one advance; a longer list means a tiny period.
constexpr std::size_t kMaxCallbacksPerAdvance = 4096;

struct Output {
    std::string name;
    D3DXMATRIX* matrix;
    D3DXVECTOR3* scale;
    D3DXQUATERNION* rotation;
    D3DXVECTOR3* translation;
};

struct RegisteredSet {
    ID3DXAnimationSet* set;
    D3DXPLAYBACK_TYPE playback;
    double period;
    double ticksPerSecond;
    std::vector<D3DXKEY_CALLBACK> callbacks;
    // Per output, the set's animation of it, or -1.
    std::vector<int> animationOf;
};

enum class EventKind { Enable, Speed, Weight };

struct TrackEvent {
    D3DXEVENTHANDLE handle;
    EventKind kind;
    double start;
    double duration;
    float target;
    D3DXTRANSITION_TYPE transition;
    bool begun = false;
    float from = 0.0f;
};

struct Track {
    ID3DXAnimationSet* set = nullptr;
    D3DXTRACK_DESC desc{0, 1.0f, 1.0f, 0.0, TRUE};
    std::vector<TrackEvent> events;
};

struct Occurrence {
    double time;
    long long pass;
    std::size_t key;
    LPVOID data;
};

class AnimationController final : public ComObject<ID3DXAnimationController> {
public:
    explicit AnimationController(UINT tracks) : tracks_(tracks) {}

    UINT GetMaxNumTracks() override { return static_cast<UINT>(tracks_.size()); }
    UINT GetNumAnimationSets() override { return static_cast<UINT>(sets_.size()); }
    HRESULT GetAnimationSet(UINT index, ID3DXAnimationSet** animationSet) override {
        if (animationSet == nullptr || index >= sets_.size()) {
            return D3DERR_INVALIDCALL;
        }
        *animationSet = sets_[index].set;
        (*animationSet)->AddRef();
        return D3D_OK;
    }
    HRESULT GetAnimationSetByName(LPCSTR name, ID3DXAnimationSet** animationSet) override;
    HRESULT RegisterAnimationSet(ID3DXAnimationSet* animationSet) override;
    HRESULT UnregisterAnimationSet(ID3DXAnimationSet* animationSet) override;
    HRESULT RegisterAnimationOutput(LPCSTR name, D3DXMATRIX* matrix, D3DXVECTOR3* scale,
                                    D3DXQUATERNION* rotation, D3DXVECTOR3* translation) override;
    HRESULT SetTrackAnimationSet(UINT track, ID3DXAnimationSet* animationSet) override;
    HRESULT GetTrackAnimationSet(UINT track, ID3DXAnimationSet** animationSet) override;
    HRESULT SetTrackEnable(UINT track, BOOL enable) override {
        return track < tracks_.size() ? (tracks_[track].desc.Enable = enable != FALSE, D3D_OK)
                                      : D3DERR_INVALIDCALL;
    }
    HRESULT SetTrackPosition(UINT track, DOUBLE position) override {
        return track < tracks_.size() ? (tracks_[track].desc.Position = position, D3D_OK)
                                      : D3DERR_INVALIDCALL;
    }
    HRESULT SetTrackSpeed(UINT track, FLOAT speed) override {
        return track < tracks_.size() ? (tracks_[track].desc.Speed = speed, D3D_OK)
                                      : D3DERR_INVALIDCALL;
    }
    HRESULT SetTrackWeight(UINT track, FLOAT weight) override {
        return track < tracks_.size() ? (tracks_[track].desc.Weight = weight, D3D_OK)
                                      : D3DERR_INVALIDCALL;
    }
    HRESULT GetTrackDesc(UINT track, D3DXTRACK_DESC* desc) override {
        if (track >= tracks_.size() || desc == nullptr) {
            return D3DERR_INVALIDCALL;
        }
        *desc = tracks_[track].desc;
        return D3D_OK;
    }
    D3DXEVENTHANDLE KeyTrackEnable(UINT track, BOOL enable, DOUBLE startTime) override {
        return Key(track, EventKind::Enable, enable != FALSE ? 1.0f : 0.0f, startTime, 0.0,
                   D3DXTRANSITION_LINEAR);
    }
    D3DXEVENTHANDLE KeyTrackSpeed(UINT track, FLOAT speed, DOUBLE startTime, DOUBLE duration,
                                  D3DXTRANSITION_TYPE transition) override {
        return Key(track, EventKind::Speed, speed, startTime, duration, transition);
    }
    D3DXEVENTHANDLE KeyTrackWeight(UINT track, FLOAT weight, DOUBLE startTime, DOUBLE duration,
                                   D3DXTRANSITION_TYPE transition) override {
        return Key(track, EventKind::Weight, weight, startTime, duration, transition);
    }
    HRESULT UnkeyAllTrackEvents(UINT track) override {
        if (track >= tracks_.size()) {
            return D3DERR_INVALIDCALL;
        }
        tracks_[track].events.clear();
        return D3D_OK;
    }
    HRESULT AdvanceTime(DOUBLE timeDelta, ID3DXAnimationCallbackHandler* handler) override;
    HRESULT ResetTime() override {
        for (Track& track : tracks_) {
            for (TrackEvent& event : track.events) {
                event.start -= time_;
            }
        }
        time_ = 0.0;
        return D3D_OK;
    }
    DOUBLE GetTime() override { return time_; }

private:
    ~AnimationController() override {
        for (Track& track : tracks_) {
            if (track.set != nullptr) {
                track.set->Release();
            }
        }
        for (RegisteredSet& entry : sets_) {
            entry.set->Release();
        }
    }

    D3DXEVENTHANDLE Key(UINT track, EventKind kind, float target, double start, double duration,
                        D3DXTRANSITION_TYPE transition) {
        if (track >= tracks_.size() || !std::isfinite(start) || !std::isfinite(duration)) {
            return 0;
        }
        const D3DXEVENTHANDLE handle = nextHandle_++;
        tracks_[track].events.push_back(
            TrackEvent{handle, kind, start, std::max(0.0, duration), target, transition});
        return handle;
    }
    RegisteredSet* Find(ID3DXAnimationSet* set) {
        for (RegisteredSet& entry : sets_) {
            if (entry.set == set) {
                return &entry;
            }
        }
        return nullptr;
    }
    void MapOutputs(RegisteredSet* entry) {
        entry->animationOf.assign(outputs_.size(), -1);
        for (std::size_t o = 0; o < outputs_.size(); ++o) {
            UINT animation = 0;
            if (SUCCEEDED(
                    entry->set->GetAnimationIndexByName(outputs_[o].name.c_str(), &animation))) {
                entry->animationOf[o] = static_cast<int>(animation);
            }
        }
    }
    void ApplyEvents(Track* track, double now);
    void CollectCallbacks(const RegisteredSet& entry, double from, double to,
                          std::vector<Occurrence>* found) const;
    void WriteOutputs();

    std::vector<Track> tracks_;
    std::vector<RegisteredSet> sets_;
    std::vector<Output> outputs_;
    double time_ = 0.0;
    D3DXEVENTHANDLE nextHandle_ = 1;
};

HRESULT AnimationController::GetAnimationSetByName(LPCSTR name, ID3DXAnimationSet** animationSet) {
    if (name == nullptr || animationSet == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *animationSet = nullptr;
    for (RegisteredSet& entry : sets_) {
        if (std::strcmp(entry.set->GetName(), name) == 0) {
            *animationSet = entry.set;
            entry.set->AddRef();
            return D3D_OK;
        }
    }
    return D3DERR_NOTFOUND;
}

HRESULT AnimationController::RegisterAnimationSet(ID3DXAnimationSet* animationSet) {
    if (animationSet == nullptr || Find(animationSet) != nullptr) {
        return D3DERR_INVALIDCALL;
    }
    RegisteredSet entry{animationSet,
                        animationSet->GetPlaybackType(),
                        animationSet->GetPeriod(),
                        animationSet->GetSourceTicksPerSecond(),
                        std::vector<D3DXKEY_CALLBACK>(animationSet->GetNumCallbackKeys()),
                        {}};
    if (!entry.callbacks.empty() && FAILED(animationSet->GetCallbackKeys(entry.callbacks.data()))) {
        return D3DERR_INVALIDCALL;
    }
    MapOutputs(&entry);
    animationSet->AddRef();
    sets_.push_back(std::move(entry));
    return D3D_OK;
}

HRESULT AnimationController::UnregisterAnimationSet(ID3DXAnimationSet* animationSet) {
    const auto found = std::find_if(sets_.begin(), sets_.end(), [animationSet](const auto& e) {
        return e.set == animationSet;
    });
    if (animationSet == nullptr || found == sets_.end()) {
        return D3DERR_INVALIDCALL;
    }
    for (Track& track : tracks_) {
        if (track.set == animationSet) {
            track.set = nullptr;
            animationSet->Release();
        }
    }
    sets_.erase(found);
    animationSet->Release();
    return D3D_OK;
}

HRESULT AnimationController::RegisterAnimationOutput(LPCSTR name, D3DXMATRIX* matrix,
                                                     D3DXVECTOR3* scale, D3DXQUATERNION* rotation,
                                                     D3DXVECTOR3* translation) {
    if (name == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    outputs_.push_back(Output{name, matrix, scale, rotation, translation});
    for (RegisteredSet& entry : sets_) {
        MapOutputs(&entry);
    }
    return D3D_OK;
}

HRESULT AnimationController::SetTrackAnimationSet(UINT track, ID3DXAnimationSet* animationSet) {
    if (track >= tracks_.size() || (animationSet != nullptr && Find(animationSet) == nullptr)) {
        return D3DERR_INVALIDCALL;
    }
    if (animationSet != nullptr) {
        animationSet->AddRef();
    }
    if (tracks_[track].set != nullptr) {
        tracks_[track].set->Release();
    }
    tracks_[track].set = animationSet;
    return D3D_OK;
}

HRESULT AnimationController::GetTrackAnimationSet(UINT track, ID3DXAnimationSet** animationSet) {
    if (track >= tracks_.size() || animationSet == nullptr) {
        return D3DERR_INVALIDCALL;
    }
    *animationSet = tracks_[track].set;
    if (*animationSet != nullptr) {
        (*animationSet)->AddRef();
    }
    return D3D_OK;
}

void AnimationController::ApplyEvents(Track* track, double now) {
    std::stable_sort(track->events.begin(), track->events.end(),
                     [](const TrackEvent& a, const TrackEvent& b) { return a.start < b.start; });
    for (TrackEvent& event : track->events) {
        if (event.start > now) {
            break;
        }
        if (event.kind == EventKind::Enable) {
            track->desc.Enable = event.target != 0.0f ? TRUE : FALSE;
            continue;
        }
        float& value = event.kind == EventKind::Speed ? track->desc.Speed : track->desc.Weight;
        if (!event.begun) {
            event.begun = true;
            event.from = value;
        }
        double t = event.duration > 0.0 ? (now - event.start) / event.duration : 1.0;
        t = std::clamp(t, 0.0, 1.0);
        if (event.transition == D3DXTRANSITION_EASEINEASEOUT) {
            t = t * t * (3.0 - 2.0 * t);
        }
        value = static_cast<float>(event.from + (event.target - event.from) * t);
    }
}

void AnimationController::CollectCallbacks(const RegisteredSet& entry, double from, double to,
                                           std::vector<Occurrence>* found) const {
    const double period = entry.period;
    auto add = [&](double time, long long pass, std::size_t key) {
        if (time >= from && time < to && found->size() < kMaxCallbacksPerAdvance) {
            found->push_back(Occurrence{time, pass, key, entry.callbacks[key].pCallbackData});
        }
    };
    for (std::size_t k = 0; k < entry.callbacks.size(); ++k) {
        const double at = entry.callbacks[k].Time / entry.ticksPerSecond;
        // Keys beyond the period are never reached.
        if (!(at >= 0.0) || at > period) {
            continue;
        }
        if (entry.playback == D3DXPLAY_ONCE || !(period > 0.0)) {
            add(at, 0, k);
            continue;
        }
        const double cycle = entry.playback == D3DXPLAY_PINGPONG ? 2.0 * period : period;
        const double firstPass = std::max(0.0, std::floor((from - at) / cycle) - 1.0);
        // So far on that counting passes no longer moves; nothing is reported there.
        if (!(firstPass < 1e12)) {
            continue;
        }
        for (double n = firstPass; found->size() < kMaxCallbacksPerAdvance; n += 1.0) {
            const double forward = at + n * cycle;
            if (forward >= to) {
                break;
            }
            const auto pass = static_cast<long long>(n);
            add(forward, pass * 2, k);
            // Going back, a ping-pong pass meets the key again (not at its ends, met once).
            if (entry.playback == D3DXPLAY_PINGPONG && at > 0.0 && at < period) {
                add(n * cycle + 2.0 * period - at, pass * 2 + 1, k);
            }
        }
    }
    std::stable_sort(found->begin(), found->end(), [](const Occurrence& a, const Occurrence& b) {
        if (a.time != b.time) {
            return a.time < b.time;
        }
        return a.pass != b.pass ? a.pass < b.pass : a.key < b.key;
    });
}

void AnimationController::WriteOutputs() {
    for (std::size_t o = 0; o < outputs_.size(); ++o) {
        float total = 0.0f;
        D3DXVECTOR3 scale{0, 0, 0};
        D3DXVECTOR3 translation{0, 0, 0};
        D3DXQUATERNION rotation{0, 0, 0, 0};
        D3DXQUATERNION first{0, 0, 0, 1};
        for (const Track& track : tracks_) {
            if (track.set == nullptr || !track.desc.Enable || !(track.desc.Weight > 0.0f)) {
                continue;
            }
            const RegisteredSet* entry = nullptr;
            for (const RegisteredSet& e : sets_) {
                entry = e.set == track.set ? &e : entry;
            }
            if (entry == nullptr || entry->animationOf[o] < 0) {
                continue;
            }
            D3DXVECTOR3 s;
            D3DXQUATERNION r;
            D3DXVECTOR3 t;
            track.set->GetSRT(track.set->GetPeriodicPosition(track.desc.Position),
                              static_cast<UINT>(entry->animationOf[o]), &s, &r, &t);
            const float w = track.desc.Weight;
            if (total == 0.0f) {
                first = r;
            }
            // Blend along the shorter arc.
            const float side =
                first.x * r.x + first.y * r.y + first.z * r.z + first.w * r.w < 0.0f ? -w : w;
            scale = {scale.x + s.x * w, scale.y + s.y * w, scale.z + s.z * w};
            translation = {translation.x + t.x * w, translation.y + t.y * w,
                           translation.z + t.z * w};
            rotation = {rotation.x + r.x * side, rotation.y + r.y * side, rotation.z + r.z * side,
                        rotation.w + r.w * side};
            total += w;
        }
        if (!(total > 0.0f)) {
            continue;
        }
        scale = {scale.x / total, scale.y / total, scale.z / total};
        translation = {translation.x / total, translation.y / total, translation.z / total};
        D3DXQuaternionNormalize(&rotation, &rotation);
        const Output& output = outputs_[o];
        if (output.matrix != nullptr) {
            D3DXMATRIX s;
            D3DXMATRIX r;
            D3DXMATRIX t;
            D3DXMatrixScaling(&s, scale.x, scale.y, scale.z);
            D3DXMatrixRotationQuaternion(&r, &rotation);
            D3DXMatrixTranslation(&t, translation.x, translation.y, translation.z);
            *output.matrix = s * r * t;
        }
        if (output.scale != nullptr) {
            *output.scale = scale;
        }
        if (output.rotation != nullptr) {
            *output.rotation = rotation;
        }
        if (output.translation != nullptr) {
            *output.translation = translation;
        }
    }
}

HRESULT AnimationController::AdvanceTime(DOUBLE timeDelta, ID3DXAnimationCallbackHandler* handler) {
    if (!(timeDelta >= 0.0) || !std::isfinite(timeDelta)) {
        return D3DERR_INVALIDCALL;
    }
    const double now = time_ + timeDelta;
    std::vector<std::vector<Occurrence>> passed(tracks_.size());
    for (std::size_t i = 0; i < tracks_.size(); ++i) {
        Track& track = tracks_[i];
        // The speed over the step: the mean of its values at both ends, events that start at
        // the old time already applied (exact while it changes linearly).
        ApplyEvents(&track, time_);
        const double speedBefore = track.desc.Speed;
        ApplyEvents(&track, now);
        const double from = track.desc.Position;
        track.desc.Position = from + timeDelta * (speedBefore + track.desc.Speed) * 0.5;
        const RegisteredSet* entry = track.set != nullptr ? Find(track.set) : nullptr;
        if (handler != nullptr && entry != nullptr && track.desc.Enable &&
            std::isfinite(track.desc.Position) && std::isfinite(from)) {
            CollectCallbacks(*entry, from, track.desc.Position, &passed[i]);
        }
    }
    time_ = now;
    WriteOutputs();
    for (std::size_t i = 0; i < passed.size(); ++i) {
        ID3DXAnimationSet* playing = tracks_[i].set;
        for (const Occurrence& occurrence : passed[i]) {
            // A handler that puts another set on the track ends that track's keys.
            if (tracks_[i].set != playing) {
                break;
            }
            handler->HandleCallback(static_cast<UINT>(i), occurrence.data);
        }
    }
    return D3D_OK;
}

}  // namespace

HRESULT CreateAnimationController(UINT tracks, ID3DXAnimationController** controller) {
    if (controller == nullptr || tracks == 0 || tracks > 64) {
        return D3DERR_INVALIDCALL;
    }
    *controller = new (std::nothrow) AnimationController(tracks);
    return *controller != nullptr ? D3D_OK : E_OUTOFMEMORY;
}

}  // namespace d3dx
