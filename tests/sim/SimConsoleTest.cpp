// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include "SimTestPort.h"
#include "sim/SimConsole.h"
#include "sim/SimModule.h"

TEST(SimCommandLine, OptionsAndErrors)
{
    CSimCommandLine cl;
    ASSERT_TRUE(ParseSimCommandLine({"tarnsim",
                                     "--pin",
                                     "1234",
                                     "--roaming",
                                     "--busy",
                                     "555",
                                     "--busy",
                                     "666",
                                     "--ring-after",
                                     "3",
                                     "--caller",
                                     "anonymous",
                                     "--imsi-form",
                                     "plain",
                                     "--seed",
                                     "9",
                                     "--report-interval",
                                     "200",
                                     "--boot-ms",
                                     "100",
                                     "--link",
                                     "/tmp/x",
                                     "--hopping",
                                     "--sms-fail"},
                                    &cl))
        << qPrintable(cl.strError);
    EXPECT_EQ(cl.opt.strPin, "1234");
    EXPECT_TRUE(cl.opt.bRoaming);
    EXPECT_EQ(cl.opt.listBusyNumbers, (QStringList{"555", "666"}));
    EXPECT_EQ(cl.opt.nRingAfterMs, 3000);
    EXPECT_TRUE(cl.opt.strCaller.isEmpty());
    EXPECT_TRUE(cl.opt.bImsiPlain);
    EXPECT_EQ(cl.opt.nSeed, 9u);
    EXPECT_EQ(cl.opt.nReportIntervalMs, 200);
    EXPECT_EQ(cl.opt.nBootMs, 100);
    EXPECT_EQ(cl.strLinkDir, "/tmp/x");
    EXPECT_TRUE(cl.opt.bHopping && cl.opt.bSmsFail);
    EXPECT_FALSE(cl.opt.bNoSim || cl.opt.bPukRequired || cl.opt.bNoCoverage);

    for (const QStringList& bad :
         {QStringList{"tarnsim", "--seed", "x"}, QStringList{"tarnsim", "--imsi-form", "odd"},
          QStringList{"tarnsim", "--report-interval", "0"}, QStringList{"tarnsim", "--bogus"},
          QStringList{"tarnsim", "stray"}, QStringList{"tarnsim", "--route", "r.gpx"},
          QStringList{"tarnsim", "--drive", "--replay", "a.session"},
          QStringList{"tarnsim", "--drive", "--nmea-udp", "localhost"},
          QStringList{"tarnsim", "--drive", "--nmea-udp", "localhost:70000"},
          QStringList{"tarnsim", "--drive", "--drive-speed", "0"}}) {
        CSimCommandLine r;
        EXPECT_FALSE(ParseSimCommandLine(bad, &r)) << qPrintable(bad.join(' '));
        EXPECT_FALSE(r.strError.isEmpty());
    }
    CSimCommandLine d;
    ASSERT_TRUE(ParseSimCommandLine(
        {"tarnsim", "--drive", "--route", "r.gpx", "--drive-speed", "80", "--nmea-udp", "::1:4000"},
        &d))
        << qPrintable(d.strError);
    EXPECT_TRUE(d.opt.drive.bOn);
    EXPECT_EQ(d.opt.drive.strRouteFile, "r.gpx");
    EXPECT_EQ(d.opt.drive.dSpeedKmh, 80);
    EXPECT_EQ(d.opt.drive.strNmeaHost, "::1");
    EXPECT_EQ(d.opt.drive.nNmeaPort, 4000);
    CSimCommandLine h;
    ASSERT_TRUE(ParseSimCommandLine({"tarnsim", "--help"}, &h));
    EXPECT_TRUE(h.bHelp);
    for (const char* opt :
         {"--pin",         "--puk",       "--no-sim",   "--no-coverage",     "--roaming",
          "--no-operator", "--busy",      "--sms-fail", "--ring-after",      "--caller",
          "--phonebook",   "--imsi-form", "--seed",     "--report-interval", "--boot-ms",
          "--link",        "--drive",     "--route",    "--drive-speed",     "--nmea-udp"})
        EXPECT_TRUE(h.strHelp.contains(QLatin1String(opt))) << opt;
}

TEST(SimConsole, LiveEvents)
{
    CSimOptions o;
    o.nBootMs = 20;
    o.nRegPolls = 0;
    o.nRingIntervalMs = 5000;
    CSimModule sim(o);
    ASSERT_TRUE(sim.Start());
    SimTestPort data(sim.DataPath()), trace(sim.TracePath());
    CSimConsole console(&sim);
    bool bQuit = false;
    EXPECT_TRUE(console.Execute("ring 123", &bQuit).startsWith("cannot ring"));
    trace.Write("**O");
    ASSERT_TRUE(sim.WaitForTraceCommand("**O", 1000));
    for (int i = 0; i < 50 && !data.Text().contains("+CREG: 0,1"); ++i) {
        data.Write("AT+CREG?\r");
        data.WaitFor("+CREG: 0,1", 40);
    }
    ASSERT_TRUE(sim.Status().bRegistered);
    data.Clear();
    EXPECT_EQ(console.Execute("  ring   +4912 ", &bQuit), "ringing from +4912");
    EXPECT_TRUE(data.WaitFor("RING\r\n"));
    EXPECT_EQ(console.Execute("ring 1", &bQuit).left(6), "cannot"); // already ringing
    EXPECT_EQ(console.Execute("hangup", &bQuit), "hung up");
    EXPECT_TRUE(data.WaitFor("NO CARRIER\r\n"));
    EXPECT_EQ(console.Execute("ring abc", &bQuit), "not a number: abc");
    EXPECT_EQ(console.Execute("move 62", &bQuit), "serving cell on 62");
    EXPECT_EQ(sim.Status().nServingArfcn, 62);
    EXPECT_TRUE(console.Execute("move 300", &bQuit).startsWith("move:"));
    EXPECT_TRUE(console.Execute("level 64", &bQuit).startsWith("level:"));
    EXPECT_EQ(console.Execute("level 17", &bQuit), "serving level 17");
    EXPECT_EQ(sim.Status().nServingLevel, 17);
    EXPECT_TRUE(console.Execute("status", &bQuit).contains("serving 62 level 17"));
    EXPECT_TRUE(console.Execute("help", &bQuit).contains("ring [number]"));
    EXPECT_TRUE(console.Execute("jump", &bQuit).startsWith("unknown command"));
    EXPECT_TRUE(console.Execute("", &bQuit).isEmpty());
    EXPECT_FALSE(bQuit);
    console.Execute("quit", &bQuit);
    EXPECT_TRUE(bQuit);
}

TEST(SimProgram, HelpRunsAndLinksAreMade)
{
    const QString exe = QCoreApplication::applicationDirPath() + "/../tarnsim";
    if (!QFileInfo::exists(exe))
        GTEST_SKIP() << "tarnsim not built";
    QProcess p;
    p.start(exe, {"--help"});
    ASSERT_TRUE(p.waitForFinished(5000));
    EXPECT_EQ(p.exitCode(), 0);
    const QString out = QString::fromLocal8Bit(p.readAllStandardOutput());
    EXPECT_TRUE(out.contains("--ring-after"));
    EXPECT_TRUE(out.contains("hangup"));

    QTemporaryDir dir;
    QProcess run;
    run.start(exe, {"--link", dir.path(), "--boot-ms", "10"});
    ASSERT_TRUE(run.waitForStarted(5000));
    ASSERT_TRUE(run.waitForReadyRead(5000));
    run.waitForReadyRead(200);
    const QString started = QString::fromLocal8Bit(run.readAllStandardOutput());
    EXPECT_TRUE(started.startsWith("data: /dev/pts/")) << qPrintable(started);
    EXPECT_TRUE(QFileInfo(dir.filePath("data")).isSymLink());
    {
        SimTestPort trace(dir.filePath("trace")), data(dir.filePath("data"));
        trace.Write("**O");
        bool bOk = false;
        for (int i = 0; i < 50 && !bOk; ++i) {
            data.Write("AT\r");
            bOk = data.WaitFor("OK\r\n", 40);
        }
        EXPECT_TRUE(bOk);
    }
    run.write("status\nquit\n");
    ASSERT_TRUE(run.waitForFinished(5000));
    EXPECT_EQ(run.exitCode(), 0);
    EXPECT_TRUE(QString::fromLocal8Bit(run.readAllStandardOutput()).contains("power on"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("data"))); // links removed at the end

    // a route that cannot be driven ends the program before a port opens
    QFile gpx(dir.filePath("bad.gpx"));
    ASSERT_TRUE(gpx.open(QIODevice::WriteOnly));
    gpx.write("<gpx><trk><trkseg><trkpt lat=\"52\" lon=\"13\"/>");
    gpx.close();
    QProcess bad;
    bad.start(exe, {"--link", dir.path(), "--drive", "--route", gpx.fileName()});
    ASSERT_TRUE(bad.waitForFinished(5000));
    EXPECT_EQ(bad.exitCode(), 2);
    EXPECT_TRUE(QString::fromLocal8Bit(bad.readAllStandardError())
                    .startsWith("tarnsim: --route " + gpx.fileName() + ": line 1:"));
    EXPECT_FALSE(QFileInfo::exists(dir.filePath("data")));
}
