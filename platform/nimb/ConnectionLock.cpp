#include "platform/nimb/ConnectionLock.hpp"

#include <QReadWriteLock>

namespace NIMB {

class ConnectionLockPrivate {
public:
    // Recursive, because a handler that runs while its caller holds the lock may connect.
    QReadWriteLock lock{QReadWriteLock::Recursive};
};

ConnectionLock::ConnectionLock() : d(new ConnectionLockPrivate) {}
ConnectionLock::~ConnectionLock() {
    delete d;
}

void ConnectionLock::readLock() {
    d->lock.lockForRead();
}
void ConnectionLock::writeLock() {
    d->lock.lockForWrite();
}
void ConnectionLock::unlock() {
    d->lock.unlock();
}

ConnectionLock& GetGlobalConnectionLock() {
    // Never destroyed: listeners owned by other static objects may disconnect at exit.
    static ConnectionLock* lock = new ConnectionLock;
    return *lock;
}

} // namespace NIMB
