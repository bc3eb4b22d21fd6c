// SPDX-License-Identifier: GPL-3.0-or-later
// Devices that go away and come back: the loss is reported the moment the
// reader sees it, the status bar names the lost port, and once the device's
// path is there again the port is reopened and the module started as at
// start-up.
#include "control/TessolyDlg.h"

#include <QTimer>

#include "platform/Diagnostics.h"
#include "platform/FrameHost.h"
#include "platform/Messages.h"
#include "serial/DeviceWatch.h"
#include "serial/SerialPort.h"

namespace {
// A device node may be there a moment before it can be opened (its owner and
// mode are set after it appears): a failed reopen is tried again a few times.
const int kReopenTries = 10;
const int kReopenRetryMs = 500;
} // namespace

CSerialPort* CTessolyDlg::Channel(int nChannel) const
{
    return nChannel == CHANNEL_DATA ? m_pDataPort.get() : m_pTracePort.get();
}

PortSettings& CTessolyDlg::ChannelSettings(int nChannel)
{
    return nChannel == CHANNEL_DATA ? m_DataPortSettings : m_TracePortSettings;
}

bool CTessolyDlg::ReportChannelWriteError(int nChannel, int nCode)
{
    if (nChannel == CHANNEL_DATA)
        return ReportWriteError(m_pDataPort.get(), 1, nCode, "Write to Data Port",
                                m_DataPortSettings.nPort);
    return ReportWriteError(m_pTracePort.get(), 2, nCode, "Write to Trace Port",
                            m_TracePortSettings.nPort);
}

void CTessolyDlg::OnPortLost(QEvent::Type nLineMessage)
{
    const int n = nLineMessage == WM_DATA_LINE ? CHANNEL_DATA : CHANNEL_TRACE;
    CSerialPort* pPort = Channel(n);
    // The notice may come after the port was closed or opened anew.
    if (!pPort || !pPort->IsLost() || m_abLost[n])
        return;
    m_abLost[n] = true;
    const QString device = pPort->DeviceName();
    qCWarning(lcSerial) << "COM" << ChannelSettings(n).nPort << device
                        << "lost; waiting for the device to come back";
    // Nothing polls or rings into a module that cannot be reached.
    m_Sequencer.StopPolling();
    ShowPortState();
    m_Measurer.OnEvent(EVENT_PORT_LOST,
                       QStringLiteral("COM%1 %2").arg(ChannelSettings(n).nPort).arg(device));
    // Watched before the box: the device may come back while the box stands.
    if (!m_pDeviceWatch[n]) {
        m_pDeviceWatch[n] = new CDeviceWatch(this);
        connect(m_pDeviceWatch[n], &CDeviceWatch::Present, this, [this, n] { OnDevicePresent(n); });
    }
    m_anReopenTries[n] = 0;
    m_pDeviceWatch[n]->Watch(device);
    // The box a write to the lost device gives, once.
    ReportChannelWriteError(n, SP_WRITE_FAILED);
}

void CTessolyDlg::OnDevicePresent(int nChannel)
{
    if (!m_abLost[nChannel] || !Channel(nChannel))
        return;
    if (!ReopenChannel(nChannel)) {
        if (++m_anReopenTries[nChannel] < kReopenTries)
            QTimer::singleShot(kReopenRetryMs, this,
                               [this, nChannel] { OnDevicePresent(nChannel); });
        else
            qCWarning(lcSerial) << "COM" << ChannelSettings(nChannel).nPort
                                << "is back but cannot be opened; use Options > Configure";
        return;
    }
    m_abLost[nChannel] = false;
    ShowPortState();
    if (m_abLost[CHANNEL_DATA] || m_abLost[CHANNEL_TRACE])
        return;
    // Both ports are there again: the module starts as it does at start-up,
    // powered on when it was on or is to be powered on at start.
    m_Sequencer.Restart(m_bPowerOnAtSetup);
}

bool CTessolyDlg::ReopenChannel(int nChannel)
{
    CSerialPort* pPort = Channel(nChannel);
    const PortSettings& s = ChannelSettings(nChannel);
    const QString device = pPort->DeviceName();
    int nResult = pPort->OpenDevice(device);
    if (nResult == SP_OK)
        nResult = pPort->SetParameters(s.nBaud, s.nDataBits, s.nParity, s.nStopBits);
    if (nResult != SP_OK) {
        qCWarning(lcSerial) << "COM" << s.nPort << device
                            << "is back, reopening failed:" << nResult;
        pPort->Close();
        return false;
    }
    qCWarning(lcSerial) << "COM" << s.nPort << device << "is back: reopened";
    return true;
}

void CTessolyDlg::ShowPortState()
{
    if (!m_pFrame)
        return;
    QString text;
    if (m_abLost[CHANNEL_DATA] && m_abLost[CHANNEL_TRACE])
        text = QStringLiteral("Data and trace ports lost");
    else if (m_abLost[CHANNEL_DATA])
        text = QStringLiteral("Data port lost");
    else if (m_abLost[CHANNEL_TRACE])
        text = QStringLiteral("Trace port lost");
    m_pFrame->ShowPortState(text);
}

void CTessolyDlg::StopDeviceWatches()
{
    const bool bWasLost = m_abLost[CHANNEL_DATA] || m_abLost[CHANNEL_TRACE];
    for (int n = 0; n < CHANNEL_COUNT; ++n) {
        m_abLost[n] = false;
        if (m_pDeviceWatch[n])
            m_pDeviceWatch[n]->Stop();
    }
    if (bWasLost)
        ShowPortState();
}
