// Real writes that fail, for the tests of everything the programs write: a
// child process whose files may not grow past a few bytes (as a full disk
// would refuse them), a small file system that is full, and what a failed
// write may leave behind beside its target.
#pragma once

#include <fcntl.h>
#include <sched.h>
#include <sys/mount.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

namespace qv::test {

// In a child: no file may grow past `bytes`. SIGXFSZ is ignored, so a
// write past the limit fails with EFBIG instead of ending the process; the
// disposition survives exec, so a program started next is bound the same.
inline bool limitFileSize(rlim_t bytes) {
    std::signal(SIGXFSZ, SIG_IGN);
    struct rlimit limit {};
    if (::getrlimit(RLIMIT_FSIZE, &limit) != 0) return false;
    limit.rlim_cur = bytes;
    return ::setrlimit(RLIMIT_FSIZE, &limit) == 0;
}

// In a child: a file system of `bytes` mounted over `folder`, seen by this
// process alone (its own mount namespace, and its own user namespace when it
// is not the superuser). False when the system allows neither.
inline bool mountSmallDisk(const std::string& folder, std::size_t bytes) {
    if (::geteuid() != 0) {
        uid_t uid = ::geteuid();
        gid_t gid = ::getegid();
        if (::unshare(CLONE_NEWUSER | CLONE_NEWNS) != 0) return false;
        auto put = [](const char* file, const std::string& text) {
            int descriptor = ::open(file, O_WRONLY);
            if (descriptor < 0) return false;
            bool written =
                ::write(descriptor, text.data(), text.size()) == static_cast<ssize_t>(text.size());
            ::close(descriptor);
            return written;
        };
        put("/proc/self/setgroups", "deny");
        if (!put("/proc/self/uid_map", std::to_string(uid) + " " + std::to_string(uid) + " 1") ||
            !put("/proc/self/gid_map", std::to_string(gid) + " " + std::to_string(gid) + " 1"))
            return false;
    } else if (::unshare(CLONE_NEWNS) != 0) {
        return false;
    }
    if (::mount(nullptr, "/", nullptr, MS_REC | MS_PRIVATE, nullptr) != 0) return false;
    std::string options = "size=" + std::to_string(bytes);
    return ::mount("tmpfs", folder.c_str(), "tmpfs", 0, options.c_str()) == 0;
}

// In a child on a small disk: a file that takes all the room left.
inline void fillDisk(const std::string& path) {
    int descriptor = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (descriptor < 0) return;
    std::string block(4096, 'f');
    while (::write(descriptor, block.data(), block.size()) > 0) {
    }
    // The last partial block too.
    while (::write(descriptor, block.data(), 1) > 0) {
    }
    ::close(descriptor);
}

struct ChildOutcome {
    int status;        // the exit status, or 128 + the signal that ended the child
    std::string said;  // what the child wrote to the descriptor it was given
};

// Runs `work` in a forked child, which leaves with what `work` returns; the
// child may write what it has to say to the descriptor it is handed (a
// pipe, which no file size limit binds). A child that hangs ends with
// SIGALRM after `seconds`.
inline ChildOutcome runInChild(const std::function<int(int say)>& work, unsigned seconds = 60) {
    int pipeEnds[2];
    if (::pipe(pipeEnds) != 0) return {-1, "no pipe"};
    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child == 0) {
        ::close(pipeEnds[0]);
        ::alarm(seconds);
        ::_exit(work(pipeEnds[1]));
    }
    ::close(pipeEnds[1]);
    std::string said;
    char block[4096];
    for (ssize_t count; (count = ::read(pipeEnds[0], block, sizeof block)) != 0;) {
        if (count < 0) break;
        said.append(block, static_cast<std::size_t>(count));
    }
    ::close(pipeEnds[0]);
    int status = 0;
    ::waitpid(child, &status, 0);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status), said};
}

// Runs a program in a child with standard error on the pipe, its files
// bound to `fileSizeLimit` bytes (0: no bound) and the environment
// variables `environment` set ("NAME=VALUE") or removed ("NAME").
inline ChildOutcome runProgram(const std::vector<std::string>& arguments, rlim_t fileSizeLimit,
                               const std::vector<std::string>& environment = {},
                               unsigned seconds = 60) {
    return runInChild(
        [&](int say) {
            ::dup2(say, 2);
            for (const std::string& variable : environment) {
                std::size_t equals = variable.find('=');
                if (equals == std::string::npos) {
                    ::unsetenv(variable.c_str());
                } else {
                    ::setenv(variable.substr(0, equals).c_str(),
                             variable.substr(equals + 1).c_str(), 1);
                }
            }
            if (fileSizeLimit > 0 && !limitFileSize(fileSizeLimit)) return 126;
            // As a shell starts it: a write past the limit ends the program
            // unless the program itself says otherwise.
            std::signal(SIGXFSZ, SIG_DFL);
            std::vector<char*> argv;
            for (const std::string& argument : arguments)
                argv.push_back(const_cast<char*>(argument.c_str()));
            argv.push_back(nullptr);
            ::execv(argv[0], argv.data());
            return 127;
        },
        seconds);
}

// The names in `folder` that a write leaves only when it fails to clean
// up: its temporary files, ".NAME.tmp-XXXXXX".
inline std::vector<std::string> temporaryLeftovers(const std::filesystem::path& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        std::string name = entry.path().filename().string();
        if (name.starts_with(".") && name.find(".tmp-") != std::string::npos) names.push_back(name);
    }
    return names;
}

}  // namespace qv::test
