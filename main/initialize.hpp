#pragma once

#include "main/kite_main_export.hpp"

#include <cstdint>

class vxArray;

// The module's entry points. The host loads the module and calls QSInitialize_kite; other
// modules that link the library call initialize_kite. Host thread only.

// A function the host can call by its place in the module's function table: the results it
// is asked for and its arguments, as host arrays.
using KiteHostFunction = void (*)(int nlhs, vxArray* plhs[], int nrhs, const vxArray* prhs[]);

// The record QueryQSFcnTable_kite hands the host: the address of the function list, two stamps
// and the number of functions.
struct KiteHostFunctionTable {
    std::uint64_t functions;
    std::uint64_t stamp1;
    std::uint64_t stamp2;
    std::uint64_t count;
};

extern "C" {

// Calls initialize_kite.
KITE_MAIN_EXPORT void QSInitialize_kite();

// The first call registers the message catalog, brings up the studio framework and the canvas
// (a failure there is a host assertion), adds the host package "KITE", registers the generic
// domain and the factories of the model tree, the property browser and the explorer bar (those
// whose components exist). Later calls do nothing.
KITE_MAIN_EXPORT void initialize_kite();

// Sets the terminated flag and returns what it was (0 the first time, 1 after). Registrations
// stay until the process ends.
KITE_MAIN_EXPORT int QSTerminate_kite();

// The module's host functions, ending with a null entry: the block-drop function alone.
KITE_MAIN_EXPORT const KiteHostFunction* QueryQSFcns_kite();
KITE_MAIN_EXPORT const KiteHostFunctionTable* QueryQSFcnTable_kite();

} // extern "C"

namespace KITE {

// The block-drop function: arguments the dropped item's path (a string) and the drop point in
// global screen coordinates (at least two numbers). Every studio whose active editor belongs to
// the domain "CVDomain" and contains the point has the host function
// "private_cv_drop_block_on_invisible_sys" called (errors trapped) with the path, the diagram's
// full name and the scene point, and its window brought forward. Bad arguments are a host error
// "KITE:dropBlock:badArguments"; nothing is called then.
KITE_MAIN_EXPORT void dropBlock(int nlhs, vxArray* plhs[], int nrhs, const vxArray* prhs[]);

} // namespace KITE
