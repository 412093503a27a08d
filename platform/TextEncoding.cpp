#include "platform/TextEncoding.h"

#include <iconv.h>
#include <langinfo.h>

#include <cerrno>
#include <clocale>
#include <cstring>

namespace platform {
namespace {

const iconv_t kNoConverter = reinterpret_cast<iconv_t>(-1);  // iconv_open failure value

// Process-wide, as the locale is. A missing converter means "narrow is UTF-8".
struct Converters {
  std::string characterSet = "UTF-8";
  iconv_t toUtf8 = kNoConverter;
  iconv_t fromUtf8 = kNoConverter;

  ~Converters() { Close(); }
  void Close() {
    if (toUtf8 != kNoConverter) iconv_close(toUtf8);
    if (fromUtf8 != kNoConverter) iconv_close(fromUtf8);
    toUtf8 = fromUtf8 = kNoConverter;
  }
};

Converters& State() {
  static Converters converters;
  return converters;
}

bool IsUtf8Name(const std::string& name) {
  return name == "UTF-8" || name == "utf-8" || name == "UTF8" || name == "utf8";
}

// Length of the UTF-8 sequence that begins with `lead`, at least 1.
std::size_t Utf8SequenceLength(unsigned char lead) {
  if (lead >= 0xF0 && lead <= 0xF4) return 4;
  if (lead >= 0xE0) return lead <= 0xEF ? 3 : 1;
  if (lead >= 0xC2) return 2;
  return 1;
}

// Converts all of `input`; what cannot be converted becomes "?", skipping one
// character of the input (a whole UTF-8 sequence when the input is UTF-8).
std::string Convert(iconv_t converter, std::string_view input, bool inputIsUtf8) {
  std::string output;
  output.reserve(input.size() + input.size() / 2 + 8);
  iconv(converter, nullptr, nullptr, nullptr, nullptr);
  char* in = const_cast<char*>(input.data());
  std::size_t inLeft = input.size();
  char buffer[512];
  while (inLeft > 0) {
    char* out = buffer;
    std::size_t outLeft = sizeof buffer;
    const std::size_t rc = iconv(converter, &in, &inLeft, &out, &outLeft);
    output.append(buffer, static_cast<std::size_t>(out - buffer));
    if (rc != static_cast<std::size_t>(-1)) continue;
    if (errno == E2BIG) continue;
    // EILSEQ (unconvertible or invalid) or EINVAL (cut off at the end).
    output.push_back('?');
    std::size_t skip = inputIsUtf8 ? Utf8SequenceLength(static_cast<unsigned char>(*in)) : 1;
    if (errno == EINVAL || skip > inLeft) skip = inLeft;
    in += skip;
    inLeft -= skip;
  }
  char* out = buffer;
  std::size_t outLeft = sizeof buffer;
  iconv(converter, nullptr, nullptr, &out, &outLeft);  // shift back to the initial state
  output.append(buffer, static_cast<std::size_t>(out - buffer));
  return output;
}

}  // namespace

bool OpenTextConverters() {
  if (std::setlocale(LC_ALL, "") == nullptr) return OpenTextConvertersFor("UTF-8");
  const char* codeset = nl_langinfo(CODESET);
  return OpenTextConvertersFor(codeset != nullptr ? codeset : "");
}

bool OpenTextConvertersFor(const std::string& name) {
  Converters& state = State();
  state.Close();
  state.characterSet = "UTF-8";
  // The C/POSIX locale reports ASCII; it counts as UTF-8.
  if (name.empty() || IsUtf8Name(name) || name == "ANSI_X3.4-1968") return true;
  state.toUtf8 = iconv_open("UTF-8", name.c_str());
  state.fromUtf8 = iconv_open(name.c_str(), "UTF-8");
  if (state.toUtf8 == kNoConverter || state.fromUtf8 == kNoConverter) {
    state.Close();
    return false;
  }
  state.characterSet = name;
  return true;
}

std::string NarrowCharacterSet() { return State().characterSet; }

std::string NarrowToUtf8(std::string_view narrow) {
  const Converters& state = State();
  if (state.toUtf8 == kNoConverter) return std::string(narrow);
  return Convert(state.toUtf8, narrow, false);
}

std::string Utf8ToNarrow(std::string_view utf8) {
  const Converters& state = State();
  if (state.fromUtf8 == kNoConverter) return std::string(utf8);
  return Convert(state.fromUtf8, utf8, true);
}

}  // namespace platform
