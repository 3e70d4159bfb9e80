// Random scripts through the game's own hooks, built-in functions and adventure frame, on a
// small back buffer with a null sound device, for a bounded number of frames.
//
// The first byte picks the form of the rest. Even: a raw "SCR " file. Odd: a list of items
// assembled into a script: an item byte below 0xF0 is a built-in call of function (byte % 40,
// so that numbers above 36 come too) with (next byte & 7) arguments, each a kind byte (0 an
// integer of 4 bytes, 1 a float of 4 bytes, 2 a text of a length byte and its bytes, 3 a global
// and 4 a local variable by reference, numbered by the next byte) and its data; 0xF0 and above
// is a message text (a length byte and its bytes); a list that does not assemble is skipped. The
// byte after the first sets the input of every frame: bit 0 the left button, 1 Enter, 2 Ctrl,
// 3 Space (each held on alternate frames).

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "adventure/message_window.h"
#include "foundation/app_settings.h"
#include "foundation/byte_reader.h"
#include "foundation/path.h"
#include "fuzz_device.h"
#include "fuzz_program_dir.h"
#include "media/graphics/d3d_application.h"
#include "media/graphics/plane.h"
#include "media/input/di_application.h"
#include "media/sound/direct_sound.h"
#include "platform/dsound/dsound_test.h"
#include "script/call_stack.h"
#include "script/interpreter.h"
#include "script/script_variables.h"
#include "shell/program.h"
#include "tools/script/script_assembler.h"

namespace {

constexpr int kFramesForCalls = 12;
// Raw code may loop without yielding: each frame then runs the interpreter's whole budget.
constexpr int kFramesForRawCode = 3;
// The interpreter's budget of a frame, lowered from the game's so that a loop that never waits
// runs all its frames in a second or so under the sanitizers, even when each turn calls a
// built-in function that draws the scene.
constexpr std::uint64_t kInstructionsPerFrame = 1'000;
constexpr double kFrameSeconds = 0.0625;

// Keys and buttons of DirectInput.
constexpr int kKeyEnter = 28;
constexpr int kKeyControl = 29;
constexpr int kKeySpace = 57;

void WriteFile(const std::string& path, const void* data, std::size_t size) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file != nullptr) {
        std::fwrite(data, 1, size, file);
        std::fclose(file);
    }
}

// False when `source` does not assemble; nothing is written then.
bool WriteAssembled(const std::string& directory, const char* name, const std::string& source) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    if (!AssembleScript(source, name, &bytes, &error)) {
        return false;
    }
    WriteFile(directory + "/script/" + name + ".scr", bytes.data(), bytes.size());
    return true;
}

// A wave file of 0.1 s of silence, for the sound functions to load.
std::vector<std::uint8_t> SilentWave() {
    const std::uint32_t data = 2205 * 2;
    std::vector<std::uint8_t> bytes(44 + data, 0);
    const std::uint32_t words[] = {0x46464952u, 36 + data,   0x45564157u, 0x20746D66u,
                                   16,          0x00010001u, 22050,       44100,
                                   0x00100002u, 0x61746164u, data};
    std::memcpy(bytes.data(), words, sizeof words);
    return bytes;
}

std::unique_ptr<DIApplication> input;

bool MakeGame() {
    const std::string& directory = FuzzProgramDirectory("adventure");
    setenv("XDG_CONFIG_HOME", (directory + "/config").c_str(), 1);
    for (const char* folder : {"/script", "/sound", "/bmp/visual", "/config"}) {
        std::error_code ignored;
        std::filesystem::create_directories(directory + folder, ignored);
    }
    if (!WriteAssembled(directory, "global",
                        ".globals 0 0 0 0 0 0 0 0 0 0 0 0 4 1 0 0 0 0 0 0 0\n*top\n return\n") ||
        !WriteAssembled(directory, "start", "*top\n*restart\n text \"x\"\n invoke 2\n return\n")) {
        return false;
    }
    const std::vector<std::uint8_t> wave = SilentWave();
    WriteFile(directory + "/sound/a.wav", wave.data(), wave.size());
    if (!MakeAdventureDevice(320, 240)) {
        return false;
    }
    dsound_test::UseNullDevice(true);
    CreateDirectSound(nullptr, nullptr);
    input = std::make_unique<DIApplication>();
    gDIApplication = input.get();
    InstallGameScriptHooks();
    script_test::SetMaxInstructionsPerRun(kInstructionsPerFrame);
    return true;
}

// Text as a quoted assembler string: every byte an escape, so that any byte survives.
std::string Quoted(ByteReader& in, std::size_t length) {
    std::string text = "\"";
    for (std::size_t i = 0; i < length && in.Ok() && !in.AtEnd(); ++i) {
        char escape[8];
        std::snprintf(escape, sizeof escape, "\\x%02X", in.U8());
        text += escape;
    }
    return text + "\"";
}

std::string Argument(ByteReader& in) {
    switch (in.U8() % 5) {
        case 0:
            return std::to_string(static_cast<std::int32_t>(in.U32()));
        case 1: {
            char bits[32];
            std::snprintf(bits, sizeof bits, "float(0x%08X)", in.U32());
            return bits;
        }
        case 2:
            return Quoted(in, in.U8());
        case 3:
            return "g" + std::to_string(in.U8() % 24);
        default:
            return "l" + std::to_string(in.U8() % 2);
    }
}

std::string CallsSource(ByteReader& in) {
    std::string source = ".locals 0 0\n*top\n";
    while (in.Ok() && !in.AtEnd()) {
        const std::uint8_t item = in.U8();
        if (item >= 0xF0) {
            source += "    text " + Quoted(in, in.U8()) + "\n";
            continue;
        }
        const int count = in.U8() & 7;
        std::string line;
        for (int i = 0; i < count; ++i) {
            line += "    push " + Argument(in) + "\n";
        }
        source += line + "    call " + std::to_string(item % 40) + " " + std::to_string(count) +
                  "\n    pop\n";
    }
    return source + "    return\n";
}

void Poll(std::uint8_t buttons, int frame) {
    DIApplication& app = *input;
    std::memcpy(app.previousKeys, app.keys, sizeof app.keys);
    app.previousMouseState = app.mouseState;
    app.previousPadState = app.padState;
    std::memset(app.keys, 0, sizeof app.keys);
    app.mouseState = DIMOUSESTATE2{};
    if ((frame & 1) != 0) {
        return;
    }
    app.mouseState.rgbButtons[0] = (buttons & 1) != 0 ? 0x80 : 0;
    app.keys[kKeyEnter] = (buttons & 2) != 0 ? 0x80 : 0;
    app.keys[kKeyControl] = (buttons & 4) != 0 ? 0x80 : 0;
    app.keys[kKeySpace] = (buttons & 8) != 0 ? 0x80 : 0;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const bool ready = MakeGame();
    if (!ready || size < 2) {
        return 0;
    }
    const std::string& directory = FuzzProgramDirectory("adventure");
    ByteReader in(data, size);
    const std::uint8_t form = in.U8();
    const std::uint8_t buttons = in.U8();
    // The script of the input before must not run in place of this one.
    const std::string script = directory + "/script/fuzz.scr";
    std::remove(script.c_str());
    if ((form & 1) == 0) {
        WriteFile(script, data + 2, size - 2);
    } else if (!WriteAssembled(directory, "fuzz", CallsSource(in))) {
        return 0;  // a list that does not assemble has nothing to run
    }
    ScriptVariables.clear();
    GlobalInitialValues.clear();
    if (!LoadGlobal(GetPath(PathKind::Script, "global"))) {
        return 0;
    }
    const int frames = (form & 1) != 0 ? kFramesForCalls : kFramesForRawCode;
    if (StartScript(GetPath(PathKind::Script, "fuzz"), nullptr, 0)) {
        for (int frame = 0; frame < frames && !IsScriptStackEmpty(); ++frame) {
            Poll(buttons, frame);
            D3D_UpdatePlanes(kFrameSeconds);
            D3DApp->device->BeginScene();
            AdventureFrame(kFrameSeconds);
            D3DApp->device->EndScene();
        }
    }
    ResetAdventureState();
    AutoMode = 0;
    SkipActive = 0;
    MessageWindowShown = 0;
    WindowFadeTime = 0.0f;
    ResetProgramEndRequest();
    return 0;
}
