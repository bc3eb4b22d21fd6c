// SPDX-License-Identifier: GPL-3.0-or-later
#include "sim/SimModule.h"

#include <QThread>
#include <chrono>

#include "platform/ThreadAnchor.h"
#include "sim/SimDrive.h"
#include "sim/SimNmeaFeed.h"
#include "sim/SimPty.h"

CSimModule::CSimModule(const CSimOptions& opt) : m_opt(opt) {}

CSimModule::~CSimModule()
{
    Stop();
}

void CSimModule::SetOptions(const CSimOptions& opt)
{
    m_opt = opt;
}

template <typename F> void CSimModule::RunInThread(F f) const
{
    if (m_pThread)
        m_pAnchor->CallAndWait(f);
}

bool CSimModule::Start()
{
    if (m_pThread)
        return true;
    m_pThread = std::make_unique<QThread>();
    m_pThread->setObjectName(QStringLiteral("tarnsim"));
    m_pAnchor = std::make_unique<CThreadAnchor>();
    m_pAnchor->MoveTo(m_pThread.get());
    m_pThread->start();
    bool bOk = false;
    RunInThread([this, &bOk] {
        m_pData = std::make_unique<CSimPty>();
        m_pTrace = std::make_unique<CSimPty>();
        m_pCore = std::make_unique<CSimCore>(m_opt);
        if (!m_pData->Open() || !m_pTrace->Open())
            return;
        CSimPty* pData = m_pData.get();
        CSimPty* pTrace = m_pTrace.get();
        m_pCore->SetOutputs([pData](const QByteArray& b) { pData->Write(b); },
                            [pTrace](const QByteArray& b) { pTrace->Write(b); });
        m_pCore->SetRecorder([this](int nPort, const QByteArray& item) { OnRecord(nPort, item); });
        CSimCore* pCore = m_pCore.get();
        QObject::connect(pData, &CSimPty::BytesReceived, pCore,
                         [pCore](const QByteArray& b) { pCore->DataIn(b); });
        QObject::connect(pTrace, &CSimPty::BytesReceived, pCore,
                         [this, pCore](const QByteArray& b) {
                             OnTraceBytes(b);
                             pCore->TraceIn(b);
                         });
        m_strDataPath = pData->SlavePath();
        m_strTracePath = pTrace->SlavePath();
        bOk =
            (m_opt.replay.strFile.isEmpty() || StartReplay()) && (!m_opt.drive.bOn || StartDrive());
    });
    if (!bOk)
        Stop();
    return bOk;
}

// In the module's thread, after the ports are open.
bool CSimModule::StartReplay()
{
    m_pReplay = std::make_unique<CSimReplay>(m_opt.replay);
    m_pReplay->SetProgress(m_replayProgress);
    QString strError;
    if (!m_pReplay->Open(&strError)) {
        if (m_replayProgress)
            m_replayProgress(strError);
        return false;
    }
    CSimCore* pCore = m_pCore.get();
    CSimPty* pData = m_pData.get();
    CSimPty* pTrace = m_pTrace.get();
    m_pReplay->SetOutput(
        [pCore](int nPort, const QByteArray& line) { pCore->Inject(nPort, line); },
        [pData, pTrace](int nPort) { return (nPort == 1 ? pTrace : pData)->Backlog(); });
    CSimReplay* pReplay = m_pReplay.get();
    pCore->SetReplaying([pReplay](bool bOn) { pReplay->SetReportsOn(bOn); });
    return true;
}

// In the module's thread, after the core is made: the drive feeds its radio
// model and the NMEA feed.
bool CSimModule::StartDrive()
{
    const CSimDriveOptions& o = m_opt.drive;
    QString strError;
    int nCode = CSimRoute::ROUTE_OK;
    const CSimRoute route = o.strRouteFile.isEmpty()
                                ? CSimRoute::BuiltIn()
                                : CSimRoute::Load(o.strRouteFile, &nCode, &strError);
    m_pNmea = std::make_unique<CSimNmeaFeed>();
    if (!route.IsValid() || !m_pNmea->Open(o.strNmeaHost, o.nNmeaPort, &strError)) {
        if (m_replayProgress)
            m_replayProgress(strError);
        return false;
    }
    m_pDrive = std::make_unique<CSimDrive>(route, m_pCore->Radio().Cells(), o.dSpeedKmh);
    CSimCore* pCore = m_pCore.get();
    CSimNmeaFeed* pNmea = m_pNmea.get();
    m_pDrive->SetOutputs(
        [pCore](const std::vector<CSimCell>& cells, int nTa) { pCore->SetCells(cells, nTa); },
        [pNmea](const SSimFix& fix) { pNmea->Send(fix); });
    m_pDrive->Start(o.nStepMs);
    return true;
}

bool CSimModule::WithReplay(const std::function<void(CSimReplay&)>& f)
{
    bool bDone = false;
    RunInThread([this, &f, &bDone] {
        if (m_pReplay) {
            f(*m_pReplay);
            bDone = true;
        }
    });
    return bDone;
}

void CSimModule::Stop()
{
    if (!m_pThread)
        return;
    RunInThread([this] {
        // In this order, in the module's thread: the replay writes through
        // the core, so does the drive, and through the feed.
        m_pReplay.reset();
        m_pDrive.reset();
        m_pNmea.reset();
        m_pCore.reset();
        m_pData.reset();
        m_pTrace.reset();
    });
    m_pAnchor->QuitAndWait();
    m_pAnchor.reset();
    m_pThread.reset();
    m_strDataPath.clear();
    m_strTracePath.clear();
}

bool CSimModule::RingFrom(const QString& strNumber)
{
    bool bOk = false;
    RunInThread([this, &bOk, strNumber] { bOk = m_pCore->RingFrom(strNumber); });
    return bOk;
}

void CSimModule::HangUp()
{
    RunInThread([this] { m_pCore->HangUp(); });
}

bool CSimModule::MoveServing(int nArfcn)
{
    bool bOk = false;
    RunInThread([this, &bOk, nArfcn] { bOk = m_pCore->MoveServing(nArfcn); });
    return bOk;
}

void CSimModule::SetLevels(int nServing, const QList<int>& neighbours)
{
    RunInThread([this, nServing, neighbours] { m_pCore->SetLevels(nServing, neighbours); });
}

CSimStatus CSimModule::Status() const
{
    CSimStatus s;
    RunInThread([this, &s] { s = m_pCore->Status(); });
    return s;
}

void CSimModule::OnRecord(int nPort, const QByteArray& item)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    std::deque<QString>& list = nPort == 0 ? m_dataLines : m_traceCommands;
    list.push_back(QString::fromLatin1(item));
    while (list.size() > MAX_RECORDED_LINES)
        list.pop_front();
    m_changed.notify_all();
}

void CSimModule::OnTraceBytes(const QByteArray& bytes)
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_traceChars.append(bytes);
    if (m_traceChars.size() > MAX_RECORDED_TRACE)
        m_traceChars.remove(0, m_traceChars.size() - MAX_RECORDED_TRACE);
}

QStringList CSimModule::ReceivedData() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return QStringList(m_dataLines.begin(), m_dataLines.end());
}

QStringList CSimModule::ReceivedTraceCommands() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return QStringList(m_traceCommands.begin(), m_traceCommands.end());
}

QByteArray CSimModule::ReceivedTrace() const
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_traceChars;
}

void CSimModule::ClearReceived()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    m_dataLines.clear();
    m_traceCommands.clear();
    m_traceChars.clear();
}

namespace {
bool Contains(const std::deque<QString>& list, const QString& s)
{
    return std::find(list.begin(), list.end(), s) != list.end();
}
} // namespace

bool CSimModule::WaitForData(const QString& strLine, int nTimeoutMs) const
{
    return WaitForEntry(m_dataLines, strLine, nTimeoutMs);
}

bool CSimModule::WaitForTraceCommand(const QString& strCommand, int nTimeoutMs) const
{
    return WaitForEntry(m_traceCommands, strCommand, nTimeoutMs);
}

// Waits until the recorded list (guarded by m_mutex) holds the text.
bool CSimModule::WaitForEntry(const std::deque<QString>& list, const QString& str,
                              int nTimeoutMs) const
{
    std::unique_lock<std::mutex> lock(m_mutex);
    return m_changed.wait_for(lock, std::chrono::milliseconds(nTimeoutMs),
                              [&list, &str]() { return Contains(list, str); });
}
