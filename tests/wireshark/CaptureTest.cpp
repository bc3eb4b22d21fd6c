// SPDX-License-Identifier: GPL-3.0-or-later
// What Wireshark reads from the messages we hand it: the capture file of
// System Information messages built from the simulator's reports.
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include "Tshark.h"
#include "gsmtap/GsmtapPacket.h"
#include "gsmtap/PcapWriter.h"
#include "sim/SimRadio.h"
#include "sim/SimReports.h"
#include "sysinfo/BcchCapture.h"
#include "sysinfo/SysInfoDecoder.h"
#include "trace/TraceReport.h"

namespace {
// Feeds the lines through the record as the panel does and writes every
// message into a capture file, one second apart.
int WriteCapture(const QString& strFile, const QList<QByteArray>& lines)
{
    CTraceReport report;
    CBcchCapture capture;
    CPcapWriter writer;
    QString strError;
    EXPECT_TRUE(writer.Open(strFile, &strError)) << strError.toStdString();
    int n = 0;
    for (const QByteArray& l : lines) {
        QString line = QString::fromLatin1(l);
        SBcchMessage m;
        if (capture.Follow(report, report.ParseLine(line), &m))
            writer.Write(1700000000000LL + 1000 * n++, CGsmtapPacket::Make(m));
    }
    EXPECT_TRUE(writer.Commit(&strError)) << strError.toStdString();
    return n;
}

// Captures group 1 of the pattern in the text, or an empty string.
QString Find(const QString& strText, const QString& strPattern)
{
    return QRegularExpression(strPattern).match(strText).captured(1);
}

// The channels of a list as our decoder writes it ("1 - 3, 7, ...").
QList<int> DecodedChannels(const QString& strText)
{
    QList<int> list;
    QString s = strText.mid(strText.indexOf(QStringLiteral("list:\r\n")) + 7);
    s.remove(QStringLiteral("\r\n"));
    for (const QString& item : s.split(QStringLiteral(", "), Qt::SkipEmptyParts)) {
        const QStringList ends = item.split(QStringLiteral(" - "));
        for (int c = ends.first().toInt(); c <= ends.last().toInt(); ++c)
            list << c;
    }
    return list;
}

// The channels of Wireshark's "List of ARFCNs = ..." line.
QList<int> ReadChannels(const QString& strText)
{
    QList<int> list;
    for (const QString& c : Find(strText, QStringLiteral("List of ARFCNs = ([0-9 ]+)"))
                                .split(QLatin1Char(' '), Qt::SkipEmptyParts))
        list << c.toInt();
    std::sort(list.begin(), list.end());
    return list;
}

// Our decoder's text of one element of the simulated cell's message.
QString Decoded(const CSimRadio& r, int nType, int nElement)
{
    CSysInfoDecoder d;
    const auto o = r.SysInfo(nType);
    std::copy(o.begin(), o.end(), d.m_abySysInfo[nType - 1]);
    return d.DecodeElement(QString(), nType, nElement);
}
} // namespace

// For each of the four types Wireshark names the message and reads the
// cell the way our decoder does; the GSMTAP header carries the panel's
// serving carrier and level. The pseudo lengths are those of the standard:
// the message without its rest octets (type 4: with the CBCH elements).
TEST(Capture, WiresharkReadsTheSimulatedSystemInformation)
{
    SKIP_WITHOUT_TSHARK();
    QTemporaryDir dir;
    for (bool bHopping : {false, true}) {
        SCOPED_TRACE(bHopping ? "hopping CBCH" : "single CBCH");
        CSimRadio r(5, false, bHopping);
        QList<QByteArray> lines{SimReports::IdleModeRpt(r)};
        for (int t = 1; t <= 4; ++t)
            lines << SimReports::BcchReport(r, t, t);
        const QString f = dir.filePath(QStringLiteral("si.pcap"));
        ASSERT_EQ(WriteCapture(f, lines), 4);

        const QStringList rows =
            Tshark::Fields(f, {"gsmtap.version", "gsmtap.type", "gsmtap.chan_type", "gsmtap.ts",
                               "gsmtap.frame_nr", "gsmtap.arfcn", "gsmtap.signal_dbm",
                               "gsm_a.dtap.msg_rr_type", "gsm_a.rr.l2_pseudo_len"});
        ASSERT_EQ(rows.size(), 4) << rows.join('\n').toStdString();
        const int kPseudo[4] = {21, 22, 18, bHopping ? 19 : 16};
        for (int t = 1; t <= 4; ++t) {
            const QString want = QStringLiteral("2|1|1|0|0|%1|%2|0x%3|%4")
                                     .arg(r.Serving().nArfcn)
                                     .arg(r.Serving().nLevel - 110)
                                     .arg(0x18 + t, 2, 16, QLatin1Char('0'))
                                     .arg(kPseudo[t - 1]);
            EXPECT_EQ(rows[t - 1], want);
        }

        const QStringList msgs = Tshark::Read(f, {"-V"}).split(QStringLiteral("GSM CCCH - "));
        ASSERT_EQ(msgs.size(), 5);
        for (int t = 1; t <= 4; ++t)
            EXPECT_TRUE(msgs[t].startsWith(CSysInfoDecoder::TypeLabel(t))) << t;
        // Carrier lists of types 1 and 2.
        EXPECT_EQ(ReadChannels(msgs[1]), DecodedChannels(Decoded(r, 1, 1)));
        EXPECT_EQ(ReadChannels(msgs[2]), DecodedChannels(Decoded(r, 2, 1)));
        EXPECT_EQ(ReadChannels(msgs[2]).size(), CSimRadio::NEIGHBOURS);
        // Cell identity, location area and control channel of type 3, location area of 4.
        const QString ci = Find(Decoded(r, 3, 1), QStringLiteral("\\(CI\\): ([0-9A-F]+)"));
        EXPECT_EQ(Find(msgs[3], QStringLiteral("Cell CI: 0x([0-9a-f]+)")), ci.toLower());
        for (int t : {3, 4}) {
            const QString lai = Decoded(r, t, t == 3 ? 2 : 1);
            EXPECT_EQ(Find(msgs[t], QStringLiteral("\\(MCC\\): .*\\((\\d+)\\)")),
                      Find(lai, QStringLiteral("\\(MCC\\):  (\\d+)")));
            EXPECT_EQ(Find(msgs[t], QStringLiteral("\\(MNC\\): .*\\((\\d+)\\)")),
                      Find(lai, QStringLiteral("\\(MNC\\): (\\d+)")));
            EXPECT_EQ(Find(msgs[t], QStringLiteral("\\(LAC\\): 0x([0-9a-f]+)")).toUInt(nullptr, 16),
                      Find(lai, QStringLiteral("\\(LAC\\): ([0-9A-F]+)")).toUInt(nullptr, 16));
        }
        const QString ccd = Decoded(r, 3, 3);
        EXPECT_EQ(Find(msgs[3], QStringLiteral("= ATT: .*\\((\\d)\\)")),
                  Find(ccd, QStringLiteral("ATT: (\\d+)")));
        EXPECT_EQ(Find(msgs[3], QStringLiteral("BS_AG_BLKS_RES: (\\d+)")),
                  Find(ccd, QStringLiteral("BS-AG-BLKS-RES: (\\d+)")));
        EXPECT_EQ(Find(msgs[3], QStringLiteral("CCCH-CONF: .*\\((\\d)\\)")),
                  Find(ccd, QStringLiteral("CCCH-CONF: (\\d+)")));
        EXPECT_EQ(Find(msgs[3], QStringLiteral("BS-PA-MFRMS: (\\d+)")),
                  Find(ccd, QStringLiteral("BS-PA-MFRMS: \\d+ = (\\d+)")));
        EXPECT_EQ(Find(msgs[3], QStringLiteral("T3212: (\\d+)")),
                  Find(ccd, QStringLiteral("Timeout Value: (\\d+)")));
    }
}

// A report that carried fewer octets is filled with the padding octet, not
// with the octets of an older message of that type; other types give none.
TEST(Capture, ShortReportIsPaddedAndOtherTypesGiveNoMessage)
{
    CTraceReport report;
    CBcchCapture capture;
    SBcchMessage m;
    auto follow = [&](const char* psz) {
        QString line = QString::fromLatin1(psz);
        return capture.Follow(report, report.ParseLine(line), &m);
    };
    ASSERT_TRUE(follow("Bcch_Report 21 45 0 1B 01 02 03 04 05 06 07 08 09 0A 0B 0C 0D 0E 0F "
                       "10 11 12 13 14"));
    ASSERT_TRUE(follow("Bcch_Report 21 45 0 1B A1 A2 A3"));
    EXPECT_EQ(m.block.toHex(), QByteArray("49061ba1a2a3") + QByteArray("2b").repeated(17));
    EXPECT_FALSE(follow("Bcch_Report 21 45 0 1D 01 02"));
    EXPECT_FALSE(follow("Bcch_Report 21"));
}
