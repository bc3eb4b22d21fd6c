// SPDX-License-Identifier: GPL-3.0-or-later
#include "conversation/RecordedKeys.h"

#include <QString>
#include <utility>

#include "conversation/Sequencer.h"
#include "conversation/SequencerView.h"
#include "protocol/AtCommands.h"
#include "protocol/TraceCommands.h"

namespace {
const QString kVoice = QStringLiteral("Voice");

bool IsCallState(int nState)
{
    return nState == STEP_RINGING || nState == STEP_CALLER_ID || nState == STEP_ESTABLISH_CALL ||
           nState == STEP_IN_CALL || nState == STEP_BUSY;
}

bool IsRinging(int nState)
{
    return nState == STEP_RINGING || nState == STEP_CALLER_ID;
}

// The text after a command's head, without the line end and the quote or
// semicolon that close it.
QString Argument(const QByteArray& text, const char* pszHead)
{
    QByteArray a = text.mid(qstrlen(pszHead));
    while (!a.isEmpty() && (a.endsWith('\r') || a.endsWith('"') || a.endsWith(AT_DIAL_VOICE)))
        a.chop(1);
    return QString::fromLatin1(a);
}
} // namespace

CRecordedKeys::CRecordedKeys(CSequencer* pSequencer, CSequencerView* pView)
    : m_pSequencer(pSequencer), m_pView(pView)
{
}

void CRecordedKeys::Reset()
{
    m_nRingDeadline = -1;
    m_bDialNumberNext = false;
}

qint64 CRecordedKeys::DueBy(qint64 nTime) const
{
    return m_nRingDeadline >= 0 && nTime >= m_nRingDeadline ? m_nRingDeadline : -1;
}

void CRecordedKeys::RunRingTimeout()
{
    m_nRingDeadline = -1;
    if (!IsRinging(m_pSequencer->State()))
        return;
    m_pSequencer->RunStep(STEP_IDLE);
    m_pSequencer->StopTimers();
}

void CRecordedKeys::Dial(const QString& strNumber, const QString& strType)
{
    // The number stood in the entry field when the user pressed yes.
    m_pView->ShowNumber(strNumber);
    m_pSequencer->OnYes(strNumber, strType);
}

void CRecordedKeys::FollowSent(bool bTrace, const QByteArray& t, qint64 nTime)
{
    CSequencer& s = *m_pSequencer;
    const int nState = s.State();
    if (bTrace) {
        const bool bDialNumber = std::exchange(m_bDialNumberNext, false);
        if (t.startsWith(TRACE_POWER_ON)) {
            if (!s.IsPoweredOn() && nState != STEP_POWER_ON_PROBE)
                s.OnPower();
        } else if (t == TRACE_POWER_OFF_PREPARE) {
            if (s.IsPoweredOn() && nState != STEP_POWER_OFF)
                s.RunStep(STEP_POWER_OFF);
        } else if (t.startsWith(TRACE_POWER_OFF)) {
            if (s.IsPoweredOn())
                s.RunStep(STEP_POWER_OFF_DONE);
        } else if (t.startsWith(TRACE_DIAL)) {
            // The panel writes the command and the number apart.
            const QString number = Argument(t, TRACE_DIAL);
            if (nState == STEP_IDLE && number.isEmpty())
                m_bDialNumberNext = true;
            else if (nState == STEP_IDLE)
                Dial(number, kVoice);
        } else if (t.startsWith(TRACE_ANSWER)) {
            if (IsRinging(nState))
                s.OnYes(QString(), QString());
        } else if (bDialNumber && nState == STEP_IDLE) {
            Dial(Argument(t, ""), kVoice);
        }
    } else {
        if (t.startsWith(AT_SEND_MESSAGE_TO.sz)) {
            if (nState == STEP_IDLE)
                Dial(Argument(t, AT_SEND_MESSAGE_TO.sz), QStringLiteral("SMS"));
        } else if (t.startsWith(AT_HANG_UP.sz)) {
            if (IsCallState(nState))
                s.OnNo(QString());
        } else if (t.startsWith(AT_DIAL.sz)) {
            if (nState == STEP_IDLE)
                Dial(Argument(t, AT_DIAL.sz), QStringLiteral("Data"));
        } else if (t.startsWith(AT_READ_REGISTRATION.sz)) {
            // The registration poll's timer.
            if (s.IsPoweredOn() && nState != STEP_SEARCHING && nState != STEP_READ_IMSI)
                s.RunStep(STEP_SEARCHING);
        }
    }
    Settle(nTime);
}

void CRecordedKeys::Settle(qint64 nTime)
{
    if (m_pSequencer->IsTimerActive(TIMER_RING))
        m_nRingDeadline = nTime + m_pSequencer->m_nRingTimeout;
    else if (!IsRinging(m_pSequencer->State()))
        m_nRingDeadline = -1;
    m_pSequencer->StopTimers();
}
