// SPDX-License-Identifier: GPL-3.0-or-later
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QStringList>
#include <cstring>

#include "sysinfo/SysInfoDecoder.h"

// Complete System Information messages decoded element by element and
// compared with expected texts worked out by hand (tests/sysinfo/data).
//
// File format: '#' comment lines; "type:", "octets:" (the 20 octets after
// the message type), "band:" and "rest:" lines; then per element a line
// "== <element> <label>" followed by the element's lines. Every decoded line
// starts with CR LF; the file holds the lines without them.
namespace {
struct Golden
{
    int type = 0;
    unsigned char octets[20] = {};
    int band = 43;
    bool rest = true;
    struct Element
    {
        int number;
        QString label;
        QString text; // with "\n" line starts
    };
    std::vector<Element> elements;
};

bool LoadGolden(const QString& path, Golden& g, QString& error)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly)) {
        error = QStringLiteral("cannot open ") + path;
        return false;
    }
    QStringList lines = QString::fromLatin1(f.readAll()).split(QLatin1Char('\n'));
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast();
    int nOctets = 0;
    for (const QString& line : lines) {
        if (line.startsWith(QLatin1String("== "))) {
            const QString rest = line.mid(3);
            const int blank = rest.indexOf(QLatin1Char(' '));
            g.elements.push_back({rest.left(blank).toInt(), rest.mid(blank + 1), QString()});
        } else if (!g.elements.empty()) {
            g.elements.back().text += QLatin1Char('\n') + line;
        } else if (line.startsWith(QLatin1Char('#')) || line.isEmpty()) {
            continue;
        } else if (line.startsWith(QLatin1String("type:"))) {
            g.type = line.mid(5).trimmed().toInt();
        } else if (line.startsWith(QLatin1String("band:"))) {
            g.band = line.mid(5).trimmed().toInt();
        } else if (line.startsWith(QLatin1String("rest:"))) {
            g.rest = line.mid(5).trimmed().toInt() != 0;
        } else if (line.startsWith(QLatin1String("octets:"))) {
            const QStringList hex = line.mid(7).simplified().split(QLatin1Char(' '));
            for (const QString& h : hex)
                if (nOctets < 20)
                    g.octets[nOctets++] = static_cast<unsigned char>(h.toInt(nullptr, 16));
            nOctets = static_cast<int>(hex.size());
        } else {
            error = QStringLiteral("unexpected line: ") + line;
            return false;
        }
    }
    if (g.type < 1 || g.type > 4 || nOctets != 20 || g.elements.empty()) {
        error = QStringLiteral("incomplete golden file ") + path;
        return false;
    }
    return true;
}

// Every line break of the decoder is CR LF; no lone CR or LF.
bool OnlyCrLf(const QString& s)
{
    for (int i = 0; i < s.size(); ++i) {
        if (s[i] == QLatin1Char('\r') && (i + 1 >= s.size() || s[i + 1] != QLatin1Char('\n')))
            return false;
        if (s[i] == QLatin1Char('\n') && (i == 0 || s[i - 1] != QLatin1Char('\r')))
            return false;
    }
    return true;
}
} // namespace

TEST(SysInfoGolden, CompleteMessagesDecodeAsWorkedOut)
{
    const QDir dir(QStringLiteral(TEST_DATA_DIR));
    const QStringList files = dir.entryList({QStringLiteral("si*.txt")}, QDir::Files, QDir::Name);
    ASSERT_GE(files.size(), 6);
    bool seen[5] = {};
    for (const QString& name : files) {
        SCOPED_TRACE(name.toStdString());
        Golden g;
        QString error;
        ASSERT_TRUE(LoadGolden(dir.filePath(name), g, error)) << error.toStdString();
        seen[g.type] = true;

        CSysInfoDecoder d;
        std::memcpy(d.m_abySysInfo[g.type - 1], g.octets, 20);
        d.m_nBandPower = g.band;
        d.m_bRestOctets = g.rest;
        for (const Golden::Element& e : g.elements) {
            SCOPED_TRACE(e.number);
            EXPECT_EQ(e.label, CSysInfoDecoder::ElementLabel(g.type, e.number));
            const QString decoded = d.DecodeElement(QString(), g.type, e.number);
            EXPECT_TRUE(OnlyCrLf(decoded));
            QString shown = decoded;
            shown.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            EXPECT_EQ(shown.toStdString(), e.text.toStdString());
        }
        // The other types' stores are not read: filling them changes nothing.
        CSysInfoDecoder other = d;
        for (int t = 0; t < 4; ++t)
            if (t != g.type - 1)
                std::memset(other.m_abySysInfo[t], 0xA5, 20);
        for (const Golden::Element& e : g.elements)
            EXPECT_EQ(other.DecodeElement(QString(), g.type, e.number),
                      d.DecodeElement(QString(), g.type, e.number));
    }
    for (int t = 1; t <= 4; ++t)
        EXPECT_TRUE(seen[t]) << "no golden message of type " << t;
}
