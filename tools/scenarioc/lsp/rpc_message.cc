#include "scenarioc/lsp/rpc_message.h"

#include <utility>

namespace scenario::lsp {
namespace {

bool valid_id(const Json& id) { return id.is_string() || id.is_number_integer() || id.is_null(); }

}  // namespace

std::variant<Message, Json> read_message(std::string_view body) {
  Json json = Json::parse(body, nullptr, false);
  if (json.is_discarded()) return error_response(nullptr, kParseError, "the message is no JSON");
  if (!json.is_object()) {
    return error_response(nullptr, kInvalidRequest, "the message is no JSON-RPC object");
  }
  Message message;
  const auto id = json.find("id");
  const bool has_id = id != json.end();
  message.kind = has_id ? Message::Kind::request : Message::Kind::notification;
  if (has_id) {
    if (!valid_id(*id))
      return error_response(nullptr, kInvalidRequest, "the id is no string or number");
    message.id = *id;
  }
  const auto version = json.find("jsonrpc");
  if (version == json.end() || *version != "2.0") {
    return error_response(message.id, kInvalidRequest, "the message is not JSON-RPC 2.0");
  }
  const auto method = json.find("method");
  if (method == json.end()) {
    if (has_id && (json.contains("result") || json.contains("error"))) {
      message.kind = Message::Kind::response;
      return message;
    }
    return error_response(message.id, kInvalidRequest, "the message has no method");
  }
  if (!method->is_string()) {
    return error_response(message.id, kInvalidRequest, "the method is no string");
  }
  message.method = method->get<std::string>();
  // Some editors send "params": null with shutdown and exit; it reads as none.
  const auto params = json.find("params");
  if (params != json.end() && !params->is_null()) {
    if (!params->is_object() && !params->is_array()) {
      return error_response(message.id, kInvalidRequest, "params is no object or array");
    }
    message.params = std::move(*params);
  }
  return message;
}

Json response(const Json& id, Json result) {
  Json json = Json::object();
  json["jsonrpc"] = "2.0";
  json["id"] = id;
  json["result"] = std::move(result);
  return json;
}

Json error_response(const Json& id, int code, std::string message) {
  Json json = Json::object();
  json["jsonrpc"] = "2.0";
  json["id"] = id;
  json["error"] = {{"code", code}, {"message", std::move(message)}};
  return json;
}

Json notification(std::string method, Json params) {
  Json json = Json::object();
  json["jsonrpc"] = "2.0";
  json["method"] = std::move(method);
  json["params"] = std::move(params);
  return json;
}

std::string message_text(const Json& message) {
  return message.dump(-1, ' ', false, Json::error_handler_t::replace);
}

}  // namespace scenario::lsp
