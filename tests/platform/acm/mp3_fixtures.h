#pragma once
// The MPEG audio fixtures of tests/fixtures/sound and what the command-line decoder makes of
// them (mp3_reference.txt: sample frames and an FNV-1a 64 digest of its 16-bit output).

#include <cstdint>
#include <fstream>
#include <iterator>
#include <sstream>
#include <string>
#include <vector>

#include "platform/winbase/win_types.h"

namespace acm_testing {

inline std::string FixturePath(const std::string& name) {
    return std::string(QVN_FIXTURE_DIR) + "/sound/" + name;
}

inline std::vector<BYTE> ReadFixture(const std::string& name) {
    std::ifstream in(FixturePath(name), std::ios::binary);
    return std::vector<BYTE>(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::uint64_t Fnv1a64(const std::vector<BYTE>& bytes) {
    std::uint64_t hash = 0xcbf29ce484222325ull;
    for (const BYTE byte : bytes) {
        hash ^= byte;
        hash *= 0x100000001b3ull;
    }
    return hash;
}

struct ReferenceDecode {
    std::string file;
    std::int64_t frames = 0;
    std::uint64_t digest = 0;
};

inline std::vector<ReferenceDecode> ReadReferenceDecodes() {
    std::ifstream in(FixturePath("mp3_reference.txt"));
    std::vector<ReferenceDecode> references;
    std::string line;
    while (std::getline(in, line)) {
        if (line.empty() || line[0] == '#') {
            continue;
        }
        std::istringstream fields(line);
        ReferenceDecode reference;
        std::string digest;
        fields >> reference.file >> reference.frames >> digest;
        reference.digest = std::stoull(digest, nullptr, 16);
        references.push_back(reference);
    }
    return references;
}

}  // namespace acm_testing
