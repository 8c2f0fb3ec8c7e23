// A host method call with two arguments through the NOX class system, as a script makes it.
#include "platform/host/COSPackage.hpp"
#include "platform/host/CallContext.hpp"
#include "platform/host/CosCommonReferencedClassInfo.hpp"
#include "platform/host/Invoker.hpp"
#include "platform/tavi/ReferencedTemplate.hpp"

#include <benchmark/benchmark.h>

namespace {

struct Adder : TAVI::Referenced, NOX::Wrappable {
    const char* getFullyQualifiedNoxTypeName() const override { return "KB.Adder"; }
    int add(int a, int b) const { return a + b; }
};

class CosAdder : public NOX::CosCommonReferencedClassInfo<Adder> {
public:
    CosAdder() : CosCommonReferencedClassInfo("Adder", "Adds") {}

protected:
    void populate() override {
        addConstructor("", NOX::Invoker::createSignature("KB.Adder"),
                       [](NOX::CallContext&) { return new Adder; });
        addMethod(NOX::NoxMethod("add", NOX::NoxPublic, "Adds two numbers"),
                  NOX::Invoker::createSignature("int32 scalar", {"int32 scalar", "int32 scalar"}),
                  [](Adder& self, NOX::CallContext& call) {
                      call.setInt32(self.add(call.int32Argument(0), call.int32Argument(1)));
                  });
        addMethod(NOX::NoxMethod("join", NOX::NoxPublic, "Joins two strings"),
                  NOX::Invoker::createSignature("char", {"char", "char"}),
                  [](Adder&, NOX::CallContext& call) {
                      call.setString(call.stringArgument(0) + call.stringArgument(1));
                  });
    }
};

vxArrayPtr makeAdder() {
    NOX::COSPackage::addPackage("KB",
                                [](NOX::COSPackage& package) { package.addClass<CosAdder>(); });
    return NOX::Invoker::construct("KB.Adder");
}

void BM_HostCallTwoNumbers(benchmark::State& state) {
    vxArrayPtr adder = makeAdder();
    vxArrayPtr a(vxCreateDoubleScalar(2)), b(vxCreateDoubleScalar(3));
    const std::vector<const vxArray*> arguments{adder.get(), a.get(), b.get()};
    for (auto _ : state) {
        auto results = NOX::Invoker::callMethod("add", arguments, 1);
        benchmark::DoNotOptimize(results.front().get());
    }
}
BENCHMARK(BM_HostCallTwoNumbers);

void BM_HostCallTwoStrings(benchmark::State& state) {
    vxArrayPtr adder = makeAdder();
    vxArrayPtr a(vxCreateString("studio")), b(vxCreateString("-app"));
    const std::vector<const vxArray*> arguments{adder.get(), a.get(), b.get()};
    for (auto _ : state) {
        auto results = NOX::Invoker::callMethod("join", arguments, 1);
        benchmark::DoNotOptimize(results.front().get());
    }
}
BENCHMARK(BM_HostCallTwoStrings);

} // namespace
