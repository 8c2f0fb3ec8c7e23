// Private to platform/nimb/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/nimb/Connection.hpp"

#include <vector>

namespace NIMB {

// A counted reference to a connection, for lists and queued deliveries that must keep it alive.
class ConnectionRef {
public:
    explicit ConnectionRef(Connection* connection) : target(connection) { target->retain(); }
    ConnectionRef(const ConnectionRef& other) : target(other.target) { target->retain(); }
    ConnectionRef& operator=(const ConnectionRef& other) {
        other.target->retain();
        target->release();
        target = other.target;
        return *this;
    }
    ~ConnectionRef() { target->release(); }
    Connection* get() const { return target; }
    Connection* operator->() const { return target; }

private:
    Connection* target;
};

// The connections of an emitter at one moment. Never changed while a send holds it, so a send
// can walk it without a lock while connections come and go.
class ConnectionList {
public:
    std::vector<ConnectionRef> items;
};

} // namespace NIMB
