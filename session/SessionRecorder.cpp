// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/SessionRecorder.h"

#include <QDateTime>
#include <QDir>
#include <QFileInfo>
#include <cerrno>

#include "serial/LogList.h"
#include "session/SessionLog.h"

#if defined(Q_OS_WIN)
#include <io.h>
#else
#include <unistd.h>
#endif

namespace {
// Where the milliseconds stand in a stamp ("2026-12-09T10:15:02.123+01:00 ").
constexpr int kStampMsAt = 20;

// Forces the file's data to the disk; errno tells why when it fails.
bool SyncToDisk(int fd)
{
#if defined(Q_OS_WIN)
    return _commit(fd) == 0;
#elif defined(Q_OS_LINUX)
    return ::fdatasync(fd) == 0;
#else
    return ::fsync(fd) == 0;
#endif
}

QString Reason(const QString& strError, const QString& strPath)
{
    return QStringLiteral("%1 (%2)").arg(strError, QDir::toNativeSeparators(strPath));
}
} // namespace

CSessionRecorder::CSessionRecorder(QObject* parent) : QObject(parent) {}

CSessionRecorder::~CSessionRecorder()
{
    Stop();
}

QString CSessionRecorder::FileNameFor(const QDateTime& start, int nNumber)
{
    QString name = QStringLiteral("tessoly-") + start.toString(QStringLiteral("yyyyMMdd-HHmmss"));
    if (nNumber > 1)
        name += QStringLiteral("-%1").arg(nNumber);
    return name + QStringLiteral(".session");
}

bool CSessionRecorder::Start(const QString& strFolder)
{
    if (m_bRecording)
        return true;
    const QDir dir(strFolder);
    if (!m_strPath.isEmpty() && QFileInfo(m_strPath).absolutePath() == dir.absolutePath())
        return StartFile(m_strPath);
    QDir().mkpath(strFolder);
    const QDateTime now = QDateTime::currentDateTime();
    // Another panel may have started in the same second: never share its file.
    for (int n = 1;; ++n) {
        m_strPath = dir.absoluteFilePath(FileNameFor(now, n));
        if (Open(QIODevice::WriteOnly | QIODevice::NewOnly))
            return StartWriter();
        if (n >= 100 || !QFileInfo::exists(m_strPath))
            break;
    }
    const QString reason = Reason(m_file.errorString(), m_strPath);
    const int code = m_file.error();
    m_strPath.clear();
    emit Stopped(code, reason);
    return false;
}

bool CSessionRecorder::StartFile(const QString& strPath)
{
    if (m_bRecording)
        return true;
    m_strPath = strPath;
    if (!Open(QIODevice::WriteOnly | QIODevice::Append)) {
        emit Stopped(m_file.error(), Reason(m_file.errorString(), m_strPath));
        return false;
    }
    return StartWriter();
}

bool CSessionRecorder::Open(QIODevice::OpenMode mode)
{
    m_file.setFileName(m_strPath);
    return m_file.open(mode | QIODevice::Unbuffered);
}

bool CSessionRecorder::StartWriter()
{
    // A writer that ended on a failure not yet reported has returned already.
    if (m_writer.joinable())
        m_writer.join();
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        m_pending.clear();
        m_bQuit = false;
        m_bFailed = false;
    }
    m_writer = std::thread([this] { WriterLoop(); });
    m_bRecording = true;
    return true;
}

void CSessionRecorder::Stop()
{
    if (m_writer.joinable()) {
        {
            std::lock_guard<std::mutex> lock(m_mutex);
            m_bQuit = true;
        }
        m_cv.notify_one();
        m_writer.join();
    }
    m_file.close();
    m_bRecording = false;
}

const QByteArray& CSessionRecorder::Stamp()
{
    const qint64 now = qMax(QDateTime::currentMSecsSinceEpoch(), m_nLastMs);
    m_nLastMs = now;
    const qint64 second = now / 1000;
    if (second != m_nStampSecond) {
        m_nStampSecond = second;
        const qint64 nSecondMs = second * 1000;
        m_stamp = CSessionLog::FormatStamp(
            nSecondMs, QDateTime::fromMSecsSinceEpoch(nSecondMs).offsetFromUtc());
    }
    // Only the milliseconds change within the second.
    const int ms = static_cast<int>(now % 1000);
    char* p = m_stamp.data() + kStampMsAt;
    p[0] = char('0' + ms / 100);
    p[1] = char('0' + ms / 10 % 10);
    p[2] = char('0' + ms % 10);
    return m_stamp;
}

void CSessionRecorder::Record(const char* pszPrefix, const QString& strText)
{
    if (!m_bRecording)
        return;
    const QByteArray& stamp = Stamp();
    std::lock_guard<std::mutex> lock(m_mutex);
    if (m_bFailed)
        return;
    const bool bWasEmpty = m_pending.isEmpty();
    CLogList::ForEachLine(strText, [&](QStringView line) {
        m_pending += stamp;
        if (pszPrefix)
            m_pending += pszPrefix;
        m_pending += line.toLatin1();
        m_pending += "\r\n";
    });
    if (m_pending.size() > kMaxPending) {
        FailLocked(QFileDevice::ResourceError,
                   Reason(QStringLiteral("the disk does not keep up"), m_strPath));
        m_pending.clear();
    } else if (bWasEmpty || m_pending.size() >= kHighWater) {
        m_cv.notify_one();
    }
}

void CSessionRecorder::RecordFix(const SGpsFix& fix)
{
    if (m_bRecording)
        Record(CSessionLog::kGpsPrefix, QString::fromLatin1(CSessionLog::FormatFix(fix)));
}

void CSessionRecorder::WriterLoop()
{
    std::unique_lock<std::mutex> lock(m_mutex);
    for (;;) {
        m_cv.wait(lock, [this] { return m_bQuit || !m_pending.isEmpty(); });
        if (!m_bQuit) {
            // Let the lines of the next moment join the first one.
            const auto deadline =
                std::chrono::steady_clock::now() + std::chrono::milliseconds(kFlushMs);
            m_cv.wait_until(lock, deadline,
                            [this] { return m_bQuit || m_pending.size() >= kHighWater; });
        }
        QByteArray chunk;
        chunk.swap(m_pending);
        const bool bQuit = m_bQuit;
        lock.unlock();
        const bool bOk = chunk.isEmpty() || WriteOut(chunk);
        lock.lock();
        if (!bOk)
            return;
        if (bQuit && m_pending.isEmpty())
            return;
    }
}

bool CSessionRecorder::WriteOut(const QByteArray& chunk)
{
    if (m_file.write(chunk) != chunk.size()) {
        std::lock_guard<std::mutex> lock(m_mutex);
        FailLocked(m_file.error() != QFileDevice::NoError ? m_file.error()
                                                          : QFileDevice::WriteError,
                   Reason(m_file.errorString(), m_strPath));
        return false;
    }
    if (!SyncToDisk(m_file.handle())) {
        const int err = errno;
        // Devices and pipes cannot be synchronised; their data went out all the same.
        if (err == EINVAL || err == EROFS)
            return true;
        std::lock_guard<std::mutex> lock(m_mutex);
        FailLocked(QFileDevice::WriteError, Reason(qt_error_string(err), m_strPath));
        return false;
    }
    return true;
}

void CSessionRecorder::FailLocked(int nCode, const QString& strReason)
{
    if (m_bFailed)
        return;
    m_bFailed = true;
    m_nFailCode = nCode;
    m_strFailReason = strReason;
    QMetaObject::invokeMethod(this, &CSessionRecorder::OnFailed, Qt::QueuedConnection);
}

void CSessionRecorder::OnFailed()
{
    int code;
    QString reason;
    {
        std::lock_guard<std::mutex> lock(m_mutex);
        // A failure of an earlier recording that was stopped meanwhile is old news.
        if (!m_bFailed || !m_bRecording)
            return;
        code = m_nFailCode;
        reason = m_strFailReason;
    }
    Stop();
    emit Stopped(code, reason);
}
