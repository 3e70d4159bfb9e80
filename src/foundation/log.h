#pragma once
// The one diagnostic channel: every line goes to the debugger output (standard error here) and
// to the log file "qvn.log" in the program directory. The first line of a run empties the file.

// printf-style; the text is cut at 1,021 characters and ends in CR LF.
void LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes one finished line (CR LF is appended).
void WriteLogLine(const char* text);

// 0 turns the log off, any other value on.
void SetLogEnabled(int flag);
