// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QStringList>
#include <functional>

class QWidget;

// Answers modal message boxes and dialogs as they appear, so that a test
// never hangs on one. It records the text of every message box it saw.
// By default a message box is answered with its default button (OK); set
// a handler to answer dialogs or to choose another button.
class ModalAnswerer : public QObject
{
    Q_OBJECT
public:
    ModalAnswerer();
    ~ModalAnswerer() override;

    // Called with each modal widget that appears; return true when handled.
    // Without a handler, message boxes get their default button and other
    // dialogs are rejected.
    std::function<bool(QWidget*)> handler;
    // Answer message boxes with Cancel instead of OK.
    bool answerCancel = false;

    QStringList messages; // texts of the message boxes seen, in order
    int dialogsSeen = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Answer(QWidget* w);
};
