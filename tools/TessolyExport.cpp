// SPDX-License-Identifier: GPL-3.0-or-later
// tessoly-export [--format F] IN OUT: a session recording or a saved log as
// CSV, KML, GPX or a Wireshark capture. Built a second time as tessoly-pcap
// (TESSOLY_PCAP_ONLY): IN OUT.pcap, the capture alone.
#include <QCoreApplication>
#include <QStringList>
#include <cstdio>

#include "export/SessionExport.h"

namespace {
#ifdef TESSOLY_PCAP_ONLY
const char kProgram[] = "tessoly-pcap";
const char kUsage[] = "usage: tessoly-pcap IN OUT.pcap\n"
                      "       tessoly-pcap --help\n"
                      "  IN: a session recording or a log saved with Logging > Save\n";
#else
const char kProgram[] = "tessoly-export";
const char kUsage[] = "usage: tessoly-export [--format csv|kml|gpx|pcap] IN OUT\n"
                      "       tessoly-export --help\n"
                      "  IN: a session recording or a log saved with Logging > Save\n"
                      "  OUT: written in the format of its extension (.csv, .kml, .gpx, .pcap)\n"
                      "       unless --format names one\n";
#endif
const int kUsageError = 2;

int Fail(const QString& strText, int nCode = 1)
{
    fprintf(stderr, "%s: %s\n", kProgram, qPrintable(strText));
    return nCode;
}

int Usage()
{
    fputs(kUsage, stderr);
    return kUsageError;
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QStringList args = app.arguments().mid(1);
    if (args.contains(QStringLiteral("--help"))) {
        fputs(kUsage, stdout);
        return 0;
    }
#ifdef TESSOLY_PCAP_ONLY
    int nFormat = EXPORT_PCAP;
#else
    int nFormat = -1;
    const int nAt = args.indexOf(QStringLiteral("--format"));
    if (nAt >= 0) {
        if (nAt + 1 >= args.size())
            return Usage();
        nFormat = CSessionExport::FormatOfName(args[nAt + 1]);
        if (nFormat < 0)
            return Fail(QStringLiteral("unknown format %1 (csv, kml, gpx or pcap)").arg(args[nAt + 1]),
                        kUsageError);
        args.remove(nAt, 2);
    }
#endif
    if (args.size() != 2)
        return Usage();
    const QString strIn = args[0], strOut = args[1];
    if (nFormat < 0)
        nFormat = CSessionExport::FormatOfPath(strOut);
    if (nFormat < 0)
        return Fail(QStringLiteral("cannot tell the format of %1: give it the extension .csv, .kml, "
                                   ".gpx or .pcap, or use --format")
                        .arg(strOut),
                    kUsageError);
    SExportCounts counts;
    QString strError;
    if (CSessionExport::Run(strIn, strOut, nFormat, &counts, &strError) != CSessionExport::EX_OK)
        return Fail(strError);
    printf("%d lines read, %d %s written, %d lines skipped\n", counts.nLines, counts.nWritten,
           counts.pszUnit, counts.nSkipped);
    return 0;
}
