// The module's extended AT commands ("AT+..."), one function per command.
#include "sim/SimCore.h"

#include "sim/SimFormat.h"

bool CSimCore::ExecuteExtended(const QByteArray& cmd, QList<QByteArray>* pOut, bool* pPrompt)
{
    using Handler = bool (CSimCore::*)(SAtCommand&);
    struct SRow
    {
        const char* pszName;
        Handler pfn;
    };
    static const SRow kCommands[] = {
        {"+CGSN", &CSimCore::AtCgsn}, {"+CPIN", &CSimCore::AtCpin}, {"+CREG", &CSimCore::AtCreg},
        {"+CIMI", &CSimCore::AtCimi}, {"+COPS", &CSimCore::AtCops}, {"+CPBS", &CSimCore::AtCpbs},
        {"+CPBF", &CSimCore::AtCpbf}, {"+CMGF", &CSimCore::AtCmgf}, {"+CMGS", &CSimCore::AtCmgs},
        {"+CLCC", &CSimCore::AtClcc}, {"+CKPD", &CSimCore::AtCkpd}, {"+CSQ", &CSimCore::AtCsq},
        {"+CHUP", &CSimCore::AtChup},
    };
    const int eq = cmd.indexOf('=');
    SAtCommand c;
    c.bSet = eq >= 0;
    c.bQuery = !c.bSet && cmd.endsWith('?');
    const QByteArray name = (c.bSet ? cmd.left(eq) : c.bQuery ? cmd.chopped(1) : cmd).toUpper();
    c.arg = c.bSet ? cmd.mid(eq + 1).trimmed() : QByteArray();
    for (const SRow& r : kCommands) {
        if (name == r.pszName) {
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
    c.out << IMEI;
    return true;
}

bool CSimCore::AtCpin(SAtCommand& c)
{
    if (m_eSim == SIM_ABSENT)
        return false;
    if (c.bQuery) {
        c.out << (m_eSim == SIM_PIN   ? "+CPIN: SIM PIN"
                  : m_eSim == SIM_PUK ? "+CPIN: SIM PUK"
                                      : "+CPIN: READY");
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
        c.out << Fmt("+CREG: %d,%d", m_nCregMode, RegistrationStatus());
        return true;
    }
    if (c.bSet && c.arg == "?") {
        c.out << "+CREG: (0-2)";
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
            c.out << (m_opt.bRoaming ? "+COPS: 0,0,\"Tarn Partner\""
                                     : "+COPS: 0,0,\"Tarn Mobile\"");
        else
            c.out << "+COPS: 0";
        return true;
    }
    return c.bSet;
}

bool CSimCore::AtCpbs(SAtCommand& c)
{
    if (!IsSimReady())
        return false;
    if (c.bQuery) {
        c.out << Fmt("+CPBS: \"SM\",%d,%d", static_cast<int>(m_phoneBook.size()), MAX_PHONEBOOK);
        return true;
    }
    return c.bSet && Unquote(c.arg).toUpper() == "SM";
}

bool CSimCore::AtCpbf(SAtCommand& c)
{
    if (!IsSimReady() || !c.bSet)
        return false;
    const QString find = QString::fromLatin1(Unquote(c.arg));
    for (const SPhoneBookEntry& e : m_phoneBook) {
        if (!e.strName.startsWith(find, Qt::CaseInsensitive))
            continue;
        c.out << Fmt("+CPBF: %d,\"%s\",%d,\"%s\"", e.nIndex, e.strNumber.toLatin1().constData(),
                     e.strNumber.startsWith(QLatin1Char('+')) ? 145 : 129,
                     e.strName.toLatin1().constData());
    }
    return true;
}

bool CSimCore::AtCmgf(SAtCommand& c)
{
    if (c.bQuery) {
        c.out << "+CMGF: 1";
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
    c.out << Fmt("+CSQ: %d,99", rssi);
    return true;
}

bool CSimCore::AtChup(SAtCommand&)
{
    EndCall(false);
    return true;
}
