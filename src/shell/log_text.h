#pragma once
// The log file and texts as the dialogs show and copy them: the log's path, a whole text file
// read into a string, and a text placed on the clipboard.

#include <string>

// "qvn.log" in the program directory (path kind 0).
std::string LogFilePath();
// The whole file as text, up to its first NUL; false when it cannot be read (the loader logs
// why).
bool LoadTextFile(const std::string& path, std::string* text);
// Places `text` as one NUL-terminated CF_TEXT block on the clipboard, which the caller has
// opened (and emptied).
void PutClipboardText(const std::string& text);
