// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

class QWidget;

// The small platform services the program uses everywhere: message boxes
// with the application title, the default beep, the wait and arrow cursors
// and the fixed pauses of the user-interface thread.
class CUiServices
{
public:
    enum Buttons
    {
        MB_OK,
        MB_OKCANCEL
    };
    // Shows a modal message box captioned "Tessoly"; returns IDOK or IDCANCEL.
    static int MessageBox(QWidget* parent, const QString& text, Buttons buttons = MB_OK);
    // Where no one is there to answer (the fuzz targets), a function can
    // answer every message box instead, and none is shown; null shows them.
    using MessageBoxAnswer = int (*)(const QString& text, Buttons buttons);
    static void SetMessageBoxAnswer(MessageBoxAnswer pAnswer);
    // The text of an error report's box: the text, a line break, "Tarn
    // Error#: " and the code (kind 1), or the text, " on COM" and the port,
    // a line break, "Error#: " and the code (kind 2); at most 255 characters.
    static QString ErrorText(int nKind, int nCode, const QString& text, int nPort);
    static void Beep();
    static int BeepCount(); // beeps sounded since start, for tests and diagnostics
    static void WaitCursor();
    static void ArrowCursor();
    static bool IsWaitCursor();
    // Blocks the calling thread; no events are handled meanwhile.
    static void Pause(int ms);
    static const char* AppTitle() { return "Tessoly"; }
};
