// SPDX-License-Identifier: GPL-3.0-or-later
// The module's extended AT commands ("AT+..."), one function per command.
#include "sim/SimCore.h"

#include "protocol/AtCommands.h"
#include "sim/SimFormat.h"

bool CSimCore::ExecuteExtended(const QByteArray& cmd, QList<QByteArray>* pOut, bool* pPrompt)
{
    using Handler = bool (CSimCore::*)(SAtCommand&);
    struct SRow
    {
        const char* pszName;
        Handler pfn;
    };
    // By name, without the "+" that every extended command starts with.
    static const SRow kCommands[] = {
        {AT_CGSN, &CSimCore::AtCgsn}, {AT_CPIN, &CSimCore::AtCpin}, {AT_CREG, &CSimCore::AtCreg},
        {AT_CIMI, &CSimCore::AtCimi}, {AT_COPS, &CSimCore::AtCops}, {AT_CPBS, &CSimCore::AtCpbs},
        {AT_CPBF, &CSimCore::AtCpbf}, {AT_CMGF, &CSimCore::AtCmgf}, {AT_CMGS, &CSimCore::AtCmgs},
        {AT_CLCC, &CSimCore::AtClcc}, {AT_CKPD, &CSimCore::AtCkpd}, {AT_CSQ, &CSimCore::AtCsq},
        {AT_CHUP, &CSimCore::AtChup},
    };
    const int eq = cmd.indexOf(AT_SET);
    SAtCommand c;
    c.bSet = eq >= 0;
    c.bQuery = !c.bSet && cmd.endsWith(AT_QUERY);
    const QByteArray name = (c.bSet ? cmd.left(eq) : c.bQuery ? cmd.chopped(1) : cmd).toUpper();
    c.arg = c.bSet ? cmd.mid(eq + 1).trimmed() : QByteArray();
    for (const SRow& r : kCommands) {
        if (name == QByteArray(AT_EXTENDED) + r.pszName) {
            const bool bOk = (this->*r.pfn)(c);
            *pOut << c.out;
            *pPrompt = c.bPrompt;
            return bOk;
        }
    }
    return false;
}

bool CSimCore::AtCgsn(SAtCommand& c)
{
    c.out << (m_opt.strImei.isEmpty() ? QByteArray(IMEI) : m_opt.strImei.toLatin1());
    return true;
}

bool CSimCore::AtCpin(SAtCommand& c)
{
    if (m_eSim == SIM_ABSENT)
        return false;
    if (c.bQuery) {
        c.out << Fmt("%s %s", AT_CPIN_INFO.sz,
                     m_eSim == SIM_PIN   ? AT_SIM_PIN
                     : m_eSim == SIM_PUK ? AT_SIM_PUK
                                         : AT_SIM_READY);
        return true;
    }
    if (!c.bSet)
        return false;
    const QList<QByteArray> a = c.arg.split(',');
    const QString first = QString::fromLatin1(Unquote(a.value(0)));
    if (m_eSim == SIM_PIN) {
        if (!first.isEmpty() && first == m_opt.strPin) {
            m_eSim = SIM_READY;
            m_nPinTries = 3;
            return true;
        }
        if (--m_nPinTries <= 0)
            m_eSim = SIM_PUK;
        return false;
    }
    if (m_eSim == SIM_PUK) {
        const QByteArray newPin = Unquote(a.value(1));
        if (first == m_opt.strPuk && newPin.size() >= 4 && newPin.size() <= 8) {
            m_opt.strPin = QString::fromLatin1(newPin);
            m_eSim = SIM_READY;
            m_nPinTries = 3;
            return true;
        }
        return false;
    }
    return false; // no PIN asked
}

bool CSimCore::AtCreg(SAtCommand& c)
{
    if (c.bQuery) {
        c.out << Fmt("%s %d,%d", AT_CREG_INFO.sz, m_nCregMode, RegistrationStatus());
        return true;
    }
    if (c.bSet && c.arg == QByteArray(1, AT_QUERY)) {
        c.out << Fmt("%s (0-2)", AT_CREG_INFO.sz);
        return true;
    }
    if (c.bSet && (c.arg == "0" || c.arg == "1" || c.arg == "2")) {
        m_nCregMode = c.arg.toInt();
        return true;
    }
    return false;
}

bool CSimCore::AtCimi(SAtCommand& c)
{
    if (!IsSimReady() || c.bSet)
        return false;
    c.out << ImsiText();
    return true;
}

bool CSimCore::AtCops(SAtCommand& c)
{
    if (c.bQuery) {
        if (m_bRegistered && !m_opt.bNoOperator)
            c.out << Fmt("%s 0,0,\"%s\"", AT_COPS_INFO.sz,
                         m_opt.bRoaming ? "Tarn Partner" : "Tarn Mobile");
        else
            c.out << Fmt("%s 0", AT_COPS_INFO.sz);
        return true;
    }
    return c.bSet;
}

bool CSimCore::AtCpbs(SAtCommand& c)
{
    if (!IsSimReady())
        return false;
    if (c.bQuery) {
        c.out << Fmt("%s \"%s\",%d,%d", AT_CPBS_INFO.sz, AT_PHONE_BOOK_SIM,
                     static_cast<int>(m_phoneBook.size()), MAX_PHONEBOOK);
        return true;
    }
    return c.bSet && Unquote(c.arg).toUpper() == AT_PHONE_BOOK_SIM;
}

bool CSimCore::AtCpbf(SAtCommand& c)
{
    if (!IsSimReady() || !c.bSet)
        return false;
    const QString find = QString::fromLatin1(Unquote(c.arg));
    for (const SPhoneBookEntry& e : m_phoneBook) {
        if (!e.strName.startsWith(find, Qt::CaseInsensitive))
            continue;
        c.out << Fmt(
            "%s %d,\"%s\",%d,\"%s\"", AT_CPBF_INFO.sz, e.nIndex, e.strNumber.toLatin1().constData(),
            e.strNumber.startsWith(QLatin1Char('+')) ? 145 : 129, e.strName.toLatin1().constData());
    }
    return true;
}

bool CSimCore::AtCmgf(SAtCommand& c)
{
    if (c.bQuery) {
        c.out << Fmt("%s 1", AT_CMGF_INFO.sz);
        return true;
    }
    return c.bSet && (c.arg == "0" || c.arg == "1");
}

bool CSimCore::AtCmgs(SAtCommand& c)
{
    const QByteArray number = Unquote(c.arg);
    if (!IsSimReady() || !c.bSet || !IsPhoneNumber(number))
        return false;
    m_smsNumber = number;
    c.bPrompt = true;
    return true;
}

bool CSimCore::AtClcc(SAtCommand& c)
{
    const QByteArray l = ClccLine();
    if (!l.isEmpty())
        c.out << l;
    return !c.bSet;
}

bool CSimCore::AtCkpd(SAtCommand& c)
{
    return c.bSet && !Unquote(c.arg).isEmpty();
}

bool CSimCore::AtCsq(SAtCommand& c)
{
    const int rssi = m_bRegistered ? qMin(31, (m_radio.Serving().nLevel + 3) / 2) : 99;
    c.out << Fmt("%s %d,99", AT_CSQ_INFO.sz, rssi);
    return true;
}

bool CSimCore::AtChup(SAtCommand&)
{
    EndCall(false);
    return true;
}
