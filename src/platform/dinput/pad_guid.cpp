#include "platform/dinput/pad_guid.h"

#include <cstdint>

namespace {

// FNV-1a over the joystick GUID, a purpose tag and the ordinal; two rounds with different tags
// give the 16 bytes.
std::uint64_t Mix(const std::array<BYTE, 16>& joystickGuid, std::uint32_t tag, int ordinal) {
    std::uint64_t hash = 0xCBF29CE484222325ull;
    auto feed = [&hash](BYTE byte) {
        hash ^= byte;
        hash *= 0x100000001B3ull;
    };
    for (BYTE byte : joystickGuid) {
        feed(byte);
    }
    for (int shift = 0; shift < 32; shift += 8) {
        feed(static_cast<BYTE>(tag >> shift));
        feed(static_cast<BYTE>(static_cast<std::uint32_t>(ordinal) >> shift));
    }
    return hash;
}

GUID MakeGuid(std::uint64_t high, std::uint64_t low) {
    GUID guid;
    guid.Data1 = static_cast<DWORD>(high >> 32);
    guid.Data2 = static_cast<WORD>(high >> 16);
    // Marked as a name-based GUID of version 5 with the standard variant.
    guid.Data3 = static_cast<WORD>((high & 0x0FFF) | 0x5000);
    for (int i = 0; i < 8; ++i) {
        guid.Data4[i] = static_cast<BYTE>(low >> (56 - 8 * i));
    }
    guid.Data4[0] = static_cast<BYTE>((guid.Data4[0] & 0x3F) | 0x80);
    return guid;
}

}  // namespace

GUID PadProductGuid(const std::array<BYTE, 16>& joystickGuid) {
    return MakeGuid(Mix(joystickGuid, 0x50524F44, 0), Mix(joystickGuid, 0x70726F64, 0));
}

GUID PadInstanceGuid(const std::array<BYTE, 16>& joystickGuid, int ordinal) {
    return MakeGuid(Mix(joystickGuid, 0x494E5354, ordinal), Mix(joystickGuid, 0x696E7374, ordinal));
}
