// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

// Helpers shared by the fuzz targets.
#include <QApplication>
#include <QByteArray>
#include <QList>
#include <cstdio>
#include <cstdlib>
#include <sys/stat.h>
#include <unistd.h>

// Stops the run with a message: libFuzzer records the input as a crash.
#define FUZZ_CHECK(cond)                                                                           \
    do {                                                                                           \
        if (!(cond)) {                                                                             \
            fprintf(stderr, "invariant failed: %s (%s:%d)\n", #cond, __FILE__, __LINE__);          \
            abort();                                                                               \
        }                                                                                          \
    } while (0)

namespace fuzz {

inline void QuietMessages(QtMsgType, const QMessageLogContext&, const QString&) {}

// One QApplication on the offscreen platform for the whole run; Qt's
// warnings are dropped so that they do not slow the run down.
inline void StartApplication()
{
    static int argc = 1;
    static char name[] = "fuzz";
    static char* argv[] = {name, nullptr};
    qputenv("QT_QPA_PLATFORM", "offscreen");
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir = "/tmp/tessoly-runtime-" + QByteArray::number(getuid());
        mkdir(dir.constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    qInstallMessageHandler(QuietMessages);
    static QApplication* app = new QApplication(argc, argv);
    (void)app;
}

// The input cut at '\n' bytes (the bytes themselves are dropped).
inline QList<QByteArray> Lines(const unsigned char* data, size_t size)
{
    return QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size))
        .split('\n');
}

// True when the character field holds its zero terminator.
template <size_t N> bool Terminated(const char (&field)[N])
{
    for (size_t i = 0; i < N; ++i) {
        if (field[i] == 0)
            return true;
    }
    return false;
}

} // namespace fuzz
