#pragma once

#include "platform/nimb/Connection.hpp"

#include <vector>

namespace NIMB {

// A counted reference to a connection, for lists and queued deliveries that must keep it alive.
class ConnectionRef {
public:
    explicit ConnectionRef(Connection* connection) : m_connection(connection) {
        m_connection->retain();
    }
    ConnectionRef(const ConnectionRef& other) : m_connection(other.m_connection) {
        m_connection->retain();
    }
    ConnectionRef& operator=(const ConnectionRef& other) {
        other.m_connection->retain();
        m_connection->release();
        m_connection = other.m_connection;
        return *this;
    }
    ~ConnectionRef() { m_connection->release(); }
    Connection* get() const { return m_connection; }
    Connection* operator->() const { return m_connection; }

private:
    Connection* m_connection;
};

// The connections of an emitter at one moment. Never changed once published, so a send can walk
// it without a lock while connections come and go.
class ConnectionList {
public:
    std::vector<ConnectionRef> items;
};

} // namespace NIMB
