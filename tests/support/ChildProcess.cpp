#include "tests/support/ChildProcess.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <algorithm>

extern char** environ;

namespace tvane::test {

namespace {

std::string NameOf(const std::string& variable) {
    return variable.substr(0, variable.find('='));
}

} // namespace

pid_t StartChild(const ChildLaunch& launch) {
    std::vector<std::string> variables;
    for (char** v = environ; *v != nullptr; ++v) {
        const std::string name = NameOf(*v);
        const auto named = [&name](const std::string& other) { return NameOf(other) == name; };
        if (std::none_of(launch.drop.begin(), launch.drop.end(), named) &&
            std::none_of(launch.set.begin(), launch.set.end(), named))
            variables.emplace_back(*v);
    }
    variables.insert(variables.end(), launch.set.begin(), launch.set.end());
    std::vector<char*> envp;
    for (std::string& v : variables)
        envp.push_back(v.data());
    envp.push_back(nullptr);
    std::vector<std::string> arguments = launch.arguments;
    std::vector<char*> argv;
    for (std::string& a : arguments)
        argv.push_back(a.data());
    argv.push_back(nullptr);
    const std::string log = launch.log.string();
    sigset_t terminate;
    sigemptyset(&terminate);
    sigaddset(&terminate, SIGTERM);

    const pid_t child = fork();
    if (child == 0) {
        const int out = ::open(log.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        if (out >= 0) {
            dup2(out, 1);
            dup2(out, 2);
        }
        if (launch.terminateWaiting) {
            sigprocmask(SIG_BLOCK, &terminate, nullptr);
            kill(getpid(), SIGTERM);
        }
        alarm(launch.alarmSeconds);
        execve(launch.program.c_str(), argv.data(), envp.data());
        _exit(127);
    }
    return child;
}

} // namespace tvane::test
