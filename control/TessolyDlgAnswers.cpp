// The panel's handling of data-port lines.
#include "control/TessolyDlg.h"

#include "serial/SerialPort.h"
#include "serial/TrafficLog.h"

void CTessolyDlg::OnDataLine()
{
    if (!m_pDataPort)
        return;
    const QString line = m_pDataPort->GetLine();
    if (m_pLog)
        m_pLog->Log(LOG_DATA, "D<, ", line);
    HandleDataLine(line);
    emit DataLineHandled(line);
}

void CTessolyDlg::HandleDataLine(const QString&) {}
