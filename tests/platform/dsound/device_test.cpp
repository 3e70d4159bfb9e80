#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "null_device_fixture.h"
#include "platform/dsound/window_sound.h"

namespace dsound_testing {
namespace {

using Samples = std::vector<std::int16_t>;

struct Driver {
    bool hasGuid;
    GUID guid;
    std::string description;
    std::string module;
};

BOOL CollectDriver(GUID* guid, LPCSTR description, LPCSTR module, LPVOID context) {
    auto* drivers = static_cast<std::vector<Driver>*>(context);
    drivers->push_back(
        Driver{guid != nullptr, guid != nullptr ? *guid : GUID{}, description, module});
    return TRUE;
}

BOOL TakeFirstDriver(GUID* guid, LPCSTR description, LPCSTR module, LPVOID context) {
    CollectDriver(guid, description, module, context);
    return FALSE;
}

class DeviceTest : public NullDeviceTest {};

TEST_F(DeviceTest, EnumerationListsThePrimaryDriverThenTheNullDevice) {
    std::vector<Driver> drivers;
    ASSERT_EQ(DirectSoundEnumerateA(&CollectDriver, &drivers), DS_OK);
    ASSERT_EQ(drivers.size(), 2u);
    EXPECT_FALSE(drivers[0].hasGuid);
    EXPECT_EQ(drivers[0].description, "Primary Sound Driver");
    EXPECT_TRUE(drivers[1].hasGuid);
    EXPECT_EQ(drivers[1].description, "Null Audio Device");
    EXPECT_EQ(drivers[1].module, "null");

    IDirectSound8* device = nullptr;
    ASSERT_EQ(DirectSoundCreate8(&drivers[1].guid, &device, nullptr), DS_OK);
    device->Release();
    ASSERT_EQ(DirectSoundCreate8(&DSDEVID_DefaultPlayback, &device, nullptr), DS_OK);
    device->Release();

    std::vector<Driver> first;
    ASSERT_EQ(DirectSoundEnumerateA(&TakeFirstDriver, &first), DS_OK);
    EXPECT_EQ(first.size(), 1u);
    EXPECT_EQ(DirectSoundEnumerateA(nullptr, nullptr), DSERR_INVALIDPARAM);
}

TEST_F(DeviceTest, CreationFailures) {
    IDirectSound8* device = reinterpret_cast<IDirectSound8*>(&device);
    const GUID unknown = {1, 2, 3, {4, 5, 6, 7, 8, 9, 10, 11}};
    EXPECT_EQ(DirectSoundCreate8(&unknown, &device, nullptr), DSERR_NODRIVER);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(DirectSoundCreate8(nullptr, &device, device_.get()), DSERR_NOAGGREGATION);
    EXPECT_EQ(DirectSoundCreate8(nullptr, nullptr, nullptr), DSERR_INVALIDPARAM);

    dsound_test::SetCreateFailure(DSERR_ALLOCATED);
    EXPECT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DSERR_ALLOCATED);
    EXPECT_EQ(device, nullptr);
    dsound_test::SetCreateFailure(S_OK);
    ASSERT_EQ(DirectSoundCreate8(nullptr, &device, nullptr), DS_OK);
    device->Release();
}

TEST_F(DeviceTest, BufferDescriptionsAreChecked) {
    struct Case {
        const char* name;
        DWORD size;
        DWORD flags;
        DWORD bytes;
        WAVEFORMATEX format;
        bool withFormat;
        HRESULT expected;
    };
    const WAVEFORMATEX mono = PcmFormat(1, 16, 22050);
    WAVEFORMATEX adpcm = mono;
    adpcm.wFormatTag = 2;
    WAVEFORMATEX threeChannels = PcmFormat(3, 16, 22050);
    WAVEFORMATEX twentyFourBits = PcmFormat(2, 24, 22050);
    WAVEFORMATEX badBlock = mono;
    badBlock.nBlockAlign = 4;
    const WAVEFORMATEX tooSlow = PcmFormat(1, 16, 99);
    const WAVEFORMATEX tooFast = PcmFormat(1, 16, 200001);
    const DWORD fullSize = sizeof(DSBUFFERDESC);
    const Case cases[] = {
        {"plain", fullSize, 0, 1024, mono, true, DS_OK},
        {"32-bit record size", 36, DSBCAPS_CTRLVOLUME, 1024, mono, true, DS_OK},
        {"odd size keeps whole frames", fullSize, 0, 1023, mono, true, DS_OK},
        {"wrong record size", 20, 0, 1024, mono, true, DSERR_INVALIDPARAM},
        {"no format", fullSize, 0, 1024, mono, false, DSERR_INVALIDPARAM},
        {"not PCM", fullSize, 0, 1024, adpcm, true, DSERR_BADFORMAT},
        {"three channels", fullSize, 0, 1024, threeChannels, true, DSERR_BADFORMAT},
        {"24 bits", fullSize, 0, 1024, twentyFourBits, true, DSERR_BADFORMAT},
        {"block align", fullSize, 0, 1024, badBlock, true, DSERR_BADFORMAT},
        {"rate too low", fullSize, 0, 1024, tooSlow, true, DSERR_BADFORMAT},
        {"rate too high", fullSize, 0, 1024, tooFast, true, DSERR_BADFORMAT},
        {"too small", fullSize, 0, 3, mono, true, DSERR_INVALIDPARAM},
        {"too large", fullSize, 0, DSBSIZE_MAX + 1, mono, true, DSERR_INVALIDPARAM},
        {"3-D stereo", fullSize, DSBCAPS_CTRL3D, 1024, PcmFormat(2, 16, 22050), true,
         DSERR_INVALIDPARAM},
        {"3-D with pan", fullSize, DSBCAPS_CTRL3D | DSBCAPS_CTRLPAN, 1024, mono, true,
         DSERR_INVALIDPARAM},
        {"primary with a size", fullSize, DSBCAPS_PRIMARYBUFFER, 1024, mono, false,
         DSERR_INVALIDPARAM},
        {"primary with a format", fullSize, DSBCAPS_PRIMARYBUFFER, 0, mono, true,
         DSERR_INVALIDPARAM},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        WAVEFORMATEX format = c.format;
        DSBUFFERDESC description =
            BufferDescription(c.flags, c.bytes, c.withFormat ? &format : nullptr);
        description.dwSize = c.size;
        IDirectSoundBuffer* buffer = reinterpret_cast<IDirectSoundBuffer*>(&format);
        EXPECT_EQ(device_->CreateSoundBuffer(&description, &buffer, nullptr), c.expected);
        if (SUCCEEDED(c.expected)) {
            ASSERT_NE(buffer, nullptr);
            buffer->Release();
        } else {
            EXPECT_EQ(buffer, nullptr);
        }
    }
    WAVEFORMATEX format = mono;
    const DSBUFFERDESC description = BufferDescription(0, 64, &format);
    IDirectSoundBuffer* buffer = nullptr;
    EXPECT_EQ(device_->CreateSoundBuffer(&description, &buffer, device_.get()),
              DSERR_NOAGGREGATION);
    EXPECT_EQ(device_->CreateSoundBuffer(nullptr, &buffer, nullptr), DSERR_INVALIDPARAM);
}

TEST_F(DeviceTest, PrimaryBufferSetsTheOutputRate) {
    IDirectSoundBuffer* primary = nullptr;
    const DSBUFFERDESC description =
        BufferDescription(DSBCAPS_PRIMARYBUFFER | DSBCAPS_CTRLVOLUME, 0, nullptr);
    ASSERT_EQ(device_->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    buffers_.emplace_back(primary);
    IDirectSoundBuffer* again = nullptr;
    ASSERT_EQ(device_->CreateSoundBuffer(&description, &again, nullptr), DS_OK);
    EXPECT_EQ(again, primary);
    again->Release();

    WAVEFORMATEX format{};
    DWORD written = 0;
    ASSERT_EQ(primary->GetFormat(&format, sizeof format, &written), DS_OK);
    EXPECT_EQ(written, sizeof(WAVEFORMATEX));
    EXPECT_EQ(format.nSamplesPerSec, 44100u);
    EXPECT_EQ(format.nChannels, 2);
    EXPECT_EQ(format.wBitsPerSample, 16);

    WAVEFORMATEX wanted = PcmFormat(2, 16, 22050);
    ASSERT_EQ(device_->SetCooperativeLevel(kWindow, DSSCL_NORMAL), DS_OK);
    EXPECT_EQ(primary->SetFormat(&wanted), DSERR_PRIOLEVELNEEDED);
    ASSERT_EQ(device_->SetCooperativeLevel(kWindow, DSSCL_PRIORITY), DS_OK);
    WAVEFORMATEX bad = wanted;
    bad.nBlockAlign = 3;
    EXPECT_EQ(primary->SetFormat(&bad), DSERR_BADFORMAT);
    ASSERT_EQ(primary->SetFormat(&wanted), DS_OK);
    ASSERT_EQ(primary->GetFormat(&format, sizeof format, nullptr), DS_OK);
    EXPECT_EQ(format.nSamplesPerSec, 22050u);

    // A 22,050 Hz sound now plays frame for frame.
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 22050, Pcm16({1, 2, 3}));
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Mix(3), (Samples{1, 1, 2, 2, 3, 3}));

    EXPECT_EQ(primary->Play(0, 0, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(primary->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    DWORD status = 0;
    ASSERT_EQ(primary->GetStatus(&status), DS_OK);
    EXPECT_EQ(status, DSBSTATUS_PLAYING | DSBSTATUS_LOOPING);
    void* part = nullptr;
    DWORD bytes = 0;
    EXPECT_EQ(primary->Lock(0, 4, &part, &bytes, nullptr, nullptr, 0), DSERR_PRIOLEVELNEEDED);
}

TEST_F(DeviceTest, CooperativeLevels) {
    EXPECT_EQ(device_->SetCooperativeLevel(nullptr, DSSCL_PRIORITY), DSERR_INVALIDPARAM);
    EXPECT_EQ(device_->SetCooperativeLevel(kWindow, 0), DSERR_INVALIDPARAM);
    EXPECT_EQ(device_->SetCooperativeLevel(kWindow, 5), DSERR_INVALIDPARAM);
    EXPECT_EQ(device_->SetCooperativeLevel(kWindow, DSSCL_WRITEPRIMARY), DSERR_UNSUPPORTED);
    EXPECT_EQ(device_->SetCooperativeLevel(kWindow, DSSCL_EXCLUSIVE), DS_OK);
}

TEST_F(DeviceTest, ThreeDimensionalSoundFallsOffWithDistance) {
    IDirectSoundBuffer* plain = MakeBuffer(1, 16, 44100, Pcm16({1000, 1000}));
    void* object = &object;
    EXPECT_EQ(plain->QueryInterface(IID_IDirectSound3DBuffer, &object), E_NOINTERFACE);
    EXPECT_EQ(object, nullptr);

    IDirectSoundBuffer* buffer =
        MakeBuffer(1, 16, 44100, Pcm16({16000, 16000, 16000, 16000}), DSBCAPS_CTRL3D);
    ASSERT_EQ(buffer->QueryInterface(IID_IDirectSound3DBuffer, &object), DS_OK);
    ComPtr<IDirectSound3DBuffer> sound3d(static_cast<IDirectSound3DBuffer*>(object));
    IDirectSoundBuffer* primary = nullptr;
    const DSBUFFERDESC description = BufferDescription(DSBCAPS_PRIMARYBUFFER, 0, nullptr);
    ASSERT_EQ(device_->CreateSoundBuffer(&description, &primary, nullptr), DS_OK);
    buffers_.emplace_back(primary);
    ASSERT_EQ(primary->QueryInterface(IID_IDirectSound3DListener, &object), DS_OK);
    ComPtr<IDirectSound3DListener> listener(static_cast<IDirectSound3DListener*>(object));

    ASSERT_EQ(sound3d->SetPosition(0.0f, 0.0f, 2.0f, DS3D_IMMEDIATE), DS_OK);
    ASSERT_EQ(buffer->Play(0, 0, DSBPLAY_LOOPING), DS_OK);
    EXPECT_EQ(Mix(1), (Samples{8000, 8000}));  // twice the minimum distance: half

    ASSERT_EQ(sound3d->SetMaxDistance(1.5f, DS3D_IMMEDIATE), DS_OK);
    EXPECT_EQ(Mix(1), (Samples{10667, 10667}));  // held at the maximum distance

    ASSERT_EQ(listener->SetPosition(0.0f, 0.0f, 2.0f, DS3D_DEFERRED), DS_OK);
    ASSERT_EQ(sound3d->SetMinDistance(4.0f, DS3D_DEFERRED), DS_OK);
    EXPECT_EQ(Mix(1), (Samples{10667, 10667}));
    ASSERT_EQ(listener->CommitDeferredSettings(), DS_OK);
    EXPECT_EQ(Mix(1), (Samples{16000, 16000}));

    D3DVECTOR position{};
    ASSERT_EQ(sound3d->GetPosition(&position), DS_OK);
    EXPECT_EQ(position.z, 2.0f);
    D3DVALUE distance = 0.0f;
    ASSERT_EQ(sound3d->GetMinDistance(&distance), DS_OK);
    EXPECT_EQ(distance, 4.0f);
    EXPECT_EQ(sound3d->SetMinDistance(0.0f, DS3D_IMMEDIATE), DSERR_INVALIDPARAM);
    EXPECT_EQ(sound3d->SetPosition(0.0f, 0.0f, 1.0f, 7), DSERR_INVALIDPARAM);
}

TEST_F(DeviceTest, MixFramesReachesTheNewestDeviceUntilItIsReleased) {
    IDirectSoundBuffer* buffer = MakeBuffer(1, 16, 44100, Pcm16({7, 8}));
    ASSERT_EQ(buffer->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(dsound_test::MixFrames(1), (Samples{7, 7}));
    device_.reset();
    EXPECT_TRUE(dsound_test::MixFrames(1).empty());
    EXPECT_TRUE(dsound_test::MixFrames(nullptr, 1).empty());
    // The buffer outlives its device and stays usable.
    EXPECT_EQ(PlayCursor(buffer), 2u);
}

TEST_F(DeviceTest, BuffersForAWindowGoToTheDeviceOfThatWindow) {
    const HWND other = reinterpret_cast<HWND>(static_cast<std::uintptr_t>(0x2000));
    IDirectSound8* second = nullptr;
    ASSERT_EQ(DirectSoundCreate8(nullptr, &second, nullptr), DS_OK);
    ComPtr<IDirectSound8> secondDevice(second);
    ASSERT_EQ(second->SetCooperativeLevel(other, DSSCL_NORMAL), DS_OK);
    WAVEFORMATEX format = PcmFormat(1, 16, 44100);
    const DSBUFFERDESC description = BufferDescription(DSBCAPS_CTRLVOLUME, 4, &format);
    // The older device's window finds the older device, although a newer one exists.
    IDirectSoundBuffer* made = nullptr;
    ASSERT_EQ(DSoundCreateBufferForWindow(kWindow, &description, &made), DS_OK);
    ComPtr<IDirectSoundBuffer> buffer(made);
    Fill(made, 0, Pcm16({9, 9}));
    ASSERT_EQ(made->Play(0, 0, 0), DS_OK);
    EXPECT_EQ(Mix(1), (Samples{9, 9}));
    EXPECT_EQ(dsound_test::MixFrames(second, 1), (Samples{0, 0}));

    struct Case {
        const char* name;
        HWND window;
        HRESULT result;
    };
    const Case cases[] = {
        {"a window without a device", reinterpret_cast<HWND>(0x3000), DSERR_NODRIVER},
        {"no window", nullptr, DSERR_NODRIVER},
    };
    for (const Case& c : cases) {
        made = reinterpret_cast<IDirectSoundBuffer*>(1);
        EXPECT_EQ(DSoundCreateBufferForWindow(c.window, &description, &made), c.result) << c.name;
        EXPECT_EQ(made, nullptr) << c.name;
    }
    secondDevice.reset();
    EXPECT_EQ(DSoundCreateBufferForWindow(other, &description, &made), DSERR_NODRIVER)
        << "a released device is no longer found";
}

}  // namespace
}  // namespace dsound_testing
