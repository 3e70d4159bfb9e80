#pragma once
// The message window: the three message layers, "MSG BACK", the message texture and the
// message font.

// Releases every plane, texture and font of the message window and forgets each.
void ReleaseMessageWindow();
