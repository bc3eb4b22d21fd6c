// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QDialog>
#include <QString>
#include <map>

#include "platform/DialogUnits.h"
#include "platform/DlgTemplate.h"

class QButtonGroup;

// A dialog built from a numbered template. The object lives on while its
// "window" (the controls) is created by Create or DoModal and destroyed by
// DestroyWindow or the end of the modal loop, so a later Create starts
// afresh, as with the original framework.
class CTemplateDialog : public QDialog
{
    Q_OBJECT
public:
    explicit CTemplateDialog(int templateId, QWidget* parent = nullptr);
    ~CTemplateDialog() override;

    // Modal: builds the controls, runs OnInitDialog and the modal loop,
    // destroys the controls and returns IDOK, IDCANCEL or the EndDialog code.
    virtual int DoModal();
    // Modeless: builds the controls, runs OnInitDialog and shows the window.
    bool Create();
    void DestroyWindow();
    bool HasWindow() const { return m_bHasWindow; }
    void EndDialog(int result);

    QWidget* GetDlgItem(int id) const;
    template <class T> T* Item(int id) const { return qobject_cast<T*>(GetDlgItem(id)); }
    void SetDlgItemText(int id, const QString& text);
    QString GetDlgItemText(int id) const;
    int GetDlgItemInt(int id) const; // decimal value at the start of the text, 0 if none
    // The same reading of any text: blanks first, an optional sign, decimal digits.
    static int TextToInt(const QString& text);
    void CheckDlgButton(int id, bool checked);
    bool IsDlgButtonChecked(int id) const;
    void EnableDlgItem(int id, bool enable);
    bool IsDlgItemEnabled(int id) const;
    void GotoDlgCtrl(int id);
    // The id of a control built from the template, -1 for anything else.
    static int CtrlId(const QWidget* w);

    // Registers the program's pictures (kept in the core library's resources).
    static void InitResources();

    const CDialogUnits& Units() const { return m_units; }
    const DlgTemplate& Template() const { return m_tpl; }
    // Rectangle of a control in pixels as the template gives it.
    QRect TemplateRect(int id) const;

protected:
    // Called after the controls exist; the place to bind and connect them.
    virtual void BindControls() {}
    virtual bool OnInitDialog() { return true; }
    virtual void OnDestroy() {}
    virtual void OnOK() { EndDialog(IDOK); }
    virtual void OnCancel() { EndDialog(IDCANCEL); }
    // Enter pressed where no control takes it; the default calls the
    // default button's action.
    virtual void OnEnterKey();
    // The close box; the default cancels.
    virtual void OnClose() { OnCancel(); }

    void keyPressEvent(QKeyEvent* e) override;
    void closeEvent(QCloseEvent* e) override;
    void reject() override;
    void accept() override;

    bool BuildControls();

private:
    QWidget* BuildControl(const CtlTemplate& c, QButtonGroup*& radioGroup);

    const DlgTemplate& m_tpl;
    CDialogUnits m_units;
    std::map<int, QWidget*> m_items;
    std::vector<QWidget*> m_all;
    bool m_bHasWindow = false;
    bool m_bModal = false;
    int m_nResult = IDCANCEL;
};
