#include "trace/ReportFlagsDlg.h"

#include <QAbstractButton>
#include <iterator>

#include "control/FrameHost.h"
#include "protocol/ReportFlags.h"
#include "trace/StringE.h"

namespace {
struct FlagBox
{
    int nId;
    unsigned nBit;
};

// The left column: one bit per box.
const FlagBox kLeftBoxes[] = {{1138, RF_FULL_IDLE_CHAN_DESC},
                              {1135, RF_IDLE_CHAN_DESC},
                              {1137, RF_DED_CHAN_DESC},
                              {1111, RF_LAYER1},
                              {1113, RF_LAYER3},
                              {1112, RF_C2},
                              {1127, RF_SYNCH},
                              {1128, RF_MEASUREMENT},
                              {1133, RF_BA},
                              {1134, RF_CA},
                              {1110, RF_PATH_LOSS},
                              {1136, RF_SERVICE_STATE}};

struct FlagGroup
{
    int nSwitch;       // the check box that switches the group on and off
    int nDefault;      // index of the alternative chosen when the group is switched on
    int nAlternatives; // 2 or 3
    FlagBox aAlt[3];   // in priority order: the first wins when several are set
};

const FlagGroup kGroups[] = {
    {1129, 1, 2, {{1131, RF_IDLE_FULL}, {1130, RF_IDLE_STANDARD}, {0, 0}}}, // Idle Mode
    {1108,
     1,
     3,
     {{1132, RF_DED_FULL}, {1109, RF_DED_STANDARD}, {1118, RF_DED_FER}}},         // Dedicated Mode
    {1114, 1, 2, {{1115, RF_SACCH_COMPLETE}, {1119, RF_SACCH_STANDARD}, {0, 0}}}, // SACCH
    {1116,
     1,
     2,
     {{1117, RF_CHAN_REQ_REST}, {1120, RF_CHAN_REQ_STANDARD}, {0, 0}}},         // Channel Request
    {1121, 1, 2, {{1122, RF_BCCH_REST}, {1123, RF_BCCH_STANDARD}, {0, 0}}},     // BCCH
    {1124, 1, 2, {{1125, RF_PAGING_REST}, {1126, RF_PAGING_STANDARD}, {0, 0}}}, // Paging
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
    onClick(1147, [this] { ApplyFlags(RF_DEFAULT); });
    onClick(1148, [this] { ApplyFlags(RF_ALL); });
    onClick(1149, [this] { OnLast(); });
    onClick(1150, [this] { ApplyFlags(0); });
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
