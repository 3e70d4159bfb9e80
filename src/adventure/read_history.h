#pragma once
// The read history: which pages of which script the player has read, across all games. It
// decides whether fast-forward may pass a page.

#include <cstdint>

// Marks page `pageIndex` (the occurrence of the page-end call in the script) of `scriptName`
// read; with MsgSkipUnseen off, an unread page ends fast-forward mode.
void MarkPageRead(const char* scriptName, std::int32_t pageIndex);
// Writes the history file when the last mark changed it; true when written.
bool SaveReadHistoryIfChanged();
// 1 when the last marked page had not been read before.
int IsCurrentPageUnread();
void ClearUnreadPageFlag();
