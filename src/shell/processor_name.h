#pragma once
// Names of processors without a brand string: the vendor, model and brand-index tables of the
// system-information report.

#include <string>

#include "platform/winbase/win_types.h"

// Index of `vendor` (the 12 characters of leaf 0) in the vendor table; 7 for any vendor the
// table does not hold.
int ProcessorVendorIndex(const char* vendor);
// "Intel ", "AMD ", ... (each ends in a blank); "Unknown " for index 7 and out of range.
const char* ProcessorVendorDisplayName(int vendorIndex);

// The name the report gives a processor without a brand string, from the vendor index, the
// signature of leaf 1 (type, family and model; extended bits unused) and the brand index (leaf
// 1, EBX bits 0..7): "Intel Pentium4 Processor", or, without a name,
// "Intel  Unknown Processor (Type:00 Family:6, Model:15)". In code page 932.
std::string ProcessorNameFromTables(int vendorIndex, DWORD signature, DWORD brandIndex);
