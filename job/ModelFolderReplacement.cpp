#include "job/ModelFolderReplacement.h"

namespace job {
namespace {

constexpr const char* kNewCopySuffix = ".lmfs-new";
constexpr const char* kOldFolderSuffix = ".lmfs-old";

// Removes `path` when something stands there. False when it stays.
bool ClearAway(platform::Host& host, const std::string& path) {
  return !host.Exists(path) || host.RemoveTree(path);
}

// Puts the new copy at the model's path, where the old folder stands. On
// success `displaced` names where the old folder went.
bool SwapIn(platform::Host& host, const std::string& newCopy, const std::string& modelFolder,
            const std::string& oldFolder, std::string& displaced) {
  switch (host.Exchange(newCopy, modelFolder)) {
    case platform::ExchangeResult::kExchanged:
      displaced = newCopy;
      return true;
    case platform::ExchangeResult::kFailed:
      return false;
    case platform::ExchangeResult::kUnsupported:
      break;
  }
  // Without an atomic exchange: the old folder aside, then the new one in.
  if (!host.Rename(modelFolder, oldFolder)) return false;
  if (!host.Rename(newCopy, modelFolder)) {
    host.Rename(oldFolder, modelFolder);
    return false;
  }
  displaced = oldFolder;
  return true;
}

}  // namespace

std::string NewCopyName(const std::string& model) { return "." + model + kNewCopySuffix; }

std::string OldFolderName(const std::string& model) { return "." + model + kOldFolderSuffix; }

bool ReplaceModelFolder(platform::Host& host, const std::string& makerFolder,
                        const std::string& model, const std::string& source) {
  const std::string modelFolder = makerFolder + model;
  const std::string newCopy = makerFolder + NewCopyName(model);
  const std::string oldFolder = makerFolder + OldFolderName(model);

  if (!host.MakeFolders(makerFolder)) return false;
  // A run cut short between the two renames of a swap left the model's last
  // complete folder under the old name: it goes back before anything else.
  if (!host.Exists(modelFolder) && host.IsFolder(oldFolder) &&
      !host.Rename(oldFolder, modelFolder)) {
    return false;
  }
  if (!ClearAway(host, newCopy) || !ClearAway(host, oldFolder)) return false;
  const bool replacing = host.Exists(modelFolder);
  if (replacing && !host.IsFolder(modelFolder)) return false;

  // The copy is flushed to disk before it reports success.
  if (!host.CopyTree(source, newCopy)) {
    ClearAway(host, newCopy);
    return false;
  }

  std::string displaced;
  const bool inPlace = replacing ? SwapIn(host, newCopy, modelFolder, oldFolder, displaced)
                                 : host.Rename(newCopy, modelFolder);
  if (!inPlace) {
    ClearAway(host, newCopy);
    return false;
  }
  // Until the maker folder's entries are on disk, a crash may undo the swap;
  // the old folder is kept until then.
  if (!host.SyncFolder(makerFolder)) return false;
  if (!displaced.empty()) host.RemoveTree(displaced);
  return true;
}

}  // namespace job
