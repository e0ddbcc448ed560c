// Writes recovery copies on a thread of its own, so that turning a large
// document's text into a file (line ends, the disk, its flush) never holds
// up the window. Jobs run in the order given; a newer copy for the same
// file replaces one still waiting, and a removal drops the copies waiting
// before it. The destructor finishes the jobs given, then ends the thread.
#pragma once

#include <condition_variable>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <thread>

namespace qv {

class RecoveryWriter {
  public:
    RecoveryWriter();
    ~RecoveryWriter();
    RecoveryWriter(const RecoveryWriter&) = delete;
    RecoveryWriter& operator=(const RecoveryWriter&) = delete;

    // `document` is written to `copyPath` as a document file (the end mark
    // included by the caller), then `record` to `recordPath`; each atomically.
    void write(std::string copyPath, std::string recordPath, std::string record,
               std::string document);
    void remove(std::string copyPath, std::string recordPath);
    // Waits until every job given so far is done.
    void waitIdle();
    // The message of the last job that failed, once.
    std::optional<std::string> takeFailure();

  private:
    struct Job {
        bool remove = false;
        std::string copyPath;
        std::string recordPath;
        std::string record;
        std::string document;
    };
    void add(Job job);
    void run();
    // The job's failure, if it failed.
    static std::optional<std::string> perform(const Job& job);

    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::deque<Job> m_jobs;
    bool m_busy = false;
    bool m_stopping = false;
    std::optional<std::string> m_failure;
    std::thread m_thread;
};

}  // namespace qv
