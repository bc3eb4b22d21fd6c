#pragma once

#include <QDialog>

class QComboBox;
class QSpinBox;

// The port-configuration stand-in: lets the user choose the numbers of the
// data and trace ports and put a device on each number ([PORTS] section).
class CPortConfig : public QDialog
{
    Q_OBJECT
public:
    // Shows the dialog modally. dataPort/tracePort of -1 start from the
    // numbers last chosen. Returns nonzero when the user confirmed; with
    // flag 0 the result is not relied on.
    static int ShowConfigureDlg(int dataPort, int tracePort, int flag);
    static int GetDataPort();
    static int GetTracePort();

    CPortConfig(int dataPort, int tracePort, QWidget* parent = nullptr);
    int DataPort() const;
    int TracePort() const;
    QString DataDevice() const;
    QString TraceDevice() const;

private:
    void FillDevices(QComboBox* box, int port);
    QSpinBox* m_pDataNumber;
    QSpinBox* m_pTraceNumber;
    QComboBox* m_pDataDevice;
    QComboBox* m_pTraceDevice;
};
