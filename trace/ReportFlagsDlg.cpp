#include "trace/ReportFlagsDlg.h"

#include <QAbstractButton>
#include <iterator>

#include "control/FrameHost.h"
#include "trace/StringE.h"

namespace {
struct FlagBox
{
    int nId;
    int nBit;
};

// The left column: one bit per box.
const FlagBox kLeftBoxes[] = {{1138, 0x10000}, {1135, 0x4000},   {1137, 0x8000}, {1111, 0x20},
                              {1113, 0x40},    {1112, 0x10},     {1127, 0x1000}, {1128, 0x400},
                              {1133, 0x80000}, {1134, 0x100000}, {1110, 0x8},    {1136, 0x200000}};

struct FlagGroup
{
    int nSwitch;       // the check box that switches the group on and off
    int nDefault;      // index of the alternative chosen when the group is switched on
    int nAlternatives; // 2 or 3
    FlagBox aAlt[3];   // in priority order: the first wins when several are set
};

const FlagGroup kGroups[] = {
    {1129, 1, 2, {{1131, 0x20000}, {1130, 0x1}, {0, 0}}},      // Idle Mode
    {1108, 1, 3, {{1132, 0x40000}, {1109, 0x2}, {1118, 0x4}}}, // Dedicated Mode
    {1114, 1, 2, {{1115, 0x200}, {1119, 0x100}, {0, 0}}},      // SACCH
    {1116, 1, 2, {{1117, 0x400000}, {1120, 0x2000}, {0, 0}}},  // Channel Request
    {1121, 1, 2, {{1122, 0x800000}, {1123, 0x80}, {0, 0}}},    // BCCH
    {1124, 1, 2, {{1125, 0x1000000}, {1126, 0x800}, {0, 0}}},  // Paging
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
    : CTemplateDialog(130, parent), m_pFrame(pFrame)
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
    onClick(1147, [this] { ApplyFlags(FLAGS_DEFAULT); });
    onClick(1148, [this] { ApplyFlags(FLAGS_ALL); });
    onClick(1149, [this] { OnLast(); });
    onClick(1150, [this] { ApplyFlags(FLAGS_RESET); });
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
