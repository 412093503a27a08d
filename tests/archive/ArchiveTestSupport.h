#pragma once

// Helpers of the archive tests: what an archive lists, and what a folder holds.

#include <filesystem>
#include <map>
#include <optional>
#include <string>

namespace archive_tests {

// Every path below a folder, relative and with "/" between levels, mapped to
// the file's content, or to nothing for a folder.
using Tree = std::map<std::string, std::optional<std::string>>;

Tree ReadTree(const std::filesystem::path& folder);

// The tree an archive describes, read with minizip on its own: each entry
// (folder entries without their final "/") and the folders that hold it.
Tree ListArchive(const std::filesystem::path& archive);

// The content of a deflated entry whose data break off with a damaged block
// after `goodBytes` intact bytes: reading it delivers those, then an error.
std::string DeflateStreamWithDamagedBlock(const std::string& goodBytes);

}  // namespace archive_tests
