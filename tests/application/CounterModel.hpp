#pragma once

#include "platform/veld/Veld.hpp"

namespace KiteTest {

// A model that is one integer: the smallest model a change can be made to.
struct CounterModel {
    VELD::ImmutableProperty value;

    static const CounterModel& get() {
        static const CounterModel c = [] {
            VELD::MetaModelBuilder b("counting", "test:counting");
            b.addClass("Counter").attribute("value", "Integer");
            b.setModelClass("Counter");
            return CounterModel{b.build().getClass("Counter").getProperty("value")};
        }();
        return c;
    }
    static VELD::Model create() {
        get();
        return VELD::DomainRegistry::instance().createModel("test:counting");
    }
};

} // namespace KiteTest
