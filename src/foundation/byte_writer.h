#pragma once
// ByteWriter, the writer of the binary formats we write. It is defined in the platform layer
// beside ByteReader; see that header for the contract.

#include "platform/winbase/byte_writer.h"
