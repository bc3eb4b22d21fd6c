// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <QString>

class QFileSystemWatcher;

// Waits, without polling, for a device path to exist again: it watches the
// nearest folder of the path that exists (the path's own folder, or further
// up while that is gone too, as /dev/serial/by-id is when the last adapter
// is pulled) and says Present() once the path is there.
class CDeviceWatch : public QObject
{
    Q_OBJECT
public:
    explicit CDeviceWatch(QObject* parent = nullptr);
    // Starts watching for path; Present() comes at once if it exists.
    void Watch(const QString& path);
    void Stop();
    bool IsWatching() const { return !m_strPath.isEmpty(); }

signals:
    void Present(const QString& path);

private:
    void Check();

    QFileSystemWatcher* m_pWatcher;
    QString m_strPath;
};
