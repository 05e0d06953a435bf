#!/usr/bin/env python3
"""Drives `scenarioc lsp` as an editor would, over its standard input and
output: the built-in scenario, emitted into a temporary folder, opened with a
keyword typo, fixed, hovered, completed; malformed messages in between; then
shutdown and exit.

    lsp_client_test.py SCENARIOC
    lsp_client_test.py RUNNER SCENARIOC   (the runner starts it: run_under_wine.sh)
"""
import json
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import urllib.parse

TIMEOUT = 20  # seconds for any one answer: generous, the server takes milliseconds


class Client:
    def __init__(self, command, cwd):
        self.process = subprocess.Popen(command + ["lsp"], cwd=cwd, stdin=subprocess.PIPE,
                                        stdout=subprocess.PIPE, stderr=subprocess.PIPE)
        self.messages = queue.Queue()
        self.next_id = 1
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        out = self.process.stdout
        while True:
            length = None
            while True:
                line = out.readline()
                if not line:
                    self.messages.put(None)
                    return
                line = line.strip()
                if not line:
                    break
                name, _, value = line.partition(b":")
                if name.strip().lower() == b"content-length":
                    length = int(value.strip())
            body = out.read(length)
            self.messages.put(json.loads(body.decode("utf-8")))

    def send_bytes(self, body):
        self.process.stdin.write(b"Content-Length: %d\r\n\r\n" % len(body) + body)
        self.process.stdin.flush()

    def send(self, message):
        message["jsonrpc"] = "2.0"
        self.send_bytes(json.dumps(message).encode("utf-8"))

    def notify(self, method, params):
        self.send({"method": method, "params": params})

    def request(self, method, params):
        request_id = self.next_id
        self.next_id += 1
        self.send({"id": request_id, "method": method, "params": params})
        return self.response_to(request_id)

    def receive(self):
        message = self.messages.get(timeout=TIMEOUT)
        if message is None:
            raise AssertionError("the server closed its output")
        return message

    def response_to(self, request_id):
        while True:
            message = self.receive()
            if "method" not in message and message.get("id") == request_id:
                return message

    def diagnostics_of(self, uri):
        while True:
            message = self.receive()
            if (message.get("method") == "textDocument/publishDiagnostics"
                    and message["params"]["uri"] == uri):
                return message["params"]["diagnostics"]


def uri_of(path):
    return "file://" + urllib.parse.quote(os.path.abspath(path))


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def command_line_warning(scenarioc, line_file, train_text):
    """The one warning `check` gives for the line file beside `train_text` saved."""
    with tempfile.TemporaryDirectory() as folder:
        shutil.copy(line_file, folder)
        with open(os.path.join(folder, "Velmora_Dorsel_904-.txt"), "w", encoding="cp1252",
                  newline="") as f:
            f.write(train_text)
        out = subprocess.run(scenarioc + ["check", "--json", folder], capture_output=True,
                             timeout=TIMEOUT).stdout
    warnings = json.loads(out)["warnings"]
    check(len(warnings) == 1, "the command line sees one warning: %s" % warnings)
    return warnings[0]


def main():
    scenarioc = [os.path.abspath(arg) for arg in sys.argv[1:]]
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run(scenarioc + ["emit"], cwd=folder, check=True, capture_output=True,
                       timeout=TIMEOUT)
        line_file = os.path.join(folder, "Velmora_Dorsel_linea.txt")
        train_file = os.path.join(folder, "Velmora_Dorsel_904-.txt")
        with open(train_file, encoding="cp1252", newline="") as f:
            lines = f.read().split("\n")
        signal = next(i for i, text in enumerate(lines) if text.startswith("segnale,"))
        typo = list(lines)
        typo[signal] = "segnalle" + lines[signal][len("segnale"):]
        typo_text = "\n".join(typo)

        client = Client(scenarioc, folder)
        init = client.request("initialize", {"processId": os.getpid(), "rootUri": uri_of(folder),
                                             "capabilities": {}})
        capabilities = init["result"]["capabilities"]
        check(capabilities["hoverProvider"] and capabilities["definitionProvider"],
              "hover and definition offered: %s" % capabilities)
        # The server names itself with the version that --version prints.
        version = subprocess.run(scenarioc + ["--version"], check=True, capture_output=True,
                                 text=True, timeout=TIMEOUT).stdout.split()[-1]
        server_info = init["result"]["serverInfo"]
        check(server_info == {"name": "scenarioc", "version": version},
              "serverInfo names scenarioc %s: %s" % (version, server_info))
        client.notify("initialized", {})

        # A typo as the editor holds it, never saved: one warning at the keyword,
        # named and worded as the command line words it.
        train_uri = uri_of(train_file)
        client.notify("textDocument/didOpen", {"textDocument": {
            "uri": train_uri, "languageId": "scenario", "version": 1, "text": typo_text}})
        diagnostics = client.diagnostics_of(train_uri)
        check(len(diagnostics) == 1, "one diagnostic: %s" % diagnostics)
        d = diagnostics[0]
        check(d["range"] == {"start": {"line": signal, "character": 0},
                             "end": {"line": signal, "character": len("segnalle")}},
              "the range covers the keyword: %s" % d["range"])
        check(d["severity"] == 2 and d["code"] == "unknown-keyword", "a warning: %s" % d)
        expected = command_line_warning(scenarioc, line_file, typo_text)
        check(d["message"] == expected["message"],
              "the command line's message: %r, not %r" % (expected["message"], d["message"]))

        # The fix, as an edit of three characters into two: the list empties.
        client.notify("textDocument/didChange", {
            "textDocument": {"uri": train_uri, "version": 2},
            "contentChanges": [{"range": {"start": {"line": signal, "character": 5},
                                          "end": {"line": signal, "character": 8}},
                                "text": "le"}]})
        check(client.diagnostics_of(train_uri) == [], "the fix clears the list")

        # Hover on the signal's line: what the compiler made of it.
        hover = client.request("textDocument/hover", {
            "textDocument": {"uri": train_uri}, "position": {"line": signal, "character": 3}})
        text = hover["result"]["contents"]["value"]
        for part in ("cell ", "Approach marks", "mark "):
            check(part in text, "hover names %r: %s" % (part, text))

        # Completion at the start of a line offers the record keywords as snippets.
        items = client.request("textDocument/completion", {
            "textDocument": {"uri": train_uri}, "position": {"line": signal, "character": 0}})
        snippets = {item["label"]: item["insertText"] for item in items["result"]}
        check(snippets.get("segnale", "").startswith("segnale, ${1:"), "a snippet: %s" % snippets)

        # A second signal in the same cell: an error whose note names the first,
        # and go-to-definition on it goes there.
        start_of_next = {"line": signal + 1, "character": 0}
        client.notify("textDocument/didChange", {
            "textDocument": {"uri": train_uri, "version": 3},
            "contentChanges": [{"range": {"start": start_of_next, "end": start_of_next},
                                "text": lines[signal] + "\n"}]})
        diagnostics = client.diagnostics_of(train_uri)
        check(len(diagnostics) == 1 and diagnostics[0]["severity"] == 1, "an error: %s" % diagnostics)
        related = diagnostics[0]["relatedInformation"][0]["location"]
        check(related["uri"] == train_uri and related["range"]["start"]["line"] == signal,
              "the note names the first signal: %s" % related)
        definition = client.request("textDocument/definition", {
            "textDocument": {"uri": train_uri}, "position": {"line": signal + 1, "character": 2}})
        check([place["range"]["start"]["line"] for place in definition["result"]] == [signal],
              "definition goes to the first signal: %s" % definition)

        # Malformed messages get an error response, and serving goes on.
        client.send_bytes(b"{this is no JSON")
        error = client.receive()
        check(error.get("id") is None and error["error"]["code"] == -32700, "parse error: %s" % error)
        client.process.stdin.write(b"Content-Length: many\r\n\r\n")
        client.process.stdin.flush()
        error = client.receive()
        check(error["error"]["code"] == -32700, "a header without a length: %s" % error)
        unknown = client.request("no/such/method", {})
        check(unknown["error"]["code"] == -32601, "unknown method: %s" % unknown)
        bad = client.request("textDocument/hover", {"textDocument": {"uri": 7}})
        check(bad["error"]["code"] == -32602, "bad params: %s" % bad)
        hover = client.request("textDocument/hover", {
            "textDocument": {"uri": train_uri}, "position": {"line": signal, "character": 0}})
        check("Approach marks" in hover["result"]["contents"]["value"], "still serving")

        shutdown = client.request("shutdown", None)
        check("error" not in shutdown and shutdown["result"] is None, "shutdown: %s" % shutdown)
        client.notify("exit", None)
        status = client.process.wait(timeout=TIMEOUT)
        check(status == 0, "exit status 0 after shutdown, not %d" % status)
        check(client.process.stderr.read() == b"", "nothing on stderr")
    print("lsp client test passed")


if __name__ == "__main__":
    main()
