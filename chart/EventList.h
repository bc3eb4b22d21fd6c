// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QWidget>

#include "chart/EventModel.h"

class QTableView;

// The modeless "Event List" window: the events of the run with time and
// text, newest last. The list lives from the start of the program and takes
// every event, shown or not. While its end is in view it keeps the newest
// event in view. Double-clicking an event asks for the chart at its time.
class CEventList : public QWidget
{
    Q_OBJECT
public:
    explicit CEventList(QWidget* parent = nullptr);

    void OnEvent(const SMeasureEvent& event);
    // Forgets every event (another session is reviewed).
    void Clear() { m_model.Clear(); }
    // Selects and shows the latest event at or before the moment a review
    // shows, without taking the focus; none before the first.
    void SetTimeCursor(const QDateTime& time);

    CEventModel* Model() { return &m_model; }
    QTableView* View() const { return m_pView; }

signals:
    // The user double-clicked an event.
    void EventActivated(const QDateTime& time);

protected:
    void showEvent(QShowEvent* e) override;

private:
    CEventModel m_model;
    QTableView* m_pView = nullptr;
};
