#include "platform/host/Signature.hpp"

#include "platform/host/COSPackage.hpp"
#include "platform/host/CosCommonClassInfo.hpp"
#include "platform/host/HostObject.hpp"
#include "platform/host/vxArray.hpp"

#include <cctype>
#include <cmath>
#include <limits>
#include <stdexcept>

namespace NOX {

namespace {

bool isNumeric(const vxArray* value) {
    const vxClassID id = vxGetClassID(value);
    return id == vxDOUBLE_CLASS || id == vxINT32_CLASS || id == vxLOGICAL_CLASS;
}

bool isIdentifierPath(const std::string& name) {
    if (name.empty() || name.front() == '.' || name.back() == '.')
        return false;
    for (char c : name) {
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '.'))
            return false;
    }
    return true;
}

} // namespace

HostType HostType::parse(const std::string& name) {
    HostType type;
    type.typeName = name;
    std::string base = name;
    const std::string vectorSuffix = " vector";
    if (base.size() > vectorSuffix.size() && base.ends_with(vectorSuffix)) {
        type.vectorType = true;
        base.resize(base.size() - vectorSuffix.size());
    }
    if (base == "void" && !type.vectorType)
        type.typeKind = Void;
    else if (base == "logical scalar" && !type.vectorType)
        type.typeKind = Logical;
    else if (base == "int32 scalar" && !type.vectorType)
        type.typeKind = Int32;
    else if (base == "double scalar" && !type.vectorType)
        type.typeKind = Double;
    else if (base == "char")
        type.typeKind = Char;
    else if (base == "any" && !type.vectorType)
        type.typeKind = Any;
    else if (isIdentifierPath(base)) {
        type.typeKind = Object;
        type.objectClassName = base;
    } else {
        throw std::invalid_argument("NOX::HostType: not a host type: \"" + name + "\"");
    }
    return type;
}

bool HostType::accepts(const vxArray* value) const {
    switch (typeKind) {
    case Void:
        return false;
    case Any:
        return true;
    case Logical:
    case Double:
        return isNumeric(value) && vxGetNumberOfElements(value) == 1;
    case Int32: {
        if (!isNumeric(value) || vxGetNumberOfElements(value) != 1)
            return false;
        const double number = value->numberAt(0);
        return std::trunc(number) == number && number >= std::numeric_limits<std::int32_t>::min() &&
               number <= std::numeric_limits<std::int32_t>::max();
    }
    case Char:
        // The host's '' is an empty character array; [] stands for "nothing" too.
        return vxIsChar(value) || (vxGetClassID(value) == vxDOUBLE_CLASS && vxIsEmpty(value));
    case Object: {
        if (vxGetClassID(value) == vxDOUBLE_CLASS && vxIsEmpty(value))
            return true; // [] passes a null object
        if (!vxIsObject(value))
            return false;
        const std::string arrayClass = value->className();
        if (arrayClass == objectClassName)
            return true;
        CosCommonClassInfo* record = COSPackage::findClass(arrayClass);
        return record && record->isSubclassOf(objectClassName);
    }
    }
    return false;
}

bool Signature::accepts(const std::vector<const vxArray*>& values) const {
    if (values.size() != arguments.size())
        return false;
    for (std::size_t i = 0; i < values.size(); ++i) {
        if (!arguments[i].accepts(values[i]))
            return false;
    }
    return true;
}

std::string Signature::toString() const {
    std::string text = result.name() + " (";
    for (std::size_t i = 0; i < arguments.size(); ++i)
        text += (i ? ", " : "") + arguments[i].name();
    return text + ")";
}

} // namespace NOX
