// SPDX-License-Identifier: GPL-3.0-or-later
#include "fleet/FleetPayload.h"

#include <algorithm>
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

bool NeedsEscape(char c)
{
    return c == '"' || c == '\\' || static_cast<unsigned char>(c) < 0x20;
}

// The UTF-8 text of a JSON string, with its quotes, backslashes and control
// characters escaped.
void AppendEscaped(QByteArray& out, const QByteArray& text)
{
    for (const char c : text) {
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
}

// A JSON string, quoted.
void AppendString(QByteArray& out, const QString& text)
{
    out += '"';
    AppendEscaped(out, text.toUtf8());
    out += '"';
}

// "key":value after a comma unless it is the first, a number as it is, a
// text quoted; nothing for an unknown value. The field writes itself into
// the message, which is taken back when it wrote nothing.
void AppendField(QByteArray& out, const SSample& sample, int nField)
{
    const qsizetype nStart = out.size();
    if (nStart > 1)
        out += ',';
    out += Key(nField);
    const bool bText = !IsSampleFieldNumber(nField);
    if (bText)
        out += '"';
    const qsizetype nValue = out.size();
    AppendSampleFieldText(out, sample, nField);
    if (out.size() == nValue) {
        out.truncate(nStart);
        return;
    }
    if (!bText)
        return;
    if (std::any_of(out.cbegin() + nValue, out.cend(), NeedsEscape)) {
        const QByteArray text = out.mid(nValue);
        out.truncate(nValue);
        AppendEscaped(out, text);
    }
    out += '"';
}

void AppendFields(QByteArray& out, const SSample& sample, int nFirst, int nEnd)
{
    for (int i = nFirst; i < nEnd; ++i)
        AppendField(out, sample, i);
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
    QByteArray out;
    out.reserve(128);
    out += '{';
    if (event.time.isValid()) {
        out += Key(SAMPLE_FIELD_TIME);
        out += '"';
        AppendMeasureTimeText(out, event.time);
        out += '"';
    }
    if (const char* pszName = EventName(event.nEvent); pszName && *pszName) {
        out += out.size() > 1 ? "," : "";
        out += Key(SAMPLE_FIELD_EVENT);
        AppendString(out, QLatin1String(pszName));
    }
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
