#pragma once

// A package of N monitor models for the whole-run benchmarks, in a work
// folder: package/ (the description and one monitor file per 20 models),
// records/ (the main product, installed), lumora/ (its install location,
// with every model already installed at an older profile version, so that a
// run replaces them all).

#include <cstddef>
#include <filesystem>
#include <string>

namespace bench {

struct BenchPackage {
  std::filesystem::path package;
  std::filesystem::path records;
  std::filesystem::path store;  // the maker folder
  std::size_t models = 0;
  // Write calls that extracting every monitor file takes: one per started
  // 1024 bytes of each file entry.
  std::size_t extractionWrites = 0;
};

BenchPackage MakeBenchPackage(const std::filesystem::path& work, std::size_t models);

// Puts the store back as it was before a run (every model at the old
// version), removes staging folders that a run may have left, and flushes
// it all to disk.
void ResetStore(const BenchPackage& package);

// True when every model's installed montype.xml carries the new version.
bool AllModelsUpdated(const BenchPackage& package);

}  // namespace bench
