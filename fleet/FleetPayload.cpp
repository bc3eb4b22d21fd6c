// SPDX-License-Identifier: GPL-3.0-or-later
#include "fleet/FleetPayload.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <optional>

namespace {
// Interim: the sample's columns until the export's field list is in.
void Put(QJsonObject& o, const char* key, const std::optional<int>& value)
{
    if (value)
        o.insert(QLatin1String(key), *value);
}

void Put(QJsonObject& o, const char* key, double value)
{
    if (!std::isnan(value))
        o.insert(QLatin1String(key), value);
}

QString TimeText(const QDateTime& t)
{
    return t.toUTC().toString(Qt::ISODateWithMs);
}

QJsonObject SampleObject(const SSample& s)
{
    QJsonObject o;
    o.insert(QStringLiteral("time"), TimeText(s.time));
    if (s.fix.IsFix()) {
        Put(o, "lat", s.fix.dLat);
        Put(o, "lon", s.fix.dLon);
        Put(o, "alt_m", s.fix.dAltM);
        Put(o, "speed_kmh", s.fix.dSpeedKmh);
        Put(o, "err_m", s.fix.dErrM);
        o.insert(QStringLiteral("fix"), s.fix.nMode == SGpsFix::FIX_3D ? "3d" : "2d");
    }
    o.insert(QStringLiteral("mode"), s.nMode == SSample::MODE_DEDICATED ? "dedicated" : "idle");
    Put(o, "mcc", s.nMcc);
    Put(o, "mnc", s.nMnc);
    Put(o, "lac", s.nLac);
    Put(o, "ci", s.nCi);
    Put(o, "bcch", s.nBcch);
    Put(o, "bsic", s.nBsic);
    Put(o, "rxlev_dbm", s.nRxLevDbm);
    Put(o, "rxqual", s.nRxQual);
    Put(o, "ta", s.nTa);
    Put(o, "txpwr_dbm", s.nTxPwrDbm);
    for (int i = 0; i < 6; ++i) {
        const QByteArray n = "n" + QByteArray::number(i + 1) + "_";
        Put(o, (n + "bcch").constData(), s.aNeighbour[i].nBcch);
        Put(o, (n + "bsic").constData(), s.aNeighbour[i].nBsic);
        Put(o, (n + "rxlev_dbm").constData(), s.aNeighbour[i].nRxLevDbm);
    }
    return o;
}

QByteArray Compact(const QJsonObject& o)
{
    return QJsonDocument(o).toJson(QJsonDocument::Compact);
}
} // namespace

QByteArray SamplePayload(const SSample& sample)
{
    return Compact(SampleObject(sample));
}

QByteArray EventPayload(const SMeasureEvent& event)
{
    QJsonObject o;
    o.insert(QStringLiteral("time"), TimeText(event.time));
    if (const char* name = EventName(event.nEvent))
        o.insert(QStringLiteral("event"), QLatin1String(name));
    if (!event.strText.isEmpty())
        o.insert(QStringLiteral("text"), event.strText);
    return Compact(o);
}

QByteArray StatusPayload(const SFleetStatus& status)
{
    QJsonObject o;
    o.insert(QStringLiteral("status"), status.bOnline ? "online" : "offline");
    if (!status.bOnline)
        return Compact(o);
    if (!status.strOperator.isEmpty())
        o.insert(QStringLiteral("operator"), status.strOperator);
    // The serving cell: its columns of a sample.
    const QJsonObject sample = SampleObject(status.cell);
    for (const char* key : {"mcc", "mnc", "lac", "ci", "bcch", "bsic"}) {
        const auto it = sample.find(QLatin1String(key));
        if (it != sample.end())
            o.insert(it.key(), it.value());
    }
    o.insert(QStringLiteral("version"), QStringLiteral(TESSOLY_VERSION));
    if (status.nDropped > 0)
        o.insert(QStringLiteral("dropped"), status.nDropped);
    return Compact(o);
}
