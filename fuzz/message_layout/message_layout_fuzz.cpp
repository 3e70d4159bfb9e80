// The first byte chooses how the rest is shown: bit 0 ruby on, bit 1 a new page, bit 2 the text
// is first a format of four values (an integer, a float, a text and a variable reference), bit
// 3 the text also names the speaker. Pages run on from one input to the next, so that long
// pages and their clipping are reached too.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

#include "adventure/message_functions.h"
#include "adventure/message_layout.h"
#include "adventure/message_window.h"
#include "adventure/script_format.h"
#include "foundation/app_settings.h"
#include "fuzz_device.h"
#include "fuzz_program_dir.h"

namespace {

bool MakeDevice() {
    FuzzProgramDirectory("message");
    return MakeAdventureDevice(400, 300);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = MakeDevice();
    if (!ready || size == 0) {
        return 0;
    }
    const std::uint8_t how = data[0];
    const std::string text(reinterpret_cast<const char*>(data) + 1, size - 1);
    MsgUseRuby = how & 1;
    if ((how & 2) != 0) {
        LineCounter = -1;
    }
    ScriptValue name = ScriptValue::MakeString(text.c_str());
    if ((how & 8) != 0) {
        const std::vector<ScriptValue*> speaker{&name};
        BuiltinSpeaker(ScriptArguments(speaker));
    }
    if ((how & 4) != 0) {
        ScriptValue values[] = {ScriptValue::MakeInt(-7), ScriptValue::MakeFloat(2.5f),
                                ScriptValue::MakeString(text.c_str()),
                                ScriptValue::MakeReference(9)};
        const std::vector<ScriptValue*> arguments{&name, &values[0], &values[1], &values[2],
                                                  &values[3]};
        BuiltinFormattedMessage(ScriptArguments(arguments));
    } else {
        ShowMessage(text.c_str());
    }
    return 0;
}
