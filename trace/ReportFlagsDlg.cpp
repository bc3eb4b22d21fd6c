// SPDX-License-Identifier: GPL-3.0-or-later
#include "trace/ReportFlagsDlg.h"

#include <QAbstractButton>
#include <iterator>

#include "platform/FrameHost.h"
#include "protocol/ReportFlags.h"
#include "protocol/StringE.h"
#include "res/Ids130.h"
#include "res/TemplateIds.h"

namespace {
struct FlagBox
{
    int nId;
    unsigned nBit;
};

// The left column: one bit per box.
const FlagBox kLeftBoxes[] = {{IDC_RF_FULL_IDLE_CHAN_DESC, RF_FULL_IDLE_CHAN_DESC},
                              {IDC_RF_IDLE_CHAN_DESC, RF_IDLE_CHAN_DESC},
                              {IDC_RF_DED_CHAN_DESC, RF_DED_CHAN_DESC},
                              {IDC_RF_LAYER1, RF_LAYER1},
                              {IDC_RF_LAYER3, RF_LAYER3},
                              {IDC_RF_C2, RF_C2},
                              {IDC_RF_SYNCH, RF_SYNCH},
                              {IDC_RF_MEASUREMENT, RF_MEASUREMENT},
                              {IDC_RF_BA, RF_BA},
                              {IDC_RF_CA, RF_CA},
                              {IDC_RF_PATH_LOSS, RF_PATH_LOSS},
                              {IDC_RF_SERVICE_STATE, RF_SERVICE_STATE}};

struct FlagGroup
{
    int nSwitch;       // the check box that switches the group on and off
    int nDefault;      // index of the alternative chosen when the group is switched on
    int nAlternatives; // 2 or 3
    FlagBox aAlt[3];   // in priority order: the first wins when several are set
};

const FlagGroup kGroups[] = {
    {IDC_RF_IDLE,
     1,
     2,
     {{IDC_RF_IDLE_FULL, RF_IDLE_FULL}, {IDC_RF_IDLE_STANDARD, RF_IDLE_STANDARD}, {0, 0}}},
    {IDC_RF_DED,
     1,
     3,
     {{IDC_RF_DED_FULL, RF_DED_FULL},
      {IDC_RF_DED_STANDARD, RF_DED_STANDARD},
      {IDC_RF_DED_FER, RF_DED_FER}}},
    {IDC_RF_SACCH,
     1,
     2,
     {{IDC_RF_SACCH_COMPLETE, RF_SACCH_COMPLETE},
      {IDC_RF_SACCH_STANDARD, RF_SACCH_STANDARD},
      {0, 0}}},
    {IDC_RF_CHAN_REQ,
     1,
     2,
     {{IDC_RF_CHAN_REQ_REST, RF_CHAN_REQ_REST},
      {IDC_RF_CHAN_REQ_STANDARD, RF_CHAN_REQ_STANDARD},
      {0, 0}}},
    {IDC_RF_BCCH,
     1,
     2,
     {{IDC_RF_BCCH_REST, RF_BCCH_REST}, {IDC_RF_BCCH_STANDARD, RF_BCCH_STANDARD}, {0, 0}}},
    {IDC_RF_PAGING,
     1,
     2,
     {{IDC_RF_PAGING_REST, RF_PAGING_REST}, {IDC_RF_PAGING_STANDARD, RF_PAGING_STANDARD}, {0, 0}}},
};

int GroupMask(const FlagGroup& g)
{
    int nMask = 0;
    for (int i = 0; i < g.nAlternatives; ++i)
        nMask |= g.aAlt[i].nBit;
    return nMask;
}
} // namespace

CReportFlagsDlg::CReportFlagsDlg(CFrameHost* pFrame, QWidget* parent)
    : CTemplateDialog(IDD_REPORT_FLAGS, parent), m_pFrame(pFrame)
{
}

CReportFlagsDlg::~CReportFlagsDlg() = default;

void CReportFlagsDlg::BindControls()
{
    auto onClick = [this](int nId, auto handler) {
        if (auto* b = Item<QAbstractButton>(nId))
            connect(b, &QAbstractButton::clicked, this, handler);
    };
    for (int i = 0; i < int(std::size(kLeftBoxes)); ++i)
        onClick(kLeftBoxes[i].nId, [this, i] { OnLeftBox(i); });
    for (int g = 0; g < int(std::size(kGroups)); ++g) {
        onClick(kGroups[g].nSwitch, [this, g] { OnGroupBox(g); });
        for (int a = 0; a < kGroups[g].nAlternatives; ++a)
            onClick(kGroups[g].aAlt[a].nId, [this, g, a] { OnAlternative(g, a); });
    }
    onClick(IDC_RF_DEFAULT, [this] { ApplyFlags(RF_DEFAULT); });
    onClick(IDC_RF_ALL, [this] { ApplyFlags(RF_ALL); });
    onClick(IDC_RF_LAST, [this] { OnLast(); });
    onClick(IDC_RF_RESET, [this] { ApplyFlags(0); });
}

bool CReportFlagsDlg::OnInitDialog()
{
    OnLast();
    return true;
}

void CReportFlagsDlg::OnLast()
{
    ApplyFlags(m_pFrame ? CStringE(m_pFrame->GetTraceFlags()).ToInt(16) : 0);
}

void CReportFlagsDlg::ApplyFlags(int nFlags)
{
    m_nFlags = nFlags;
    for (int g = 0; g < int(std::size(kGroups)); ++g) {
        const FlagGroup& grp = kGroups[g];
        // The first alternative set in priority order wins.
        for (int a = 0; a < grp.nAlternatives; ++a) {
            if (m_nFlags & grp.aAlt[a].nBit) {
                m_nFlags &= ~(GroupMask(grp) & ~grp.aAlt[a].nBit);
                break;
            }
        }
        ShowGroup(g);
    }
    for (const FlagBox& b : kLeftBoxes)
        CheckDlgButton(b.nId, (m_nFlags & b.nBit) != 0);
}

void CReportFlagsDlg::ShowGroup(int nGroup)
{
    const FlagGroup& grp = kGroups[nGroup];
    const bool bOn = (m_nFlags & GroupMask(grp)) != 0;
    CheckDlgButton(grp.nSwitch, bOn);
    for (int a = 0; a < grp.nAlternatives; ++a) {
        CheckDlgButton(grp.aAlt[a].nId, (m_nFlags & grp.aAlt[a].nBit) != 0);
        EnableDlgItem(grp.aAlt[a].nId, bOn);
    }
}

void CReportFlagsDlg::OnLeftBox(int nIndex)
{
    const FlagBox& b = kLeftBoxes[nIndex];
    if (IsDlgButtonChecked(b.nId))
        m_nFlags |= b.nBit;
    else
        m_nFlags &= ~b.nBit;
}

void CReportFlagsDlg::OnGroupBox(int nGroup)
{
    const FlagGroup& grp = kGroups[nGroup];
    const bool bOn = IsDlgButtonChecked(grp.nSwitch);
    m_nFlags &= ~GroupMask(grp);
    if (bOn)
        m_nFlags |= grp.aAlt[grp.nDefault].nBit;
    for (int a = 0; a < grp.nAlternatives; ++a) {
        CheckDlgButton(grp.aAlt[a].nId, bOn && a == grp.nDefault);
        EnableDlgItem(grp.aAlt[a].nId, bOn);
    }
}

void CReportFlagsDlg::OnAlternative(int nGroup, int nAlt)
{
    const FlagGroup& grp = kGroups[nGroup];
    // A chosen alternative stays chosen when it is clicked again.
    CheckDlgButton(grp.aAlt[nAlt].nId, true);
    m_nFlags = (m_nFlags & ~GroupMask(grp)) | grp.aAlt[nAlt].nBit;
    for (int a = 0; a < grp.nAlternatives; ++a) {
        if (a != nAlt)
            CheckDlgButton(grp.aAlt[a].nId, false);
    }
}

void CReportFlagsDlg::OnOK()
{
    if (m_pFrame)
        m_pFrame->SetTraceFlags(CStringE(m_nFlags, 16));
    EndDialog(IDOK);
}
