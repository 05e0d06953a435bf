// The language server: reads messages from the editor, keeps the open
// documents, compiles their scenarios and answers. It takes every message
// already waiting in the input before it compiles: the changes of a burst of
// keystrokes give one compile, and the requests among them are answered
// against the latest text. A message it cannot read gets an error response
// and the server goes on; every request gets one response.
#pragma once

#include <istream>
#include <ostream>
#include <string>
#include <vector>

#include "scenarioc/lsp/document_store.h"
#include "scenarioc/lsp/framing.h"
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
  void take(const Frame& frame);
  void take_request(const Message& request);
  // Compiles what has changed, publishes its diagnostics and answers the
  // requests that waited for it.
  void settle();
  void reply(const Message& request);
  // A request's result; throws RequestError for an error response.
  Json answer(const Message& request);
  void notice(const Message& notification);

  Json initialize(const Json& params);
  void open(const Json& params);
  void change(const Json& params);
  void close(const Json& params);
  Json hover(const Json& params);
  Json completion(const Json& params);
  Json definition(const Json& params);

  bool input_waiting() const;
  void send(const Json& message);

  std::istream& in_;
  std::ostream& out_;
  DocumentStore documents_;
  Workspace workspace_{documents_};
  std::vector<Message> waiting_;  // requests on the documents, answered at the next settle
  bool initialized_ = false;
  bool shut_down_ = false;
  bool exit_ = false;
};

}  // namespace scenario::lsp
