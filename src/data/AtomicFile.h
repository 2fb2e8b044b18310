#pragma once
// Replaces a file as a whole: a temporary file beside it is written, flushed, synced and renamed
// over the target, so a crash or a full disk never leaves a half-written file behind.

#include <string>

namespace zadw {

enum class WriteResult { Ok, CannotCreate, WriteFailed };

WriteResult writeFileAtomically(const std::string& path, const std::string& data, bool durable = true);

// The path as an absolute one: relative paths are joined with the working directory.
std::string absolutePath(const std::string& path);

} // namespace zadw
