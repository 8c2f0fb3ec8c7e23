// Private to studio/components/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/nimb/Thread.hpp"

namespace KITE::PropBrowserConnect {

// The host's user-interface thread, or the current thread where the host named none.
inline NIMB::Thread* hostThread() {
    if (NIMB::Thread* host = NIMB::Thread::getNamedThread(NIMB::Thread::hostThreadName))
        return host;
    return NIMB::Thread::getCurrentThread();
}

// Connects owner's handler to the emitter on the thread, holding the global connection lock for
// writing as every connection is made. The connection belongs to owner (a NIMB::Listener).
template <class A, class Owner, class Method>
void connect(Owner* owner, NIMB::EmitterBase& emitter, Method method, NIMB::Thread* thread) {
    NIMB::ConnectionWriteLocker lock;
    new NIMB::ConnectionImpl1<Owner, A>(owner, emitter, thread, method);
}

} // namespace KITE::PropBrowserConnect
