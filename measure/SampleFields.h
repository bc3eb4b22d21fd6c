// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include "measure/Sample.h"

// The fields of a sample row as the exports and the fleet feed write them,
// in their order: time, position, mode, serving cell, air interface, six
// neighbours (three fields each), event.
enum
{
    SAMPLE_FIELD_TIME = 0,
    SAMPLE_FIELD_LAT,
    SAMPLE_FIELD_LON,
    SAMPLE_FIELD_ALT_M,
    SAMPLE_FIELD_SPEED_KMH,
    SAMPLE_FIELD_ERR_M,
    SAMPLE_FIELD_FIX,
    SAMPLE_FIELD_MODE,
    SAMPLE_FIELD_MCC,
    SAMPLE_FIELD_MNC,
    SAMPLE_FIELD_LAC,
    SAMPLE_FIELD_CI,
    SAMPLE_FIELD_BCCH,
    SAMPLE_FIELD_BSIC,
    SAMPLE_FIELD_RXLEV_DBM,
    SAMPLE_FIELD_RXQUAL,
    SAMPLE_FIELD_TA,
    SAMPLE_FIELD_TXPWR_DBM,
    // Neighbour i (0 .. 5): its BCCH, BSIC and level at N1_BCCH + 3 i + 0, 1, 2.
    SAMPLE_FIELD_N1_BCCH,
    SAMPLE_FIELD_EVENT = SAMPLE_FIELD_N1_BCCH + 18,
    SAMPLE_FIELD_COUNT
};

// "time", "lat", ..., "n6_rxlev_dbm", "event"; empty outside 0 .. SAMPLE_FIELD_COUNT - 1.
QString SampleFieldName(int nField);
// True for the fields that hold a number (or nothing), false for the texts
// (time, fix, mode, event).
bool IsSampleFieldNumber(int nField);
// The field of a sample as text: empty where the value is unknown (and for
// the event); numbers in decimal with a point, latitude and longitude with 6
// decimals; fix "none", "2d" or "3d"; mode "idle" or "dedicated".
QString SampleFieldText(const SSample& sample, int nField);
// A time in ISO 8601 with milliseconds and its offset: 2026-12-10T03:09:14.064+01:00.
QString MeasureTimeText(const QDateTime& time);
// The same two, appended to out in Latin-1: the writers of many rows.
void AppendSampleFieldText(QByteArray& out, const SSample& sample, int nField);
void AppendMeasureTimeText(QByteArray& out, const QDateTime& time);
