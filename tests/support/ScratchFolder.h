// A folder of one's own for tests that write files, the small file helpers
// those tests share, and the targets no program may write over.
#pragma once

#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <string_view>
#include <vector>

namespace qv::test {

// A fresh folder under the system's temporary folder, removed at the end
// (also when a test took its permissions away).
class ScratchFolder {
  public:
    explicit ScratchFolder(std::string_view prefix = "qv-app-") {
        std::string pattern =
            (std::filesystem::temp_directory_path() / (std::string(prefix) + "XXXXXX")).string();
        if (::mkdtemp(pattern.data()) == nullptr) std::abort();
        m_path = pattern;
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::permissions(m_path, std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
        std::filesystem::remove_all(m_path, ignored);
    }
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    std::string file(std::string_view name) const { return (m_path / name).string(); }
    const std::filesystem::path& path() const noexcept { return m_path; }
    std::ptrdiff_t entries() const {
        return std::distance(std::filesystem::directory_iterator(m_path),
                             std::filesystem::directory_iterator());
    }

  private:
    std::filesystem::path m_path;
};

inline std::string fileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void putFileBytes(const std::string& path, std::string_view bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

// The permission bits of a file (a link followed), 0 when there is none.
inline mode_t modeOf(const std::string& path) {
    struct stat status {};
    return ::stat(path.c_str(), &status) == 0 ? status.st_mode & 07777 : 0;
}

// The kind of what a path names itself (S_IFIFO, S_IFLNK, ...), 0 for nothing.
inline mode_t typeOf(const std::string& path) {
    struct stat status {};
    return ::lstat(path.c_str(), &status) == 0 ? status.st_mode & S_IFMT : 0;
}

// Made in `folder`, named NAME + `suffix`: a pipe ("pipe"), a folder
// ("folder"), a device node with the numbers of /dev/null ("null", where the
// system lets the test make one, so a fault replaces nothing that matters)
// and a symbolic link to each ("to-" + its name). Empty when one could not
// be made.
inline std::vector<std::string> makeNonRegularTargets(const ScratchFolder& folder,
                                                      const std::string& suffix) {
    std::string pipe = folder.file("pipe" + suffix);
    std::string subfolder = folder.file("folder" + suffix);
    if (::mkfifo(pipe.c_str(), 0600) != 0 || ::mkdir(subfolder.c_str(), 0700) != 0) return {};
    std::vector<std::string> targets = {pipe, subfolder};
    std::string device = folder.file("null" + suffix);
    if (::mknod(device.c_str(), S_IFCHR | 0600, makedev(1, 3)) == 0) targets.push_back(device);
    for (std::string target : std::vector<std::string>(targets)) {
        std::string name = std::filesystem::path(target).filename().string();
        std::string link = folder.file("to-" + name);
        if (::symlink(target.c_str(), link.c_str()) != 0) return {};
        targets.push_back(link);
    }
    return targets;
}

}  // namespace qv::test
