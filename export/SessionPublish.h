// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QString>

#include "fleet/MqttSettings.h"

// What a session published.
struct SPublishCounts
{
    int nLines = 0;   // lines read
    int nSkipped = 0; // lines that were no log entry
    int nSamples = 0; // samples the broker acknowledged
    int nEvents = 0;  // events the broker acknowledged
    QString strImei;  // the recording's, or empty
};

// A session recording or a saved log published to an MQTT broker as the
// fleet feed would have published it live: its samples and events from a
// CSessionMeasure, with their recorded times, through a CMqttPublisher under
// the IMEI of the recording's AT+CGSN answer. It ends once the broker has
// acknowledged every sample and event, with the status offline.
class CSessionPublish
{
public:
    enum
    {
        PUB_OK = 0,
        PUB_READ_FAILED = 1,
        PUB_NOT_A_LOG = 2,
        PUB_BROKER_FAILED = 3 // not reachable, refused, or the connection lost
    };
    // Samples and events handed to the publisher ahead of the acknowledgements.
    static const int AHEAD = 1000;
    // Without an acknowledgement this long the broker is given up.
    static const int STALL_MS = 30000;

    // Runs the event loop until done. settings: host, port, topic, user,
    // password, TLS; the feed's switch is not asked. On failure, pError
    // says why in a sentence for the user.
    static int Run(const QString& strIn, const SMqttSettings& settings, SPublishCounts* pCounts,
                   QString* pError);
};
