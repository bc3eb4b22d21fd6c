// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>

// Cuts a received byte stream into text lines. CR or LF ends a non-empty
// line, a terminator after an empty line does nothing, NUL bytes are dropped
// and bytes after the last terminator wait for the next one. Lines have no
// maximum length. Bytes are Latin-1.
class CLineSplitter
{
public:
    // Feeds n bytes; calls onLine(const QString&) for every line they finish.
    template <typename F> void Feed(const char* pData, qsizetype nCount, F&& onLine);
    // Feeds bytes and returns the lines they finish.
    QStringList Feed(const QByteArray& bytes);
    // Drops the partial line.
    void Reset() { m_current.clear(); }
    // The bytes of the partial line waiting for a terminator.
    const QByteArray& Pending() const { return m_current; }

private:
    QByteArray m_current;
};

template <typename F> void CLineSplitter::Feed(const char* pData, qsizetype nCount, F&& onLine)
{
    if (!pData || nCount <= 0)
        return;
    const char* p = pData;
    const char* const pEnd = pData + nCount;
    while (p < pEnd) {
        // Copy the run of ordinary bytes in one go.
        const char* q = p;
        while (q < pEnd && *q != '\r' && *q != '\n' && *q != '\0')
            ++q;
        if (q > p) {
            if (m_current.isEmpty() && q < pEnd && *q != '\0') {
                // A whole line within this buffer: no copy into the partial line.
                onLine(QString::fromLatin1(p, q - p));
                p = q + 1;
                continue;
            }
            m_current.append(p, q - p);
        }
        if (q == pEnd)
            break;
        if (*q != '\0' && !m_current.isEmpty()) {
            onLine(QString::fromLatin1(m_current));
            m_current.clear();
        }
        p = q + 1;
    }
}
