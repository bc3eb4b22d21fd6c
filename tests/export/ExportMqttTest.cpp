// SPDX-License-Identifier: GPL-3.0-or-later
// tessoly-export IN mqtt://...: a recorded drive published to a real
// Mosquitto broker on loopback, as the fleet feed would have published it.
#include <QFile>
#include <QJsonObject>
#include <QProcess>
#include <QStringList>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "fleet/TestBroker.h"

namespace {
// The module powered on and gave its IMEI; it registered; three levels.
const char kDrive[] = "2026-12-10T03:09:10.200+01:00 t>, **O\r\n"
                      "2026-12-10T03:09:11.100+01:00 D<, OK\r\n"
                      "2026-12-10T03:09:11.200+01:00 D<, Tarn GSM Test Mobile 3.0\r\n"
                      "2026-12-10T03:09:11.300+01:00 D<, AT+CGSN\r\n"
                      "2026-12-10T03:09:11.400+01:00 D<, 350123456789012\r\n"
                      "2026-12-10T03:09:12.000+01:00 t<, Idle_Mode_Rpt 20 50\r\n"
                      "2026-12-10T03:09:12.100+01:00 D<, +CPIN: READY\r\n"
                      "2026-12-10T03:09:12.200+01:00 D<, OK\r\n"
                      "2026-12-10T03:09:12.300+01:00 D<, +CREG: 0,1\r\n"
                      "2026-12-10T03:09:12.400+01:00 D<, AT+CIMI\r\n"
                      "2026-12-10T03:09:12.500+01:00 D<, 262011234567890\r\n"
                      "2026-12-10T03:09:12.600+01:00 D<, +COPS: 0,0,\"Tarn Net\"\r\n"
                      "2026-12-10T03:09:13.000+01:00 t<, Idle_Mode_Rpt 20 45\r\n"
                      "2026-12-10T03:09:20.000+01:00 t<, Idle_Mode_Rpt 20 40\r\n";

struct SRun
{
    int nExit = -1;
    QString strOut;
    QString strErr;
};

SRun Export(const QStringList& args)
{
    QProcess p;
    p.start(QStringLiteral(TESSOLY_EXPORT), args);
    p.waitForFinished(60000);
    return {p.exitStatus() == QProcess::NormalExit ? p.exitCode() : -1,
            QString::fromUtf8(p.readAllStandardOutput()),
            QString::fromUtf8(p.readAllStandardError())};
}

class ExportMqtt : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!CTestBroker::IsInstalled())
            GTEST_SKIP() << "mosquitto is not installed (scripts/deps.sh)";
        in = dir.filePath(QStringLiteral("drive.session"));
        QFile f(in);
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(kDrive);
    }
    QString WriteFile(const char* name, const char* text)
    {
        const QString path = dir.filePath(QLatin1String(name));
        QFile f(path);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(text);
        return path;
    }
    QString Url() const { return QStringLiteral("mqtt://127.0.0.1:%1/fleet").arg(broker.Port()); }

    QTemporaryDir dir;
    QString in;
    CTestBroker broker;
};
} // namespace

TEST_F(ExportMqtt, TheSamplesAndEventsArriveWithTheirRecordedTimesInOrderUnderTheImei)
{
    // Anonymous clients may subscribe; this user must give its password.
    const QString passwords = broker.Dir() + QStringLiteral("/passwords");
    ASSERT_EQ(QProcess::execute(QStringLiteral("mosquitto_passwd"),
                                {QStringLiteral("-b"), QStringLiteral("-c"), passwords,
                                 QStringLiteral("car"), QStringLiteral("s3cret")}),
              0);
    broker.SetExtraConfig(
        QStringLiteral("allow_anonymous true\npassword_file %1\n").arg(passwords));
    ASSERT_TRUE(broker.Start());
    CTestSubscriber sub(broker.Port(), QStringLiteral("fleet/#"));
    ASSERT_TRUE(sub.WaitSubscribed());

    const SRun run =
        Export({QStringLiteral("--user"), QStringLiteral("car"), QStringLiteral("--password-file"),
                WriteFile("password", "s3cret\n"), in, Url()});
    ASSERT_EQ(run.nExit, 0) << run.strErr.toStdString();
    EXPECT_EQ(run.strOut.toStdString(),
              "14 lines read, 3 samples and 2 events published to fleet/350123456789012, "
              "0 lines skipped\n");
    // Everything was acknowledged before the program ended.
    ASSERT_TRUE(sub.WaitFor(QStringLiteral("/event"), 2));
    ASSERT_TRUE(sub.WaitFor(QStringLiteral("/sample"), 3));
    QStringList got;
    for (const auto& m : sub.Messages()) {
        const QJsonObject o = m.Json();
        if (!m.strTopic.endsWith(QLatin1String("/status")))
            got << QStringLiteral("%1 %2 %3")
                       .arg(m.strTopic, o.value(QStringLiteral("time")).toString(),
                            o.value(QStringLiteral("event")).toString());
    }
    const QStringList expected = {
        "fleet/350123456789012/event 2026-12-10T03:09:11.100+01:00 power_on",
        "fleet/350123456789012/sample 2026-12-10T03:09:12.000+01:00 ",
        "fleet/350123456789012/event 2026-12-10T03:09:12.600+01:00 registered",
        "fleet/350123456789012/sample 2026-12-10T03:09:13.000+01:00 ",
        "fleet/350123456789012/sample 2026-12-10T03:09:20.000+01:00 ",
    };
    EXPECT_EQ(got.join(QLatin1Char('\n')).toStdString(),
              expected.join(QLatin1Char('\n')).toStdString());
    // The status as live: online with the version, offline once everything was sent.
    const auto status = sub.On(QStringLiteral("/status"));
    ASSERT_GE(status.size(), 2u);
    EXPECT_EQ(status.front().Json().value(QStringLiteral("version")).toString(),
              QStringLiteral(TESSOLY_VERSION));
    EXPECT_EQ(sub.Messages().back().strTopic, QStringLiteral("fleet/350123456789012/status"));
    EXPECT_EQ(sub.Messages().back().Json().value(QStringLiteral("status")),
              QStringLiteral("offline"));
    EXPECT_EQ(sub.On(QStringLiteral("/sample")).back().Json().value(QStringLiteral("rxlev_dbm")),
              -70);
}

TEST_F(ExportMqtt, ABrokerThatCannotBeReachedOrRefusesIsAFailureWithAMessage)
{
    // A wildcard is no topic to publish to (a # would be the address's fragment).
    EXPECT_EQ(Export({in, Url() + QStringLiteral("/#")}).nExit, 2);

    const SRun unreachable = Export({in, Url()});
    EXPECT_EQ(unreachable.nExit, 3);
    EXPECT_EQ(unreachable.strErr.toStdString(),
              QStringLiteral("tessoly-export: the MQTT broker 127.0.0.1:%1 cannot be reached\n")
                  .arg(broker.Port())
                  .toStdString());

    broker.SetExtraConfig(QStringLiteral("allow_anonymous false\n"));
    ASSERT_TRUE(broker.Start());
    const SRun refused = Export({in, Url()});
    EXPECT_EQ(refused.nExit, 3);
    EXPECT_TRUE(refused.strErr.contains(QStringLiteral("refused the user name or password")))
        << refused.strErr.toStdString();
}
