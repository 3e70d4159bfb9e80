#pragma once
// The adventure with the demo's people in its program directory: the mascot and the three
// standing characters written from their qvn-kra sources, the faces and the voices, a null
// sound device read back by hand, and the voice switches loaded from the test's own store.

#include <string>

#include "adventure_fixture.h"

namespace adventure_tests {

class PeopleTest : public AdventureTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Writes sprite\NAME.kra from `source` (qvn-kra's text form).
    void WriteContainer(const std::string& name, const std::string& source);
    // Copies a file of the demo's sources (relative to demo/) to the same place.
    void CopyDemoFile(const std::string& relative, const std::string& to = "");
    // Mixes `seconds` of sound, so that sounds play on.
    static void MixSeconds(double seconds);
};

}  // namespace adventure_tests
