#include "shell/processor_name.h"

#include <cstdio>
#include <cstring>
#include <iterator>

namespace {

struct Vendor {
    const char* vendor;
    const char* displayName;
};

// Quoted as the report has always written them (misspellings included): "CylixInstead" matches
// no processor.
constexpr Vendor kVendors[] = {
    {"GenuineIntel", "Intel "},     {"AuthenticAMD", "AMD "},   {"CylixInstead", "Cylix "},
    {"CentaurHauls", "IDT "},       {"RiseRiseRises", "Rise "}, {"NexGenDriven", "NexGen "},
    {"GenuineTMx86", "Transmeta "},
};
constexpr int kUnknownVendor = 7;
constexpr const char* kUnknownVendorName = "Unknown ";

struct Model {
    int vendorIndex;
    DWORD family;
    DWORD highestModel;
    const char* name;
};

// Searched in order: the first row of the vendor and family whose highest model is not below
// the processor's model names it. Ⅱ is "\207U" and Ⅲ "\207V" in code page 932.
constexpr Model kModels[] = {
    {0, 4, 1, "Intel486(tm) DX"},
    {0, 4, 2, "Intel486 SX"},
    {0, 4, 3, "IntelDX2"},
    {0, 4, 4, "Intel486SL"},
    {0, 4, 5, "IntelSX2"},
    {0, 4, 7, "Write-Back Enhanced IntelDX2"},
    {0, 4, 8, "IntelDX4"},
    {0, 5, 3, "Pentium"},
    {0, 5, 4, "Pentium with MMX technology"},
    {0, 6, 1, "Pentium Pro"},
    {0, 6, 3, "Pentium\207U"},
    {0, 6, 5, "Pentium\207U or Celeron or Xeon"},
    {0, 6, 6, "Celeron w/128KB L2"},
    {0, 6, 7, "Pentium\207V or Xeon"},
    {0, 6, 8, "Pentium\207V or Xeon or Celeron"},
    {0, 6, 10, "Pentium\207V Xeon"},
    {0, 6, 11, "Pentium\207V"},
    {0, 15, 2, "Pentium4"},
    {1, 4, 0, "Am486 or Am5x86"},
    {1, 5, 3, "K5"},
    {1, 5, 7, "K6"},
    {1, 5, 8, "K6-2"},
    {1, 5, 9, "K6-III"},
    {1, 6, 0, "K7 ES"},
    {1, 6, 2, "Athlon"},
    {1, 6, 3, "Dulon"},
    {1, 6, 6, "Athlon"},
    {1, 6, 7, "Dulon"},
    {2, 4, 4, "MediaGX"},
    {2, 5, 2, "6x86"},
    {2, 5, 4, "GXm"},
    {2, 6, 0, "6x86MX or MII"},
    {2, 6, 6, "\207V"},
    {3, 5, 4, "WinChip C6"},
    {3, 5, 8, "WinChip 2"},
    {3, 5, 9, "WinChip 3"},
    {4, 5, 2, "mP6"},
    {4, 5, 9, "mP6-II"},
    {5, 5, 0, "Nx586"},
    {6, 5, 4, "Crusoe"},
    {7, 0, 0, "Unknown"},
};

// By brand index; null: none (the name is removed).
constexpr const char* kBrandNames[16] = {
    nullptr,
    "Celeron",
    "Pentium\207V",
    "Pentium\207V Xeon or Celeron",
    "Pentium\207V",
    nullptr,
    "Pentium\207V mobile",
    "Celeron mobile",
    "Pentium4",
    "Pentium4",
    "Pentium4",
    "Pentium4 Xeon",
    nullptr,
    nullptr,
    "Pentium4 Xeon",
    nullptr,
};

constexpr const char* kTypeSuffixes[4] = {"", " OverDrive", " Dual", " ???"};

}  // namespace

int ProcessorVendorIndex(const char* vendor) {
    for (int i = 0; i < static_cast<int>(std::size(kVendors)); ++i) {
        if (std::strcmp(kVendors[i].vendor, vendor) == 0) {
            return i;
        }
    }
    return kUnknownVendor;
}

const char* ProcessorVendorDisplayName(int vendorIndex) {
    if (vendorIndex < 0 || vendorIndex >= static_cast<int>(std::size(kVendors))) {
        return kUnknownVendorName;
    }
    return kVendors[vendorIndex].displayName;
}

std::string ProcessorNameFromTables(int vendorIndex, DWORD signature, DWORD brandIndex) {
    const DWORD type = (signature >> 12) & 0x3;
    const DWORD family = (signature >> 8) & 0xF;
    const DWORD model = (signature >> 4) & 0xF;
    const char* name = nullptr;
    for (const Model& row : kModels) {
        if (row.vendorIndex == vendorIndex && row.family == family && row.highestModel >= model) {
            name = row.name;
            break;
        }
    }
    if (brandIndex >= 1 && brandIndex <= 15) {
        name = kBrandNames[brandIndex];
    }
    const char* vendorName = ProcessorVendorDisplayName(vendorIndex);
    char text[128];
    if (name != nullptr) {
        std::snprintf(text, sizeof text, "%s%s%s Processor", vendorName, name, kTypeSuffixes[type]);
    } else {
        std::snprintf(text, sizeof text, "%s Unknown Processor (Type:%02d Family:%d, Model:%d)",
                      vendorName, static_cast<int>(type), static_cast<int>(family),
                      static_cast<int>(model));
    }
    return text;
}
