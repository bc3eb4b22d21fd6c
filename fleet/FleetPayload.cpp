// SPDX-License-Identifier: GPL-3.0-or-later
#include "fleet/FleetPayload.h"

#include <array>

#include "measure/SampleFields.h"

namespace {
// The names of the fields as JSON keys, quoted, made once.
const QByteArray& Key(int nField)
{
    static const std::array<QByteArray, SAMPLE_FIELD_COUNT> keys = [] {
        std::array<QByteArray, SAMPLE_FIELD_COUNT> k;
        for (int i = 0; i < SAMPLE_FIELD_COUNT; ++i)
            k[i] = '"' + SampleFieldName(i).toUtf8() + "\":";
        return k;
    }();
    return keys[nField];
}

// A JSON string: quoted, with its quotes, backslashes and control characters escaped.
void AppendString(QByteArray& out, const QString& text)
{
    out += '"';
    for (const char c : text.toUtf8()) {
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (static_cast<unsigned char>(c) < 0x20) {
            out += "\\u00";
            out += "0123456789abcdef"[(c >> 4) & 0xF];
            out += "0123456789abcdef"[c & 0xF];
        } else {
            out += c;
        }
    }
    out += '"';
}

// "key":value, after a comma unless it is the first; a number as it is.
void AppendField(QByteArray& out, int nField, const QString& text)
{
    if (text.isEmpty())
        return;
    out += out.size() > 1 ? "," : "";
    out += Key(nField);
    if (IsSampleFieldNumber(nField))
        out += text.toLatin1();
    else
        AppendString(out, text);
}

void AppendFields(QByteArray& out, const SSample& sample, int nFirst, int nEnd)
{
    for (int i = nFirst; i < nEnd; ++i)
        AppendField(out, i, SampleFieldText(sample, i));
}
} // namespace

QByteArray SamplePayload(const SSample& sample)
{
    QByteArray out;
    out.reserve(512);
    out += '{';
    AppendFields(out, sample, 0, SAMPLE_FIELD_COUNT);
    out += '}';
    return out;
}

QByteArray EventPayload(const SMeasureEvent& event)
{
    QByteArray out = "{";
    AppendField(out, SAMPLE_FIELD_TIME, MeasureTimeText(event.time));
    AppendField(out, SAMPLE_FIELD_EVENT, QLatin1String(EventName(event.nEvent)));
    // The event's short text (the operator, the new cell, ...).
    if (!event.strText.isEmpty()) {
        out += ",\"text\":";
        AppendString(out, event.strText);
    }
    out += '}';
    return out;
}

QByteArray StatusPayload(const SFleetStatus& status)
{
    QByteArray out = "{\"status\":";
    out += status.bOnline ? "\"online\"" : "\"offline\"";
    if (!status.bOnline)
        return out + '}';
    if (!status.strOperator.isEmpty()) {
        out += ",\"operator\":";
        AppendString(out, status.strOperator);
    }
    // The serving cell: its fields of the latest sample.
    AppendFields(out, status.cell, SAMPLE_FIELD_MCC, SAMPLE_FIELD_BSIC + 1);
    out += ",\"version\":\"" TESSOLY_VERSION "\"";
    if (status.nDropped > 0)
        out += ",\"dropped\":" + QByteArray::number(status.nDropped);
    return out + '}';
}
