#include "scenarioc/output/warning_settings.h"

#include <algorithm>
#include <optional>

namespace scenario {
namespace {

constexpr std::string_view kPrefix = "-W";
constexpr std::string_view kNo = "no-";

void turn(WarningSettings& settings, WarningClass kind, bool on) {
  std::vector<WarningClass>& off = settings.off;
  off.erase(std::remove(off.begin(), off.end(), kind), off.end());
  if (!on) off.push_back(kind);
}

}  // namespace

bool WarningSettings::shows(WarningClass kind) const {
  return std::find(off.begin(), off.end(), kind) == off.end();
}

bool is_warning_flag(std::string_view arg) {
  return arg.size() > kPrefix.size() && arg.substr(0, kPrefix.size()) == kPrefix;
}

std::string apply_warning_flag(WarningSettings& settings, std::string_view flag) {
  std::string_view name = flag.substr(kPrefix.size());
  if (name == "error") {
    settings.as_errors = true;
    return "";
  }
  if (name == "no-error") {
    settings.as_errors = false;
    return "";
  }
  const bool on = name.substr(0, kNo.size()) != kNo;
  if (!on) name.remove_prefix(kNo.size());
  const std::optional<WarningClass> kind = warning_class_named(name);
  if (!kind) {
    return "unknown warning '" + std::string(name) + "' in '" + std::string(flag) +
           "'; the warnings are: " + warning_names_list();
  }
  turn(settings, *kind, on);
  return "";
}

std::string warning_names_list() {
  std::string names;
  for (const WarningClassName& c : warning_classes()) {
    if (!names.empty()) names += ", ";
    names += c.name;
  }
  return names;
}

}  // namespace scenario
