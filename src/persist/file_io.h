// Whole files in and out. Writing never leaves a half-written file behind: the new
// contents go to a temporary file beside the old one, reach the disk, and only then
// replace it.
#pragma once

#include <cstddef>
#include <optional>
#include <span>
#include <string>
#include <vector>

// The file's bytes, at most `limit` of them; nothing when it cannot be opened or read.
std::optional<std::vector<unsigned char>> ReadFileBytes(const std::string& path, std::size_t limit);

// Replaces the file at `path` with `bytes`. On any failure the old file stays as it
// was, no temporary file is left, *error (when given) says why, and false comes back.
bool WriteFileAtomically(const std::string& path, std::span<const unsigned char> bytes,
                         std::string* error = nullptr);
