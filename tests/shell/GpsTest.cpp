// SPDX-License-Identifier: GPL-3.0-or-later
// Positions from a real gpsd on loopback, fed NMEA over UDP by the test.
#include <QElapsedTimer>
#include <QLabel>
#include <QMenu>
#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "Gpsd.h"
#include "ModalAnswerer.h"
#include "ShellFixture.h"
#include "control/TessolyDlg.h"
#include "gps/GpsClient.h"
#include "measure/Measurer.h"
#include "platform/ProfileFile.h"
#include "session/SessionLog.h"
#include "session/SessionRecorder.h"

namespace {
// Feeds a fix each 200 ms (the receiver's seconds counting on from *pSecond)
// until the pane shows one.
bool FeedUntilFix(Gpsd& gpsd, QLabel* pane, int* pSecond)
{
    for (int i = 0; i < 25; ++i) {
        gpsd.SendFix((*pSecond)++);
        QTest::qWait(200);
        if (pane->text().startsWith(QStringLiteral("GPS 3D")))
            return true;
    }
    return false;
}
} // namespace

TEST(Gps, FixesFromGpsdShownRecordedAndFollowedThroughARestartOfGpsd)
{
    if (QStandardPaths::findExecutable(QStringLiteral("gpsd")).isEmpty())
        GTEST_SKIP() << "gpsd is not installed";
    Gpsd gpsd;
    ASSERT_TRUE(gpsd.Start());
    ShellFixture fx("[MISC]\r\nOptions=11\r\n[RECORDING]\r\nEnabled=1\r\n[GPS]\r\nEnabled=1\r\n"
                    "Port=" +
                    QByteArray::number(gpsd.Port()) + "\r\n");
    ModalAnswerer answer;
    CMainFrame& f = *fx.frame;
    f.m_pGps->m_nRetryFirstMs = 100;
    f.m_pGps->m_nRetryMaxMs = 400;
    QList<SGpsFix> fixes;
    QObject::connect(f.m_pGps.get(), &CGpsClient::FixReceived,
                     [&](const SGpsFix& fix) { fixes << fix; });
    QStringList events;
    QObject::connect(&f.m_pController->Measurer(), &CMeasurer::EventReady,
                     [&](const SMeasureEvent& e) {
                         if (e.nEvent == EVENT_GPS_FIX || e.nEvent == EVENT_GPS_LOST)
                             events << QString::fromLatin1(EventName(e.nEvent)) + ' ' + e.strText;
                     });
    ASSERT_TRUE(fx.Create());
    f.show();
    QLabel* pane = f.GpsLabel();

    // The last item of the Options menu, checked; gpsd without a fix.
    QAction* item = f.Action(ID_OPTIONS_GPS);
    ASSERT_NE(item, nullptr);
    EXPECT_EQ(item->text(), QStringLiteral("Use GPS (gpsd)"));
    EXPECT_TRUE(item->isChecked());
    QMenu* menu = nullptr;
    for (QObject* o : item->associatedObjects())
        if (auto* m = qobject_cast<QMenu*>(o))
            menu = m;
    ASSERT_NE(menu, nullptr);
    EXPECT_EQ(menu->title(), QStringLiteral("&Options"));
    EXPECT_EQ(menu->actions().last(), item);
    QTRY_COMPARE_WITH_TIMEOUT(pane->text(), QStringLiteral("GPS no fix"), 3000);
    EXPECT_TRUE(pane->isVisible());

    int second = 0;
    ASSERT_TRUE(FeedUntilFix(gpsd, pane, &second)) << pane->text().toStdString();
    EXPECT_EQ(pane->text(), QStringLiteral("GPS 3D 52.52012 13.40500"));
    const SGpsFix last = f.m_pGps->LastFix();
    EXPECT_EQ(last.nMode, SGpsFix::FIX_3D);
    EXPECT_NEAR(last.dLat, 52.52012, 1e-9);
    EXPECT_NEAR(last.dLon, 13.405, 1e-9);
    EXPECT_NEAR(last.dAltM, 34.5 + 39.8, 1e-6); // above the ellipsoid
    EXPECT_NEAR(last.dSpeedKmh, 36.0, 0.01);    // 19.438 knots
    EXPECT_GT(last.dErrM, 0);
    EXPECT_EQ(last.time.offsetFromUtc(), 0);
    EXPECT_EQ(last.time.date(), QDate(2026, 12, 9));
    EXPECT_EQ(last.time.time().hour(), 9);
    EXPECT_EQ(last.time.time().minute(), 15);
    // A report now gives a sample at that position.
    QList<SSample> samples;
    const auto sampled = QObject::connect(&f.m_pController->Measurer(), &CMeasurer::SampleReady,
                                          [&](const SSample& s) { samples << s; });
    f.m_pController->HandleTraceLine(QStringLiteral("Idle_Mode_Rpt 62 45"));
    QObject::disconnect(sampled);
    ASSERT_EQ(samples.size(), 1);
    EXPECT_EQ(samples[0].fix.nMode, SGpsFix::FIX_3D);
    EXPECT_NEAR(samples[0].fix.dLat, 52.52012, 1e-9);
    EXPECT_NEAR(samples[0].fix.dLon, 13.405, 1e-9);

    // gpsd goes away and comes back: no box, no user action.
    gpsd.Stop();
    QTRY_COMPARE_WITH_TIMEOUT(pane->text(), QStringLiteral("GPS not reachable"), 3000);
    ASSERT_TRUE(gpsd.Start());
    QTRY_COMPARE_WITH_TIMEOUT(pane->text(), QStringLiteral("GPS no fix"), 3000);
    ASSERT_TRUE(FeedUntilFix(gpsd, pane, &second));
    // The first report may be 2D: RMC comes before GGA.
    ASSERT_EQ(events.size(), 3) << events.join('|').toStdString();
    EXPECT_TRUE(events[0].startsWith(QStringLiteral("gps_fix ")));
    EXPECT_TRUE(events[0].endsWith(QStringLiteral("D 52.52012 13.40500")));
    EXPECT_EQ(events[1], QStringLiteral("gps_lost GPS not reachable"));
    EXPECT_TRUE(events[2].startsWith(QStringLiteral("gps_fix ")));

    // Off from the menu: no pane; kept at a confirmed exit.
    f.OnCommand(ID_OPTIONS_GPS);
    EXPECT_FALSE(item->isChecked());
    EXPECT_FALSE(pane->isVisible());
    EXPECT_EQ(events.last(), QStringLiteral("gps_lost GPS switched off"));
    const int nFixes = fixes.size();
    const QString session = f.m_pRecorder->FilePath();
    EXPECT_TRUE(f.close());
    const CProfileFile ini(fx.IniPath());
    EXPECT_EQ(ini.GetInt(QStringLiteral("GPS"), QStringLiteral("Enabled"), -1), 0);
    EXPECT_EQ(ini.GetString(QStringLiteral("GPS"), QStringLiteral("Host"), QString()),
              QStringLiteral("127.0.0.1"));
    EXPECT_EQ(ini.GetInt(QStringLiteral("GPS"), QStringLiteral("Port"), -1), gpsd.Port());
    EXPECT_TRUE(answer.messages.size() <= 1) << answer.messages.join('|').toStdString();

    // Every fix in the recording, in order, with its time; read back whole.
    CSessionLog log;
    ASSERT_EQ(log.Open(session), CSessionLog::SL_OK);
    log.ReadFixes(true);
    SLogEntry e;
    int n = 0;
    qint64 nLastTime = 0;
    while (log.Next(&e)) {
        if (e.nChannel != LOG_GPS)
            continue;
        SGpsFix fix;
        ASSERT_TRUE(CSessionLog::ParseFix(e.text, &fix)) << e.text.constData();
        ASSERT_LT(n, nFixes);
        EXPECT_EQ(fix.time, fixes[n].time);
        EXPECT_EQ(fix.nMode, fixes[n].nMode);
        EXPECT_NEAR(fix.dLat, fixes[n].dLat, 1e-7);
        EXPECT_NEAR(fix.dLon, fixes[n].dLon, 1e-7);
        EXPECT_GE(e.nTime, nLastTime);
        nLastTime = e.nTime;
        ++n;
    }
    EXPECT_EQ(n, nFixes);
    EXPECT_GE(n, 2);
    // A reader that does not ask for them never sees them, and they are no bad lines.
    log.ReadFixes(false);
    log.Rewind();
    while (log.Next(&e))
        EXPECT_NE(e.nChannel, LOG_GPS);
    EXPECT_EQ(log.Skipped(), 0);
}
