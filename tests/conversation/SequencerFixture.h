// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QStringList>
#include <functional>
#include <gtest/gtest.h>
#include <utility>

#include "TestAccess.h"
#include "conversation/ModuleWriter.h"
#include "conversation/Sequencer.h"
#include "conversation/SequencerView.h"

// The panel as the module's conversation sees it: what it was told to show,
// in fields, and every call in order.
class RecordingView : public CSequencerView
{
public:
    void ShowStatus(const QString& s) override { Call(QStringLiteral("status ") + (status = s)); }
    void RepaintStatus() override { Call(QStringLiteral("repaint status")); }
    void SetPowerButton(const QString& s) override { powerButton = s; }
    void ShowImei(const QString& s) override { imei = s; }
    void ShowImsi(const QString& s) override { imsi = s; }
    void ShowRegistration(const QString& s) override { registration = s; }
    void ShowNumber(const QString& s) override { Call(QStringLiteral("number ") + (number = s)); }
    void ShowCaller(const QString& s) override { Call(QStringLiteral("caller ") + (number = s)); }
    void EnableNumber(bool b) override { numberEnabled = b; }
    void FocusNumber() override { ++numberFocus; }
    void ResetCallType() override { ++callTypeResets; }
    void ClearServingCell() override { ++servingCellClears; }
    void ClearBsLock() override { ++bsLockClears; }
    void ClearMeters() override { ++meterClears; }
    void EnableCallMeters() override { callMeters = true; }
    void DisableCallMeters() override { callMeters = false; }
    void ClearReport(int nReport) override { clearedReports << nReport; }
    void ClearLibrary() override { library.clear(); }
    void AddLibraryEntry(int nIndex, const QString& name, const QString& number) override
    {
        library << QStringLiteral("%1|%2|%3").arg(nIndex).arg(name, number);
    }
    void WaitCursor() override { waitCursor = true; }
    void ArrowCursor() override { waitCursor = false; }
    void Beep() override { ++beeps; }
    void Pause(int nMs) override { Call(QStringLiteral("pause %1").arg(nMs)); }
    bool Confirm(const QString& q) override
    {
        messages << q;
        return confirm;
    }
    bool ReportError(int nKind, int nCode, bool bFatal, const char* pszText, int nPort) override;
    bool IsResetOnStart() const override { return resetOnStart; }
    QString TraceFlags() const override { return traceFlags; }

    QString status, powerButton, imei, imsi, registration, number;
    bool numberEnabled = true;
    int numberFocus = 0;
    int callTypeResets = 0, servingCellClears = 0, bsLockClears = 0, meterClears = 0;
    bool callMeters = false;
    QList<int> clearedReports;
    QStringList library; // "index|name|number"
    bool waitCursor = false;
    int beeps = 0;
    QStringList messages; // the boxes' texts, as the panel shows them
    int fatalReports = 0;
    QStringList calls; // status, number, caller, repaint and pause calls in order

    bool confirm = true;
    bool resetOnStart = false;
    QString traceFlags = QStringLiteral("FFFFFF");

private:
    void Call(const QString& c) { calls << c; }
};

// The two ports as the conversation writes to them: the bytes each would
// carry, and the log entries the panel would make of them.
class RecordingWriter : public CModuleWriter
{
public:
    int SendData(const char* pszCommand, const char* pszArgument = nullptr,
                 const char* pszSuffix = nullptr) override;
    int SendTrace(const char* pszCommand, const char* pszArgument = nullptr,
                  const char* pszSuffix = nullptr) override;
    int DataPortNumber() const override { return 1; }

    QByteArray data, trace;
    QStringList log;                               // "D>, AT", "t>, **O", ...
    int traceResult = 0;                           // the failure code of trace writes
    std::function<bool()> holds;                   // no data command goes out while this holds
    std::function<void(const QByteArray&)> onData; // each data line as it goes out
};

// A sequencer on a recording view and writer, every pause shortened.
class SequencerTest : public ::testing::Test
{
protected:
    SequencerTest();
    ~SequencerTest() override;

    // What went to a port since the last look.
    QByteArray Data() { return std::exchange(writer.data, QByteArray()); }
    QByteArray Trace() { return std::exchange(writer.trace, QByteArray()); }
    void Drain()
    {
        Data();
        Trace();
    }
    // Puts the sequencer into a state without running its step.
    void SetState(int n) { TestAccess::State(seq) = n; }
    void Line(const char* psz) { seq.HandleDataLine(QString::fromLatin1(psz)); }

    RecordingView view;
    RecordingWriter writer;
    CSequencer seq{&view, &writer};
};
