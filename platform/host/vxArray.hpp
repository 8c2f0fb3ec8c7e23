#pragma once

#include "platform/host/host_export.hpp"
#include "platform/host/vxHostError.hpp"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace NOX {
class HostObject;
class HostObjectRef;
} // namespace NOX

// The host's arrays: the values passed to and returned from host methods and functions.
// An array is two-dimensional (m by n) and of one class; arrays of host objects carry the
// host class name even when they have no elements (an empty "KITE.Editor" array is a typed
// empty value). Arrays are owned by whoever created them and freed with vxDestroyArray, or
// held in a vxArrayPtr.
enum vxClassID {
    vxDOUBLE_CLASS,
    vxLOGICAL_CLASS,
    vxINT32_CLASS,
    vxCHAR_CLASS,
    vxOBJECT_CLASS,
};

enum vxComplexity { vxREAL };

class HOST_EXPORT vxArray {
public:
    vxClassID classID() const { return classId; }
    std::size_t rows() const { return rowCount; }
    std::size_t columns() const { return columnCount; }
    std::size_t numberOfElements() const { return rowCount * columnCount; }
    bool isEmpty() const { return numberOfElements() == 0; }
    bool isScalar() const { return numberOfElements() == 1; }
    // "double", "logical", "int32", "char", or the class name of an object array.
    std::string className() const;

    // The element as a number, whatever the numeric class (logical counts as 0 or 1).
    double numberAt(std::size_t index) const;
    double* doubles() { return numbers.data(); }
    const double* doubles() const { return numbers.data(); }
    const std::string& chars() const { return characters; }
    NOX::HostObject* objectAt(std::size_t index) const;

    static vxArray* makeDouble(std::size_t rows, std::size_t columns);
    static vxArray* makeLogical(bool value);
    static vxArray* makeInt32(std::int32_t value);
    static vxArray* makeChar(std::string text);
    static vxArray* makeObjects(std::string className, std::vector<NOX::HostObjectRef> objects);
    vxArray* duplicate() const;

    ~vxArray();
    vxArray(const vxArray&) = delete;
    vxArray& operator=(const vxArray&) = delete;

private:
    vxArray();

    vxClassID classId = vxDOUBLE_CLASS;
    std::size_t rowCount = 0;
    std::size_t columnCount = 0;
    std::vector<double> numbers;           // double, logical and int32 values
    std::string characters;                // character rows, one byte per element
    std::string objectClassName;           // object arrays only
    std::vector<NOX::HostObject*> objects; // each holds a count on its host object
};

struct HOST_EXPORT vxArrayDeleter {
    void operator()(vxArray* array) const;
};
using vxArrayPtr = std::unique_ptr<vxArray, vxArrayDeleter>;

// Creation. Every function returns a new array that the caller owns.
HOST_EXPORT vxArray* vxCreateDoubleMatrix_730(std::size_t rows, std::size_t columns,
                                              vxComplexity complexity);
HOST_EXPORT vxArray* vxCreateDoubleScalar(double value);
HOST_EXPORT vxArray* vxCreateEmptyArray(); // a 0-by-0 double array, the host's "[]"
HOST_EXPORT vxArray* vxCreateLogicalScalar(bool value);
HOST_EXPORT vxArray* vxCreateInt32Scalar(std::int32_t value);
HOST_EXPORT vxArray* vxCreateString(const char* text); // a character row; null gives an empty one
// An array of host objects (a row), taking a count on each.
HOST_EXPORT vxArray* vxCreateObjectArray(const char* className,
                                         const std::vector<NOX::HostObjectRef>& objects);
HOST_EXPORT vxArray* vxDuplicateArray(const vxArray* array);
HOST_EXPORT void vxDestroyArray(vxArray* array); // null is fine

// Inspection. Null arrays count as empty doubles.
HOST_EXPORT std::size_t vxGetNumberOfElements(const vxArray* array);
HOST_EXPORT std::size_t vxGetM(const vxArray* array);
HOST_EXPORT std::size_t vxGetN(const vxArray* array);
HOST_EXPORT vxClassID vxGetClassID(const vxArray* array);
HOST_EXPORT std::string vxGetClassName(const vxArray* array);
HOST_EXPORT bool vxIsEmpty(const vxArray* array);
HOST_EXPORT bool vxIsChar(const vxArray* array);
HOST_EXPORT bool vxIsObject(const vxArray* array);
HOST_EXPORT double* vxGetPr(vxArray* array); // the values of a double array; null for other classes
// The first element as a number; raises "QUASAR:vx:notNumeric" for non-numeric or empty arrays.
HOST_EXPORT double vxGetScalar(const vxArray* array);
// The element of an object array (not counted); null when out of range or not objects.
HOST_EXPORT NOX::HostObject* vxGetObject(const vxArray* array, std::size_t index);

// The text of a character array in memory from vxMalloc, which the caller frees with vxFree;
// null when the array is not characters.
HOST_EXPORT char* vxArray2String(const vxArray* array);
HOST_EXPORT void* vxMalloc(std::size_t size);
HOST_EXPORT void vxFree(void* memory); // null is fine

// Raises a host error with that id and text. Never returns.
[[noreturn]] HOST_EXPORT void vxErrMsgIdAndTxt(const char* id, const char* text);
