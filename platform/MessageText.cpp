#include "platform/MessageText.h"

#include <cstddef>

namespace platform {
namespace {

// Length of the valid UTF-8 sequence at the start of `text`, or 0 when the
// bytes there are not one (overlong forms, surrogates and values beyond
// U+10FFFF included). Sets `codePoint` for a valid sequence.
std::size_t ValidSequenceLength(std::string_view text, char32_t& codePoint) {
  const auto byte = [&](std::size_t i) { return static_cast<unsigned char>(text[i]); };
  const unsigned char lead = byte(0);
  std::size_t length = 0;
  char32_t minimum = 0;
  if (lead < 0x80) {
    codePoint = lead;
    return 1;
  } else if (lead >= 0xC2 && lead <= 0xDF) {
    length = 2;
    codePoint = lead & 0x1F;
    minimum = 0x80;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    length = 3;
    codePoint = lead & 0x0F;
    minimum = 0x800;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    length = 4;
    codePoint = lead & 0x07;
    minimum = 0x10000;
  } else {
    return 0;
  }
  if (text.size() < length) return 0;
  for (std::size_t i = 1; i < length; ++i) {
    if ((byte(i) & 0xC0) != 0x80) return 0;
    codePoint = (codePoint << 6) | (byte(i) & 0x3F);
  }
  if (codePoint < minimum || codePoint > 0x10FFFF) return 0;
  if (codePoint >= 0xD800 && codePoint <= 0xDFFF) return 0;
  return length;
}

// Calls `emit(sequence, codePoint)` for each valid character of `text`, with
// CR LF folded into one line feed, and `emit("?", '?')` for each invalid byte.
template <typename Emit>
void ForEachCharacter(std::string_view text, Emit emit) {
  std::size_t i = 0;
  while (i < text.size()) {
    if (text.compare(i, 2, "\r\n") == 0) {
      emit(std::string_view("\n"), U'\n');
      i += 2;
      continue;
    }
    char32_t codePoint = 0;
    const std::size_t length = ValidSequenceLength(text.substr(i), codePoint);
    if (length == 0) {
      emit(std::string_view("?"), U'?');
      ++i;
      continue;
    }
    emit(text.substr(i, length), codePoint);
    i += length;
  }
}

void AppendVisible(std::string& out, std::string_view text) {
  ForEachCharacter(text, [&](std::string_view sequence, char32_t codePoint) {
    if (codePoint == U'\n' || codePoint == U'\t') {
      out += sequence;
    } else if (codePoint < 0x20) {
      out += '^';
      out += static_cast<char>(codePoint + 0x40);
    } else if (codePoint == 0x7F) {
      out += "^?";
    } else if (codePoint >= 0x80 && codePoint <= 0x9F) {
      out += "M-^";
      out += static_cast<char>(codePoint - 0x80 + 0x40);
    } else {
      out += sequence;
    }
  });
}

std::string ValidUtf8(std::string_view text) {
  std::string out;
  out.reserve(text.size());
  // A NUL would end the argument early.
  ForEachCharacter(text, [&](std::string_view sequence, char32_t codePoint) {
    out += codePoint == 0 ? std::string_view("?") : sequence;
  });
  return out;
}

}  // namespace

std::string_view IconKindName(MessageIcon icon) {
  return icon == MessageIcon::kError ? "Error" : "Information";
}

std::string TerminalMessageText(std::string_view caption, std::string_view text, MessageIcon icon) {
  std::string out;
  out.reserve(caption.size() + text.size() + 16);
  AppendVisible(out, caption);
  out += ": ";
  out += IconKindName(icon);
  out += '\n';
  AppendVisible(out, text);
  out += '\n';
  return out;
}

std::vector<std::string> ZenityArguments(std::string_view caption, std::string_view text,
                                         MessageIcon icon) {
  return {
      "zenity",
      icon == MessageIcon::kError ? "--error" : "--info",
      "--title=" + ValidUtf8(caption),
      "--text=" + ValidUtf8(text),
      "--no-markup",
  };
}

}  // namespace platform
