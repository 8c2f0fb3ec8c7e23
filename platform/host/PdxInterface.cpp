#include "platform/host/PdxInterface.hpp"

vxArray* ConvertPdxIToArray(const NOX::COSInterfacePtr& object) {
    return object ? object->toArray() : vxCreateEmptyArray();
}
