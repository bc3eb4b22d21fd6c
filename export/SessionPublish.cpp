// SPDX-License-Identifier: GPL-3.0-or-later
#include "export/SessionPublish.h"

#include <QCoreApplication>
#include <QTimer>
#include <deque>

#include "export/SessionMeasure.h"
#include "fleet/MqttPublisher.h"

namespace {
// A sample or an event of the recording, in the order they came.
struct SItem
{
    bool bEvent = false;
    SSample sample;
    SMeasureEvent event;
};

QString BrokerName(const SMqttSettings& settings)
{
    return QStringLiteral("%1:%2").arg(settings.strHost).arg(settings.Port());
}
} // namespace

int CSessionPublish::Run(const QString& strIn, const SMqttSettings& settings,
                         SPublishCounts* pCounts, QString* pError)
{
    CSessionMeasure measure;
    std::deque<SItem> pending;
    QObject::connect(&measure, &CSessionMeasure::SampleReady, [&](const SSample& s) {
        pending.push_back({false, s, {}});
    });
    QObject::connect(&measure, &CSessionMeasure::EventReady, [&](const SMeasureEvent& e) {
        pending.push_back({true, {}, e});
    });
    QString error;
    if (measure.Open(strIn, &error) != CSessionMeasure::SM_OK) {
        *pError = QStringLiteral("cannot read %1: %2").arg(strIn, error);
        return PUB_READ_FAILED;
    }
    // The topics name the IMEI: read up to the module's answer first.
    bool bMore = true;
    while (bMore && measure.Imei().isEmpty())
        bMore = measure.Step();
    auto count = [&] {
        pCounts->nLines = measure.Lines();
        pCounts->nSkipped = measure.Skipped();
        pCounts->strImei = measure.Imei();
    };
    count();
    if (measure.Entries() == 0) {
        *pError =
            QStringLiteral("%1 is not a traffic log (no line of it is a log entry)").arg(strIn);
        return PUB_NOT_A_LOG;
    }

    SMqttSettings s = settings;
    s.bEnabled = true;
    // A panel of this IMEI may be on the broker under the feed's own id.
    if (s.strClientId.isEmpty())
        s.strClientId = QStringLiteral("tessoly-export-%1").arg(QCoreApplication::applicationPid());
    CMqttPublisher publisher;
    QString failure;
    QObject::connect(&publisher, &CMqttPublisher::Failed,
                     [&](int, const QString& strText) { failure = strText; });
    QTimer stall;
    stall.setSingleShot(true);
    bool bStalled = false;
    QObject::connect(&stall, &QTimer::timeout, [&] { bStalled = true; });
    publisher.SetImei(measure.Imei());
    publisher.Configure(s);

    int nSamples = 0, nEvents = 0; // handed to the publisher
    int nLastAcked = 0;
    stall.start(STALL_MS);
    while (true) {
        if (publisher.IsUnreachable() || !failure.isEmpty() || bStalled) {
            count();
            if (failure.isEmpty())
                failure =
                    bStalled
                        ? QStringLiteral("the MQTT broker %1 does not acknowledge")
                              .arg(BrokerName(s))
                        : QStringLiteral("the MQTT broker %1 cannot be reached").arg(BrokerName(s));
            *pError = failure;
            return PUB_BROKER_FAILED;
        }
        if (publisher.IsConnected()) {
            while (publisher.Queued() < AHEAD && (bMore || !pending.empty())) {
                if (pending.empty()) {
                    bMore = measure.Step();
                    continue;
                }
                const SItem& item = pending.front();
                if (item.bEvent) {
                    publisher.PublishEvent(item.event);
                    ++nEvents;
                } else {
                    publisher.PublishSample(item.sample);
                    ++nSamples;
                }
                pending.pop_front();
            }
            if (!bMore && pending.empty() && publisher.Queued() == 0)
                break;
        }
        // Each acknowledgement gives the broker time again.
        const int nAcked = nSamples + nEvents - publisher.Queued();
        if (nAcked > nLastAcked)
            stall.start(STALL_MS);
        nLastAcked = nAcked;
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents);
    }
    count();
    pCounts->nSamples = nSamples;
    pCounts->nEvents = nEvents;
    // The status offline, and the connection ends.
    publisher.Configure(SMqttSettings());
    return PUB_OK;
}
