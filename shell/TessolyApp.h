// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <memory>

#include <QApplication>
#include <QStringList>

class CMainFrame;
class QSocketNotifier;

// The application object: brings the main frame up and owns it.
//
// Every argument of the command line is the program's own: "-NAME" names the
// settings file whatever NAME is, so Qt is handed the program's name alone
// and never takes arguments such as -reverse, -style or -platform. Qt's own
// settings come from the environment (QT_QPA_PLATFORM, QT_STYLE_OVERRIDE, ...).
class CTessolyApp : public QApplication
{
    Q_OBJECT
public:
    CTessolyApp(int argc, char** argv);
    ~CTessolyApp() override;
    // Creates the main frame (which reads the settings and opens the ports)
    // and shows it; false when the frame could not be created.
    bool InitInstance();
    CMainFrame* MainFrame() const { return m_pMainFrame.get(); }
    // The command line as the program was started, program path first.
    const QStringList& CommandLine() const { return m_args; }
    // What --help prints.
    static const char* Usage();

private:
    // SIGTERM, SIGINT and SIGHUP close the frame as a forced close: no
    // question, and the session recording gets its last lines.
    void CatchTermination();
    void OnTermination();

    QStringList m_args;
    QSocketNotifier* m_pTermNotifier = nullptr;
    std::unique_ptr<CMainFrame> m_pMainFrame;
};
