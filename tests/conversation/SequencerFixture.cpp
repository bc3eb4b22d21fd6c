// SPDX-License-Identifier: GPL-3.0-or-later
#include "SequencerFixture.h"

#include "platform/UiServices.h"
#include "protocol/AtCommands.h"

bool RecordingView::ReportError(int nKind, int nCode, bool bFatal, const char* pszText, int nPort)
{
    if (nCode == 0)
        return true;
    messages << CUiServices::ErrorText(nKind, nCode, QString::fromLatin1(pszText), nPort);
    if (bFatal)
        ++fatalReports;
    return false;
}

int RecordingWriter::SendData(const char* pszCommand, const char* pszArgument,
                              const char* pszSuffix)
{
    const QByteArray line = AtCommandLine(pszCommand, pszArgument, pszSuffix);
    if (line.isEmpty() || (holds && holds()))
        return 0;
    data += line;
    log << QStringLiteral("D>, ") + QString::fromLatin1(line).trimmed();
    if (onData)
        onData(line);
    return 0;
}

int RecordingWriter::SendTrace(const char* pszCommand, const char* pszArgument,
                               const char* pszSuffix)
{
    const QByteArray text = QByteArray(pszCommand ? pszCommand : "") +
                            (pszArgument ? pszArgument : "") + (pszSuffix ? pszSuffix : "");
    if (traceResult != 0)
        return traceResult;
    trace += text;
    log << QStringLiteral("t>, ") + QString::fromLatin1(text).trimmed();
    return 0;
}

SequencerTest::SequencerTest()
{
    seq.m_nPowerOnWait = 0;
    seq.m_nIdlePause = 0;
    writer.holds = [this] { return seq.HoldsDataCommands(); };
}

SequencerTest::~SequencerTest()
{
    seq.StopTimers();
}
