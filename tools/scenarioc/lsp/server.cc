#include "scenarioc/lsp/server.h"

#include <stdexcept>
#include <utility>
#include <variant>

#include "base/file_naming.h"
#include "scenarioc/lsp/completion.h"
#include "scenarioc/lsp/framing.h"
#include "scenarioc/lsp/hover.h"
#include "scenarioc/lsp/published_diagnostics.h"
#include "scenarioc/scenario_inputs.h"
#include "scenarioc/version.h"

namespace scenario::lsp {
namespace {

constexpr int kIncrementalSync = 2;

struct RequestError : std::runtime_error {
  RequestError(int code, const std::string& message) : std::runtime_error(message), code(code) {}
  int code;
};

const Json& member(const Json& object, const char* key) {
  static const Json kNull;
  if (!object.is_object()) return kNull;
  const auto found = object.find(key);
  return found == object.end() ? kNull : *found;
}

std::string text_member(const Json& object, const char* key) {
  const Json& value = member(object, key);
  if (!value.is_string()) throw RequestError(kInvalidParams, std::string(key) + " is no string");
  return value.get<std::string>();
}

std::string uri_of(const Json& params) {
  return text_member(member(params, "textDocument"), "uri");
}

int64_t version_of(const Json& params) {
  const Json& version = member(member(params, "textDocument"), "version");
  return version.is_number_integer() ? version.get<int64_t>() : 0;
}

}  // namespace

int Server::run() {
  while (!exit_) {
    const Frame frame = read_frame(in_);
    if (frame.kind == Frame::Kind::end) return 1;
    if (frame.kind == Frame::Kind::malformed) {
      send(error_response(nullptr, kParseError, frame.error));
      continue;
    }
    std::variant<Message, Json> message = read_message(frame.body);
    if (const Json* error = std::get_if<Json>(&message)) {
      send(*error);
      continue;
    }
    handle(std::get<Message>(message));
  }
  return shut_down_ ? 0 : 1;
}

void Server::handle(const Message& message) {
  if (message.method.empty()) return;  // a response: the server asks nothing
  if (!message.has_id) {
    try {
      notice(message);
    } catch (const std::exception&) {
      // A notification gets no answer, whatever is wrong with it.
    }
    return;
  }
  try {
    send(response(message.id, answer(message)));
  } catch (const RequestError& error) {
    send(error_response(message.id, error.code, error.what()));
  } catch (const Json::exception& error) {
    send(error_response(message.id, kInvalidParams, error.what()));
  }
}

Json Server::answer(const Message& request) {
  const std::string& method = request.method;
  if (method == "initialize") {
    initialized_ = true;
    return initialize_result();
  }
  if (!initialized_) throw RequestError(kServerNotInitialized, "initialize comes first");
  if (shut_down_) throw RequestError(kInvalidRequest, "the server is shut down");
  if (method == "shutdown") {
    shut_down_ = true;
    return nullptr;
  }
  if (method == "textDocument/hover") return hover(request.params);
  if (method == "textDocument/completion") return completion(request.params);
  if (method == "textDocument/definition") return definition(request.params);
  throw RequestError(kMethodNotFound, "no method " + method);
}

void Server::notice(const Message& notification) {
  const std::string& method = notification.method;
  if (method == "exit") {
    exit_ = true;
    return;
  }
  if (!initialized_ || shut_down_) return;
  if (method == "textDocument/didOpen") open(notification.params);
  if (method == "textDocument/didChange") change(notification.params);
  if (method == "textDocument/didClose") close(notification.params);
}

Json Server::initialize_result() const {
  Json capabilities = Json::object();
  capabilities["textDocumentSync"] = {{"openClose", true}, {"change", kIncrementalSync}};
  capabilities["hoverProvider"] = true;
  capabilities["completionProvider"] = {{"resolveProvider", false}};
  capabilities["definitionProvider"] = true;
  Json result = Json::object();
  result["capabilities"] = std::move(capabilities);
  result["serverInfo"] = {{"name", "scenarioc"}, {"version", scenarioc_version()}};
  return result;
}

void Server::open(const Json& params) {
  const Json& item = member(params, "textDocument");
  publish(documents_.open(text_member(item, "uri"), text_member(item, "text"), version_of(params)));
}

void Server::change(const Json& params) {
  const std::string uri = uri_of(params);
  if (!documents_.change(uri, member(params, "contentChanges"), version_of(params))) return;
  publish(*documents_.find(uri));
}

void Server::close(const Json& params) {
  const std::string uri = uri_of(params);
  Document* document = documents_.find(uri);
  if (document == nullptr) return;
  const Document closed{document->uri, document->path, 0, 0, false, {}};
  documents_.close(uri);
  // Its scenario is compiled again, this source now read from the disk.
  publish(closed);
}

void Server::publish(const Document& document) {
  for (Publication& publication : workspace_.refresh(document)) {
    send(notification(
        "textDocument/publishDiagnostics",
        {{"uri", publication.uri}, {"diagnostics", std::move(publication.diagnostics)}}));
  }
}

namespace {

// The open document a request names, the analysis of its scenario and its side.
struct Target {
  Document* document = nullptr;
  ScenarioAnalysis* analysis = nullptr;
  SourceFile side = SourceFile::none;
  Position position;
};

Target target_of(DocumentStore& documents, Workspace& workspace, const Json& params) {
  Target target;
  target.document = documents.find(uri_of(params));
  const std::optional<Position> position = position_from_json(member(params, "position"));
  if (!position) throw RequestError(kInvalidParams, "the position is missing");
  target.position = *position;
  if (target.document == nullptr) return target;
  target.analysis = workspace.analysis_of(*target.document);
  if (target.analysis != nullptr) {
    target.side = target.analysis->side_of(*target.document).value_or(SourceFile::none);
  }
  return target;
}

}  // namespace

Json Server::hover(const Json& params) {
  const Target t = target_of(documents_, workspace_, params);
  if (t.analysis == nullptr || t.side == SourceFile::none) return nullptr;
  const std::string text = hover_text(*t.analysis, t.side, t.position.line);
  if (text.empty()) return nullptr;
  Json result = Json::object();
  result["contents"] = {{"kind", "markdown"}, {"value", text}};
  const int64_t width = static_cast<int64_t>(t.document->text.utf8_line(t.position.line).size());
  result["range"] = range_json({{t.position.line, 0}, {t.position.line, width}});
  return result;
}

Json Server::completion(const Json& params) {
  const Target t = target_of(documents_, workspace_, params);
  if (t.document == nullptr) return Json::array();
  const std::string_view line = t.document->text.utf8_line(t.position.line);
  const std::vector<size_t> starts{0};
  const size_t cursor = offset_of(line, starts, {0, t.position.character});
  const bool train =
      split_train_source(utf8_of_path(t.document->path.filename()), std::nullopt).has_value();
  return completion_items(train, line.substr(0, cursor));
}

Json Server::definition(const Json& params) {
  const Target t = target_of(documents_, workspace_, params);
  if (t.analysis == nullptr || t.side == SourceFile::none) return nullptr;
  return note_locations(*t.analysis, t.side, t.position.line);
}

void Server::send(const Json& message) { write_frame(out_, message_text(message)); }

}  // namespace scenario::lsp
