// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/SerialPort.h"
#include "common/PtyPair.h"
#include "platform/PortNames.h"
#include "serial/SerialReader.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QSet>
#include <QTemporaryDir>
#include <QTest>
#include <QThread>
#include <functional>
#include <grp.h>
#include <gtest/gtest.h>
#include <memory>
#include <poll.h>
#include <pwd.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {
const QEvent::Type kLineEvent = static_cast<QEvent::Type>(QEvent::User + 77);

// Stands in for the controller: takes one line per line event.
class LineSink : public QObject
{
public:
    CSerialPort* m_pPort = nullptr;
    QStringList m_lines;
    int m_nOtherEvents = 0;

protected:
    bool event(QEvent* e) override
    {
        if (e->type() == kLineEvent) {
            m_lines.append(m_pPort ? m_pPort->GetLine() : QString());
            return true;
        }
        if (e->type() >= QEvent::User)
            ++m_nOtherEvents;
        return QObject::event(e);
    }
};

struct Channel
{
    LineSink sink;
    std::unique_ptr<CSerialPort> port;
    Channel() : port(std::make_unique<CSerialPort>(&sink, kLineEvent, 4096, 1024, 100))
    {
        sink.m_pPort = port.get();
    }
};

// The ids of the channels' reader threads, found by their name (a sanitizer's
// runtime starts threads of its own).
QSet<QString> ThreadIds()
{
    QSet<QString> readers;
    const QDir tasks(QStringLiteral("/proc/self/task"));
    for (const QString& id : tasks.entryList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        QFile name(tasks.filePath(id + QStringLiteral("/comm")));
        if (name.open(QIODevice::ReadOnly) && name.readAll().trimmed() == "serial reader")
            readers << id;
    }
    return readers;
}

// Waits briefly: the kernel may list a thread for a moment after it was joined.
bool ThreadsGone(const QSet<QString>& ids)
{
    return QTest::qWaitFor([&] { return !ThreadIds().intersects(ids); }, 1000);
}

double CpuSeconds()
{
    struct rusage ru;
    getrusage(RUSAGE_SELF, &ru);
    return ru.ru_utime.tv_sec + ru.ru_stime.tv_sec +
           (ru.ru_utime.tv_usec + ru.ru_stime.tv_usec) / 1e6;
}

// Lines head 0 tail, head 1 tail, ... each ended by CR LF.
QByteArray NumberedLines(const char* pszHead, const char* pszTail, int nLines)
{
    QByteArray bytes;
    for (int i = 0; i < nLines; ++i)
        bytes += pszHead + QByteArray::number(i) + pszTail + "\r\n";
    return bytes;
}

// A forked copy of this process that runs a function, sends back what it
// returned and then stays until released (when this object goes), holding
// whatever the function opened.
class ChildProcess
{
public:
    explicit ChildProcess(const std::function<QByteArray()>& f)
    {
        int out[2], hold[2];
        if (::pipe(out) != 0)
            return;
        if (::pipe(hold) != 0) {
            ::close(out[0]);
            ::close(out[1]);
            return;
        }
        m_pid = ::fork();
        if (m_pid == 0) {
            ::close(out[0]);
            ::close(hold[1]);
            const QByteArray result = f();
            if (::write(out[1], result.constData(), result.size()) < 0)
                _exit(1);
            ::close(out[1]);
            char c;
            while (::read(hold[0], &c, 1) > 0) {
            }
            _exit(0);
        }
        ::close(out[1]);
        ::close(hold[0]);
        m_out = out[0];
        m_hold = hold[1];
    }
    ~ChildProcess()
    {
        ::close(m_hold);
        ::close(m_out);
        if (m_pid <= 0)
            return;
        QElapsedTimer t;
        t.start();
        while (::waitpid(m_pid, nullptr, WNOHANG) == 0) {
            if (t.elapsed() > 5000) {
                ::kill(m_pid, SIGKILL);
                ::waitpid(m_pid, nullptr, 0);
                break;
            }
            QThread::msleep(5);
        }
    }
    pid_t Pid() const { return m_pid; }
    // What the function returned, once the child has sent it.
    QByteArray Result()
    {
        QByteArray result;
        char buf[1024];
        struct pollfd p = {m_out, POLLIN, 0};
        while (m_out >= 0 && ::poll(&p, 1, 10000) > 0) {
            const ssize_t n = ::read(m_out, buf, sizeof buf);
            if (n <= 0)
                break;
            result.append(buf, n);
        }
        return result;
    }

private:
    pid_t m_pid = -1;
    int m_out = -1;
    int m_hold = -1;
};

// Polls without running the event loop, so no line event is handled meanwhile.
template <typename F> bool PollWithoutEvents(F pred, int ms)
{
    QElapsedTimer t;
    t.start();
    while (!pred()) {
        if (t.elapsed() > ms)
            return false;
        QThread::msleep(2);
    }
    return true;
}

// Writes numbered Idle_Mode_Rpt lines, without handling a line event, until
// the terminal takes no more for a while: only a reader that has stopped
// leaves it full. Returns the number of whole lines written.
int FillUntilHeldBack(PtyPair& pty)
{
    int nWritten = 0;
    QByteArray pending;
    QElapsedTimer refused;
    while (nWritten < 1000000) {
        if (pending.isEmpty())
            pending = "Idle_Mode_Rpt " + QByteArray::number(nWritten) + " 62 45\r\n";
        const ssize_t n = ::write(pty.MasterFd(), pending.constData(), pending.size());
        if (n > 0) {
            pending.remove(0, n);
            if (pending.isEmpty())
                ++nWritten;
            refused.invalidate();
            continue;
        }
        if (!refused.isValid())
            refused.start();
        else if (refused.elapsed() > 300)
            break;
        QThread::msleep(5);
    }
    return nWritten;
}
} // namespace

TEST(SerialPort, OpenErrors)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    Channel a, b;
    EXPECT_EQ(a.port->OpenDevice(QStringLiteral("/dev/tessoly-no-such-device")), SP_NO_PORT);
    EXPECT_FALSE(a.port->IsOpen());
    EXPECT_EQ(a.port->OpenFailure(),
              QStringLiteral("No such device: plug the adapter in, or choose another device"));
    EXPECT_EQ(a.port->OpenDevice(QString()), SP_NO_PORT);
    // A path that is not a terminal opens as a file but cannot be set up.
    EXPECT_NE(a.port->OpenDevice(QStringLiteral("/proc/self/status")), SP_OK);
    a.port->Close();

    ASSERT_EQ(a.port->OpenDevice(pty.SlavePath()), SP_OK);
    EXPECT_TRUE(a.port->IsOpen());
    EXPECT_EQ(a.port->OpenFailure(), QString());
    // The device is held by the first channel.
    EXPECT_EQ(b.port->OpenDevice(pty.SlavePath()), SP_ACCESS_DENIED);
    EXPECT_FALSE(b.port->IsOpen());
    EXPECT_EQ(b.port->OpenFailure(),
              QStringLiteral("In use by this program: the other port already has it; choose "
                             "another device"));
    EXPECT_EQ(a.port->Close(), SP_OK);
    EXPECT_FALSE(a.port->IsOpen());
    EXPECT_EQ(b.port->OpenDevice(pty.SlavePath()), SP_OK);

    // Closing a closed channel is harmless; writes and settings then fail.
    EXPECT_EQ(a.port->Close(), SP_OK);
    EXPECT_EQ(a.port->Close(), SP_OK);
    EXPECT_EQ(a.port->Write("AT\r", 3), SP_WRITE_FAILED);
    EXPECT_EQ(a.port->SetParameters(19200, 8, 0, 0), SP_SETUP_FAILED);
}

// Another panel has the port: the one that cannot open it names that program.
TEST(SerialPort, PortHeldByAnotherProgramNamesIt)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    ChildProcess holder([&pty] {
        // Kept open until the child is released.
        auto* pReader = new CSerialReader(nullptr, kLineEvent, 4096, 1024);
        return QByteArray::number(pReader->OpenDevice(pty.SlavePath()));
    });
    ASSERT_EQ(holder.Result(), QByteArray("0"));
    QFile comm(QStringLiteral("/proc/self/comm"));
    ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
    Channel c;
    EXPECT_EQ(c.port->OpenDevice(pty.SlavePath()), SP_ACCESS_DENIED);
    EXPECT_EQ(c.port->OpenFailure(), QStringLiteral("In use by another program: %1 (pid %2); close "
                                                    "it there, or choose another device")
                                         .arg(QString::fromLocal8Bit(comm.readAll().trimmed()))
                                         .arg(holder.Pid()));
}

// A user outside the device's group is told which group to join, by name.
TEST(SerialPort, DeviceOfAGroupTheUserIsNotInSaysWhichGroupToJoin)
{
    const group* dialout = ::getgrnam("dialout");
    const passwd* nobody = ::getpwnam("nobody");
    if (::geteuid() != 0 || !dialout || !nobody)
        GTEST_SKIP() << "needs root, the group dialout and the user nobody";
    const gid_t dialoutGid = dialout->gr_gid;
    const uid_t nobodyUid = nobody->pw_uid;
    const gid_t nobodyGid = nobody->pw_gid;
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    const QByteArray path = QFile::encodeName(pty.SlavePath());
    ASSERT_EQ(::chown(path.constData(), 0, dialoutGid), 0);
    ASSERT_EQ(::chmod(path.constData(), 0660), 0);
    ChildProcess child([&] {
        if (::setgroups(0, nullptr) != 0 || ::setgid(nobodyGid) != 0 || ::setuid(nobodyUid) != 0)
            return QByteArray("cannot become nobody");
        CSerialReader reader(nullptr, kLineEvent, 4096, 1024);
        const int nResult = reader.OpenDevice(pty.SlavePath());
        return QByteArray::number(nResult) + ' ' + reader.OpenFailure().toUtf8();
    });
    EXPECT_EQ(child.Result(), QByteArray("1 Permission denied: add your user to the group dialout "
                                         "(sudo usermod -aG dialout nobody) and log in again"));
}

TEST(SerialPort, OpenByNumberUsesThePortMapping)
{
    QTemporaryDir dir;
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    CPortNames::SetProfilePath(dir.filePath(QStringLiteral("tessoly.ini")));
    ASSERT_TRUE(CPortNames::SetDevice(3, pty.SlavePath()));
    Channel c;
    EXPECT_EQ(c.port->Open(3), SP_OK);
    EXPECT_EQ(c.port->DeviceName(), pty.SlavePath());
    EXPECT_EQ(c.port->Write("ATI\r", 4), SP_OK);
    EXPECT_EQ(pty.ReadExactly(4), QByteArray("ATI\r"));
    CPortNames::SetProfilePath(QString());
}

TEST(SerialPort, SetParametersAppliesLineSettings)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    Channel c;
    ASSERT_EQ(c.port->OpenDevice(pty.SlavePath()), SP_OK);
    // The master side reports the slave's terminal settings.
    struct termios tio;
    EXPECT_EQ(c.port->SetParameters(19200, 8, 0, 0), SP_OK);
    ASSERT_EQ(tcgetattr(pty.MasterFd(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B19200));
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_FALSE(tio.c_cflag & PARENB);
    EXPECT_FALSE(tio.c_cflag & CSTOPB);

    EXPECT_EQ(c.port->SetParameters(9600, 8, 0, 2), SP_OK);
    ASSERT_EQ(tcgetattr(pty.MasterFd(), &tio), 0);
    EXPECT_EQ(cfgetospeed(&tio), static_cast<speed_t>(B9600));
    EXPECT_TRUE(tio.c_cflag & CSTOPB);

    // A pseudo-terminal keeps 8 bits without parity: settings it refuses
    // are a set-up failure, not a silent success.
    EXPECT_EQ(c.port->SetParameters(9600, 7, 2, 0), SP_SETUP_FAILED);

    EXPECT_EQ(c.port->SetParameters(0, 8, 0, 0), SP_SETUP_FAILED);
    EXPECT_EQ(c.port->SetParameters(9600, 9, 0, 0), SP_SETUP_FAILED);
    EXPECT_EQ(c.port->SetParameters(9600, 8, 5, 0), SP_SETUP_FAILED);
    EXPECT_EQ(c.port->SetParameters(9600, 8, 0, 3), SP_SETUP_FAILED);
    // Still usable after refused settings.
    EXPECT_EQ(c.port->Write("x", 1), SP_OK);
    EXPECT_EQ(pty.ReadExactly(1), QByteArray("x"));
}

TEST(SerialPort, WritePutsExactlyTheBytesOnTheWire)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    Channel c;
    ASSERT_EQ(c.port->OpenDevice(pty.SlavePath()), SP_OK);
    EXPECT_EQ(c.port->Write("AT+CPIN?\r", 9), SP_OK);
    EXPECT_EQ(pty.ReadExactly(9), QByteArray("AT+CPIN?\r"));

    QByteArray all;
    for (int i = 0; i < 256; ++i)
        all.append(static_cast<char>(i));
    EXPECT_EQ(c.port->Write(all.constData(), static_cast<int>(all.size())), SP_OK);
    EXPECT_EQ(pty.ReadExactly(256), all);

    EXPECT_EQ(c.port->Write("", 0), SP_OK);
    EXPECT_EQ(c.port->Write(nullptr, 4), SP_WRITE_FAILED);
    EXPECT_EQ(c.port->Write("abc", -1), SP_WRITE_FAILED);
    EXPECT_TRUE(pty.Read(100, 20).isEmpty());
}

TEST(SerialPort, LinesArriveAsPostedEventsToTheOwner)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    Channel c;
    ASSERT_EQ(c.port->OpenDevice(pty.SlavePath()), SP_OK);
    ASSERT_TRUE(pty.Write(QByteArray("\r\nOK\r\n> ")));
    ASSERT_TRUE(PollWithoutEvents([&] { return c.port->QueuedLines() == 1; }, 3000));
    // Queued, announced by a posted event, not handled until the loop runs.
    EXPECT_TRUE(c.sink.m_lines.isEmpty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.sink.m_lines.size() == 1; }, 3000));
    EXPECT_EQ(c.sink.m_lines, QStringList{"OK"});
    EXPECT_EQ(c.sink.m_nOtherEvents, 0);
    EXPECT_EQ(c.port->QueuedLines(), 0);
    EXPECT_EQ(c.port->GetLine(), QString());

    // The prompt is completed by the next bytes.
    ASSERT_TRUE(pty.Write(QByteArray("hi\r")));
    EXPECT_TRUE(QTest::qWaitFor([&] { return c.sink.m_lines.size() == 2; }, 3000));
    EXPECT_EQ(c.sink.m_lines.value(1), QStringLiteral("> hi"));
}

TEST(SerialPort, ReopenDropsThePartialLineAndKeepsWorking)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    Channel c;
    ASSERT_EQ(c.port->OpenDevice(pty.SlavePath()), SP_OK);
    ASSERT_TRUE(pty.Write(QByteArray("one\rstale")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return c.sink.m_lines.size() == 1; }, 3000));
    // Make sure the partial bytes were read before closing.
    EXPECT_EQ(c.port->Write("ping", 4), SP_OK);
    EXPECT_EQ(pty.ReadExactly(4), QByteArray("ping"));
    EXPECT_EQ(c.port->Close(), SP_OK);
    EXPECT_EQ(c.port->Write("x", 1), SP_WRITE_FAILED);

    ASSERT_EQ(c.port->OpenDevice(pty.SlavePath()), SP_OK);
    // Opening an open channel closes it first.
    ASSERT_EQ(c.port->OpenDevice(pty.SlavePath()), SP_OK);
    ASSERT_TRUE(pty.Write(QByteArray("two\r")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return c.sink.m_lines.size() == 2; }, 3000));
    EXPECT_EQ(c.sink.m_lines, (QStringList{"one", "two"}));
    EXPECT_EQ(c.port->Write("y", 1), SP_OK);
    EXPECT_EQ(pty.ReadExactly(1), QByteArray("y"));
}

TEST(SerialPort, BurstArrivesCompleteAndInOrder)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    Channel c;
    ASSERT_EQ(c.port->OpenDevice(pty.SlavePath()), SP_OK);
    constexpr int kLines = 10000;
    const QByteArray burst = NumberedLines("Idle_Mode_Rpt ", " 62 45 17 3", kLines);
    // The owner handles nothing until the whole burst has been written.
    ASSERT_TRUE(pty.Write(burst));
    EXPECT_GT(c.port->QueuedLines(), 100);
    ASSERT_TRUE(PollWithoutEvents([&] { return c.port->QueuedLines() == kLines; }, 10000));
    EXPECT_TRUE(c.sink.m_lines.isEmpty());

    ASSERT_TRUE(QTest::qWaitFor([&] { return c.sink.m_lines.size() >= kLines; }, 10000));
    QCoreApplication::processEvents();
    ASSERT_EQ(c.sink.m_lines.size(), kLines);
    for (int i = 0; i < kLines; ++i) {
        ASSERT_EQ(c.sink.m_lines[i], QStringLiteral("Idle_Mode_Rpt %1 62 45 17 3").arg(i))
            << "line " << i;
    }
    EXPECT_EQ(c.port->QueuedLines(), 0);
}

// Voluntary context switches (sleeps) of the reader threads so far.
long ReaderSleeps()
{
    long n = 0;
    for (const QString& id : ThreadIds()) {
        QFile status(QStringLiteral("/proc/self/task/%1/status").arg(id));
        if (!status.open(QIODevice::ReadOnly))
            continue;
        for (const QByteArray& line : status.readAll().split('\n')) {
            if (line.startsWith("voluntary_ctxt_switches:"))
                n += line.mid(line.indexOf(':') + 1).trimmed().toLong();
        }
    }
    return n;
}

// Ten characters every 10 ms, as a 9600-baud line brings them: the reader
// takes them in batches instead of waking for each piece, and the last line
// still arrives without waiting for more bytes.
TEST(SerialPort, TrickleIsReadInBatchesAndTheLastLineArrives)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    Channel c;
    ASSERT_EQ(c.port->OpenDevice(pty.SlavePath()), SP_OK);
    constexpr int kLines = 60;
    const QByteArray stream = NumberedLines("NCell ", " 121 24", kLines);
    const long nSleeps = ReaderSleeps();
    for (qsizetype i = 0; i < stream.size(); i += 10) {
        ASSERT_TRUE(pty.Write(stream.mid(i, 10)));
        QTest::qWait(10);
    }
    const int nPieces = static_cast<int>((stream.size() + 9) / 10);
    ASSERT_TRUE(QTest::qWaitFor([&] { return c.sink.m_lines.size() == kLines; },
                                3 * CSerialReader::kHoldOffMs));
    EXPECT_LT(ReaderSleeps() - nSleeps, nPieces / 2) << nPieces << " pieces";
    for (int i = 0; i < kLines; ++i)
        ASSERT_EQ(c.sink.m_lines[i], QStringLiteral("NCell %1 121 24").arg(i));
}

// A full queue stops the reader: the device keeps the bytes until the owner
// has caught up, so the sender waits and nothing is lost.
TEST(SerialPort, FullQueueHoldsTheSenderBackAndLosesNothing)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    Channel c;
    constexpr int kLimit = 5;
    c.port->SetQueueLimit(kLimit);
    ASSERT_EQ(c.port->OpenDevice(pty.SlavePath()), SP_OK);
    const int nWritten = FillUntilHeldBack(pty);
    ASSERT_LT(nWritten, 1000000) << "the reader never stopped taking bytes";
    EXPECT_EQ(c.port->QueuedLines(), kLimit);

    ASSERT_TRUE(QTest::qWaitFor([&] { return c.sink.m_lines.size() >= nWritten; }, 20000))
        << c.sink.m_lines.size() << " of " << nWritten;
    QCoreApplication::processEvents();
    ASSERT_EQ(c.sink.m_lines.size(), nWritten);
    for (int i = 0; i < nWritten; ++i)
        ASSERT_EQ(c.sink.m_lines[i], QStringLiteral("Idle_Mode_Rpt %1 62 45").arg(i)) << i;
}

// The port's own wait for written bytes also reads, and gave up without a
// reason once its buffer was full: a command sent while the reader held
// back never reached the module.
TEST(SerialPort, WriteGoesOutWhileTheReaderHoldsBack)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    Channel c;
    c.port->SetQueueLimit(5);
    ASSERT_EQ(c.port->OpenDevice(pty.SlavePath()), SP_OK);
    const int nWritten = FillUntilHeldBack(pty);
    ASSERT_LT(nWritten, 1000000) << "the reader never stopped taking bytes";
    EXPECT_EQ(c.port->Write("\\C", 2), SP_OK);
    EXPECT_EQ(pty.ReadExactly(2), QByteArray("\\C"));
}

TEST(SerialPort, DestructionWaitsForTheReader)
{
    PtyPair pty;
    ASSERT_TRUE(pty.IsValid());
    {
        Channel c;
        const QSet<QString> before = ThreadIds();
        ASSERT_EQ(c.port->OpenDevice(pty.SlavePath()), SP_OK);
        const QSet<QString> reader = ThreadIds() - before;
        EXPECT_EQ(reader.size(), 1);
        // Destroyed while lines are streaming in.
        QByteArray burst;
        for (int i = 0; i < 100; ++i)
            burst += "+CMGL: 1,\"REC UNREAD\",\"+4912345\"\r\n";
        pty.Write(burst);
        c.port.reset();
        // Events posted before the end still reach the sink; its channel is gone.
        c.sink.m_pPort = nullptr;
        EXPECT_TRUE(ThreadsGone(reader));
    }
    // A closed channel has no thread either.
    Channel d;
    const QSet<QString> before = ThreadIds();
    ASSERT_EQ(d.port->OpenDevice(pty.SlavePath()), SP_OK);
    const QSet<QString> reader = ThreadIds() - before;
    EXPECT_EQ(reader.size(), 1);
    d.port->Close();
    EXPECT_TRUE(ThreadsGone(reader));
}

TEST(SerialPort, VanishedDeviceDoesNotSpin)
{
    auto pty = std::make_unique<PtyPair>();
    ASSERT_TRUE(pty->IsValid());
    Channel c;
    ASSERT_EQ(c.port->OpenDevice(pty->SlavePath()), SP_OK);
    ASSERT_TRUE(pty->Write(QByteArray("OK\r\npartial")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return c.sink.m_lines.size() == 1; }, 3000));

    pty->CloseMaster();
    QTest::qWait(100);
    const double dStart = CpuSeconds();
    QElapsedTimer wall;
    wall.start();
    QTest::qWait(1000);
    const double dCpu = CpuSeconds() - dStart;
    ::testing::Test::RecordProperty("cpu_ms_after_loss", static_cast<int>(dCpu * 1000));
    EXPECT_LT(dCpu, 0.1 * wall.elapsed() / 1000.0) << "CPU seconds: " << dCpu;

    EXPECT_EQ(c.port->Write("AT\r", 3), SP_WRITE_FAILED);
    EXPECT_EQ(c.sink.m_lines, QStringList{"OK"});
    EXPECT_EQ(c.port->Close(), SP_OK);
    pty.reset();

    // The same channel works on a new device.
    PtyPair other;
    ASSERT_EQ(c.port->OpenDevice(other.SlavePath()), SP_OK);
    ASSERT_TRUE(other.Write(QByteArray("back\r")));
    ASSERT_TRUE(QTest::qWaitFor([&] { return c.sink.m_lines.size() == 2; }, 3000));
    EXPECT_EQ(c.sink.m_lines.value(1), QStringLiteral("back"));
    EXPECT_EQ(c.port->Write("AT\r", 3), SP_OK);
    EXPECT_EQ(other.ReadExactly(3), QByteArray("AT\r"));
    EXPECT_EQ(c.port->Close(), SP_OK);
}
