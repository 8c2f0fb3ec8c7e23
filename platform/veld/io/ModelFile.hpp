#pragma once

// Model files: the objects of one model in XML, nested by containment, with stable ids and
// references by id (the format is described in docs/model-files.md).

#include "platform/veld/Model.hpp"
#include "platform/veld/io/FileError.hpp"
#include "platform/veld/io/veld_io_export.hpp"

#include <string>
#include <string_view>

namespace VELD {

// Reads the model file at path into a new model: change level 0, empty undo and redo stacks,
// no working copies. Objects keep the ids of the file (saving again writes the same ids).
// On any failure (unreadable file, malformed XML, unknown meta-model, class or property, a
// value that does not convert, duplicate or missing ids, an object placed twice) throws
// FileError naming the file, line, column and what is wrong; no model is left behind.
VELD_IO_EXPORT Model loadModel(std::string_view path);
// The same for a file's bytes already in memory; sourceName stands for the file in errors.
VELD_IO_EXPORT Model readModel(std::string_view bytes, std::string_view sourceName);

// Writes what the model (or working copy) shows to path atomically: a temporary file beside
// the target is written, flushed and renamed over it. On failure throws FileError and leaves
// any previous file untouched.
VELD_IO_EXPORT void saveModel(const ImmutableModel& model, std::string_view path);
// The bytes saveModel would write.
VELD_IO_EXPORT std::string writeModel(const ImmutableModel& model);

} // namespace VELD
