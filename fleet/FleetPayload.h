// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include "measure/MeasureEvent.h"
#include "measure/Sample.h"

// The fleet feed's JSON messages. A sample or an event has the export's
// column names as keys and JSON numbers or strings as values; a value the
// module has not reported is left out.
QByteArray SamplePayload(const SSample& sample);
QByteArray EventPayload(const SMeasureEvent& event);

// What the status topic says of one panel.
struct SFleetStatus
{
    bool bOnline = false;
    QString strOperator; // as registered; empty before
    SSample cell;        // the serving cell of the latest sample
    qint64 nDropped = 0; // messages dropped from a full queue since start
};

// {"status":"online","operator":...,"mcc":...,"version":...,"dropped":N},
// or {"status":"offline"}.
QByteArray StatusPayload(const SFleetStatus& status);
