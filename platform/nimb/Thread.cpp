#include "platform/nimb/Thread.hpp"

#include "platform/nimb/Thread_p.hpp"

#include <QCoreApplication>
#include <QHash>

#include <map>
#include <mutex>
#include <vector>

namespace NIMB {

namespace {

struct Registry {
    std::mutex mutex;
    QHash<QThread*, Thread*> byQThread;
    std::map<std::string, Thread*> byName;
    // Every thread object ever made, also those whose QThread is gone: connections may still
    // point at them, so they stay for the life of the process (one small object per QThread).
    std::vector<Thread*> made;
};

Registry& registry() {
    // Never destroyed: threads may look themselves up while static objects go away.
    static Registry* instance = new Registry;
    return *instance;
}

// Keyed by QThread as well, because a QThread can be deleted and its address reused while the
// OS thread that cached the answer lives on (the main thread outliving an adopted QThread).
thread_local QThread* cachedQThread = nullptr;
thread_local Thread* cachedThread = nullptr;

std::mutex& dispatcherMutex() {
    static std::mutex* mutex = new std::mutex;
    return *mutex;
}

} // namespace

QEvent::Type DeliveryEvent::eventType() {
    static const QEvent::Type type = static_cast<QEvent::Type>(QEvent::registerEventType());
    return type;
}

bool Dispatcher::event(QEvent* event) {
    if (event->type() != DeliveryEvent::eventType())
        return QObject::event(event);
    static_cast<DeliveryEvent*>(event)->deliver();
    return true;
}

bool ThreadPrivate::post(Connection* connection, const Packet& packet, QSemaphore* done) {
    std::lock_guard<std::mutex> lock(dispatcherMutex());
    if (!dispatcher)
        return false;
    QCoreApplication::postEvent(dispatcher, new DeliveryEvent(connection, packet, done));
    return true;
}

Thread::Thread() : d(new ThreadPrivate) {}
Thread::~Thread() {
    delete d;
}

Thread* Thread::fromQThread(QThread* qthread) {
    if (!qthread)
        return nullptr;
    Registry& reg = registry();
    std::lock_guard<std::mutex> lock(reg.mutex);
    if (Thread* known = reg.byQThread.value(qthread))
        return known;

    Thread* thread = new Thread; // lives until the process ends: connections point at it
    thread->d->thread = qthread;
    auto* dispatcher = new Dispatcher;
    dispatcher->moveToThread(qthread);
    thread->d->dispatcher = dispatcher;
    reg.byQThread.insert(qthread, thread);
    reg.made.push_back(thread);

    // The dispatcher goes with the thread's end, on that thread, which drops (and so releases)
    // deliveries still queued to it; later deliveries to the thread are dropped at once.
    QObject::connect(
        qthread, &QThread::finished, qthread,
        [thread] {
            Dispatcher* gone = nullptr;
            {
                std::lock_guard<std::mutex> lock(dispatcherMutex());
                gone = std::exchange(thread->d->dispatcher, nullptr);
            }
            delete gone;
        },
        Qt::DirectConnection);
    QObject::connect(qthread, &QObject::destroyed, [thread, qthread] {
        Registry& reg = registry();
        std::lock_guard<std::mutex> lock(reg.mutex);
        if (reg.byQThread.value(qthread) == thread)
            reg.byQThread.remove(qthread);
    });
    return thread;
}

Thread* Thread::getCurrentThread() {
    QThread* qthread = QThread::currentThread();
    if (cachedQThread != qthread || !cachedThread) {
        cachedThread = fromQThread(qthread);
        cachedQThread = qthread;
    }
    return cachedThread;
}

Thread* Thread::getNamedThread(const std::string& name) {
    {
        Registry& reg = registry();
        std::lock_guard<std::mutex> lock(reg.mutex);
        auto found = reg.byName.find(name);
        if (found != reg.byName.end())
            return found->second;
    }
    if (name == hostThreadName) {
        if (QCoreApplication* app = QCoreApplication::instance())
            return fromQThread(app->thread());
    }
    return nullptr;
}

void Thread::setNamedThread(const std::string& name, Thread* thread) {
    Registry& reg = registry();
    std::lock_guard<std::mutex> lock(reg.mutex);
    if (thread)
        reg.byName[name] = thread;
    else
        reg.byName.erase(name);
}

QThread* Thread::qThread() const {
    return d->thread.data();
}

} // namespace NIMB
