#pragma once

// Replacing one model's folder in the profile store so that the store never
// lacks a complete folder for that model: the new folder is copied in under a
// transient name beside the model's folder, made durable, swapped in, and the
// old folder is removed last.

#include <string>

#include "platform/Host.h"

namespace job {

// The transient names beside a model's folder: the new copy while it is
// written, and the old folder between the swap and its removal. A leading
// "." and the tool's own suffix keep them apart from any real model name;
// the store is read only under model names, so a leftover never counts as
// installed.
std::string NewCopyName(const std::string& model);
std::string OldFolderName(const std::string& model);

// Makes `source` (a folder) the folder `model` inside `makerFolder` (a path
// ending with a separator), creating the maker folder and its parents when
// missing. Leftovers of an interrupted earlier replacement of the same model
// are cleared first; an old folder left where the model's own folder is
// missing is put back instead, as it is the model's last complete folder. `model` must be a single folder name.
//
// False when anything fails before the swap: the model's folder is then as it
// was (or still absent) and no new copy is left behind. A file or link at the
// model's path is left alone and fails the replacement. Once the new folder is
// in place, only a failure to make the swap durable gives false; a failure to
// remove the old folder leaves it under its transient name and still gives
// true, since the model is installed.
bool ReplaceModelFolder(platform::Host& host, const std::string& makerFolder,
                        const std::string& model, const std::string& source);

}  // namespace job
