// JSON-RPC 2.0 as the language server protocol uses it: a message read from a
// frame's body is a request (with an id), a notification (without) or a
// response; what is not one of them gets the error response to send.
#pragma once

#include <string>
#include <string_view>
#include <variant>

#include "scenarioc/output/json_text.h"

namespace scenario::lsp {

enum ErrorCode : int {
  kParseError = -32700,
  kInvalidRequest = -32600,
  kMethodNotFound = -32601,
  kInvalidParams = -32602,
  kInternalError = -32603,
  kServerNotInitialized = -32002,
};

struct Message {
  // A request has an id and a method, a notification a method and no id, a
  // response an id and a result or an error.
  enum class Kind { request, notification, response };
  Kind kind = Kind::notification;
  Json id;
  std::string method;  // any string, the empty one too; empty for a response
  Json params;
};

// The message in `body`, or the error response that answers it.
std::variant<Message, Json> read_message(std::string_view body);

Json response(const Json& id, Json result);
Json error_response(const Json& id, int code, std::string message);
Json notification(std::string method, Json params);

// The body of a message as it is sent: compact JSON, UTF-8.
std::string message_text(const Json& message);

}  // namespace scenario::lsp
