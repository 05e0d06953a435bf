#include "scenarioc/lsp/server.h"

#include <filesystem>
#include <new>
#include <stdexcept>
#include <utility>
#include <variant>

#include "base/file_naming.h"
#include "scenarioc/lsp/completion.h"
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

// The requests answered from the documents' text and their scenarios' analyses.
bool on_documents(const std::string& method) {
  return method == "textDocument/hover" || method == "textDocument/completion" ||
         method == "textDocument/definition";
}

constexpr struct {
  PositionEncoding encoding;
  const char* name;
} kEncodings[] = {
    {PositionEncoding::utf8, "utf-8"},
    {PositionEncoding::utf16, "utf-16"},
    {PositionEncoding::utf32, "utf-32"},
};

// The first of the client's position encodings (most preferred first) that
// the server knows; UTF-16, which every client takes, when none is.
PositionEncoding negotiated_encoding(const Json& params) {
  const Json& offered =
      member(member(member(params, "capabilities"), "general"), "positionEncodings");
  if (!offered.is_array()) return PositionEncoding::utf16;
  for (const Json& name : offered) {
    for (const auto& known : kEncodings) {
      if (name == known.name) return known.encoding;
    }
  }
  return PositionEncoding::utf16;
}

const char* encoding_name(PositionEncoding encoding) {
  for (const auto& known : kEncodings) {
    if (known.encoding == encoding) return known.name;
  }
  return "utf-16";
}

}  // namespace

int Server::run() {
  while (true) {
    const Frame frame = read_frame(in_);
    if (frame.kind == Frame::Kind::end) {
      settle();
      return 1;
    }
    take(frame);
    if (exit_) {
      if (!waiting_.empty()) settle();
      return shut_down_ ? 0 : 1;
    }
    if (!input_waiting()) settle();
  }
}

void Server::take(const Frame& frame) {
  if (frame.kind == Frame::Kind::malformed) {
    send(error_response(nullptr, kParseError, frame.error));
    return;
  }
  std::variant<Message, Json> read = read_message(frame.body);
  if (const Json* error = std::get_if<Json>(&read)) {
    send(*error);
    return;
  }
  const Message& message = std::get<Message>(read);
  switch (message.kind) {
    case Message::Kind::request:
      take_request(message);
      return;
    case Message::Kind::notification:
      notice(message);
      return;
    case Message::Kind::response:
      return;  // the server asks nothing
  }
}

void Server::take_request(const Message& request) {
  if (initialized_ && !shut_down_ && on_documents(request.method)) {
    waiting_.push_back(request);
    return;
  }
  // What was asked before shutdown is answered before it.
  if (request.method == "shutdown") settle();
  reply(request);
}

void Server::settle() {
  for (Publication& publication : workspace_.settle()) {
    send(notification(
        "textDocument/publishDiagnostics",
        {{"uri", publication.uri}, {"diagnostics", std::move(publication.diagnostics)}}));
  }
  for (const Message& request : std::exchange(waiting_, {})) reply(request);
}

void Server::reply(const Message& request) {
  try {
    send(response(request.id, answer(request)));
  } catch (const RequestError& error) {
    send(error_response(request.id, error.code, error.what()));
  } catch (const Json::exception& error) {
    send(error_response(request.id, kInvalidParams, error.what()));
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception& error) {
    send(error_response(request.id, kInternalError, error.what()));
  }
}

Json Server::answer(const Message& request) {
  const std::string& method = request.method;
  if (shut_down_)
    throw RequestError(kInvalidRequest, "the server is shut down: only exit is taken");
  if (method == "initialize") {
    if (initialized_) throw RequestError(kInvalidRequest, "initialize was sent already");
    initialized_ = true;
    return initialize(request.params);
  }
  if (!initialized_) throw RequestError(kServerNotInitialized, "initialize comes first");
  if (method == "shutdown") {
    shut_down_ = true;
    return nullptr;
  }
  if (method == "textDocument/hover") return hover(request.params);
  if (method == "textDocument/completion") return completion(request.params);
  if (method == "textDocument/definition") return definition(request.params);
  throw RequestError(kMethodNotFound, "no method '" + method + "'");
}

void Server::notice(const Message& notification) {
  const std::string& method = notification.method;
  if (method == "exit") {
    exit_ = true;
    return;
  }
  if (!initialized_ || shut_down_) return;
  try {
    if (method == "textDocument/didOpen") open(notification.params);
    if (method == "textDocument/didChange") change(notification.params);
    if (method == "textDocument/didClose") close(notification.params);
  } catch (const std::bad_alloc&) {
    throw;
  } catch (const std::exception&) {
    // A notification gets no answer, whatever is wrong with it.
  }
}

Json Server::initialize(const Json& params) {
  documents_.set_encoding(negotiated_encoding(params));
  Json capabilities = Json::object();
  capabilities["positionEncoding"] = encoding_name(documents_.encoding());
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
  const Document& document =
      documents_.open(text_member(item, "uri"), text_member(item, "text"), version_of(params));
  workspace_.touch(document.uri, document.path);
}

void Server::change(const Json& params) {
  const std::string uri = uri_of(params);
  if (!documents_.change(uri, member(params, "contentChanges"), version_of(params))) return;
  workspace_.touch(uri, documents_.find(uri)->path);
}

void Server::close(const Json& params) {
  const std::string uri = uri_of(params);
  const Document* document = documents_.find(uri);
  if (document == nullptr) return;
  const std::filesystem::path path = document->path;
  documents_.close(uri);
  // Its scenario is compiled again, this source now read from the disk, or
  // dropped when no file of it is open.
  workspace_.touch(uri, path);
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
  if (!position) {
    throw RequestError(kInvalidParams,
                       "the position is missing, or its line or character is no "
                       "whole number from 0 to " +
                           std::to_string(kLargestCoordinate));
  }
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
  result["range"] = range_json(
      {{t.position.line, 0}, {t.position.line, t.document->text.line_width(t.position.line)}});
  return result;
}

Json Server::completion(const Json& params) {
  const Target t = target_of(documents_, workspace_, params);
  if (t.document == nullptr) return Json::array();
  const std::string_view line = t.document->text.utf8_line(t.position.line);
  const std::vector<size_t> starts{0};
  const size_t cursor = offset_of(line, starts, {0, t.position.character}, documents_.encoding());
  const bool train =
      split_train_source(utf8_of_path(t.document->path.filename()), std::nullopt).has_value();
  return completion_items(train, line.substr(0, cursor));
}

Json Server::definition(const Json& params) {
  const Target t = target_of(documents_, workspace_, params);
  if (t.analysis == nullptr || t.side == SourceFile::none) return nullptr;
  return note_locations(*t.analysis, t.side, t.position.line);
}

bool Server::input_waiting() const { return in_.rdbuf()->in_avail() > 0; }

void Server::send(const Json& message) { write_frame(out_, message_text(message)); }

}  // namespace scenario::lsp
