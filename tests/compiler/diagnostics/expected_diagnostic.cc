#include "compiler/diagnostics/expected_diagnostic.h"

#include <utility>

#include "compiler/diagnostics/diagnostics.h"
#include "compiler/diagnostics/warnings.h"

namespace scenario::testing {
namespace {

bool same_place(const SourceLocation& where, const Expected& e) {
  return where.file == e.file && where.line == e.line && where.column == e.column;
}

bool has_words(const std::string& message, const Expected& e) {
  for (const std::string& word : e.words) {
    if (message.find(word) == std::string::npos) return false;
  }
  return true;
}

}  // namespace

Expected warning(const char* name, SourceFile file, int32_t line, int32_t column,
                 std::vector<std::string> words) {
  return {true, name, file, line, column, std::move(words)};
}

Expected error(int number, SourceFile file, int32_t line, int32_t column,
               std::vector<std::string> words) {
  return {false, std::to_string(number), file, line, column, std::move(words)};
}

::testing::AssertionResult drawn(const Compiled& c, const Expected& e) {
  std::string seen;
  for (const Warning& w : c.ctx.trail.warnings) {
    const std::string name(warning_name(w.kind));
    if (e.warning && name == e.name && same_place(w.where, e) && has_words(w.message, e)) {
      return ::testing::AssertionSuccess();
    }
    seen += "\n  warning " + name + " at " + std::to_string(w.where.line) + ":" +
            std::to_string(w.where.column) + ": " + w.message;
  }
  for (const Recording& r : c.ctx.trail.recordings) {
    const std::string message = describe(r);
    const std::string number = std::to_string(r.numero);
    if (!e.warning && number == e.name && same_place(r.where, e) && has_words(message, e)) {
      return ::testing::AssertionSuccess();
    }
    seen += "\n  error " + number + " at " + std::to_string(r.where.line) + ":" +
            std::to_string(r.where.column) + ": " + message;
  }
  return ::testing::AssertionFailure() << "not drawn; drawn instead:" << seen;
}

}  // namespace scenario::testing
