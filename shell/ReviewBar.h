// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QToolBar>
#include <QVector>

class QComboBox;
class QLabel;
class QSlider;
class QToolButton;
class CSessionReview;

// The timeline of a reviewed session, a bar under the tool bar: the file's
// name and length, play and pause, the speed, a slider that seeks by time,
// the moment shown, and the previous and next event.
class CReviewBar : public QToolBar
{
    Q_OBJECT
public:
    CReviewBar(CSessionReview* pReview, QWidget* pParent = nullptr);

    // The file's name and length and the slider's range, after the review opened a file.
    void ShowFile();
    // The times of the session's events (ms since the epoch, ascending).
    void SetEvents(const QVector<qint64>& events) { m_events = events; }
    // A length or moment as the bar shows it: H:MM:SS.
    static QString Duration(qint64 nMs);

private:
    void OnPosition(qint64 nTime);
    void OnPlay();
    void OnSpeed();
    void OnSlider(int nSeconds);
    void StepEvent(int nDirection);

    CSessionReview* m_pReview;
    QLabel* m_pFile = nullptr;
    QToolButton* m_pPlay = nullptr;
    QComboBox* m_pSpeed = nullptr;
    QSlider* m_pSlider = nullptr;
    QLabel* m_pTime = nullptr;
    QVector<qint64> m_events;
    bool m_bSliderFromReview = false;
};
