// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QBasicTimer>
#include <QObject>
#include <QString>

class CMainFrame;

// Saves a picture of the main window as PNG once the panel has first come to
// idle (the operator's name in the status line) and shown the reports that
// follow. Asked for through the environment, TESSOLY_SCREENSHOT=FILE, by
// unattended runs that have no screen to look at.
class CIdleSnapshot : public QObject
{
    Q_OBJECT
public:
    CIdleSnapshot(CMainFrame* frame, const QString& path);
    static const char* EnvName() { return "TESSOLY_SCREENSHOT"; }
    bool IsSaved() const { return m_bSaved; }

protected:
    void timerEvent(QTimerEvent* e) override;

private:
    bool IsIdle() const;
    void OnLineHandled();

    CMainFrame* m_pFrame;
    QString m_strPath;
    QBasicTimer m_settle;
    bool m_bSaved = false;
};
