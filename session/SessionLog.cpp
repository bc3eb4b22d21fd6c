// SPDX-License-Identifier: GPL-3.0-or-later
#include "session/SessionLog.h"

#include "gps/GpsFix.h"

#include <QDateTime>
#include <QList>
#include <cmath>

namespace {

// "YYYY-MM-DDTHH:MM:SS.mmm", its UTC offset ("+01:00", "-03:30" or "Z";
// none in older recordings, read as local time) and the blank after it.
constexpr int kStampLength = 24;
constexpr int kOffsetLength = 6;
constexpr int kPrefixLength = 4;
// Longer lines are no log entry (a log entry is at most a few hundred
// characters); they are skipped without being held whole.
constexpr qint64 kMaxLine = 64 * 1024;
// Offsets beyond this many hours are no offset.
constexpr int kMaxOffsetHours = 14;

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

// The UTC offset after the time ("+01:00 ", "Z "): its seconds and its
// length with the blank, or a length of 0 when there is none.
int ParseOffset(const char* p, int nLeft, int* pOffsetS)
{
    if (nLeft >= 2 && p[0] == 'Z' && p[1] == ' ') {
        *pOffsetS = 0;
        return 2;
    }
    int h, m;
    if (nLeft < kOffsetLength + 1 || (p[0] != '+' && p[0] != '-') || p[3] != ':' ||
        p[kOffsetLength] != ' ' || !Digits(p + 1, 2, &h) || !Digits(p + 4, 2, &m) ||
        h > kMaxOffsetHours || m > 59)
        return 0;
    *pOffsetS = (p[0] == '-' ? -1 : 1) * (h * 3600 + m * 60);
    return kOffsetLength + 1;
}

// The stamp at the start of the line: its time (ms since the epoch), its
// UTC offset and its length with the blank; a length of 0 when there is none.
int ParseStamp(const QByteArray& line, qint64* pTime, int* pOffsetS)
{
    if (line.size() < kStampLength)
        return 0;
    const char* p = line.constData();
    static const char kShape[] = "dddd-dd-ddTdd:dd:dd.ddd";
    for (int i = 0; i < kStampLength - 1; ++i)
        if (kShape[i] != 'd' && p[i] != kShape[i])
            return 0;
    int y, mo, d, h, mi, s, ms;
    if (!Digits(p, 4, &y) || !Digits(p + 5, 2, &mo) || !Digits(p + 8, 2, &d) ||
        !Digits(p + 11, 2, &h) || !Digits(p + 14, 2, &mi) || !Digits(p + 17, 2, &s) ||
        !Digits(p + 20, 3, &ms))
        return 0;
    const QDate date(y, mo, d);
    const QTime time(h, mi, s, ms);
    if (!date.isValid() || !time.isValid())
        return 0;
    const int nAfter = kStampLength - 1;
    if (p[nAfter] == ' ') {
        const QDateTime local(date, time);
        *pTime = local.toMSecsSinceEpoch();
        *pOffsetS = local.offsetFromUtc();
        return kStampLength;
    }
    const int nOffset = ParseOffset(p + nAfter, int(line.size()) - nAfter, pOffsetS);
    if (nOffset == 0)
        return 0;
    *pTime = QDateTime(date, time, Qt::UTC).toMSecsSinceEpoch() - qint64(*pOffsetS) * 1000;
    return nAfter + nOffset;
}

// The fields of a position's text, in their order.
enum
{
    FIX_TIME,
    FIX_MODE,
    FIX_LAT,
    FIX_LON,
    FIX_ALT,
    FIX_SPEED,
    FIX_ERR,
    FIX_FIELDS
};
constexpr char kUnknown[] = "-";

QByteArray Number(double d, int nDecimals)
{
    return std::isfinite(d) ? QByteArray::number(d, 'f', nDecimals) : QByteArray(kUnknown);
}

// A number of the text, NAN for "-"; false when the field is neither.
bool ReadNumber(const QByteArray& field, double* pValue)
{
    if (field == kUnknown) {
        *pValue = NAN;
        return true;
    }
    bool bOk = false;
    *pValue = field.toDouble(&bOk);
    return bOk && std::isfinite(*pValue);
}

} // namespace

QByteArray CSessionLog::FormatFix(const SGpsFix& fix)
{
    const QByteArray time = fix.time.isValid()
                                ? fix.time.toUTC().toString(Qt::ISODateWithMs).toLatin1()
                                : QByteArray(kUnknown);
    const QByteArray mode = fix.nMode == SGpsFix::FIX_3D   ? "3D"
                            : fix.nMode == SGpsFix::FIX_2D ? "2D"
                                                           : kUnknown;
    return time + ' ' + mode + ' ' + Number(fix.dLat, 7) + ' ' + Number(fix.dLon, 7) + ' ' +
           Number(fix.dAltM, 2) + ' ' + Number(fix.dSpeedKmh, 1) + ' ' + Number(fix.dErrM, 1);
}

bool CSessionLog::ParseFix(const QByteArray& text, SGpsFix* pFix)
{
    const QList<QByteArray> f = text.split(' ');
    if (f.size() != FIX_FIELDS)
        return false;
    SGpsFix fix;
    if (f[FIX_TIME] != kUnknown) {
        fix.time = QDateTime::fromString(QString::fromLatin1(f[FIX_TIME]), Qt::ISODateWithMs);
        if (!fix.time.isValid() || !f[FIX_TIME].endsWith('Z'))
            return false;
    }
    if (f[FIX_MODE] == "3D")
        fix.nMode = SGpsFix::FIX_3D;
    else if (f[FIX_MODE] == "2D")
        fix.nMode = SGpsFix::FIX_2D;
    else
        return false;
    if (!ReadNumber(f[FIX_LAT], &fix.dLat) || !ReadNumber(f[FIX_LON], &fix.dLon) ||
        !ReadNumber(f[FIX_ALT], &fix.dAltM) || !ReadNumber(f[FIX_SPEED], &fix.dSpeedKmh) ||
        !ReadNumber(f[FIX_ERR], &fix.dErrM))
        return false;
    // A fix has its position.
    if (!(std::fabs(fix.dLat) <= 90) || !(std::fabs(fix.dLon) <= 180))
        return false;
    *pFix = fix;
    return true;
}

bool CSessionLog::ParseLine(const QByteArray& line, SLogEntry* pEntry)
{
    qint64 nTime = -1;
    int nOffsetS = 0;
    const int nAt = ParseStamp(line, &nTime, &nOffsetS);
    if (line.size() < nAt + kPrefixLength)
        return false;
    const char* p = line.constData() + nAt;
    int nChannel;
    if (p[0] == 'D')
        nChannel = LOG_DATA;
    else if (p[0] == 't')
        nChannel = LOG_TRACE;
    else if (p[0] == kGpsPrefix[0])
        nChannel = LOG_GPS;
    else
        return false;
    if ((p[1] != '<' && p[1] != '>') || p[2] != ',' || p[3] != ' ')
        return false;
    if (nChannel == LOG_GPS && p[1] != kGpsPrefix[1])
        return false;
    pEntry->nTime = nTime;
    pEntry->nOffsetS = nOffsetS;
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
        if (ParseLine(line, pEntry)) {
            if (pEntry->nChannel == LOG_GPS && !m_bFixes)
                continue;
            return true;
        }
        ++m_nSkipped;
    }
    return false;
}

QDateTime CSessionLog::EntryTime(const SLogEntry& entry)
{
    if (entry.nTime < 0)
        return QDateTime();
    return QDateTime::fromMSecsSinceEpoch(entry.nTime, Qt::OffsetFromUTC, entry.nOffsetS);
}

QByteArray CSessionLog::FormatStamp(qint64 nTime, int nOffsetS)
{
    const QDateTime t = QDateTime::fromMSecsSinceEpoch(nTime, Qt::OffsetFromUTC, nOffsetS);
    const int nMinutes = qAbs(nOffsetS) / 60;
    char offset[8];
    qsnprintf(offset, sizeof offset, "%c%02d:%02d", nOffsetS < 0 ? '-' : '+', nMinutes / 60,
              nMinutes % 60);
    return t.toString(QStringLiteral("yyyy-MM-dd'T'HH:mm:ss.zzz")).toLatin1() + offset + ' ';
}

void CSessionLog::Rewind()
{
    m_file.seek(0);
    m_nLines = m_nSkipped = 0;
}
