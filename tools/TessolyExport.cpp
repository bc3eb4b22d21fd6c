// SPDX-License-Identifier: GPL-3.0-or-later
// tessoly-export [--format F] IN OUT: a session recording or a saved log as
// CSV, KML, GPX or a Wireshark capture; tessoly-export [options] IN
// mqtt://HOST:PORT/TOPIC: its samples and events to an MQTT broker as the
// fleet feed publishes them. Built a second time as tessoly-pcap
// (TESSOLY_PCAP_ONLY): IN OUT.pcap, the capture alone.
#include <QCoreApplication>
#include <QFile>
#include <QStringList>
#include <QUrl>
#include <cstdio>

#include "export/SessionExport.h"
#ifndef TESSOLY_PCAP_ONLY
#include "export/SessionPublish.h"
#endif

namespace {
#ifdef TESSOLY_PCAP_ONLY
const char kProgram[] = "tessoly-pcap";
const char kUsage[] = "usage: tessoly-pcap IN OUT.pcap\n"
                      "       tessoly-pcap --help\n"
                      "  IN: a session recording or a log saved with Logging > Save\n";
#else
const char kProgram[] = "tessoly-export";
const char kUsage[] =
    "usage: tessoly-export [--format csv|kml|gpx|pcap] IN OUT\n"
    "       tessoly-export [--user NAME] [--password-file FILE] [--tls] [--cafile FILE]\n"
    "                      IN mqtt://HOST[:PORT]/TOPIC\n"
    "       tessoly-export --help\n"
    "  IN: a session recording or a log saved with Logging > Save\n"
    "  OUT: written in the format of its extension (.csv, .kml, .gpx, .pcap)\n"
    "       unless --format names one\n"
    "  mqtt://...: the samples and events published to TOPIC/IMEI/sample and\n"
    "       TOPIC/IMEI/event as the fleet feed does (mqtts://: with TLS)\n";
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

#ifndef TESSOLY_PCAP_ONLY
// Takes "--name VALUE" out of args; false when VALUE is missing.
bool TakeOption(QStringList& args, const char* pszName, QString* pValue)
{
    const int nAt = args.indexOf(QLatin1String(pszName));
    if (nAt < 0)
        return true;
    if (nAt + 1 >= args.size())
        return false;
    *pValue = args[nAt + 1];
    args.remove(nAt, 2);
    return true;
}

bool IsBrokerUrl(const QString& strOut)
{
    return strOut.startsWith(QLatin1String("mqtt://")) ||
           strOut.startsWith(QLatin1String("mqtts://"));
}

// IN mqtt://HOST:PORT/TOPIC with the broker's options left in args.
int Publish(QStringList args)
{
    SMqttSettings settings;
    QString strPasswordFile;
    const bool bTls = args.removeAll(QStringLiteral("--tls")) > 0;
    if (!TakeOption(args, "--user", &settings.strUsername) ||
        !TakeOption(args, "--password-file", &strPasswordFile) ||
        !TakeOption(args, "--cafile", &settings.strCaFile) || args.size() != 2)
        return Usage();
    const QString strIn = args[0];
    const QUrl url(args[1], QUrl::StrictMode);
    const QString strTopic = url.path().mid(1);
    // A # would be the address's fragment.
    if (!url.isValid() || url.host().isEmpty() || !url.password().isEmpty() || strTopic.isEmpty() ||
        strTopic.contains(QLatin1Char('+')) || url.hasFragment() || url.hasQuery())
        return Fail(QStringLiteral("%1 is no broker's address: mqtt://HOST:PORT/TOPIC, the topic "
                                   "without + or #, the password only with --password-file")
                        .arg(args[1]),
                    kUsageError);
    if (!strPasswordFile.isEmpty()) {
        QFile f(strPasswordFile);
        if (!f.open(QIODevice::ReadOnly))
            return Fail(QStringLiteral("cannot read the password file %1: %2")
                            .arg(strPasswordFile, f.errorString()));
        // Its first line, without the line end.
        settings.strPassword =
            QString::fromUtf8(f.readLine()).remove(QLatin1Char('\n')).remove(QLatin1Char('\r'));
    }
    if (settings.strUsername.isEmpty())
        settings.strUsername = url.userName();
    settings.bTls = bTls || !settings.strCaFile.isEmpty() || url.scheme() == QLatin1String("mqtts");
    settings.strHost = url.host();
    settings.nPort = url.port(0);
    settings.strTopic = strTopic;
    SPublishCounts counts;
    QString strError;
    const int nResult = CSessionPublish::Run(strIn, settings, &counts, &strError);
    if (nResult != CSessionPublish::PUB_OK)
        return Fail(strError, nResult == CSessionPublish::PUB_BROKER_FAILED ? 3 : 1);
    printf("%d lines read, %d samples and %d events published to %s/%s, %d lines skipped\n",
           counts.nLines, counts.nSamples, counts.nEvents, qPrintable(settings.strTopic),
           qPrintable(counts.strImei.isEmpty() ? QStringLiteral("unknown") : counts.strImei),
           counts.nSkipped);
    return 0;
}
#endif
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
    for (const QString& a : args)
        if (IsBrokerUrl(a))
            return Publish(args);
    int nFormat = -1;
    const int nAt = args.indexOf(QStringLiteral("--format"));
    if (nAt >= 0) {
        if (nAt + 1 >= args.size())
            return Usage();
        nFormat = CSessionExport::FormatOfName(args[nAt + 1]);
        if (nFormat < 0)
            return Fail(
                QStringLiteral("unknown format %1 (csv, kml, gpx or pcap)").arg(args[nAt + 1]),
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
        return Fail(
            QStringLiteral("cannot tell the format of %1: give it the extension .csv, .kml, "
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
