#include "adventure/pad_buttons.h"

namespace {

std::int32_t PadButtonMap[kPadActionCount] = {0, 1, 2, 3, 4};

}  // namespace

std::int32_t GetPadButton(int action) {
    if (action < 0 || action >= kPadActionCount) {
        return -1;
    }
    return PadButtonMap[action];
}
