#pragma once

#include "platform/nimb/nimb_export.hpp"

#include <vector>

namespace NIMB {

class Connection;
class EmitterBase;

// The owner of connections: a class that receives signals derives from it. Destroying a
// listener drops its connections. Connections are delivered on their own thread, so a listener
// destroyed on another thread waits for a call to it that is under way there; a class that
// sends signals from its own destructor should call disconnect() first.
class NIMB_EXPORT Listener {
public:
    Listener();
    virtual ~Listener();
    Listener(const Listener&) = delete;
    Listener& operator=(const Listener&) = delete;

    // Drops every connection of this listener.
    void disconnect();
    // Drops this listener's connections to one emitter.
    void disconnect(EmitterBase& emitter);
    int numberOfConnections() const;

private:
    friend class Connection;
    std::vector<Connection*> connections; // each holds a count; guarded by the global lock
};

} // namespace NIMB
