// The record-line layouts against the built-in scenario's text: every record
// line of both built-in sources, formatted again from its own values, is the
// line as held, but for the three curve rows that the content sets apart
// with a second blank.
#include "source/record_lines.h"

#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>
#include <vector>

#include "source/builtin_line.h"
#include "source/builtin_train.h"

namespace scenario {
namespace {

namespace lines = record_lines;

const std::map<std::string, const RecordLayout*>& layouts() {
  static const std::map<std::string, const RecordLayout*> all = [] {
    std::map<std::string, const RecordLayout*> m;
    for (const RecordLayout* layout : {&lines::kRouteLength,     &lines::kReferenceUno,
                                       &lines::kReferenceDue,    &lines::kReferenceTre,
                                       &lines::kBackgroundUno,   &lines::kBackgroundDue,
                                       &lines::kBackgroundTre,   &lines::kRepetition4,
                                       &lines::kRepetition9,     &lines::kGradient,
                                       &lines::kMountainStretch, &lines::kSpeedBoards,
                                       &lines::kIndicationBoard, &lines::kCoaches,
                                       &lines::kBrakedMass,      &lines::kSand,
                                       &lines::kClockLine,       &lines::kAdhesion,
                                       &lines::kSpeed,           &lines::kStationLine,
                                       &lines::kSlowdownLine,    &lines::kSignalLine,
                                       &lines::kAbbattimento}) {
      m[std::string(layout->keyword)] = layout;
    }
    return m;
  }();
  return all;
}

std::string trimmed(const std::string& field) {
  const size_t first = field.find_first_not_of(' ');
  if (first == std::string::npos) return "";
  return field.substr(first, field.find_last_not_of(' ') - first + 1);
}

std::vector<std::string> split(const std::string& text, char separator) {
  std::vector<std::string> parts;
  size_t start = 0;
  for (size_t at; (at = text.find(separator, start)) != std::string::npos; start = at + 1) {
    parts.push_back(text.substr(start, at - start));
  }
  parts.push_back(text.substr(start));
  return parts;
}

bool is_integer(const std::string& text) {
  const size_t digits = text[0] == '-' ? 1 : 0;
  return text.size() > digits && text.find_first_not_of("0123456789", digits) == std::string::npos;
}

// The line formatted again from the values it holds.
std::string formatted_again(const std::string& line) {
  const size_t comma = line.find(',');
  const std::string keyword = line.substr(0, comma);
  std::vector<std::string> fields = split(line.substr(comma + 1), ',');
  if (keyword.rfind("curva", 0) == 0) {
    return curve_line(keyword[5], keyword[6] - '0', std::stoll(fields[0]), std::stoll(fields[1]));
  }
  const auto found = layouts().find(keyword);
  if (found == layouts().end()) return "no layout for " + keyword;
  const RecordLayout& layout = *found->second;
  if (layout.blank_separated) {
    std::vector<std::string> numbers;
    for (const std::string& part : split(fields[0], ' ')) {
      if (!part.empty()) numbers.push_back(part);
    }
    fields = numbers;
  }
  std::vector<std::string> texts(fields.size());
  std::vector<LineValue> values;
  for (size_t i = 0; i < fields.size(); ++i) {
    texts[i] = trimmed(fields[i]);
    if (texts[i].empty()) {
      values.emplace_back(EmptyValue{});
    } else if (is_integer(texts[i])) {
      values.emplace_back(int64_t{std::stoll(texts[i])});
    } else {
      values.emplace_back(std::string_view(texts[i]));
    }
  }
  switch (values.size()) {
    case 1:
      return record_line(layout, {values[0]});
    case 2:
      return record_line(layout, {values[0], values[1]});
    case 3:
      return record_line(layout, {values[0], values[1], values[2]});
    case 6:
      return record_line(layout,
                         {values[0], values[1], values[2], values[3], values[4], values[5]});
    case 9:
      return record_line(layout, {values[0], values[1], values[2], values[3], values[4], values[5],
                                  values[6], values[7], values[8]});
    case 11:
      return record_line(layout, {values[0], values[1], values[2], values[3], values[4], values[5],
                                  values[6], values[7], values[8], values[9], values[10]});
    case 17:
      return record_line(
          layout, {values[0], values[1], values[2], values[3], values[4], values[5], values[6],
                   values[7], values[8], values[9], values[10], values[11], values[12], values[13],
                   values[14], values[15], values[16]});
  }
  return "unexpected value count in " + line;
}

TEST(RecordLines, TheBuiltinRecordsAreWrittenInTheseColumns) {
  const std::set<std::string> set_apart = {"curvad4,  3900, 450", "curvas5,  5800, 300",
                                           "curvad4,  8150, 700"};
  int records = 0;
  for (const Righe& righe : {builtin_line_source(), builtin_train_source()}) {
    for (const std::string& line : righe) {
      if (line.find(',') == std::string::npos || set_apart.count(line) != 0) continue;
      EXPECT_EQ(formatted_again(line), line);
      ++records;
    }
  }
  EXPECT_EQ(records, 8 + 60 + 43 + 3 + 40 + 6 + 4 + 1 + 27 + 35 + 3 + 124);
}

TEST(RecordLines, WideValuesAndEmptyFields) {
  EXPECT_EQ(record_line(lines::kSignalLine, {int64_t{1234567}, int64_t{2}, int64_t{4}, int64_t{0},
                                             int64_t{0}, int64_t{0}, int64_t{2}, int64_t{1},
                                             int64_t{10}, int64_t{0}, int64_t{-120}}),
            "segnale, 1234567,   2, 4, 0,  0, 0,    2,  1,10,0,-120");
  EXPECT_EQ(record_line(lines::kSpeedBoards,
                        {int64_t{700}, EmptyValue{}, EmptyValue{}, EmptyValue{}, int64_t{0},
                         int64_t{100}, int64_t{110}, int64_t{115}, int64_t{1}}),
            "indicatori_vmax,     700,  ,  ,  ,  0, 100, 110, 115,  1");
  EXPECT_EQ(record_line(lines::kClockLine, {int64_t{7}, int64_t{5}, int64_t{0}}),
            "orologio,     7               5             0 ");
  EXPECT_EQ(record_line(lines::kIndicationBoard, {int64_t{8500}, std::string_view("(km 341+500)")}),
            "cartello_indicatore,    8500, (km 341+500)");
  EXPECT_EQ(curve_line('s', 3, 0, 600), "curvas3, 0, 600");
}

}  // namespace
}  // namespace scenario
