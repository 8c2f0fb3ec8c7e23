#include "platform/nimb/Listener.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/ConnectionLock.hpp"
#include "platform/nimb/Emitter.hpp"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace NIMB;

namespace {

struct Log {
    std::vector<std::string> entries;
};

class Named : public Listener {
public:
    Named(std::string name, Log* log) : name(std::move(name)), log(log) {}
    ~Named() override { log->entries.push_back("~" + name); }
    void on(int value) { log->entries.push_back(name + std::to_string(value)); }

    std::string name;
    Log* log;
};

// A listener's connections go: all at once, from one emitter, one by one, or with the listener.
TEST(ListenerTest, DisconnectingDropsExactlyTheConnectionsNamed) {
    Log log;
    Emitter<int> first, second;
    Named a("a", &log);
    auto b = std::make_unique<Named>("b", &log);
    new ConnectionImpl1<Named, int>(&a, first, nullptr, &Named::on);
    Connection* kept = new ConnectionImpl1<Named, int>(&a, second, nullptr, &Named::on);
    new ConnectionImpl1<Named, int>(b.get(), first, nullptr, &Named::on);
    new ConnectionImpl1<Named, int>(b.get(), second, nullptr, &Named::on);

    a.disconnect(first);
    first.send(1);
    second.send(2);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"b1", "a2", "b2"}));
    EXPECT_TRUE(kept->isConnected());
    kept->disconnect();
    EXPECT_EQ(a.numberOfConnections(), 0);
    EXPECT_EQ(second.numberOfConnections(), 1);

    b->disconnect();
    EXPECT_EQ(b->numberOfConnections(), 0);
    EXPECT_EQ(first.numberOfConnections(), 0);
    EXPECT_EQ(second.numberOfConnections(), 0);
    new ConnectionImpl1<Named, int>(b.get(), first, nullptr, &Named::on);
    b.reset();
    EXPECT_EQ(first.numberOfConnections(), 0);
    log.entries.clear();
    first.send(3);
    second.send(4);
    EXPECT_TRUE(log.entries.empty());
}

// A handler that destroys a listener later in the same delivery: that listener must not be called.
TEST(ListenerTest, ListenerDestroyedDuringDeliveryIsNotCalled) {
    Log log;
    Emitter<int> signal;
    struct Killer : Listener {
        void on(int) { victim.reset(); }
        std::unique_ptr<Named> victim;
    } killer;
    killer.victim = std::make_unique<Named>("victim", &log);
    Named survivor("survivor", &log);
    new ConnectionImpl1<Killer, int>(&killer, signal, nullptr, &Killer::on);
    new ConnectionImpl1<Named, int>(killer.victim.get(), signal, nullptr, &Named::on);
    new ConnectionImpl1<Named, int>(&survivor, signal, nullptr, &Named::on);

    signal.send(7);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"~victim", "survivor7"}));
    EXPECT_EQ(signal.numberOfConnections(), 2);
}

TEST(ListenerTest, ListenerMayDisconnectItselfInItsHandler) {
    Emitter<int> signal;
    struct Once : Listener {
        void on(int) {
            ++calls;
            disconnect();
        }
        int calls = 0;
    } once;
    new ConnectionImpl1<Once, int>(&once, signal, nullptr, &Once::on);
    signal.send(1);
    signal.send(2);
    EXPECT_EQ(once.calls, 1);
    EXPECT_EQ(signal.numberOfConnections(), 0);
}

// A connection made during a delivery takes effect from the next send.
TEST(ListenerTest, ConnectionMadeDuringDeliveryWaitsForTheNextSend) {
    Log log;
    Emitter<int> signal;
    Named late("late", &log);
    struct Connector : Listener {
        void on(int) {
            ConnectionWriteLocker locker; // as callers do; the lock is recursive
            new ConnectionImpl1<Named, int>(late, *signal, nullptr, &Named::on);
        }
        Named* late = nullptr;
        Emitter<int>* signal = nullptr;
    } connector;
    connector.late = &late;
    connector.signal = &signal;
    new ConnectionImpl1<Connector, int>(&connector, signal, nullptr, &Connector::on);

    signal.send(1);
    EXPECT_TRUE(log.entries.empty());
    connector.disconnect();
    signal.send(2);
    EXPECT_EQ(log.entries, (std::vector<std::string>{"late2"}));
}

} // namespace
