#!/usr/bin/env python3
"""Checks the report page of the built-in scenario in headless Chromium,
driven over the DevTools protocol on a pipe (no network port).

Usage: report_browser.py SCENARIOC CHROMIUM [SCREENSHOT.png]

Emits the built-in scenario with scenarioc, compiles it and decodes what was
compiled (the expected counts, stations and track points), writes its report
twice (the same bytes), opens the report and checks what a person would see;
lights an object with an error and a station without a stop in the reports of
two fixtures; then opens the page that `scenarioc watch` keeps and checks that
a save of a source reloads it.
Prints each check and the page's load timing; exits 1 on a failed check and
77 when Chromium cannot be started.
"""
import base64
import fcntl
import json
import os
import shutil
import subprocess
import sys
import tempfile
import time

SKIP = 77
VIEW_WIDTH, VIEW_HEIGHT = 1400, 1000


class Browser:
    """One headless Chromium, driven over --remote-debugging-pipe (fds 3 and 4)."""

    def __init__(self, chromium, profile):
        to_chrome_r, self.to_chrome = os.pipe()
        self.from_chrome, from_chrome_w = os.pipe()
        # Chromium reads commands on fd 3 and writes answers on fd 4.
        high_r = fcntl.fcntl(to_chrome_r, fcntl.F_DUPFD, 10)
        high_w = fcntl.fcntl(from_chrome_w, fcntl.F_DUPFD, 10)

        def wire_pipes():
            os.dup2(high_r, 3)
            os.dup2(high_w, 4)

        args = [chromium, "--headless", "--no-sandbox", "--disable-gpu", "--disable-quic",
                "--no-first-run", "--disable-background-networking",
                "--disable-component-update", "--disable-sync", "--hide-scrollbars",
                "--disable-dev-shm-usage",
                "--user-data-dir=" + profile, "--remote-debugging-pipe", "about:blank"]
        self.process = subprocess.Popen(args, stdin=subprocess.DEVNULL,
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL,
                                        pass_fds=(3, 4), preexec_fn=wire_pipes)
        for fd in (to_chrome_r, from_chrome_w, high_r, high_w):
            os.close(fd)
        self.buffer = b""
        self.next_id = 0
        self.events = []

    def close(self):
        try:
            os.close(self.to_chrome)
        except OSError:
            pass
        self.process.terminate()
        try:
            self.process.wait(timeout=10)
        except subprocess.TimeoutExpired:
            self.process.kill()
            self.process.wait()
        os.close(self.from_chrome)

    def _read_message(self, deadline):
        while b"\0" not in self.buffer:
            if time.monotonic() > deadline:
                raise TimeoutError("Chromium did not answer in time")
            chunk = os.read(self.from_chrome, 1 << 16)
            if not chunk:
                raise EOFError("Chromium closed its pipe")
            self.buffer += chunk
        message, self.buffer = self.buffer.split(b"\0", 1)
        return json.loads(message)

    def send(self, method, params=None, session=None, timeout=30):
        self.next_id += 1
        command = {"id": self.next_id, "method": method, "params": params or {}}
        if session:
            command["sessionId"] = session
        os.write(self.to_chrome, json.dumps(command).encode() + b"\0")
        deadline = time.monotonic() + timeout
        while True:
            message = self._read_message(deadline)
            if message.get("id") == self.next_id:
                if "error" in message:
                    raise RuntimeError(method + ": " + json.dumps(message["error"]))
                return message.get("result", {})
            self.events.append(message)

    def wait_for(self, method, timeout=30):
        deadline = time.monotonic() + timeout
        for event in self.events:
            if event.get("method") == method:
                return event
        while True:
            message = self._read_message(deadline)
            self.events.append(message)
            if message.get("method") == method:
                return message


class Page:
    def __init__(self, browser):
        self.browser = browser
        target = browser.send("Target.createTarget", {"url": "about:blank"})
        self.session = browser.send("Target.attachToTarget",
                                    {"targetId": target["targetId"], "flatten": True})["sessionId"]
        for domain in ("Page", "Runtime", "Log", "Network"):
            self.send(domain + ".enable")
        self.send("Emulation.setDeviceMetricsOverride",
                  {"width": VIEW_WIDTH, "height": VIEW_HEIGHT, "deviceScaleFactor": 1,
                   "mobile": False})

    def send(self, method, params=None):
        return self.browser.send(method, params, self.session)

    def evaluate(self, expression):
        result = self.send("Runtime.evaluate", {"expression": expression,
                                                "returnByValue": True, "awaitPromise": True})
        if "exceptionDetails" in result:
            raise RuntimeError("page script failed: " + json.dumps(result["exceptionDetails"]))
        return result["result"].get("value")

    def events(self, method):
        return [e["params"] for e in self.browser.events
                if e.get("method") == method and e.get("sessionId") == self.session]


failures = []
checks_run = 0


def check(condition, what):
    global checks_run
    checks_run += 1
    print(("ok: " if condition else "FAIL: ") + what)
    if not condition:
        failures.append(what)


def check_console_and_network(page, url):
    errors = [e["args"] for e in page.events("Runtime.consoleAPICalled")
              if e["type"] in ("error", "assert", "warning")]
    errors += [e["exceptionDetails"] for e in page.events("Runtime.exceptionThrown")]
    errors += [e["entry"] for e in page.events("Log.entryAdded")
               if e["entry"]["level"] in ("error", "warning")]
    check(not errors, "no console error or warning" + ("" if not errors else ": " + json.dumps(errors)[:500]))
    requests = [e["request"]["url"] for e in page.events("Network.requestWillBeSent")]
    others = [u for u in requests if u != url]
    check(others == [], "no request besides the page itself" + ("" if not others else ": " + ", ".join(others)))


def check_counts(page, expected):
    drawn = page.evaluate("""(() => { const n = {};
        for (const el of document.querySelectorAll('#bands .o'))
          n[el.getAttribute('data-k')] = (n[el.getAttribute('data-k')] || 0) + 1;
        return n; })()""")
    for kind, count in sorted(expected["objects"].items(), key=lambda kv: int(kv[0])):
        check(drawn.get(kind, 0) == count,
              "%d objects of kind %s drawn, %d compiled" % (drawn.get(kind, 0), kind, count))
    extra = sorted(set(drawn) - set(expected["objects"]))
    check(not extra, "no kind drawn that the cells do not hold" + (": " + str(extra) if extra else ""))
    slowdown_bars = page.evaluate("document.querySelectorAll('#scaled .sbar').length")
    check(slowdown_bars == expected["objects"].get("3", 0),
          "%d slowdown stretches drawn, one per slowdown start" % slowdown_bars)


def check_stations(page, expected):
    rows = page.evaluate("""Array.from(document.querySelectorAll('#stations tbody tr'))
        .map((r) => +r.getAttribute('data-m'))""")
    check(rows == [s["position"] for s in expected["stations"]],
          "the station table lists the %d stations compiled, in order" % len(expected["stations"]))
    # In the bands: one marker per station, where the axis puts its position.
    bands = page.evaluate("""(() => {
        const data = JSON.parse(document.getElementById('report-data').textContent);
        const svg = document.getElementById('bands');
        const box = svg.getBoundingClientRect(), view = svg.viewBox.baseVal;
        const pixel = box.width / view.width;
        const left = box.left + (+svg.dataset.left + +svg.dataset.padding) * pixel;
        const width = (view.width - svg.dataset.left - svg.dataset.right - 2 * svg.dataset.padding)
                      * pixel;
        return Array.from(document.querySelectorAll('#bands .stn')).map((el) => {
          const r = el.querySelector('.g').getBoundingClientRect();
          return { m: +el.getAttribute('data-m'), x: (r.left + r.right) / 2,
                   expected: left + (+el.getAttribute('data-m') - data.first) /
                             (data.last - data.first) * width };
        }); })()""")
    check(sorted(b["m"] for b in bands) == sorted(rows), "one station marker in the bands per station")
    misplaced = [b for b in bands if abs(b["x"] - b["expected"]) > 1.0]
    check(not misplaced, "each station marker in the bands stands at its position" +
          ("" if not misplaced else ": " + json.dumps(misplaced[:3])))
    # On the plan: one marker per station, on the track plan's point of its metre.
    plan = page.evaluate("""Array.from(document.querySelectorAll('#plan .pst')).map((el) => {
        const d = el.querySelector('.dot').getAttribute('d').match(/^M(-?[0-9.]+) (-?[0-9.]+)h0$/);
        return { m: +el.getAttribute('data-m'), x: +d[1], y: -d[2] }; })""")
    check(sorted(p["m"] for p in plan) == sorted(rows), "one station marker on the plan per station")
    points = {s["position"]: s["plan"] for s in expected["stations"]}
    off = [p for p in plan if abs(p["x"] - points[p["m"]][0]) > 0.051 or
           abs(p["y"] - points[p["m"]][1]) > 0.051]
    check(not off, "each station marker on the plan lies on the track at its metre" +
          ("" if not off else ": " + json.dumps(off[:3])))


def hover(page, selector):
    centre = page.evaluate("""(() => { const el = document.querySelector(%s);
        if (!el) return null;
        el.scrollIntoView({block: 'center'});
        const r = (el.querySelector('.g') || el).getBoundingClientRect();
        return [(r.left + r.right) / 2, (r.top + r.bottom) / 2]; })()""" % json.dumps(selector))
    if centre is None:
        return None
    page.send("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": centre[0], "y": centre[1]})
    return page.evaluate("""(() => { const t = document.getElementById('tip');
        return t.hidden ? null : t.innerText; })()""")


def check_tooltip(page, expected):
    signal = expected["signal"]
    text = hover(page, '#bands .o.k1[data-m="%d"]' % signal["position"])
    check(text is not None, "hovering the signal at %d m shows a tooltip" % signal["position"])
    text = text or ""
    check(("position %d m" % signal["position"]) in text, "the tooltip gives the signal's position")
    check(("source " + signal["source"]) in text,
          "the tooltip gives the signal's source line " + signal["source"])
    readout = page.evaluate("document.getElementById('readout').textContent")
    metres_a_pixel = page.evaluate("""(() => { const d = JSON.parse(
        document.getElementById('report-data').textContent);
        const svg = document.getElementById('bands');
        const plot = (svg.viewBox.baseVal.width - svg.dataset.left - svg.dataset.right -
                      2 * svg.dataset.padding) *
                     svg.getBoundingClientRect().width / svg.viewBox.baseVal.width;
        return (d.last - d.first) / plot; })()""")
    read = int(readout.split(" m")[0]) if readout.split(" m")[0].lstrip("-").isdigit() else None
    check(read is not None and abs(read - signal["position"]) <= metres_a_pixel,
          "the readout follows the hover: " + readout)
    plan_cursor = page.evaluate("document.getElementById('plan-cursor').getAttribute('visibility')")
    check(plan_cursor == "visible", "the plan marks the place hovered in the bands")


def timing(page):
    return page.evaluate("""(() => {
        const nav = performance.getEntriesByType('navigation')[0];
        const paint = performance.getEntriesByType('paint').map((p) => [p.name, p.startTime]);
        return { response_end_ms: nav.responseEnd, dom_interactive_ms: nav.domInteractive,
                 dom_content_loaded_ms: nav.domContentLoadedEventEnd,
                 load_event_end_ms: nav.loadEventEnd, paints: paint }; })()""")


def screenshot(page, path):
    """The page from its top to the end of the errors, as a person first sees it."""
    page.evaluate("window.scrollTo(0, 0)")
    page.send("Input.dispatchMouseEvent", {"type": "mouseMoved", "x": 0, "y": 0})
    height = page.evaluate("Math.ceil(document.getElementById('diagnostics')"
                           ".getBoundingClientRect().bottom + 12)")
    page.send("Emulation.setDeviceMetricsOverride",
              {"width": VIEW_WIDTH, "height": height, "deviceScaleFactor": 1, "mobile": False})
    page.evaluate("new Promise((done) => requestAnimationFrame(() => requestAnimationFrame(done)))")
    shot = page.send("Page.captureScreenshot", {"format": "png"})
    with open(path, "wb") as f:
        f.write(base64.b64decode(shot["data"]))
    print("screenshot: " + path)


def run(*args):
    result = subprocess.run(args, stdout=subprocess.PIPE, stderr=subprocess.PIPE, text=True)
    if result.returncode != 0:
        raise RuntimeError(" ".join(args) + " failed: " + result.stderr)
    return result.stdout


def expected_from_sources(scenarioc, folder):
    """What the compiled scenario holds, read back by other means than the report."""
    line_file = os.path.join(folder, "Velmora_Dorsel_linea.txt")
    train_file = os.path.join(folder, "Velmora_Dorsel_904-.txt")
    compiled = os.path.join(folder, "compiled")
    run(scenarioc, "compile", line_file, train_file, "-o", compiled)
    cells = json.loads(run(scenarioc, "dump", os.path.join(compiled, "Velmora_Dorsel_904.dat"),
                           "--json"))["cells"]
    objects = {}
    for cell in cells:
        if cell["oggetto"] != 0:
            objects[str(cell["oggetto"])] = objects.get(str(cell["oggetto"]), 0) + 1
    points = {}
    csv = run(scenarioc, "dump", os.path.join(compiled, "Velmora_Dorsel_linea.dat"), "--points")
    with open(train_file, encoding="latin-1") as f:
        train_lines = f.read().splitlines()
    positions = [int(l.split(",")[1]) for l in train_lines if l.startswith("stazione,")]
    wanted = set(positions)
    for row in csv.splitlines()[1:]:
        metre, x, y = row.split(",")
        if int(metre) in wanted:
            points[int(metre)] = [float(x), float(y)]
    signal_line = next(i + 1 for i, l in enumerate(train_lines)
                       if l.startswith("segnale,") and int(l.split(",")[1]) == 14800)
    return {"objects": objects,
            "stations": [{"position": p, "plan": points[p]} for p in positions],
            "signal": {"position": 14800, "source": "Velmora_Dorsel_904-.txt:%d" % signal_line}}


def write_report(scenarioc, folder, name):
    page = os.path.join(folder, name)
    run(scenarioc, "report", os.path.join(folder, "Velmora_Dorsel_linea.txt"),
        os.path.join(folder, "Velmora_Dorsel_904-.txt"), "-o", page)
    with open(page, "rb") as f:
        return page, f.read()


def page_value(page, expression):
    """The value of `expression` in the page; None while the page is being replaced."""
    try:
        return page.evaluate(expression)
    except RuntimeError:
        return None


def check_watch_reload(browser, scenarioc, folder):
    """The page `scenarioc watch` keeps reloads itself once watch has written a newer one."""
    train_file = os.path.join(folder, "Velmora_Dorsel_904-.txt")
    page_path = os.path.join(folder, "watched.html")
    watch = subprocess.Popen(
        [scenarioc, "watch", os.path.join(folder, "Velmora_Dorsel_linea.txt"), train_file, "-o",
         os.path.join(folder, "watched"), "--report", page_path],
        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    try:
        deadline = time.monotonic() + 20
        while not os.path.exists(page_path + ".generation.js") and time.monotonic() < deadline:
            time.sleep(0.05)
        page = Page(browser)
        page.send("Page.navigate", {"url": "file://" + page_path})
        ready = "document.documentElement.getAttribute('data-ready')"
        while page_value(page, ready) != "1" and time.monotonic() < deadline:
            time.sleep(0.05)
        page.evaluate("window.notReloaded = true")
        with open(train_file, "ab") as f:
            f.write(b"; saved again\r\n")
        deadline = time.monotonic() + 20
        while time.monotonic() < deadline:
            if page_value(page, "window.notReloaded") is None and page_value(page, ready) == "1":
                break
            time.sleep(0.1)
        check(page_value(page, "window.notReloaded") is None and page_value(page, ready) == "1",
              "the page that watch keeps reloads itself after a save")
    finally:
        watch.terminate()
        watch.wait(timeout=20)


FIXTURES = os.path.join(os.path.dirname(os.path.abspath(__file__)), "..", "..", "fixtures")

# The stroke of an element's drawing once the element is lit, against the
# highlight colour of the page's style sheet.
LIT_STROKE = """((element, drawing) => {
  const sample = document.createElement('i');
  sample.style.color = 'var(--hl)';
  document.body.appendChild(sample);
  const highlight = getComputedStyle(sample).color;
  sample.remove();
  return {lit: element.classList.contains('hl'),
          stroke: getComputedStyle(element.querySelector(drawing)).stroke, highlight};
})"""


def check_highlights(browser, scenarioc, folder):
    """What a click lights shows in the highlight colour: an object that has a
    diagnostic, and on the plan a station where the train does not stop."""
    cases = [
        ("signal_on_speed_board", "an object with an error, lit from the list of errors",
         "document.querySelector('#diagnostics li[data-o]')",
         "(li) => document.getElementById('o' + li.getAttribute('data-o'))", ".g"),
        ("station_off_grid", "a station where the train does not stop, lit on the plan",
         "document.querySelector('#stations tbody tr:not(.stop)')",
         "(row) => document.getElementById('ps' + row.getAttribute('data-s'))", ".dot"),
    ]
    for fixture, what, clicked, lit, drawing in cases:
        sources = os.path.join(folder, fixture)
        shutil.copytree(os.path.join(FIXTURES, fixture), sources)
        page_path = os.path.join(sources, "report.html")
        subprocess.run([scenarioc, "report", os.path.join(sources, "Prova_linea.txt"),
                        os.path.join(sources, "Prova_1-.txt"), "-o", page_path],
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        page = Page(browser)
        page.send("Page.navigate", {"url": "file://" + page_path})
        deadline = time.monotonic() + 20
        while (page_value(page, "document.documentElement.getAttribute('data-ready')") != "1"
               and time.monotonic() < deadline):
            time.sleep(0.05)
        seen = page.evaluate("""(() => { const clicked = %s; clicked.click();
            return (%s)((%s)(clicked), '%s'); })()""" % (clicked, LIT_STROKE, lit, drawing))
        check(seen["lit"] and seen["stroke"] == seen["highlight"],
              what + " (" + json.dumps(seen) + ")")


def main():
    if len(sys.argv) not in (3, 4):
        print(__doc__)
        return 2
    scenarioc, chromium = sys.argv[1:3]
    shot_path = sys.argv[3] if len(sys.argv) == 4 else None
    folder = tempfile.mkdtemp(prefix="report-test-")
    profile = os.path.join(folder, "chromium-profile")
    try:
        run(scenarioc, "emit", "-o", folder)
        expected = expected_from_sources(scenarioc, folder)
        page_path, first = write_report(scenarioc, folder, "first.html")
        _, second = write_report(scenarioc, folder, "second.html")
        check(first == second, "the same sources give the same page, byte for byte (%d bytes)"
              % len(first))
        url = "file://" + os.path.abspath(page_path)
        try:
            browser = Browser(chromium, profile)
            browser.send("Browser.getVersion", timeout=30)
        except (OSError, EOFError, TimeoutError) as e:
            print("SKIP: Chromium cannot be started: %s" % e)
            return SKIP
        try:
            page = Page(browser)
            page.send("Page.navigate", {"url": url})
            page.browser.wait_for("Page.loadEventFired")
            ready = page.evaluate("document.documentElement.getAttribute('data-ready')")
            check(ready == "1", "the page's script ran to its end")
            print("timing: " + json.dumps(timing(page)))
            check_console_and_network(page, url)
            check_counts(page, expected)
            check_stations(page, expected)
            check_tooltip(page, expected)
            if shot_path:
                screenshot(page, shot_path)
            check_console_and_network(page, url)
            check_highlights(browser, scenarioc, folder)
            check_watch_reload(browser, scenarioc, folder)
        finally:
            browser.close()
    finally:
        shutil.rmtree(folder, ignore_errors=True)
    print("%d passed, %d failed" % (checks_run - len(failures), len(failures)))
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
