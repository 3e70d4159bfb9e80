#include "adventure_bench_stage.h"

#include <filesystem>
#include <string>

#include "adventure/adventure_frame.h"
#include "adventure/game_mode.h"
#include "adventure/message_window.h"
#include "foundation/app_settings.h"
#include "foundation/foundation_test.h"
#include "foundation/log.h"
#include "media/graphics/d3d_application.h"
#include "media/sound/direct_sound.h"
#include "platform/winbase/test_hooks.h"
#include "shell/cursor.h"

namespace {

// The private program directory, filled on the first call.
const std::string& ProgramDirectory() {
    static const std::string dir = [] {
        namespace fs = std::filesystem;
        const std::string made = win32_test::UsePrivateProgramDirectory("adventure-bench");
        for (const char* folder : {"bmp", "sprite", "voice"}) {
            fs::copy(fs::path(QVN_DEMO_GAME_DIR) / folder, fs::path(made) / folder,
                     fs::copy_options::recursive);
        }
        return made;
    }();
    return dir;
}

// The adventure's state, the scene's resources with it.
void ResetAdventure() {
    ResetAdventureState();
    ReleaseCursor();
    MessageWindowShown = 0;
    WindowFadeTime = 0.0f;
    SkipActive = 0;
    AutoMode = 0;
}

}  // namespace

AdventureBenchStage::AdventureBenchStage() {
    win32_test::SetProgramDirectory(ProgramDirectory());
    foundation_test::ResetState();
    SetLogEnabled(0);
    ResetAdventure();
}

AdventureBenchStage::~AdventureBenchStage() {
    ResetAdventure();
    DestroyDirectSound();
    DestroyD3DApplication();
}
