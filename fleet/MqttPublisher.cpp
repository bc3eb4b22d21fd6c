// SPDX-License-Identifier: GPL-3.0-or-later
#include "fleet/MqttPublisher.h"

#include <QCoreApplication>
#include <QLoggingCategory>
#include <algorithm>
#include <cstring>
#include <mosquitto.h>
#include <mutex>
#include <string>
#include <thread>
#include <unistd.h>
#include <vector>

namespace {
Q_LOGGING_CATEGORY(lcFleet, "tessoly.fleet", QtWarningMsg)

const char* const kSample = "sample";
const char* const kEvent = "event";
const char* const kStatus = "status";
// Where the system keeps the certificate authorities, when no CaFile is set.
const char* const kSystemCaPath = "/etc/ssl/certs";

void InitLibrary()
{
    static std::once_flag once;
    std::call_once(once, [] { mosquitto_lib_init(); });
}

// The IMEI as a topic level: digits and letters only, so that no wildcard
// or level separator comes from the module's answer.
QString TopicLevel(const QString& strImei)
{
    QString level;
    for (const QChar c : strImei)
        if (c.isLetterOrNumber() && c.unicode() < 128)
            level += c;
    return level;
}

bool SameCell(const SSample& a, const SSample& b)
{
    return a.nMcc == b.nMcc && a.nMnc == b.nMnc && a.nLac == b.nLac && a.nCi == b.nCi &&
           a.nBcch == b.nBcch && a.nBsic == b.nBsic;
}
} // namespace

// What the network thread's callbacks know: whom to tell, and which
// connection they belong to (a later one ignores an earlier one's news).
// One connection's client and what its threads share with the publisher.
// The broker's acknowledgements gather here, so that the publisher's thread
// wakes once for all that came together. A connection the publisher has let
// go (abandoned) tells it nothing more. The publisher and, while it waits
// for the host's name, the connector own it together: the last to let go
// ends the client, joining its network thread.
struct SMqttConnection
{
    ~SMqttConnection()
    {
        if (!pMosq)
            return;
        if (!bForce)
            mosquitto_disconnect(pMosq);
        mosquitto_loop_stop(pMosq, bForce);
        mosquitto_destroy(pMosq);
    }

    CMqttPublisher* pOwner = nullptr;
    int nGeneration = 0;
    mosquitto* pMosq = nullptr;
    std::mutex mutex;
    std::vector<int> acked; // message ids
    // The publisher's messages in the client's hands not yet told acknowledged;
    // the publisher hears of acknowledgements once they are all in.
    size_t nInFlight = 0;
    bool bPosted = false; // a call for the acknowledgements is on its way
    bool bAbandoned = false;
    bool bConnectorDone = true; // no connector runs
    bool bForce = false;        // the network thread is stopped without a goodbye

    // Hands f to the publisher's thread, unless the publisher let go.
    template <typename F> void Post(F f)
    {
        std::lock_guard<std::mutex> lock(mutex);
        if (!bAbandoned)
            QMetaObject::invokeMethod(pOwner, std::move(f), Qt::QueuedConnection);
    }
};

CMqttPublisher::CMqttPublisher(QObject* parent) : QObject(parent)
{
    InitLibrary();
    m_retry.setSingleShot(true);
    connect(&m_retry, &QTimer::timeout, this, &CMqttPublisher::Connect);
    m_connectTimeout.setSingleShot(true);
    m_connectTimeout.setInterval(CONNECT_TIMEOUT_MS);
    m_flush.setSingleShot(true);
    m_flush.setInterval(FLUSH_MS);
    connect(&m_flush, &QTimer::timeout, this, &CMqttPublisher::Pump);
    connect(&m_connectTimeout, &QTimer::timeout, this, &CMqttPublisher::OnConnectTimeout);
}

CMqttPublisher::~CMqttPublisher()
{
    Close(true);
}

void CMqttPublisher::SetRetryDelays(int nFirstMs, int nLastMs)
{
    m_nRetryFirstMs = m_nRetryMs = nFirstMs;
    m_nRetryLastMs = nLastMs;
}

void CMqttPublisher::Configure(const SMqttSettings& settings)
{
    Close(true);
    m_retry.stop();
    m_settings = settings;
    m_bUnreachable = false;
    m_bFailureShown = false;
    m_nRetryMs = m_nRetryFirstMs;
    if (m_settings.bEnabled) {
        Connect();
    } else {
        m_queue.clear();
        m_nHanded = m_nUnacked = 0;
    }
    ShowState();
}

void CMqttPublisher::SetImei(const QString& strImei)
{
    const QString level = TopicLevel(strImei.trimmed());
    if (level.isEmpty() || level == m_strImei)
        return;
    const QString old = m_strImei;
    m_strImei = level;
    if (!m_pMosq || Identity() == m_strIdentity)
        return;
    // A connection under the old name ends with its status offline; the
    // next one (at once) carries the new name.
    m_strImei = old;
    Close(true);
    m_strImei = level;
    m_retry.stop();
    m_nRetryMs = m_nRetryFirstMs;
    Connect();
}

void CMqttPublisher::SetOperator(const QString& strOperator)
{
    if (strOperator == m_status.strOperator)
        return;
    m_status.strOperator = strOperator;
    PublishStatus();
}

void CMqttPublisher::PublishSample(const SSample& sample)
{
    // The status follows the serving cell, on or off, for when it is switched on.
    if (!SameCell(sample, m_status.cell)) {
        m_status.cell = sample;
        PublishStatus();
    }
    if (m_settings.bEnabled)
        Enqueue(KIND_SAMPLE, SamplePayload(sample));
}

void CMqttPublisher::PublishEvent(const SMeasureEvent& event)
{
    if (event.nEvent == EVENT_REGISTERED)
        SetOperator(event.strText);
    else if (event.nEvent == EVENT_REGISTRATION_LOST || event.nEvent == EVENT_POWER_OFF)
        SetOperator(QString());
    if (m_settings.bEnabled)
        Enqueue(KIND_EVENT, EventPayload(event));
}

QString CMqttPublisher::ClientId() const
{
    if (!m_settings.strClientId.isEmpty())
        return m_settings.strClientId;
    // Before the IMEI is known the process id keeps panels on one broker
    // apart: two clients of one id would throw each other off.
    if (m_strImei.isEmpty())
        return QStringLiteral("tessoly-unknown-%1").arg(getpid());
    return QStringLiteral("tessoly-") + m_strImei;
}

QString CMqttPublisher::TopicOf(const char* pszLeaf) const
{
    return m_settings.strTopic + QLatin1Char('/') +
           (m_strImei.isEmpty() ? QStringLiteral("unknown") : m_strImei) + QLatin1Char('/') +
           QLatin1String(pszLeaf);
}

QString CMqttPublisher::Identity() const
{
    return ClientId() + QLatin1Char('\n') + TopicOf(kStatus);
}

QString CMqttPublisher::StateText() const
{
    if (!m_settings.bEnabled)
        return QString();
    if (!m_bConnected && m_bUnreachable)
        return QStringLiteral("MQTT not reachable");
    const int nWaiting = Waiting();
    return nWaiting > 0 ? QStringLiteral("MQTT (%1 waiting)").arg(nWaiting)
                        : QStringLiteral("MQTT");
}

void CMqttPublisher::ShowState()
{
    const QString text = StateText();
    if (text == m_strState)
        return;
    m_strState = text;
    emit StateChanged(text);
}

void CMqttPublisher::Enqueue(EKind kind, QByteArray payload)
{
    m_queue.push_back({kind, std::move(payload)});
    // A full queue lets its oldest message go that is not in the client's hands.
    while (static_cast<int>(m_queue.size()) > std::max(m_nLimit, m_nHanded + 1)) {
        m_queue.erase(m_queue.begin() + m_nHanded);
        ++m_nDropped;
    }
    // What comes within a moment goes out together: the network thread and
    // this one wake once for all of it. A message after a quiet moment goes
    // at once.
    if (m_bConnected && !m_flush.isActive()) {
        const qint64 nSince = m_lastPump.isValid() ? m_lastPump.elapsed() : qint64(FLUSH_MS);
        if (nSince >= FLUSH_MS)
            Pump();
        else
            m_flush.start();
    }
    ShowState();
}

void CMqttPublisher::Pump()
{
    if (!m_bConnected)
        return;
    const int nHanded = m_nHanded;
    while (m_nUnacked < WINDOW && m_nHanded < static_cast<int>(m_queue.size())) {
        SMessage& m = m_queue[m_nHanded];
        const QByteArray& topic = m.kind == KIND_SAMPLE ? m_sampleTopic : m_eventTopic;
        int mid = 0;
        const int rc =
            mosquitto_publish(m_pMosq, &mid, topic.constData(), static_cast<int>(m.payload.size()),
                              m.payload.constData(), 1, false);
        if (rc != MOSQ_ERR_SUCCESS) {
            // The connection is going; its end is reported and the message
            // goes with the next one.
            qCDebug(lcFleet, "publish: %s", mosquitto_strerror(rc));
            break;
        }
        m.nMid = mid;
        ++m_nHanded;
        ++m_nUnacked;
    }
    if (m_nHanded > nHanded)
        m_lastPump.start();
    SetInFlight();
}

void CMqttPublisher::SetInFlight()
{
    SMqttConnection* c = m_pConnection.get();
    std::lock_guard<std::mutex> lock(c->mutex);
    c->nInFlight = static_cast<size_t>(m_nUnacked);
    // The last acknowledgements came while the count was higher.
    if (!c->bPosted && !c->acked.empty() && c->acked.size() >= c->nInFlight) {
        c->bPosted = true;
        const int gen = c->nGeneration;
        QMetaObject::invokeMethod(
            this, [this, gen] { OnPublished(gen); }, Qt::QueuedConnection);
    }
}

void CMqttPublisher::PublishStatus()
{
    if (!m_bConnected)
        return;
    m_status.bOnline = true;
    m_status.nDropped = m_nDropped;
    const QByteArray payload = StatusPayload(m_status);
    const QByteArray topic = TopicOf(kStatus).toUtf8();
    mosquitto_publish(m_pMosq, nullptr, topic.constData(), static_cast<int>(payload.size()),
                      payload.constData(), 1, true);
}

void CMqttPublisher::Connect()
{
    Close(false);
    if (!m_settings.bEnabled)
        return;
    ++m_nGeneration;
    m_strIdentity = Identity();
    m_sampleTopic = TopicOf(kSample).toUtf8();
    m_eventTopic = TopicOf(kEvent).toUtf8();
    const QByteArray id = ClientId().toUtf8();
    auto c = std::make_shared<SMqttConnection>();
    c->pOwner = this;
    c->nGeneration = m_nGeneration;
    c->pMosq = mosquitto_new(id.constData(), true, c.get());
    if (!c->pMosq) {
        Retry();
        return;
    }
    m_pConnection = c;
    m_pMosq = c->pMosq;
    mosquitto_int_option(m_pMosq, MOSQ_OPT_PROTOCOL_VERSION, MQTT_PROTOCOL_V311);
    mosquitto_connect_callback_set(m_pMosq, &CMqttPublisher::OnConnectCb);
    mosquitto_disconnect_callback_set(m_pMosq, &CMqttPublisher::OnDisconnectCb);
    mosquitto_publish_callback_set(m_pMosq, &CMqttPublisher::OnPublishCb);
    mosquitto_log_callback_set(m_pMosq, &CMqttPublisher::OnLogCb);
    // The client's own reconnection stays out of the way: ours backs off.
    mosquitto_reconnect_delay_set(m_pMosq, RETRY_LAST_MS / 1000, RETRY_LAST_MS / 1000, false);

    SFleetStatus offline;
    const QByteArray will = StatusPayload(offline);
    const QByteArray statusTopic = TopicOf(kStatus).toUtf8();
    mosquitto_will_set(m_pMosq, statusTopic.constData(), static_cast<int>(will.size()),
                       will.constData(), 1, true);
    if (!m_settings.strUsername.isEmpty()) {
        const QByteArray user = m_settings.strUsername.toUtf8();
        const QByteArray password = m_settings.strPassword.toUtf8();
        mosquitto_username_pw_set(m_pMosq, user.constData(),
                                  m_settings.strPassword.isEmpty() ? nullptr
                                                                   : password.constData());
    }
    if (m_settings.bTls) {
        const QByteArray caFile = m_settings.strCaFile.toLocal8Bit();
        const int rc = mosquitto_tls_set(m_pMosq, caFile.isEmpty() ? nullptr : caFile.constData(),
                                         caFile.isEmpty() ? kSystemCaPath : nullptr, nullptr,
                                         nullptr, nullptr);
        if (rc != MOSQ_ERR_SUCCESS) {
            Fail(FAIL_TLS, QStringLiteral("MQTT: the certificate authority file %1 cannot be read")
                               .arg(m_settings.strCaFile));
            OnConnectFailed(m_nGeneration);
            return;
        }
    }
    // The host's name is looked up by the connection: in a thread of its
    // own, since a car without network may wait long for an answer.
    const std::string host = m_settings.strHost.toStdString();
    const int port = m_settings.Port();
    c->bConnectorDone = false;
    std::thread([c, host, port]() mutable {
        int rc = mosquitto_connect_async(c->pMosq, host.c_str(), port, KEEPALIVE_S);
        if (rc == MOSQ_ERR_SUCCESS)
            rc = mosquitto_loop_start(c->pMosq);
        else
            qCDebug(lcFleet, "connect: %s", mosquitto_strerror(rc));
        // Ends the connection once unlocked, when the publisher let go first.
        std::shared_ptr<SMqttConnection> pLast;
        std::lock_guard<std::mutex> lock(c->mutex);
        c->bConnectorDone = true;
        if (c->bAbandoned) {
            pLast = std::move(c);
            return;
        }
        if (rc != MOSQ_ERR_SUCCESS) {
            CMqttPublisher* owner = c->pOwner;
            const int gen = c->nGeneration;
            QMetaObject::invokeMethod(
                owner, [owner, gen] { owner->OnConnectFailed(gen); }, Qt::QueuedConnection);
        }
        // The publisher, which must lock to let go, is now the only owner:
        // a later close ends the connection at once, before a new one begins.
        c.reset();
    }).detach();
    m_connectTimeout.start();
}

void CMqttPublisher::Close(bool bClean)
{
    m_connectTimeout.stop();
    m_flush.stop();
    if (!m_pConnection)
        return;
    if (bClean && m_bConnected) {
        // A clean end sends no will: the status says offline itself, and
        // the DISCONNECT that follows it leaves after it.
        SFleetStatus offline;
        const QByteArray payload = StatusPayload(offline);
        const QByteArray topic = TopicOf(kStatus).toUtf8();
        mosquitto_publish(m_pMosq, nullptr, topic.constData(), static_cast<int>(payload.size()),
                          payload.constData(), 1, true);
    }
    // Acknowledgements not yet taken: those messages are done too.
    TakeAcknowledged();
    {
        std::lock_guard<std::mutex> lock(m_pConnection->mutex);
        m_pConnection->bAbandoned = true;
    }
    m_pConnection.reset(); // ended here, or by its connector when that is done
    m_pMosq = nullptr;
    m_bConnected = false;
    // What the broker acknowledged is done; the rest goes again, in order.
    m_queue.erase(
        std::remove_if(m_queue.begin(), m_queue.end(), [](const SMessage& m) { return m.bAcked; }),
        m_queue.end());
    for (SMessage& m : m_queue)
        m.nMid = 0;
    m_nHanded = m_nUnacked = 0;
}

void CMqttPublisher::Abandon()
{
    m_connectTimeout.stop();
    m_retry.stop();
    if (!m_pConnection)
        return;
    {
        std::lock_guard<std::mutex> lock(m_pConnection->mutex);
        m_pConnection->bAbandoned = true;
        // Its connector, when still waiting, ends it with a goodbye when done.
        m_pConnection->bForce = m_pConnection->bConnectorDone;
    }
    m_pConnection.reset();
    m_pMosq = nullptr;
    m_bConnected = false;
}

void CMqttPublisher::Retry()
{
    if (!m_settings.bEnabled)
        return;
    m_retry.start(m_nRetryMs);
    m_nRetryMs = std::min(m_nRetryMs * 2, m_nRetryLastMs);
}

void CMqttPublisher::Fail(int nCode, const QString& strText)
{
    if (m_bFailureShown)
        return;
    m_bFailureShown = true;
    emit Failed(nCode, strText);
}

// --- the network thread's news, handled on this object's thread ------------

void CMqttPublisher::OnConnectCb(mosquitto*, void* obj, int rc)
{
    auto* c = static_cast<SMqttConnection*>(obj);
    CMqttPublisher* owner = c->pOwner;
    const int gen = c->nGeneration;
    c->Post([owner, gen, rc] { owner->OnConnected(gen, rc); });
}

void CMqttPublisher::OnDisconnectCb(mosquitto* mosq, void* obj, int)
{
    // No reconnection of the client's own: this connection is done.
    mosquitto_disconnect(mosq);
    auto* c = static_cast<SMqttConnection*>(obj);
    CMqttPublisher* owner = c->pOwner;
    const int gen = c->nGeneration;
    c->Post([owner, gen] { owner->OnConnectFailed(gen); });
}

void CMqttPublisher::OnPublishCb(mosquitto*, void* obj, int mid)
{
    auto* c = static_cast<SMqttConnection*>(obj);
    {
        std::lock_guard<std::mutex> lock(c->mutex);
        c->acked.push_back(mid);
        // The status's acknowledgements count too: at worst a call comes early.
        if (c->bPosted || c->acked.size() < c->nInFlight)
            return;
        c->bPosted = true;
    }
    CMqttPublisher* owner = c->pOwner;
    const int gen = c->nGeneration;
    c->Post([owner, gen] { owner->OnPublished(gen); });
}

void CMqttPublisher::OnLogCb(mosquitto*, void* obj, int level, const char* text)
{
    if (!(level & (MOSQ_LOG_ERR | MOSQ_LOG_WARNING)))
        return;
    qCDebug(lcFleet, "%s", text);
    // A handshake the broker's certificate failed ends the connection
    // without a reason the callbacks give.
    if (std::strstr(text, "certificate")) {
        auto* c = static_cast<SMqttConnection*>(obj);
        CMqttPublisher* owner = c->pOwner;
        const int gen = c->nGeneration;
        const QString strText = QString::fromUtf8(text);
        c->Post([owner, gen, strText] { owner->OnTlsError(gen, strText); });
    }
}

void CMqttPublisher::OnConnected(int nGeneration, int rc)
{
    if (nGeneration != m_nGeneration || !m_pMosq)
        return;
    m_connectTimeout.stop();
    if (rc != 0) {
        // CONNACK refused: 4 bad user name or password, 5 not authorised.
        if (rc == 4 || rc == 5)
            Fail(FAIL_REFUSED,
                 QStringLiteral("The MQTT broker %1:%2 refused the user name or password")
                     .arg(m_settings.strHost)
                     .arg(m_settings.Port()));
        qCDebug(lcFleet, "refused: %s", mosquitto_connack_string(rc));
        OnConnectFailed(nGeneration);
        return;
    }
    // The client formats every line it logs for a callback; what we look
    // for in them comes before the connection only.
    mosquitto_log_callback_set(m_pMosq, nullptr);
    m_bConnected = true;
    m_bUnreachable = false;
    m_bFailureShown = false;
    m_nRetryMs = m_nRetryFirstMs;
    PublishStatus();
    Pump();
    ShowState();
}

void CMqttPublisher::OnConnectFailed(int nGeneration)
{
    if (nGeneration != m_nGeneration || !m_pConnection)
        return;
    Close(false);
    m_bUnreachable = true;
    ShowState();
    Retry();
}

void CMqttPublisher::OnPublished(int nGeneration)
{
    if (nGeneration != m_nGeneration || !m_pMosq)
        return;
    TakeAcknowledged();
    Pump();
    ShowState();
}

void CMqttPublisher::TakeAcknowledged()
{
    std::vector<int> acked;
    {
        std::lock_guard<std::mutex> lock(m_pConnection->mutex);
        acked.swap(m_pConnection->acked);
        m_pConnection->bPosted = false;
    }
    // Acknowledgements come in order as a rule: look from where the last one was.
    int from = 0;
    for (const int mid : acked) {
        for (int k = 0; k < m_nHanded; ++k) {
            SMessage& m = m_queue[(from + k) % m_nHanded];
            if (m.nMid == mid && !m.bAcked) {
                m.bAcked = true;
                --m_nUnacked;
                from = (from + k + 1) % m_nHanded;
                break;
            }
        }
    }
    while (!m_queue.empty() && m_queue.front().bAcked) {
        m_queue.pop_front();
        --m_nHanded;
    }
}

void CMqttPublisher::OnTlsError(int nGeneration, const QString& strText)
{
    if (nGeneration != m_nGeneration || !m_pMosq)
        return;
    Fail(FAIL_TLS,
         QStringLiteral("The MQTT broker %1:%2 has a certificate that is not accepted (%3)")
             .arg(m_settings.strHost)
             .arg(m_settings.Port())
             .arg(strText));
    // The client's thread ends after such an error without a word more.
    OnConnectFailed(nGeneration);
}

void CMqttPublisher::OnConnectTimeout()
{
    OnConnectFailed(m_nGeneration);
}
