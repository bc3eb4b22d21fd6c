// SPDX-License-Identifier: GPL-3.0-or-later
// tarnsim: the simulated test mobile as a program of its own.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <csignal>
#include <cstdio>
#include <fcntl.h>
#include <unistd.h>

#include "sim/SimConsole.h"
#include "sim/SimModule.h"
#include "sim/SimNmeaFeed.h"
#include "sim/SimRoute.h"

namespace {
// A signal only writes a byte into this pipe; the event loop wakes on it, so
// nothing polls while the simulator waits.
int s_anStopPipe[2] = {-1, -1};

void OnSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = ::write(s_anStopPipe[1], &c, 1);
}

void Print(const QString& strLine)
{
    printf("%s\n", qPrintable(strLine));
    fflush(stdout);
}

bool MakeLink(const QString& strTarget, const QString& strLink)
{
    QFile::remove(strLink);
    return QFile::link(strTarget, strLink);
}

// A file that cannot be played ends the program before a port opens: false
// with the error printed, else its summary for the start-up lines.
bool ProbeReplay(const CSimReplayOptions& replay, QString* pSummary)
{
    if (replay.strFile.isEmpty())
        return true;
    QString strError;
    CSimReplay probe(replay);
    if (!probe.Open(&strError)) {
        fprintf(stderr, "tarnsim: %s\n", qPrintable(strError));
        return false;
    }
    *pSummary = probe.Summary();
    return true;
}

// A route that cannot be driven or an NMEA address that does not resolve
// ends the program before a port opens.
bool ProbeDrive(const CSimDriveOptions& drive)
{
    if (!drive.bOn)
        return true;
    QString strError;
    int nCode = CSimRoute::ROUTE_OK;
    if (!drive.strRouteFile.isEmpty() &&
        !CSimRoute::Load(drive.strRouteFile, &nCode, &strError).IsValid()) {
        fprintf(stderr, "tarnsim: %s\n", qPrintable(strError));
        return false;
    }
    CSimNmeaFeed feed;
    if (!feed.Open(drive.strNmeaHost, drive.nNmeaPort, &strError)) {
        fprintf(stderr, "tarnsim: %s\n", qPrintable(strError));
        return false;
    }
    return true;
}

struct SLinks
{
    QString strData, strTrace; // empty without --link
};

SLinks MakeLinks(const CSimModule& module, const QString& strDir)
{
    SLinks links;
    if (strDir.isEmpty())
        return links;
    QDir().mkpath(strDir);
    links.strData = QDir(strDir).absoluteFilePath(QStringLiteral("data"));
    links.strTrace = QDir(strDir).absoluteFilePath(QStringLiteral("trace"));
    if (!MakeLink(module.DataPath(), links.strData) ||
        !MakeLink(module.TracePath(), links.strTrace))
        fprintf(stderr, "tarnsim: cannot create the links in %s\n", qPrintable(strDir));
    return links;
}

void RemoveLinks(const SLinks& links)
{
    if (!links.strData.isEmpty()) {
        QFile::remove(links.strData);
        QFile::remove(links.strTrace);
    }
}

void PrintPorts(const CSimModule& module, const SLinks& links, const QString& strReplay)
{
    printf("data: %s\ntrace: %s\n", qPrintable(module.DataPath()), qPrintable(module.TracePath()));
    if (!links.strData.isEmpty())
        printf("links: %s %s\n", qPrintable(links.strData), qPrintable(links.strTrace));
    if (!strReplay.isEmpty())
        printf("%s\n", qPrintable(strReplay));
    const CSimDriveOptions& d = module.Options().drive;
    if (d.bOn)
        printf("drive: %s at %g km/h, NMEA to %s:%d\n",
               d.strRouteFile.isEmpty() ? "built-in loop" : qPrintable(d.strRouteFile), d.dSpeedKmh,
               qPrintable(d.strNmeaHost), d.nNmeaPort);
    fflush(stdout);
}

// Reads what standard input holds and runs each complete line.
void ReadConsole(QSocketNotifier& notifier, QByteArray& input, CSimConsole& console)
{
    char buf[512];
    const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
    if (n <= 0) {
        notifier.setEnabled(false); // end of input: keep simulating
        return;
    }
    input.append(buf, static_cast<int>(n));
    if (input.size() > 4096 && !input.contains('\n'))
        input.clear(); // an endless line is dropped
    int nl;
    while ((nl = input.indexOf('\n')) >= 0) {
        const QString line = QString::fromLocal8Bit(input.left(nl)).trimmed();
        input.remove(0, nl + 1);
        bool bQuit = false;
        const QString reply = console.Execute(line, &bQuit);
        if (!reply.isEmpty())
            Print(reply);
        if (bQuit)
            QCoreApplication::quit();
    }
}
} // namespace

int main(int argc, char** argv)
{
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tarnsim"));

    CSimCommandLine cl;
    if (!ParseSimCommandLine(QCoreApplication::arguments(), &cl)) {
        fprintf(stderr, "tarnsim: %s\n\n%s", qPrintable(cl.strError), qPrintable(cl.strHelp));
        return 2;
    }
    if (cl.bHelp) {
        printf("%s\n%s\n", qPrintable(cl.strHelp), qPrintable(CSimConsole::HelpText()));
        return 0;
    }
    QString strReplay;
    if (!ProbeReplay(cl.opt.replay, &strReplay) || !ProbeDrive(cl.opt.drive))
        return 2;

    CSimModule module(cl.opt);
    module.SetReplayProgress(Print);
    if (!module.Start()) {
        fprintf(stderr, "tarnsim: cannot open the pseudo-terminals\n");
        return 1;
    }
    const SLinks links = MakeLinks(module, cl.strLinkDir);
    PrintPorts(module, links, strReplay);

    if (::pipe2(s_anStopPipe, O_CLOEXEC) != 0) {
        fprintf(stderr, "tarnsim: cannot create a pipe\n");
        return 1;
    }
    QSocketNotifier stopNotifier(s_anStopPipe[0], QSocketNotifier::Read);
    QObject::connect(&stopNotifier, &QSocketNotifier::activated, &app,
                     [] { QCoreApplication::quit(); });
    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);

    CSimConsole console(&module);
    QByteArray input;
    QSocketNotifier stdinNotifier(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&stdinNotifier, &QSocketNotifier::activated, &app,
                     [&] { ReadConsole(stdinNotifier, input, console); });

    const int rc = app.exec();
    module.Stop();
    RemoveLinks(links);
    return rc;
}
