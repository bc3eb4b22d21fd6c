// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/UiServices.h"

#include <QApplication>
#include <QMessageBox>
#include <QThread>

#include "platform/TemplateDialog.h"

namespace {
int s_nBeeps = 0;
bool s_bWait = false;
CUiServices::MessageBoxAnswer s_pAnswer = nullptr;
} // namespace

void CUiServices::SetMessageBoxAnswer(MessageBoxAnswer pAnswer)
{
    s_pAnswer = pAnswer;
}

int CUiServices::MessageBox(QWidget* parent, const QString& text, Buttons buttons)
{
    if (s_pAnswer)
        return s_pAnswer(text, buttons);
    QMessageBox box(parent);
    box.setWindowTitle(QString::fromLatin1(AppTitle()));
    box.setText(text);
    box.setIcon(buttons == MB_OKCANCEL ? QMessageBox::Question : QMessageBox::Warning);
    if (buttons == MB_OKCANCEL) {
        box.setStandardButtons(QMessageBox::Ok | QMessageBox::Cancel);
        box.setDefaultButton(QMessageBox::Ok);
    } else {
        box.setStandardButtons(QMessageBox::Ok);
    }
    // A wait cursor must not hide the box's buttons from the user.
    const bool wasWaiting = s_bWait;
    if (wasWaiting)
        QApplication::setOverrideCursor(Qt::ArrowCursor);
    const int r = box.exec();
    if (wasWaiting)
        QApplication::restoreOverrideCursor();
    return r == QMessageBox::Ok ? IDOK : IDCANCEL;
}

QString CUiServices::ErrorText(int nKind, int nCode, const QString& text, int nPort)
{
    QString message;
    if (nKind == 2)
        message = QStringLiteral("%1 on COM%2\r\nError#: %3").arg(text).arg(nPort).arg(nCode);
    else
        message = QStringLiteral("%1\r\nTarn Error#: %2").arg(text).arg(nCode);
    message.truncate(255);
    return message;
}

void CUiServices::Beep()
{
    ++s_nBeeps;
    QApplication::beep();
}

int CUiServices::BeepCount()
{
    return s_nBeeps;
}

void CUiServices::WaitCursor()
{
    if (!s_bWait) {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        s_bWait = true;
    }
}

void CUiServices::ArrowCursor()
{
    if (s_bWait) {
        QApplication::restoreOverrideCursor();
        s_bWait = false;
    }
}

bool CUiServices::IsWaitCursor()
{
    return s_bWait;
}

void CUiServices::Pause(int ms)
{
    if (ms > 0)
        QThread::msleep(static_cast<unsigned long>(ms));
}
