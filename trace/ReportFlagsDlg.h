// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include "platform/TemplateDialog.h"

class CFrameHost;

// The Report Flags dialog: edits the report-flag word of the main frame as
// twelve check boxes and six groups of alternatives, with four presets.
// OK stores the word as lower-case hexadecimal text; Cancel stores nothing.
class CReportFlagsDlg : public CTemplateDialog
{
    Q_OBJECT
public:
    explicit CReportFlagsDlg(CFrameHost* pFrame, QWidget* parent = nullptr);
    ~CReportFlagsDlg() override;

    // Makes the word the working word and shows it; a group with more than
    // one alternative set keeps only its first one.
    void ApplyFlags(int nFlags);
    int Flags() const { return m_nFlags; }

    int m_nFlags = 0;

protected:
    void BindControls() override;
    bool OnInitDialog() override;
    void OnOK() override;

private:
    void OnLast();
    void OnLeftBox(int nIndex);
    void OnGroupBox(int nGroup);
    void OnAlternative(int nGroup, int nAlt);
    void ShowGroup(int nGroup);

    CFrameHost* m_pFrame;
};
