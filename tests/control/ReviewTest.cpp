// SPDX-License-Identifier: GPL-3.0-or-later
// A session recorded from the panel, then reviewed on it: around a call the
// user dialled and hung up and a call that rang out, the status and the
// number read as they did live; the pad does nothing in review.
#include <QAbstractButton>
#include <QCoreApplication>
#include <QFile>
#include <QRegularExpression>
#include <QTest>
#include <gtest/gtest.h>
#include <memory>

#include "TestAccess.h"
#include "common/PanelHarness.h"
#include "common/ScriptedLines.h"
#include "control/SessionReview.h"
#include "platform/Messages.h"
#include "serial/LogObserver.h"
#include "session/SessionLog.h"

namespace {
// Records the panel's traffic as a session file would, on a clock the test sets.
class ClockedRecorder : public CLogObserver
{
public:
    void Record(const char* pszPrefix, const QString& strText) override
    {
        for (const QString& line :
             strText.split(QRegularExpression(QStringLiteral("[\r\n]")), Qt::SkipEmptyParts))
            text += CSessionLog::FormatStamp(now, 3600) + pszPrefix + line.toLatin1() + "\r\n";
    }
    qint64 now = 1796868550000; // 2026-12-10T03:09:10+01:00
    QByteArray text;
};

class Review : public ::testing::Test, public PanelHarness
{
protected:
    void SetUp() override
    {
        frame.recorder = &recorder;
        ASSERT_TRUE(OpenPanel());
        data = std::make_unique<ScriptedLines>(dlg.get(), WM_DATA_LINE);
        trace = std::make_unique<ScriptedLines>(dlg.get(), WM_TRACE_LINE);
        dlg->SetLineSources(data.get(), trace.get());
    }
    void TearDown() override { ClosePanel(); }
    // The module's line, through the panel's road (logged, then handled).
    void Answer(const char* psz)
    {
        data->Push(QString::fromLatin1(psz));
        QCoreApplication::sendPostedEvents(dlg.get(), WM_DATA_LINE);
    }
    // The panel's status and number at this moment of the recording; the clock moves on.
    void Moment()
    {
        moments << recorder.now;
        live << Texts();
        recorder.now += 1000;
    }
    QString Texts() const
    {
        return dlg->GetDlgItemText(IDC_STATUS) + u'|' + dlg->GetDlgItemText(IDC_NUMBER);
    }

    ClockedRecorder recorder;
    std::unique_ptr<ScriptedLines> data;
    std::unique_ptr<ScriptedLines> trace;
    QList<qint64> moments;
    QStringList live;
};
} // namespace

TEST_F(Review, CallsReadAsTheyDidLiveAndThePadDoesNothing)
{
    dlg->m_nRingTimeout = 300;
    dlg->OnPower();
    for (const char* psz :
         {"OK", "Tarn GSM Test Mobile 3.0", "AT+CGSN", "350123456789012", "+CPIN: READY", "OK",
          "+CREG: 0,1", "AT+CIMI", "262011234567890", "+COPS: 0,0,\"Tarn Net\"", "OK", "OK", "OK"})
        Answer(psz);
    ASSERT_EQ(dlg->State(), STEP_IDLE) << Texts().toStdString();
    Moment();
    // A voice call dialled, then hung up by the user.
    dlg->SetDlgItemText(IDC_NUMBER, QStringLiteral("0301234"));
    dlg->OnYes();
    ASSERT_EQ(dlg->State(), STEP_ESTABLISH_CALL);
    Moment();
    dlg->OnNo();
    Moment();
    Answer("OK");
    Moment();
    // A call that rings and is not taken: the ring time-out returns to idle.
    Answer("RING");
    ASSERT_EQ(dlg->State(), STEP_RINGING);
    Moment();
    ASSERT_TRUE(QTest::qWaitFor([&] { return dlg->State() == STEP_IDLE; }));
    // The module reports on: the session goes on past the time-out.
    trace->Push(QStringLiteral("Idle_Mode_Rpt 20 45"));
    QCoreApplication::sendPostedEvents(dlg.get(), WM_TRACE_LINE);
    Moment();
    Drain();

    const QString path = dir.filePath(QStringLiteral("calls.session"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(recorder.text);
    f.close();
    CSessionReview review(dlg.get());
    ASSERT_EQ(review.Open(path), CSessionReview::SR_OK);
    EXPECT_FALSE(dlg->GetDlgItem(IDC_YES)->isEnabled());
    // Each moment, seeking forward, then each again from the start.
    for (int pass = 0; pass < 2; ++pass) {
        for (int i = 0; i < moments.size(); ++i) {
            if (pass == 1)
                review.Seek(review.Begin());
            review.Seek(moments[i]);
            EXPECT_EQ(Texts(), live[i]) << "moment " << i << " pass " << pass;
        }
    }

    // At the dialled call a stray key neither writes nor moves the review.
    review.Seek(moments[1]);
    auto* no = qobject_cast<QAbstractButton*>(dlg->GetDlgItem(IDC_NO));
    ASSERT_TRUE(no);
    emit no->clicked();
    EXPECT_EQ(dlg->State(), STEP_ESTABLISH_CALL);
    review.Seek(moments[2]);
    EXPECT_EQ(Texts(), live[2]);
    EXPECT_TRUE(Data(50).isEmpty());
    EXPECT_TRUE(Trace(50).isEmpty());

    review.Close();
    EXPECT_TRUE(dlg->GetDlgItem(IDC_YES)->isEnabled());
}
