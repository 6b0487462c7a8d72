// SPDX-License-Identifier: GPL-3.0-or-later
#include "cli/systemstreams.h"

#include <algorithm>
#include <cstdio>

#ifdef _WIN32
#include "io/systempath.h"

#include <fcntl.h>
#include <io.h>
#include <windows.h>

#include <shellapi.h>
#endif

namespace tessaplex::cli {

void useBinaryStandardStreams() {
#ifdef _WIN32
    (void)_setmode(_fileno(stdout), _O_BINARY);
    (void)_setmode(_fileno(stderr), _O_BINARY);
#endif
}

std::vector<std::string> argumentsOf(int argc, char **argv) {
    std::vector<std::string> arguments;
#ifdef _WIN32
    // argv holds the arguments in the code page, which cannot spell every name.
    (void)argc;
    (void)argv;
    int count = 0;
    wchar_t **wide = CommandLineToArgvW(GetCommandLineW(), &count);
    for (int i = 1; wide && i < count; ++i)
        arguments.push_back(io::utf8Text(wide[i]));
    LocalFree(wide);
#else
    arguments.assign(argv + std::min(argc, 1), argv + argc);
#endif
    std::reverse(arguments.begin(), arguments.end());
    return arguments;
}

} // namespace tessaplex::cli
