// libFuzzer target: arbitrary bytes as what an editor sends the language
// server, read to their end. Besides any crash, it stops on a broken promise
// of the server: everything it sends is a frame of JSON-RPC 2.0, and each
// frame it takes gets exactly one response when it is a request or cannot be
// read as a message, none otherwise; it reads nothing after `exit`.
#include <cstddef>
#include <cstdint>
#include <sstream>
#include <string>
#include <string_view>
#include <variant>

#include "broken_promise.h"
#include "scenarioc/lsp/framing.h"
#include "scenarioc/lsp/rpc_message.h"
#include "scenarioc/lsp/server.h"

namespace scenario::lsp {
namespace {

// The responses the server owes for `input`: one for each request and each
// frame that is no message, up to and with the `exit` notification.
size_t responses_owed(const std::string& input) {
  std::istringstream in(input);
  size_t owed = 0;
  for (Frame frame = read_frame(in); frame.kind != Frame::Kind::end; frame = read_frame(in)) {
    if (frame.kind == Frame::Kind::malformed) {
      ++owed;
      continue;
    }
    const std::variant<Message, Json> read = read_message(frame.body);
    const Message* message = std::get_if<Message>(&read);
    if (message == nullptr || message->kind == Message::Kind::request) ++owed;
    if (message && message->kind == Message::Kind::notification && message->method == "exit") {
      break;
    }
  }
  return owed;
}

void serve(const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  const int status = Server(in, out).run();
  require(status == 0 || status == 1);

  std::istringstream sent(out.str());
  size_t responses = 0;
  for (Frame frame = read_frame(sent); frame.kind != Frame::Kind::end; frame = read_frame(sent)) {
    require(frame.kind == Frame::Kind::message);
    const Json message = Json::parse(frame.body, nullptr, false);
    require(message.is_object() && message.value("jsonrpc", "") == "2.0");
    if (message.contains("method")) continue;  // a notification: published diagnostics
    require(message.contains("id") && (message.contains("result") != message.contains("error")));
    ++responses;
  }
  require(responses == responses_owed(input));
}

}  // namespace
}  // namespace scenario::lsp

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  scenario::lsp::serve(std::string(reinterpret_cast<const char*>(data), size));
  return 0;
}
