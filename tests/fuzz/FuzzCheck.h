#pragma once

#include <QtGlobal>

#include <cstdio>
#include <cstdlib>

// What every fuzz target shares: the program's diagnostics are dropped (they would only slow
// the search), and a broken invariant ends the run the way a crash does, so libFuzzer keeps
// the input that broke it.
namespace FuzzCheck {

inline void silenceDiagnostics()
{
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext &, const QString &) {});
}

[[noreturn]] inline void fail(const char *what, const char *file, int line)
{
    std::fprintf(stderr, "%s:%d: invariant broken: %s\n", file, line, what);
    std::abort();
}

} // namespace FuzzCheck

#define FUZZ_CHECK(condition)                                        \
    do {                                                             \
        if (!(condition))                                            \
            FuzzCheck::fail(#condition, __FILE__, __LINE__);         \
    } while (false)
