#!/usr/bin/env python3
"""Measures live authoring on the built-in scenario, emitted into a temporary
folder:

- `scenarioc lsp`: the time from sending a didChange to receiving its
  published diagnostics, over EDITS edits that alternately put a keyword typo
  into the train file and take it out again, and the server's memory (VmRSS)
  after the first 100 edits and after all of them;
- `scenarioc watch`: the time from a save (the file written and closed) to
  the line that says its compile is done, over SAVES saves.

    live_authoring.py SCENARIOC [EDITS [SAVES]]

Times are measured here, on the client's side of the pipe, so they include
the pipe and Python's own work.
"""
import json
import os
import queue
import re
import statistics
import subprocess
import sys
import tempfile
import threading
import time

sys.path.insert(0, os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "tests",
                                "tools", "scenarioc"))
from lsp_client_test import Client, uri_of  # noqa: E402


def rss_kib(pid):
    with open("/proc/%d/status" % pid) as f:
        for line in f:
            if line.startswith("VmRSS:"):
                return int(line.split()[1])
    return 0


def summary(name, seconds):
    ms = sorted(s * 1000 for s in seconds)
    print("%-44s median %6.2f ms, 95th percentile %6.2f ms, max %6.2f ms (%d runs)" %
          (name, statistics.median(ms), ms[int(len(ms) * 0.95) - 1], ms[-1], len(ms)))


def measure_lsp(scenarioc, folder, edits):
    train = os.path.join(folder, "Velmora_Dorsel_904-.txt")
    with open(train, encoding="cp1252", newline="") as f:
        text = f.read()
    signal = next(i for i, line in enumerate(text.split("\n")) if line.startswith("segnale,"))
    uri = uri_of(train)
    client = Client([scenarioc], folder)
    client.request("initialize", {"capabilities": {}})
    client.notify("initialized", {})
    client.notify("textDocument/didOpen", {"textDocument": {
        "uri": uri, "languageId": "scenario", "version": 1, "text": text}})
    client.diagnostics_of(uri)
    times = []
    rss_after_100 = 0
    for i in range(edits):
        typo = i % 2 == 0
        change = {"range": {"start": {"line": signal, "character": 5},
                            "end": {"line": signal, "character": 7 if typo else 8}},
                  "text": "lle" if typo else "le"}
        start = time.perf_counter()
        client.notify("textDocument/didChange", {
            "textDocument": {"uri": uri, "version": i + 2}, "contentChanges": [change]})
        diagnostics = client.diagnostics_of(uri)
        times.append(time.perf_counter() - start)
        assert len(diagnostics) == (1 if typo else 0), diagnostics
        if i + 1 == 100:
            rss_after_100 = rss_kib(client.process.pid)
    rss_at_end = rss_kib(client.process.pid)
    client.request("shutdown", None)
    client.notify("exit", None)
    client.process.wait(timeout=20)
    summary("lsp: didChange to publishDiagnostics", times)
    print("lsp: VmRSS after 100 edits %d KiB, after %d edits %d KiB" %
          (rss_after_100, edits, rss_at_end))


def measure_watch(scenarioc, folder, saves):
    train = os.path.join(folder, "Velmora_Dorsel_904-.txt")
    with open(train, "rb") as f:
        text = f.read()
    process = subprocess.Popen(
        [scenarioc, "watch", "Velmora_Dorsel_linea.txt", "Velmora_Dorsel_904-.txt", "-o", "out"],
        cwd=folder, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    done = queue.Queue()

    def read():
        for line in process.stdout:
            if re.search(r"compile \d+ done", line):
                done.put(time.perf_counter())

    threading.Thread(target=read, daemon=True).start()
    done.get(timeout=20)
    times = []
    for i in range(saves):
        start = time.perf_counter()
        with open(train, "wb") as f:
            f.write(text + b"; save %d\r\n" % i)
        times.append(done.get(timeout=20) - start)
        time.sleep(0.1)
    process.terminate()
    process.wait(timeout=20)
    summary("watch: save to compile done", times)


def main():
    scenarioc = os.path.abspath(sys.argv[1])
    edits = int(sys.argv[2]) if len(sys.argv) > 2 else 10000
    saves = int(sys.argv[3]) if len(sys.argv) > 3 else 100
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([scenarioc, "emit"], cwd=folder, check=True, capture_output=True)
        measure_lsp(scenarioc, folder, edits)
        measure_watch(scenarioc, folder, saves)


if __name__ == "__main__":
    main()
