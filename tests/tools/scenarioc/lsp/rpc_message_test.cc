// JSON-RPC messages: requests, notifications and responses told apart, and
// what is none of them answered with the error the protocol names.
#include "scenarioc/lsp/rpc_message.h"

#include <gtest/gtest.h>

#include <string>

namespace scenario::lsp {
namespace {

TEST(RpcMessageTest, TellsRequestsNotificationsAndResponsesApart) {
  const auto request = std::get<Message>(
      read_message(R"({"jsonrpc":"2.0","id":"a","method":"shutdown","params":null})"));
  EXPECT_EQ(request.kind, Message::Kind::request);
  EXPECT_EQ(request.id, "a");
  EXPECT_EQ(request.method, "shutdown");
  EXPECT_TRUE(request.params.is_null());
  const auto note =
      std::get<Message>(read_message(R"({"jsonrpc":"2.0","method":"exit","params":{"x":1}})"));
  EXPECT_EQ(note.kind, Message::Kind::notification);
  EXPECT_EQ(note.params["x"], 1);
  const auto answer = std::get<Message>(read_message(R"({"jsonrpc":"2.0","id":3,"result":5})"));
  EXPECT_EQ(answer.kind, Message::Kind::response);
  // The empty method is a method still: a request, to be answered.
  const auto unnamed = std::get<Message>(read_message(R"({"jsonrpc":"2.0","id":4,"method":""})"));
  EXPECT_EQ(unnamed.kind, Message::Kind::request);
  EXPECT_EQ(unnamed.method, "");
}

TEST(RpcMessageTest, AnswersWhatIsNoMessageWithItsError) {
  const struct {
    std::string body;
    int code;
    Json id;
  } cases[] = {
      {"{\"jsonrpc\":", kParseError, nullptr},
      {"[1,2]", kInvalidRequest, nullptr},
      {R"({"jsonrpc":"2.0","id":[1],"method":"m"})", kInvalidRequest, nullptr},
      {R"({"jsonrpc":"1.0","id":4,"method":"m"})", kInvalidRequest, 4},
      {R"({"jsonrpc":"2.0","id":5})", kInvalidRequest, 5},
      {R"({"jsonrpc":"2.0","id":6,"method":7})", kInvalidRequest, 6},
      {R"({"jsonrpc":"2.0","id":7,"method":"m","params":3})", kInvalidRequest, 7},
  };
  for (const auto& c : cases) {
    const auto result = read_message(c.body);
    ASSERT_TRUE(std::holds_alternative<Json>(result)) << c.body;
    const Json& error = std::get<Json>(result);
    EXPECT_EQ(error["error"]["code"], c.code) << c.body;
    EXPECT_EQ(error["id"], c.id) << c.body;
    EXPECT_EQ(error["jsonrpc"], "2.0");
  }
}

TEST(RpcMessageTest, SendsUtf8AsItIsAndBrokenTextReplaced) {
  EXPECT_EQ(message_text(notification("m", {{"t", "Citt\xc3\xa0"}})),
            "{\"jsonrpc\":\"2.0\",\"method\":\"m\",\"params\":{\"t\":\"Citt\xc3\xa0\"}}");
  EXPECT_EQ(message_text(Json("a\xe0")), "\"a\xef\xbf\xbd\"");
}

}  // namespace
}  // namespace scenario::lsp
