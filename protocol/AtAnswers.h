// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

// The values of the module's information lines. Each parser takes the whole
// line and reads the fields after its six-character head ("+CREG:",
// "+CPBF: "), cut at the default delimiters of the extended string; a field
// that is missing reads as empty (or 0).

// "+CIMI: 262011234567890": the IMSI.
QString AtImsi(const QString& strLine);

// "+CREG: 0,1": the registration status, as the module wrote it and as a number.
struct SAtRegistration
{
    QString strStatus;
    int nStatus = 0;
    // Registered in the home network (1) or roaming (5).
    bool IsRegistered() const { return nStatus == 1 || nStatus == 5; }
};
SAtRegistration AtRegistration(const QString& strLine);

// "+COPS: 0,0,"Tarn Net"": the operator's name (it may hold blanks); empty
// when the module names none.
QString AtOperator(const QString& strLine);

// "+CPBF: 3,"+555",145,"Smith, John"": one entry of the phone book (the name
// may hold blanks and commas).
struct SAtPhoneBookEntry
{
    int nIndex = 0;
    QString strNumber;
    QString strName;
};
SAtPhoneBookEntry AtPhoneBookEntry(const QString& strLine);

// "+CLCC: 1,1,4,0,0,"555",129": the number between the line's first double
// quote and the next one; empty when there is none.
QString AtCallerNumber(const QString& strLine);
