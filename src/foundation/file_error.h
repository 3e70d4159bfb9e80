#pragma once
// The error codes of the file layer. Windows error codes (2 file not found, 3 path not found,
// 6 invalid handle, 8 not enough memory, 87 invalid parameter, 112 disk full, 161 bad path name)
// pass through the same fields unchanged.

#include <cstdint>

namespace FileError {

// Pack archive format (see PackFile::Open).
constexpr std::uint32_t PackPlaceholder = 0x20000001;  // a 4-byte zero word instead of a header
constexpr std::uint32_t ShortRead = 0x20000002;        // fewer bytes than asked, no system error
constexpr std::uint32_t BadMagic = 0x20000003;         // magic is not "PAK0"
constexpr std::uint32_t BadParent = 0x20000004;        // parent index not below the count
constexpr std::uint32_t RootNotFirst = 0x20000005;     // directory entry 0 is not the root
constexpr std::uint32_t ExtraRoot = 0x20000006;        // another entry has the root's parent
constexpr std::uint32_t DirNamesExhausted = 0x20000007;
constexpr std::uint32_t FileNamesExhausted = 0x20000008;
constexpr std::uint32_t NoPackName = 0x20000009;
// Damaged header tables: no directory, sizes that do not add up, a file range past the count.
constexpr std::uint32_t BadHeader = 0x2000000A;

// Steps of the layer; a start value stays when nothing more precise replaces it.
constexpr std::uint32_t NoData = 0x21000000;
constexpr std::uint32_t AttachFailed = 0x21000001;
constexpr std::uint32_t RetriesExhausted = 0x21000002;
constexpr std::uint32_t ReadException = 0x21000003;
constexpr std::uint32_t PackOpenFailed = 0x21000004;
constexpr std::uint32_t PackReadException = 0x21000006;
constexpr std::uint32_t PlainReadException = 0x21000007;
constexpr std::uint32_t SaveFailed = 0x21000008;
constexpr std::uint32_t LoadFailed = 0x2100000A;
constexpr std::uint32_t SaveFileFailed = 0x2100000B;

}  // namespace FileError
