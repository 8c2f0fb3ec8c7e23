#pragma once

// Meta-model files: a package with its classes, properties and enumerations in XML (the
// format is described in docs/model-files.md). Loading one registers the meta-model with the
// kernel under its URI, as MetaModelBuilder::build does.

#include "platform/veld/Meta.hpp"
#include "platform/veld/MetaModelBuilder.hpp"
#include "platform/veld/io/FileError.hpp"
#include "platform/veld/io/veld_io_export.hpp"

#include <string>
#include <string_view>

namespace VELD {

// Reads the meta-model file at path and registers it. On any failure (unreadable file,
// malformed XML, unknown names, a URI registered already) throws FileError naming the file,
// line, column and what is wrong, and registers nothing.
VELD_IO_EXPORT ImmutableNamespace loadMetaModel(std::string_view path);
// The same for a file's bytes already in memory; sourceName stands for the file in errors.
VELD_IO_EXPORT ImmutableNamespace readMetaModel(std::string_view bytes,
                                                std::string_view sourceName);

// Derived properties compute their values in code: a file names the function by a key
// (function="flow.stepCount") that the program registers before loading. Registering a key
// again replaces the function for meta-models loaded afterwards.
VELD_IO_EXPORT void registerDeriveFunction(std::string key, DeriveFunction function);

} // namespace VELD
