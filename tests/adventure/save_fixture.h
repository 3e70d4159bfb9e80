#pragma once
// Saves and histories in a running adventure: message boxes answered from a queue, the files of
// the save folder read and written directly, and a story of two scripts with a save point.

#include <cstdint>
#include <string>
#include <vector>

#include "adventure_fixture.h"
#include "platform/win32/shell_test_hooks.h"

namespace adventure_tests {

// "start" sets g3 and calls "scene", whose save point stores the game in slot 20 under the
// label "middle" (g0 = 100, its local l0 = -2); two pages follow, the second counted in g5.
// "start" at "restart" sets g4 = 77 and waits there.
extern const char* const kSaveStartScript;
extern const char* const kSaveSceneScript;

class SaveTest : public AdventureTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Both scripts written and "start" run until the page after the save point waits.
    void PlayToSavePoint();
    // Runs frames until the page waits (at most `frames`).
    void RunUntilPageWait(int frames = 60);

    std::string SlotPath(int slot) const;  // relative Linux path
    std::vector<std::uint8_t> SlotBytes(int slot) const;
    void WriteSlotBytes(int slot, const std::vector<std::uint8_t>& bytes) const;
    bool SlotExists(int slot) const;

    // The boxes shown since the last call.
    static std::vector<win32_test::ShownMessageBox> Boxes();
    // Whether a log line begins with `start`.
    bool HasLogLineStarting(const std::string& start) const;
};

// Little-endian words and texts for expected file images.
void PutWord(std::vector<std::uint8_t>& bytes, std::uint32_t word);
void PutText(std::vector<std::uint8_t>& bytes, const std::string& text, std::size_t field);

}  // namespace adventure_tests
