#pragma once

#include <sys/types.h>

#include <chrono>
#include <optional>
#include <string>
#include <vector>

namespace testing_support {

// A program run with its standard output on a pipe and this process's environment. Every wait
// is a bounded poll; a child still running when this goes is killed.
class ChildProcess {
public:
    static constexpr std::chrono::milliseconds patience{30000};

    ChildProcess(const std::string& program, const std::vector<std::string>& arguments);
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool isStarted() const { return pid_ > 0; }
    pid_t pid() const { return pid_; }

    // The next line of output without its newline; nullopt at the end of output or on timeout.
    std::optional<std::string> readLine(std::chrono::milliseconds timeout = patience);
    // All output left, up to its end.
    std::string readAll(std::chrono::milliseconds timeout = patience);
    // Reads to the end of output and reaps the child, all within `timeout`: its exit code, or -1
    // when it did not exit normally in time (it is killed then).
    int finish(std::chrono::milliseconds timeout = patience);
    // SIGKILL, then reap.
    void kill();
    // Sends `number` (SIGTERM, ...) without waiting.
    void signal(int number);

private:
    // False on timeout or at the end of output.
    bool fill(std::chrono::steady_clock::time_point deadline);

    pid_t pid_ = -1;
    int output_ = -1;
    std::string buffered_;
    bool ended_ = false;
};

} // namespace testing_support
