// Any text parses without fault; a timeline that parses gives events in tick order with every
// field in its range, and one that does not gives an error naming its line and no events.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "tools/replay/replay_timeline.h"

namespace {

bool InRange(const ReplayEvent& event) {
    using Kind = ReplayEvent::Kind;
    // Releases and restores come one tick after their line.
    if (event.tick < 1 || event.tick > kMaxTimelineTick + 1) {
        return false;
    }
    switch (event.kind) {
        case Kind::Key:
            return event.a >= 1 && event.a <= 254 && (event.b == 0 || event.b == 1);
        case Kind::MouseMove:
            return event.a >= 0 && event.a < kLogicalScreenWidth && event.b >= 0 &&
                   event.b < kLogicalScreenHeight;
        case Kind::MouseButton:
            return (event.a == 0 || event.a == 1) && (event.b == 0 || event.b == 1);
        case Kind::Wheel:
            return event.a != 0 && event.a >= -100 && event.a <= 100;
        case Kind::PadButton:
            return event.a >= 0 && event.a < kReplayPadButtons && (event.b == 0 || event.b == 1);
        case Kind::Command:
            return event.a >= 1 && event.a <= 65535;
        case Kind::Capture:
            return !event.name.empty() && event.name.size() <= 64 &&
                   event.name.find('/') == std::string::npos && event.name[0] != '.';
        default:
            return true;
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string_view text(reinterpret_cast<const char*>(data), size);
    std::vector<ReplayEvent> events;
    std::string error;
    if (!ParseTimeline(text, &events, &error)) {
        if (error.rfind("timeline:", 0) != 0 || !events.empty()) {
            std::abort();
        }
        return 0;
    }
    for (std::size_t i = 0; i < events.size(); ++i) {
        if (!InRange(events[i]) || (i > 0 && events[i].tick < events[i - 1].tick)) {
            std::abort();
        }
    }
    return 0;
}
