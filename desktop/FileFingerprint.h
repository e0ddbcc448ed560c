// What a document file looked like when the window last read or wrote it:
// enough to tell later whether someone else changed it. Size, time and
// file identity are compared first (cheap); only when one differs is the
// content hashed, so that a file touched or rewritten with the same bytes
// does not count as changed.
#pragma once

#include <cstdint>
#include <optional>
#include <string>

namespace qv {

struct FileFingerprint {
    std::int64_t size = 0;
    std::int64_t modifiedNanoseconds = 0;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    std::uint64_t contentHash = 0;
};

enum class DiskChange { Same, Changed, Removed };

// The fingerprint of the file at `path` now; empty when there is no
// regular file there or it can not be read.
std::optional<FileFingerprint> fingerprintOf(const std::string& path);

// How the file at `path` compares with `known`. Same when only the
// metadata moved (then `known` takes the new metadata, so the next look
// is cheap again).
DiskChange compareWithDisk(const std::string& path, FileFingerprint& known);

}  // namespace qv
