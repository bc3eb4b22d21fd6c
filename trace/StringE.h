#pragma once

#include <QString>

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

private:
    QString m_strDelimiters;
    int m_nPos = 0;
};
