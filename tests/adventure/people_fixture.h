#pragma once
// The adventure with the demo's people in its program directory: the three standing characters
// written from their qvn-kra sources, the faces and the voices, a null sound device read back
// by hand, and the voice switches loaded from the test's own store.

#include <string>

#include "adventure_fixture.h"

namespace adventure_tests {

class PeopleTest : public AdventureTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Mixes `seconds` of sound, so that sounds play on.
    static void MixSeconds(double seconds);

private:
    // The settings the tests change, put back afterwards.
    DWORD savedAutoInterval_ = 0;
    DWORD savedVoiceVolume_ = 0;
    DWORD savedVoiceSkip_ = 0;
    DWORD savedWndColor_ = 0;
};

}  // namespace adventure_tests
