#pragma once
// The one diagnostic channel: every line goes to the debugger output (standard error here) and
// to the log file "qvn.log" in the program directory. The first line of a run empties the file.
// Lines from several threads are serialised by a lock of the log's own.

// printf-style; the text is cut at 1,021 characters and ends in CR LF.
void LogPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));
// Same as LogPrintf.
void LogPrintf2(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Writes one finished line (CR LF is appended).
void WriteLogLine(const char* text);

// 0 turns the log off, any other value on.
void SetLogEnabled(int flag);

// 0 keeps lines out of the log file (they still reach the debugger output). For tools that
// report on standard error and must not leave a log in the folder they read, and for a copy of
// the program started while another runs, whose log that file is. Returns the flag before.
int SetLogFileEnabled(int flag);

// The short name of the program, which names the log file "%s.log".
constexpr const char* kProgramShortName = "qvn";
// The maker's name, first part of the settings key.
constexpr const char* kMakerName = "Velkaro";
