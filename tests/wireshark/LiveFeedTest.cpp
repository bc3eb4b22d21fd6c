// SPDX-License-Identifier: GPL-3.0-or-later
// The live feed: the program against the simulator, a UDP socket in
// Wireshark's place, and what tshark reads of the datagrams it received.
#include <QAction>
#include <QDateTime>
#include <QDir>
#include <QFontDatabase>
#include <QImage>
#include <QPainter>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include "../e2e/E2EFixture.h"
#include "Tshark.h"
#include "gsmtap/GsmtapSender.h"
#include "gsmtap/GsmtapSocket.h"
#include "gsmtap/PcapWriter.h"

namespace {
int g_nWarnings = 0;
QtMessageHandler g_pPrevious = nullptr;

void CountGsmtapWarnings(QtMsgType type, const QMessageLogContext& ctx, const QString& msg)
{
    if (type == QtWarningMsg && qstrcmp(ctx.category, "tessoly.gsmtap") == 0)
        ++g_nWarnings;
    g_pPrevious(type, ctx, msg);
}

// A UDP socket on the loopback in Wireshark's place.
class CSink
{
public:
    CSink()
    {
        m_nFd = socket(AF_INET, SOCK_DGRAM | SOCK_NONBLOCK, 0);
        sockaddr_in a{};
        a.sin_family = AF_INET;
        a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t n = sizeof a;
        if (bind(m_nFd, reinterpret_cast<sockaddr*>(&a), n) == 0 &&
            getsockname(m_nFd, reinterpret_cast<sockaddr*>(&a), &n) == 0)
            m_nPort = ntohs(a.sin_port);
    }
    ~CSink() { ::close(m_nFd); }
    int Port() const { return m_nPort; }
    QList<QByteArray> Drain()
    {
        QList<QByteArray> list;
        char buf[2048];
        for (ssize_t n; (n = recv(m_nFd, buf, sizeof buf, 0)) >= 0;)
            list << QByteArray(buf, int(n));
        return list;
    }

private:
    int m_nFd = -1;
    int m_nPort = 0;
};

// The text as a picture for the help document and the README.
void SaveTextScreen(const QString& strText, const char* pszName)
{
    QFont font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    font.setPointSize(9);
    const QFontMetrics fm(font);
    const QStringList lines = strText.split(QLatin1Char('\n'));
    int nWidth = 0;
    for (const QString& l : lines)
        nWidth = qMax(nWidth, fm.horizontalAdvance(l));
    QImage image(nWidth + 16, int(lines.size()) * fm.lineSpacing() + 16, QImage::Format_RGB32);
    image.fill(Qt::white);
    QPainter p(&image);
    p.setFont(font);
    for (int i = 0; i < lines.size(); ++i)
        p.drawText(8, 8 + fm.ascent() + i * fm.lineSpacing(), lines[i]);
    p.end();
    QDir().mkpath(QStringLiteral(SCREENS_DIR));
    EXPECT_TRUE(image.convertToFormat(QImage::Format_Grayscale8)
                    .save(QStringLiteral(SCREENS_DIR "/%1.png").arg(QLatin1String(pszName))));
}

QStringList Rows(const QString& strFile)
{
    return Tshark::Fields(strFile, {"gsm_a.dtap.msg_rr_type", "gsmtap.arfcn", "gsmtap.signal_dbm"});
}
} // namespace

TEST(GsmtapSocket, FailingSendsGiveOneDiagnosticLine)
{
    g_nWarnings = 0;
    g_pPrevious = qInstallMessageHandler(CountGsmtapWarnings);
    CGsmtapSocket s;
    // Broadcast without permission: every send fails at once.
    ASSERT_TRUE(s.Open(QStringLiteral("255.255.255.255"), 4729));
    for (int i = 0; i < 5; ++i)
        EXPECT_FALSE(s.Send(QByteArray(39, 'x')));
    qInstallMessageHandler(g_pPrevious);
    EXPECT_EQ(g_nWarnings, 1);
}

// Switched off (the default) nothing is sent; switched on from the Control
// menu, every System Information line goes out with the carrier and level
// the panel shows at that moment; the same session converted afterwards
// gives the same messages.
TEST_F(E2E, LiveFeedSendsSystemInformationOnlyWhileSwitchedOn)
{
    SKIP_WITHOUT_TSHARK();
    CSink sink;
    ASSERT_NE(sink.Port(), 0);
    Start(FastSim());
    // The session as recorded, and the panel's values at every SI line sent.
    QByteArray session;
    bool bOn = false;
    int nSiLines = 0, nBeforeOn = 0;
    QStringList expected;
    QObject::connect(c, &CTessolyDlg::TraceLineHandled, [&](const QString& line) {
        session += QDateTime::currentDateTime().toString("yyyy-MM-ddTHH:mm:ss.zzz").toLatin1() +
                   " t<, " + line.toLatin1() + "\n";
        if (!line.startsWith(QLatin1String("Bcch_Report")) || c->TraceReport().Bcch().nType < 0)
            return;
        ++nSiLines;
        if (!bOn) {
            if (expected.isEmpty())
                nBeforeOn = nSiLines;
            return;
        }
        const QString level = Text(IDC_RXLEV).section(QLatin1Char(' '), 2, 2);
        expected << QStringLiteral("0x%1|%2|%3")
                        .arg(0x19 + c->TraceReport().Bcch().nType, 2, 16, QLatin1Char('0'))
                        .arg(Text(IDC_BCCH), level);
    });
    ToIdle();
    frame->m_strGsmtapHost = QStringLiteral("127.0.0.1");
    frame->m_nGsmtapPort = sink.Port();
    ASSERT_TRUE(WaitFor([&] { return nSiLines >= 4; }));
    frame->m_pGsmtap->Flush();
    EXPECT_TRUE(sink.Drain().isEmpty());

    frame->OnCommand(ID_CONTROL_GSMTAP);
    EXPECT_TRUE(frame->Action(ID_CONTROL_GSMTAP)->isChecked());
    bOn = true;
    QList<QByteArray> datagrams;
    ASSERT_TRUE(WaitFor([&] {
        datagrams += sink.Drain();
        return datagrams.size() >= 8;
    }));
    frame->OnCommand(ID_CONTROL_GSMTAP);
    bOn = false;
    frame->m_pGsmtap->Flush();
    QTest::qWait(50);
    datagrams += sink.Drain();
    ASSERT_EQ(datagrams.size(), expected.size());
    const int nSent = int(expected.size());
    ASSERT_TRUE(WaitFor([&] { return nSiLines >= nBeforeOn + nSent + 2; }));
    EXPECT_TRUE(sink.Drain().isEmpty());

    const QString live = dir.filePath(QStringLiteral("live.pcap"));
    CPcapWriter writer;
    QString error;
    ASSERT_TRUE(writer.Open(live, &error));
    for (const QByteArray& d : datagrams)
        writer.Write(0, d);
    ASSERT_TRUE(writer.Commit(&error));
    const QStringList rows = Rows(live);
    EXPECT_EQ(rows, expected);
    QSet<QString> types;
    for (const QString& r : rows)
        types << r.left(4);
    EXPECT_EQ(types.size(), 4);
    // What tshark -V shows of the first System Information 3 received.
    QString shot =
        Tshark::Read(live, {"-Y", "gsm_a.dtap.msg_rr_type == 0x1b", "-O", "gsmtap,gsm_a.ccch"});
    shot = shot.mid(shot.indexOf(QStringLiteral("GSM TAP")));
    SaveTextScreen(shot.left(shot.indexOf(QStringLiteral("\n\n"))), "readme-wireshark");

    const QString in = dir.filePath(QStringLiteral("session.log"));
    const QString out = dir.filePath(QStringLiteral("session.pcap"));
    QFile f(in);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write(session);
    f.close();
    QProcess tool;
    tool.start(QStringLiteral(TESSOLY_PCAP), {in, out});
    ASSERT_TRUE(tool.waitForFinished(30000));
    ASSERT_EQ(tool.exitCode(), 0) << tool.readAllStandardError().toStdString();
    const QStringList converted = Rows(out);
    ASSERT_GE(converted.size(), nBeforeOn + nSent);
    EXPECT_EQ(converted.mid(nBeforeOn, nSent), rows);
    const QStringList times = Tshark::Fields(out, {"frame.time_epoch"});
    for (int i = 1; i < times.size(); ++i)
        EXPECT_LE(times[i - 1].toDouble(), times[i].toDouble());
}
