#include "platform/ThreadAnchor.h"

#include <QCoreApplication>
#include <QEvent>
#include <QThread>
#include <condition_variable>
#include <mutex>

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

// The caller waits on the call's own state, which the event delivers; it
// outlives the event, which Qt deletes after its delivery.
struct CallState
{
    std::mutex lock;
    std::condition_variable done;
    bool bDone = false;
};

struct AnchorCallEvent : QEvent
{
    AnchorCallEvent(const std::function<void()>* pf, CallState* pState)
        : QEvent(kCallEvent), m_pf(pf), m_pState(pState)
    {
    }
    const std::function<void()>* m_pf;
    CallState* m_pState;
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
    CallState state;
    auto* pEvent = new AnchorCallEvent(&f, &state);
    Release(this);
    QCoreApplication::postEvent(this, pEvent);
    std::unique_lock<std::mutex> lock(state.lock);
    state.done.wait(lock, [&state]() { return state.bDone; });
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
    CallState* pState = pCall->m_pState;
    // Under the lock: once it is released the caller may return, and its
    // state goes.
    std::lock_guard<std::mutex> lock(pState->lock);
    pState->bDone = true;
    pState->done.notify_one();
    return true;
}
