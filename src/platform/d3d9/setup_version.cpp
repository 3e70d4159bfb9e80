#include "platform/d3d9/setup_version.h"

#include <atomic>

#include "platform/d3d9/d3d9_test.h"

namespace {

std::atomic<bool> queryFails{false};

}  // namespace

INT DirectXSetupGetVersion(DWORD* version, DWORD* revision) {
    if (queryFails.load()) {
        return 0;
    }
    if (version != nullptr) {
        *version = kDirectXSetupVersion;
    }
    if (revision != nullptr) {
        *revision = kDirectXSetupRevision;
    }
    return 1;
}

namespace d3d9_test {

void FailSetupVersionQuery(bool fail) {
    queryFails.store(fail);
}

}  // namespace d3d9_test
