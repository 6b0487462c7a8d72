// SPDX-License-Identifier: GPL-3.0-or-later
// Running a program on POSIX systems; runcli_windows.cpp is the counterpart.
#include "support/runcli.h"

#ifndef _WIN32

#include <cerrno>
#include <chrono>
#include <csignal>
#include <cstring>

#include <fcntl.h>
#include <poll.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

extern char **environ;

namespace tessaplex::test {

namespace {

// Closes a descriptor once, whatever path leaves the function.
struct Descriptor {
    int fd = -1;
    ~Descriptor() { reset(); }
    void reset() {
        if (fd >= 0)
            ::close(fd);
        fd = -1;
    }
};

bool makePipe(Descriptor &readEnd, Descriptor &writeEnd) {
    int fds[2];
    if (::pipe2(fds, O_CLOEXEC) != 0)
        return false;
    readEnd.fd = fds[0];
    writeEnd.fd = fds[1];
    return true;
}

} // namespace

ProcessResult runProgram(const std::string &program, const std::vector<std::string> &args,
                         const std::string &workdir, int timeoutSeconds) {
    ProcessResult result;
    Descriptor outRead, outWrite, errRead, errWrite;
    if (!makePipe(outRead, outWrite) || !makePipe(errRead, errWrite)) {
        result.err = "cannot create pipes: " + std::string(std::strerror(errno));
        return result;
    }

    std::vector<std::string> argStrings;
    argStrings.reserve(args.size() + 1);
    argStrings.push_back(program);
    argStrings.insert(argStrings.end(), args.begin(), args.end());
    std::vector<char *> argv;
    for (std::string &arg : argStrings)
        argv.push_back(arg.data());
    argv.push_back(nullptr);

    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_addopen(&actions, 0, "/dev/null", O_RDONLY, 0);
    posix_spawn_file_actions_adddup2(&actions, outWrite.fd, 1);
    posix_spawn_file_actions_adddup2(&actions, errWrite.fd, 2);
    if (!workdir.empty())
        posix_spawn_file_actions_addchdir_np(&actions, workdir.c_str());
    pid_t pid = 0;
    const int spawned =
        ::posix_spawn(&pid, program.c_str(), &actions, nullptr, argv.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    outWrite.reset();
    errWrite.reset();
    if (spawned != 0) {
        result.err = "cannot start " + program + ": " + std::strerror(spawned);
        return result;
    }

    // Both pipes are drained together, so that a program filling one of them never blocks.
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(timeoutSeconds);
    bool timedOut = false;
    char buffer[65536];
    while (outRead.fd >= 0 || errRead.fd >= 0) {
        pollfd fds[2] = {{outRead.fd, POLLIN, 0}, {errRead.fd, POLLIN, 0}};
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        if (left <= 0) {
            timedOut = true;
            break;
        }
        const int ready = ::poll(fds, 2, static_cast<int>(left));
        if (ready < 0 && errno == EINTR)
            continue;
        if (ready < 0)
            break;
        Descriptor *ends[2] = {&outRead, &errRead};
        std::string *texts[2] = {&result.out, &result.err};
        for (int i = 0; i < 2; ++i) {
            if (ends[i]->fd < 0 || fds[i].revents == 0)
                continue;
            const ssize_t n = ::read(ends[i]->fd, buffer, sizeof buffer);
            if (n > 0)
                texts[i]->append(buffer, static_cast<std::size_t>(n));
            else if (n == 0 || errno != EINTR)
                ends[i]->reset();
        }
    }
    if (timedOut)
        ::kill(pid, SIGKILL);

    int status = 0;
    while (::waitpid(pid, &status, 0) < 0 && errno == EINTR) {
    }
    if (timedOut) {
        result.exitCode = -1;
        result.err += "\n[killed after " + std::to_string(timeoutSeconds) + " s]";
    } else if (WIFEXITED(status)) {
        result.exitCode = WEXITSTATUS(status);
    } else if (WIFSIGNALED(status)) {
        result.exitCode = 128 + WTERMSIG(status);
    }
    return result;
}

} // namespace tessaplex::test

#endif
