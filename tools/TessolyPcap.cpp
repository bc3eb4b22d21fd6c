// SPDX-License-Identifier: GPL-3.0-or-later
// tessoly-pcap IN OUT.pcap: the System Information messages of a session
// recording or a saved log, as a capture file for Wireshark.
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "gsmtap/GsmtapPacket.h"
#include "gsmtap/PcapWriter.h"
#include "serial/TrafficLog.h"
#include "session/SessionLog.h"
#include "sysinfo/BcchCapture.h"
#include "trace/TraceReport.h"

namespace {
// Lines of a saved log carry no time: they are taken one second apart.
const qint64 kSavedLogStepMs = 1000;

const char kUsage[] = "usage: tessoly-pcap IN OUT.pcap\n"
                      "       tessoly-pcap --help\n"
                      "  IN: a session recording or a log saved with Logging > Save\n";

int Fail(const QString& strText)
{
    fprintf(stderr, "tessoly-pcap: %s\n", qPrintable(strText));
    return 1;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.contains(QStringLiteral("--help"))) {
        fputs(kUsage, stdout);
        return 0;
    }
    if (args.size() != 3) {
        fputs(kUsage, stderr);
        return 2;
    }
    const QString strIn = args[1], strOut = args[2];
    QString strError;
    CSessionLog log;
    if (log.Open(strIn, &strError) != CSessionLog::SL_OK)
        return Fail(QStringLiteral("cannot read %1: %2").arg(strIn, strError));
    CPcapWriter writer;
    if (!writer.Open(strOut, &strError))
        return Fail(QStringLiteral("cannot write %1: %2").arg(strOut, strError));

    CTraceReport report;
    CBcchCapture capture;
    qint64 nTime = QFileInfo(strIn).lastModified().toMSecsSinceEpoch() - kSavedLogStepMs;
    int nEntries = 0, nMessages = 0;
    SLogEntry entry;
    while (log.Next(&entry)) {
        ++nEntries;
        nTime = entry.nTime >= 0 ? entry.nTime : nTime + kSavedLogStepMs;
        if (entry.nChannel != LOG_TRACE || entry.bSent)
            continue;
        QString line = QString::fromLatin1(entry.text);
        const int nKind = report.ParseLine(line);
        SBcchMessage message;
        if (capture.Follow(report, nKind, &message)) {
            writer.Write(nTime, CGsmtapPacket::Make(message));
            ++nMessages;
        }
    }
    if (nEntries == 0)
        return Fail(
            QStringLiteral("%1 is not a traffic log (no line of it is a log entry)").arg(strIn));
    if (!writer.Commit(&strError))
        return Fail(QStringLiteral("cannot write %1: %2").arg(strOut, strError));
    printf("%d lines read, %d messages written, %d lines skipped\n", log.Lines(), nMessages,
           log.Skipped());
    return 0;
}
