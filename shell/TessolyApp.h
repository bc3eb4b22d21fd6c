#pragma once

#include <QApplication>

class CMainFrame;

// The application object: brings the main frame up and owns it.
class CTessolyApp : public QApplication
{
    Q_OBJECT
public:
    CTessolyApp(int& argc, char** argv);
    ~CTessolyApp() override;
    // Creates the main frame (which reads the settings and opens the ports)
    // and shows it; false when the frame could not be created.
    bool InitInstance();
    CMainFrame* MainFrame() const { return m_pMainFrame; }

private:
    CMainFrame* m_pMainFrame = nullptr;
};
