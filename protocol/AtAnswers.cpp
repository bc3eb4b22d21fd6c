// SPDX-License-Identifier: GPL-3.0-or-later
#include "protocol/AtAnswers.h"

#include "protocol/StringE.h"

namespace {
// The head of an information line, "+CREG:" or "+CPBF" and a blank.
const int kHeadLength = 6;

CStringE Fields(const QString& strLine)
{
    return CStringE(strLine.mid(kHeadLength));
}
} // namespace

QString AtImsi(const QString& strLine)
{
    return Fields(strLine).GetNextToken();
}

SAtRegistration AtRegistration(const QString& strLine)
{
    CStringE fields = Fields(strLine);
    fields.GetNextToken(); // result mode
    const CStringE status(fields.GetNextToken());
    return {status, status.ToInt(10)};
}

QString AtOperator(const QString& strLine)
{
    CStringE fields = Fields(strLine);
    fields.GetNextToken(); // mode
    fields.GetNextToken(); // format
    return fields.GetNextToken(0, QStringLiteral(",\""));
}

SAtPhoneBookEntry AtPhoneBookEntry(const QString& strLine)
{
    CStringE fields = Fields(strLine);
    SAtPhoneBookEntry e;
    e.nIndex = CStringE(fields.GetNextToken()).ToInt(10);
    e.strNumber = fields.GetNextToken();
    fields.GetNextToken(); // type of number
    // The name may hold blanks and commas: only the quote ends it.
    e.strName = fields.GetNextToken(1, QStringLiteral("\""));
    return e;
}

QString AtCallerNumber(const QString& strLine)
{
    const int open = strLine.indexOf(QLatin1Char('"'));
    if (open < 0)
        return QString();
    const int close = strLine.indexOf(QLatin1Char('"'), open + 1);
    if (close < 0)
        return QString();
    return strLine.mid(open + 1, close - open - 1);
}
