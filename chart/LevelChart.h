// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QColor>
#include <QElapsedTimer>
#include <QTimer>
#include <QWidget>
#include <deque>
#include <map>
#include <vector>

#include "chart/ChartPalette.h"
#include "measure/MeasureEvent.h"
#include "measure/Sample.h"

class QCustomPlot;
class QCPAxisRect;
class QCPGraph;
class QCPItemStraightLine;
class QCPItemText;
class QCPRange;

// The modeless "Level Chart" window: the serving level and each neighbour's
// level in dBm over the run, RX Qual and TA in a pane below once the module
// was in dedicated mode, and the events as named vertical lines. Keys are
// seconds since the epoch.
//
// The object lives from the start of the program and takes every sample and
// event, shown or not; it draws only while shown, at most four times a
// second. It follows the latest ten minutes until the user drags or zooms
// back, and follows again once the range reaches the latest time.
class CLevelChart : public QWidget
{
    Q_OBJECT
public:
    enum
    {
        CHART_SPAN_SECONDS = 600,   // the range shown while following
        CHART_MAX_POINTS = 172800,  // per series: 24 hours at two samples a second
        CHART_MAX_MARKS = 100000,   // events kept
        CHART_MARKS_SHOWN = 60,     // event lines drawn at most
        CHART_REPLOT_MS = 250,      // the shortest time between two redraws
        CHART_DATA_REPLOT_MS = 2000 // ... for new samples and events alone
    };

    explicit CLevelChart(QWidget* parent = nullptr);
    ~CLevelChart() override;

    void OnSample(const SSample& sample);
    void OnEvent(const SMeasureEvent& event);
    // Forgets every point and event (another session is reviewed).
    void Clear();
    // Opens the window with the time in the middle of the range; following
    // stops unless that range reaches the latest time.
    void ShowAt(const QDateTime& time);
    // A line at the moment a review shows; the range moves to keep it in
    // view and stops following the latest time.
    void SetTimeCursor(const QDateTime& time);
    // A review's whole session in view when it is shorter than the range
    // shown while following, so that a short drive does not sit in a corner.
    void FitSession(const QDateTime& begin, const QDateTime& end);
    // The time cursor's key; NaN without one.
    double TimeCursorKey() const;

    // Draws now (the queued redraw does the same).
    void Redraw();

    QCustomPlot* Plot() const { return m_pPlot; }
    QCPGraph* ServingGraph() const { return m_pServing; }
    // The neighbour's series, or null when the BCCH was never a neighbour.
    QCPGraph* NeighbourGraph(int nBcch) const;
    QCPGraph* RxQualGraph() const { return m_pRxQual; }
    QCPGraph* TaGraph() const { return m_pTa; }
    // The second pane; null until the first sample in dedicated mode.
    QCPAxisRect* Pane() const { return m_pPane; }
    bool IsFollowing() const { return m_bFollow; }
    // Points held by all series, and the events kept.
    int PointsHeld() const;
    int MarksHeld() const { return int(m_marks.size()); }
    // The text the pointer shows at that key.
    QString ValuesAt(double dKey) const;
    static double KeyOf(const QDateTime& time);

protected:
    void showEvent(QShowEvent* e) override;
    void hideEvent(QHideEvent* e) override;

private:
    struct SMark
    {
        double dKey;
        QString strName;
    };
    struct SMarkItem
    {
        QCPItemStraightLine* pLine;
        QCPItemText* pText;
    };

    QCPGraph* AddNeighbourGraph(int nBcch);
    void AddDedicatedPane();
    // Adds one point at the end of a series; NaN breaks the line.
    void Append(QCPGraph* pGraph, double dKey, double dValue);
    // Drops the oldest points of every series once the serving series holds
    // more than its share.
    void AppendNeighbours(double key, const SSample& sample);
    void Trim();
    // A redraw at most nWithinMs after the last one.
    void RequestReplot(int nWithinMs = CHART_REPLOT_MS);
    void SetRange(double dLower, double dUpper);
    void OnRangeChanged(const QCPRange& range);
    void PlaceMarks();
    void UpdateLegend();
    void OnMouseMove(QMouseEvent* e);

    QCustomPlot* m_pPlot = nullptr;
    QCPAxisRect* m_pPane = nullptr;
    QCPGraph* m_pServing = nullptr;
    QCPGraph* m_pRxQual = nullptr;
    QCPGraph* m_pTa = nullptr;
    QCPItemStraightLine* m_pCursor = nullptr;     // the pointer's time
    QCPItemStraightLine* m_pTimeCursor = nullptr; // the reviewed moment
    std::map<int, QCPGraph*> m_neighbours;        // BCCH -> its series
    CChartPalette m_palette;
    std::map<int, bool> m_neighbourShown; // BCCH -> in the latest sample
    bool m_bDedicatedShown = false;       // the latest sample was dedicated
    std::deque<SMark> m_marks;            // sorted by key
    std::vector<SMarkItem> m_markItems;
    double m_dLatest = 0;                // the latest key
    double m_dSpan = CHART_SPAN_SECONDS; // the width of the range
    bool m_bFollow = true;
    bool m_bSettingRange = false;
    QTimer m_replotTimer;
    QElapsedTimer m_sinceReplot;
};
