#pragma once

#include "platform/nimb/nimb_export.hpp"

namespace NIMB {

class ConnectionLockPrivate;

// The process-wide read-write lock over the connection graph. Connecting, disconnecting and
// destroying emitters and listeners take it for writing themselves; a caller holds it for
// writing to make several such changes appear at once to other threads. It is recursive:
// a thread holding it may connect or disconnect. Sending never takes it.
class NIMB_EXPORT ConnectionLock {
public:
    void readLock();
    void writeLock();
    void unlock(); // releases the last readLock or writeLock of this thread

    ConnectionLock(const ConnectionLock&) = delete;
    ConnectionLock& operator=(const ConnectionLock&) = delete;

private:
    friend ConnectionLock& GetGlobalConnectionLock();
    ConnectionLock();
    ~ConnectionLock();
    ConnectionLockPrivate* d; // owned
};

NIMB_EXPORT ConnectionLock& GetGlobalConnectionLock();

// Holds the global lock for writing for the life of the scope.
class NIMB_EXPORT ConnectionWriteLocker {
public:
    ConnectionWriteLocker() { GetGlobalConnectionLock().writeLock(); }
    ~ConnectionWriteLocker() { GetGlobalConnectionLock().unlock(); }
    ConnectionWriteLocker(const ConnectionWriteLocker&) = delete;
    ConnectionWriteLocker& operator=(const ConnectionWriteLocker&) = delete;
};

} // namespace NIMB
