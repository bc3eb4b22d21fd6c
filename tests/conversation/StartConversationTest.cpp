// SPDX-License-Identifier: GPL-3.0-or-later
// The whole start conversation against a scripted module: probe, set-up,
// identification, SIM, report flags, registration, IMSI, operator, phone
// book, text mode, idle. The module's lines come back through a line source
// and the event loop, as the ports' lines do.
#include <QTest>

#include "SequencerFixture.h"
#include "common/ScriptedLines.h"
#include "platform/Messages.h"

namespace {
// Hands each line of its source to the sequencer, one per line message, as
// the panel does with the data port's lines.
class LinePump : public QObject
{
public:
    explicit LinePump(CSequencer& seq) : lines(this, WM_DATA_LINE), m_seq(seq) {}
    ScriptedLines lines;

protected:
    void customEvent(QEvent* e) override
    {
        if (e->type() == WM_DATA_LINE)
            m_seq.HandleDataLine(lines.GetLine());
    }

private:
    CSequencer& m_seq;
};

// A few lines of module: echoes every command line and answers it.
class ScriptedModule
{
public:
    explicit ScriptedModule(ScriptedLines& lines) : m_lines(lines) {}

    QStringList commands;
    int probesToIgnore = 2; // after "**O" the module boots for two probes
    int cregAnswers = 0;
    bool booting = false;

    void Trace(const QByteArray& trace)
    {
        if (trace.contains("**O"))
            booting = true;
    }

    void Command(const QByteArray& line)
    {
        const QByteArray cmd = line.chopped(1); // the CR
        commands << QString::fromLatin1(cmd);
        if (cmd == "AT") {
            if (booting && probesToIgnore > 0) {
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

private:
    void Reply(const QByteArray& cmd, const QList<QByteArray>& lines)
    {
        m_lines.Push(QString::fromLatin1(cmd));
        for (const QByteArray& l : lines)
            m_lines.Push(QString::fromLatin1(l));
        m_lines.Push(QStringLiteral("OK"));
    }

    ScriptedLines& m_lines;
};
} // namespace

using StartConversation = SequencerTest;

TEST_F(StartConversation, FromFirstAtToIdle)
{
    LinePump pump(seq);
    ScriptedModule module(pump.lines);
    writer.onData = [&](const QByteArray& line) {
        // The panel writes its trace commands first: the module takes them in before the data.
        module.Trace(writer.trace);
        module.Command(line);
    };
    seq.m_nProbeInterval = 100;
    seq.m_nFirstRegPoll = 100;
    seq.m_nRegPollInterval = 50;
    seq.Start(false);

    const bool bIdle = QTest::qWaitFor(
        [&] {
            return module.commands.contains(QStringLiteral("AT+CMGF=1")) &&
                   seq.State() == STEP_IDLE;
        },
        15000);
    ASSERT_TRUE(bIdle) << "stuck in state " << seq.State() << " after "
                       << module.commands.join(QLatin1Char('|')).toStdString();

    EXPECT_EQ(module.commands, QStringList({"AT", "AT", "AT", "AT", "ATI", "AT+CGSN", "AT+CPIN?",
                                            "AT+CREG?", "AT+CREG?", "AT+CIMI", "AT+COPS?",
                                            "AT+CPBS=\"SM\";+CPBF=\"\";", "AT+CMGF=1"}));
    QTest::qWait(50);
    EXPECT_EQ(writer.trace, QByteArray("**O0+0*0*B0\r*M*M*WFFFFFF\r"));

    EXPECT_EQ(view.status, "Tarn Net");
    EXPECT_EQ(view.imei, "350123456789012");
    EXPECT_EQ(view.imsi, "262011234567890");
    EXPECT_EQ(view.registration, "1");
    EXPECT_EQ(view.powerButton, "Off");
    EXPECT_TRUE(view.numberEnabled);
    EXPECT_TRUE(seq.IsPoweredOn());
    EXPECT_TRUE(seq.IsTraceReportsOn());
    EXPECT_EQ(view.library, QStringList({"1|Home|+1234", "2|Office, Main|5678"}));
    for (int id = 0; id < TIMER_COUNT; ++id)
        EXPECT_FALSE(seq.IsTimerActive(id)) << id;
    EXPECT_TRUE(view.messages.isEmpty()) << view.messages.join('|').toStdString();
}
