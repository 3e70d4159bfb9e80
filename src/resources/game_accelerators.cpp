// Accelerator table 104: the keys of the game's commands.

#include <iterator>

#include "platform/win32/accelerator_api.h"
#include "platform/win32/message_keys.h"
#include "resources/game_resources.h"

namespace {

constexpr BYTE kKey = FVIRTKEY;
constexpr BYTE kAltKey = FVIRTKEY | FALT;
constexpr BYTE kShiftKey = FVIRTKEY | FSHIFT;

constexpr ACCEL kGameAccelerators[] = {
    {kAltKey, VK_F4, 40001},      // exit (the close question)
    {kKey, VK_F1, 40005},         // version dialog
    {kKey, VK_F3, 40066},         // fast forward
    {kKey, VK_F9, 40068},         // preferences: message page
    {kKey, VK_F8, 40077},         // preferences: sound page
    {kKey, VK_F7, 40078},         // preferences: system page
    {kKey, VK_F10, 40090},        // preferences: other page
    {kShiftKey, 'I', 40091},      // frame-rate line
    {kKey, VK_F12, 40096},        // hands-free mode
    {kKey, VK_F11, 40097},        // preferences: voice page
    {kKey, VK_F6, 40098},         // no effect
    {kAltKey, VK_RETURN, 40100},  // full screen
};

}  // namespace

void RegisterGameAccelerators() {
    Win32RegisterAcceleratorResource(kGameAcceleratorResource, kGameAccelerators,
                                     static_cast<int>(std::size(kGameAccelerators)));
}
