#pragma once

#include <string_view>

// Loads bytes as a model and as a meta-model. A malformed input must end in FileError; any
// other exception escapes (a fault), and a crash, hang or leak is one by itself.
void veldIoFuzzOne(std::string_view bytes);

// The meta-models the fuzzed models refer to.
void veldIoFuzzSetUp();
