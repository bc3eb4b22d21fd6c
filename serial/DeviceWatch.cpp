// SPDX-License-Identifier: GPL-3.0-or-later
#include "serial/DeviceWatch.h"

#include <QDir>
#include <QFileInfo>
#include <QFileSystemWatcher>
#include <QTimer>

CDeviceWatch::CDeviceWatch(QObject* parent)
    : QObject(parent), m_pWatcher(new QFileSystemWatcher(this))
{
    connect(m_pWatcher, &QFileSystemWatcher::directoryChanged, this, &CDeviceWatch::Check);
}

void CDeviceWatch::Watch(const QString& path)
{
    Stop();
    m_strPath = path;
    // From the event loop, so that the caller is done before Present() comes.
    QTimer::singleShot(0, this, &CDeviceWatch::Check);
}

void CDeviceWatch::Stop()
{
    m_strPath.clear();
    const QStringList folders = m_pWatcher->directories();
    if (!folders.isEmpty())
        m_pWatcher->removePaths(folders);
}

void CDeviceWatch::Check()
{
    if (m_strPath.isEmpty())
        return;
    // A link to a device counts once its target is there.
    if (QFileInfo::exists(m_strPath)) {
        const QString path = m_strPath;
        Stop();
        emit Present(path);
        return;
    }
    QString folder = QFileInfo(m_strPath).absolutePath();
    while (!QFileInfo(folder).isDir() && folder != QDir::rootPath())
        folder = QFileInfo(folder).absolutePath();
    const QStringList watched = m_pWatcher->directories();
    if (watched == QStringList{folder})
        return;
    if (!watched.isEmpty())
        m_pWatcher->removePaths(watched);
    m_pWatcher->addPath(folder);
    // The path may have come between the look and the watch.
    if (QFileInfo::exists(m_strPath))
        QTimer::singleShot(0, this, &CDeviceWatch::Check);
}
