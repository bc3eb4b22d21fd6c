// SPDX-License-Identifier: GPL-3.0-or-later
#include "TestBroker.h"

#include <QFile>
#include <QJsonDocument>
#include <QStandardPaths>
#include <QTest>
#include <arpa/inet.h>
#include <mosquitto.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

namespace {
QString BrokerProgram()
{
    QString path = QStandardPaths::findExecutable(
        QStringLiteral("mosquitto"),
        {QStringLiteral("/usr/sbin"), QStringLiteral("/usr/local/sbin")});
    if (path.isEmpty())
        path = QStandardPaths::findExecutable(QStringLiteral("mosquitto"));
    return path;
}

sockaddr_in Loopback(int nPort)
{
    sockaddr_in a = {};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(nPort));
    return a;
}

// Whether something listens on the loopback port.
bool Listening(int nPort)
{
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    const sockaddr_in a = Loopback(nPort);
    const bool bOk = connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a) == 0;
    close(fd);
    return bOk;
}
} // namespace

CTestBroker::CTestBroker()
{
    // A port the system hands out as free.
    const int fd = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a = Loopback(0);
    socklen_t len = sizeof a;
    bind(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a);
    getsockname(fd, reinterpret_cast<sockaddr*>(&a), &len);
    m_nPort = ntohs(a.sin_port);
    close(fd);
}

CTestBroker::~CTestBroker()
{
    Stop();
}

bool CTestBroker::IsInstalled()
{
    return !BrokerProgram().isEmpty();
}

bool CTestBroker::Start()
{
    QFile conf(m_dir.filePath(QStringLiteral("mosquitto.conf")));
    if (!conf.open(QIODevice::WriteOnly))
        return false;
    QString text = QStringLiteral("listener %1 127.0.0.1\n").arg(m_nPort);
    // Run as root, the broker would change to a user who cannot read the test's folder.
    text += QStringLiteral("user %1\n").arg(qEnvironmentVariable("USER", QStringLiteral("root")));
    if (m_strExtra.isEmpty())
        text += QStringLiteral("allow_anonymous true\n");
    else
        text += m_strExtra;
    if (m_bPersistent)
        text += QStringLiteral("persistence true\npersistence_location %1/\n").arg(m_dir.path());
    conf.write(text.toUtf8());
    conf.close();
    m_process.setProcessChannelMode(QProcess::MergedChannels);
    m_process.start(BrokerProgram(), {QStringLiteral("-c"), conf.fileName()});
    if (!m_process.waitForStarted(5000))
        return false;
    for (int i = 0; i < 100; ++i) {
        if (Listening(m_nPort))
            return true;
        if (m_process.state() == QProcess::NotRunning)
            break;
        QTest::qWait(50);
    }
    qWarning("%s", m_process.readAll().constData());
    return false;
}

void CTestBroker::Stop()
{
    if (m_process.state() == QProcess::NotRunning)
        return;
    m_process.terminate();
    if (!m_process.waitForFinished(5000)) {
        m_process.kill();
        m_process.waitForFinished(2000);
    }
}

QJsonObject CTestSubscriber::SMessage::Json() const
{
    return QJsonDocument::fromJson(payload).object();
}

CTestSubscriber::CTestSubscriber(int nPort, const QString& strTopic, bool bPersistent,
                                 const QString& strId)
    : m_topic(strTopic.toUtf8())
{
    mosquitto_lib_init();
    m_pMosq = mosquitto_new(strId.toUtf8().constData(), !bPersistent, this);
    mosquitto_connect_callback_set(m_pMosq, &CTestSubscriber::OnConnect);
    mosquitto_subscribe_callback_set(m_pMosq, &CTestSubscriber::OnSubscribe);
    mosquitto_message_callback_set(m_pMosq, &CTestSubscriber::OnMessage);
    mosquitto_reconnect_delay_set(m_pMosq, 1, 1, false);
    mosquitto_connect(m_pMosq, "127.0.0.1", nPort, 30);
    mosquitto_loop_start(m_pMosq);
}

CTestSubscriber::~CTestSubscriber()
{
    mosquitto_disconnect(m_pMosq);
    mosquitto_loop_stop(m_pMosq, false);
    mosquitto_destroy(m_pMosq);
}

void CTestSubscriber::OnConnect(mosquitto* mosq, void* obj, int rc)
{
    if (rc == 0)
        mosquitto_subscribe(mosq, nullptr, static_cast<CTestSubscriber*>(obj)->m_topic.constData(),
                            1);
}

void CTestSubscriber::OnSubscribe(mosquitto*, void* obj, int, int, const int*)
{
    auto* self = static_cast<CTestSubscriber*>(obj);
    std::lock_guard<std::mutex> lock(self->m_mutex);
    self->m_bSubscribed = true;
}

void CTestSubscriber::OnMessage(mosquitto*, void* obj, const mosquitto_message* msg)
{
    auto* self = static_cast<CTestSubscriber*>(obj);
    std::lock_guard<std::mutex> lock(self->m_mutex);
    self->m_messages.push_back({QString::fromUtf8(msg->topic),
                                QByteArray(static_cast<const char*>(msg->payload), msg->payloadlen),
                                msg->retain});
}

bool CTestSubscriber::WaitSubscribed()
{
    return QTest::qWaitFor(
        [this] {
            std::lock_guard<std::mutex> lock(m_mutex);
            return m_bSubscribed;
        },
        5000);
}

std::vector<CTestSubscriber::SMessage> CTestSubscriber::Messages()
{
    std::lock_guard<std::mutex> lock(m_mutex);
    return m_messages;
}

std::vector<CTestSubscriber::SMessage> CTestSubscriber::On(const QString& strLeaf)
{
    std::vector<SMessage> out;
    for (const SMessage& m : Messages())
        if (m.strTopic.endsWith(strLeaf))
            out.push_back(m);
    return out;
}

bool CTestSubscriber::WaitFor(const QString& strLeaf, size_t nCount, int nMs)
{
    return QTest::qWaitFor([&] { return On(strLeaf).size() >= nCount; }, nMs);
}
