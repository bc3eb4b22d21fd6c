#include "shell/TessolyApp.h"

#include "platform/Diagnostics.h"
#include "shell/MainFrm.h"

CTessolyApp::CTessolyApp(int& argc, char** argv) : QApplication(argc, argv)
{
    // No display name: the window system would add it to every title bar,
    // and each window's caption is meant to stand alone.
    setApplicationName(QStringLiteral("Tessoly"));
    setQuitOnLastWindowClosed(true);
}

CTessolyApp::~CTessolyApp()
{
    delete m_pMainFrame;
}

bool CTessolyApp::InitInstance()
{
    m_pMainFrame = new CMainFrame(arguments());
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
    return true;
}
