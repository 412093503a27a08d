#pragma once

// The one seam between the tool's logic and the machine it runs on. Every
// service of the host (files, folders, the product records, message boxes,
// the console) goes through this interface, so that the logic builds and runs
// without the real system and tests can record calls and force failures.
//
// Paths are passed as the logic forms them, with "\" or "/" as separators;
// the implementation maps them to the system's form right before each call.

#include <cstddef>
#include <memory>
#include <string>
#include <string_view>

namespace platform {

// A file open for reading as a buffered binary stream.
class InputFile {
 public:
  virtual ~InputFile() = default;
  // Reads up to `size` bytes. Returns the count read, 0 at the end of the
  // file, or -1 on a read error.
  virtual std::ptrdiff_t Read(void* buffer, std::size_t size) = 0;
};

// A file open for writing. Closing happens on destruction as well; Close()
// reports whether everything written reached the file.
class OutputFile {
 public:
  virtual ~OutputFile() = default;
  // Writes up to `size` bytes. On success returns true and sets `written` to
  // the count actually written, which may be less than `size`.
  virtual bool Write(const void* data, std::size_t size, std::size_t& written) = 0;
  virtual bool Close() = 0;
};

enum class MessageIcon { kInformation, kError };

enum class ExchangeResult { kExchanged, kUnsupported, kFailed };

// Result code of a product-record query: 0 is success, anything else failure.
using QueryResult = unsigned;
inline constexpr QueryResult kQuerySuccess = 0;
inline constexpr QueryResult kQueryFailure = 1;

class Host {
 public:
  virtual ~Host() = default;

  // --- Start-up and console -------------------------------------------------
  // Sets the locale and opens the text converters. False when the tool
  // cannot start.
  virtual bool InitializeFramework() = 0;
  // Writes raw bytes to standard output (only the start-up failure text).
  virtual void WriteToStandardOutput(std::string_view text) = 0;
  // The user's language setting: the first non-empty of LC_ALL, LC_MESSAGES
  // and LANG, or "".
  virtual std::string LanguageSetting() = 0;

  // --- Product records ------------------------------------------------------
  // Asks the records of `productCode` for `property`. With `value` null only
  // tells whether the property can be answered. With a value buffer, the
  // answer must fit `capacity` characters including a terminator.
  virtual QueryResult QueryProductInfo(const std::string& productCode, const std::string& property,
                                       std::string* value, std::size_t capacity) = 0;

  // --- Files ----------------------------------------------------------------
  // Opens an existing file for reading; null when it cannot be opened.
  virtual std::unique_ptr<InputFile> OpenForReading(const std::string& path) = 0;
  // Creates a file for writing, replacing an existing one with an empty file.
  // `buffered` selects a buffered stream (for many small writes) over direct
  // writes. Null when it cannot be created.
  virtual std::unique_ptr<OutputFile> CreateFile(const std::string& path, bool buffered) = 0;

  // --- Folders --------------------------------------------------------------
  // True when a file or folder of that name exists (a link counts as itself).
  virtual bool Exists(const std::string& path) = 0;
  // True when the path names a folder (a link to a folder does not count).
  virtual bool IsFolder(const std::string& path) = 0;
  // Creates one folder; fails when the name exists or the parent is missing.
  virtual bool MakeFolder(const std::string& path) = 0;
  // Creates a folder and its missing parents; true when it exists afterwards
  // as a folder.
  virtual bool MakeFolders(const std::string& path) = 0;
  // Removes a folder with everything below it (or a single file), never
  // following links. Fails when the name does not exist.
  virtual bool RemoveTree(const std::string& path) = 0;
  // Copies the folder `source` with everything below it to the new folder
  // `destination`, whose parent must exist and whose name must not. Every
  // file and folder written is flushed to disk before it returns true. Only
  // regular files and folders are copied; anything else fails the copy.
  virtual bool CopyTree(const std::string& source, const std::string& destination) = 0;
  // Renames `from` to `to` (which must not exist) on the same file system.
  virtual bool Rename(const std::string& from, const std::string& to) = 0;
  // Swaps two existing names atomically, where the file system can.
  virtual ExchangeResult Exchange(const std::string& first, const std::string& second) = 0;
  // Flushes a folder's entries to disk.
  virtual bool SyncFolder(const std::string& path) = 0;
  // The absolute current directory without a trailing separator.
  virtual bool CurrentDirectory(std::string& path) = 0;

  // --- Time and user --------------------------------------------------------
  // The pause after each successful write during zip extraction.
  virtual void WritePause() = 0;
  // Shows a modal message and waits until the user has dismissed it.
  virtual void ShowMessage(const std::string& caption, const std::string& text,
                           MessageIcon icon) = 0;
};

}  // namespace platform
