// Signal delivery: one packet to 1 and to 100 listeners on the sending thread.
#include "platform/nimb/ConnectionImpl.hpp"
#include "platform/nimb/Emitter.hpp"
#include "platform/nimb/Listener.hpp"

#include <benchmark/benchmark.h>

#include <memory>
#include <vector>

namespace {

class Sink : public NIMB::Listener {
public:
    void on(int value) { total += value; }
    long total = 0;
};

struct Network {
    explicit Network(int listeners) {
        for (int i = 0; i < listeners; ++i) {
            sinks.push_back(std::make_unique<Sink>());
            new NIMB::ConnectionImpl1<Sink, int>(sinks.back().get(), signal, nullptr, &Sink::on);
        }
    }
    NIMB::Emitter<int> signal;
    std::vector<std::unique_ptr<Sink>> sinks;
};

void reportPerListener(benchmark::State& state, int listeners) {
    state.counters["per_listener"] =
        benchmark::Counter(double(state.iterations()) * listeners,
                           benchmark::Counter::kIsRate | benchmark::Counter::kInvert);
}

// A prepared packet sent again and again: the cost of delivery alone.
void BM_SendPacket(benchmark::State& state) {
    const int listeners = int(state.range(0));
    Network network(listeners);
    const NIMB::Packet packet(new NIMB::Payload1<int>(1));
    for (auto _ : state)
        network.signal.sendPacket(packet, NIMB::SendAuto, NIMB::SendNoFlags);
    benchmark::DoNotOptimize(network.sinks.front()->total);
    reportPerListener(state, listeners);
}
BENCHMARK(BM_SendPacket)->Arg(1)->Arg(100);

// What a caller pays per event: the payload is made for each send.
void BM_EmitterSend(benchmark::State& state) {
    const int listeners = int(state.range(0));
    Network network(listeners);
    for (auto _ : state)
        network.signal.send(1);
    benchmark::DoNotOptimize(network.sinks.front()->total);
    reportPerListener(state, listeners);
}
BENCHMARK(BM_EmitterSend)->Arg(1)->Arg(100);

} // namespace
