#pragma once

// Bounds on what one archive may unpack. A monitor file checks at most 65535
// bytes of archive, but the extraction reads the whole file, so anything
// after the checked payload (or a payload of zeros deflated a thousandfold)
// could make the tool write without end, at 10 ms per kilobyte. The bounds lie
// far above what a monitor model holds (a few small XML files), and an
// archive beyond them is refused before anything is written.

#include <unzip.h>

#include <cstdint>

namespace archive_detail {

// More entries than a 65535-byte archive can hold: every entry takes at
// least 76 bytes of local and central headers.
inline constexpr std::uint64_t kMaxEntries = 65535 / 76;
// The unpacked bytes of all entries together: 16 MiB, close to three
// minutes of write pauses.
inline constexpr std::uint64_t kMaxUnpackedBytes = std::uint64_t{16} << 20;

// True when the archive's central directory announces no more entries and
// no more unpacked bytes (the sizes it records, which bound what the reader
// delivers) than the bounds allow. Reads only the directory, from the first
// entry on; a directory that cannot be read to its end is left to the
// extraction, which fails at the damaged entry.
bool WithinUnpackLimits(unzFile archive);

}  // namespace archive_detail
