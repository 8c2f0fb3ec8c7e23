#include "platform/nimb/Emitter.hpp"
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/Listener.hpp"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>
#include <vector>

using namespace NIMB;

namespace {

// Records what reaches it, in order, tagged with its own name.
class Recorder : public Listener {
public:
    Recorder(std::string name, std::vector<std::string>* log) : name(std::move(name)), log(log) {}
    void onText(std::string text) { log->push_back(name + ":" + text); }
    void onTextRef(const std::string& text) { log->push_back(name + "&" + text); }
    void onPing() { log->push_back(name + ":ping"); }

    std::string name;
    std::vector<std::string>* log;
};

TEST(EmitterTest, DeliversToEachConnectionSynchronouslyInConnectionOrder) {
    std::vector<std::string> log;
    Emitter<std::string> signal;
    Recorder a("a", &log), b("b", &log);
    new ConnectionImpl1<Recorder, std::string>(&a, signal, nullptr, &Recorder::onText);
    new ConnectionImpl1<Recorder, std::string>(&b, signal, nullptr, &Recorder::onTextRef);
    new ConnectionImpl0<Recorder>(&a, signal, Thread::getCurrentThread(), &Recorder::onPing);
    EXPECT_EQ(signal.numberOfConnections(), 3);
    EXPECT_EQ(a.numberOfConnections(), 2);

    signal.send("x");
    EXPECT_EQ(log, (std::vector<std::string>{"a:x", "b&x", "a:ping"}));
    signal.send("y", SendAutoAndWait);
    EXPECT_EQ(log.size(), 6u);
    EXPECT_EQ(log[3], "a:y");
}

TEST(EmitterTest, UntypedEmitterDeliversPacketsOnlyToMatchingHandlers) {
    std::vector<std::string> log;
    EmitterBase signal(SendAuto);
    Recorder a("a", &log);
    new ConnectionImpl1<Recorder, std::string>(&a, signal, nullptr, &Recorder::onText);
    new ConnectionImpl0<Recorder>(&a, signal, nullptr, &Recorder::onPing);

    signal.sendPacket(Packet(new Payload1<std::string>("s")), SendAuto, SendNoFlags);
    signal.sendPacket(Packet(new Payload1<int>(3)), SendAuto,
                      SendNoFlags); // wrong type: only the ping
    signal.sendPacket(Packet(), SendAuto, SendNoFlags);
    EXPECT_EQ(log, (std::vector<std::string>{"a:s", "a:ping", "a:ping", "a:ping"}));
}

TEST(EmitterTest, TypedEmitterRefusesAHandlerOfAnotherArgumentType) {
    struct IntListener : Listener {
        void onInt(int) {}
    } listener;
    Emitter<std::string> signal;
    EXPECT_THROW(
        (new ConnectionImpl1<IntListener, int>(&listener, signal, nullptr, &IntListener::onInt)),
        std::invalid_argument);
    EXPECT_EQ(signal.numberOfConnections(), 0);
    EXPECT_EQ(listener.numberOfConnections(), 0);
}

TEST(EmitterTest, PayloadIsSharedAndFreedAfterTheLastDelivery) {
    static int alive = 0;
    struct Counted {
        Counted() { ++alive; }
        Counted(const Counted&) { ++alive; }
        ~Counted() { --alive; }
    };
    struct Sink : Listener {
        void on(const Counted&) { ++calls; }
        int calls = 0;
    } sink1, sink2;
    Emitter<Counted> signal;
    new ConnectionImpl1<Sink, Counted>(&sink1, signal, nullptr, &Sink::on);
    new ConnectionImpl1<Sink, Counted>(&sink2, signal, nullptr, &Sink::on);
    {
        Counted value;
        signal.send(value);
        EXPECT_EQ(alive, 1); // the payload's copy is gone once the send returns
    }
    EXPECT_EQ(alive, 0);
    EXPECT_EQ(sink1.calls + sink2.calls, 2);
}

TEST(EmitterTest, NotReentrantSendIsDroppedWhileTheSameEmitterDelivers) {
    struct Echo : Listener {
        void on(int depth) {
            seen.push_back(depth);
            if (depth < 3)
                signal->send(depth + 1, SendDefault, flag);
        }
        Emitter<int>* signal = nullptr;
        int flag = SendNoFlags;
        std::vector<int> seen;
    } echo;
    Emitter<int> signal;
    echo.signal = &signal;
    new ConnectionImpl1<Echo, int>(&echo, signal, nullptr, &Echo::on);

    signal.send(0);
    EXPECT_EQ(echo.seen, (std::vector<int>{0, 1, 2, 3}));

    echo.seen.clear();
    echo.flag = SendNotReentrant;
    signal.send(0, SendDefault, SendNotReentrant);
    EXPECT_EQ(echo.seen, (std::vector<int>{0}));
    signal.send(5, SendDefault, SendNotReentrant); // the scope of the first send is over
    EXPECT_EQ(echo.seen, (std::vector<int>{0, 5}));
}

TEST(EmitterTest, DestroyingTheEmitterDropsItsConnections) {
    std::vector<std::string> log;
    Recorder a("a", &log);
    {
        Emitter<std::string> signal;
        new ConnectionImpl1<Recorder, std::string>(&a, signal, nullptr, &Recorder::onText);
        EXPECT_EQ(a.numberOfConnections(), 1);
    }
    EXPECT_EQ(a.numberOfConnections(), 0);
    a.disconnect(); // nothing left to drop, and the emitter is gone
}

TEST(EmitterTest, AHandlerMayDestroyTheEmitterThatCallsIt) {
    std::vector<std::string> log;
    struct Destroyer : Listener {
        void on(std::string) {
            delete signal;
            signal = nullptr;
        }
        Emitter<std::string>* signal = nullptr;
    } destroyer;
    Recorder after("after", &log);
    destroyer.signal = new Emitter<std::string>;
    Emitter<std::string>* signal = destroyer.signal;
    new ConnectionImpl1<Destroyer, std::string>(&destroyer, *signal, nullptr, &Destroyer::on);
    new ConnectionImpl1<Recorder, std::string>(&after, *signal, nullptr, &Recorder::onText);

    signal->send("x");
    EXPECT_EQ(destroyer.signal, nullptr);
    EXPECT_TRUE(log.empty()); // its connections went with it
    EXPECT_EQ(after.numberOfConnections(), 0);
}

} // namespace
