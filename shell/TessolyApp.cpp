// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/TessolyApp.h"

#include <QSocketNotifier>
#include <csignal>
#include <fcntl.h>
#include <unistd.h>

#include "platform/CachingStyle.h"
#include "platform/Diagnostics.h"
#include "shell/IdleSnapshot.h"
#include "shell/MainFrm.h"

namespace {
// What Qt is handed: the program's name and nothing else. QApplication keeps
// references to both for its whole life.
int s_nQtArgc = 1;
char s_szProgram[] = "tessoly";
char* s_apszQtArgv[] = {s_szProgram, nullptr};

int& QtArgc(int argc, char** argv)
{
    if (argc > 0 && argv[0])
        s_apszQtArgv[0] = argv[0];
    return s_nQtArgc;
}

// The signal handler's end of the pipe the event loop watches.
int s_anTermPipe[2] = {-1, -1};

void OnTermSignal(int)
{
    const char c = 1;
    [[maybe_unused]] const ssize_t n = write(s_anTermPipe[1], &c, 1);
}
} // namespace

CTessolyApp::CTessolyApp(int argc, char** argv) : QApplication(QtArgc(argc, argv), s_apszQtArgv)
{
    for (int i = 0; i < argc; ++i)
        m_args << QString::fromLocal8Bit(argv[i]);
    // No display name: the window system would add it to every title bar,
    // and each window's caption is meant to stand alone.
    setApplicationName(QStringLiteral("Tessoly"));
    setQuitOnLastWindowClosed(true);
    setStyle(new CCachingStyle); // owned by the application
}

CTessolyApp::~CTessolyApp() = default;

const char* CTessolyApp::Usage()
{
    return "usage: tessoly [-NAME]\n"
           "       tessoly --review FILE [--end | --at HH:MM:SS] [-NAME]\n"
           "       tessoly --help\n"
           "Front panel for the Tarn GSM test mobile.\n"
           "  -NAME   use the settings file NAME (NAME.ini when NAME holds no dot) in the\n"
           "          settings folder instead of Tarn.ini\n"
           "  --review FILE  review a recorded session on the panel; no port is opened\n"
           "  --end          place the review at the end of the session\n"
           "  --at HH:MM:SS  place the review at that clock time of the session\n"
           "  --help  show this text and exit\n"
           "See tessoly(1) for the settings file and the environment.\n";
}

bool CTessolyApp::InitInstance()
{
    m_pMainFrame = std::make_unique<CMainFrame>(m_args);
    if (!m_pMainFrame->Create()) {
        qCWarning(lcShell, "The main frame could not be created");
        return false;
    }
    const int show = m_pMainFrame->m_nShow;
    if (show == 3)
        m_pMainFrame->showMaximized();
    else if (show == 2)
        m_pMainFrame->showMinimized();
    else
        m_pMainFrame->show();
    m_pMainFrame->repaint();
    const QString snapshot = qEnvironmentVariable(CIdleSnapshot::EnvName());
    if (!snapshot.isEmpty())
        new CIdleSnapshot(m_pMainFrame.get(), snapshot); // owned by the frame
    CatchTermination();
    return true;
}

void CTessolyApp::CatchTermination()
{
    if (m_pTermNotifier || pipe2(s_anTermPipe, O_CLOEXEC | O_NONBLOCK) != 0)
        return;
    m_pTermNotifier = new QSocketNotifier(s_anTermPipe[0], QSocketNotifier::Read, this);
    connect(m_pTermNotifier, &QSocketNotifier::activated, this, &CTessolyApp::OnTermination);
    struct sigaction sa = {};
    sa.sa_handler = OnTermSignal;
    sigemptyset(&sa.sa_mask);
    sa.sa_flags = SA_RESTART;
    for (int sig : {SIGTERM, SIGINT, SIGHUP})
        sigaction(sig, &sa, nullptr);
}

void CTessolyApp::OnTermination()
{
    char buf[16];
    while (read(s_anTermPipe[0], buf, sizeof buf) > 0) {
    }
    if (m_pMainFrame)
        m_pMainFrame->PostCloseApp();
}
