#include <QtGlobal>

#include "platform/DlgTemplate.h"

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
    case 100:
        return Template100();
    case 102:
        return Template102();
    case 103:
        return Template103();
    case 130:
        return Template130();
    case 161:
        return Template161();
    case 162:
        return Template162();
    case 175:
        return Template175();
    default:
        qFatal("no dialog template %d", id);
    }
}
