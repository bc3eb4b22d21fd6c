// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame: creation, layout, size and move handling, exit.
#include "shell/MainFrm.h"

#include <QAction>
#include <QApplication>
#include <QCloseEvent>
#include <QGroupBox>
#include <QLabel>
#include <QLayout>
#include <QListWidget>
#include <QMenuBar>
#include <QStatusBar>
#include <QTimer>
#include <QToolBar>
#include <limits>

#include "chart/EventList.h"
#include "chart/LevelChart.h"
#include "control/SessionReview.h"
#include "control/TessolyDlg.h"
#include "fleet/MqttPublisher.h"
#include "gps/GpsClient.h"
#include "gsmtap/GsmtapSender.h"
#include "platform/Diagnostics.h"
#include "platform/Messages.h"
#include "platform/UiServices.h"
#include "session/SessionRecorder.h"
#include "shell/ChildView.h"
#include "sysinfo/BcchSysInfoDlg.h"

CMainFrame::CMainFrame(const QStringList& args)
{
    QStringList a = args.isEmpty() ? QCoreApplication::arguments() : args;
    // The command line as one string: the program's path in double quotes, then the arguments.
    const QString program = a.isEmpty() ? QString() : a.takeFirst();
    if (!TakeReviewArgs(&a, &m_reviewArgs, &m_strArgsError))
        m_reviewArgs = SReviewArgs();
    m_strCommandLine = QLatin1Char('"') + program + QLatin1Char('"');
    for (const QString& arg : a)
        m_strCommandLine += QLatin1Char(' ') + arg;
    m_bBsLock = false;
    m_bLogData = true;
    m_bLogTrace = true;
    m_bFreeze = false;
    m_bStatusBar = false;
    m_bLayoutDone = false;
    setWindowTitle(QStringLiteral("Corvane, Front Panel SW for Tarn GSM Air Interface Module"));
    CTemplateDialog::InitResources();
    setWindowIcon(QIcon(QStringLiteral(":/images/APPICON")));
    m_pRecorder = new CSessionRecorder(this);
    connect(m_pRecorder, &CSessionRecorder::Stopped, this, &CMainFrame::OnRecordingStopped);
    m_pController = std::make_unique<CTessolyDlg>(this, nullptr);
    m_pBcchDlg = std::make_unique<CBcchSysInfoDlg>(this, &m_pController->TraceReport(), this);
    m_pGsmtap = std::make_unique<CGsmtapSender>();
    m_pController->SetGsmtap(m_pGsmtap.get());
    m_pMqtt = new CMqttPublisher(this);
    CMeasurer* measurer = &m_pController->Measurer();
    connect(measurer, &CMeasurer::SampleReady, m_pMqtt, &CMqttPublisher::PublishSample);
    connect(measurer, &CMeasurer::EventReady, m_pMqtt, &CMqttPublisher::PublishEvent);
    connect(m_pController.get(), &CTessolyDlg::ImeiKnown, m_pMqtt, &CMqttPublisher::SetImei);
    connect(m_pMqtt, &CMqttPublisher::Failed, this, [this](int nCode, const QString& strText) {
        if (m_pController)
            m_pController->ReportError(1, nCode, false, strText, 0);
    });
    m_pGps = std::make_unique<CGpsClient>(this);
    connect(m_pGps.get(), &CGpsClient::FixReceived, this, &CMainFrame::OnGpsFix);
    connect(m_pGps.get(), &CGpsClient::StateChanged, this, &CMainFrame::OnGpsState);
    m_pChart = new CLevelChart(this);
    m_pEventList = new CEventList(this);
    const CMeasurer* pMeasurer = &m_pController->Measurer();
    connect(pMeasurer, &CMeasurer::SampleReady, m_pChart, &CLevelChart::OnSample);
    connect(pMeasurer, &CMeasurer::EventReady, m_pChart, &CLevelChart::OnEvent);
    connect(pMeasurer, &CMeasurer::EventReady, m_pEventList, &CEventList::OnEvent);
    connect(m_pEventList, &CEventList::EventActivated, m_pChart, &CLevelChart::ShowAt);
    m_pReview = new CSessionReview(m_pController.get(), this);
}

CMainFrame::~CMainFrame()
{
    // In this order: the positions go to the controller's measurer, the
    // BCCH dialog reads the controller's record, the controller sends
    // through the live feed. The rest are the frame's Qt children.
    m_pGps.reset();
    m_pBcchDlg.reset();
    m_pController.reset();
    m_pGsmtap.reset();
}

bool CMainFrame::Create()
{
    m_pView = new CChildView(this);
    m_pView->setObjectName(QStringLiteral("view"));
    setCentralWidget(m_pView);
    CreateMenus();
    CreateToolBar();
    statusBar()->setSizeGripEnabled(false);
    statusBar()->showMessage(QStringLiteral("Ready"));
    connect(statusBar(), &QStatusBar::messageChanged, this, [this](const QString& text) {
        if (text.isEmpty())
            statusBar()->showMessage(QStringLiteral("Ready"));
    });
    m_bStatusBar = true;
    m_pRecLabel = AddStatusPane(QStringLiteral("Recording"), QStringLiteral("REC"));
    m_pPortLabel = AddStatusPane(QStringLiteral("Ports"), QString());
    m_pMqttLabel = AddStatusPane(QStringLiteral("MQTT"), QString());
    m_pMqttLabel->setStyleSheet(QString()); // a state, not a warning
    connect(m_pMqtt, &CMqttPublisher::StateChanged, this, [this](const QString& text) {
        m_pMqttLabel->setText(text);
        m_pMqttLabel->setVisible(!text.isEmpty());
    });
    m_pGpsLabel = AddStatusPane(QStringLiteral("GPS"), QString());
    m_pGpsLabel->setStyleSheet(QString()); // a state, not a warning
    m_pReviewLabel = AddStatusPane(QStringLiteral("Review"), QStringLiteral("REVIEW"));
    m_pReviewLabel->setStyleSheet(QString());

    // The panel lives over the view.
    m_pController->setParent(m_pView);
    m_pController->setWindowFlags(Qt::Widget);
    if (!m_pController->CreatePanel()) {
        qCWarning(lcShell, "Failed to create view window");
        return false;
    }
    MeasurePanel();
    connect(m_pController.get(), &CTessolyDlg::DataLineHandled, this,
            &CMainFrame::UpdateCommandUISoon);
    connect(m_pController.get(), &CTessolyDlg::TraceLineHandled, this,
            &CMainFrame::UpdateCommandUISoon);
    connect(m_pView, &CChildView::Resized, this, [this] { PlacePanel(0); });

    LoadSettings();
    QTimer::singleShot(0, this, &CMainFrame::ReopenDriveWindows); // after the frame
    if (!m_strArgsError.isEmpty()) {
        CUiServices::MessageBox(this, m_strArgsError);
        return false;
    }
    if (!m_reviewArgs.strFile.isEmpty()) {
        // A review opens no port and records nothing.
        LayoutPanel();
        qint64 nAt = -1;
        if (m_reviewArgs.bEnd)
            nAt = std::numeric_limits<qint64>::max();
        return OpenSession(m_reviewArgs.strFile, nAt) &&
               (m_reviewArgs.strAt.isEmpty() || PlaceReviewAt(m_reviewArgs.strAt));
    }
    if (m_bRecord)
        StartRecording();
    LayoutPanel();
    UpdateCommandUI();
    m_pController->SetupPorts(&m_nTracePort, &m_nDataPort, TestOption(OPT_POWER_ON_ON_START) != 0);
    UpdateCommandUI();
    return true;
}

void CMainFrame::ReopenDriveWindows()
{
    if (m_bOpenChart)
        ShowDriveWindow(m_pChart);
    if (m_bOpenEventList)
        ShowDriveWindow(m_pEventList);
}

QLabel* CMainFrame::AddStatusPane(const QString& name, const QString& text)
{
    // A warning pane at the right of the status bar, hidden until needed.
    auto* pane = new QLabel(text);
    pane->setAccessibleName(name);
    pane->setStyleSheet(QStringLiteral("QLabel { color: #c00000; font-weight: bold; }"));
    pane->hide();
    statusBar()->addPermanentWidget(pane);
    return pane;
}

void CMainFrame::ShowPortState(const QString& text)
{
    if (!m_pPortLabel)
        return;
    m_pPortLabel->setText(text);
    m_pPortLabel->setVisible(!text.isEmpty());
}

void CMainFrame::MeasurePanel()
{
    const QRect pad = m_pController->GetDlgItem(IDC_PHONEPAD)->geometry();
    const QRect ms = m_pController->GetDlgItem(IDC_MOBILESTATION)->geometry();
    const QRect air = m_pController->GetDlgItem(IDC_AIRINTERFACE)->geometry();
    m_sizePad = QSize(pad.width() + 8, pad.height() + 8);
    m_sizeFull = QSize(m_sizePad.width() + air.width() + 12, m_sizePad.height() + ms.height() + 8);
}

void CMainFrame::LayoutPanel()
{
    if (!m_pController || !m_pView)
        return;
    const bool padOnly = TestOption(OPT_PHONE_PAD_ONLY) != 0;
    const bool logging = TestOption(OPT_LOGGING) != 0;
    QWidget* log = m_pController->GetDlgItem(IDC_LOG);
    if (!logging && m_nLogListShown >= 0 && log) {
        // Hiding the log pane: keep the height the user left the list at (at
        // least 50 pixels), measured before the layout shrinks it, so that
        // showing the pane again gives the same list.
        m_nLoggingHeight = qMax(m_nLoggingHeight + log->height() - m_nLogListShown, 50);
    }
    // The width depends only on Phone Pad only; the height on both options.
    const int width = padOnly ? m_sizePad.width() + 4 : m_sizeFull.width();
    const int panelHeight = (padOnly && !logging) ? m_sizePad.height() : m_sizeFull.height();
    const int height = logging ? panelHeight + m_nLoggingHeight + 3 : panelHeight;
    statusBar()->setVisible(m_bStatusBar);

    // Fit the frame around a view of exactly that size.
    m_pView->setMinimumSize(width, height);
    m_pView->setMaximumSize(width, height);
    setMinimumSize(0, 0);
    setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    layout()->invalidate();
    layout()->activate();
    resize(layout()->minimumSize());
    const QSize fit = size();
    // The user never changes the width, and the height only while the log pane is shown.
    setFixedWidth(fit.width());
    if (logging) {
        const int minView = panelHeight + 10;
        m_pView->setMinimumHeight(minView);
        m_pView->setMaximumHeight(QWIDGETSIZE_MAX);
        setMinimumHeight(fit.height() - height + minView);
        setMaximumHeight(QWIDGETSIZE_MAX);
    } else {
        setFixedHeight(fit.height());
    }
    m_rcWindow = frameGeometry();
    PlacePanel(0);
    m_nLogListShown = logging && log ? log->height() : -1;
    m_bLayoutDone = true;
}

void CMainFrame::PlacePanel(int nSizeType)
{
    if (m_pController && m_pView)
        m_pController->PlaceInView(nSizeType, m_pView->rect());
}

void CMainFrame::resizeEvent(QResizeEvent* e)
{
    QMainWindow::resizeEvent(e);
    if (!m_pController)
        return;
    PlacePanel(isMinimized() ? 1 : 0);
    RememberNormalPlacement();
}

void CMainFrame::moveEvent(QMoveEvent* e)
{
    QMainWindow::moveEvent(e);
    if (!m_pController)
        return;
    PlacePanel(0);
    const QRect r = frameGeometry();
    if (r.size() == m_rcWindow.size())
        m_rcWindow = r;
    RememberNormalPlacement();
}

void CMainFrame::RememberNormalPlacement()
{
    if (windowState() != Qt::WindowNoState)
        return;
    const QRect frame = frameGeometry();
    const QRect client = geometry();
    m_frameMargins = QMargins(client.left() - frame.left(), client.top() - frame.top(),
                              frame.right() - client.right(), frame.bottom() - client.bottom());
}

QRect CMainFrame::NormalPlacement() const
{
    // The window rectangle the frame has when neither minimised nor maximised.
    return normalGeometry().marginsAdded(m_frameMargins);
}

void CMainFrame::changeEvent(QEvent* e)
{
    QMainWindow::changeEvent(e);
}

void CMainFrame::focusInEvent(QFocusEvent*)
{
    if (m_pView)
        m_pView->setFocus();
}

void CMainFrame::PostCloseApp()
{
    QCoreApplication::postEvent(this, new QEvent(WM_CLOSE_APP));
}

void CMainFrame::PostBcchClosed()
{
    QCoreApplication::postEvent(this, new QEvent(WM_BCCH_CLOSED));
}

void CMainFrame::customEvent(QEvent* e)
{
    if (e->type() == WM_CLOSE_APP) {
        // Forced exit: no question, no settings written.
        m_bForcedClose = true;
        close();
    } else if (e->type() == WM_BCCH_CLOSED) {
        DestroyBcchWindow();
    } else {
        QMainWindow::customEvent(e);
    }
}

void CMainFrame::DestroyBcchWindow()
{
    if (m_pBcchDlg && m_pBcchDlg->HasWindow())
        m_pBcchDlg->DestroyWindow();
}

void CMainFrame::closeEvent(QCloseEvent* e)
{
    if (m_bClosing) {
        e->accept();
        return;
    }
    if (!m_bForcedClose) {
        if (CUiServices::MessageBox(this, QStringLiteral("Do you want to exit program?"),
                                    CUiServices::MB_OKCANCEL) != IDOK) {
            e->ignore();
            return;
        }
        DestroyBcchWindow();
        SaveSettings();
        if (m_pController)
            m_pController->ClosePanel();
    }
    // The last lines reach the session file, also after a fatal error.
    m_pRecorder->Stop();
    m_bClosing = true;
    e->accept();
}
