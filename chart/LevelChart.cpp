// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/LevelChart.h"

#include <QToolTip>
#include <QVBoxLayout>
#include <algorithm>
#include <cmath>
#include <qcustomplot.h>

namespace {
// The range follows again once its end is this close to the latest time.
constexpr double kFollowSlack = 1.0;
// A value older than this at the pointer's time is not shown.
constexpr double kHoverGap = 5.0;
constexpr int kDefaultWidth = 900;
constexpr int kDefaultHeight = 560;

// The latest value at or before the key, not older than kHoverGap; NaN where
// there is none or the series is broken there.
double ValueAt(const QCPGraph* pGraph, double dKey)
{
    if (!pGraph)
        return qQNaN();
    const QSharedPointer<QCPGraphDataContainer> data = pGraph->data();
    auto it = data->findEnd(dKey, false);
    if (it == data->constBegin())
        return qQNaN();
    --it;
    return it->key >= dKey - kHoverGap ? it->value : qQNaN();
}

QSharedPointer<QCPAxisTickerDateTime> TimeTicker()
{
    QSharedPointer<QCPAxisTickerDateTime> ticker(new QCPAxisTickerDateTime);
    ticker->setDateTimeFormat(QStringLiteral("hh:mm:ss"));
    return ticker;
}
} // namespace

CLevelChart::CLevelChart(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Level Chart"));
    resize(kDefaultWidth, kDefaultHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pPlot = new QCustomPlot(this);
    layout->addWidget(m_pPlot);

    m_pPlot->setInteractions(QCP::iRangeDrag | QCP::iRangeZoom);
    m_pPlot->setNoAntialiasingOnDrag(true);
    m_pPlot->setNotAntialiasedElements(QCP::aePlottables);
    m_pPlot->setAutoAddPlottableToLegend(false);
    QCPAxisRect* main = m_pPlot->axisRect();
    main->setRangeDrag(Qt::Horizontal);
    main->setRangeZoom(Qt::Horizontal);
    m_pPlot->xAxis->setTicker(TimeTicker());
    m_pPlot->yAxis->setLabel(QStringLiteral("RX level (dBm)"));
    m_pPlot->yAxis->setRange(-112, -45);
    m_pPlot->legend->setVisible(true);
    m_pPlot->legend->setFont(QFont(font().family(), 8));
    m_pPlot->legend->setBrush(QColor(255, 255, 255, 200));
    main->insetLayout()->setInsetAlignment(0, Qt::AlignRight | Qt::AlignBottom);

    m_pServing = m_pPlot->addGraph();
    m_pServing->setName(QStringLiteral("Serving"));
    // One pixel wide: a wider line is stroked, which costs more than all the
    // thin ones together.
    m_pServing->setPen(QPen(Qt::black, 1));
    m_pServing->setAdaptiveSampling(true);
    m_pServing->addToLegend();

    for (int i = 0; i < CHART_MARKS_SHOWN; ++i) {
        SMarkItem mark;
        mark.pLine = new QCPItemStraightLine(m_pPlot);
        mark.pLine->setPen(QPen(QColor(0x60, 0x60, 0x60), 1, Qt::DashLine));
        mark.pLine->setVisible(false);
        mark.pText = new QCPItemText(m_pPlot);
        mark.pText->position->setTypeX(QCPItemPosition::ptPlotCoords);
        mark.pText->position->setTypeY(QCPItemPosition::ptAxisRectRatio);
        mark.pText->setRotation(-90);
        mark.pText->setPositionAlignment(Qt::AlignRight | Qt::AlignTop);
        mark.pText->setFont(QFont(font().family(), 8));
        mark.pText->setColor(QColor(0x40, 0x40, 0x40));
        mark.pText->setVisible(false);
        m_markItems.push_back(mark);
    }
    m_pCursor = new QCPItemStraightLine(m_pPlot);
    m_pCursor->setPen(QPen(QColor(0x90, 0x90, 0x90), 1, Qt::DotLine));
    m_pCursor->setVisible(false);

    connect(m_pPlot->xAxis, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), this,
            &CLevelChart::OnRangeChanged);
    connect(m_pPlot, &QCustomPlot::beforeReplot, this, [this] {
        PlaceMarks();
        UpdateLegend();
    });
    connect(m_pPlot, &QCustomPlot::mouseMove, this, &CLevelChart::OnMouseMove);
    m_replotTimer.setSingleShot(true);
    connect(&m_replotTimer, &QTimer::timeout, this, &CLevelChart::Redraw);
    const double now = KeyOf(QDateTime::currentDateTime());
    SetRange(now - m_dSpan, now);
}

CLevelChart::~CLevelChart() = default;

double CLevelChart::KeyOf(const QDateTime& time)
{
    return time.toMSecsSinceEpoch() / 1000.0;
}

void CLevelChart::Clear()
{
    for (int i = 0; i < m_pPlot->graphCount(); ++i)
        m_pPlot->graph(i)->data()->clear();
    m_neighbourShown.clear();
    m_bDedicatedShown = false;
    m_marks.clear();
    m_dLatest = 0;
    m_bFollow = true;
    PlaceMarks();
    UpdateLegend();
    RequestReplot();
}

QCPGraph* CLevelChart::NeighbourGraph(int nBcch) const
{
    auto it = m_neighbours.find(nBcch);
    return it == m_neighbours.end() ? nullptr : it->second;
}

QCPGraph* CLevelChart::AddNeighbourGraph(int nBcch)
{
    QCPGraph* pGraph = m_pPlot->addGraph();
    pGraph->setName(QStringLiteral("BCCH %1").arg(nBcch));
    pGraph->setPen(QPen(m_palette.ColourOf(nBcch), 1));
    pGraph->setAdaptiveSampling(true);
    m_neighbours[nBcch] = pGraph;
    return pGraph;
}

void CLevelChart::AddDedicatedPane()
{
    m_pPane = new QCPAxisRect(m_pPlot);
    m_pPlot->plotLayout()->addElement(1, 0, m_pPane);
    m_pPlot->plotLayout()->setRowStretchFactor(0, 3);
    m_pPlot->plotLayout()->setRowStretchFactor(1, 1);
    auto* group = new QCPMarginGroup(m_pPlot);
    m_pPlot->axisRect()->setMarginGroup(QCP::msLeft | QCP::msRight, group);
    m_pPane->setMarginGroup(QCP::msLeft | QCP::msRight, group);
    m_pPane->setRangeDrag(Qt::Horizontal);
    m_pPane->setRangeZoom(Qt::Horizontal);
    QCPAxis* time = m_pPane->axis(QCPAxis::atBottom);
    QCPAxis* qual = m_pPane->axis(QCPAxis::atLeft);
    QCPAxis* ta = m_pPane->axis(QCPAxis::atRight);
    time->setTicker(TimeTicker());
    time->setRange(m_pPlot->xAxis->range());
    qual->setLabel(QStringLiteral("RX Qual"));
    qual->setRange(-0.5, 7.5);
    ta->setVisible(true);
    ta->setLabel(QStringLiteral("TA"));
    ta->setRange(0, 64);
    m_pRxQual = m_pPlot->addGraph(time, qual);
    m_pRxQual->setName(QStringLiteral("RX Qual"));
    m_pRxQual->setPen(QPen(QColor(0xc0, 0x00, 0x00), 1));
    m_pRxQual->setLineStyle(QCPGraph::lsStepLeft);
    m_pTa = m_pPlot->addGraph(time, ta);
    m_pTa->setName(QStringLiteral("TA"));
    m_pTa->setPen(QPen(QColor(0x00, 0x40, 0xc0), 1));
    m_pTa->setLineStyle(QCPGraph::lsStepLeft);
    auto* legend = new QCPLegend;
    m_pPane->insetLayout()->addElement(legend, Qt::AlignRight | Qt::AlignTop);
    legend->setLayer(QStringLiteral("legend"));
    legend->setFont(m_pPlot->legend->font());
    legend->setBrush(m_pPlot->legend->brush());
    m_pRxQual->addToLegend(legend);
    m_pTa->addToLegend(legend);
    // One time range for both panes, whichever the user drags.
    connect(time, qOverload<const QCPRange&>(&QCPAxis::rangeChanged), m_pPlot->xAxis,
            qOverload<const QCPRange&>(&QCPAxis::setRange));
}

void CLevelChart::Append(QCPGraph* pGraph, double dKey, double dValue)
{
    // One point after the last: the container appends without moving the others.
    pGraph->addData(dKey, dValue);
}

void CLevelChart::OnSample(const SSample& sample)
{
    const double key = KeyOf(sample.time);
    m_dLatest = std::max(m_dLatest, key);
    Append(m_pServing, key, sample.nRxLevDbm ? *sample.nRxLevDbm : qQNaN());

    // A neighbour that was in the previous sample and is not in this one
    // gets a break in its line. A sample with no neighbour at all (the rows
    // emptied for a moment while the module starts a new report) leaves
    // the lines as they are.
    const bool bAnyNeighbour =
        std::any_of(std::begin(sample.aNeighbour), std::end(sample.aNeighbour),
                    [](const SNeighbourSample& n) { return n.nBcch && n.nRxLevDbm; });
    if (bAnyNeighbour)
        AppendNeighbours(key, sample);

    const bool bDedicated = sample.nMode == SSample::MODE_DEDICATED;
    if (bDedicated && !m_pPane)
        AddDedicatedPane();
    if (bDedicated || m_bDedicatedShown) {
        Append(m_pRxQual, key, bDedicated && sample.nRxQual ? *sample.nRxQual : qQNaN());
        Append(m_pTa, key, bDedicated && sample.nTa ? *sample.nTa : qQNaN());
    }
    m_bDedicatedShown = bDedicated;
    Trim();
    // Every two seconds is enough for the latest ten minutes (a pixel is
    // most of a second), and keeps the chart cheap at the module's rate.
    RequestReplot(CHART_DATA_REPLOT_MS);
}

void CLevelChart::AppendNeighbours(double key, const SSample& sample)
{
    for (auto& [nBcch, bShown] : m_neighbourShown)
        bShown = false;
    for (const SNeighbourSample& n : sample.aNeighbour) {
        if (!n.nBcch || !n.nRxLevDbm)
            continue;
        bool& bShown = m_neighbourShown[*n.nBcch];
        if (bShown)
            continue; // the same BCCH twice in one sample
        bShown = true;
        QCPGraph* pGraph = NeighbourGraph(*n.nBcch);
        Append(pGraph ? pGraph : AddNeighbourGraph(*n.nBcch), key, *n.nRxLevDbm);
    }
    for (auto it = m_neighbourShown.begin(); it != m_neighbourShown.end();) {
        if (it->second) {
            ++it;
            continue;
        }
        Append(m_neighbours[it->first], key, qQNaN());
        it = m_neighbourShown.erase(it);
    }
}

void CLevelChart::OnEvent(const SMeasureEvent& event)
{
    const double key = KeyOf(event.time);
    m_dLatest = std::max(m_dLatest, key);
    const char* name = EventName(event.nEvent);
    SMark mark{key, name ? QString::fromLatin1(name) : QString::number(event.nEvent)};
    if (m_marks.empty() || m_marks.back().dKey <= key)
        m_marks.push_back(mark);
    else
        m_marks.insert(std::upper_bound(m_marks.begin(), m_marks.end(), key,
                                        [](double k, const SMark& m) { return k < m.dKey; }),
                       mark);
    while (m_marks.size() > CHART_MAX_MARKS)
        m_marks.pop_front();
    RequestReplot(CHART_DATA_REPLOT_MS);
}

void CLevelChart::Trim()
{
    // Trimmed in steps of an eighth, so that each point is moved a bounded
    // number of times.
    const int nServing = m_pServing->data()->size();
    if (nServing <= CHART_MAX_POINTS + CHART_MAX_POINTS / 8)
        return;
    const double cutoff = (m_pServing->data()->constBegin() + (nServing - CHART_MAX_POINTS))->key;
    for (int i = 0; i < m_pPlot->graphCount(); ++i) {
        QSharedPointer<QCPGraphDataContainer> data = m_pPlot->graph(i)->data();
        data->removeBefore(cutoff);
        // Times that went back could leave more in a series than its share.
        if (data->size() > CHART_MAX_POINTS)
            data->removeBefore((data->constBegin() + (data->size() - CHART_MAX_POINTS))->key);
    }
    while (!m_marks.empty() && m_marks.front().dKey < cutoff)
        m_marks.pop_front();
}

int CLevelChart::PointsHeld() const
{
    int n = 0;
    for (int i = 0; i < m_pPlot->graphCount(); ++i)
        n += m_pPlot->graph(i)->data()->size();
    return n;
}

void CLevelChart::RequestReplot(int nWithinMs)
{
    if (!isVisible())
        return;
    const qint64 since = m_sinceReplot.isValid() ? m_sinceReplot.elapsed() : qint64(nWithinMs);
    const int nDue = int(std::max<qint64>(0, nWithinMs - since));
    // A redraw already due sooner serves this one too.
    if (m_replotTimer.isActive() && m_replotTimer.remainingTime() <= nDue)
        return;
    m_replotTimer.start(nDue);
}

void CLevelChart::Redraw()
{
    if (m_bFollow && m_dLatest > 0)
        SetRange(m_dLatest - m_dSpan, m_dLatest);
    m_pPlot->replot(QCustomPlot::rpImmediateRefresh);
    m_sinceReplot.restart();
}

void CLevelChart::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    RequestReplot();
}

void CLevelChart::hideEvent(QHideEvent* e)
{
    m_replotTimer.stop();
    QWidget::hideEvent(e);
}

void CLevelChart::SetRange(double dLower, double dUpper)
{
    m_bSettingRange = true;
    m_pPlot->xAxis->setRange(dLower, dUpper);
    m_bSettingRange = false;
}

void CLevelChart::OnRangeChanged(const QCPRange& range)
{
    if (m_pPane)
        m_pPane->axis(QCPAxis::atBottom)->setRange(range);
    if (m_bSettingRange)
        return;
    // The user dragged or zoomed.
    m_dSpan = range.size();
    m_bFollow = range.upper >= m_dLatest - kFollowSlack;
}

void CLevelChart::ShowAt(const QDateTime& time)
{
    const double key = KeyOf(time);
    SetRange(key - m_dSpan / 2, key + m_dSpan / 2);
    m_bFollow = key + m_dSpan / 2 >= m_dLatest;
    show();
    raise();
    activateWindow();
    RequestReplot();
}

void CLevelChart::SetTimeCursor(const QDateTime& time)
{
    const double key = KeyOf(time);
    if (!m_pTimeCursor) {
        m_pTimeCursor = new QCPItemStraightLine(m_pPlot);
        m_pTimeCursor->setPen(QPen(QColor(0xc0, 0, 0), 2));
    }
    m_pTimeCursor->point1->setCoords(key, 0);
    m_pTimeCursor->point2->setCoords(key, 1);
    m_bFollow = false;
    const QCPRange range = m_pPlot->xAxis->range();
    if (key < range.lower || key > range.upper)
        SetRange(key - m_dSpan / 2, key + m_dSpan / 2);
    RequestReplot();
}

void CLevelChart::FitSession(const QDateTime& begin, const QDateTime& end)
{
    const double lower = KeyOf(begin), upper = KeyOf(end);
    if (!(upper > lower) || upper - lower >= m_dSpan)
        return;
    const double margin = (upper - lower) / 50;
    m_bFollow = false;
    SetRange(lower - margin, upper + margin);
    RequestReplot();
}

double CLevelChart::TimeCursorKey() const
{
    return m_pTimeCursor ? m_pTimeCursor->point1->key() : qQNaN();
}

void CLevelChart::PlaceMarks()
{
    const QCPRange range = m_pPlot->xAxis->range();
    auto less = [](const SMark& m, double k) { return m.dKey < k; };
    const auto first = std::lower_bound(m_marks.begin(), m_marks.end(), range.lower, less);
    const auto last = std::lower_bound(first, m_marks.end(), range.upper, less);
    // More events than lines: every n-th of them.
    const size_t nInRange = size_t(last - first);
    const size_t nStep = (nInRange + m_markItems.size() - 1) / m_markItems.size();
    size_t i = 0;
    for (auto it = first; nStep && it < last; it += std::min<ptrdiff_t>(nStep, last - it)) {
        SMarkItem& item = m_markItems[i++];
        item.pLine->point1->setCoords(it->dKey, 0);
        item.pLine->point2->setCoords(it->dKey, 1);
        item.pText->position->setCoords(it->dKey, 0.01);
        item.pText->setText(it->strName);
        item.pLine->setVisible(true);
        item.pText->setVisible(true);
    }
    for (; i < m_markItems.size(); ++i) {
        m_markItems[i].pLine->setVisible(false);
        m_markItems[i].pText->setVisible(false);
    }
}

void CLevelChart::UpdateLegend()
{
    // Only the neighbours with points in the range are named; the others
    // are not drawn at all.
    const QCPRange range = m_pPlot->xAxis->range();
    for (const auto& [nBcch, pGraph] : m_neighbours) {
        const QSharedPointer<QCPGraphDataContainer> data = pGraph->data();
        const bool bInRange =
            data->findBegin(range.lower, false) != data->findEnd(range.upper, false);
        pGraph->setVisible(bInRange);
        if (bInRange)
            pGraph->addToLegend();
        else
            pGraph->removeFromLegend();
    }
}

QString CLevelChart::ValuesAt(double dKey) const
{
    const qint64 ms = qint64(std::floor(dKey * 1000));
    QString text = QDateTime::fromMSecsSinceEpoch(ms).toString(QStringLiteral("hh:mm:ss"));
    auto line = [&text](const QString& name, double dValue, const char* unit) {
        if (!std::isnan(dValue))
            text += QStringLiteral("\n%1: %2%3").arg(name).arg(dValue).arg(QLatin1String(unit));
    };
    line(m_pServing->name(), ValueAt(m_pServing, dKey), " dBm");
    for (const auto& [nBcch, pGraph] : m_neighbours)
        line(pGraph->name(), ValueAt(pGraph, dKey), " dBm");
    if (m_pPane) {
        line(m_pRxQual->name(), ValueAt(m_pRxQual, dKey), "");
        line(m_pTa->name(), ValueAt(m_pTa, dKey), "");
    }
    return text;
}

void CLevelChart::OnMouseMove(QMouseEvent* e)
{
    const QPoint pos = e->pos();
    const bool bOver =
        m_pPlot->axisRect()->rect().contains(pos) || (m_pPane && m_pPane->rect().contains(pos));
    if (!bOver || e->buttons() != Qt::NoButton) {
        QToolTip::hideText();
        if (m_pCursor->visible()) {
            m_pCursor->setVisible(false);
            m_pPlot->replot(QCustomPlot::rpQueuedReplot);
        }
        return;
    }
    const double key = m_pPlot->xAxis->pixelToCoord(pos.x());
    m_pCursor->point1->setCoords(key, 0);
    m_pCursor->point2->setCoords(key, 1);
    m_pCursor->setVisible(true);
    QToolTip::showText(e->globalPosition().toPoint(), ValuesAt(key), m_pPlot);
    m_pPlot->replot(QCustomPlot::rpQueuedReplot);
}
