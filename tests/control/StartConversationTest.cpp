// The whole start conversation against a scripted module on two
// pseudo-terminals: probe, set-up, identification, SIM, report flags,
// registration, IMSI, operator, phone book, text mode, idle.
#include <QSocketNotifier>
#include <QTest>
#include <unistd.h>

#include "PanelFixture.h"
#include "TestAccess.h"

namespace {
// A few lines of module: echoes every command line and answers it.
class ScriptedModule : public QObject
{
public:
    ScriptedModule(PtyPair& data, PtyPair& trace) : m_data(data), m_trace(trace)
    {
        m_pDataNotifier = new QSocketNotifier(data.MasterFd(), QSocketNotifier::Read, this);
        connect(m_pDataNotifier, &QSocketNotifier::activated, this, [this] { OnData(); });
        m_pTraceNotifier = new QSocketNotifier(trace.MasterFd(), QSocketNotifier::Read, this);
        connect(m_pTraceNotifier, &QSocketNotifier::activated, this, [this] { OnTrace(); });
    }

    QByteArray traceIn;
    QStringList commands;
    int probesToIgnore = 2; // after "**O" the module boots for two probes
    int cregAnswers = 0;

private:
    static QByteArray ReadAll(int fd)
    {
        QByteArray all;
        char buf[512];
        for (;;) {
            const ssize_t n = ::read(fd, buf, sizeof buf);
            if (n <= 0)
                break;
            all.append(buf, n);
        }
        return all;
    }

    void OnTrace()
    {
        const QByteArray in = ReadAll(m_trace.MasterFd());
        traceIn += in;
        if (in.contains("**O"))
            m_bBooting = true;
    }

    void OnData()
    {
        // The panel writes its trace commands first: take them in before the data.
        OnTrace();
        m_pending += ReadAll(m_data.MasterFd());
        int cr;
        while ((cr = m_pending.indexOf('\r')) >= 0) {
            const QByteArray cmd = m_pending.left(cr);
            m_pending.remove(0, cr + 1);
            Answer(cmd);
        }
    }

    void Reply(const QByteArray& cmd, const QList<QByteArray>& lines)
    {
        QByteArray out = cmd + "\r\n";
        for (const QByteArray& l : lines)
            out += l + "\r\n";
        out += "OK\r\n";
        m_data.Write(out);
    }

    void Answer(const QByteArray& cmd)
    {
        commands << QString::fromLatin1(cmd);
        if (cmd == "AT") {
            if (m_bBooting && probesToIgnore > 0) {
                --probesToIgnore;
                return;
            }
            Reply(cmd, {});
        } else if (cmd == "ATI") {
            Reply(cmd, {"Tarn GSM Test Mobile 3.0"});
        } else if (cmd == "AT+CGSN") {
            Reply(cmd, {"350123456789012"});
        } else if (cmd == "AT+CPIN?") {
            Reply(cmd, {"+CPIN: READY"});
        } else if (cmd == "AT+CREG?") {
            Reply(cmd, {++cregAnswers == 1 ? "+CREG: 0,2" : "+CREG: 0,1"});
        } else if (cmd == "AT+CIMI") {
            Reply(cmd, {"262011234567890"});
        } else if (cmd == "AT+COPS?") {
            Reply(cmd, {"+COPS: 0,0,\"Tarn Net\""});
        } else if (cmd == "AT+CPBS=\"SM\";+CPBF=\"\";") {
            Reply(cmd,
                  {"+CPBF: 1,\"+1234\",145,\"Home\"", "+CPBF: 2,\"5678\",129,\"Office, Main\""});
        } else {
            Reply(cmd, {});
        }
    }

    PtyPair& m_data;
    PtyPair& m_trace;
    QSocketNotifier* m_pDataNotifier;
    QSocketNotifier* m_pTraceNotifier;
    QByteArray m_pending;
    bool m_bBooting = false;
};
} // namespace

using StartConversation = PanelTest;

TEST_F(StartConversation, FromFirstAtToIdle)
{
    ScriptedModule module(dataPty, tracePty);
    dlg->m_nTraceCharDelay = 1;
    dlg->m_nProbeInterval = 100;
    dlg->m_nFirstRegPoll = 100;
    dlg->m_nRegPollInterval = 50;
    int nTrace = 2, nData = 1;
    dlg->ClosePorts();
    ASSERT_TRUE(dlg->SetupPorts(&nTrace, &nData, false));

    const bool bIdle = QTest::qWaitFor(
        [&] {
            return module.commands.contains(QStringLiteral("AT+CMGF=1")) &&
                   dlg->State() == STEP_IDLE;
        },
        15000);
    ASSERT_TRUE(bIdle) << "stuck in state " << dlg->State() << " after "
                       << module.commands.join(QLatin1Char('|')).toStdString();

    EXPECT_EQ(module.commands, QStringList({"AT", "AT", "AT", "AT", "ATI", "AT+CGSN", "AT+CPIN?",
                                            "AT+CREG?", "AT+CREG?", "AT+CIMI", "AT+COPS?",
                                            "AT+CPBS=\"SM\";+CPBF=\"\";", "AT+CMGF=1"}));
    QTest::qWait(50);
    EXPECT_EQ(module.traceIn, QByteArray("**O0+0*0*B0\r*M*M*WFFFFFF\r"));

    EXPECT_EQ(Text(IDC_STATUS), "Tarn Net");
    EXPECT_EQ(Text(IDC_IMEI), "350123456789012");
    EXPECT_EQ(Text(IDC_IMSI), "262011234567890");
    EXPECT_EQ(Text(IDC_LAC), "1");
    EXPECT_EQ(Text(IDC_POWER), "Off");
    EXPECT_TRUE(dlg->IsDlgItemEnabled(IDC_NUMBER));
    EXPECT_TRUE(dlg->IsPoweredOn());
    EXPECT_TRUE(dlg->IsTraceReportsOn());
    EXPECT_EQ(TestAccess::Library(*dlg).m_arrEntries,
              QStringList({":Home; 1;| +1234", ":Office, Main; 2;| 5678"}));
    for (int id = 0; id < TIMER_COUNT; ++id)
        EXPECT_FALSE(dlg->IsTimerActive(id)) << id;
    EXPECT_TRUE(answerer.messages.isEmpty()) << answerer.messages.join('|').toStdString();
}
