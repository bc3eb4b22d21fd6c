// SPDX-License-Identifier: GPL-3.0-or-later
// The main frame's review of a recorded session: the command line's
// options, "Open Session...", the timeline bar, the status bar's "REVIEW",
// and the chart and event list of the whole session.
#include <QDateTime>
#include <QFileDialog>
#include <QFileInfo>
#include <QLabel>
#include <QToolBar>
#include <algorithm>
#include <limits>

#include "chart/EventList.h"
#include "chart/LevelChart.h"
#include "control/SessionReview.h"
#include "control/TessolyDlg.h"
#include "export/SessionMeasure.h"
#include "fleet/MqttPublisher.h"
#include "gps/GpsClient.h"
#include "platform/UiServices.h"
#include "session/SessionRecorder.h"
#include "shell/MainFrm.h"
#include "shell/ReviewBar.h"

bool CMainFrame::TakeReviewArgs(QStringList* pArgs, SReviewArgs* pReview, QString* pError)
{
    QStringList rest;
    for (int i = 0; i < pArgs->size(); ++i) {
        const QString& arg = pArgs->at(i);
        const bool bValue = arg == QLatin1String("--review") || arg == QLatin1String("--at");
        if (bValue && i + 1 >= pArgs->size()) {
            *pError = QStringLiteral("%1 needs a value").arg(arg);
            return false;
        }
        if (arg == QLatin1String("--review")) {
            pReview->strFile = pArgs->at(++i);
        } else if (arg == QLatin1String("--at")) {
            pReview->strAt = pArgs->at(++i);
            if (!QTime::fromString(pReview->strAt, QStringLiteral("HH:mm:ss")).isValid()) {
                *pError =
                    QStringLiteral("--at takes a time as HH:MM:SS, not \"%1\"").arg(pReview->strAt);
                return false;
            }
        } else if (arg == QLatin1String("--end")) {
            pReview->bEnd = true;
        } else {
            rest << arg;
        }
    }
    if (pReview->strFile.isEmpty() && (pReview->bEnd || !pReview->strAt.isEmpty())) {
        *pError = QStringLiteral("--end and --at place a review: give --review FILE");
        return false;
    }
    *pArgs = rest;
    return true;
}

qint64 CMainFrame::ClockTimeAfter(qint64 nBegin, const QTime& time)
{
    const QDateTime begin = QDateTime::fromMSecsSinceEpoch(nBegin);
    QDateTime at(begin.date(), time);
    if (at < begin)
        at = at.addDays(1);
    return at.toMSecsSinceEpoch();
}

bool CMainFrame::IsReviewing() const
{
    return m_pReview && m_pReview->IsOpen();
}

void CMainFrame::OnOpenSession()
{
    const QString path = QFileDialog::getOpenFileName(
        this, QStringLiteral("Open Session"), RecordingFolder(),
        QStringLiteral("Session recordings (*.session);;All files (*)"));
    if (!path.isEmpty())
        OpenSession(path);
}

bool CMainFrame::OpenSession(const QString& strPath, qint64 nAt)
{
    QString error;
    if (m_pReview->Open(strPath, &error) != CSessionReview::SR_OK) {
        CUiServices::MessageBox(this,
                                QStringLiteral("The session cannot be reviewed: %1").arg(error));
        return false;
    }
    // Nothing of the live run goes on: no port, no recording, no positions,
    // and the measurer no longer feeds the chart.
    m_pController->ClosePorts();
    m_pRecorder->Stop();
    if (m_pGps)
        m_pGps->Stop();
    ApplyMqtt();
    const CMeasurer* pMeasurer = &m_pController->Measurer();
    disconnect(pMeasurer, nullptr, m_pChart, nullptr);
    disconnect(pMeasurer, nullptr, m_pEventList, nullptr);
    if (!m_pReviewBar) {
        m_pReviewBar = new CReviewBar(m_pReview, this);
        addToolBarBreak();
        addToolBar(m_pReviewBar);
        connect(m_pReview, &CSessionReview::PositionChanged, m_pChart, [this](qint64 nTime) {
            m_pChart->SetTimeCursor(QDateTime::fromMSecsSinceEpoch(nTime));
            m_pEventList->SetTimeCursor(QDateTime::fromMSecsSinceEpoch(nTime));
        });
    }
    // Another session replaces the one reviewed.
    m_pChart->Clear();
    m_pEventList->Clear();
    ShowSessionMeasure();
    m_pReviewBar->ShowFile();
    m_pReviewBar->show();
    m_pReviewLabel->show();
    setWindowTitle(
        QStringLiteral("%1 - %2").arg(QFileInfo(strPath).fileName(), QStringLiteral("Review")));
    m_pReview->Seek(nAt >= 0 ? nAt : m_pReview->Begin());
    LayoutPanel();
    UpdateCommandUI();
    return true;
}

bool CMainFrame::PlaceReviewAt(const QString& strAt)
{
    const QTime time = QTime::fromString(strAt, QStringLiteral("HH:mm:ss"));
    if (!time.isValid() || !IsReviewing())
        return false;
    m_pReview->Seek(ClockTimeAfter(m_pReview->Begin(), time));
    return true;
}

void CMainFrame::ShowSessionMeasure()
{
    // The same measurement layer as live, over the whole file at once.
    CSessionMeasure measure;
    if (measure.Open(m_pReview->Path()) != CSessionMeasure::SM_OK)
        return;
    QVector<qint64> events;
    connect(&measure, &CSessionMeasure::SampleReady, m_pChart, &CLevelChart::OnSample);
    connect(&measure, &CSessionMeasure::EventReady, m_pChart, &CLevelChart::OnEvent);
    connect(&measure, &CSessionMeasure::EventReady, m_pEventList, &CEventList::OnEvent);
    connect(&measure, &CSessionMeasure::EventReady, this,
            [&events](const SMeasureEvent& e) { events << e.time.toMSecsSinceEpoch(); });
    measure.Run();
    std::sort(events.begin(), events.end());
    m_pReviewBar->SetEvents(events);
    m_pChart->FitSession(QDateTime::fromMSecsSinceEpoch(m_pReview->Begin()),
                         QDateTime::fromMSecsSinceEpoch(m_pReview->End()));
}
