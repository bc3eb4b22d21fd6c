// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QtGlobal>

class CSequencer;
class CSequencerView;

// A recording holds what the panel sent, not the keys the user pressed nor
// the timers that ran: each sent line moves a sequencer that sends nothing
// (a review, a measurement of a file) as that key or timer did: power,
// dial, answer, hang up, a message, the power-off, the registration poll.
// No timer of the sequencer runs on the wall clock: the ring time-out,
// which sends nothing, runs on the recorded one.
class CRecordedKeys
{
public:
    // pView shows the number a dial or a message went to, as the user had typed it.
    CRecordedKeys(CSequencer* pSequencer, CSequencerView* pView);

    // Forgets the ring time-out and a dial under way (the sequencer started again).
    void Reset();

    // The moment the ring time-out ran out (ms since the epoch) when that
    // is nTime or earlier; -1 when none is due.
    qint64 DueBy(qint64 nTime) const;
    // Runs the ring time-out that DueBy gave.
    void RunRingTimeout();

    // A line the panel sent on the trace port (bTrace) or the data port,
    // recorded at nTime.
    void FollowSent(bool bTrace, const QByteArray& text, qint64 nTime);
    // After the sequencer took a line recorded at nTime: its ring timer
    // becomes a deadline on the recorded clock, and no timer runs.
    void Settle(qint64 nTime);

private:
    void Dial(const QString& strNumber, const QString& strType);

    CSequencer* m_pSequencer;
    CSequencerView* m_pView;
    qint64 m_nRingDeadline = -1; // -1: no ring time-out runs
    // A voice dial's command went out alone: its number is the next trace write.
    bool m_bDialNumberNext = false;
};
