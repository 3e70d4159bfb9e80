#pragma once
// ByteReader, the one bounded little-endian reader of every binary file format. It is defined
// in the platform layer so that the parsers there use the same one; see that header for the
// contract.

#include "platform/winbase/byte_reader.h"
