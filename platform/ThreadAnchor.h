// SPDX-License-Identifier: GPL-3.0-or-later
#pragma once

#include <QObject>
#include <condition_variable>
#include <functional>
#include <mutex>

class QThread;

// An object that lives in a worker thread and runs calls there for other
// threads, waiting for each (what a blocking queued call does). The hand-offs
// go through the C++ library's own mutex and condition, and the thread
// sanitizer is told about those that pass through Qt's event queue and the
// end of the thread, which wait on futexes it cannot see.
class CThreadAnchor : public QObject
{
public:
    CThreadAnchor() = default;

    // Moves the anchor into the thread (before the thread starts).
    void MoveTo(QThread* pThread);
    // Runs f in the anchor's thread (at once when called there) and returns
    // after it has run. The thread must be running its event loop.
    void CallAndWait(const std::function<void()>& f);
    // Ends the event loop of the anchor's thread and waits until the thread
    // has finished: everything it did happens before what follows.
    void QuitAndWait();

protected:
    bool event(QEvent* e) override;

private:
    std::mutex m_lock;
    std::condition_variable m_done;
    quint64 m_nPosted = 0; // calls posted so far
    quint64 m_nDone = 0;   // the last call that has run
};
