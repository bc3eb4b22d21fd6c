// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/PortProblem.h"

#include <QFile>
#include <QFileInfo>
#include <QStringList>

#ifdef Q_OS_UNIX
#include <cerrno>
#include <cstdlib>
#include <dirent.h>
#include <grp.h>
#include <pwd.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>
#endif

namespace {
#ifdef Q_OS_UNIX
// Where serial programs (Qt's serial port among them) put their lock files.
const char* const kLockDirs[] = {"/var/lock",       "/run/lock", "/var/spool/locks",
                                 "/var/spool/uucp", "/tmp",      "/var/tmp"};

QString UserName()
{
    if (const passwd* pw = ::getpwuid(::getuid()))
        return QString::fromLocal8Bit(pw->pw_name);
    return qEnvironmentVariable("USER", QStringLiteral("USER"));
}

QString GroupName(gid_t gid)
{
    if (const group* gr = ::getgrgid(gid))
        return QString::fromLocal8Bit(gr->gr_name);
    return QString::number(gid);
}

QString OwnerName(uid_t uid)
{
    if (const passwd* pw = ::getpwuid(uid))
        return QString::fromLocal8Bit(pw->pw_name);
    return QString::number(uid);
}

bool IsAlive(long pid)
{
    return pid > 0 && (::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM);
}

// A lock file is named "LCK.." and the device's path below /dev, slashes
// made underscores; both the path as given and the device it leads to count.
long LockHolder(const QString& device)
{
    QStringList names;
    for (QString path : {device, QFileInfo(device).canonicalFilePath()}) {
        if (path.isEmpty())
            continue;
        if (path.startsWith(QLatin1String("/dev/")))
            path.remove(0, 5);
        path.replace(QLatin1Char('/'), QLatin1Char('_'));
        names << QStringLiteral("LCK..") + path;
    }
    for (const char* dir : kLockDirs) {
        for (const QString& name : names) {
            QFile lock(QString::fromLatin1(dir) + QLatin1Char('/') + name);
            if (!lock.open(QIODevice::ReadOnly))
                continue;
            bool bOk = false;
            const long pid = lock.readLine(64).trimmed().toLong(&bOk);
            if (bOk && IsAlive(pid))
                return pid;
        }
    }
    return 0;
}

// The processes with the device open, as far as this user may look into
// them; another process before this one.
long OpenedBy(const QString& device)
{
    const QByteArray target = QFileInfo(device).canonicalFilePath().toLocal8Bit();
    if (target.isEmpty())
        return 0;
    long self = 0;
    DIR* proc = ::opendir("/proc");
    if (!proc)
        return 0;
    while (const dirent* p = ::readdir(proc)) {
        char* end = nullptr;
        const long pid = std::strtol(p->d_name, &end, 10);
        if (pid <= 0 || *end)
            continue;
        const QByteArray fdDir = "/proc/" + QByteArray(p->d_name) + "/fd";
        DIR* fds = ::opendir(fdDir.constData());
        if (!fds)
            continue;
        bool bFound = false;
        while (const dirent* f = ::readdir(fds)) {
            char link[4096];
            const QByteArray path = fdDir + '/' + f->d_name;
            const ssize_t n = ::readlink(path.constData(), link, sizeof link);
            if (n == target.size() && target == QByteArray(link, static_cast<int>(n))) {
                bFound = true;
                break;
            }
        }
        ::closedir(fds);
        if (bFound && pid != ::getpid()) {
            ::closedir(proc);
            return pid;
        }
        if (bFound)
            self = pid;
    }
    ::closedir(proc);
    return self;
}

QString ProcessName(long pid)
{
    QFile comm(QStringLiteral("/proc/%1/comm").arg(pid));
    if (comm.open(QIODevice::ReadOnly)) {
        const QString name = QString::fromLocal8Bit(comm.readAll().trimmed());
        if (!name.isEmpty())
            return name;
    }
    return QStringLiteral("a program");
}

QString InUse(const QString& device)
{
    long pid = LockHolder(device);
    if (!pid)
        pid = OpenedBy(device);
    if (pid == ::getpid())
        return QStringLiteral(
            "In use by this program: the other port already has it; choose another device");
    if (pid)
        return QStringLiteral("In use by another program: %1 (pid %2); close it there, or choose "
                              "another device")
            .arg(ProcessName(pid))
            .arg(pid);
    return QStringLiteral("In use by another program; close it there, or choose another device");
}

QString NotPermitted(const QString& device)
{
    struct stat st;
    if (::stat(QFile::encodeName(device).constData(), &st) != 0)
        return QStringLiteral("Permission denied");
    const QString group = GroupName(st.st_gid);
    const mode_t groupRw = S_IRGRP | S_IWGRP;
    if ((st.st_mode & groupRw) == groupRw && st.st_gid != 0)
        return QStringLiteral("Permission denied: add your user to the group %1 (sudo usermod -aG "
                              "%1 %2) and log in again")
            .arg(group, UserName());
    return QStringLiteral("Permission denied: the device belongs to %1:%2 with mode %3, which no "
                          "group of users may use; have it given to the group dialout (a udev "
                          "rule), add your user to that group and log in again")
        .arg(OwnerName(st.st_uid), group)
        .arg(st.st_mode & 0777, 4, 8, QLatin1Char('0'));
}
#endif
} // namespace

QString CPortProblem::Explain(const QString& device, int nCode, const QString& systemText)
{
    const QString noDevice =
        QStringLiteral("No such device: plug the adapter in, or choose another device");
    if (device.isEmpty())
        return QStringLiteral("No device chosen");
    if (nCode == 2 || !QFileInfo::exists(device))
        return noDevice;
#ifdef Q_OS_UNIX
    if (nCode == 1) {
        if (::access(QFile::encodeName(device).constData(), R_OK | W_OK) != 0 && errno == EACCES)
            return NotPermitted(device);
        return InUse(device);
    }
#endif
    if (nCode == 4)
        return QStringLiteral("Not a serial port: its line settings cannot be set (%1)")
            .arg(systemText);
    return systemText.isEmpty() ? QStringLiteral("The device did not open") : systemText;
}
