#!/usr/bin/env python3
"""Times the page's passes in headless Chromium: each page folder given (build-web/page, or an
older build's) is served from 127.0.0.1 and played in a browser of its own, fresh every round, so
no page finds the code another compiled. A game of ?seed=7 takes the sword, jerkin and torch, then
walks the start's rooms back and forth for --presses key presses, one a pass. A pass with a key
press is the one that took the key in; the page's own timing (Module.notePass) gives each pass's
length without its wait for the timer.

Usage: page_bench.py PAGE_DIR [PAGE_DIR ...] [--presses N] [--rounds N]

Needs chromium (tools/install_deps.sh test installs it). Prints one line a page and round."""
import argparse, functools, http.server, sys, tempfile, threading
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parents[1] / "tests" / "web"))
import browser_test  # noqa: E402  (the Chromium driver the browser test uses)

WALK = ["right", "left", "down", "up"]

# Every pass the page notes is logged with whether a key went down before it began; older pages
# note a pass's length only.
LOG_PASSES = """(() => {
    window.benchLog = [];
    let pressed = false;
    document.addEventListener("keydown", () => { pressed = true; }, true);
    const note = Module.notePass;
    Module.notePass = function (ms, pictureMs) {
        window.benchLog.push([ms, pictureMs === undefined ? -1 : pictureMs, pressed]);
        pressed = false;
        return note.apply(this, arguments);
    };
    return 0;
})()"""


def serve(folder):
    class Quiet(http.server.SimpleHTTPRequestHandler):
        def log_message(self, *args):
            pass
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Quiet, directory=folder))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return f"http://127.0.0.1:{server.server_address[1]}/"


def percentile(values, share):
    values = sorted(values) or [0]
    return values[min(len(values) - 1, len(values) * share // 100)]


def play(base, presses):
    with tempfile.TemporaryDirectory() as profile:
        browser = browser_test.Chromium(profile)
        tab = browser_test.Tab(browser, f"{base}?seed=7")
        tab.js(LOG_PASSES)
        for word in ["1", "6", "5"] + [WALK[(i // 6) % 4] for i in range(presses)]:
            tab.press(word)
        return tab.js("window.benchLog")


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("pages", nargs="+")
    parser.add_argument("--presses", type=int, default=600)
    parser.add_argument("--rounds", type=int, default=3)
    args = parser.parse_args()
    bases = {page: serve(page) for page in args.pages}
    for round_number in range(1, args.rounds + 1):
        for page, base in bases.items():
            log = play(base, args.presses)
            pressed = [ms for ms, _, key in log if key]
            pictures = [picture for _, picture, _ in log if picture > 0]
            line = (f"{page} round {round_number}: {len(pressed)} passes with a key press: "
                    f"median {percentile(pressed, 50):.2f} ms, 99th percentile "
                    f"{percentile(pressed, 99):.2f} ms, longest {max(pressed):.1f} ms; "
                    f"every pass: median {percentile([e[0] for e in log], 50):.2f} ms")
            if pictures:
                line += (f"; a picture's way to the canvas: median {percentile(pictures, 50):.2f}"
                         f" ms, 99th percentile {percentile(pictures, 99):.2f} ms")
            print(line, flush=True)


if __name__ == "__main__":
    main()
