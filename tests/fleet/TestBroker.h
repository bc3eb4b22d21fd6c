// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QByteArray>
#include <QJsonObject>
#include <QProcess>
#include <QString>
#include <QTemporaryDir>
#include <mutex>
#include <vector>

struct mosquitto;

// A Mosquitto broker of the test's own on loopback, on a free port that it
// keeps across a stop and a start.
class CTestBroker
{
public:
    CTestBroker();
    ~CTestBroker();
    static bool IsInstalled();
    // Lines added to the configuration (a password file, ...).
    void SetExtraConfig(const QString& strLines) { m_strExtra = strLines; }
    // Remembers sessions and their messages across a stop and a start.
    void SetPersistent(bool bOn) { m_bPersistent = bOn; }
    bool Start();
    void Stop();
    int Port() const { return m_nPort; }
    QString Dir() const { return m_dir.path(); }

private:
    QTemporaryDir m_dir;
    QProcess m_process;
    QString m_strExtra;
    bool m_bPersistent = false;
    int m_nPort = 0;
};

// A subscriber with a libmosquitto client: collects what arrives.
class CTestSubscriber
{
public:
    struct SMessage
    {
        QString strTopic;
        QByteArray payload;
        bool bRetained;
        QJsonObject Json() const;
    };
    // bPersistent: a session the broker keeps while it is away (QoS 1).
    CTestSubscriber(int nPort, const QString& strTopic, bool bPersistent = false,
                    const QString& strId = QStringLiteral("test-subscriber"));
    ~CTestSubscriber();
    // Waits (handling events) until subscribed; false after 5 s.
    bool WaitSubscribed();
    std::vector<SMessage> Messages();
    // The messages on topics ending in strLeaf ("/sample", ...).
    std::vector<SMessage> On(const QString& strLeaf);
    // Waits (handling events) until nCount messages end in strLeaf.
    bool WaitFor(const QString& strLeaf, size_t nCount, int nMs = 5000);

private:
    static void OnConnect(mosquitto* mosq, void* obj, int rc);
    static void OnSubscribe(mosquitto*, void* obj, int, int, const int*);
    static void OnMessage(mosquitto*, void* obj, const struct mosquitto_message* msg);

    mosquitto* m_pMosq = nullptr;
    QByteArray m_topic;
    std::mutex m_mutex;
    std::vector<SMessage> m_messages;
    bool m_bSubscribed = false;
};
