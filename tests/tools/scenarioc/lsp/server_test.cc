// The language server over whole sessions, each one input read to its end:
// every request answered once, hostile positions refused, positions in the
// encoding agreed on, scenario text kept out of the hover's Markdown, an
// unsaved scenario paired, and the changes waiting in the input compiled once.
#include "scenarioc/lsp/server.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <vector>

#include "scenarioc/lsp/document_store.h"
#include "scenarioc/lsp/rpc_message.h"
#include "test_support.h"
#include "tools/scenarioc/lsp/lsp_session.h"

namespace scenario::lsp::testing {
namespace {

using scenario::testing::fixture_path;
using scenario::testing::read_file;
using scenario::testing::TempDir;
using scenario::testing::write_file;

const std::string kLine = read_file(fixture_path("clean") + "/Prova_linea.txt");
const std::string kTrain = read_file(fixture_path("clean") + "/Prova_1-.txt");
constexpr int kSignalLine = 15;   // "segnale, 1650, ..." of the train file, from 0
constexpr int kStationLine = 11;  // "stazione, 0, ..., ORIGINE"

// `text` with line `line` (from 0) replaced by `replacement`.
std::string with_line(const std::string& text, int line, const std::string& replacement) {
  size_t begin = 0;
  for (int i = 0; i < line; ++i) begin = text.find('\n', begin) + 1;
  size_t end = text.find_first_of("\r\n", begin);
  return text.substr(0, begin) + replacement + text.substr(end);
}

// The clean scenario saved in a folder of its own, both files open.
struct Scenario {
  TempDir dir;
  std::string line_uri = uri_of_path(dir / "Prova_linea.txt");
  std::string train_uri = uri_of_path(dir / "Prova_1-.txt");
  Scenario() {
    write_file(dir / "Prova_linea.txt", kLine);
    write_file(dir / "Prova_1-.txt", kTrain);
  }
  std::vector<Json> opened(const std::string& train = kTrain, const Json& encodings = nullptr) {
    std::vector<Json> messages = initialized(encodings);
    messages.push_back(notice("textDocument/didOpen", open_params(line_uri, kLine)));
    messages.push_back(notice("textDocument/didOpen", open_params(train_uri, train)));
    return messages;
  }
};

int error_code(const Json& response) {
  return response.contains("error") ? response["error"]["code"].get<int>() : 0;
}

TEST(ServerTest, EveryRequestGetsOneResponseAndAfterShutdownOnlyExitIsTaken) {
  Scenario s;
  std::vector<Json> messages = {request(1, "textDocument/hover", at(s.train_uri, 0, 0))};
  for (const Json& m : initialized()) messages.push_back(m);
  const Json rest[] = {
      request(2, "", Json::object()),
      request(3, "initialize", {{"capabilities", Json::object()}}),
      request(4, "shutdown", nullptr),
      request(5, "initialize", {{"capabilities", Json::object()}}),
      request(6, "textDocument/hover", at(s.train_uri, 0, 0)),
      request(7, "shutdown", nullptr),
      notice("exit", nullptr),
      request(8, "shutdown", nullptr),  // after exit: never read
  };
  messages.insert(messages.end(), std::begin(rest), std::end(rest));
  const Served served = serve(messages);
  EXPECT_EQ(served.status, 0);
  const int expected[] = {0, kServerNotInitialized, kMethodNotFound, kInvalidRequest,
                          0, kInvalidRequest,       kInvalidRequest, kInvalidRequest};
  for (int id = 0; id < 8; ++id) {
    const std::vector<Json> responses = served.responses_to(id);
    ASSERT_EQ(responses.size(), 1u) << "request " << id;
    EXPECT_EQ(error_code(responses[0]), expected[id]) << responses[0].dump();
  }
  EXPECT_TRUE(served.responses_to(8).empty());
}

TEST(ServerTest, APositionOutsideTheProtocolsRangeIsRefusedBeforeAnyArithmetic) {
  constexpr int64_t kMax = std::numeric_limits<int64_t>::max();
  constexpr int64_t kMin = std::numeric_limits<int64_t>::min();
  const Json hostile[][2] = {
      {kMax, 0}, {0, kMax},    {kMax, kMax},          {-1, 0},
      {0, -1},   {kMin, kMin}, {int64_t{1} << 31, 0}, {std::numeric_limits<uint64_t>::max(), 0},
      {1.5, 0},  {"3", 0},     {nullptr, 0},
  };
  Scenario s;
  std::vector<Json> messages = s.opened();
  int id = 1;
  for (const auto& [line, character] : hostile) {
    for (const char* method :
         {"textDocument/hover", "textDocument/completion", "textDocument/definition"}) {
      messages.push_back(request(id++, method, at(s.train_uri, line, character)));
    }
    const Json range = {{"start", {{"line", line}, {"character", character}}},
                        {"end", {{"line", line}, {"character", character}}}};
    messages.push_back(notice("textDocument/didChange",
                              change_params(s.train_uri, id, {{{"range", range}, {"text", "x"}}})));
  }
  // The largest position there is: past the text, so nothing is there.
  messages.push_back(request(id, "textDocument/hover", at(s.train_uri, 2147483647, 2147483647)));
  messages.push_back(request(id + 1, "textDocument/hover", at(s.train_uri, kSignalLine, 0)));
  const Served served = serve(messages);
  for (int i = 1; i < id; ++i) {
    const std::vector<Json> responses = served.responses_to(i);
    ASSERT_EQ(responses.size(), 1u) << i;
    EXPECT_EQ(error_code(responses[0]), kInvalidParams) << "request " << i;
  }
  EXPECT_TRUE(served.responses_to(id).at(0)["result"].is_null());
  // No hostile change reached the text: the signal is where it was.
  const Json hover = served.responses_to(id + 1).at(0)["result"];
  EXPECT_NE(hover["contents"]["value"].get<std::string>().find("Approach marks"),
            std::string::npos);
}

TEST(ServerTest, PositionsAreInTheEncodingTheClientOffersFirst) {
  // The station's name: "Città" (5 characters, 6 bytes), a blank and a
  // character outside the BMP (4 bytes, 2 UTF-16 units, 1 code point).
  const std::string prefix =
      "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  10,33, 0, ";
  const int64_t n = static_cast<int64_t>(prefix.size());
  const std::string station = prefix + "Citt\xc3\xa0 \xf0\x9f\x9a\x82";
  const struct {
    Json offered;
    std::string chosen;
    int64_t line_end;  // the station line's length
    int64_t emoji;     // where the last character starts
  } cases[] = {
      {nullptr, "utf-16", n + 8, n + 6},
      {Json::array(), "utf-16", n + 8, n + 6},
      {"utf-8", "utf-16", n + 8, n + 6},
      {{"utf-7", "utf-16"}, "utf-16", n + 8, n + 6},
      {{"utf-8", "utf-16"}, "utf-8", n + 11, n + 7},
      {{"utf-32", "utf-8"}, "utf-32", n + 7, n + 6},
  };
  for (const auto& c : cases) {
    Scenario s;
    const std::string train = with_line(kTrain, kStationLine, station);
    std::vector<Json> messages = s.opened(train, c.offered);
    messages.push_back(request(1, "textDocument/hover", at(s.train_uri, kStationLine, 0)));
    const Served first = serve(messages);
    const Json capabilities = first.responses_to(0).at(0)["result"]["capabilities"];
    EXPECT_EQ(capabilities.value("positionEncoding", ""), c.chosen) << c.offered;
    const Json range = first.responses_to(1).at(0)["result"]["range"];
    EXPECT_EQ(range["end"]["character"], c.line_end) << c.offered;

    // The last character replaced by "Z", in the same units.
    messages.pop_back();
    const Json replaced = {{"start", {{"line", kStationLine}, {"character", c.emoji}}},
                           {"end", {{"line", kStationLine}, {"character", c.line_end}}}};
    messages.push_back(
        notice("textDocument/didChange",
               change_params(s.train_uri, 2, {{{"range", replaced}, {"text", "Z"}}})));
    messages.push_back(request(1, "textDocument/hover", at(s.train_uri, kStationLine, 0)));
    const Json hover = serve(messages).responses_to(1).at(0)["result"];
    EXPECT_NE(hover["contents"]["value"].get<std::string>().find("Citt\xc3\xa0 Z"),
              std::string::npos)
        << c.offered << hover.dump();
    EXPECT_EQ(hover["range"]["end"]["character"], c.emoji + 1) << c.offered;
  }
}

TEST(ServerTest, ScenarioTextInTheHoverIsEscapedMarkdown) {
  Scenario s;
  const std::string name = "![a](http://h/i.png)<b>*x*</b>_`";
  const std::string train =
      with_line(kTrain, kStationLine,
                "stazione,       0,  8,  500,  0, 0, 0,  1,1,0,  4,1,1,    1,  10,33, 0, " + name);
  std::vector<Json> messages = s.opened(train);
  messages.push_back(request(1, "textDocument/hover", at(s.train_uri, kStationLine, 0)));
  const std::string text =
      serve(messages).responses_to(1).at(0)["result"]["contents"]["value"].get<std::string>();
  EXPECT_NE(text.find(R"(\!\[a\]\(http\:\/\/h\/i\.png\)\<b\>\*x\*\<\/b\>\_\`)"), std::string::npos)
      << text;
  EXPECT_EQ(text.find("!["), std::string::npos) << text;
  EXPECT_EQ(text.find("<b>"), std::string::npos) << text;
}

TEST(ServerTest, BothFilesOfANewScenarioOpenButNotSavedArePaired) {
  TempDir dir;
  const std::string line_uri = uri_of_path(dir / "Nuovo_linea.txt");
  const std::string train_uri = uri_of_path(dir / "Nuovo_7-.txt");
  std::vector<Json> messages = initialized();
  messages.push_back(notice("textDocument/didOpen", open_params(line_uri, kLine)));
  messages.push_back(notice("textDocument/didOpen", open_params(train_uri, kTrain)));
  messages.push_back(request(1, "textDocument/hover", at(train_uri, kSignalLine, 0)));
  const Served served = serve(messages);
  for (const std::string& uri : {line_uri, train_uri}) {
    const std::vector<Json> publications = served.publications_for(uri);
    ASSERT_FALSE(publications.empty()) << uri;
    EXPECT_EQ(publications.back(), Json::array()) << publications.back().dump();
  }
  EXPECT_TRUE(served.responses_to(1).at(0)["result"].is_object());
}

TEST(ServerTest, ChangesWaitingInTheInputAreCompiledOnceAndAnsweredAtTheLatestText) {
  Scenario s;
  std::vector<Json> messages = s.opened();
  const std::string typo =
      with_line(kTrain, kSignalLine, "segnalle,    1650,   2, 4, 0,  0, 0,    2,  1,0,0, 0");
  // 50 keystrokes sent together, the last leaving a typo on the signal's line.
  for (int i = 0; i < 50; ++i) {
    messages.push_back(
        notice("textDocument/didChange",
               change_params(s.train_uri, i + 2, {{{"text", i % 2 == 0 ? kTrain : typo}}})));
  }
  messages.push_back(request(1, "textDocument/hover", at(s.train_uri, kSignalLine, 0)));
  const Served served = serve(messages);
  const std::vector<Json> publications = served.publications_for(s.train_uri);
  ASSERT_EQ(publications.size(), 1u);
  ASSERT_EQ(publications[0].size(), 1u) << publications[0].dump();
  EXPECT_EQ(publications[0][0]["code"], "unknown-keyword");
  // The hover reads the latest text, where no signal stands on that line.
  EXPECT_TRUE(served.responses_to(1).at(0)["result"].is_null());
}

}  // namespace
}  // namespace scenario::lsp::testing
