#include "desktop/FileFingerprint.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <array>

namespace qv {

namespace {

struct Metadata {
    std::int64_t size;
    std::int64_t modifiedNanoseconds;
    std::uint64_t device;
    std::uint64_t inode;
};

std::optional<Metadata> metadataOf(int descriptor) {
    struct stat status {};
    if (::fstat(descriptor, &status) != 0 || !S_ISREG(status.st_mode)) return std::nullopt;
    return Metadata{
        static_cast<std::int64_t>(status.st_size),
        static_cast<std::int64_t>(status.st_mtim.tv_sec) * 1000000000 + status.st_mtim.tv_nsec,
        static_cast<std::uint64_t>(status.st_dev), static_cast<std::uint64_t>(status.st_ino)};
}

class Descriptor {
  public:
    explicit Descriptor(const std::string& path)
        : m_fd(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK)) {}
    ~Descriptor() {
        if (m_fd >= 0) ::close(m_fd);
    }
    Descriptor(const Descriptor&) = delete;
    Descriptor& operator=(const Descriptor&) = delete;
    int get() const noexcept { return m_fd; }

  private:
    int m_fd;
};

// FNV-1a over the whole file; empty when a read fails.
std::optional<std::uint64_t> hashOf(int descriptor) {
    std::uint64_t hash = 14695981039346656037ull;
    std::array<unsigned char, 1 << 16> buffer;
    for (;;) {
        ssize_t got = ::read(descriptor, buffer.data(), buffer.size());
        if (got < 0) return std::nullopt;
        if (got == 0) return hash;
        for (ssize_t i = 0; i < got; ++i) {
            hash ^= buffer[static_cast<std::size_t>(i)];
            hash *= 1099511628211ull;
        }
    }
}

bool sameMetadata(const Metadata& now, const FileFingerprint& known) {
    return now.size == known.size && now.modifiedNanoseconds == known.modifiedNanoseconds &&
           now.device == known.device && now.inode == known.inode;
}

}  // namespace

std::optional<FileFingerprint> fingerprintOf(const std::string& path) {
    // Opened first and only looked at through the descriptor: the metadata
    // and the content are those of the same file. A pipe in the file's
    // place is refused by the regular-file test before any read could wait.
    Descriptor file(path);
    if (file.get() < 0) return std::nullopt;
    std::optional<Metadata> metadata = metadataOf(file.get());
    if (!metadata) return std::nullopt;
    std::optional<std::uint64_t> hash = hashOf(file.get());
    if (!hash) return std::nullopt;
    return FileFingerprint{metadata->size, metadata->modifiedNanoseconds, metadata->device,
                           metadata->inode, *hash};
}

DiskChange compareWithDisk(const std::string& path, FileFingerprint& known) {
    Descriptor file(path);
    if (file.get() < 0) return DiskChange::Removed;
    std::optional<Metadata> metadata = metadataOf(file.get());
    if (!metadata) return DiskChange::Removed;
    if (sameMetadata(*metadata, known)) return DiskChange::Same;
    if (metadata->size != known.size) return DiskChange::Changed;
    std::optional<std::uint64_t> hash = hashOf(file.get());
    if (!hash || *hash != known.contentHash) return DiskChange::Changed;
    known = {metadata->size, metadata->modifiedNanoseconds, metadata->device, metadata->inode,
             *hash};
    return DiskChange::Same;
}

}  // namespace qv
