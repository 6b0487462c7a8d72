// SPDX-License-Identifier: GPL-3.0-or-later
// Running a program on Windows; runcli.cpp is the POSIX counterpart.
#include "support/runcli.h"

#ifdef _WIN32

#include "io/systempath.h"

#include <thread>

#include <windows.h>

namespace tessaplex::test {

namespace {

// One argument as the C runtime of the started program splits it again: quoted, with the
// backslashes before a quote doubled.
std::wstring quoted(const std::wstring &arg) {
    if (!arg.empty() && arg.find_first_of(L" \t\n\v\"") == std::wstring::npos)
        return arg;
    std::wstring out = L"\"";
    std::size_t backslashes = 0;
    for (const wchar_t c : arg) {
        if (c == L'\\') {
            ++backslashes;
            continue;
        }
        out.append(c == L'"' ? backslashes * 2 + 1 : backslashes, L'\\');
        backslashes = 0;
        out.push_back(c);
    }
    out.append(backslashes * 2, L'\\');
    return out + L"\"";
}

struct Pipe {
    HANDLE read = nullptr, write = nullptr;
    ~Pipe() {
        closeRead();
        closeWrite();
    }
    void closeRead() {
        if (read)
            CloseHandle(read);
        read = nullptr;
    }
    void closeWrite() {
        if (write)
            CloseHandle(write);
        write = nullptr;
    }
};

// Drains a pipe on a thread of its own, so that a program filling the other never blocks.
std::thread drain(HANDLE pipe, std::string &text) {
    return std::thread([pipe, &text] {
        char buffer[65536];
        DWORD n = 0;
        while (ReadFile(pipe, buffer, sizeof buffer, &n, nullptr) && n > 0)
            text.append(buffer, n);
    });
}

} // namespace

ProcessResult runProgram(const std::string &program, const std::vector<std::string> &args,
                         const std::string &workdir, int timeoutSeconds) {
    ProcessResult result;
    SECURITY_ATTRIBUTES inherit{sizeof(SECURITY_ATTRIBUTES), nullptr, TRUE};
    Pipe out, err;
    if (!CreatePipe(&out.read, &out.write, &inherit, 0) ||
        !CreatePipe(&err.read, &err.write, &inherit, 0)) {
        result.err = "cannot create pipes";
        return result;
    }
    SetHandleInformation(out.read, HANDLE_FLAG_INHERIT, 0);
    SetHandleInformation(err.read, HANDLE_FLAG_INHERIT, 0);
    const HANDLE nul = CreateFileW(L"NUL", GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                                   &inherit, OPEN_EXISTING, 0, nullptr);

    std::wstring commandLine = quoted(io::wideText(program));
    for (const std::string &arg : args)
        commandLine += L" " + quoted(io::wideText(arg));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESTDHANDLES;
    startup.hStdInput = nul;
    startup.hStdOutput = out.write;
    startup.hStdError = err.write;
    PROCESS_INFORMATION process{};
    const std::wstring folder = io::wideText(workdir);
    const BOOL started =
        CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, TRUE, CREATE_NO_WINDOW,
                       nullptr, workdir.empty() ? nullptr : folder.c_str(), &startup, &process);
    if (nul != INVALID_HANDLE_VALUE)
        CloseHandle(nul);
    out.closeWrite();
    err.closeWrite();
    if (!started) {
        result.err = "cannot start " + program + ": error " + std::to_string(GetLastError());
        return result;
    }
    CloseHandle(process.hThread);

    std::thread outReader = drain(out.read, result.out);
    std::thread errReader = drain(err.read, result.err);
    const bool timedOut = WaitForSingleObject(process.hProcess, static_cast<DWORD>(timeoutSeconds) *
                                                                    1000) == WAIT_TIMEOUT;
    if (timedOut) {
        TerminateProcess(process.hProcess, 1);
        WaitForSingleObject(process.hProcess, INFINITE);
    }
    outReader.join();
    errReader.join();
    DWORD code = 0;
    GetExitCodeProcess(process.hProcess, &code);
    CloseHandle(process.hProcess);
    if (timedOut) {
        result.exitCode = -1;
        result.err += "\n[killed after " + std::to_string(timeoutSeconds) + " s]";
    } else {
        result.exitCode = static_cast<int>(code);
    }
    return result;
}

} // namespace tessaplex::test

#endif
