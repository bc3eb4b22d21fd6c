#pragma once

// Placeholder: the trace report record is being built in its own work.
enum
{
    REPORT_SCAN_DATA = 35,
    REPORT_NONE = 36
};

class CTraceReport
{
public:
    CTraceReport() {}
    void ClearReport(int) {}
};
