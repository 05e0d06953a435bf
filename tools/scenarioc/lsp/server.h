// The language server: reads messages from the editor, keeps the open
// documents, compiles their scenarios and answers. A message it cannot read
// gets an error response and the server goes on.
#pragma once

#include <istream>
#include <ostream>
#include <string>

#include "scenarioc/lsp/document_store.h"
#include "scenarioc/lsp/rpc_message.h"
#include "scenarioc/lsp/workspace.h"

namespace scenario::lsp {

class Server {
 public:
  Server(std::istream& in, std::ostream& out) : in_(in), out_(out) {}
  // Serves until `exit`: status 0 after `shutdown`, 1 without it or when the
  // input ends first.
  int run();

 private:
  void handle(const Message& message);
  // A request's result; throws RequestError for an error response.
  Json answer(const Message& request);
  void notice(const Message& notification);

  Json initialize_result() const;
  void open(const Json& params);
  void change(const Json& params);
  void close(const Json& params);
  void publish(const Document& document);
  Json hover(const Json& params);
  Json completion(const Json& params);
  Json definition(const Json& params);

  void send(const Json& message);

  std::istream& in_;
  std::ostream& out_;
  DocumentStore documents_;
  Workspace workspace_{documents_};
  bool initialized_ = false;
  bool shut_down_ = false;
  bool exit_ = false;
};

}  // namespace scenario::lsp
