// Runs qvl as the shell does, in a forked child: standard input and output
// come from files (a document, /dev/zero, /dev/full), standard error is
// captured, and the address space may be limited. The child leaves with the
// tool's exit status, so what the test sees is what a script would.
#pragma once

#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>

#include "cli/Commands.h"
#include "tests/support/FailingWrites.h"

namespace qv::cli::test {

struct ToolRun {
    std::string input = "/dev/null";
    std::string output;       // empty: captured
    rlim_t addressSpace = 0;  // bytes more than the child has at the start; 0: no limit
    unsigned seconds = 120;   // a child that hangs ends with SIGALRM
    rlim_t fileSize = 0;      // bytes a file may grow to; 0: no limit
};

struct ToolOutcome {
    int status;  // the exit status, or 128 + the signal that ended the child
    std::string out;
    std::string err;
};

inline std::string fileText(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline void putBytes(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary | std::ios::trunc) << bytes;
}

// Bytes of address space the process holds now.
inline rlim_t addressSpaceInUse() {
    unsigned long pages = 0;
    if (std::FILE* statm = std::fopen("/proc/self/statm", "r")) {
        if (std::fscanf(statm, "%lu", &pages) != 1) pages = 0;
        std::fclose(statm);
    }
    return static_cast<rlim_t>(pages) * static_cast<rlim_t>(::sysconf(_SC_PAGESIZE));
}

[[noreturn]] inline void runChild(const ArgumentList& arguments, const ToolRun& run,
                                  const std::string& outPath, const std::string& errPath) {
    int in = ::open(run.input.c_str(), O_RDONLY);
    int out = ::open(outPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    int err = ::open(errPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (in < 0 || out < 0 || err < 0) ::_exit(100);
    ::dup2(in, 0), ::dup2(out, 1), ::dup2(err, 2);
    ::alarm(run.seconds);
    if (run.addressSpace > 0) {
        rlim_t limit = addressSpaceInUse() + run.addressSpace;
        struct rlimit bound {
            limit, limit
        };
        if (::setrlimit(RLIMIT_AS, &bound) != 0) ::_exit(101);
    }
    // With SIGXFSZ as a shell leaves it, the tool must keep a write past the
    // limit from ending it.
    if (run.fileSize > 0 && !qv::test::limitFileSize(run.fileSize)) ::_exit(102);
    std::signal(SIGXFSZ, SIG_DFL);
    int status = runTool(arguments);
    std::fflush(stderr);
    ::_exit(status);
}

inline ToolOutcome runToolInChild(const ArgumentList& arguments, const ToolRun& run = {}) {
    std::string base = ::testing::TempDir() + "qvl-child-" + std::to_string(::getpid());
    std::string outPath = run.output.empty() ? base + ".out" : run.output;
    std::string errPath = base + ".err";
    std::fflush(nullptr);
    pid_t child = ::fork();
    if (child == 0) runChild(arguments, run, outPath, errPath);
    int status = 0;
    ::waitpid(child, &status, 0);
    ToolOutcome outcome{WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status),
                        run.output.empty() ? fileText(outPath) : std::string(), fileText(errPath)};
    if (run.output.empty()) std::remove(outPath.c_str());
    std::remove(errPath.c_str());
    return outcome;
}

}  // namespace qv::cli::test
