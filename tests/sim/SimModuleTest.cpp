// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <QTemporaryFile>
#include <QThread>
#include <memory>

#include "SimFields.h"
#include "SimTestPort.h"
#include "sim/SimModule.h"

namespace {
CSimOptions FastOptions()
{
    CSimOptions o;
    o.nBootMs = 30;
    o.nReportIntervalMs = 25;
    o.nRingIntervalMs = 60;
    o.nCallSetupMs = 30;
    o.nRegPolls = 2;
    return o;
}

// The System Information octets of a Bcch_Report line.
std::vector<int> Octets(const QByteArray& line)
{
    std::vector<int> o;
    const auto f = SimFields(line, "Bcch_Report");
    for (int k = 4; k < f.size(); ++k)
        o.push_back(f[k].toInt(nullptr, 16));
    return o;
}
} // namespace

class SimModuleTest : public ::testing::Test
{
protected:
    void StartSim(const CSimOptions& o = FastOptions())
    {
        sim = std::make_unique<CSimModule>(o);
        ASSERT_TRUE(sim->Start());
        data = std::make_unique<SimTestPort>(sim->DataPath());
        trace = std::make_unique<SimTestPort>(sim->TracePath());
        ASSERT_TRUE(data->IsOpen());
        ASSERT_TRUE(trace->IsOpen());
    }

    // "**O" on the trace port, then "AT" probes until the module answers.
    bool PowerOn()
    {
        trace->Write("**O");
        for (int i = 0; i < 60; ++i) {
            data->Clear();
            data->Write("AT\r");
            if (data->WaitFor("OK\r\n", 50))
                return true;
        }
        return false;
    }

    // Sends a command and returns the lines up to its final result.
    QList<QByteArray> At(const QByteArray& cmd)
    {
        data->Clear();
        data->Write(cmd + "\r");
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < 2000) {
            data->Collect(5);
            const QList<QByteArray> l = data->Lines();
            if (!l.isEmpty() &&
                (l.last() == "OK" || l.last().contains("ERROR") || l.last().startsWith("CONNECT") ||
                 l.last() == "BUSY" || l.last() == "NO CARRIER" || data->Text().endsWith("> ")))
                return l;
        }
        return data->Lines();
    }

    QByteArray Final(const QByteArray& cmd)
    {
        const QList<QByteArray> l = At(cmd);
        return l.isEmpty() ? QByteArray() : l.last();
    }

    bool Register()
    {
        for (int i = 0; i < 10; ++i) {
            const auto l = At("AT+CREG?");
            if (l.contains("+CREG: 0,1") || l.contains("+CREG: 0,5"))
                return true;
        }
        return false;
    }

    // Waits for a trace line starting with the text and returns it.
    QByteArray TraceLineStarting(const QByteArray& start, int nTimeoutMs = 2000)
    {
        QElapsedTimer t;
        t.start();
        while (t.elapsed() < nTimeoutMs) {
            for (const QByteArray& l : trace->Lines()) {
                if (l.startsWith(start))
                    return l;
            }
            trace->Collect(10);
        }
        return QByteArray();
    }

    std::unique_ptr<CSimModule> sim;
    std::unique_ptr<SimTestPort> data;
    std::unique_ptr<SimTestPort> trace;
};

TEST_F(SimModuleTest, SilentUntilPoweredOnAndAfterPowerOff)
{
    CSimOptions o = FastOptions();
    o.nBootMs = 150;
    StartSim(o);
    data->Write("AT\r");
    data->Collect(80);
    EXPECT_TRUE(data->Text().isEmpty());
    QElapsedTimer t;
    t.start();
    ASSERT_TRUE(PowerOn());
    EXPECT_GE(t.elapsed(), 140); // not before the boot time
    EXPECT_TRUE(sim->Status().bBooted);
    EXPECT_EQ(data->Lines(), (QList<QByteArray>{"AT", "OK"}));
    // a renewed power-on command while on changes nothing
    trace->Write("**O");
    EXPECT_EQ(At("AT"), (QList<QByteArray>{"AT", "OK"}));

    trace->Write("Z");
    trace->Write("**Z");
    ASSERT_TRUE(sim->WaitForTraceCommand("**Z", 1000));
    data->Clear();
    data->Write("AT\r");
    data->Collect(80);
    EXPECT_TRUE(data->Text().isEmpty());
    EXPECT_FALSE(sim->Status().bPoweredOn);
    EXPECT_TRUE(sim->ReceivedData().contains("AT"));
}

TEST_F(SimModuleTest, TheStartConversation)
{
    StartSim();
    ASSERT_TRUE(PowerOn());
    // set-up strings one character at a time, as the panel paces them
    for (char c : QByteArray("&F0+0*0*B0\r*M*M"))
        trace->Write(QByteArray(1, c));
    EXPECT_TRUE(sim->WaitForTraceCommand("*M*M", 1000));
    EXPECT_EQ(sim->ReceivedTraceCommands(),
              (QStringList{"**O", "&F", "0+0*0", "*B", "0\r", "*M*M"}));

    auto l = At("ATI");
    ASSERT_GE(l.size(), 3);
    EXPECT_EQ(l[0], "ATI");
    EXPECT_GT(l[1].size(), 2);
    EXPECT_FALSE(l[1].contains("ATI"));
    EXPECT_EQ(l.last(), "OK");
    EXPECT_EQ(At("AT+CGSN"), (QList<QByteArray>{"AT+CGSN", "490154203237518", "OK"}));
    EXPECT_EQ(At("AT+CPIN?"), (QList<QByteArray>{"AT+CPIN?", "+CPIN: READY", "OK"}));
    EXPECT_EQ(At("AT+CREG?").value(1), "+CREG: 0,2");
    EXPECT_EQ(At("AT+CREG?").value(1), "+CREG: 0,2");
    EXPECT_EQ(At("AT+CREG?").value(1), "+CREG: 0,1");
    l = At("AT+CIMI");
    ASSERT_EQ(l.size(), 3);
    EXPECT_TRUE(l[1].startsWith("+CIMI: 26201"));
    EXPECT_EQ(l[1].size(), 7 + 15);
    EXPECT_EQ(At("AT+COPS?").value(1), "+COPS: 0,0,\"Tarn Mobile\"");
    l = At("AT+CPBS=\"SM\";+CPBF=\"\";");
    ASSERT_EQ(l.size(), 7);
    EXPECT_EQ(l[0], "AT+CPBS=\"SM\";+CPBF=\"\";");
    EXPECT_EQ(l[1], "+CPBF: 1,\"+4930123456\",145,\"Tarn Service\"");
    EXPECT_EQ(l[2], "+CPBF: 2,\"0800123123\",129,\"Hotline, Support\"");
    EXPECT_EQ(l.last(), "OK");
    EXPECT_EQ(Final("AT+CMGF=1"), "OK");
    EXPECT_EQ(Final("AT+CKPD=\"u\""), "OK");
    EXPECT_EQ(Final("AT+COPS=0"), "OK");
    EXPECT_EQ(Final("AT+FOO"), "ERROR");
    EXPECT_EQ(Final("hello"), "ERROR");
    EXPECT_EQ(Final(QByteArray(600, 'A')), "ERROR"); // over-long line
    EXPECT_EQ(Final("AT"), "OK");
}

TEST_F(SimModuleTest, PinAndPuk)
{
    CSimOptions o = FastOptions();
    o.strPin = "1234";
    StartSim(o);
    ASSERT_TRUE(PowerOn());
    EXPECT_EQ(At("AT+CPIN?").value(1), "+CPIN: SIM PIN");
    EXPECT_EQ(At("AT+CREG?").value(1), "+CREG: 0,0");
    EXPECT_EQ(Final("AT+CIMI"), "ERROR");
    EXPECT_EQ(Final("AT+CPIN=9999"), "ERROR");
    EXPECT_EQ(Final("AT+CPIN=1234"), "OK");
    EXPECT_EQ(At("AT+CPIN?").value(1), "+CPIN: READY");
    EXPECT_TRUE(Register());

    // three wrong PINs after the next power-on block the SIM
    trace->Write("**Z");
    ASSERT_TRUE(sim->WaitForTraceCommand("**Z", 1000));
    ASSERT_TRUE(PowerOn());
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(Final("AT+CPIN=0000"), "ERROR");
    EXPECT_EQ(At("AT+CPIN?").value(1), "+CPIN: SIM PUK");
    EXPECT_EQ(Final("AT+CPIN=1234"), "ERROR");
    EXPECT_EQ(Final("AT+CPIN=\"87654321\",\"4321\""), "ERROR");
    EXPECT_EQ(Final("AT+CPIN=\"12345678\",\"4321\""), "OK");
    EXPECT_EQ(At("AT+CPIN?").value(1), "+CPIN: READY");
}

TEST_F(SimModuleTest, SimAndNetworkScenarios)
{
    CSimOptions o = FastOptions();
    o.bNoSim = true;
    StartSim(o);
    ASSERT_TRUE(PowerOn());
    EXPECT_EQ(At("AT+CPIN?"), (QList<QByteArray>{"AT+CPIN?", "ERROR"}));
    for (int i = 0; i < 4; ++i)
        EXPECT_EQ(At("AT+CREG?").value(1), "+CREG: 0,0");
    EXPECT_EQ(Final("AT+CPBS=\"SM\";+CPBF=\"\";"), "ERROR");

    o = FastOptions();
    o.bNoCoverage = true;
    StartSim(o);
    ASSERT_TRUE(PowerOn());
    for (int i = 0; i < 10; ++i)
        EXPECT_EQ(At("AT+CREG?").value(1), "+CREG: 0,2");
    EXPECT_EQ(At("AT+COPS?").value(1), "+COPS: 0");
    EXPECT_EQ(Final("ATD12345"), "NO CARRIER");

    o = FastOptions();
    o.bRoaming = true;
    o.bImsiPlain = true;
    StartSim(o);
    ASSERT_TRUE(PowerOn());
    ASSERT_TRUE(Register());
    EXPECT_EQ(At("AT+CREG?").value(1), "+CREG: 0,5");
    EXPECT_EQ(At("AT+COPS?").value(1), "+COPS: 0,0,\"Tarn Partner\"");
    const auto l = At("AT+CIMI");
    ASSERT_EQ(l.size(), 3);
    EXPECT_EQ(l[1].size(), 15);
    EXPECT_TRUE(l[1].startsWith("26201"));

    o = FastOptions();
    o.bNoOperator = true;
    QTemporaryFile book;
    ASSERT_TRUE(book.open());
    book.write("# test book\n+4912345,Alice \"Al\" Smith\n\nbad number,x\n555, Bob, Jr.\n");
    book.close();
    o.strPhonebookFile = book.fileName();
    StartSim(o);
    ASSERT_TRUE(PowerOn());
    ASSERT_TRUE(Register());
    EXPECT_EQ(At("AT+COPS?").value(1), "+COPS: 0");
    EXPECT_EQ(At("AT+CPBS=\"SM\";+CPBF=\"\";"),
              (QList<QByteArray>{"AT+CPBS=\"SM\";+CPBF=\"\";",
                                 "+CPBF: 1,\"+4912345\",145,\"Alice Al Smith\"",
                                 "+CPBF: 2,\"555\",129,\"Bob, Jr.\"", "OK"}));
}

TEST_F(SimModuleTest, ShortMessages)
{
    CSimOptions o = FastOptions();
    StartSim(o);
    ASSERT_TRUE(PowerOn());
    ASSERT_TRUE(Register());
    auto l = At("AT+CMGS=\"12345\"");
    EXPECT_EQ(l, (QList<QByteArray>{"AT+CMGS=\"12345\""}));
    EXPECT_TRUE(data->Text().endsWith("\r\n> "));
    data->Clear();
    data->Write("Hello, world");
    data->Write("\x1A");
    ASSERT_TRUE(data->WaitFor("OK\r\n"));
    EXPECT_EQ(data->Lines(), (QList<QByteArray>{"+CMGS: 1", "OK"}));
    EXPECT_TRUE(sim->ReceivedData().contains(QStringLiteral("Hello, world\x1A")));

    // escape cancels; the module is back in command mode
    At("AT+CMGS=\"12345\"");
    data->Clear();
    data->Write("abc\x1B\r");
    data->Collect(60);
    EXPECT_TRUE(data->Lines().isEmpty());
    EXPECT_EQ(Final("AT"), "OK");
    // a text that met no prompt does not spoil the next command
    data->Write("stray text\x1A");
    EXPECT_EQ(At("AT"), (QList<QByteArray>{"AT", "OK"}));

    o.bSmsFail = true;
    StartSim(o);
    ASSERT_TRUE(PowerOn());
    ASSERT_TRUE(Register());
    At("AT+CMGS=\"12345\"");
    data->Clear();
    data->Write("x\x1A");
    ASSERT_TRUE(data->WaitFor("\r\n"));
    EXPECT_EQ(data->Lines(), (QList<QByteArray>{"+CMS ERROR: 500"}));
}

TEST_F(SimModuleTest, IncomingCalls)
{
    CSimOptions o = FastOptions();
    o.nMaxRings = 3;
    StartSim(o);
    ASSERT_TRUE(PowerOn());
    EXPECT_FALSE(sim->RingFrom("123")); // not registered yet
    ASSERT_TRUE(Register());
    data->Clear();
    ASSERT_TRUE(sim->RingFrom("+4912345"));
    ASSERT_TRUE(data->WaitFor("RING\r\n"));
    EXPECT_EQ(At("AT+CLCC").value(1), "+CLCC: 1,1,4,0,0,\"+4912345\",145");
    EXPECT_EQ(At("ATA"), (QList<QByteArray>{"ATA", "OK"}));
    EXPECT_EQ(sim->Status().nCallState, CSimCore::CALL_ACTIVE);
    EXPECT_EQ(At("AT+CLCC").value(1), "+CLCC: 1,1,0,0,0,\"+4912345\",145");
    EXPECT_EQ(Final("ATD5"), "OK"); // a key during the call
    data->Clear();
    sim->HangUp();
    ASSERT_TRUE(data->WaitFor("NO CARRIER\r\n"));

    // anonymous caller answered on the trace port
    data->Clear();
    ASSERT_TRUE(sim->RingFrom(QString()));
    ASSERT_TRUE(data->WaitFor("RING\r\n"));
    EXPECT_EQ(At("AT+CLCC").value(1), "+CLCC: 1,1,4,0,0");
    trace->Write("\\S");
    ASSERT_TRUE(sim->WaitForTraceCommand("\\S", 1000));
    EXPECT_EQ(sim->Status().nCallState, CSimCore::CALL_ACTIVE);
    EXPECT_EQ(Final("ATH"), "OK");
    EXPECT_EQ(sim->Status().nCallState, CSimCore::CALL_NONE);
    EXPECT_EQ(Final("ATA"), "NO CARRIER");

    // the caller gives up after three rings
    data->Clear();
    ASSERT_TRUE(sim->RingFrom("777"));
    ASSERT_TRUE(data->WaitFor("NO CARRIER\r\n"));
    EXPECT_EQ(data->Lines(), (QList<QByteArray>{"RING", "RING", "RING", "NO CARRIER"}));

    // a call that comes by itself some time after registration
    o.nRingAfterMs = 40;
    o.strCaller = "5550100";
    StartSim(o);
    ASSERT_TRUE(PowerOn());
    ASSERT_TRUE(Register());
    ASSERT_TRUE(data->WaitFor("RING\r\n"));
    EXPECT_EQ(At("AT+CLCC").value(1), "+CLCC: 1,1,4,0,0,\"5550100\",129");
}

TEST_F(SimModuleTest, OutgoingCalls)
{
    CSimOptions o = FastOptions();
    o.listBusyNumbers = QStringList{"555"};
    StartSim(o);
    ASSERT_TRUE(PowerOn());
    ASSERT_TRUE(Register());
    trace->Write("*W8000\r");
    EXPECT_EQ(Final("ATD12345"), "CONNECT 9600");
    data->Clear();
    sim->HangUp();
    ASSERT_TRUE(data->WaitFor("NO CARRIER\r\n"));
    EXPECT_EQ(Final("ATD555"), "BUSY");
    EXPECT_EQ(At("ATD123;").last(), "OK"); // voice call
    EXPECT_EQ(Final("ATD456"), "ERROR");   // already in a call
    EXPECT_EQ(Final("ATH"), "OK");

    // a voice call dialled on the trace port: busy, then connected with its channel report
    data->Clear();
    trace->Write("\\D555\r");
    ASSERT_TRUE(data->WaitFor("BUSY\r\n"));
    trace->Collect(30);
    trace->Clear();
    trace->Write("\\D0800123\r");
    const QByteArray chan = TraceLineStarting("Dedicated_Chan");
    ASSERT_FALSE(chan.isEmpty());
    EXPECT_EQ(SimFields(chan, "Dedicated_Chan").value(9), "Single");
    EXPECT_EQ(sim->Status().nCallState, CSimCore::CALL_ACTIVE);
    trace->Write("\\C");
    EXPECT_TRUE(sim->WaitForTraceCommand("\\C", 1000));
    EXPECT_EQ(Final("ATH"), "OK");
}

TEST_F(SimModuleTest, IdleReportsAndSystemInformation)
{
    StartSim();
    ASSERT_TRUE(PowerOn());
    trace->Clear();
    for (char c : QByteArray("*WFFFFFF\r"))
        trace->Write(QByteArray(1, c));
    EXPECT_EQ(TraceLineStarting("Set Flags? "), "Set Flags? 00FFFFFF");
    const QByteArray idle = TraceLineStarting("Idle_Mode_Rpt");
    const QByteArray cell = TraceLineStarting("Cell ID     ");
    ASSERT_FALSE(idle.isEmpty());
    ASSERT_FALSE(cell.isEmpty());
    EXPECT_EQ(SimFields(idle, "Idle_Mode_Rpt").size(), 20);
    EXPECT_FALSE(TraceLineStarting("Full Idle Report").isEmpty());
    EXPECT_FALSE(TraceLineStarting("NCell 6").isEmpty());
    EXPECT_FALSE(TraceLineStarting("CBCH Supported").isEmpty());

    // all four System Information types arrive; types 3 and 4 carry the cell's identity
    std::map<int, std::vector<int>> si;
    QElapsedTimer t;
    t.start();
    while (si.size() < 4 && t.elapsed() < 3000) {
        trace->Collect(20);
        for (const QByteArray& l : trace->Lines()) {
            const auto f = SimFields(l, "Bcch_Report");
            if (f.size() == 24)
                si[f[3].toInt(nullptr, 16)] = Octets(l);
        }
    }
    ASSERT_EQ(si.size(), 4u);
    const auto c = SimFields(cell, "Cell ID     ");
    const int ci = c[1].toInt(nullptr, 16), lac = c[3].toInt(nullptr, 16);
    const int mnc = c[5].toInt(), mcc = c[7].toInt();
    for (const auto& [type, base] : {std::pair<int, int>{0x1B, 2}, {0x1C, 0}}) {
        const std::vector<int>& o = si[type];
        ASSERT_EQ(o.size(), 20u);
        EXPECT_EQ((o[base] & 0xF) * 100 + (o[base] >> 4) * 10 + (o[base + 1] & 0xF), mcc);
        EXPECT_EQ((o[base + 2] & 0xF) * 10 + (o[base + 2] >> 4), mnc);
        EXPECT_EQ(o[base + 3] << 8 | o[base + 4], lac);
    }
    EXPECT_EQ(si[0x1B][0] << 8 | si[0x1B][1], ci);
    const int serving = SimFields(idle, "Idle_Mode_Rpt")[0].toInt();
    const std::vector<int>& si1 = si[0x19];
    EXPECT_TRUE((si1[15 - (serving - 1) / 8] >> ((serving - 1) % 8)) & 1);

    // the default set without a flag word: no full idle reports
    trace->Write("*1*2*I+J+E");
    trace->Collect(30);
    trace->Clear();
    trace->Collect(120);
    EXPECT_TRUE(trace->Text().contains("Idle_Mode_Rpt"));
    EXPECT_FALSE(trace->Text().contains("Full Idle Report"));
    EXPECT_EQ(sim->Status().nFlags, 0xC083u);

    // reset stops the reports
    trace->Write("&F");
    trace->Collect(50);
    trace->Clear();
    trace->Collect(100);
    EXPECT_TRUE(trace->Text().isEmpty());
}

TEST_F(SimModuleTest, DedicatedReportsWhileHopping)
{
    CSimOptions o = FastOptions();
    o.bHopping = true;
    StartSim(o);
    ASSERT_TRUE(PowerOn());
    ASSERT_TRUE(Register());
    trace->Write("*WFFFFFF\r");
    TraceLineStarting("Idle_Mode_Rpt");
    trace->Clear();
    trace->Write("\\D12345\r");
    const QByteArray chan = TraceLineStarting("Dedicated_Chan");
    const QByteArray count = TraceLineStarting("Chan_Count");
    const QByteArray ded = TraceLineStarting("Dedicated_Rpt");
    const QByteArray full = TraceLineStarting("Full Ded Report");
    EXPECT_EQ(SimFields(chan, "Dedicated_Chan").value(9), "Hopping");
    const auto cc = SimFields(count, "Chan_Count");
    ASSERT_FALSE(cc.isEmpty());
    EXPECT_EQ(cc[0].toInt(), cc.size() - 1);
    EXPECT_EQ(SimFields(ded, "Dedicated_Rpt").size(), 25); // with FER
    EXPECT_EQ(SimFields(full, "Full Ded Report").size(), 7);
    // no idle reports during the call
    trace->Clear();
    trace->Collect(80);
    EXPECT_FALSE(trace->Text().contains("Idle_Mode_Rpt"));
    EXPECT_TRUE(trace->Text().contains("Dedicated_Rpt"));
}

TEST_F(SimModuleTest, ChannelScanAndBsLock)
{
    StartSim();
    ASSERT_TRUE(PowerOn());
    ASSERT_TRUE(Register());
    trace->Write("*W1\r");
    const QByteArray idle = TraceLineStarting("Idle_Mode_Rpt");
    const int serving = SimFields(idle, "Idle_Mode_Rpt")[0].toInt();
    trace->Write("*6+FT+Q\\8\\66QF");
    trace->Write("*S");
    trace->Write("\r");
    trace->Write("\r");
    trace->Write("1-124,512-885\r");
    ASSERT_TRUE(sim->WaitForTraceCommand("*S\r\r1-124,512-885\r", 1000));
    trace->Clear();
    QElapsedTimer t;
    t.start();
    while (trace->Text().count("RF Scan Cycle") < 3 && t.elapsed() < 3000)
        trace->Collect(10);
    // one whole cycle, between two headers: every channel of the list once
    QList<QByteArray> lines = trace->Lines();
    while (!lines.isEmpty() && !lines.first().startsWith("RF Scan"))
        lines.removeFirst();
    ASSERT_FALSE(lines.isEmpty());
    lines.removeFirst();
    std::map<int, int> levels;
    for (const QByteArray& l : lines) {
        if (l.startsWith("RF Scan"))
            break;
        const QList<QByteArray> f = l.split(' ');
        EXPECT_LE(f.size(), 20);
        for (int i = 0; i + 1 < f.size(); i += 2)
            levels[f[i].toInt()] = f[i + 1].toInt();
    }
    EXPECT_EQ(levels.size(), 498u);
    EXPECT_EQ(levels.begin()->first, 1);
    EXPECT_EQ(levels.rbegin()->first, 885);
    EXPECT_GT(levels[serving], 20);
    int nQuiet = 0;
    for (const auto& [ch, lev] : levels)
        nQuiet += lev <= 6;
    EXPECT_GE(nQuiet, 498 - 11);
    EXPECT_FALSE(trace->Text().contains("Idle_Mode_Rpt"));

    trace->Write("*S1\r\r1\r");
    ASSERT_TRUE(sim->WaitForTraceCommand("*S1\r\r1\r", 1000));
    EXPECT_FALSE(sim->Status().bScanning);
    trace->Clear();
    EXPECT_FALSE(TraceLineStarting("Idle_Mode_Rpt").isEmpty()); // reports resume

    // BS lock moves the serving cell; "0" releases
    trace->Write("5");
    trace->Write("62\r");
    trace->Write("\\F");
    trace->Write("62\r");
    ASSERT_TRUE(sim->WaitForTraceCommand("\\F62\r", 1000));
    EXPECT_EQ(sim->Status().nServingArfcn, 62);
    EXPECT_TRUE(sim->Status().bLocked);
    trace->Clear();
    trace->Collect(60);
    EXPECT_TRUE(trace->Text().contains("Idle_Mode_Rpt 62 "));
    trace->Write("50\r\\F0\r");
    ASSERT_TRUE(sim->WaitForTraceCommand("\\F0\r", 1000));
    EXPECT_FALSE(sim->Status().bLocked);
    trace->Write("51000\r\\F1000\r"); // no such channel: ignored
    ASSERT_TRUE(sim->WaitForTraceCommand("\\F1000\r", 1000));
    EXPECT_EQ(sim->Status().nServingArfcn, 62);
}

TEST_F(SimModuleTest, ThePanelClosesAndReopensItsPorts)
{
    StartSim();
    ASSERT_TRUE(PowerOn());
    trace->Write("*WFFFFFF\r");
    ASSERT_FALSE(TraceLineStarting("Idle_Mode_Rpt").isEmpty());
    data->Close();
    trace->Close();
    // nobody listens for a while: reports go on and are lost, nothing piles up
    QThread::msleep(400); // some twenty report cycles go unread
    EXPECT_TRUE(sim->Status().bPoweredOn);
    data = std::make_unique<SimTestPort>(sim->DataPath());
    trace = std::make_unique<SimTestPort>(sim->TracePath());
    ASSERT_TRUE(data->IsOpen());
    trace->Collect(30);
    EXPECT_LT(trace->Text().size(), 80 * 1024);
    EXPECT_EQ(At("AT"), (QList<QByteArray>{"AT", "OK"}));
    trace->Clear();
    EXPECT_FALSE(TraceLineStarting("Idle_Mode_Rpt").isEmpty());
    EXPECT_LE(sim->ReceivedData().size(), CSimModule::MAX_RECORDED_LINES);
    sim->ClearReceived();
    EXPECT_TRUE(sim->ReceivedData().isEmpty());
    EXPECT_TRUE(sim->ReceivedTrace().isEmpty());
}
