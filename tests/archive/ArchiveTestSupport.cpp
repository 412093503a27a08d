#include "tests/archive/ArchiveTestSupport.h"

#include <unzip.h>

#include <stdexcept>

#include "tests/support/TempFolder.h"

namespace archive_tests {
namespace {

void AddWithParents(Tree& tree, const std::string& path, std::optional<std::string> content) {
  for (std::size_t slash = path.find('/'); slash != std::string::npos;
       slash = path.find('/', slash + 1)) {
    tree.emplace(path.substr(0, slash), std::nullopt);
  }
  tree[path] = std::move(content);
}

}  // namespace

Tree ReadTree(const std::filesystem::path& folder) {
  Tree tree;
  for (const auto& item : std::filesystem::recursive_directory_iterator(folder)) {
    const std::string relative = item.path().lexically_relative(folder).generic_string();
    if (item.is_directory()) {
      tree[relative] = std::nullopt;
    } else {
      tree[relative] = testing_support::ReadFile(item.path());
    }
  }
  return tree;
}

Tree ListArchive(const std::filesystem::path& archive) {
  unzFile zip = unzOpen(archive.string().c_str());
  if (zip == nullptr) throw std::runtime_error("ListArchive: cannot open " + archive.string());
  Tree tree;
  for (int step = unzGoToFirstFile(zip); step == UNZ_OK; step = unzGoToNextFile(zip)) {
    char name[1024] = {};
    unz_file_info info{};
    unzGetCurrentFileInfo(zip, &info, name, sizeof name - 1, nullptr, 0, nullptr, 0);
    std::string path = name;
    if (!path.empty() && path.back() == '/') {
      path.pop_back();
      AddWithParents(tree, path, std::nullopt);
      continue;
    }
    std::string content;
    if (unzOpenCurrentFile(zip) == UNZ_OK) {
      char buffer[4096];
      for (int count; (count = unzReadCurrentFile(zip, buffer, sizeof buffer)) > 0;) {
        content.append(buffer, static_cast<std::size_t>(count));
      }
      unzCloseCurrentFile(zip);
    }
    AddWithParents(tree, path, content);
  }
  unzClose(zip);
  return tree;
}

std::string DeflateStreamWithDamagedBlock(const std::string& goodBytes) {
  // A stored block that is not the last one, then a block of the reserved
  // type 3, which inflate refuses.
  const std::size_t length = goodBytes.size();
  std::string stream;
  stream.push_back('\x00');
  stream.push_back(static_cast<char>(length & 0xFF));
  stream.push_back(static_cast<char>((length >> 8) & 0xFF));
  stream.push_back(static_cast<char>(~length & 0xFF));
  stream.push_back(static_cast<char>((~length >> 8) & 0xFF));
  stream += goodBytes;
  stream.push_back('\x07');
  stream.append(16, '\x00');
  return stream;
}

}  // namespace archive_tests
