// SPDX-License-Identifier: GPL-3.0-or-later
#include "chart/EventList.h"

#include <QHeaderView>
#include <QItemSelectionModel>
#include <QScrollBar>
#include <QTableView>
#include <QVBoxLayout>

namespace {
constexpr int kDefaultWidth = 560;
constexpr int kDefaultHeight = 420;
} // namespace

CEventList::CEventList(QWidget* parent) : QWidget(parent, Qt::Window)
{
    setWindowTitle(QStringLiteral("Event List"));
    resize(kDefaultWidth, kDefaultHeight);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    m_pView = new QTableView(this);
    m_pView->setModel(&m_model);
    m_pView->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pView->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pView->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pView->setWordWrap(false);
    m_pView->setAlternatingRowColors(true);
    // Rows of one height, so that a long list costs nothing to lay out.
    QHeaderView* rows = m_pView->verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);
    rows->setDefaultSectionSize(fontMetrics().height() + 4);
    QHeaderView* columns = m_pView->horizontalHeader();
    columns->setStretchLastSection(true);
    columns->resizeSection(CEventModel::COL_TIME,
                           fontMetrics().horizontalAdvance(QStringLiteral("0000-00-00 00:00:00")) +
                               16);
    columns->resizeSection(CEventModel::COL_EVENT,
                           fontMetrics().horizontalAdvance(QStringLiteral("registration_lost")) +
                               16);
    layout->addWidget(m_pView);
    connect(m_pView, &QTableView::doubleClicked, this, [this](const QModelIndex& index) {
        if (index.isValid())
            emit EventActivated(m_model.Event(index.row()).time);
    });
}

void CEventList::OnEvent(const SMeasureEvent& event)
{
    const QScrollBar* bar = m_pView->verticalScrollBar();
    const bool bAtEnd = bar->value() >= bar->maximum();
    m_model.Add(event);
    if (bAtEnd && isVisible())
        m_pView->scrollToBottom();
}

void CEventList::SetTimeCursor(const QDateTime& time)
{
    const int nRow = m_model.RowAtOrBefore(time);
    QItemSelectionModel* selection = m_pView->selectionModel();
    if (nRow < 0) {
        selection->clear();
        return;
    }
    const QModelIndex index = m_model.index(nRow, 0);
    selection->setCurrentIndex(index,
                               QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    m_pView->scrollTo(index);
}

void CEventList::showEvent(QShowEvent* e)
{
    QWidget::showEvent(e);
    // A review's moment, or the newest event.
    const QModelIndex current = m_pView->currentIndex();
    if (current.isValid())
        m_pView->scrollTo(current);
    else
        m_pView->scrollToBottom();
}
