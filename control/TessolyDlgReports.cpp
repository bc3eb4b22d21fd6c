// The panel's handling of trace-port lines.
#include "control/TessolyDlg.h"

#include "serial/SerialPort.h"
#include "serial/TrafficLog.h"

void CTessolyDlg::OnTraceLine()
{
    if (!m_pTracePort)
        return;
    const QString line = m_pTracePort->GetLine();
    if (m_pLog)
        m_pLog->Log(LOG_TRACE, "t<, ", line);
    HandleTraceLine(line);
    emit TraceLineHandled(line);
}

void CTessolyDlg::HandleTraceLine(const QString&) {}
void CTessolyDlg::ShowReport(int) {}
void CTessolyDlg::ShowNeighbours(int) {}
void CTessolyDlg::SendTraceFlags() {}
