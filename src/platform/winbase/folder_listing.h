#pragma once
// Internal: case-insensitive lookup of a name in a folder's listing.

#include <optional>
#include <string>

// The entry of folder `dir` ("" is the working folder) whose name equals `name` ignoring the
// case of ASCII letters; of several, the one that sorts first bytewise. Listings of folders
// unchanged for a while are kept and checked against the folder's modification time on every
// call, so a lookup in a large folder costs one stat instead of a scan.
std::optional<std::string> FindEntryIgnoringCase(const std::string& dir, const std::string& name);
