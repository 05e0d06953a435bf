// The journal's text, written and read back.
#include "base/file_set_journal.h"

#include <set>

#include "base/temporary_files.h"

namespace scenario {
namespace {

constexpr std::string_view kFirstLine = "file set 1";
constexpr std::string_view kLastLine = "end";
constexpr char kHex[] = "0123456789ABCDEF";

bool escaped(unsigned char c) { return c < 0x20 || c == 0x7F || c == '%'; }

std::string escape(std::string_view name) {
  std::string text;
  for (const char c : name) {
    const auto byte = static_cast<unsigned char>(c);
    if (!escaped(byte)) {
      text += c;
      continue;
    }
    text += '%';
    text += kHex[byte >> 4];
    text += kHex[byte & 0xF];
  }
  return text;
}

int hex_digit(char c) {
  if (c >= '0' && c <= '9') return c - '0';
  if (c >= 'A' && c <= 'F') return c - 'A' + 10;
  return -1;
}

// None when `text` holds a byte that should have been escaped, or a bad escape.
std::optional<std::string> unescape(std::string_view text) {
  std::string name;
  for (std::size_t i = 0; i < text.size(); ++i) {
    if (text[i] != '%') {
      if (escaped(static_cast<unsigned char>(text[i]))) return std::nullopt;
      name += text[i];
      continue;
    }
    if (i + 2 >= text.size()) return std::nullopt;
    const int high = hex_digit(text[i + 1]);
    const int low = hex_digit(text[i + 2]);
    if (high < 0 || low < 0) return std::nullopt;
    name += static_cast<char>(high * 16 + low);
    i += 2;
  }
  return name;
}

bool plain_name(const std::string& name) {
  return !name.empty() && name != "." && name != ".." &&
         name.find_first_of(std::string_view("/\\\0", 3)) == std::string::npos &&
         name != kJournalName && !temporary_name_owner(name);
}

}  // namespace

std::string journal_text(const std::vector<JournalEntry>& entries) {
  std::string text = std::string(kFirstLine) + "\n";
  for (const JournalEntry& entry : entries) {
    text += entry.temporary + " " + escape(entry.name) + "\n";
  }
  return text + std::string(kLastLine) + "\n";
}

std::optional<std::vector<JournalEntry>> read_journal(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    const std::size_t end = text.find('\n');
    if (end == std::string_view::npos) return std::nullopt;  // cut short
    lines.push_back(text.substr(0, end));
    text.remove_prefix(end + 1);
  }
  if (lines.size() < 3 || lines.front() != kFirstLine || lines.back() != kLastLine) {
    return std::nullopt;
  }
  std::vector<JournalEntry> entries;
  std::set<std::string> names;
  std::set<std::string> temporaries;
  for (std::size_t i = 1; i + 1 < lines.size(); ++i) {
    const std::size_t blank = lines[i].find(' ');
    if (blank == std::string_view::npos) return std::nullopt;
    JournalEntry entry{std::string(lines[i].substr(0, blank)), ""};
    const std::optional<std::string> name = unescape(lines[i].substr(blank + 1));
    if (!temporary_name_owner(entry.temporary) || !name || !plain_name(*name) ||
        !names.insert(*name).second || !temporaries.insert(entry.temporary).second) {
      return std::nullopt;
    }
    entry.name = *name;
    entries.push_back(std::move(entry));
  }
  return entries;
}

}  // namespace scenario
