// SPDX-License-Identifier: GPL-3.0-or-later
// Fuzzes the front panel's handling of data-port lines in every state of
// the sequencer (and, mixed in, of trace-port lines). The ports stay
// closed, so nothing is written; message boxes are answered with OK without
// being shown; pauses are zero and the timers far too long to
// fire, so a run never waits.
//
// Input: the first byte selects the state to start in (any value 0 .. 39,
// numbers the sequencer does not know included); then lines cut at '\n',
// Latin-1 as the port delivers them. A line that starts with 0x01 sets the
// state to its next byte modulo 40; 0x02 hands the rest to the trace-line
// handling; 0x03 makes the rest the text of the message being sent; any
// other line is a data-port line.
#include "../tests/common/TestAccess.h"
#include "FuzzCommon.h"
#include "control/TessolyDlg.h"
#include "platform/FrameHost.h"
#include "platform/UiServices.h"

namespace {

const int kStates = 40;

// The main frame as far as the panel needs one.
class FuzzFrame : public CFrameHost
{
public:
    int IsPowerOffOnExit() const override { return 0; }
    int IsResetOnStart() const override { return 1; }
    QString GetTraceFlags() const override { return m_strFlags; }
    void SetTraceFlags(const QString& flags) override { m_strFlags = flags; }
    int HasTraceFlag(int mask) const override
    {
        bool ok = false;
        const uint v = m_strFlags.toUInt(&ok, 16);
        return ok && (v & static_cast<uint>(mask)) ? 1 : 0;
    }
    void SetBsLock(bool) override {}
    void PostCloseApp() override { ++m_nCloseApp; }
    void PostBcchClosed() override {}
    int MaxPowerDbm() const override { return m_pController->MaxPowerDbm(); }

    QString m_strFlags = QStringLiteral("FFFFFF");
    CTessolyDlg* m_pController = nullptr;
    int m_nCloseApp = 0;
};

// Message boxes are answered with OK without being built or shown.
int s_nBoxes = 0;
int AnswerOk(const QString&, CUiServices::Buttons)
{
    ++s_nBoxes;
    return IDOK;
}

FuzzFrame* s_pFrame = nullptr;
CTessolyDlg* s_pDlg = nullptr;

void MakePanel()
{
    s_pFrame = new FuzzFrame;
    s_pDlg = new CTessolyDlg(s_pFrame);
    s_pFrame->m_pController = s_pDlg;
    // No pauses; no timer fires within a run.
    s_pDlg->m_nPowerOnWait = 0;
    s_pDlg->m_nTraceCharDelay = 0;
    s_pDlg->m_nIdlePause = 0;
    s_pDlg->m_nClosePause = 0;
    const int kNever = 24 * 3600 * 1000;
    s_pDlg->m_nProbeInterval = kNever;
    s_pDlg->m_nPowerOffDelay = kNever;
    s_pDlg->m_nFirstRegPoll = kNever;
    s_pDlg->m_nRegPollInterval = kNever;
    s_pDlg->m_nRingTimeout = kNever;
    FUZZ_CHECK(s_pDlg->CreatePanel());
    s_pDlg->hide(); // nothing to paint
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::StartApplication();
    CUiServices::SetMessageBoxAnswer(AnswerOk);
    if (qEnvironmentVariableIsSet("FUZZ_STATS")) {
        // How many message boxes the inputs opened (and had answered).
        atexit([] { fprintf(stderr, "message boxes answered: %d\n", s_nBoxes); });
    }
    MakePanel();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const unsigned char* data, size_t size)
{
    CTessolyDlg& dlg = *s_pDlg;
    if (!dlg.DataPort() || !dlg.TracePort()) {
        // A fatal report deleted the channels: start over with a new panel.
        delete s_pDlg;
        delete s_pFrame;
        MakePanel();
        return 0;
    }
    // The same panel serves every input: bring back what one input may have
    // changed that the next would otherwise inherit.
    for (int id = 0; id < TIMER_COUNT; ++id)
        TestAccess::Sequencer(dlg).KillTimer(id);
    TestAccess::Count(dlg) = 0;
    TestAccess::RxQualReported(dlg) = false;
    TestAccess::IdleStatus(dlg).clear();
    TestAccess::MessageText(dlg).clear();
    TestAccess::Library(dlg).RemoveAllEntries();
    for (int i = 0; i < REPORT_NONE; ++i)
        TestAccess::Record(dlg).ClearReport(i);
    dlg.ResetScanLevels();
    TestAccess::SendPowerOn(dlg) = true;
    TestAccess::PowerOnTries(dlg) = 5;
    TestAccess::State(dlg) = size > 0 ? data[0] % kStates : 0;

    const QList<QByteArray> lines =
        size > 0 ? fuzz::Lines(data + 1, size - 1) : QList<QByteArray>();
    for (const QByteArray& bytes : lines) {
        const char cKind = bytes.isEmpty() ? 0 : bytes[0];
        if (cKind == '\x01') {
            TestAccess::State(dlg) =
                bytes.size() > 1 ? static_cast<unsigned char>(bytes[1]) % kStates : 0;
        } else if (cKind == '\x02') {
            dlg.HandleTraceLine(QString::fromLatin1(bytes.mid(1)));
        } else if (cKind == '\x03') {
            TestAccess::MessageText(dlg) = QString::fromLatin1(bytes.mid(1));
        } else {
            dlg.HandleDataLine(QString::fromLatin1(bytes));
        }
        // Closed ports: nothing went out, so nothing failed fatally.
        FUZZ_CHECK(dlg.DataPort() && dlg.TracePort());
        for (const QString& row : TestAccess::Library(dlg).m_arrEntries)
            FUZZ_CHECK(row.size() <= CLibraryDlg::kRowLength);
        FUZZ_CHECK(dlg.BarPos(IDC_RXLEV_BAR) >= 0 && dlg.BarPos(IDC_RXLEV_BAR) <= 63);
    }
    FUZZ_CHECK(s_pFrame->m_nCloseApp == 0);
    return 0;
}
