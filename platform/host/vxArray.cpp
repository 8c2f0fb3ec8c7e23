#include "platform/host/vxArray.hpp"

#include "platform/host/HostObject.hpp"

#include <cmath>
#include <cstdlib>
#include <cstring>

vxArray::vxArray() = default;

vxArray::~vxArray() {
    for (NOX::HostObject* object : objects)
        object->release();
}

std::string vxArray::className() const {
    switch (classId) {
    case vxDOUBLE_CLASS:
        return "double";
    case vxLOGICAL_CLASS:
        return "logical";
    case vxINT32_CLASS:
        return "int32";
    case vxCHAR_CLASS:
        return "char";
    case vxOBJECT_CLASS:
        return objectClassName;
    }
    return {};
}

double vxArray::numberAt(std::size_t index) const {
    return index < numbers.size() ? numbers[index] : 0.0;
}

NOX::HostObject* vxArray::objectAt(std::size_t index) const {
    return index < objects.size() ? objects[index] : nullptr;
}

vxArray* vxArray::makeDouble(std::size_t rows, std::size_t columns) {
    auto* array = new vxArray;
    array->rowCount = rows;
    array->columnCount = columns;
    array->numbers.assign(rows * columns, 0.0);
    return array;
}

vxArray* vxArray::makeLogical(bool value) {
    vxArray* array = makeDouble(1, 1);
    array->classId = vxLOGICAL_CLASS;
    array->numbers[0] = value ? 1.0 : 0.0;
    return array;
}

vxArray* vxArray::makeInt32(std::int32_t value) {
    vxArray* array = makeDouble(1, 1);
    array->classId = vxINT32_CLASS;
    array->numbers[0] = value;
    return array;
}

vxArray* vxArray::makeChar(std::string text) {
    auto* array = new vxArray;
    array->classId = vxCHAR_CLASS;
    array->rowCount = text.empty() ? 0 : 1;
    array->columnCount = text.size();
    array->characters = std::move(text);
    return array;
}

vxArray* vxArray::makeObjects(std::string className, std::vector<NOX::HostObjectRef> objects) {
    auto* array = new vxArray;
    array->classId = vxOBJECT_CLASS;
    array->objectClassName = std::move(className);
    array->rowCount = objects.empty() ? 0 : 1;
    array->columnCount = objects.size();
    array->objects.reserve(objects.size());
    for (NOX::HostObjectRef& object : objects) {
        if (!object)
            continue; // a host object array has no holes
        array->objects.push_back(object.release());
    }
    array->columnCount = array->objects.size();
    if (array->objects.empty())
        array->rowCount = 0;
    return array;
}

vxArray* vxArray::duplicate() const {
    auto* copy = new vxArray;
    copy->classId = classId;
    copy->rowCount = rowCount;
    copy->columnCount = columnCount;
    copy->numbers = numbers;
    copy->characters = characters;
    copy->objectClassName = objectClassName;
    copy->objects = objects;
    for (NOX::HostObject* object : copy->objects)
        object->retain();
    return copy;
}

void vxArrayDeleter::operator()(vxArray* array) const {
    delete array;
}

vxArray* vxCreateDoubleMatrix_730(std::size_t rows, std::size_t columns, vxComplexity) {
    return vxArray::makeDouble(rows, columns);
}

vxArray* vxCreateDoubleScalar(double value) {
    vxArray* array = vxArray::makeDouble(1, 1);
    array->doubles()[0] = value;
    return array;
}

vxArray* vxCreateEmptyArray() {
    return vxArray::makeDouble(0, 0);
}
vxArray* vxCreateLogicalScalar(bool value) {
    return vxArray::makeLogical(value);
}
vxArray* vxCreateInt32Scalar(std::int32_t value) {
    return vxArray::makeInt32(value);
}
vxArray* vxCreateString(const char* text) {
    return vxArray::makeChar(text ? text : "");
}

vxArray* vxCreateObjectArray(const char* className,
                             const std::vector<NOX::HostObjectRef>& objects) {
    return vxArray::makeObjects(className ? className : "", objects);
}

vxArray* vxDuplicateArray(const vxArray* array) {
    return array ? array->duplicate() : vxCreateEmptyArray();
}
void vxDestroyArray(vxArray* array) {
    delete array;
}

std::size_t vxGetNumberOfElements(const vxArray* array) {
    return array ? array->numberOfElements() : 0;
}
std::size_t vxGetM(const vxArray* array) {
    return array ? array->rows() : 0;
}
std::size_t vxGetN(const vxArray* array) {
    return array ? array->columns() : 0;
}
vxClassID vxGetClassID(const vxArray* array) {
    return array ? array->classID() : vxDOUBLE_CLASS;
}
std::string vxGetClassName(const vxArray* array) {
    return array ? array->className() : "double";
}
bool vxIsEmpty(const vxArray* array) {
    return vxGetNumberOfElements(array) == 0;
}
bool vxIsChar(const vxArray* array) {
    return array && array->classID() == vxCHAR_CLASS;
}
bool vxIsObject(const vxArray* array) {
    return array && array->classID() == vxOBJECT_CLASS;
}

double* vxGetPr(vxArray* array) {
    return array && array->classID() == vxDOUBLE_CLASS ? array->doubles() : nullptr;
}

double vxGetScalar(const vxArray* array) {
    if (!array || array->isEmpty() || array->classID() == vxCHAR_CLASS ||
        array->classID() == vxOBJECT_CLASS)
        vxErrMsgIdAndTxt(
            "QUASAR:vx:notNumeric",
            ("Expected a number but got a value of class '" + vxGetClassName(array) + "'").c_str());
    return array->numberAt(0);
}

NOX::HostObject* vxGetObject(const vxArray* array, std::size_t index) {
    return array && array->classID() == vxOBJECT_CLASS ? array->objectAt(index) : nullptr;
}

char* vxArray2String(const vxArray* array) {
    if (!vxIsChar(array))
        return nullptr;
    const std::string& text = array->chars();
    auto* copy = static_cast<char*>(vxMalloc(text.size() + 1));
    std::memcpy(copy, text.c_str(), text.size() + 1);
    return copy;
}

void* vxMalloc(std::size_t size) {
    void* memory = std::malloc(size ? size : 1);
    if (!memory)
        throw std::bad_alloc();
    return memory;
}

void vxFree(void* memory) {
    std::free(memory);
}

void vxErrMsgIdAndTxt(const char* id, const char* text) {
    throw vxHostError(id ? id : "", text ? text : "");
}
