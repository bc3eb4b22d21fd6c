// SPDX-License-Identifier: GPL-3.0-or-later
// The events of a drive as the conversation sees them.
#include "SequencerFixture.h"
#include "measure/EventSink.h"
#include "measure/MeasureEvent.h"

namespace {
class RecordingSink : public CEventSink
{
public:
    void OnEvent(int nEvent, const QString& strText) override
    {
        events << (QLatin1String(EventName(nEvent)) + QLatin1Char(' ') + strText).trimmed();
    }
    QStringList events;
};
} // namespace

using ConversationEvents = SequencerTest;

TEST_F(ConversationEvents, PowerOnRegisteredCallsMessageAndPowerOff)
{
    RecordingSink sink;
    seq.SetEventSink(&sink);
    seq.Start(false);
    for (const char* line : {"OK", "OK", "Tarn GSM Test Mobile 3.0", "AT+CGSN", "350123456789012",
                             "+CPIN: READY", "OK", "+CREG: 0,1", "AT+CIMI", "262011234567890",
                             "+COPS: 0,0,\"Tarn Net\"", "OK", "OK", "OK"})
        Line(line);
    ASSERT_EQ(seq.State(), STEP_IDLE);
    // An incoming call, answered and ended by the network.
    Line("RING");
    Line("AT+CLCC");
    Line("+CLCC: 1,1,4,0,0,\"555\",129");
    Line("RING");
    seq.OnYes(QString(), QStringLiteral("Voice"));
    Line("NO CARRIER");
    // A call dialled that does not come through, and a message.
    seq.OnYes(QStringLiteral("0301234"), QStringLiteral("Voice"));
    Line("NO CARRIER");
    seq.OnYes(QStringLiteral("0301234"), QStringLiteral("SMS"));
    Line("+CMGS: 5");
    Line("OK");
    seq.OnYes(QStringLiteral("0309999"), QStringLiteral("SMS"));
    Line("+CMS ERROR: 500");
    // The module searches again and finds no network.
    SetState(STEP_SEARCHING);
    Line("+CREG: 0,2");
    seq.RunStep(STEP_POWER_OFF_DONE);
    seq.RunStep(STEP_POWER_OFF_DONE);
    EXPECT_EQ(sink.events.join(QLatin1Char('|')).toStdString(),
              "power_on|registered Tarn Net|call_incoming 555|call_connected|call_ended|"
              "call_dialled 0301234|call_ended|sms_sent 0301234|sms_failed 0309999|"
              "registration_lost|power_off");
}
