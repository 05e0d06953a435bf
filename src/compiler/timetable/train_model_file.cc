#include "compiler/timetable/train_model_file.h"

#include <charconv>
#include <cmath>
#include <vector>

#include "base/run_time_failure.h"

namespace scenario::timetable {
namespace {

std::string_view trimmed(std::string_view text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!text.empty() && blank(text.front())) text.remove_prefix(1);
  while (!text.empty() && blank(text.back())) text.remove_suffix(1);
  return text;
}

const TrainModelField* field_named(std::string_view name) {
  for (const TrainModelField& f : train_model_fields()) {
    if (name == f.name) return &f;
  }
  return nullptr;
}

std::string field_names() {
  std::string names;
  for (const TrainModelField& f : train_model_fields()) {
    names += (names.empty() ? "" : ", ") + std::string(f.name);
  }
  return names;
}

class ModelReader {
 public:
  explicit ModelReader(const std::string& file_name) : file_name_(file_name) {}

  void read_line(std::string_view line, size_t number) {
    number_ = number;
    const size_t hash = line.find('#');
    if (hash != std::string_view::npos) line = line.substr(0, hash);
    line = trimmed(line);
    if (line.empty()) return;
    const size_t equals = line.find('=');
    if (equals == std::string_view::npos)
      fail("expected NAME = VALUE, not '" + std::string(line) + "'");
    const std::string_view name = trimmed(line.substr(0, equals));
    const TrainModelField* field = field_named(name);
    if (!field) fail("unknown value '" + std::string(name) + "'; the values are " + field_names());
    for (const Seen& s : seen_) {
      if (s.field == field->name) {
        fail(std::string(name) + " is already set on line " + std::to_string(s.line));
      }
    }
    seen_.push_back({field->name, number});
    set(*field, trimmed(line.substr(equals + 1)));
  }

  // The model's values checked against their ranges, each fault at its line.
  void check() const {
    for (const TrainModelFault& fault : train_model_faults(model_)) {
      size_t line = 0;
      for (const Seen& s : seen_) {
        if (s.field == fault.field) line = s.line;
      }
      throw RunTimeFailure(file_name_ + ":" + std::to_string(line) + ": " + fault.message);
    }
  }

  const TrainModel& model() const { return model_; }

 private:
  struct Seen {
    std::string field;
    size_t line;
  };

  [[noreturn]] void fail(const std::string& reason) const {
    throw RunTimeFailure(file_name_ + ":" + std::to_string(number_) + ": " + reason);
  }

  void set(const TrainModelField& field, std::string_view value) {
    const char* end = value.data() + value.size();
    if (field.whole) {
      int32_t n = 0;
      const auto [at, error] = std::from_chars(value.data(), end, n);
      if (value.empty() || error != std::errc() || at != end) {
        fail(std::string(field.name) + " takes a whole number, not '" + std::string(value) + "'");
      }
      model_.*field.whole = n;
      return;
    }
    double x = 0;
    const auto [at, error] = std::from_chars(value.data(), end, x);
    if (value.empty() || error != std::errc() || at != end || !std::isfinite(x)) {
      fail(std::string(field.name) + " takes a number, not '" + std::string(value) + "'");
    }
    model_.*field.real = x;
  }

  const std::string& file_name_;
  size_t number_ = 0;
  std::vector<Seen> seen_;
  TrainModel model_;
};

}  // namespace

TrainModel read_train_model(std::string_view text, const std::string& file_name) {
  ModelReader reader(file_name);
  size_t number = 1;
  while (true) {
    const size_t end = text.find('\n');
    reader.read_line(text.substr(0, end), number);
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
    ++number;
  }
  reader.check();
  return reader.model();
}

}  // namespace scenario::timetable
