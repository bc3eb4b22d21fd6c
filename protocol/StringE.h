// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>
#include <QStringView>

// The string with which module output is cut into fields: a QString plus a
// delimiter set and a read position; also writes and reads small integers
// in base 10 and 16.
class CStringE : public QString
{
public:
    CStringE();
    CStringE(const char* psz);
    CStringE(const QString& str);
    CStringE(int nValue, int nBase);

    void Init();
    // The next field; the skip count moves the read position first, a
    // non-empty delimiter string replaces the stored set for this call.
    QString GetNextToken(int nSkip = 0, const QString& strDelimiters = QString());
    int ToInt(int nBase) const;
    int Position() const { return m_nPos; }
    const QString& Delimiters() const { return m_strDelimiters; }

    static const char* DefaultDelimiters() { return " ,\t:=\";"; }

    // ToInt on any text, without copying it.
    static int ViewToInt(QStringView text, int nBase);
    static bool IsDefaultDelimiter(QChar c);

private:
    QString m_strDelimiters;
    int m_nPos = 0;
};

// Hands out the fields of a text with the default delimiters, exactly as
// repeated GetNextToken() calls on a CStringE of that text do, but as views
// into the text (no copies). For the hot path of the report parser.
class CTokenView
{
public:
    explicit CTokenView(QStringView text) : m_text(text) {}
    // The next field; an empty view when the text has no more fields.
    QStringView Next();
    qsizetype Position() const { return m_nPos; }

private:
    QStringView m_text;
    qsizetype m_nPos = 0;
};
