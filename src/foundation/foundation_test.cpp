#include "foundation/foundation_test.h"

#include "foundation/app_settings.h"
#include "foundation/random.h"

namespace foundation_test {

void ResetState() {
    ResetPackState();
    ResetPathState();
    ResetLogState();
    ResetRandomState();
    ResetAppSettingsToDefaults();
}

void ResetRandomState() {
    GetRandomGenerator() = MT19937{};
}

}  // namespace foundation_test
