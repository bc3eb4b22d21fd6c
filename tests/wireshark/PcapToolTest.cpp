// SPDX-License-Identifier: GPL-3.0-or-later
// tessoly-pcap: a session recording or a saved log to a capture file.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <QTimeZone>
#include <gtest/gtest.h>

#include "Tshark.h"
#include "sim/SimRadio.h"
#include "sim/SimReports.h"

namespace {
struct ToolRun
{
    int nExit = -1;
    QString strOut;
    QString strErr;
};

ToolRun RunTool(const QStringList& args, const char* pszTimeZone = nullptr)
{
    QProcess p;
    if (pszTimeZone) {
        QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
        env.insert(QStringLiteral("TZ"), QLatin1String(pszTimeZone));
        p.setProcessEnvironment(env);
    }
    p.start(QStringLiteral(TESSOLY_PCAP), args);
    p.waitForFinished(30000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromLocal8Bit(p.readAllStandardOutput()),
            QString::fromLocal8Bit(p.readAllStandardError())};
}

void WriteFile(const QString& strPath, const QByteArray& data)
{
    QFile f(strPath);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(data);
}

// A session as the panel records it: the trace lines of an idle cycle with
// all four System Information types, a Bcch_Report of another type, a
// position from gpsd, a command, a data-port line and a line that is no entry.
QList<QByteArray> SessionLines(const CSimRadio& r)
{
    QList<QByteArray> lines;
    lines << "t>, *W878000"
          << "t<, " + SimReports::IdleModeRpt(r);
    for (int t = 1; t <= 4; ++t)
        lines << "t<, " + SimReports::BcchReport(r, t, t);
    lines << "t<, Bcch_Report 21 45 0 1D 00 11"
          << "G<, 2026-12-09T09:15:01.000Z 3D 52.5201200 13.4050000 74.30 36.0 17.1"
          << "D<, OK"
          << "-- garbage --";
    return lines;
}
} // namespace

TEST(PcapTool, SessionGivesOnePacketPerSystemInformationLineAtItsTime)
{
    SKIP_WITHOUT_TSHARK();
    QTemporaryDir dir;
    const CSimRadio r(2);
    const QDateTime t0(QDate(2026, 12, 9), QTime(10, 15, 2, 123));
    QByteArray session;
    QList<qint64> times;
    const QList<QByteArray> lines = SessionLines(r);
    for (int i = 0; i < lines.size(); ++i) {
        const QDateTime t = t0.addMSecs(i * 250);
        const bool bEntry = !lines[i].startsWith("--");
        session += (bEntry ? t.toString(QStringLiteral("yyyy-MM-ddTHH:mm:ss.zzz ")).toLatin1()
                           : QByteArray()) +
                   lines[i] + "\r\n";
        if (lines[i].contains("Bcch_Report") && !lines[i].contains(" 1D "))
            times << t.toMSecsSinceEpoch();
    }
    const QString in = dir.filePath(QStringLiteral("session.log"));
    const QString out = dir.filePath(QStringLiteral("session.pcap"));
    WriteFile(in, session);
    const ToolRun run = RunTool({in, out});
    ASSERT_EQ(run.nExit, 0) << run.strErr.toStdString();
    EXPECT_EQ(run.strOut, QStringLiteral("10 lines read, 4 messages written, 1 lines skipped\n"));
    const QStringList rows =
        Tshark::Fields(out, {"frame.time_epoch", "gsm_a.dtap.msg_rr_type", "gsmtap.arfcn"});
    ASSERT_EQ(rows.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const QStringList f = rows[i].split(QLatin1Char('|'));
        EXPECT_EQ(qRound64(f[0].toDouble() * 1000), times[i]) << rows[i].toStdString();
        EXPECT_EQ(f[1].toInt(nullptr, 16), 0x19 + i);
        EXPECT_EQ(f[2].toInt(), r.Serving().nArfcn);
    }
}

// A recording stamped with its UTC offset means the same instant wherever
// it is converted.
TEST(PcapTool, StampsWithTheirOffsetGiveTheSameInstantUnderAnotherTimeZone)
{
    SKIP_WITHOUT_TSHARK();
    QTemporaryDir dir;
    const CSimRadio r(2);
    const QString in = dir.filePath(QStringLiteral("offset.session"));
    const QString out = dir.filePath(QStringLiteral("offset.pcap"));
    WriteFile(in, "2026-12-10T03:09:14.064+01:00 t<, " + SimReports::IdleModeRpt(r) +
                      "\r\n2026-12-10T03:09:14.064+01:00 t<, " + SimReports::BcchReport(r, 1, 1) +
                      "\r\n");
    for (const char* zone : {"America/New_York", "Asia/Kolkata"}) {
        ASSERT_EQ(RunTool({in, out}, zone).nExit, 0) << zone;
        const QDateTime utc(QDate(2026, 12, 10), QTime(2, 9, 14, 64), QTimeZone::utc());
        const QStringList rows = Tshark::Fields(out, {"frame.time_epoch"});
        ASSERT_EQ(rows.size(), 1) << zone;
        EXPECT_EQ(qRound64(rows[0].toDouble() * 1000), utc.toMSecsSinceEpoch()) << zone;
    }
}

TEST(PcapTool, SavedLogLinesAreOneSecondApart)
{
    SKIP_WITHOUT_TSHARK();
    QTemporaryDir dir;
    QByteArray log;
    for (const QByteArray& l : SessionLines(CSimRadio(3)))
        log += l + "\r\n";
    const QString in = dir.filePath(QStringLiteral("saved.log"));
    const QString out = dir.filePath(QStringLiteral("saved.pcap"));
    WriteFile(in, log);
    ASSERT_EQ(RunTool({in, out}).nExit, 0);
    // The four messages stand on lines 3 to 6.
    EXPECT_EQ(Tshark::Fields(out, {"frame.time_delta"}),
              QStringList({"0.000000000", "1.000000000", "1.000000000", "1.000000000"}));
}

TEST(PcapTool, BadInputOrOutputFailsClearlyAndLeavesNoFile)
{
    QTemporaryDir dir;
    const QString out = dir.filePath(QStringLiteral("out.pcap"));
    const QString notLog = dir.filePath(QStringLiteral("notes.txt"));
    WriteFile(notLog, "shopping list\nmilk\n");
    struct Case
    {
        QStringList args;
        const char* why;
    } cases[] = {
        {{dir.filePath(QStringLiteral("missing.log")), out}, "cannot read"},
        {{notLog, out}, "not a traffic log"},
        {{notLog, dir.filePath(QStringLiteral("no/such/folder/out.pcap"))}, "cannot write"},
        {{notLog}, "usage"},
    };
    for (const Case& c : cases) {
        const ToolRun run = RunTool(c.args);
        EXPECT_NE(run.nExit, 0) << c.why;
        EXPECT_TRUE(run.strErr.contains(QLatin1String(c.why))) << run.strErr.toStdString();
        EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files), QStringList{"notes.txt"}) << c.why;
    }
    // An older capture stays as it was when the conversion fails.
    WriteFile(out, "older capture");
    EXPECT_NE(RunTool({notLog, out}).nExit, 0);
    QFile f(out);
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), QByteArray("older capture"));
}

// Messages before any serving-cell report carry the carrier their line
// names; a line with the message type alone gives no packet.
TEST(PcapTool, CarrierComesFromTheLineAndLinesWithoutOctetsGiveNoPacket)
{
    SKIP_WITHOUT_TSHARK();
    QTemporaryDir dir;
    const CSimRadio r(4);
    const QByteArray arfcn = QByteArray::number(r.Serving().nArfcn);
    QByteArray log;
    for (const QByteArray& l :
         {SimReports::BcchReport(r, 3, 3), "Bcch_Report 21 " + arfcn + " 4 1B",
          "Bcch_Report 1 " + arfcn + " 5 1A", SimReports::IdleModeRpt(r),
          SimReports::BcchReport(r, 1, 6)})
        log += "t<, " + l + "\r\n";
    const QString in = dir.filePath(QStringLiteral("early.log"));
    const QString out = dir.filePath(QStringLiteral("early.pcap"));
    WriteFile(in, log);
    const ToolRun run = RunTool({in, out});
    ASSERT_EQ(run.nExit, 0) << run.strErr.toStdString();
    EXPECT_EQ(run.strOut.toStdString(), "5 lines read, 2 messages written, 0 lines skipped\n");
    const QString level = QString::number(r.Serving().nLevel - 110);
    EXPECT_EQ(Tshark::Fields(out, {"gsmtap.arfcn", "gsmtap.signal_dbm", "gsm_a.dtap.msg_rr_type"})
                  .join(QLatin1Char(' '))
                  .toStdString(),
              (arfcn + "|0|0x1b " + arfcn + "|" + level.toLatin1() + "|0x19").toStdString());
}
