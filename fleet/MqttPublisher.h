// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QObject>
#include <QTimer>
#include <deque>
#include <memory>

#include "fleet/FleetPayload.h"
#include "fleet/MqttSettings.h"

struct mosquitto;
struct SMqttConnection;

// The fleet feed: publishes the samples and events of the measurement layer
// to an MQTT broker, TOPIC/IMEI/sample and TOPIC/IMEI/event at QoS 1, and a
// retained TOPIC/IMEI/status whose last will says offline.
//
// Each connection is one libmosquitto client with its own network thread;
// its callbacks hand their results to this object's thread by queued calls,
// and nothing here waits for the network. Messages wait in memory, in order,
// until the broker has acknowledged them; at most a window of them is handed
// to the client at a time, a message after a quiet moment at once, those that
// follow it within FLUSH_MS together, and this thread hears of their
// acknowledgements once they are all in. While the broker cannot be reached the queue
// grows up to its limit, beyond which the oldest go and are counted; the
// connection is tried again after 1 s, then twice as long each time up to 30 s.
class CMqttPublisher : public QObject
{
    Q_OBJECT
public:
    enum
    {
        QUEUE_LIMIT = 60000, // 8 hours at the module's rate
        WINDOW = 20,         // messages handed to the client, not yet acknowledged
        RETRY_FIRST_MS = 1000,
        RETRY_LAST_MS = 30000,
        CONNECT_TIMEOUT_MS = 10000,
        FLUSH_MS = 250, // messages that come within this go out together
        KEEPALIVE_S = 30
    };
    // Why the broker would not take us (Failed, the code of the error box).
    enum
    {
        FAIL_REFUSED = 1, // the broker refused the user name or password
        FAIL_TLS = 2      // the broker's certificate was not accepted
    };

    explicit CMqttPublisher(QObject* parent = nullptr);
    ~CMqttPublisher() override;

    // Switches the feed on or off with these settings. Off, nothing is
    // queued and no connection is tried.
    void Configure(const SMqttSettings& settings);
    const SMqttSettings& Settings() const { return m_settings; }
    bool IsEnabled() const { return m_settings.bEnabled; }

    // The IMEI the module gave, or empty before; the topics and the default
    // client id follow it.
    void SetImei(const QString& strImei);
    // The operator as registered (the status says it).
    void SetOperator(const QString& strOperator);

    void PublishSample(const SSample& sample);
    void PublishEvent(const SMeasureEvent& event);

    // "MQTT", "MQTT (N waiting)" or "MQTT not reachable"; empty when off.
    QString StateText() const;
    bool IsConnected() const { return m_bConnected; }
    // The last attempt failed, or the connection was lost.
    bool IsUnreachable() const { return m_bUnreachable; }
    int Waiting() const { return static_cast<int>(m_queue.size()) - m_nHanded; }
    // Everything not yet acknowledged by the broker.
    int Queued() const { return static_cast<int>(m_queue.size()); }
    qint64 Dropped() const { return m_nDropped; }
    QString ClientId() const;
    QString TopicOf(const char* pszLeaf) const;

    // For tests: a smaller queue and shorter pauses between attempts.
    void SetQueueLimit(int nLimit) { m_nLimit = nLimit; }
    void SetRetryDelays(int nFirstMs, int nLastMs);
    // For tests: drops the connection without a word to the broker, as a
    // crash or a lost network would.
    void Abandon();

signals:
    // The state text changed.
    void StateChanged(const QString& strText);
    // The broker would not take us (FAIL_*); once until a connection succeeds.
    void Failed(int nCode, const QString& strText);

private:
    enum EKind
    {
        KIND_SAMPLE,
        KIND_EVENT
    };
    struct SMessage
    {
        EKind kind;
        QByteArray payload;
        int nMid = 0; // the client's id while in flight; 0 before
        bool bAcked = false;
    };

    static void OnConnectCb(mosquitto* mosq, void* obj, int rc);
    static void OnDisconnectCb(mosquitto* mosq, void* obj, int rc);
    static void OnPublishCb(mosquitto* mosq, void* obj, int mid);
    static void OnLogCb(mosquitto* mosq, void* obj, int level, const char* text);

    void Enqueue(EKind kind, QByteArray payload);
    void Connect();
    // Ends the connection; bClean: with offline status and DISCONNECT.
    void Close(bool bClean);
    void Retry();
    void OnConnected(int nGeneration, int rc);
    // The attempt or the connection failed: it ends, and the next comes later.
    void OnConnectFailed(int nGeneration);
    void OnPublished(int nGeneration);
    // The broker's acknowledgements the connection gathered: their messages leave the queue.
    void TakeAcknowledged();
    void OnTlsError(int nGeneration, const QString& strText);
    void OnConnectTimeout();
    void Fail(int nCode, const QString& strText);
    void Pump();
    // Tells the connection how many acknowledgements to wait for.
    void SetInFlight();
    void PublishStatus();
    void ShowState();
    QString Identity() const;

    SMqttSettings m_settings;
    QString m_strImei;
    SFleetStatus m_status;
    mosquitto* m_pMosq = nullptr;
    std::shared_ptr<SMqttConnection> m_pConnection;
    int m_nGeneration = 0;
    bool m_bConnected = false;
    bool m_bUnreachable = false;
    bool m_bFailureShown = false;
    QString m_strIdentity;    // the client id and topic in use, to see a change
    QByteArray m_sampleTopic; // the connection's topics
    QByteArray m_eventTopic;
    std::deque<SMessage> m_queue;
    int m_nHanded = 0;  // the first messages of the queue, handed to the client
    int m_nUnacked = 0; // of those, the ones the broker has not acknowledged
    int m_nLimit = QUEUE_LIMIT;
    qint64 m_nDropped = 0;
    int m_nRetryFirstMs = RETRY_FIRST_MS;
    int m_nRetryLastMs = RETRY_LAST_MS;
    int m_nRetryMs = RETRY_FIRST_MS;
    QTimer m_retry;
    QTimer m_connectTimeout;
    QTimer m_flush;
    QElapsedTimer m_lastPump;
    QString m_strState;
};
