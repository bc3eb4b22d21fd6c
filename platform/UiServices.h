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
    static void Beep();
    static int BeepCount(); // beeps sounded since start, for tests and diagnostics
    static void WaitCursor();
    static void ArrowCursor();
    static bool IsWaitCursor();
    // Blocks the calling thread; no events are handled meanwhile.
    static void Pause(int ms);
    static const char* AppTitle() { return "Tessoly"; }
};
