// The transcripts and compiled-file texts that the golden files of scenarioc hold.
#include "tools/scenarioc/golden/golden_text.h"

#include <optional>
#include <regex>
#include <sstream>

#include "test_support.h"
#include "tools/scenarioc/golden/sha256.h"
#include "tools/scenarioc/run_scenarioc.h"

namespace scenario::testing {
namespace {

std::string joined(const std::vector<std::string>& args) {
  std::string text;
  for (const std::string& arg : args) text += " " + arg;
  return text;
}

// `text` with a line end after its last line, and a note when it had none.
std::string ended(const std::string& text) {
  if (text.empty() || text.back() == '\n') return text;
  return text + "\n(no line end after the last line)\n";
}

struct EntryLine {
  long index;
  std::string rest;  // from the role on: "(role): fields"
};

// The entry that line `k` of a station table's dump shows, when no line of
// details stands under it.
std::optional<EntryLine> bare_entry(const std::vector<std::string>& lines, size_t k) {
  static const std::regex entry(R"(entry (\d+) (\(.*))");
  std::smatch m;
  if (!std::regex_match(lines[k], m, entry)) return std::nullopt;
  if (k + 1 < lines.size() && lines[k + 1].starts_with("  ")) return std::nullopt;
  return EntryLine{std::stol(m[1]), m[2]};
}

// "entry 3 (role): fields" to "entry 79 (role): fields", each alone on its line
// and the same but for the number, become "entries 3 to 79 (role): fields".
std::string folded_entries(const std::string& dump) {
  std::istringstream in(dump);
  std::vector<std::string> lines;
  for (std::string line; std::getline(in, line);) lines.push_back(line);
  std::ostringstream out;
  for (size_t i = 0; i < lines.size();) {
    const std::optional<EntryLine> first = bare_entry(lines, i);
    size_t next = i + 1;
    for (; first && next < lines.size(); ++next) {
      const std::optional<EntryLine> e = bare_entry(lines, next);
      if (!e || e->rest != first->rest || e->index != first->index + static_cast<long>(next - i)) {
        break;
      }
    }
    if (next - i > 1) {
      out << "entries " << first->index << " to " << first->index + static_cast<long>(next - i - 1)
          << ' ' << first->rest << '\n';
    } else {
      out << lines[i] << '\n';
    }
    i = next;
  }
  return out.str();
}

}  // namespace

std::string transcript(const std::filesystem::path& folder, const std::vector<std::string>& args) {
  const ToolRun run = run_scenarioc(folder, args);
  std::string text = "$ scenarioc" + joined(args) + "\n";
  if (!run.out.empty()) text += "--- stdout\n" + ended(run.out);
  if (!run.err.empty()) text += "--- stderr\n" + ended(run.err);
  return text + "--- exit status " + std::to_string(run.status) + "\n";
}

std::string compiled_files_text(const std::filesystem::path& folder,
                                const std::vector<std::string>& files) {
  std::string digests;
  std::string dumps;
  for (const std::string& file : files) {
    if (!std::filesystem::exists(folder / file)) {
      digests += file + ": not written\n";
      continue;
    }
    digests += sha256_hex(read_file(folder / file)) + "  " + file + "\n";
    dumps += "\n" + folded_entries(transcript(folder, {"dump", file}));
  }
  return digests + dumps;
}

}  // namespace scenario::testing
