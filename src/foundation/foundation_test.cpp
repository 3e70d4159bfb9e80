#include "foundation/foundation_test.h"

#include "foundation/app_settings.h"

namespace foundation_test {

void ResetState() {
    ResetPackState();
    ResetPathState();
    ResetLogState();
    ResetAppSettingsToDefaults();
}

}  // namespace foundation_test
