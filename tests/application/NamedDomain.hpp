#pragma once

#include "application/KiteDomain.hpp"

#include <string>

namespace KiteTest {

// A domain with a chosen name and model type, otherwise the default one's behaviour.
class NamedDomain : public KITE::KiteDomain {
public:
    NamedDomain(std::string name, std::string modelType)
        : name(std::move(name)), type(std::move(modelType)) {}
    TAVI::StringID getName() const override { return TAVI::StringID(name); }
    TAVI::StringID getModelClassFullName() const override { return TAVI::StringID(type); }

private:
    std::string name, type;
};

} // namespace KiteTest
