#include "tools/scenarioc/lsp/lsp_session.h"

#include <sstream>
#include <utility>

#include "scenarioc/lsp/framing.h"
#include "scenarioc/lsp/rpc_message.h"
#include "scenarioc/lsp/server.h"

namespace scenario::lsp::testing {

Json request(const Json& id, const std::string& method, Json params) {
  return {{"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", std::move(params)}};
}

Json notice(const std::string& method, Json params) {
  return {{"jsonrpc", "2.0"}, {"method", method}, {"params", std::move(params)}};
}

std::vector<Json> initialized(const Json& encodings) {
  Json capabilities = Json::object();
  if (!encodings.is_null()) capabilities["general"] = {{"positionEncodings", encodings}};
  return {request(0, "initialize", {{"capabilities", capabilities}}),
          notice("initialized", Json::object())};
}

Json open_params(const std::string& uri, const std::string& text, int version) {
  return {{"textDocument",
           {{"uri", uri}, {"languageId", "scenario"}, {"version", version}, {"text", text}}}};
}

Json change_params(const std::string& uri, int version, Json changes) {
  return {{"textDocument", {{"uri", uri}, {"version", version}}},
          {"contentChanges", std::move(changes)}};
}

Json at(const std::string& uri, const Json& line, const Json& character) {
  return {{"textDocument", {{"uri", uri}}},
          {"position", {{"line", line}, {"character", character}}}};
}

std::string framed(const std::vector<Json>& messages) {
  std::string input;
  for (const Json& message : messages) {
    const std::string body = message.dump();
    input += "Content-Length: " + std::to_string(body.size()) + "\r\n\r\n" + body;
  }
  return input;
}

std::vector<Json> Served::responses_to(const Json& id) const {
  std::vector<Json> found;
  for (const Json& message : sent) {
    if (!message.contains("method") && message["id"] == id) found.push_back(message);
  }
  return found;
}

std::vector<Json> Served::publications_for(const std::string& uri) const {
  std::vector<Json> found;
  for (const Json& message : sent) {
    if (message.value("method", "") == "textDocument/publishDiagnostics" &&
        message["params"]["uri"] == uri) {
      found.push_back(message["params"]["diagnostics"]);
    }
  }
  return found;
}

Served serve(const std::string& input) {
  std::istringstream in(input);
  std::ostringstream out;
  Served served;
  served.status = Server(in, out).run();
  std::istringstream sent(out.str());
  for (Frame frame = read_frame(sent); frame.kind == Frame::Kind::message;
       frame = read_frame(sent)) {
    served.sent.push_back(Json::parse(frame.body));
  }
  return served;
}

Served serve(const std::vector<Json>& messages) { return serve(framed(messages)); }

}  // namespace scenario::lsp::testing
