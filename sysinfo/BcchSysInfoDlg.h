// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "platform/TemplateDialog.h"
#include "res/Ids175.h"
#include "sysinfo/SysInfoDecoder.h"

class CFrameHost;
class CTraceReport;
class QPlainTextEdit;
class QTreeWidget;

// The modeless BCCH System Info dialog (template 175): a tree of the System
// Information types 1 to 4 and their elements, and a read-only text field
// that shows the latest octets of the selected element's type and the
// element decoded. One object lives as long as the main frame; its window
// is created on demand and destroyed by the frame when it is closed.
class CBcchSysInfoDlg : public CTemplateDialog, public CSysInfoDecoder
{
    Q_OBJECT
public:
    // Stores the frame; creates no window.
    // pReport: the record the dialog shows (null: no data to show).
    CBcchSysInfoDlg(CFrameHost* pFrame, const CTraceReport* pReport, QWidget* parent = nullptr);
    ~CBcchSysInfoDlg() override;

    // The text last put into the text field, with its "\r\n" line ends.
    const QString& Text() const { return m_strText; }
    QTreeWidget* Tree() const { return m_treeTypes; }
    QPlainTextEdit* TextField() const { return m_edtText; }

    // The tree's selection moved to a new item.
    void OnSelChangedTree();

protected:
    void BindControls() override;
    bool OnInitDialog() override;
    void OnDestroy() override;
    void OnOK() override;
    void OnCancel() override;
    void OnClose() override;

private:
    void SetText(const QString& strText);
    // Posts the closed message to the frame and takes the window off the
    // screen; the frame destroys it.
    void CloseWindow();

    CFrameHost* m_pFrame;
    // Read only: the dialog shows the record and never changes the panel.
    const CTraceReport* m_pReport;
    QPlainTextEdit* m_edtText = nullptr;
    QTreeWidget* m_treeTypes = nullptr;
    QString m_strText;
};
