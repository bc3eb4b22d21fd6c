// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QList>

class QComboBox;
class QLabel;
class QSpinBox;

// A port that did not open, and why (CPortProblem's words).
struct SPortFailure
{
    bool bTrace;       // the trace port, else the data port
    int nPort;         // its number
    QString strDevice; // the device tried
    QString strReason;
};

// The port-configuration stand-in: lets the user choose the numbers of the
// data and trace ports and put a device on each number ([PORTS] section).
// Shown after ports failed to open, it says which and why.
class CPortConfig : public QDialog
{
    Q_OBJECT
public:
    // Shows the dialog modally. dataPort/tracePort of -1 start from the
    // numbers last chosen. Returns nonzero when the user confirmed; with
    // flag 0 the result is not relied on. failures are the ports of the
    // last attempt that did not open.
    static int ShowConfigureDlg(int dataPort, int tracePort, int flag,
                                const QList<SPortFailure>& failures = {});
    static int GetDataPort();
    static int GetTracePort();

    CPortConfig(int dataPort, int tracePort, QWidget* parent = nullptr);
    void ShowFailures(const QList<SPortFailure>& failures);
    int DataPort() const;
    int TracePort() const;
    QString DataDevice() const;
    QString TraceDevice() const;
    // The text that says which ports failed and why; empty when none did.
    QString FailureText() const;

private:
    void FillDevices(QComboBox* box, int port);
    static QString ChosenDevice(const QComboBox* box);
    QSpinBox* m_pDataNumber;
    QSpinBox* m_pTraceNumber;
    QComboBox* m_pDataDevice;
    QComboBox* m_pTraceDevice;
    QWidget* m_pFailures;
    QLabel* m_pFailureText;
};
