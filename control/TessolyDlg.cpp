// SPDX-License-Identifier: GPL-3.0-or-later
// The front panel controller: ports, writes, error reports, close, layout.
#include "control/TessolyDlg.h"

#include "protocol/AtCommands.h"

#include <QComboBox>
#include <QCoreApplication>
#include <QListWidget>

#include "platform/BarCtrl.h"
#include "platform/Diagnostics.h"
#include "platform/FrameHost.h"
#include "platform/Messages.h"
#include "platform/PortConfig.h"
#include "platform/UiServices.h"
#include "res/TemplateIds.h"
#include "serial/PortLostEvent.h"
#include "serial/SerialPort.h"
#include "serial/TrafficLog.h"

namespace {
const int kInQueue = 4096;
const int kOutQueue = 1024;
const int kRingSize = 100;
} // namespace

CTessolyDlg::CTessolyDlg(CFrameHost* frame, QWidget* parent)
    : CTemplateDialog(IDD_PANEL, parent), m_Sequencer(this, this), m_dlgLibrary(this),
      m_dlgDataContent(this), m_pFrame(frame)
{
    m_DataPortSettings = {1, 19200, 8, 0, 0};
    m_TracePortSettings = {2, 9600, 8, 0, 0};
    m_nMaxPowerDbm = Units::kMaxPowerLowBandDbm;
    m_Sequencer.SetEventSink(&m_Measurer);
    if (parent)
        setWindowFlags(Qt::Widget);
    setAccessibleName(QStringLiteral("Front panel"));
}

CTessolyDlg::~CTessolyDlg()
{
    m_Sequencer.StopTimers();
    DeleteChannels();
}

bool CTessolyDlg::CreatePanel()
{
    return Create();
}

void CTessolyDlg::BindControls()
{
    ConnectPadControls();
}

bool CTessolyDlg::OnInitDialog()
{
    // The five picture buttons load their images when they are built.
    m_pDataPort = std::make_unique<CSerialPort>(this, WM_DATA_LINE, kInQueue, kOutQueue, kRingSize);
    m_pTracePort =
        std::make_unique<CSerialPort>(this, WM_TRACE_LINE, kInQueue, kOutQueue, kRingSize);
    SetLineSources(nullptr, nullptr);
    m_pLog = std::make_unique<CTrafficLog>(Item<QListView>(IDC_LOG),
                                           Item<QListView>(IDC_LOG_FROZEN), true, true, false);
    if (m_pFrame)
        m_pLog->SetRecorder(m_pFrame->Recorder());

    SetDlgItemText(IDC_POWER, QStringLiteral("On"));
    SetDlgItemText(IDC_STATUS, QStringLiteral("Power Off"));
    m_bStopTraceOnError = true;

    if (auto* cb = Item<QComboBox>(IDC_CALLTYPE)) {
        cb->setEditText(QStringLiteral("Voice"));
        cb->setCurrentIndex(0);
    }

    for (const auto& row : g_anNeighbourIds)
        Item<CBarCtrl>(row[3])->setRange(0, 63);
    Item<CBarCtrl>(IDC_RXLEV_BAR)->setRange(0, 63);
    Item<CBarCtrl>(IDC_RXQUAL_BAR)->setRange(0, 70);
    Item<CBarCtrl>(IDC_TIMINGADV_BAR)->setRange(0, 63);
    Item<CBarCtrl>(IDC_OUTPOWER_BAR)->setRange(0, 35);

    Item<QListWidget>(IDC_TRAFFICCHANNELS)->clear();
    return true;
}

void CTessolyDlg::SetBar(int nId, int nPos)
{
    if (m_bHold) {
        m_heldBars.insert(nId, nPos);
        return;
    }
    if (auto* bar = Item<CBarCtrl>(nId)) {
        bar->setValue(nPos);
    }
}

int CTessolyDlg::BarPos(int nId) const
{
    if (m_bHold && m_heldBars.contains(nId))
        return m_heldBars.value(nId);
    auto* bar = Item<CBarCtrl>(nId);
    return bar ? bar->value() : 0;
}

bool CTessolyDlg::SetupPorts(int* pnTracePort, int* pnDataPort, bool bPowerOn)
{
    m_bPowerOnAtSetup = bPowerOn;
    if (!OpenPorts(pnTracePort, pnDataPort)) {
        CPortConfig::ShowConfigureDlg(-1, -1, 0, m_openFailures);
        *pnDataPort = CPortConfig::GetDataPort();
        *pnTracePort = CPortConfig::GetTracePort();
        CloseChannels();
        if (!OpenPorts(pnTracePort, pnDataPort))
            return false;
    }
    m_Sequencer.Start(bPowerOn);
    return true;
}

bool CTessolyDlg::OpenPorts(int* pnTracePort, int* pnDataPort)
{
    // A port that does not open is no message here; the port dialog says why.
    m_openFailures.clear();
    if (!m_pDataPort || !m_pTracePort)
        return false;
    auto noteFailure = [this](bool bTrace, int nPort, const CSerialPort* pPort) {
        const SPortFailure f{bTrace, nPort, pPort->DeviceName(), pPort->OpenFailure()};
        qCWarning(lcSerial).noquote()
            << QStringLiteral("%1 port COM%2 (%3) did not open: %4")
                   .arg(bTrace ? QStringLiteral("trace") : QStringLiteral("data"))
                   .arg(nPort)
                   .arg(f.strDevice, f.strReason);
        m_openFailures.append(f);
    };
    int nResult = -1;
    if (*pnTracePort != 0) {
        nResult = m_pTracePort->Open(*pnTracePort);
        if (nResult == SP_OK) {
            m_TracePortSettings.nPort = *pnTracePort;
            nResult = m_pTracePort->SetParameters(
                m_TracePortSettings.nBaud, m_TracePortSettings.nDataBits,
                m_TracePortSettings.nParity, m_TracePortSettings.nStopBits);
            ReportError(2, nResult, true, "Setup Trace Port", m_TracePortSettings.nPort);
        } else {
            noteFailure(true, *pnTracePort, m_pTracePort.get());
        }
    } else {
        m_openFailures.append({true, 0, QStringLiteral("none"),
                               QStringLiteral("No trace port: choose a port number from 1")});
    }
    if (*pnDataPort != 0 && nResult == SP_OK && m_pDataPort) {
        nResult = m_pDataPort->Open(*pnDataPort);
        if (nResult == SP_OK) {
            m_DataPortSettings.nPort = *pnDataPort;
            nResult = m_pDataPort->SetParameters(
                m_DataPortSettings.nBaud, m_DataPortSettings.nDataBits, m_DataPortSettings.nParity,
                m_DataPortSettings.nStopBits);
            ReportError(2, nResult, true, "Setup Data Port", m_DataPortSettings.nPort);
        } else {
            noteFailure(false, *pnDataPort, m_pDataPort.get());
        }
    }
    return nResult == SP_OK;
}

void CTessolyDlg::CloseChannels()
{
    StopDeviceWatches();
    if (m_pDataPort)
        m_pDataPort->Close();
    if (m_pTracePort)
        m_pTracePort->Close();
}

void CTessolyDlg::ClosePorts()
{
    CloseChannels();
    CUiServices::Pause(m_nClosePause);
}

int CTessolyDlg::SendData(const char* pszCommand, const char* pszArgument, const char* pszSuffix)
{
    if (m_bReview)
        return 0;
    if (!m_pDataPort || !m_pDataPort->IsOpen())
        return 0;
    const QByteArray text = AtCommandLine(pszCommand, pszArgument, pszSuffix);
    if (text.isEmpty() || m_Sequencer.HoldsDataCommands())
        return 0;
    const int nResult = m_pDataPort->Write(text.constData(), static_cast<int>(text.size()));
    ReportChannelWriteError(CHANNEL_DATA, nResult);
    if (nResult == SP_OK && m_pLog)
        m_pLog->Log(LOG_DATA, "D>, ", QString::fromLatin1(text));
    return nResult;
}

int CTessolyDlg::SendTrace(const char* pszCommand, const char* pszArgument, const char* pszSuffix)
{
    if (m_bReview)
        return 0;
    if (!m_pTracePort || !m_pTracePort->IsOpen())
        return 0;
    QByteArray text(pszCommand ? pszCommand : "");
    if (pszArgument)
        text += pszArgument;
    if (pszSuffix)
        text += pszSuffix;
    int nResult = 0;
    for (int i = 0; i < text.size(); ++i) {
        // The channel may have gone away in a fatal report of an earlier character.
        if (!m_pTracePort)
            break;
        nResult = m_pTracePort->Write(text.constData() + i, 1);
        ReportChannelWriteError(CHANNEL_TRACE, nResult);
        if (nResult != SP_OK && m_bStopTraceOnError)
            break;
        CUiServices::Pause(m_nTraceCharDelay);
    }
    if (m_pLog)
        m_pLog->Log(LOG_TRACE, "t>, ", QString::fromLatin1(text));
    return nResult;
}

bool CTessolyDlg::ReportError(int nKind, int nCode, bool bFatal, const char* pszText, int nPort)
{
    return ReportError(nKind, nCode, bFatal, QString::fromLatin1(pszText ? pszText : ""), nPort);
}

bool CTessolyDlg::ReportError(int nKind, int nCode, bool bFatal, const QString& text, int nPort)
{
    if (nCode == 0)
        return true;
    if (m_bReview) {
        // A recorded fault is no fault of the review: no box, nothing closes.
        qCWarning(lcShell).noquote() << CUiServices::ErrorText(nKind, nCode, text, nPort);
        return false;
    }
    CUiServices::MessageBox(this, CUiServices::ErrorText(nKind, nCode, text, nPort));
    if (bFatal) {
        m_Sequencer.StopTimers();
        ClosePorts();
        DeleteChannels();
        hide();
        if (m_pFrame)
            m_pFrame->PostCloseApp();
    }
    return false;
}

bool CTessolyDlg::ReportWriteError(CSerialPort* pPort, int nKind, int nCode, const char* pszText,
                                   int nPort)
{
    // A lost device is reported once; the writes that follow until the port
    // is opened again fail quietly (a box per queued line would stack up).
    if (nCode != 0 && pPort && pPort->IsLost() && !pPort->TakeLossNotice()) {
        qCDebug(lcSerial) << pszText << "on COM" << nPort << "not attempted: the device is lost";
        return false;
    }
    return ReportError(nKind, nCode, false, pszText, nPort);
}

void CTessolyDlg::DeleteChannels()
{
    m_pDataLines = m_pTraceLines = nullptr;
    m_pDataPort.reset();
    m_pTracePort.reset();
    m_pLog.reset();
}

void CTessolyDlg::ClosePanel()
{
    if (m_pFrame && m_pFrame->IsPowerOffOnExit())
        m_Sequencer.SwitchOffAtClose();
    m_Sequencer.StopTimers();
    ClosePorts();
    DeleteChannels();
}

void CTessolyDlg::OnClose()
{
    ClosePanel();
    hide();
}

void CTessolyDlg::PlaceInView(int nSizeType, const QRect& rcView)
{
    const QRect r = rcView.adjusted(1, 1, -1, -1);
    setFixedSize(r.size());
    setGeometry(r);
    if (!m_pLog || nSizeType == 1)
        return;
    if (QWidget* log = GetDlgItem(IDC_LOG)) {
        QRect lr = log->geometry();
        const int bottom = r.height() - 5;
        lr.moveLeft(5);
        lr.setBottom(qMax(bottom - 1, lr.top() - 1)); // never a negative height
        log->setGeometry(lr);
        // The hidden list follows, so that unfreezing moves lines into a list of the same size.
        if (QWidget* hidden = GetDlgItem(IDC_LOG_FROZEN))
            hidden->setGeometry(lr);
    }
}

void CTessolyDlg::OnEnterKey()
{
    if (QWidget* number = GetDlgItem(IDC_NUMBER)) {
        if (number->hasFocus() && !m_bReview)
            OnYes();
    }
}

void CTessolyDlg::SetLineSources(CLineSource* pDataLines, CLineSource* pTraceLines)
{
    m_pDataLines = pDataLines ? pDataLines : m_pDataPort.get();
    m_pTraceLines = pTraceLines ? pTraceLines : m_pTracePort.get();
}

void CTessolyDlg::customEvent(QEvent* e)
{
    if (e->type() == WM_DATA_LINE)
        OnDataLine();
    else if (e->type() == WM_TRACE_LINE)
        OnTraceLine();
    else if (e->type() == CPortLostEvent::Type())
        OnPortLost(static_cast<CPortLostEvent*>(e)->LineMessage());
    else
        CTemplateDialog::customEvent(e);
}

void CTessolyDlg::LogEnableData(bool on)
{
    if (m_pLog)
        m_pLog->EnableData(on);
}

void CTessolyDlg::LogEnableTrace(bool on)
{
    if (m_pLog)
        m_pLog->EnableTrace(on);
}

void CTessolyDlg::LogFreeze(bool on)
{
    if (m_pLog)
        m_pLog->Freeze(on);
}

void CTessolyDlg::LogClear()
{
    if (m_pLog)
        m_pLog->Clear();
}

int CTessolyDlg::LogSave(const QString& path)
{
    return m_pLog ? m_pLog->Save(path) : 1;
}
