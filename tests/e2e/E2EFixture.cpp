// SPDX-License-Identifier: GPL-3.0-or-later
#include "E2EFixture.h"
#include "TestAccess.h"

#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QTest>

CSimOptions E2E::FastSim()
{
    CSimOptions o;
    o.nBootMs = 30;
    o.nReportIntervalMs = 60;
    o.nRingIntervalMs = 150;
    o.nCallSetupMs = 50;
    o.nRegPolls = 2;
    return o;
}

void E2E::Start(const CSimOptions& opt, const char* options, const char* flags)
{
    sim = std::make_unique<CSimModule>(opt);
    ASSERT_TRUE(sim->Start());
    QFile ini(dir.filePath(QStringLiteral("Tarn.ini")));
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(QByteArray("[MISC]\r\nOptions=") + options + "\r\nTrace Flags=" + flags +
              "\r\n[PORTS]\r\nCOM1=" + sim->DataPath().toLatin1() +
              "\r\nCOM2=" + sim->TracePath().toLatin1() + "\r\n" + extraIni);
    ini.close();
    frame = std::make_unique<CMainFrame>(QStringList{QStringLiteral("/opt/tessoly/tessoly")});
    frame->SetProgramDir(dir.path());
    c = frame->m_pController.get();
    c->m_nTraceCharDelay = 2;
    c->m_nPowerOnWait = 100;
    c->m_nProbeInterval = 50;
    c->m_nPowerOffDelay = 50;
    c->m_nFirstRegPoll = 100;
    c->m_nRegPollInterval = 50;
    c->m_nIdlePause = 20;
    c->m_nClosePause = 10;
    c->m_nRingTimeout = 1500;
    ASSERT_TRUE(frame->Create());
    frame->show();
}

void E2E::TearDown()
{
    frame.reset();
    if (sim)
        sim->Stop();
    sim.reset();
}

bool E2E::WaitFor(const std::function<bool()>& pred, int ms)
{
    return QTest::qWaitFor(pred, ms);
}

void E2E::Type(const QString& number)
{
    auto* edit = c->Item<QLineEdit>(IDC_NUMBER);
    edit->setFocus();
    edit->clear();
    QTest::keyClicks(edit, number);
}

void E2E::CallType(const QString& type)
{
    auto* box = c->Item<QComboBox>(IDC_CALLTYPE);
    box->setCurrentIndex(box->findText(type));
}

void E2E::ToIdle()
{
    ASSERT_TRUE(WaitState(STEP_IDLE))
        << "state " << c->State() << " status " << Text(IDC_STATUS).toStdString();
    ASSERT_TRUE(WaitStatus(QStringLiteral("Tarn Mobile")));
}
