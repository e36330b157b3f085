#pragma once
#include <sys/types.h>

#include <filesystem>
#include <string>
#include <vector>

namespace tvane::test {

// A program run as a child process of the test, with its output in a log file.
struct ChildLaunch {
    std::string program;
    std::vector<std::string> arguments; // argv from argv[0] on
    // Variables set ("NAME=value") or dropped ("NAME") in the test's environment.
    std::vector<std::string> set;
    std::vector<std::string> drop;
    std::filesystem::path log;
    // A child that has not ended by then is ended by SIGALRM.
    unsigned alarmSeconds = 60;
    // The child starts with a SIGTERM waiting that it holds back until it takes it.
    bool terminateWaiting = false;
};

// Starts the child; everything it needs is made before the fork, so that it only
// calls what is safe between fork and exec. Returns its process id, or -1.
pid_t StartChild(const ChildLaunch& launch);

} // namespace tvane::test
