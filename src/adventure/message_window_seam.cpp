#include "adventure/message_window.h"

// Stands in until the message window exists: there is nothing to release.
void ReleaseMessageWindow() {}
