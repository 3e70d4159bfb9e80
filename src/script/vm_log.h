#pragma once
// The tag and levels of every VM log line: "%s:%s: ..." is filled with these two first.

constexpr const char* kScriptLogTag = "scrMain";
constexpr const char* kScriptLogError = "error";
constexpr const char* kScriptLogWarning = "warning";
