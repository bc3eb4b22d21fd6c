// SPDX-License-Identifier: GPL-3.0-or-later
// The fleet feed against a real Mosquitto broker on loopback.
#include <QFile>
#include <QJsonDocument>
#include <QProcess>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include "TestBroker.h"
#include "fleet/MqttPublisher.h"
#include "measure/SampleFields.h"
#include "platform/ProfileFile.h"

namespace {
const QString kImei = QStringLiteral("490154203237518");

SSample Sample(int nCi)
{
    SSample s;
    s.time = QDateTime(QDate(2026, 5, 4), QTime(10, 20, 30), Qt::UTC);
    s.nMcc = 262;
    s.nMnc = 1;
    s.nLac = 0x1234;
    s.nCi = nCi;
    s.nBcch = 62;
    s.nBsic = 45;
    s.nRxLevDbm = -71;
    s.aNeighbour[0].nBcch = 20;
    s.aNeighbour[0].nRxLevDbm = -88;
    return s;
}

class FleetTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!CTestBroker::IsInstalled())
            GTEST_SKIP() << "mosquitto is not installed (scripts/deps.sh)";
        m_publisher.SetRetryDelays(100, 400);
    }

    void Enable(const QString& strUser = QString(), const QString& strPassword = QString(),
                const QString& strHost = QStringLiteral("127.0.0.1"))
    {
        SMqttSettings s;
        s.bEnabled = true;
        s.strHost = strHost;
        s.nPort = m_broker.Port();
        s.strUsername = strUser;
        s.strPassword = strPassword;
        m_publisher.SetImei(kImei);
        m_publisher.Configure(s);
    }

    bool WaitConnected()
    {
        return QTest::qWaitFor([this] { return m_publisher.IsConnected(); }, 5000);
    }

    CTestBroker m_broker;
    CMqttPublisher m_publisher;
};

TEST_F(FleetTest, SamplesAndEventsArriveOnTheirTopicsWithTheirValuesOnlyWhenOn)
{
    ASSERT_TRUE(m_broker.Start());
    CTestSubscriber sub(m_broker.Port(), QStringLiteral("tessoly/#"));
    ASSERT_TRUE(sub.WaitSubscribed());
    m_publisher.PublishSample(Sample(1)); // off: nothing goes, nothing waits
    EXPECT_EQ(m_publisher.Waiting(), 0);
    EXPECT_EQ(m_publisher.StateText(), QString());

    Enable(QString(), QString(), QStringLiteral("localhost")); // a name, looked up aside
    ASSERT_TRUE(WaitConnected());
    m_publisher.PublishSample(Sample(2));
    m_publisher.PublishEvent({Sample(2).time, EVENT_REGISTERED, QStringLiteral("Tarn Net")});
    ASSERT_TRUE(sub.WaitFor(QStringLiteral("/event"), 1));
    ASSERT_TRUE(sub.WaitFor(QStringLiteral("/sample"), 1));

    const auto samples = sub.On(QStringLiteral("/sample"));
    ASSERT_EQ(samples.size(), 1u);
    EXPECT_EQ(samples[0].strTopic, QStringLiteral("tessoly/") + kImei + QStringLiteral("/sample"));
    const QJsonObject s = samples[0].Json();
    EXPECT_EQ(s.value(QStringLiteral("time")).toString(),
              QStringLiteral("2026-05-04T10:20:30.000+00:00"));
    EXPECT_EQ(s.value(QStringLiteral("fix")).toString(), QStringLiteral("none"));
    EXPECT_EQ(s.value(QStringLiteral("mode")).toString(), QStringLiteral("idle"));
    EXPECT_EQ(s.value(QStringLiteral("mcc")).toInt(), 262);
    EXPECT_EQ(s.value(QStringLiteral("lac")).toInt(), 0x1234);
    EXPECT_EQ(s.value(QStringLiteral("ci")).toInt(), 2);
    EXPECT_EQ(s.value(QStringLiteral("rxlev_dbm")).toInt(), -71);
    EXPECT_EQ(s.value(QStringLiteral("n1_bcch")).toInt(), 20);
    EXPECT_EQ(s.value(QStringLiteral("n1_rxlev_dbm")).toInt(), -88);
    EXPECT_TRUE(s.value(QStringLiteral("mcc")).isDouble());
    // Unknown values are absent, not empty or zero.
    EXPECT_FALSE(s.contains(QStringLiteral("rxqual")));
    EXPECT_FALSE(s.contains(QStringLiteral("n1_bsic")));
    EXPECT_FALSE(s.contains(QStringLiteral("lat")));

    const auto events = sub.On(QStringLiteral("/event"));
    EXPECT_EQ(events[0].strTopic, QStringLiteral("tessoly/") + kImei + QStringLiteral("/event"));
    EXPECT_EQ(events[0].Json().value(QStringLiteral("event")).toString(),
              QStringLiteral("registered"));
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_publisher.StateText() == "MQTT"; }, 2000));
}

TEST_F(FleetTest, StatusIsRetainedAndTheLastWillSaysOffline)
{
    ASSERT_TRUE(m_broker.Start());
    Enable();
    ASSERT_TRUE(WaitConnected());
    m_publisher.PublishEvent(
        {QDateTime::currentDateTimeUtc(), EVENT_REGISTERED, QStringLiteral("Tarn Net")});
    m_publisher.PublishSample(Sample(7));
    const QString topic = QStringLiteral("tessoly/") + kImei + QStringLiteral("/status");
    // A subscriber that comes later gets the latest status, retained.
    QTest::qWait(300);
    CTestSubscriber sub(m_broker.Port(), topic);
    ASSERT_TRUE(sub.WaitFor(QStringLiteral("/status"), 1));
    const auto first = sub.On(QStringLiteral("/status"));
    EXPECT_TRUE(first.back().bRetained);
    const QJsonObject status = first.back().Json();
    EXPECT_EQ(status.value(QStringLiteral("status")).toString(), QStringLiteral("online"));
    EXPECT_EQ(status.value(QStringLiteral("operator")).toString(), QStringLiteral("Tarn Net"));
    EXPECT_EQ(status.value(QStringLiteral("ci")).toInt(), 7);
    EXPECT_EQ(status.value(QStringLiteral("version")).toString(), QStringLiteral(TESSOLY_VERSION));
    EXPECT_FALSE(status.contains(QStringLiteral("dropped")));

    // The connection ends without a word: the broker sends the will.
    m_publisher.Abandon();
    ASSERT_TRUE(sub.WaitFor(QStringLiteral("/status"), first.size() + 1));
    EXPECT_EQ(sub.On(QStringLiteral("/status")).back().Json().value(QStringLiteral("status")),
              QStringLiteral("offline"));
}

TEST_F(FleetTest, TheIMEILearntLaterLeavesUnknownOfflineAndMovesTheStatus)
{
    ASSERT_TRUE(m_broker.Start());
    CTestSubscriber sub(m_broker.Port(), QStringLiteral("tessoly/+/status"));
    ASSERT_TRUE(sub.WaitSubscribed());
    SMqttSettings s;
    s.bEnabled = true;
    s.nPort = m_broker.Port();
    m_publisher.Configure(s);
    ASSERT_TRUE(sub.WaitFor(QStringLiteral("/status"), 1));
    EXPECT_EQ(sub.Messages()[0].strTopic, QStringLiteral("tessoly/unknown/status"));
    m_publisher.SetImei(kImei);
    // The old connection's last words and the new one's first come over two
    // connections, in either order.
    const auto lastStatus = [&](const QString& topic) {
        QString value;
        for (const auto& m : sub.Messages())
            if (m.strTopic == topic)
                value = m.Json().value(QStringLiteral("status")).toString();
        return value;
    };
    const QString imeiTopic = QStringLiteral("tessoly/") + kImei + QStringLiteral("/status");
    EXPECT_TRUE(QTest::qWaitFor(
        [&] {
            return lastStatus(QStringLiteral("tessoly/unknown/status")) ==
                       QStringLiteral("offline") &&
                   lastStatus(imeiTopic) == QStringLiteral("online");
        },
        5000))
        << lastStatus(QStringLiteral("tessoly/unknown/status")).toStdString() << ", "
        << lastStatus(imeiTopic).toStdString();
}

TEST_F(FleetTest, AnOutageLosesNothingAndKeepsTheOrder)
{
    m_broker.SetPersistent(true);
    ASSERT_TRUE(m_broker.Start());
    {
        CTestSubscriber sub(m_broker.Port(), QStringLiteral("tessoly/+/sample"), true);
        ASSERT_TRUE(sub.WaitSubscribed());
    }
    Enable();
    ASSERT_TRUE(WaitConnected());
    m_broker.Stop();
    ASSERT_TRUE(
        QTest::qWaitFor([this] { return m_publisher.StateText() == "MQTT not reachable"; }, 3000));
    const int n = 200;
    for (int i = 0; i < n; ++i)
        m_publisher.PublishSample(Sample(i));
    EXPECT_EQ(m_publisher.Waiting(), n);
    ASSERT_TRUE(m_broker.Start());
    CTestSubscriber sub(m_broker.Port(), QStringLiteral("tessoly/+/sample"), true);
    ASSERT_TRUE(sub.WaitFor(QStringLiteral("/sample"), n, 10000));
    const auto samples = sub.On(QStringLiteral("/sample"));
    ASSERT_EQ(samples.size(), size_t(n));
    for (int i = 0; i < n; ++i)
        ASSERT_EQ(samples[i].Json().value(QStringLiteral("ci")).toInt(), i);
    EXPECT_TRUE(QTest::qWaitFor([this] { return m_publisher.StateText() == "MQTT"; }, 2000));
}

TEST_F(FleetTest, AFullQueueDropsTheOldestAndTheStatusCountsThem)
{
    m_broker.SetPersistent(true);
    ASSERT_TRUE(m_broker.Start());
    {
        CTestSubscriber sub(m_broker.Port(), QStringLiteral("tessoly/#"), true);
        ASSERT_TRUE(sub.WaitSubscribed());
    }
    m_broker.Stop();
    m_publisher.SetQueueLimit(5);
    Enable();
    for (int i = 1; i <= 8; ++i)
        m_publisher.PublishSample(Sample(i));
    EXPECT_EQ(m_publisher.Waiting(), 5);
    EXPECT_EQ(m_publisher.Dropped(), 3);
    ASSERT_TRUE(m_broker.Start());
    CTestSubscriber sub(m_broker.Port(), QStringLiteral("tessoly/#"), true);
    ASSERT_TRUE(sub.WaitFor(QStringLiteral("/sample"), 5));
    const auto samples = sub.On(QStringLiteral("/sample"));
    ASSERT_EQ(samples.size(), 5u);
    for (int i = 0; i < 5; ++i)
        EXPECT_EQ(samples[i].Json().value(QStringLiteral("ci")).toInt(), i + 4);
    ASSERT_TRUE(sub.WaitFor(QStringLiteral("/status"), 1));
    EXPECT_EQ(sub.On(QStringLiteral("/status")).back().Json().value(QStringLiteral("dropped")), 3);
}

TEST_F(FleetTest, AWrongPasswordGivesOneFailureNotOnePerAttempt)
{
    const QString passwords = m_broker.Dir() + QStringLiteral("/passwords");
    ASSERT_EQ(QProcess::execute(QStringLiteral("mosquitto_passwd"),
                                {QStringLiteral("-b"), QStringLiteral("-c"), passwords,
                                 QStringLiteral("car1"), QStringLiteral("right")}),
              0);
    m_broker.SetExtraConfig(
        QStringLiteral("allow_anonymous false\npassword_file %1\n").arg(passwords));
    ASSERT_TRUE(m_broker.Start());
    QSignalSpy failed(&m_publisher, &CMqttPublisher::Failed);
    Enable(QStringLiteral("car1"), QStringLiteral("wrong"));
    QTest::qWait(1500); // attempts after 0.1, 0.2, 0.4, 0.4 ... s
    ASSERT_EQ(failed.size(), 1);
    EXPECT_TRUE(failed[0][1].toString().contains(QStringLiteral("user name or password")));
    EXPECT_FALSE(failed[0][1].toString().contains(QStringLiteral("wrong")));
    EXPECT_EQ(m_publisher.StateText(), QStringLiteral("MQTT not reachable"));

    Enable(QStringLiteral("car1"), QStringLiteral("right"));
    EXPECT_TRUE(WaitConnected());
}

// Makes a certificate authority NAME.crt/.key in dir; with strServer also a
// certificate for 127.0.0.1 that it signed, server.crt/.key.
bool MakeCertificates(const QString& dir, const QString& strName, bool bServer)
{
    auto openssl = [&](const QStringList& args) {
        QProcess p;
        p.setWorkingDirectory(dir);
        p.start(QStringLiteral("openssl"), args);
        return p.waitForFinished(20000) && p.exitCode() == 0;
    };
    const QStringList ec = {
        QStringLiteral("-newkey"), QStringLiteral("ec"), QStringLiteral("-pkeyopt"),
        QStringLiteral("ec_paramgen_curve:prime256v1"), QStringLiteral("-nodes")};
    if (!openssl(QStringList{QStringLiteral("req"), QStringLiteral("-x509")} + ec +
                 QStringList{QStringLiteral("-keyout"), strName + QStringLiteral(".key"),
                             QStringLiteral("-out"), strName + QStringLiteral(".crt"),
                             QStringLiteral("-days"), QStringLiteral("2"), QStringLiteral("-subj"),
                             QStringLiteral("/CN=") + strName}))
        return false;
    if (!bServer)
        return true;
    QFile ext(dir + QStringLiteral("/ext"));
    ext.open(QIODevice::WriteOnly);
    ext.write("subjectAltName=IP:127.0.0.1\n");
    ext.close();
    return openssl(QStringList{QStringLiteral("req")} + ec +
                   QStringList{QStringLiteral("-keyout"), QStringLiteral("server.key"),
                               QStringLiteral("-out"), QStringLiteral("server.csr"),
                               QStringLiteral("-subj"), QStringLiteral("/CN=127.0.0.1")}) &&
           openssl({QStringLiteral("x509"), QStringLiteral("-req"), QStringLiteral("-in"),
                    QStringLiteral("server.csr"), QStringLiteral("-CA"), strName + ".crt",
                    QStringLiteral("-CAkey"), strName + ".key", QStringLiteral("-CAcreateserial"),
                    QStringLiteral("-out"), QStringLiteral("server.crt"), QStringLiteral("-days"),
                    QStringLiteral("2"), QStringLiteral("-extfile"), QStringLiteral("ext")});
}

TEST_F(FleetTest, TlsWithTheBrokersAuthorityAndOneFailureWithAnother)
{
    const QString dir = m_broker.Dir();
    ASSERT_TRUE(MakeCertificates(dir, QStringLiteral("ca"), true));
    ASSERT_TRUE(MakeCertificates(dir, QStringLiteral("other"), false));
    m_broker.SetExtraConfig(QStringLiteral("cafile %1/ca.crt\ncertfile %1/server.crt\n"
                                           "keyfile %1/server.key\nallow_anonymous true\n")
                                .arg(dir));
    ASSERT_TRUE(m_broker.Start());
    QSignalSpy failed(&m_publisher, &CMqttPublisher::Failed);
    SMqttSettings s;
    s.bEnabled = true;
    s.nPort = m_broker.Port();
    s.bTls = true;
    s.strCaFile = dir + QStringLiteral("/other.crt");
    m_publisher.Configure(s);
    QTest::qWait(1500);
    ASSERT_EQ(failed.size(), 1);
    EXPECT_EQ(failed[0][0].toInt(), int(CMqttPublisher::FAIL_TLS));
    EXPECT_EQ(m_publisher.StateText(), QStringLiteral("MQTT not reachable"));

    s.strCaFile = dir + QStringLiteral("/ca.crt");
    m_publisher.Configure(s);
    EXPECT_TRUE(WaitConnected());
}

TEST(FleetPayload, KeysAreTheExportsColumnsAndTextsStayValidJson)
{
    SSample full = Sample(5);
    full.nRxQual = 3;
    full.nTa = 2;
    full.nTxPwrDbm = 33;
    for (SNeighbourSample& n : full.aNeighbour)
        n = {21, 12, -90};
    full.fix.nMode = SGpsFix::FIX_3D;
    full.fix.dLat = 52.52012;
    full.fix.dLon = -13.405;
    full.fix.dAltM = 74.3;
    full.fix.dSpeedKmh = 36;
    full.fix.dErrM = 17.1;
    const QJsonDocument doc = QJsonDocument::fromJson(SamplePayload(full));
    ASSERT_TRUE(doc.isObject());
    QStringList keys;
    for (int i = 0; i < SAMPLE_FIELD_COUNT; ++i)
        if (i != SAMPLE_FIELD_EVENT)
            keys << SampleFieldName(i);
    EXPECT_EQ(doc.object().keys().size(), keys.size());
    for (int i = 0; i < keys.size(); ++i)
        EXPECT_EQ(doc.object().value(keys[i]).isDouble(), IsSampleFieldNumber(i))
            << keys[i].toStdString();
    EXPECT_DOUBLE_EQ(doc.object().value(QStringLiteral("lon")).toDouble(), -13.405);

    const QString text = QStringLiteral("Tarn \"Net\" \\ 1\n\x01 \u00e9");
    const QJsonObject event =
        QJsonDocument::fromJson(EventPayload({full.time, EVENT_REGISTERED, text})).object();
    EXPECT_EQ(event.value(QStringLiteral("event")).toString(), QStringLiteral("registered"));
    EXPECT_EQ(event.value(QStringLiteral("text")).toString(), text);
    SFleetStatus status;
    status.bOnline = true;
    status.strOperator = text;
    EXPECT_EQ(QJsonDocument::fromJson(StatusPayload(status)).object().value("operator"), text);
}

TEST(FleetSettings, APasswordIsSavedForTheOwnerOnlyAndTheTlsPortIsTheDefault)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("Tarn.ini"));
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[MQTT]\r\nTls=1\r\n");
    f.close();
    f.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ReadOther | QFile::ReadGroup);
    SMqttSettings s;
    s.Load(CProfileFile(path));
    EXPECT_EQ(s.Port(), 8883);
    s.strPassword = QStringLiteral("secret");
    CProfileFile ini(path);
    s.Save(ini);
    ASSERT_TRUE(ini.Save());
    struct stat st;
    ASSERT_EQ(stat(path.toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    // Another writer of the file (the port dialog's [PORTS]) keeps it private.
    CProfileFile ports(path);
    ports.WriteString(QStringLiteral("PORTS"), QStringLiteral("COM1"),
                      QStringLiteral("/dev/ttyUSB0"));
    ASSERT_TRUE(ports.Save());
    ASSERT_EQ(stat(path.toLocal8Bit().constData(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);
    SMqttSettings back;
    back.Load(CProfileFile(path));
    EXPECT_EQ(back.strPassword, QStringLiteral("secret"));
    EXPECT_EQ(back.Port(), 8883); // still not pinned to a port
}
} // namespace
