#include "adventure/read_history.h"

#include "adventure/adventure_frame.h"
#include "foundation/app_settings.h"

// These stand in until the read history exists: every page counts as unread and nothing is
// written.
void MarkPageRead(const char*, std::int32_t pageIndex) {
    if (pageIndex >= 0 && MsgSkipUnseen == 0) {
        FastForwardMode = 0;
    }
}

bool SaveReadHistoryIfChanged() {
    return false;
}

int IsCurrentPageUnread() {
    return 1;
}

void ClearUnreadPageFlag() {}
