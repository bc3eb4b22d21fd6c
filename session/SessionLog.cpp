// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/SessionLog.h"

#include "serial/TrafficLog.h"

#include <QDateTime>

namespace {

// "YYYY-MM-DDTHH:MM:SS.mmm" and the blank after it.
constexpr int kStampLength = 24;
constexpr int kPrefixLength = 4;
// Longer lines are no log entry (a log entry is at most a few hundred
// characters); they are skipped without being held whole.
constexpr qint64 kMaxLine = 64 * 1024;

bool Digits(const char* p, int n, int* pValue)
{
    int v = 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9')
            return false;
        v = v * 10 + (p[i] - '0');
    }
    *pValue = v;
    return true;
}

// The time of a stamp at the start of the line, or -1 when there is none.
qint64 ParseStamp(const QByteArray& line)
{
    if (line.size() < kStampLength)
        return -1;
    const char* p = line.constData();
    static const char kShape[] = "dddd-dd-ddTdd:dd:dd.ddd ";
    for (int i = 0; i < kStampLength; ++i)
        if (kShape[i] != 'd' && p[i] != kShape[i])
            return -1;
    int y, mo, d, h, mi, s, ms;
    if (!Digits(p, 4, &y) || !Digits(p + 5, 2, &mo) || !Digits(p + 8, 2, &d) ||
        !Digits(p + 11, 2, &h) || !Digits(p + 14, 2, &mi) || !Digits(p + 17, 2, &s) ||
        !Digits(p + 20, 3, &ms))
        return -1;
    const QDate date(y, mo, d);
    const QTime time(h, mi, s, ms);
    if (!date.isValid() || !time.isValid())
        return -1;
    return QDateTime(date, time).toMSecsSinceEpoch();
}

} // namespace

bool CSessionLog::ParseLine(const QByteArray& line, SLogEntry* pEntry)
{
    const qint64 nTime = ParseStamp(line);
    const int nAt = nTime < 0 ? 0 : kStampLength;
    if (line.size() < nAt + kPrefixLength)
        return false;
    const char* p = line.constData() + nAt;
    int nChannel;
    if (p[0] == 'D')
        nChannel = LOG_DATA;
    else if (p[0] == 't')
        nChannel = LOG_TRACE;
    else
        return false;
    if ((p[1] != '<' && p[1] != '>') || p[2] != ',' || p[3] != ' ')
        return false;
    pEntry->nTime = nTime;
    pEntry->nChannel = nChannel;
    pEntry->bSent = p[1] == '>';
    pEntry->text = line.mid(nAt + kPrefixLength);
    return true;
}

int CSessionLog::Open(const QString& strPath, QString* pError)
{
    m_file.close();
    m_file.setFileName(strPath);
    m_nLines = m_nSkipped = 0;
    if (!m_file.open(QIODevice::ReadOnly)) {
        if (pError)
            *pError = m_file.errorString();
        return SL_OPEN_FAILED;
    }
    return SL_OK;
}

bool CSessionLog::Next(SLogEntry* pEntry)
{
    while (m_file.isOpen() && !m_file.atEnd()) {
        QByteArray line = m_file.readLine(kMaxLine);
        ++m_nLines;
        if (!line.endsWith('\n') && !m_file.atEnd()) {
            while (!m_file.atEnd() && !m_file.readLine(kMaxLine).endsWith('\n')) {
            }
            ++m_nSkipped;
            continue;
        }
        while (line.endsWith('\n') || line.endsWith('\r'))
            line.chop(1);
        if (ParseLine(line, pEntry))
            return true;
        ++m_nSkipped;
    }
    return false;
}

void CSessionLog::Rewind()
{
    m_file.seek(0);
    m_nLines = m_nSkipped = 0;
}
