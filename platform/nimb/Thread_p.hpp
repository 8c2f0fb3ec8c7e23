// Private to platform/nimb/: included only by its own sources and tests; not installed.
#pragma once

#include "platform/nimb/Emitter_p.hpp"
#include "platform/nimb/Packet.hpp"
#include "platform/nimb/Thread.hpp"

#include <QEvent>
#include <QObject>
#include <QPointer>
#include <QSemaphore>
#include <QThread>

namespace NIMB {

// Carries one packet for one connection to the connection's thread.
class DeliveryEvent : public QEvent {
public:
    static QEvent::Type eventType();

    DeliveryEvent(Connection* connection, const Packet& packet, QSemaphore* done)
        : QEvent(eventType()), deliveredConnection(connection), deliveredPacket(packet),
          doneSignal(done) {}
    // Also runs when the event is dropped undelivered (its thread ended), so a waiting sender
    // is never left hanging.
    ~DeliveryEvent() override {
        if (doneSignal)
            doneSignal->release();
    }
    void deliver() { deliveredConnection->invoke(deliveredPacket); }

private:
    ConnectionRef deliveredConnection;
    Packet deliveredPacket;
    QSemaphore* doneSignal;
};

// Lives in its thread and runs the deliveries queued to it.
class Dispatcher : public QObject {
public:
    bool event(QEvent* event) override;
};

class ThreadPrivate {
public:
    QPointer<QThread> thread;
    Dispatcher* dispatcher =
        nullptr; // owned by its thread's object tree; null once the thread is gone

    // Queues a delivery; false when the thread has gone and nothing was queued.
    bool post(Connection* connection, const Packet& packet, QSemaphore* done);
};

} // namespace NIMB
