// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringList>

// What Wireshark's command-line reader makes of a capture file.
namespace Tshark {
// True when tshark is installed; the tests that need it skip otherwise.
bool Available();
// tshark -r FILE with the arguments; its standard output.
QString Read(const QString& strFile, const QStringList& args);
// One line per packet, the fields separated by '|'.
QStringList Fields(const QString& strFile, const QStringList& fields);
} // namespace Tshark

#define SKIP_WITHOUT_TSHARK()                                                                      \
    do {                                                                                           \
        if (!Tshark::Available())                                                                  \
            GTEST_SKIP() << "tshark is not installed (scripts/deps.sh installs it)";               \
    } while (0)
