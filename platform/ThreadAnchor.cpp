// SPDX-License-Identifier: GPL-3.0-or-later
#include "platform/ThreadAnchor.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>

#if defined(__SANITIZE_THREAD__)
#define TESSOLY_THREAD_SANITIZER 1
#elif defined(__has_feature)
#if __has_feature(thread_sanitizer)
#define TESSOLY_THREAD_SANITIZER 1
#endif
#endif
#ifdef TESSOLY_THREAD_SANITIZER
#include <sanitizer/tsan_interface.h>
#endif

namespace {
// What one thread did before Release happens before what another does after
// its Acquire of the same address (for the thread sanitizer; else nothing).
void Release(void* p)
{
#ifdef TESSOLY_THREAD_SANITIZER
    __tsan_release(p);
#else
    Q_UNUSED(p);
#endif
}

void Acquire(void* p)
{
#ifdef TESSOLY_THREAD_SANITIZER
    __tsan_acquire(p);
#else
    Q_UNUSED(p);
#endif
}

const QEvent::Type kCallEvent = static_cast<QEvent::Type>(QEvent::registerEventType());

struct AnchorCallEvent : QEvent
{
    AnchorCallEvent(const std::function<void()>* pf, quint64 nCall)
        : QEvent(kCallEvent), m_pf(pf), m_nCall(nCall)
    {
    }
    const std::function<void()>* m_pf;
    quint64 m_nCall;
};
} // namespace

void CThreadAnchor::MoveTo(QThread* pThread)
{
    moveToThread(pThread);
    // Emitted in the thread itself, after the last event it handled.
    connect(
        pThread, &QThread::finished, pThread, [this]() { Release(this); }, Qt::DirectConnection);
}

void CThreadAnchor::CallAndWait(const std::function<void()>& f)
{
    if (QThread::currentThread() == thread()) {
        f();
        return;
    }
    std::unique_lock<std::mutex> lock(m_lock);
    const quint64 nCall = ++m_nPosted;
    auto* pEvent = new AnchorCallEvent(&f, nCall);
    Release(this);
    QCoreApplication::postEvent(this, pEvent);
    m_done.wait(lock, [this, nCall]() { return m_nDone >= nCall; });
}

void CThreadAnchor::QuitAndWait()
{
    QThread* pThread = thread();
    pThread->quit();
    pThread->wait();
    Acquire(this);
}

bool CThreadAnchor::event(QEvent* e)
{
    // Before the event is read: it was made by the thread that posted it.
    Acquire(this);
    if (e->type() != kCallEvent)
        return QObject::event(e);
    auto* pCall = static_cast<AnchorCallEvent*>(e);
    (*pCall->m_pf)();
    std::lock_guard<std::mutex> lock(m_lock);
    m_nDone = qMax(m_nDone, pCall->m_nCall);
    m_done.notify_all();
    return true;
}
