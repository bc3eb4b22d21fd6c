// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/ReviewBar.h"

#include <QComboBox>
#include <QDateTime>
#include <QFileInfo>
#include <QLabel>
#include <QSlider>
#include <QToolButton>
#include <algorithm>

#include "control/SessionReview.h"

namespace {
// The speeds offered, in their order; the last plays as fast as possible.
const int kSpeeds[] = {1, 2, 4, 8, 16, CSessionReview::SPEED_FASTEST};
} // namespace

CReviewBar::CReviewBar(CSessionReview* pReview, QWidget* pParent)
    : QToolBar(QStringLiteral("Review"), pParent), m_pReview(pReview)
{
    setObjectName(QStringLiteral("review"));
    setMovable(false);
    m_pFile = new QLabel(this);
    m_pFile->setAccessibleName(QStringLiteral("Session"));
    addWidget(m_pFile);
    addSeparator();
    m_pPlay = new QToolButton(this);
    m_pPlay->setText(QStringLiteral("Play"));
    m_pPlay->setAccessibleName(QStringLiteral("Play"));
    addWidget(m_pPlay);
    m_pSpeed = new QComboBox(this);
    m_pSpeed->setAccessibleName(QStringLiteral("Speed"));
    for (int nSpeed : kSpeeds)
        m_pSpeed->addItem(nSpeed == CSessionReview::SPEED_FASTEST
                              ? QStringLiteral("as fast as possible")
                              : QStringLiteral("%1x").arg(nSpeed));
    addWidget(m_pSpeed);
    auto* pPrev = new QToolButton(this);
    pPrev->setText(QStringLiteral("|<"));
    pPrev->setToolTip(QStringLiteral("Previous event"));
    pPrev->setAccessibleName(QStringLiteral("Previous event"));
    addWidget(pPrev);
    m_pSlider = new QSlider(Qt::Horizontal, this);
    m_pSlider->setAccessibleName(QStringLiteral("Time"));
    m_pSlider->setMinimumWidth(160);
    addWidget(m_pSlider);
    auto* pNext = new QToolButton(this);
    pNext->setText(QStringLiteral(">|"));
    pNext->setToolTip(QStringLiteral("Next event"));
    pNext->setAccessibleName(QStringLiteral("Next event"));
    addWidget(pNext);
    m_pTime = new QLabel(this);
    m_pTime->setAccessibleName(QStringLiteral("Moment"));
    addWidget(m_pTime);

    connect(m_pPlay, &QToolButton::clicked, this, &CReviewBar::OnPlay);
    connect(m_pSpeed, qOverload<int>(&QComboBox::activated), this, [this] {
        if (m_pReview->IsPlaying())
            OnSpeed();
    });
    connect(m_pSlider, &QSlider::valueChanged, this, &CReviewBar::OnSlider);
    connect(pPrev, &QToolButton::clicked, this, [this] { StepEvent(-1); });
    connect(pNext, &QToolButton::clicked, this, [this] { StepEvent(1); });
    connect(m_pReview, &CSessionReview::PositionChanged, this, &CReviewBar::OnPosition);
    connect(m_pReview, &CSessionReview::PlayingChanged, this, [this](bool bPlaying) {
        m_pPlay->setText(bPlaying ? QStringLiteral("Pause") : QStringLiteral("Play"));
    });
}

QString CReviewBar::Duration(qint64 nMs)
{
    const qint64 s = std::max<qint64>(nMs, 0) / 1000;
    return QStringLiteral("%1:%2:%3")
        .arg(s / 3600)
        .arg(s / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(s % 60, 2, 10, QLatin1Char('0'));
}

void CReviewBar::ShowFile()
{
    const qint64 nLength = m_pReview->End() - m_pReview->Begin();
    m_pFile->setText(
        QStringLiteral("%1 (%2)").arg(QFileInfo(m_pReview->Path()).fileName(), Duration(nLength)));
    m_bSliderFromReview = true;
    m_pSlider->setRange(0, static_cast<int>(nLength / 1000));
    m_bSliderFromReview = false;
    OnPosition(m_pReview->Position());
}

void CReviewBar::OnPosition(qint64 nTime)
{
    m_bSliderFromReview = true;
    m_pSlider->setValue(static_cast<int>((nTime - m_pReview->Begin()) / 1000));
    m_bSliderFromReview = false;
    m_pTime->setText(QDateTime::fromMSecsSinceEpoch(nTime).toString(QStringLiteral("HH:mm:ss")));
}

void CReviewBar::OnPlay()
{
    if (m_pReview->IsPlaying())
        m_pReview->Pause();
    else
        OnSpeed();
}

void CReviewBar::OnSpeed()
{
    const int i = std::clamp(m_pSpeed->currentIndex(), 0, int(std::size(kSpeeds)) - 1);
    m_pReview->Play(kSpeeds[i]);
}

void CReviewBar::OnSlider(int nSeconds)
{
    if (m_bSliderFromReview)
        return;
    m_pReview->Seek(m_pReview->Begin() + qint64(nSeconds) * 1000);
}

void CReviewBar::StepEvent(int nDirection)
{
    const qint64 nNow = m_pReview->Position();
    if (nDirection > 0) {
        const auto it = std::upper_bound(m_events.begin(), m_events.end(), nNow);
        if (it != m_events.end())
            m_pReview->Seek(*it);
    } else {
        auto it = std::lower_bound(m_events.begin(), m_events.end(), nNow);
        if (it != m_events.begin())
            m_pReview->Seek(*--it);
    }
}
