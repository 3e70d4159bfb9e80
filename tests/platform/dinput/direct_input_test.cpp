#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "dinput_fixture.h"

namespace qvn::test {
namespace {

using DirectInputTest = DInputTest;

TEST(DirectInput8CreateTest, ChecksVersionInterfaceAndOutPointer) {
    dinput_test::UseTestInputBackend();
    struct Unknown : IUnknown {
        HRESULT QueryInterface(REFIID, void**) override { return E_NOINTERFACE; }
        ULONG AddRef() override { return 1; }
        ULONG Release() override { return 1; }
    } outer;
    struct Case {
        const char* name;
        DWORD version;
        const GUID* iid;
        IUnknown* outer;
        HRESULT expected;
    };
    const Case cases[] = {
        {"made", DIRECTINPUT_VERSION, &IID_IDirectInput8A, nullptr, DI_OK},
        {"newer version", 0x0900, &IID_IDirectInput8A, nullptr, DIERR_OLDDIRECTINPUTVERSION},
        {"older version", 0x0700, &IID_IDirectInput8A, nullptr, DIERR_BETADIRECTINPUTVERSION},
        {"device interface", DIRECTINPUT_VERSION, &IID_IDirectInputDevice8A, nullptr,
         DIERR_NOINTERFACE},
        {"aggregation", DIRECTINPUT_VERSION, &IID_IDirectInput8A, &outer, DIERR_NOAGGREGATION},
    };
    for (const Case& c : cases) {
        void* out = &outer;
        EXPECT_EQ(DirectInput8Create(nullptr, c.version, *c.iid, &out, c.outer), c.expected)
            << c.name;
        if (c.expected == DI_OK) {
            ASSERT_NE(out, nullptr);
            EXPECT_EQ(static_cast<IDirectInput8A*>(out)->Release(), 0u);
        } else {
            EXPECT_EQ(out, nullptr) << c.name;
        }
    }
    EXPECT_EQ(
        DirectInput8Create(nullptr, DIRECTINPUT_VERSION, IID_IDirectInput8A, nullptr, nullptr),
        DIERR_INVALIDPARAM);
}

TEST_F(DirectInputTest, ReferenceCountingAndInterfaces) {
    DevicePtr device = Create(GUID_SysMouse);
    void* same = nullptr;
    ASSERT_EQ(device->QueryInterface(IID_IDirectInputDevice8A, &same), S_OK);
    EXPECT_EQ(same, device.get());
    EXPECT_EQ(device->Release(), 1u);
    void* other = &same;
    EXPECT_EQ(device->QueryInterface(IID_IDirectInput8A, &other), E_NOINTERFACE);
    EXPECT_EQ(other, nullptr);
    EXPECT_EQ(device->AddRef(), 2u);
    EXPECT_EQ(device->Release(), 1u);
}

struct Listed {
    std::vector<std::string> names;
    std::vector<DWORD> types;
    int stopAfter = -1;
};

BOOL Collect(LPCDIDEVICEINSTANCEA device, LPVOID context) {
    auto* listed = static_cast<Listed*>(context);
    listed->names.emplace_back(device->tszProductName);
    listed->types.push_back(device->dwDevType);
    bool stop =
        listed->stopAfter >= 0 && static_cast<int>(listed->names.size()) >= listed->stopAfter;
    return stop ? DIENUM_STOP : DIENUM_CONTINUE;
}

TEST_F(DirectInputTest, EnumDevicesByClassAndType) {
    dinput_test::TestPad pad;
    pad.name = "Pad A";
    Backend().PlugPad(pad);
    pad.name = "Stick B";
    pad.devType = DI8DEVTYPE_JOYSTICK | (DI8DEVTYPEJOYSTICK_STANDARD << 8);
    Backend().PlugPad(pad);

    struct Case {
        const char* name;
        DWORD type;
        DWORD flags;
        std::vector<std::string> expected;
    };
    const Case cases[] = {
        {"all", DI8DEVCLASS_ALL, DIEDFL_ALLDEVICES, {"Keyboard", "Mouse", "Pad A", "Stick B"}},
        {"game controllers attached",
         DI8DEVCLASS_GAMECTRL,
         DIEDFL_ATTACHEDONLY,
         {"Pad A", "Stick B"}},
        {"keyboards", DI8DEVCLASS_KEYBOARD, DIEDFL_ATTACHEDONLY, {"Keyboard"}},
        {"pointers", DI8DEVCLASS_POINTER, DIEDFL_ATTACHEDONLY, {"Mouse"}},
        {"other devices", DI8DEVCLASS_DEVICE, DIEDFL_ATTACHEDONLY, {}},
        {"joystick type", DI8DEVTYPE_JOYSTICK, DIEDFL_ATTACHEDONLY, {"Stick B"}},
        {"force feedback", DI8DEVCLASS_GAMECTRL, DIEDFL_FORCEFEEDBACK, {}},
    };
    for (const Case& c : cases) {
        Listed listed;
        ASSERT_EQ(input_->EnumDevices(c.type, Collect, &listed, c.flags), DI_OK) << c.name;
        EXPECT_EQ(listed.names, c.expected) << c.name;
    }

    Listed stopped;
    stopped.stopAfter = 1;
    ASSERT_EQ(input_->EnumDevices(DI8DEVCLASS_ALL, Collect, &stopped, 0), DI_OK);
    EXPECT_EQ(stopped.names.size(), 1u);

    Listed unused;
    EXPECT_EQ(input_->EnumDevices(7, Collect, &unused, 0), DIERR_INVALIDPARAM);
    EXPECT_EQ(input_->EnumDevices(DI8DEVCLASS_ALL, nullptr, &unused, 0), DIERR_INVALIDPARAM);
    EXPECT_EQ(input_->EnumDevices(DI8DEVCLASS_ALL, Collect, &unused, 0x8), DIERR_INVALIDPARAM);
}

// The game picks the pad with the lowest joystick id, creating each device inside the callback.
TEST_F(DirectInputTest, DevicesCanBeCreatedWhileEnumerating) {
    Backend().PlugPad({});
    Backend().PlugPad({});
    struct Context {
        IDirectInput8A* input;
        std::vector<DWORD> ids;
    } context{input_.get(), {}};
    auto callback = [](LPCDIDEVICEINSTANCEA device, LPVOID raw) -> BOOL {
        auto* c = static_cast<Context*>(raw);
        IDirectInputDevice8A* pad = nullptr;
        if (FAILED(c->input->CreateDevice(device->guidInstance, &pad, nullptr))) {
            return DIENUM_CONTINUE;
        }
        DIPROPDWORD id{};
        id.diph = {sizeof(DIPROPDWORD), sizeof(DIPROPHEADER), 0, DIPH_DEVICE};
        if (SUCCEEDED(pad->GetProperty(DIPROP_JOYSTICKID, &id.diph))) {
            c->ids.push_back(id.dwData);
        }
        pad->Release();
        return DIENUM_CONTINUE;
    };
    ASSERT_EQ(input_->EnumDevices(DI8DEVCLASS_GAMECTRL, callback, &context, DIEDFL_ATTACHEDONLY),
              DI_OK);
    EXPECT_EQ(context.ids, (std::vector<DWORD>{0, 1}));
}

TEST_F(DirectInputTest, CreateDeviceFailures) {
    IDirectInputDevice8A* device = nullptr;
    GUID unknown = GUID_SysMouse;
    unknown.Data1 ^= 0xFFFF;
    EXPECT_EQ(input_->CreateDevice(unknown, &device, nullptr), DIERR_DEVICENOTREG);
    EXPECT_EQ(device, nullptr);
    EXPECT_EQ(input_->CreateDevice(GUID_SysMouse, nullptr, nullptr), DIERR_INVALIDPARAM);
    EXPECT_EQ(input_->CreateDevice(GUID_SysMouse, &device, input_.get()), DIERR_NOAGGREGATION);
    EXPECT_EQ(device, nullptr);
}

}  // namespace
}  // namespace qvn::test
