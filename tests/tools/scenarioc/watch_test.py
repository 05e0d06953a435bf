#!/usr/bin/env python3
"""Runs `scenarioc watch` on the built-in scenario in a temporary folder and
saves its sources the ways editors do: a write in place, a new file renamed
over the old one, a burst of writes. Each save gives one compile, a file
beside them none, and Ctrl-C ends it with status 0. On Linux it also counts
how often each source is read: once a save, though the watch keeps a report
page as well, since the page is drawn from the compile it printed.

    watch_test.py SCENARIOC
"""
import ctypes
import os
import queue
import re
import signal
import struct
import subprocess
import sys
import tempfile
import threading
import time

TIMEOUT = 20  # seconds to wait for a compile; it takes milliseconds
QUIET = 1.0  # seconds in which no further compile may come

DONE = re.compile(r"scenarioc watch: compile (\d+) done .* status (\d+);")


class Watch:
    def __init__(self, scenarioc, folder,
                 args=("Velmora_Dorsel_linea.txt", "Velmora_Dorsel_904-.txt", "-o", "out",
                       "--report", "page.html")):
        # Ctrl-C may have been ignored by whoever started the test; the watch
        # itself must see it.
        self.process = subprocess.Popen(
            [scenarioc, "watch", *args],
            cwd=folder, stdout=subprocess.PIPE, stderr=subprocess.STDOUT, text=True,
            preexec_fn=lambda: signal.signal(signal.SIGINT, signal.SIG_DFL))
        self.lines = queue.Queue()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        for line in self.process.stdout:
            self.lines.put(line)
        self.lines.put(None)

    def compile_done(self, timeout=TIMEOUT):
        """The number of the next compile and what it printed; None after `timeout`."""
        printed = ""
        deadline = time.monotonic() + timeout
        while True:
            try:
                line = self.lines.get(timeout=max(deadline - time.monotonic(), 0))
            except queue.Empty:
                return None
            if line is None:
                raise AssertionError("watch ended early:\n" + printed)
            printed += line
            done = DONE.search(line)
            if done:
                return int(done.group(1)), printed


class SourceReads:
    """Counts the files of a folder that are closed without a write, as a
    source is once a compile has read it (inotify's IN_CLOSE_NOWRITE). Counts
    nothing where there is no inotify."""

    IN_CLOSE_NOWRITE = 0x10
    EVENT = struct.Struct("iIII")  # wd, mask, cookie, len; then the name

    def __init__(self, folder):
        self.fd = -1
        if not sys.platform.startswith("linux"):
            return
        libc = ctypes.CDLL(None, use_errno=True)
        fd = libc.inotify_init1(os.O_NONBLOCK | os.O_CLOEXEC)
        if fd >= 0 and libc.inotify_add_watch(fd, os.fsencode(folder), self.IN_CLOSE_NOWRITE) >= 0:
            self.fd = fd
        elif fd >= 0:
            os.close(fd)

    def available(self):
        return self.fd >= 0

    def since_last(self):
        """How many times each file was read since the last call, by name."""
        counts = {}
        while self.fd >= 0:
            try:
                data = os.read(self.fd, 65536)
            except BlockingIOError:
                break
            at = 0
            while at < len(data):
                _, _, _, length = self.EVENT.unpack_from(data, at)
                at += self.EVENT.size
                name = os.fsdecode(data[at:at + length].rstrip(b"\0"))
                at += length
                counts[name] = counts.get(name, 0) + 1
        return counts

    def close(self):
        if self.fd >= 0:
            os.close(self.fd)


def check(condition, what):
    if not condition:
        raise AssertionError(what)


def expect_one_compile(watch, number, what):
    done = watch.compile_done()
    check(done is not None and done[0] == number, "%s: compile %d, got %s" % (what, number, done))
    check(watch.compile_done(QUIET) is None, "%s: a second compile" % what)
    return done[1]


SOURCES = ("Velmora_Dorsel_linea.txt", "Velmora_Dorsel_904-.txt")


def expect_read_once(reads, what):
    """A save that draws no diagnostic: its compile reads each source once,
    and the page is drawn from that compile without reading them again."""
    if not reads.available():
        return
    counts = reads.since_last()
    check(all(counts.get(name) == 1 for name in SOURCES),
          "%s: each source read once, not %s" % (what, counts))


def end_watch(watch):
    watch.process.send_signal(signal.SIGINT)
    status = watch.process.wait(timeout=TIMEOUT)
    check(status == 0, "Ctrl-C ends it with status 0, not %d" % status)


def replace_folder(folder, make):
    """Renames `folder` away and, after a pause, puts a new one made by
    `make` in its place in one rename."""
    os.rename(folder, folder + ".old")
    time.sleep(QUIET)
    new = folder + ".new"
    os.mkdir(new)
    make(new)
    os.rename(new, folder)


def linked_and_replaced(scenarioc):
    """A line file shared through a symbolic link: a save to the file it
    leads to compiles; its folder, or the scenario's own, renamed away is
    said to be gone, and the folder put back in its place is watched again
    and compiled."""
    with tempfile.TemporaryDirectory() as root:
        shared = os.path.join(root, "shared")
        scenario = os.path.join(root, "scenario")
        for folder in (shared, scenario):
            os.mkdir(folder)
        subprocess.run([scenarioc, "emit"], cwd=shared, check=True, capture_output=True,
                       timeout=TIMEOUT)
        os.rename(os.path.join(shared, SOURCES[1]), os.path.join(scenario, SOURCES[1]))
        os.symlink(os.path.join("..", "shared", SOURCES[0]), os.path.join(scenario, SOURCES[0]))
        with open(os.path.join(shared, SOURCES[0]), "rb") as f:
            line = f.read()
        with open(os.path.join(scenario, SOURCES[1]), "rb") as f:
            train = f.read()
        typo = line.replace(b"\npendenza,", b"\npendenzza,", 1)
        check(typo != line, "the line file has a gradient")

        def write(folder, name, text):
            with open(os.path.join(folder, name), "wb") as f:
                f.write(text)

        watch = Watch(scenarioc, root, (os.path.join("scenario", SOURCES[0]),
                                        os.path.join("scenario", SOURCES[1]), "-o", "out"))
        try:
            expect_one_compile(watch, 1, "the start")
            write(shared, SOURCES[0], typo)
            printed = expect_one_compile(watch, 2, "a save to the linked file")
            check("unknown-keyword" in printed, "the typo shown:\n" + printed)

            replace_folder(shared, lambda new: write(new, SOURCES[0], line))
            printed = expect_one_compile(watch, 3, "the linked file's folder replaced")
            check("shared' is gone" in printed and "shared' again" in printed
                  and "unknown-keyword" not in printed, "gone and back:\n" + printed)

            def scenario_again(new):
                write(new, SOURCES[1], train)
                os.symlink(os.path.join("..", "shared", SOURCES[0]),
                           os.path.join(new, SOURCES[0]))
            replace_folder(scenario, scenario_again)
            printed = expect_one_compile(watch, 4, "the scenario's folder replaced")
            check("scenario' is gone" in printed and "scenario' again" in printed,
                  "gone and back:\n" + printed)
            write(shared, SOURCES[0], typo)
            expect_one_compile(watch, 5, "a save after the folders came back")
        finally:
            end_watch(watch)


def main():
    scenarioc = os.path.abspath(sys.argv[1])
    linked_and_replaced(scenarioc)
    with tempfile.TemporaryDirectory() as folder:
        subprocess.run([scenarioc, "emit"], cwd=folder, check=True, capture_output=True,
                       timeout=TIMEOUT)
        train = os.path.join(folder, "Velmora_Dorsel_904-.txt")
        line = os.path.join(folder, "Velmora_Dorsel_linea.txt")
        with open(train, "rb") as f:
            good = f.read()
        typo = good.replace(b"\nsegnale,", b"\nsegnalle,", 1)

        # The page, or the generation file beside it, in place of a source:
        # refused before anything is written (else each write is a save).
        companion = os.path.join(folder, "p.generation.js")
        with open(companion, "wb") as f:
            f.write(good)
        for source, page in [(train, os.path.join(folder, ".", "Velmora_Dorsel_904-.txt")),
                             (companion, os.path.join(folder, "p"))]:
            refused = subprocess.run(
                [scenarioc, "watch", line, source, "--name", "Velmora_Dorsel", "--train",
                 "904-", "--report", page],
                capture_output=True, timeout=TIMEOUT)
            check(refused.returncode == 2 and b"would replace the source" in refused.stderr,
                  "a report over %s is refused: %s" % (source, refused.stderr))
            with open(source, "rb") as f:
                check(f.read() == good, "the source %s is kept" % source)
        os.remove(companion)

        reads = SourceReads(folder)
        watch = Watch(scenarioc, folder)
        try:
            printed = expect_one_compile(watch, 1, "the start")
            check("unknown-keyword" not in printed, "a clean first compile:\n" + printed)
            expect_read_once(reads, "the start")

            with open(train, "wb") as f:  # saved in place
                f.write(typo)
            printed = expect_one_compile(watch, 2, "a write in place")
            check("[-Wunknown-keyword]" in printed, "the typo shown:\n" + printed)

            saved = os.path.join(folder, ".Velmora_Dorsel_904-.txt.swp")
            reads.since_last()
            with open(saved, "wb") as f:  # saved as a new file renamed over the old
                f.write(good)
            os.replace(saved, train)
            printed = expect_one_compile(watch, 3, "a rename over the file")
            check("unknown-keyword" not in printed, "the fix shown:\n" + printed)
            expect_read_once(reads, "a rename over the file")

            with open(line, "rb") as f:
                text = f.read()
            for i in range(10):
                with open(line, "wb") as f:
                    f.write(text + b"; %d\r\n" % i)
            expect_one_compile(watch, 4, "a burst of ten writes")

            with open(os.path.join(folder, "notes.txt"), "w") as f:
                f.write("not a source")
            check(watch.compile_done(QUIET) is None, "a file beside the sources compiles nothing")

            with open(os.path.join(folder, "page.html"), encoding="utf-8") as f:
                page = f.read()
            check("page.html.generation.js" in page and page.rstrip().endswith("</html>"),
                  "the page reloads itself")
            check(os.path.isfile(os.path.join(folder, "page.html.generation.js")),
                  "the generation file")
            check(os.path.isfile(os.path.join(folder, "out", "Velmora_Dorsel_904.sim")),
                  "compiled files written")
        finally:
            watch.process.send_signal(signal.SIGINT)
            status = watch.process.wait(timeout=TIMEOUT)
            reads.close()
        check(status == 0, "Ctrl-C ends it with status 0, not %d" % status)
    print("watch test passed")


if __name__ == "__main__":
    main()
