// SPDX-License-Identifier: GPL-3.0-or-later
#include "shell/IdleSnapshot.h"

#include <QDir>
#include <QFileInfo>
#include <QPixmap>
#include <QSaveFile>
#include <QTimerEvent>

#include "control/TessolyDlg.h"
#include "platform/Diagnostics.h"
#include "shell/MainFrm.h"

namespace {
// Time given to the first reports after idle before the picture is taken.
const int kSettleMs = 1500;
} // namespace

CIdleSnapshot::CIdleSnapshot(CMainFrame* frame, const QString& path)
    : QObject(frame), m_pFrame(frame), m_strPath(path)
{
    CTessolyDlg* c = frame->m_pController.get();
    connect(c, &CTessolyDlg::DataLineHandled, this, &CIdleSnapshot::OnLineHandled);
    connect(c, &CTessolyDlg::TraceLineHandled, this, &CIdleSnapshot::OnLineHandled);
}

bool CIdleSnapshot::IsIdle() const
{
    const CTessolyDlg* c = m_pFrame->m_pController.get();
    return c && c->State() == STEP_IDLE && !c->IdleStatus().isEmpty() &&
           c->GetDlgItemText(IDC_STATUS) == c->IdleStatus();
}

void CIdleSnapshot::OnLineHandled()
{
    if (!m_bSaved && !m_settle.isActive() && IsIdle())
        m_settle.start(kSettleMs, this);
}

void CIdleSnapshot::timerEvent(QTimerEvent* e)
{
    if (e->timerId() != m_settle.timerId())
        return QObject::timerEvent(e);
    m_settle.stop();
    if (!IsIdle())
        return; // left idle meanwhile: wait for the next time
    m_bSaved = true;
    QDir().mkpath(QFileInfo(m_strPath).absolutePath());
    // Written whole or not at all, so a reader that waits for the file never sees half of it.
    QSaveFile file(m_strPath);
    if (!file.open(QIODevice::WriteOnly) || !m_pFrame->grab().save(&file, "PNG") || !file.commit())
        qCWarning(lcShell, "Cannot write the picture %s", qPrintable(m_strPath));
}
