// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/StringE.h"

#include <climits>
#include <cstdint>

namespace {
bool IsSpace(char16_t c)
{
    return c == u' ' || c == u'\t' || c == u'\n' || c == u'\v' || c == u'\f' || c == u'\r';
}

int HexDigit(char16_t c)
{
    if (c >= u'0' && c <= u'9')
        return c - u'0';
    if (c >= u'a' && c <= u'f')
        return c - u'a' + 10;
    if (c >= u'A' && c <= u'F')
        return c - u'A' + 10;
    return -1;
}

// Flags of the default delimiters, for the characters below 128.
struct DelimiterTable
{
    bool flags[128] = {};
    DelimiterTable()
    {
        for (const char* p = CStringE::DefaultDelimiters(); *p; ++p)
            flags[static_cast<unsigned char>(*p)] = true;
    }
};
const DelimiterTable s_delimiters;
} // namespace

CStringE::CStringE() = default;

CStringE::CStringE(const char* psz) : QString(QString::fromLatin1(psz ? psz : ""))
{
    Init();
}

CStringE::CStringE(const QString& str) : QString(str)
{
    Init();
}

CStringE::CStringE(int nValue, int nBase)
{
    if (nBase == 10)
        QString::operator=(QString::number(nValue));
    else if (nBase == 16)
        QString::operator=(QString::number(static_cast<quint32>(nValue), 16));
    Init();
}

void CStringE::Init()
{
    m_nPos = 0;
    m_strDelimiters = QString::fromLatin1(DefaultDelimiters());
}

QString CStringE::GetNextToken(int nSkip, const QString& strDelimiters)
{
    const int nLength = static_cast<int>(size());
    if (nLength == 0)
        return QString();
    if (nSkip > 0)
        m_nPos = (m_nPos > INT_MAX - nSkip) ? INT_MAX : m_nPos + nSkip;
    const QString& delims = strDelimiters.isEmpty() ? m_strDelimiters : strDelimiters;
    if (m_nPos >= nLength)
        return QString();
    const QChar* text = constData();
    while (m_nPos < nLength && delims.contains(text[m_nPos]))
        ++m_nPos;
    const int nStart = m_nPos;
    while (m_nPos < nLength && !delims.contains(text[m_nPos]))
        ++m_nPos;
    return mid(nStart, m_nPos - nStart);
}

int CStringE::ToInt(int nBase) const
{
    return ViewToInt(QStringView(*this), nBase);
}

int CStringE::ViewToInt(QStringView text, int nBase)
{
    const qsizetype n = text.size();
    qsizetype i = 0;
    while (i < n && IsSpace(text[i].unicode()))
        ++i;
    if (nBase == 10) {
        bool bNegative = false;
        if (i < n && (text[i] == u'+' || text[i] == u'-')) {
            bNegative = text[i] == u'-';
            ++i;
        }
        // Only the low 32 bits of the value are kept.
        quint32 value = 0;
        for (; i < n; ++i) {
            const char16_t c = text[i].unicode();
            if (c < u'0' || c > u'9')
                break;
            value = value * 10u + static_cast<quint32>(c - u'0');
        }
        if (bNegative)
            value = 0u - value;
        return static_cast<int>(value);
    }
    if (nBase != 16 || i >= n)
        return 0;
    // The number is read from no more than the next 15 characters.
    const qsizetype end = qMin(n, i + 15);
    bool bNegative = false;
    if (i < end && (text[i] == u'+' || text[i] == u'-')) {
        bNegative = text[i] == u'-';
        ++i;
    }
    bool bDigits = false;
    if (i + 1 < end && text[i] == u'0' && (text[i + 1] == u'x' || text[i + 1] == u'X')) {
        i += 2;
        bDigits = true; // the leading 0 itself
    }
    quint64 value = 0;
    for (; i < end; ++i) {
        const int d = HexDigit(text[i].unicode());
        if (d < 0)
            break;
        value = value * 16u + static_cast<quint64>(d);
        bDigits = true;
    }
    if (!bDigits)
        return 0;
    if (bNegative)
        return value > 0x80000000ull ? INT_MIN : static_cast<int>(-static_cast<qint64>(value));
    return value > static_cast<quint64>(INT_MAX) ? INT_MAX : static_cast<int>(value);
}

bool CStringE::IsDefaultDelimiter(QChar c)
{
    const char16_t u = c.unicode();
    return u < 128 && s_delimiters.flags[u];
}

QStringView CTokenView::Next()
{
    const qsizetype n = m_text.size();
    if (n == 0 || m_nPos >= n)
        return QStringView();
    while (m_nPos < n && CStringE::IsDefaultDelimiter(m_text[m_nPos]))
        ++m_nPos;
    const qsizetype nStart = m_nPos;
    while (m_nPos < n && !CStringE::IsDefaultDelimiter(m_text[m_nPos]))
        ++m_nPos;
    return m_text.mid(nStart, m_nPos - nStart);
}
