#include "replay_harness.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <fstream>
#include <sstream>

#include <gtest/gtest.h>

#include "foundation/registry_settings.h"
#include "script/script_variables.h"
#include "tools/script/script_assembler.h"

namespace qvn::test {

const char* const kReplayGlobalScript = R"(
.globals 0 0 0 0 0 0 0 0 0 0 0 0 4 1 0 0 0 0
*top
    return
)";

const char* const kReplayEndlessStart = R"(
.locals 0
*top
@wait
    invoke 0 0 l0 l0
    jump @wait
)";

void CopyDemoGame(const TempProgramDir& dir) {
    namespace fs = std::filesystem;
    for (const char* folder :
         {"script", "bmp", "sound", "music", "voice", "sprite", "movie", "data"}) {
        fs::copy(fs::path(QVN_DEMO_GAME_DIR) / folder, fs::path(dir.path()) / folder,
                 fs::copy_options::recursive);
    }
    // A save folder as the game is installed, with an empty seen list: what a run of the built
    // game saved is not this run's.
    fs::create_directories(fs::path(dir.path()) / "save");
    std::ofstream(fs::path(dir.path()) / "save" / "save99.dat", std::ios::binary);
}

ReplayHarness::ReplayHarness() : ReplayRunner(dir_.path()) {
    // Each run starts as a new process would, without the globals an earlier run merged.
    ScriptVariables.clear();
    GlobalInitialValues.clear();
}

void ReplayHarness::WriteScript(const std::string& name, const std::string& source) {
    std::vector<std::uint8_t> bytes;
    std::string error;
    ASSERT_TRUE(AssembleScript(source, name, &bytes, &error)) << error;
    dir_.writeFile("script/" + name + ".scr", bytes);
}

void ReplayHarness::CopyDemoImage(const std::string& name) {
    std::ifstream in(std::string(QVN_DEMO_DIR) + "/bmp/" + name, std::ios::binary);
    ASSERT_TRUE(in.good()) << name;
    std::stringstream bytes;
    bytes << in.rdbuf();
    dir_.writeFile("bmp/" + name, bytes.str());
}

void ReplayHarness::CopyDemoMascot() {
    namespace fs = std::filesystem;
    fs::create_directories(fs::path(dir_.path()) / "sprite");
    for (const char* file : {"mowl.kra", "mowl.png"}) {
        fs::copy_file(fs::path(QVN_DEMO_GAME_DIR) / "sprite" / file,
                      fs::path(dir_.path()) / "sprite" / file);
    }
}

void ReplayHarness::SetSetting(const char* name, DWORD value) {
    ASSERT_EQ(WriteRegistryDword("main", name, value), 1) << name;
}

void ReplayHarness::PrepareGame(const std::string& start, DWORD fullScreen, bool withCursor) {
    WriteScript("global", kReplayGlobalScript);
    WriteScript("start", start);
    if (withCursor) {
        CopyDemoImage("cursor.png");
    }
    SetSetting("Fullscreen", fullScreen);
    SetSetting("HWCursor", 0);
}

void ReplayHarness::LoadTimeline(const std::string& name) {
    const std::string path = std::string(QVN_FIXTURE_DIR) + "/replay/" + name + ".timeline";
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in.good()) << path;
    std::stringstream text;
    text << in.rdbuf();
    std::string error;
    ASSERT_TRUE(AddTimeline(text.str(), &error)) << path << ": " << error;
}

std::string ReplayHarness::Log() const {
    return dir_.readFile("qvn.log");
}

std::vector<std::string> ReplayHarness::LogLines() const {
    return dir_.readLines("qvn.log");
}

std::vector<std::string> ReplayHarness::LogLinesWith(const std::vector<std::string>& words) const {
    std::vector<std::string> found;
    for (const std::string& line : LogLines()) {
        std::string lower = line;
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        if (std::any_of(words.begin(), words.end(), [&](const std::string& word) {
                return lower.find(word) != std::string::npos;
            })) {
            found.push_back(line);
        }
    }
    return found;
}

std::string ReplayHarness::Transcript(int result) const {
    std::string transcript;
    for (const std::string& line : reportLines()) {
        transcript += line + "\n";
    }
    return transcript + "ended tick " + std::to_string(ticks()) + "\nresult " +
           std::to_string(result) + "\n";
}

}  // namespace qvn::test
