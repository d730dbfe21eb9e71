#pragma once
// The suite's keyed-file library KEYF32.so: opens a keyed file by name and reads a record by
// its key. A keyed file is a header followed by fixed-length records sorted by the key
// bytes at their start:
//   bytes 0-7   "KEYF32\x1a\0"
//   bytes 8-9   record length, little-endian
//   bytes 10-11 key length (the first bytes of each record), little-endian
//   bytes 12-15 number of records, little-endian
// The region classifier REGKL holds 54-byte records with a 2-byte key: the region code,
// most significant byte first; byte 2 zero; bytes 3-52 the name in CP866, zero-padded.

#include <cstdint>

namespace keyf32 {

inline constexpr char kMagic[8] = {'K', 'E', 'Y', 'F', '3', '2', '\x1a', '\0'};
inline constexpr int kHeaderSize = 16;

inline constexpr int kRegionRecordSize = 54;
inline constexpr int kRegionNameOffset = 3;
inline constexpr int kRegionNameSize = 50;

// Opens a keyed file: a name without a folder is looked for beside KEYF32.so. The host's
// keyed-file context is accepted for the suite's convention and not needed here. Returns a
// handle above 0, or -1 when the file is missing or not a keyed file.
using OpenFn = int32_t (*)(int32_t context, const char* name);
// Looks up the key at the start of record; when found, copies the whole record over it and
// returns 0, otherwise returns 1 (-1 for a bad handle) and leaves the buffer alone.
using ReadFn = int32_t (*)(int32_t handle, void* record);

}  // namespace keyf32
