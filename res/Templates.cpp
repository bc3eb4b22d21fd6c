// SPDX-License-Identifier: GPL-3.0-or-later
#include <QtGlobal>

#include "platform/DlgTemplate.h"
#include "res/TemplateIds.h"

const DlgTemplate& Template100();
const DlgTemplate& Template102();
const DlgTemplate& Template103();
const DlgTemplate& Template130();
const DlgTemplate& Template161();
const DlgTemplate& Template162();
const DlgTemplate& Template175();

const DlgTemplate& GetDlgTemplate(int id)
{
    switch (id) {
    case IDD_ABOUT:
        return Template100();
    case IDD_PANEL:
        return Template102();
    case IDD_SCAN:
        return Template103();
    case IDD_REPORT_FLAGS:
        return Template130();
    case IDD_DATA_CONTENT:
        return Template161();
    case IDD_LIBRARY:
        return Template162();
    case IDD_BCCH_SYSINFO:
        return Template175();
    default:
        qFatal("no dialog template %d", id);
    }
}
