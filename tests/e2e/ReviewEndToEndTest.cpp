// SPDX-License-Identifier: GPL-3.0-or-later
// A drive recorded against the simulated test mobile and a gpsd, then reviewed on a
// panel of its own: at the end it reads as the live panel did, and no port
// is opened; --at places it at a clock time; a file with nothing to review
// says so.
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <algorithm>
#include <qcustomplot.h>

#include "E2EFixture.h"
#include "Gpsd.h"
#include "TestAccess.h"
#include "chart/LevelChart.h"
#include "control/SessionReview.h"
#include "serial/SerialPort.h"
#include "session/SessionRecorder.h"
#include "shell/ReviewBar.h"

namespace {
// The texts the review must reproduce: serving cell, levels, neighbours, identities.
QStringList PanelTexts(const CTessolyDlg& c)
{
    QStringList texts;
    for (int id : {IDC_RXLEV, IDC_BCCH, IDC_BSIC, IDC_CI, IDC_LAC, IDC_MNC, IDC_MCC, IDC_MINRX,
                   IDC_DIFFRX, IDC_RXQUAL, IDC_IMEI, IDC_IMSI, IDC_STATUS})
        texts << c.GetDlgItemText(id);
    for (const auto& row : g_anNeighbourIds)
        for (int i = 0; i < 3; ++i)
            texts << c.GetDlgItemText(row[i]);
    texts << QString::number(c.BarPos(IDC_RXLEV_BAR));
    return texts;
}
} // namespace

TEST_F(E2E, ReviewReadsAsTheLivePanelDidAndOpensNoPort)
{
    const QString folder = dir.filePath(QStringLiteral("sessions"));
    // A drive with positions: the simulator sends them to a gpsd of the test's own.
    Gpsd gpsd;
    ASSERT_TRUE(gpsd.Start()) << "gpsd (scripts/deps.sh installs it)";
    extraIni =
        "[RECORDING]\r\nEnabled=1\r\nFolder=" + folder.toUtf8() +
        "\r\n[GPS]\r\nEnabled=1\r\nHost=127.0.0.1\r\nPort=" + QByteArray::number(gpsd.Port()) +
        "\r\n";
    CSimOptions o = FastSim();
    o.nReportIntervalMs = 20;
    o.drive.bOn = true;
    o.drive.nNmeaPort = gpsd.UdpPort();
    o.drive.nStepMs = 200;
    Start(o);
    ToIdle();
    int nLines = 0;
    QObject::connect(c, &CTessolyDlg::TraceLineHandled, [&] { ++nLines; });
    ASSERT_TRUE(WaitFor([&] {
        return nLines > 300 && !Text(IDC_CI).isEmpty() &&
               frame->GpsLabel()->text().startsWith(QStringLiteral("GPS 3D"));
    }));
    // Recording stops first: every line the texts show is in the file.
    frame->m_pRecorder->Stop();
    const QStringList live = PanelTexts(*c);
    const QStringList files = QDir(folder).entryList({QStringLiteral("*.session")}, QDir::Files);
    ASSERT_EQ(files.size(), 1);
    const QString session = QDir(folder).filePath(files[0]);
    QFile recorded(session);
    ASSERT_TRUE(recorded.open(QIODevice::ReadOnly));
    EXPECT_TRUE(recorded.readAll().contains(" G<, ")) << "no position recorded";
    frame.reset();
    sim->Stop();

    // The same settings file, whose ports are the simulator's (now gone).
    frame = std::make_unique<CMainFrame>(QStringList{QStringLiteral("/opt/tessoly/tessoly"),
                                                     QStringLiteral("--review"), session,
                                                     QStringLiteral("--end")});
    frame->SetProgramDir(dir.path());
    c = frame->m_pController.get();
    ASSERT_TRUE(frame->Create());
    EXPECT_FALSE(c->DataPort()->IsOpen());
    EXPECT_FALSE(c->TracePort()->IsOpen());
    EXPECT_FALSE(frame->m_pRecorder->IsRecording());
    EXPECT_TRUE(frame->IsReviewing());
    EXPECT_FALSE(frame->ReviewLabel()->isHidden());
    EXPECT_EQ(frame->Review()->Position(), frame->Review()->End());
    EXPECT_EQ(PanelTexts(*c), live);
    EXPECT_GT(frame->LevelChart()->PointsHeld(), 0);
    // The short session whole in the chart, the cursor at its end.
    const QCPRange range = frame->LevelChart()->Plot()->xAxis->range();
    const double nEndKey =
        CLevelChart::KeyOf(QDateTime::fromMSecsSinceEpoch(frame->Review()->End()));
    EXPECT_LE(range.lower,
              CLevelChart::KeyOf(QDateTime::fromMSecsSinceEpoch(frame->Review()->Begin())));
    EXPECT_GE(range.upper, nEndKey);
    EXPECT_LT(range.size(), double(CLevelChart::CHART_SPAN_SECONDS) / 2);
    EXPECT_DOUBLE_EQ(frame->LevelChart()->TimeCursorKey(), nEndKey);
    EXPECT_TRUE(answer.messages.isEmpty()) << answer.messages.join(u'|').toStdString();

    // Back to the start and forward again: the same panel.
    frame->Review()->Seek(frame->Review()->Begin());
    EXPECT_TRUE(c->GetDlgItemText(IDC_CI).isEmpty());
    frame->Review()->Seek(frame->Review()->End());
    EXPECT_EQ(PanelTexts(*c), live);

    // --at: the clock time of the first second after the start.
    const qint64 nBegin = frame->Review()->Begin();
    const QTime at = QDateTime::fromMSecsSinceEpoch(nBegin + 1000).time();
    const QString atText = at.toString(QStringLiteral("HH:mm:ss"));
    frame = std::make_unique<CMainFrame>(QStringList{QStringLiteral("/opt/tessoly/tessoly"),
                                                     QStringLiteral("--review"), session,
                                                     QStringLiteral("--at"), atText});
    frame->SetProgramDir(dir.path());
    ASSERT_TRUE(frame->Create());
    const qint64 nAt = QDateTime(QDateTime::fromMSecsSinceEpoch(nBegin).date(),
                                 QTime(at.hour(), at.minute(), at.second()))
                           .toMSecsSinceEpoch();
    EXPECT_EQ(frame->Review()->Position(), std::clamp(nAt, nBegin, frame->Review()->End()));
}

TEST_F(E2E, ReviewOfAFileWithNothingToReviewSaysSo)
{
    const QString path = dir.filePath(QStringLiteral("empty.session"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("not a session\n");
    f.close();
    frame = std::make_unique<CMainFrame>(
        QStringList{QStringLiteral("/opt/tessoly/tessoly"), QStringLiteral("--review"), path});
    frame->SetProgramDir(dir.path());
    EXPECT_FALSE(frame->Create());
    ASSERT_EQ(answer.messages.size(), 1);
    EXPECT_TRUE(answer.messages[0].contains(QStringLiteral("no recorded line")))
        << answer.messages[0].toStdString();
    EXPECT_FALSE(frame->m_pController->TracePort()->IsOpen());
}
