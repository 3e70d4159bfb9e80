#include "adventure/save_game.h"

#include <cstdio>
#include <string>

#include "adventure/choice_history.h"
#include "adventure/game_mode.h"
#include "adventure/read_history.h"
#include "adventure/save_file.h"
#include "adventure/save_slot_table.h"
#include "adventure/save_texts.h"
#include "adventure/sound_functions.h"
#include "adventure/system_variables.h"
#include "foundation/byte_reader.h"
#include "foundation/byte_writer.h"
#include "foundation/log.h"
#include "foundation/path.h"
#include "media/music/music_window.h"
#include "platform/win32/message_box.h"
#include "script/call_stack.h"
#include "script/script_file.h"
#include "script/script_variables.h"
#include "script/vm_state.h"
#include "shell/frame_control.h"
#include "shell/game_window.h"
#include "shell/shell_texts.h"

namespace {

constexpr std::uint32_t kMusicVariable = 11;
constexpr UINT kOverwriteStyle = MB_YESNO | MB_DEFBUTTON2;

// A message box over the game window, with the frame clock stopped while it is up.
int ShowBox(const char* text, const char* caption, UINT style) {
    SetDialogMode(1);
    const int answer = MessageBoxA(MainWindow, text, caption, style);
    SetDialogMode(0);
    return answer;
}

void ShowLoadFailure() {
    ShowBox(kLoadFailedText, kWarningCaption, MB_OK);
}

// The restore's own line, and one that names the slot's file, which the lines before do not.
void LogRestoreFailure(const char* path) {
    LogPrintf("saveload:LoadGameData: error. SetScriptData");
    LogPrintf("saveload:LoadGameData: error. the game saved in \"%s\" cannot be restored", path);
}

bool WriteSlot(int slot) {
    const char* path = GetPath(PathKind::Save, slot);
    if (gSaveRecord.scrambleKey == 0) {
        return WriteSaveFile(gSaveRecord, path);
    }
    SaveRecord scrambled = gSaveRecord;
    ScrambleState(scrambled.state, scrambled.scrambleKey);
    return WriteSaveFile(scrambled, path);
}

// After a failed restore: the game starts again where a new game starts.
void RestartGame() {
    ResetAdventureState();
    StartScript(GetPath(PathKind::Script, "start"), "restart", 0);
}

}  // namespace

bool GetScriptData(std::vector<std::uint8_t>& state) {
    if (GameModeStack.empty()) {
        return false;
    }
    if (!CScript::GetData(state)) {
        LogPrintf("script:GetScriptData: error. CScript::GetData");
        return false;
    }
    ByteWriter modes;
    modes.U32(static_cast<std::uint32_t>(GameModeStack.size()));
    for (const int mode : GameModeStack) {
        modes.U8(static_cast<std::uint8_t>(mode & 0xFF));
    }
    state.insert(state.end(), modes.Data().begin(), modes.Data().end());
    return true;
}

bool CheckScriptData(std::span<const std::uint8_t> state, std::size_t* consumed) {
    ScriptStateBlock block;
    if (!ReadScriptStateBlock(state.data(), state.size(), &block)) {
        LogPrintf("script:SetScriptData: error. CScript::SetData");
        return false;
    }
    if (block.frames.empty()) {
        // Nothing would run: the game would stand still for ever.
        LogPrintf("script:SetScriptData: error. no script frame");
        return false;
    }
    ByteReader reader(state);
    reader.Skip(block.size);
    const std::uint32_t modes = reader.U32();
    reader.Skip(modes);
    if (reader.Failed() || modes == 0) {
        LogPrintf("script:SetScriptData: error. modes(%u) size(%u)", static_cast<unsigned>(modes),
                  static_cast<unsigned>(state.size()));
        return false;
    }
    *consumed = reader.Position();
    return true;
}

const std::uint8_t* SetScriptData(std::span<const std::uint8_t> state) {
    std::size_t consumed = 0;
    if (!CheckScriptData(state, &consumed)) {
        return nullptr;
    }
    if (!CScript::SetData(state.data(), state.size(), false)) {
        LogPrintf("script:SetScriptData: error. CScript::SetData");
        return nullptr;
    }
    // The saved modes are not read: the restored frame runs in Adventure over None.
    GameModeStack.clear();
    GameModeStack.push_back(kGameModeNone);
    GameMode = kGameModeAdventure;
    PlaySystemSound("se001");
    LoadMenuEnabled = 1;
    SaveMenuEnabled = 1;
    TitleReturnEnabled = 1;
    StopMusic();
    const std::uint32_t none = 0;
    SetVar(kMusicVariable, &none);
    return state.data() + consumed;
}

bool PushGameData(const char* title, const char* label, bool save) {
    if (title != nullptr) {
        gSaveRecord.word0 = kSaveHeaderSize;
        gSaveRecord.version = kSaveVersion;
        SetSaveText(gSaveRecord.title, kSaveTitleSize, title);
    }
    const char* resume = label;
    if (resume == nullptr || resume[0] == '\0') {
        const ScriptFrame* frame = CurrentFrame();
        resume = frame != nullptr ? frame->GetLabelName() : nullptr;
    }
    SetSaveText(gSaveRecord.resumeLabel, kSaveLabelSize, resume != nullptr ? resume : "");
    gSaveRecord.state.clear();
    gSaveRecord.state.reserve(kSaveStateReserve);
    if (!GetScriptData(gSaveRecord.state)) {
        LogPrintf("saveload:PushGameData: error. GetScriptData");
        return false;
    }
    return save ? SaveToSlot(kSavePointCommand) : true;
}

bool SaveToSlot(UINT command) {
    if (command < kSaveSlotCommand || command > kSavePointCommand) {
        return false;
    }
    const int slot = static_cast<int>(command - kSaveSlotCommand);
    const bool silent = command == kSavePointCommand;
    ScanSaveSlots(nullptr);
    if (gSaveRecord.state.empty()) {
        // Nothing to load back: a slot written now would look used and never load.
        LogPrintf("saveload:SaveToSlot: error. no game data for slot(%d)", slot);
        if (!silent) {
            ShowBox(kSaveFailedText, kWarningCaption, MB_OK);
        }
        return false;
    }
    const SaveSlotRecord& old = SaveSlots[static_cast<std::size_t>(slot)];
    if (old.used != 0 && !silent) {
        char question[512];
        std::snprintf(question, sizeof question, kOverwriteQuestionFormat, old.title,
                      gSaveRecord.title);
        if (ShowBox(question, kConfirmCaption, kOverwriteStyle) != IDYES) {
            return false;
        }
    }
    if (!WriteSlot(slot)) {
        if (silent) {
            LogPrintf("saveload:SaveToSlot: error. slot(%d) not saved", slot);
        } else {
            ShowBox(kSaveFailedText, kWarningCaption, MB_OK);
        }
        return false;
    }
    MarkSlotSaved(slot, gSaveRecord);
    if (!silent) {
        ShowBox(kSavedText, kReportCaption, MB_OK);
    }
    return true;
}

void LoadGameData(UINT command) {
    if (command < kLoadSlotCommand || command >= kLoadSlotCommand + kSaveSlotCount) {
        return;
    }
    const int slot = static_cast<int>(command - kLoadSlotCommand);
    const std::string path = GetPath(PathKind::Save, slot);
    SaveRecord loaded;
    if (!ReadSaveFile(&loaded, path.c_str())) {
        ShowLoadFailure();
        return;
    }
    if (loaded.scrambleKey != 0) {
        ScrambleState(loaded.state, loaded.scrambleKey);
    }
    std::size_t consumed = 0;
    if (!CheckScriptData(loaded.state, &consumed)) {
        // Refused before anything changed: the game that runs goes on.
        LogRestoreFailure(path.c_str());
        ShowLoadFailure();
        return;
    }
    gSaveRecord = std::move(loaded);
    ResetAdventureState();
    if (SetScriptData(gSaveRecord.state) == nullptr) {
        LogRestoreFailure(path.c_str());
        ShowLoadFailure();
        // The record holds a game that cannot run: it is not offered to the save menu.
        gSaveRecord = SaveRecord{};
        RestartGame();
        return;
    }
    LoadSystemVariables();
    if (gSaveRecord.resumeLabel[0] != '\0' && JumpToLabel(gSaveRecord.resumeLabel) == kNoPosition) {
        LogPrintf("saveload:LoadGameData: error. label(%s)", gSaveRecord.resumeLabel);
    }
}

void ForgetSavedGames() {
    gSaveRecord = SaveRecord{};
    ForgetSaveSlots();
    ForgetReadHistory();
    ForgetChoiceHistory();
}
