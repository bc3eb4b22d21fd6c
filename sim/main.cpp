// tarnsim: the simulated test mobile as a program of its own.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QSocketNotifier>
#include <QTimer>
#include <csignal>
#include <cstdio>
#include <unistd.h>

#include "sim/SimConsole.h"
#include "sim/SimModule.h"

namespace {
volatile std::sig_atomic_t s_bStop = 0;

void OnSignal(int)
{
    s_bStop = 1;
}

bool MakeLink(const QString& strTarget, const QString& strLink)
{
    QFile::remove(strLink);
    return QFile::link(strTarget, strLink);
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

    CSimModule module(cl.opt);
    if (!module.Start()) {
        fprintf(stderr, "tarnsim: cannot open the pseudo-terminals\n");
        return 1;
    }
    QString strDataLink, strTraceLink;
    if (!cl.strLinkDir.isEmpty()) {
        QDir().mkpath(cl.strLinkDir);
        strDataLink = QDir(cl.strLinkDir).absoluteFilePath(QStringLiteral("data"));
        strTraceLink = QDir(cl.strLinkDir).absoluteFilePath(QStringLiteral("trace"));
        if (!MakeLink(module.DataPath(), strDataLink) ||
            !MakeLink(module.TracePath(), strTraceLink))
            fprintf(stderr, "tarnsim: cannot create the links in %s\n", qPrintable(cl.strLinkDir));
    }
    printf("data: %s\ntrace: %s\n", qPrintable(module.DataPath()), qPrintable(module.TracePath()));
    if (!strDataLink.isEmpty())
        printf("links: %s %s\n", qPrintable(strDataLink), qPrintable(strTraceLink));
    fflush(stdout);

    std::signal(SIGINT, OnSignal);
    std::signal(SIGTERM, OnSignal);
    QTimer stopCheck;
    QObject::connect(&stopCheck, &QTimer::timeout, &app, [] {
        if (s_bStop)
            QCoreApplication::quit();
    });
    stopCheck.start(250);

    CSimConsole console(&module);
    QByteArray input;
    QSocketNotifier stdinNotifier(STDIN_FILENO, QSocketNotifier::Read);
    QObject::connect(&stdinNotifier, &QSocketNotifier::activated, &app, [&] {
        char buf[512];
        const ssize_t n = ::read(STDIN_FILENO, buf, sizeof buf);
        if (n <= 0) {
            stdinNotifier.setEnabled(false); // end of input: keep simulating
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
            if (!reply.isEmpty()) {
                printf("%s\n", qPrintable(reply));
                fflush(stdout);
            }
            if (bQuit)
                QCoreApplication::quit();
        }
    });

    const int rc = app.exec();
    module.Stop();
    if (!strDataLink.isEmpty()) {
        QFile::remove(strDataLink);
        QFile::remove(strTraceLink);
    }
    return rc;
}
