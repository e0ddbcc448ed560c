// A crash as it happens to a user: the program runs on a document, a change
// is made, the program is killed (SIGKILL, nothing cleans up) once its
// recovery copy is on disk, and the next start offers the copy. The state
// folder is the test's own (XDG_STATE_HOME); the change and the answers
// come through the program's test variables (see desktop/quorvatelle.cpp).
#include <gtest/gtest.h>

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QTemporaryDir>
#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <thread>
#include <vector>

#include "tests/support/ScratchFolder.h"

namespace qv {
namespace {

using test::fileBytes;
using test::putFileBytes;

const char* const kDocument = "table Prices{\r\n    price:=12!\r\n}\r\n//--end";

// A running program with its standard error in a file; killed with SIGKILL
// at the end of its life unless it ended before.
class RunningProgram {
  public:
    RunningProgram(const std::string& document, const std::string& errors,
                   const std::vector<std::string>& environment) {
        m_pid = ::fork();
        if (m_pid != 0) return;
        int fd = ::open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (fd >= 0) ::dup2(fd, 2);
        for (const std::string& variable : environment) {
            std::size_t equals = variable.find('=');
            ::setenv(variable.substr(0, equals).c_str(), variable.substr(equals + 1).c_str(), 1);
        }
        ::unsetenv("DISPLAY");
        ::unsetenv("WAYLAND_DISPLAY");
        ::execl(QV_PROGRAM_PATH, QV_PROGRAM_PATH, document.c_str(), static_cast<char*>(nullptr));
        ::_exit(127);
    }
    ~RunningProgram() { kill(); }
    RunningProgram(const RunningProgram&) = delete;
    RunningProgram& operator=(const RunningProgram&) = delete;

    // The signal that ended it, or -1.
    int kill() {
        if (m_pid <= 0) return m_signal;
        ::kill(m_pid, SIGKILL);
        int status = 0;
        ::waitpid(m_pid, &status, 0);
        m_pid = -1;
        m_signal = WIFSIGNALED(status) ? WTERMSIG(status) : -1;
        return m_signal;
    }

  private:
    pid_t m_pid = -1;
    int m_signal = -1;
};

bool waitFor(const std::function<bool()>& condition, std::chrono::seconds limit) {
    auto end = std::chrono::steady_clock::now() + limit;
    while (std::chrono::steady_clock::now() < end) {
        if (condition()) return true;
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    return condition();
}

std::vector<std::string> filesEndingIn(const std::string& folder, const std::string& end) {
    std::vector<std::string> found;
    std::error_code error;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error))
        if (entry.path().string().ends_with(end)) found.push_back(entry.path().string());
    return found;
}

TEST(RecoveryProgram, AKilledProgramsWorkIsOfferedAtTheNextStart) {
    QTemporaryDir scratch;
    ASSERT_TRUE(scratch.isValid());
    std::string folder = scratch.path().toStdString();
    std::string document = folder + "/prices.qvl";
    std::string state = folder + "/state";
    std::string copies = state + "/quorvatelle";
    putFileBytes(document, kDocument);
    const std::vector<std::string> common = {"QT_QPA_PLATFORM=offscreen",
                                             "XDG_STATE_HOME=" + state};

    {
        std::vector<std::string> environment = common;
        environment.push_back("QUORVATELLE_TEST_CHANGE=1");
        environment.push_back("QUORVATELLE_TEST_RECOVERY_MS=200");
        RunningProgram program(document, folder + "/first.txt", environment);
        // The record is written after the copy: with it, both are there.
        ASSERT_TRUE(waitFor([&] { return !filesEndingIn(copies, ".info").empty(); },
                            std::chrono::seconds(30)))
            << fileBytes(folder + "/first.txt");
        EXPECT_EQ(program.kill(), SIGKILL);
    }
    std::vector<std::string> left = filesEndingIn(copies, ".qvl");
    ASSERT_EQ(left.size(), 1u);
    // The copy is an ordinary document: the document with the view added.
    EXPECT_TRUE(fileBytes(left[0]).starts_with("table Prices{\r\n")) << fileBytes(left[0]);
    EXPECT_NE(fileBytes(left[0]).find("project("), std::string::npos) << fileBytes(left[0]);
    EXPECT_EQ(fileBytes(document), kDocument);
    EXPECT_EQ(test::modeOf(copies) & 0777, 0700u);

    // Decide later: offered, and still there for the next time.
    for (const char* answer : {"later", "open"}) {
        SCOPED_TRACE(answer);
        std::vector<std::string> environment = common;
        environment.push_back(std::string("QUORVATELLE_TEST_ANSWERS=") + answer);
        std::string errors = folder + "/" + answer + ".txt";
        RunningProgram program(document, errors, environment);
        const std::string offer = "quorvatelle: dialog: " + document + " has a recovery copy";
        EXPECT_TRUE(waitFor([&] { return fileBytes(errors).find(offer) != std::string::npos; },
                            std::chrono::seconds(30)))
            << fileBytes(errors);
        if (std::string_view(answer) == "open") {
            // Open the saved file: the copy goes.
            EXPECT_TRUE(waitFor([&] { return filesEndingIn(copies, ".qvl").empty(); },
                                std::chrono::seconds(10)));
        } else {
            std::this_thread::sleep_for(std::chrono::milliseconds(300));
            EXPECT_EQ(filesEndingIn(copies, ".qvl").size(), 1u);
        }
        program.kill();
    }
    EXPECT_EQ(fileBytes(document), kDocument);
}

}  // namespace
}  // namespace qv
