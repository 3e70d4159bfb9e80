#include "media/sound/direct_sound.h"

#include <algorithm>
#include <cstring>
#include <new>

#include "foundation/log.h"
#include "media/sound/ds_sound.h"
#include "media/sound/wave_data.h"
#include "platform/d3dx/error_names.h"
#include "platform/winbase/file_api.h"

DirectSound* gDirectSound = nullptr;

namespace {

std::vector<SoundDriverInfo>& DriverList() {
    static std::vector<SoundDriverInfo> drivers;
    return drivers;
}

void (*gClosingHook)() = nullptr;

void LogFailure(const char* where, HRESULT result) {
    LogPrintf("%s: %s", where, DXGetErrorString9(result));
}

// The product version of a driver module's version resource. Modules here carry none, so the
// version reads as unknown (all parts 0).
bool ReadModuleProductVersion(const char* module, DWORD* mostSignificant, DWORD* leastSignificant) {
    (void)module;
    *mostSignificant = 0;
    *leastSignificant = 0;
    return false;
}

struct DriverSearch {
    GUID guid{};
    bool found = false;
};

BOOL TryDriver(GUID* guid, LPCSTR description, LPCSTR module, LPVOID context) {
    if (guid == nullptr) {
        return TRUE;  // the primary entry
    }
    IDirectSound8* test = nullptr;
    if (FAILED(DirectSoundCreate8(guid, &test, nullptr))) {
        return TRUE;
    }
    test->Release();
    SoundDriverInfo info;
    info.description = description != nullptr ? description : "";
    info.module = module != nullptr ? module : "";
    ReadModuleProductVersion(info.module.c_str(), &info.productVersionMS, &info.productVersionLS);
    LogPrintf("Sound Driver Name: %s", info.description.c_str());
    LogPrintf("Driver File Name: %s", info.module.c_str());
    LogPrintf("Driver Version: %d.%02d.%02d.%04d", static_cast<int>(info.productVersionMS >> 16),
              static_cast<int>(info.productVersionMS & 0xFFFF),
              static_cast<int>(info.productVersionLS >> 16),
              static_cast<int>(info.productVersionLS & 0xFFFF));
    DriverList().push_back(std::move(info));
    auto* search = static_cast<DriverSearch*>(context);
    search->guid = *guid;
    search->found = true;
    return FALSE;
}

}  // namespace

HRESULT CreateDirectSound(HWND window, const GUID* driver) {
    DestroyDirectSound();
    auto* sound = new (std::nothrow) DirectSound();
    if (sound == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT result = sound->Initialize(window, driver);
    if (FAILED(result)) {
        delete sound;
        return result;
    }
    gDirectSound = sound;
    return result;
}

void DestroyDirectSound() {
    if (gDirectSound == nullptr) {
        return;
    }
    if (gClosingHook != nullptr) {
        gClosingHook();
    }
    DirectSound* sound = gDirectSound;
    gDirectSound = nullptr;
    delete sound;
}

void SetSoundDeviceClosingHook(void (*hook)()) {
    gClosingHook = hook;
}

std::size_t GetSoundDriverCount() {
    return DriverList().size();
}

const SoundDriverInfo* GetSoundDriverInfo(std::size_t index) {
    return index < DriverList().size() ? &DriverList()[index] : nullptr;
}

LONG SoundVolumeFromSetting(LONG setting, LONG level) {
    return setting * level / 10000 - 10000;
}

DirectSound::~DirectSound() {
    ReleaseAllSounds();
}

HRESULT DirectSound::Initialize(HWND owner, const GUID* chosenDriver) {
    if (chosenDriver == nullptr) {
        DriverList().clear();
        DriverSearch search;
        DirectSoundEnumerateA(TryDriver, &search);
        if (search.found) {
            driverGuid_ = search.guid;
            chosenDriver = &driverGuid_;
        }
    } else {
        driverGuid_ = *chosenDriver;
        chosenDriver = &driverGuid_;
    }
    window = owner;
    driver = chosenDriver;
    IDirectSound8* created = nullptr;
    HRESULT result = DirectSoundCreate8(driver, &created, nullptr);
    device.reset(created);
    if (SUCCEEDED(result)) {
        result = device->SetCooperativeLevel(window, DSSCL_PRIORITY);
    }
    if (SUCCEEDED(result)) {
        DSBUFFERDESC description{};
        description.dwSize = sizeof(description);
        description.dwFlags = DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME;
        IDirectSoundBuffer* primary = nullptr;
        result = device->CreateSoundBuffer(&description, &primary, nullptr);
        primaryBuffer.reset(primary);
    }
    if (SUCCEEDED(result)) {
        WAVEFORMATEX format{};
        format.wFormatTag = WAVE_FORMAT_PCM;
        format.nChannels = 2;
        format.nSamplesPerSec = 44100;
        format.wBitsPerSample = 16;
        format.nBlockAlign = 4;
        format.nAvgBytesPerSec = 176400;
        result = primaryBuffer->SetFormat(&format);
    }
    if (FAILED(result)) {
        LogFailure("DirectSound::Initialize", result);
    }
    return result;
}

void DirectSound::SetWindow(HWND owner) {
    window = owner;
}

HRESULT DirectSound::CreateBuffer(DSSound** out, DWORD flags, const WAVEFORMATEX* format,
                                  const void* data, DWORD size) {
    if (out == nullptr) {
        return E_INVALIDARG;
    }
    *out = nullptr;
    auto* sound = new (std::nothrow) DSSound(this);
    if (sound == nullptr) {
        return E_OUTOFMEMORY;
    }
    HRESULT result = device != nullptr ? S_OK : E_FAIL;
    d3dx::ComPtr<IDirectSoundBuffer> plain;
    if (SUCCEEDED(result)) {
        DSBUFFERDESC description{};
        description.dwSize = 36;
        description.dwFlags = flags;
        description.dwBufferBytes = size;
        description.lpwfxFormat = const_cast<LPWAVEFORMATEX>(format);
        IDirectSoundBuffer* created = nullptr;
        result = device->CreateSoundBuffer(&description, &created, nullptr);
        plain.reset(created);
    }
    if (SUCCEEDED(result) && data != nullptr) {
        void* part1 = nullptr;
        void* part2 = nullptr;
        DWORD bytes1 = 0;
        DWORD bytes2 = 0;
        result = plain->Lock(0, size, &part1, &bytes1, &part2, &bytes2, 0);
        if (SUCCEEDED(result)) {
            std::memcpy(part1, data, bytes1);
            if (part2 != nullptr) {
                std::memcpy(part2, static_cast<const BYTE*>(data) + bytes1, bytes2);
            }
            result = plain->Unlock(part1, bytes1, part2, bytes2);
        }
    }
    if (SUCCEEDED(result)) {
        void* buffer8 = nullptr;
        result = plain->QueryInterface(IID_IDirectSoundBuffer8, &buffer8);
        sound->buffer.reset(static_cast<IDirectSoundBuffer8*>(buffer8));
    }
    if (SUCCEEDED(result)) {
        sound->creationFlags = flags;
        AddSound(sound);
        sound->AddRef();
        *out = sound;
    } else {
        LogFailure("DirectSound::CreateBuffer", result);
    }
    sound->Release();
    return result;
}

HRESULT DirectSound::CreateWaveBuffer(DSSound** out, const char* path, DWORD flags,
                                      DWORD minimumSize) {
    if (out != nullptr) {
        *out = nullptr;
    }
    PCMWAVEFORMAT pcm{};
    BYTE* data = nullptr;
    DWORD size = LoadWaveData(path, &pcm, &data, minimumSize);
    if (size == 0 || data == nullptr) {
        LocalFree(data);
        return E_FAIL;
    }
    WAVEFORMATEX format{};
    std::memcpy(&format, &pcm, sizeof(pcm));
    format.cbSize = 0;
    HRESULT result = CreateBuffer(out, flags, &format, data, size);
    LocalFree(data);
    return result;
}

HRESULT DirectSound::DuplicateBuffer(DSSound* original, DSSound** out) {
    if (original == nullptr || out == nullptr || device == nullptr) {
        return E_INVALIDARG;
    }
    *out = nullptr;
    IDirectSoundBuffer* copy = nullptr;
    HRESULT result = device->DuplicateSoundBuffer(original->buffer.get(), &copy);
    d3dx::ComPtr<IDirectSoundBuffer8> buffer8;
    if (SUCCEEDED(result)) {
        const d3dx::ComPtr<IDirectSoundBuffer> duplicate(copy);
        void* queried = nullptr;
        result = duplicate->QueryInterface(IID_IDirectSoundBuffer8, &queried);
        buffer8.reset(static_cast<IDirectSoundBuffer8*>(queried));
    }
    if (FAILED(result)) {
        LogFailure("DirectSound::DuplicateBuffer", result);
        return result;
    }
    auto* sound = new (std::nothrow) DSSound(this);
    if (sound == nullptr) {
        return E_OUTOFMEMORY;
    }
    sound->buffer = std::move(buffer8);
    sound->creationFlags = original->creationFlags;
    AddSound(sound);
    *out = sound;
    return result;
}

HRESULT DirectSound::Get3DListener(IDirectSound3DListener** listener) {
    if (listener == nullptr || primaryBuffer == nullptr) {
        return E_INVALIDARG;
    }
    HRESULT result = primaryBuffer->QueryInterface(IID_IDirectSound3DListener,
                                                   reinterpret_cast<void**>(listener));
    if (FAILED(result)) {
        LogFailure("DirectSound::Get3DListener", result);
    }
    return result;
}

void DirectSound::AddSound(DSSound* sound) {
    std::lock_guard lock(listMutex_);
    sound->id = nextId_++;
    sound->owner = this;
    sound->listed = true;
    sounds_.push_back(sound);
}

void DirectSound::RemoveSound(DSSound* sound) {
    std::lock_guard lock(listMutex_);
    std::erase(sounds_, sound);
}

DSSound* DirectSound::FindSound(const char* name) {
    if (name == nullptr) {
        return nullptr;
    }
    std::lock_guard lock(listMutex_);
    for (DSSound* sound : sounds_) {
        if (sound->name != nullptr && std::strcmp(sound->name.get(), name) == 0) {
            return sound;
        }
    }
    return nullptr;
}

int DirectSound::HasSound(DSSound* sound) {
    std::lock_guard lock(listMutex_);
    return std::find(sounds_.begin(), sounds_.end(), sound) != sounds_.end() ? 1 : 0;
}

std::size_t DirectSound::SoundCount() {
    std::lock_guard lock(listMutex_);
    return sounds_.size();
}

std::vector<DSSound*> DirectSound::Sounds() {
    std::lock_guard lock(listMutex_);
    return sounds_;
}

DSSound* DirectSound::FindSoundById(DWORD id) {
    std::lock_guard lock(listMutex_);
    for (DSSound* sound : sounds_) {
        if (sound->id == id) {
            return sound;
        }
    }
    return nullptr;
}

void DirectSound::ReleaseAllSounds() {
    std::vector<DSSound*> all;
    {
        std::lock_guard lock(listMutex_);
        all = sounds_;
    }
    for (DSSound* sound : all) {
        delete sound;
    }
}

HRESULT CreateSound(const char* path, DSSound** out, DWORD flags, DWORD minimumSize) {
    if (out != nullptr) {
        *out = nullptr;
    }
    if (gDirectSound == nullptr) {
        return E_FAIL;
    }
    return gDirectSound->CreateWaveBuffer(out, path, flags, minimumSize);
}

HRESULT PlaySE(const char* path, LONG volume, DSSound** out, DWORD flags) {
    if (out != nullptr) {
        *out = nullptr;
    }
    DSSound* sound = nullptr;
    HRESULT result = CreateSound(path, &sound, flags, 0);
    if (FAILED(result)) {
        return result;
    }
    sound->SetVolume(volume);
    if (out != nullptr) {
        *out = sound;
        return result;
    }
    return sound->PlayAndDelete();
}
