// SPDX-License-Identifier: GPL-3.0-or-later
// The phone pad and the air-interface commands: power, yes/no/clr, the
// keys and the number field's filter, speaker, library and data content,
// location update, BS lock and the "go" buttons of the neighbour rows.
#include "control/TessolyDlg.h"

#include "protocol/AtCommands.h"
#include "protocol/TraceCommands.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <vector>

#include "platform/FrameHost.h"
#include "platform/UiServices.h"
#include "protocol/ChannelPlan.h"

namespace {
// A BS lock channel typed in the gap between the bands goes up to the high
// band from this one on, down to the low band below it.
const int kGapEnd = 256;

// Every button of the pad and the air-interface commands: none works in review.
std::vector<int> PadButtons()
{
    std::vector<int> ids = {IDC_POWER,       IDC_YES,     IDC_NO,          IDC_CLR,
                            IDC_KEYSTAR,     IDC_KEY0,    IDC_KEYHASH,     IDC_SPEAKERUP,
                            IDC_SPEAKERDOWN, IDC_LIBRARY, IDC_DATACONTENT, IDC_LOCATIONUPDATE,
                            IDC_BSLOCK};
    for (int i = 0; i < 9; ++i)
        ids.push_back(IDC_KEY1 + i);
    for (const auto& row : g_anNeighbourIds)
        ids.push_back(row[4]);
    return ids;
}
} // namespace

void CTessolyDlg::EnablePad(bool bEnable)
{
    for (int id : PadButtons())
        EnableDlgItem(id, bEnable);
}

void CTessolyDlg::ConnectPadControls()
{
    auto button = [this](int id) { return qobject_cast<QAbstractButton*>(GetDlgItem(id)); };
    // A review writes nothing and keeps the recorded conversation: no key works.
    auto bind = [this, &button](int id, void (CTessolyDlg::*handler)()) {
        if (QAbstractButton* b = button(id))
            connect(b, &QAbstractButton::clicked, this, [this, handler] {
                if (!m_bReview)
                    (this->*handler)();
            });
    };

    bind(IDC_POWER, &CTessolyDlg::OnPower);
    bind(IDC_YES, &CTessolyDlg::OnYes);
    bind(IDC_NO, &CTessolyDlg::OnNo);
    bind(IDC_CLR, &CTessolyDlg::OnClr);

    static const char* const keys[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9"};
    for (int i = 0; i < 9; ++i) {
        if (QAbstractButton* b = button(IDC_KEY1 + i)) {
            const char* key = keys[i];
            connect(b, &QAbstractButton::clicked, this, [this, key] {
                if (!m_bReview)
                    InsertKey(key);
            });
        }
    }
    if (QAbstractButton* b = button(IDC_KEYSTAR))
        connect(b, &QAbstractButton::clicked, this, [this] {
            if (!m_bReview)
                InsertKey("*");
        });
    if (QAbstractButton* b = button(IDC_KEY0))
        connect(b, &QAbstractButton::clicked, this, [this] {
            if (!m_bReview)
                InsertKey("0");
        });
    if (QAbstractButton* b = button(IDC_KEYHASH))
        connect(b, &QAbstractButton::clicked, this, [this] {
            if (!m_bReview)
                InsertKey("#");
        });

    if (auto* number = Item<QLineEdit>(IDC_NUMBER))
        connect(number, &QLineEdit::textChanged, this, [this] { OnChangeNumber(); });

    bind(IDC_SPEAKERUP, &CTessolyDlg::OnSpeakerUp);
    bind(IDC_SPEAKERDOWN, &CTessolyDlg::OnSpeakerDown);
    bind(IDC_LIBRARY, &CTessolyDlg::OnLibrary);
    bind(IDC_DATACONTENT, &CTessolyDlg::OnDataContent);
    bind(IDC_LOCATIONUPDATE, &CTessolyDlg::OnLocationUpdate);
    bind(IDC_BSLOCK, &CTessolyDlg::OnBsLock);

    for (int row = 1; row <= 6; ++row) {
        if (QAbstractButton* b = button(g_anNeighbourIds[row - 1][4]))
            connect(b, &QAbstractButton::clicked, this, [this, row] {
                if (!m_bReview)
                    OnGo(row);
            });
    }
}

void CTessolyDlg::OnPower()
{
    m_Sequencer.OnPower();
}

void CTessolyDlg::OnYes()
{
    m_Sequencer.OnYes(GetDlgItemText(IDC_NUMBER), GetDlgItemText(IDC_CALLTYPE));
    GotoDlgCtrl(IDC_NUMBER);
}

void CTessolyDlg::OnNo()
{
    m_Sequencer.OnNo(GetDlgItemText(IDC_NUMBER));
    GotoDlgCtrl(IDC_NUMBER);
}

void CTessolyDlg::InsertKey(const char* pszKey)
{
    if (!pszKey || !m_Sequencer.OnKey(pszKey))
        return;
    auto* number = Item<QLineEdit>(IDC_NUMBER);
    if (!number)
        return;
    GotoDlgCtrl(IDC_NUMBER);
    const QString key = QString::fromLatin1(pszKey);
    const QString t = number->text();
    if (t.isEmpty()) {
        number->setText(key);
        number->end(false);
        return;
    }
    // Insert at the caret; the caret ends just after the key.
    const int i = qBound(0, number->cursorPosition(), static_cast<int>(t.size()));
    number->setText(t.left(i) + key + t.mid(i));
    number->setCursorPosition(qMin(i + 1, static_cast<int>(number->text().size())));
}

void CTessolyDlg::OnChangeNumber()
{
    // Setting the text below raises this notification again: the loop does
    // the work of those nested calls.
    if (m_bInChangeNumber)
        return;
    const QString allowed = m_Sequencer.NumberCharacters();
    if (allowed.isEmpty())
        return;
    auto* number = Item<QLineEdit>(IDC_NUMBER);
    if (!number)
        return;
    m_bInChangeNumber = true;
    for (bool bChanged = true; bChanged;) {
        bChanged = false;
        QString t = number->text();
        for (int i = 0; i < t.size(); ++i) {
            if (!allowed.contains(t[i])) {
                t.remove(i, 1);
                number->setText(t);
                number->end(false);
                bChanged = true;
                break;
            }
        }
        t = number->text();
        const int star = t.indexOf(QLatin1String("**"));
        if (star >= 0) {
            t.replace(star, 2, QLatin1String("+"));
            number->setText(t);
            bChanged = true;
        }
    }
    m_bInChangeNumber = false;
}

void CTessolyDlg::OnSpeakerUp()
{
    SendData(AT_SPEAKER_UP);
    GotoDlgCtrl(IDC_NUMBER);
}

void CTessolyDlg::OnSpeakerDown()
{
    SendData(AT_SPEAKER_DOWN);
    GotoDlgCtrl(IDC_NUMBER);
}

void CTessolyDlg::OnLibrary()
{
    if (m_dlgLibrary.DoModal() == IDOK) {
        SetDlgItemText(IDC_NUMBER, m_dlgLibrary.m_strSelected);
        OnYes();
    }
    GotoDlgCtrl(IDC_NUMBER);
}

void CTessolyDlg::OnDataContent()
{
    if (m_dlgDataContent.DoModal() == IDOK)
        m_Sequencer.SetMessageText(AtMessageText(m_dlgDataContent.m_strContent));
    GotoDlgCtrl(IDC_NUMBER);
}

void CTessolyDlg::OnLocationUpdate()
{
    LocationUpdate();
    GotoDlgCtrl(IDC_NUMBER);
}

void CTessolyDlg::LocationUpdate()
{
    SendTrace(TRACE_LOCATION_UPDATE);
    m_Measurer.OnEvent(EVENT_LOCATION_UPDATE, QString());
}

void CTessolyDlg::OnBsLock()
{
    const bool bChecked = IsDlgButtonChecked(IDC_BSLOCK);
    if (bChecked) {
        QString s = GetDlgItemText(IDC_BSLOCK_CHANNEL);
        if (s.isEmpty())
            s = GetDlgItemText(IDC_BCCH);
        const int n = TextToInt(s);
        const int nChannel = ChannelPlan::Correct(n, kGapEnd);
        if (nChannel != n)
            s = QString::number(nChannel);
        if (TextToInt(s) == n) {
            LockChannel(s);
        } else {
            // Show the corrected channel; the user checks the box again to lock.
            SetDlgItemText(IDC_BSLOCK_CHANNEL, s);
            CheckDlgButton(IDC_BSLOCK, false);
            CUiServices::Beep();
        }
    } else {
        LockChannel(QString());
    }
    if (m_pFrame)
        m_pFrame->SetBsLock(IsDlgButtonChecked(IDC_BSLOCK));
}

void CTessolyDlg::LockChannel(const QString& strChannel)
{
    if (strChannel.isEmpty()) {
        m_strLockChannel = QStringLiteral("0\r");
        CheckDlgButton(IDC_BSLOCK, false);
    } else {
        m_strLockChannel = strChannel + QLatin1Char('\r');
        CheckDlgButton(IDC_BSLOCK, true);
        SetDlgItemText(IDC_BSLOCK_CHANNEL, strChannel);
    }
    GotoDlgCtrl(IDC_NUMBER);
    const QByteArray lock = m_strLockChannel.toLatin1();
    SendTrace(TRACE_LOCK_SELECT);
    SendTrace(lock.constData());
    SendTrace(TRACE_LOCK);
    SendTrace(lock.constData());
    m_Measurer.OnEvent(EVENT_BS_LOCK, strChannel.isEmpty() ? QStringLiteral("off") : strChannel);
}

void CTessolyDlg::SetBsLockCheck(bool bCheck)
{
    CheckDlgButton(IDC_BSLOCK, bCheck);
    OnBsLock();
}

void CTessolyDlg::OnGo(int nRow)
{
    if (nRow < 1 || nRow > 6)
        return;
    LockChannel(GetDlgItemText(g_anNeighbourIds[nRow - 1][0]));
}
