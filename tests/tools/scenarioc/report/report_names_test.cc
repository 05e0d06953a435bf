// The names the report page shares with its style sheet and script: each one
// the table holds is used by the assets its entry names, and the assets use
// no name that the table does not hold.
#include "scenarioc/report/report_names.h"

#include <gtest/gtest.h>

#include <regex>
#include <set>
#include <string>

#include "scenarioc/report/report_assets.h"

namespace scenario::testing {
namespace {

using page::NameKind;

using Names = std::set<std::pair<NameKind, std::string>>;

void add_matches(Names& names, NameKind kind, const std::string& text, const char* pattern,
                 const std::string& prefix = "") {
  const std::regex re(pattern);
  for (auto it = std::sregex_iterator(text.begin(), text.end(), re); it != std::sregex_iterator();
       ++it) {
    names.insert({kind, prefix + (*it)[1].str()});
  }
}

// Classes ending in a number (`k12`, `sx0`) stand for their prefix.
Names with_class_prefixes(const Names& names) {
  static const std::regex numbered("([a-z]+)[0-9]+");
  Names out;
  for (const auto& [kind, name] : names) {
    std::smatch m;
    if (kind == NameKind::class_name && std::regex_match(name, m, numbered)) {
      out.insert({NameKind::class_prefix, m[1].str()});
    } else {
      out.insert({kind, name});
    }
  }
  return out;
}

// Ids, classes and data attributes in a selector.
void add_selector_names(Names& names, const std::string& selectors) {
  add_matches(names, NameKind::id, selectors, R"(#([A-Za-z][\w-]*))");
  add_matches(names, NameKind::class_name, selectors, R"(\.([A-Za-z][\w-]*))");
  add_matches(names, NameKind::data, selectors, R"(\[(data-[\w-]+))");
}

Names names_in_style(std::string_view css) {
  std::string selectors;  // the sheet without its declaration blocks
  int depth = 0;
  for (char c : css) {
    if (c == '{') ++depth;
    if (depth == 0) selectors += c;
    if (c == '}') --depth;
  }
  Names names;
  add_selector_names(names, selectors);
  return with_class_prefixes(names);
}

std::string kebab_case(const std::string& camel) {
  std::string out;
  for (char c : camel) {
    if (c >= 'A' && c <= 'Z') {
      out += '-';
      out += static_cast<char>(c - 'A' + 'a');
    } else {
      out += c;
    }
  }
  return out;
}

Names names_in_script(std::string_view js) {
  const std::string text(js);
  Names names;
  add_matches(names, NameKind::id, text, R"(\$\('([\w-]+)'\))");
  add_matches(names, NameKind::id, text, R"(getElementById\('([\w-]+)'\))");
  add_matches(names, NameKind::id_prefix, text, R"(\$\('([\w-]+)' \+)");
  // Selectors: in any string literal.
  const std::regex literal(R"('([^'\n]*)')");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), literal);
       it != std::sregex_iterator(); ++it) {
    add_selector_names(names, (*it)[1].str());
  }
  add_matches(names, NameKind::class_name, text, R"(classList\.\w+\('([\w-]+)')");
  add_matches(names, NameKind::class_name, text, R"(class: '([\w-]+)')");
  add_matches(names, NameKind::data, text, R"(Attribute\('(data-[\w-]+)')");
  const std::regex dataset(R"(dataset\.(\w+))");
  for (auto it = std::sregex_iterator(text.begin(), text.end(), dataset);
       it != std::sregex_iterator(); ++it) {
    names.insert({NameKind::data, "data-" + kebab_case((*it)[1].str())});
  }
  add_matches(names, NameKind::data_key, text, R"(\bdata\.(\w+))");
  return with_class_prefixes(names);
}

bool holds(const Names& names, const page::SharedName& entry) {
  return names.count({entry.kind, std::string(entry.name)}) > 0;
}

TEST(ReportNamesTest, EachSharedNameIsUsedByTheAssetsItsEntryNames) {
  const Names style = names_in_style(report_style());
  const Names script = names_in_script(report_script());
  for (const page::SharedName& entry : page::kSharedNames) {
    EXPECT_EQ(holds(style, entry), (entry.uses & page::kStyle) != 0)
        << entry.name << ": in the style sheet";
    EXPECT_EQ(holds(script, entry), (entry.uses & page::kScript) != 0)
        << entry.name << ": in the script";
  }
}

TEST(ReportNamesTest, TheAssetsUseNoNameTheTableDoesNotHold) {
  Names table;
  for (const page::SharedName& entry : page::kSharedNames) {
    EXPECT_TRUE(table.insert({entry.kind, std::string(entry.name)}).second)
        << entry.name << " twice";
  }
  for (const auto& [kind, name] : names_in_style(report_style())) {
    EXPECT_TRUE(table.count({kind, name})) << name << " of the style sheet";
  }
  for (const auto& [kind, name] : names_in_script(report_script())) {
    EXPECT_TRUE(table.count({kind, name})) << name << " of the script";
  }
}

TEST(ReportNamesTest, TheReloadScriptHoldsEachPlaceholderOnceAndDefinesItsCallback) {
  const std::string script(watch_reload_script());
  for (std::string_view placeholder : {page::kPageGeneration, page::kGenerationFileName}) {
    const size_t at = script.find(placeholder);
    ASSERT_NE(at, std::string::npos) << placeholder;
    EXPECT_EQ(script.find(placeholder, at + 1), std::string::npos) << placeholder;
  }
  EXPECT_NE(script.find("window." + std::string(page::kWatchCallback) + " = "), std::string::npos);
}

}  // namespace
}  // namespace scenario::testing
