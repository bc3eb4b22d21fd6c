// SPDX-License-Identifier: GPL-3.0-or-later
// A review in the main frame: another session replaces it, the event list
// follows its moment, and a confirmed exit keeps the live settings that the
// review held off.
#include <QFile>
#include <QItemSelectionModel>
#include <QTableView>
#include <gtest/gtest.h>

#include "ModalAnswerer.h"
#include "ShellFixture.h"
#include "chart/EventList.h"
#include "control/SessionReview.h"
#include "platform/ProfileFile.h"

namespace {
// Power-on at 10.2 s (its event at 11.1 s), registration at 12.6 s.
const char kSession[] = "2026-12-10T03:09:10.000+01:00 t<, Idle_Mode_Rpt 20 50\r\n"
                        "2026-12-10T03:09:10.200+01:00 t>, **O\r\n"
                        "2026-12-10T03:09:11.100+01:00 D<, OK\r\n"
                        "2026-12-10T03:09:11.200+01:00 D<, Tarn GSM Test Mobile 3.0\r\n"
                        "2026-12-10T03:09:11.300+01:00 D<, AT+CGSN\r\n"
                        "2026-12-10T03:09:11.400+01:00 D<, 350123456789012\r\n"
                        "2026-12-10T03:09:12.100+01:00 D<, +CPIN: READY\r\n"
                        "2026-12-10T03:09:12.200+01:00 D<, OK\r\n"
                        "2026-12-10T03:09:12.300+01:00 D<, +CREG: 0,1\r\n"
                        "2026-12-10T03:09:12.400+01:00 D<, AT+CIMI\r\n"
                        "2026-12-10T03:09:12.500+01:00 D<, 262011234567890\r\n"
                        "2026-12-10T03:09:12.600+01:00 D<, +COPS: 0,0,\"Tarn Net\"\r\n"
                        "2026-12-10T03:09:13.000+01:00 t<, Idle_Mode_Rpt 20 45\r\n";

QString WriteFile(const QTemporaryDir& dir, const char* pszName, const QByteArray& text)
{
    const QString path = dir.filePath(QString::fromLatin1(pszName));
    QFile f(path);
    if (f.open(QIODevice::WriteOnly))
        f.write(text);
    return path;
}

int CurrentRow(const CEventList& list)
{
    const QModelIndexList rows = list.View()->selectionModel()->selectedRows();
    return rows.isEmpty() ? -1 : rows.first().row();
}
} // namespace

TEST(Review, ReplacedByAnotherSessionFollowedByTheEventListAndExitKeepsTheSettings)
{
    QTemporaryDir files;
    const QString full = WriteFile(files, "full.session", kSession);
    // Up to the power-on only: one event.
    const QString part =
        WriteFile(files, "part.session",
                  QByteArray(kSession).left(QByteArray(kSession).indexOf("D<, +CPIN")));
    ShellFixture fx("[RECORDING]\r\nEnabled=1\r\n[GPS]\r\nEnabled=1\r\nHost=127.0.0.1\r\nPort=9\r\n"
                    "[MQTT]\r\nEnabled=1\r\nHost=127.0.0.1\r\nPort=9\r\n",
                    {QStringLiteral("--review"), full, QStringLiteral("--end")});
    ModalAnswerer answer;
    ASSERT_TRUE(fx.frame->Create());
    CEventList* list = fx.frame->EventList();
    ASSERT_EQ(list->Model()->rowCount(), 2);
    EXPECT_EQ(CurrentRow(*list), 1);
    CSessionReview* review = fx.frame->Review();
    review->Seek(review->Begin());
    EXPECT_EQ(CurrentRow(*list), -1);
    review->Seek(review->Begin() + 2000); // 12.0 s: after the power-on, before registration
    EXPECT_EQ(CurrentRow(*list), 0);

    // Open Session during the review: the other file replaces it.
    ASSERT_TRUE(fx.frame->OpenSession(part));
    EXPECT_EQ(review->Path(), part);
    EXPECT_EQ(list->Model()->rowCount(), 1);

    fx.frame->show();
    EXPECT_TRUE(fx.frame->close());
    CProfileFile ini(fx.IniPath());
    EXPECT_EQ(ini.GetInt(QStringLiteral("RECORDING"), QStringLiteral("Enabled"), 0), 1);
    EXPECT_EQ(ini.GetInt(QStringLiteral("GPS"), QStringLiteral("Enabled"), 0), 1);
    EXPECT_EQ(ini.GetInt(QStringLiteral("MQTT"), QStringLiteral("Enabled"), 0), 1);
    EXPECT_EQ(ini.GetInt(QStringLiteral("DATA PORT"), QStringLiteral("Number"), 0), 1);
    EXPECT_EQ(ini.GetInt(QStringLiteral("TRACE PORT"), QStringLiteral("Number"), 0), 2);
    EXPECT_TRUE(fx.DataWire().isEmpty());
    EXPECT_TRUE(fx.TraceWire().isEmpty());
}
