#pragma once

#include "platform/nimb/nimb_export.hpp"

#include <string>

class QThread;

namespace NIMB {

class ThreadPrivate;

// A thread that connections can be bound to. Packets for a connection bound to a thread other
// than the sender's are queued to that thread's Qt event loop. Thread objects are made on first
// use, one per QThread, and live until the process ends; a handle never dangles.
class NIMB_EXPORT Thread {
public:
    // The calling thread.
    static Thread* getCurrentThread();
    // The thread known by that name; null when none. "QUASAR" names the thread that started
    // the host (the user-interface thread): the one set with setNamedThread, otherwise the
    // thread of the QCoreApplication when there is one.
    static Thread* getNamedThread(const std::string& name);
    // Gives a thread a name (replacing an earlier binding of the name). A null thread removes it.
    static void setNamedThread(const std::string& name, Thread* thread);
    // The thread object of a QThread; null for null.
    static Thread* fromQThread(QThread* thread);

    // The name used for the host's own thread.
    static constexpr const char* hostThreadName = "QUASAR";

    QThread* qThread() const; // null once the QThread is gone
    bool isCurrent() const { return getCurrentThread() == this; }

    Thread(const Thread&) = delete;
    Thread& operator=(const Thread&) = delete;

private:
    friend class ThreadPrivate;
    friend class Connection;
    friend class EmitterBase;
    Thread();
    ~Thread();
    ThreadPrivate* d; // owned
};

} // namespace NIMB
