// SPDX-License-Identifier: GPL-3.0-or-later
// Window titles as the window system shows them: the program's application
// object on a real X server (Xvfb), each title read back with xprop.
#include <QMessageBox>
#include <QProcess>
#include <QStandardPaths>
#include <QTimer>
#include <csignal>
#include <gtest/gtest.h>
#include <string>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

#include "ModalAnswerer.h"
#include "platform/PortConfig.h"
#include "platform/TemplateDialog.h"
#include "platform/UiServices.h"
#include "shell/MainFrm.h"
#include "shell/TessolyApp.h"

namespace {
bool s_bDisplay = false;

// Starts Xvfb on a free display; its number, or -1.
int StartXvfb(pid_t* pPid)
{
    int fds[2];
    if (pipe(fds) != 0)
        return -1;
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        const std::string fd = std::to_string(fds[1]);
        execlp("Xvfb", "Xvfb", "-displayfd", fd.c_str(), "-screen", "0", "1024x768x24", "-nolisten",
               "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(fds[1]);
    std::string number;
    char c;
    while (pid > 0 && read(fds[0], &c, 1) == 1 && c != '\n')
        number += c;
    close(fds[0]);
    *pPid = pid;
    return number.empty() ? -1 : std::stoi(number);
}

// The title the window system has for a window.
QString SystemTitleText(QWidget* w)
{
    QGuiApplication::sync();
    QProcess xprop;
    xprop.start(QStringLiteral("xprop"), {QStringLiteral("-id"), QString::number(w->winId()),
                                          QStringLiteral("_NET_WM_NAME")});
    if (!xprop.waitForFinished(5000))
        return QStringLiteral("(xprop failed)");
    const QString out = QString::fromUtf8(xprop.readAllStandardOutput()).trimmed();
    const int first = out.indexOf(QLatin1Char('"'));
    return first < 0 ? out : out.mid(first + 1, out.lastIndexOf(QLatin1Char('"')) - first - 1);
}

std::string SystemTitle(QWidget* w)
{
    return SystemTitleText(w).toStdString();
}
} // namespace

// Every window's title bar reads its caption alone, without the program's name.
TEST(Titles, EveryWindowShowsItsCaptionAlone)
{
    if (!s_bDisplay)
        GTEST_SKIP() << "needs Xvfb and xprop";
    CMainFrame frame({QStringLiteral("/opt/tessoly/tessoly")});
    frame.show();
    EXPECT_EQ(SystemTitle(&frame), "Corvane, Front Panel SW for Tarn GSM Air Interface Module");

    for (int id : {100, 130, 161, 162, 175}) {
        CTemplateDialog dlg(id, &frame);
        dlg.show();
        EXPECT_EQ(SystemTitle(&dlg), dlg.Template().caption) << id;
    }

    // Message boxes and the modal dialogs, read while they stand.
    ModalAnswerer answer;
    std::vector<std::string> seen;
    answer.handler = [&](QWidget* w) {
        seen.push_back(SystemTitle(w));
        return false;
    };
    CUiServices::MessageBox(&frame, QStringLiteral("No Flags for BCCH-Report set"));
    CPortConfig::ShowConfigureDlg(1, 2, 1);
    frame.OnCommand(ID_LOGGING_SAVE);
    EXPECT_EQ(seen, std::vector<std::string>({"Tessoly", "Tessoly - Configure Ports",
                                              "Tarn - Save Logging Data as ..."}));
}

int main(int argc, char** argv)
{
    bool bListing = false;
    for (int i = 1; i < argc; ++i)
        bListing |= std::string(argv[i]) == "--gtest_list_tests";
    pid_t xvfb = -1;
    const int display =
        bListing || QStandardPaths::findExecutable(QStringLiteral("xprop")).isEmpty()
            ? -1
            : StartXvfb(&xvfb);
    s_bDisplay = display >= 0;
    if (s_bDisplay) {
        qputenv("DISPLAY", ":" + QByteArray::number(display));
        qputenv("QT_QPA_PLATFORM", "xcb");
    } else {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
        const QByteArray dir = "/tmp/tessoly-runtime-" + QByteArray::number(getuid());
        mkdir(dir.constData(), 0700);
        qputenv("XDG_RUNTIME_DIR", dir);
    }
    int result = 0;
    {
        CTessolyApp app(argc, argv);
        ::testing::InitGoogleTest(&argc, argv);
        result = RUN_ALL_TESTS();
    }
    if (xvfb > 0) {
        kill(xvfb, SIGTERM);
        waitpid(xvfb, nullptr, 0);
    }
    return result;
}
