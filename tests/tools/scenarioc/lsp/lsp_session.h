// A scripted editor for the language server, in process: messages framed into
// one input, the server run over it to the input's end, and what it sent back.
#pragma once

#include <string>
#include <vector>

#include "scenarioc/output/json_text.h"

namespace scenario::lsp::testing {

Json request(const Json& id, const std::string& method, Json params);
Json notice(const std::string& method, Json params);

// An initialize request (id 0) that offers `encodings` when given, and the
// initialized notification after it.
std::vector<Json> initialized(const Json& encodings = nullptr);
Json open_params(const std::string& uri, const std::string& text, int version = 1);
Json change_params(const std::string& uri, int version, Json changes);
Json at(const std::string& uri, const Json& line, const Json& character);

// Each message as a frame, in order.
std::string framed(const std::vector<Json>& messages);

struct Served {
  int status = -1;
  std::vector<Json> sent;  // every message the server sent, in order

  // The responses that carry `id`.
  std::vector<Json> responses_to(const Json& id) const;
  // The diagnostics of each publication for `uri`, in order.
  std::vector<Json> publications_for(const std::string& uri) const;
};

Served serve(const std::string& input);
Served serve(const std::vector<Json>& messages);

}  // namespace scenario::lsp::testing
