// Temporary files: the form of their names, alike on every system.
#include "base/temporary_files.h"

#include <atomic>
#include <cstdint>
#include <limits>

namespace scenario {
namespace {

constexpr std::string_view kPrefix = ".~";
constexpr std::string_view kSuffix = ".tmp";

// Reads a decimal number of 1 to `max_digits` digits without a leading zero
// (0 itself allowed) from the front of `text`; none when there is none.
std::optional<uint64_t> take_number(std::string_view& text, std::size_t max_digits) {
  std::size_t digits = 0;
  while (digits < text.size() && text[digits] >= '0' && text[digits] <= '9') ++digits;
  if (digits == 0 || digits > max_digits || (digits > 1 && text[0] == '0')) return std::nullopt;
  uint64_t value = 0;
  for (std::size_t i = 0; i < digits; ++i)
    value = value * 10 + static_cast<uint64_t>(text[i] - '0');
  text.remove_prefix(digits);
  return value;
}

}  // namespace

std::string next_temporary_name() {
  static std::atomic<uint64_t> counter{0};
  return std::string(kPrefix) + std::to_string(current_process()) + "-" +
         std::to_string(counter++) + std::string(kSuffix);
}

std::optional<ProcessId> temporary_name_owner(std::string_view name) {
  if (name.substr(0, kPrefix.size()) != kPrefix) return std::nullopt;
  name.remove_prefix(kPrefix.size());
  const std::optional<uint64_t> pid = take_number(name, 10);
  if (!pid || *pid == 0 || *pid > static_cast<uint64_t>(std::numeric_limits<int32_t>::max())) {
    return std::nullopt;
  }
  if (name.substr(0, 1) != "-") return std::nullopt;
  name.remove_prefix(1);
  if (!take_number(name, 20) || name != kSuffix) return std::nullopt;
  return static_cast<ProcessId>(*pid);
}

}  // namespace scenario
