#!/usr/bin/env python3
"""The page in headless Chromium (DevTools protocol over a pipe), served from 127.0.0.1:
the help and the history, a tab closed mid-game and continued, and a game to the death, each
compared with grotmere-sim's screenshot of the same keys, pixel for pixel; prints the time of a
pass. Skipped (77) without Chromium or the page, except under CI, where it fails.

  python3 tests/web/browser_test.py PAGE_FOLDER GROTMERE_SIM
"""
import base64
import fcntl
import functools
import gzip
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "support"))
from png_rgb import read_rgb_png  # noqa: E402

PICTURE = "# picture"
# The script's words as the browser names the keys: DOM code, key, Windows key code.
NAMED = {"left": ("ArrowLeft", 37), "up": ("ArrowUp", 38), "right": ("ArrowRight", 39),
         "down": ("ArrowDown", 40), "escape": ("Escape", 27), "return": ("Enter", 13),
         "pagedown": ("PageDown", 34)}


def dom_key(word):
    if word in NAMED:
        return NAMED[word][0], NAMED[word][0], NAMED[word][1]
    if word.isdigit():
        return "Digit" + word, word, ord(word)
    if len(word) == 1:
        return "Key" + word.upper(), word, ord(word.upper())
    return word.upper(), word.upper(), 111 + int(word[1:])  # f1 to f12


def fail(message):
    print("browser_test: FAIL: " + message, file=sys.stderr)
    sys.exit(1)


class Chromium:
    """Headless Chromium with the DevTools protocol on its file descriptors 3 and 4."""

    def __init__(self, profile):
        read_end, self.to_browser = os.pipe()
        self.from_browser, write_end = os.pipe()
        # Moved above 4 first, so that neither stands where the other must go.
        theirs_in, theirs_out = (fcntl.fcntl(fd, fcntl.F_DUPFD, 10) for fd in (read_end, write_end))
        os.close(read_end)
        os.close(write_end)
        command = (f'exec chromium --headless=new --remote-debugging-pipe --no-sandbox --disable-gpu '
                   f'--no-first-run --user-data-dir="$1" about:blank 3<&{theirs_in} 4>&{theirs_out}')
        self.process = subprocess.Popen(["bash", "-c", command, "chromium", profile],
                                        pass_fds=(theirs_in, theirs_out),
                                        stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(theirs_in)
        os.close(theirs_out)
        self.asked, self.replies, self.arrived = 0, {}, threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        pending = b""
        while chunk := os.read(self.from_browser, 1 << 16):
            *messages, pending = (pending + chunk).split(b"\0")
            with self.arrived:
                for reply in map(json.loads, messages):
                    self.replies[reply.get("id")] = reply
                self.arrived.notify_all()

    def call(self, method, session=None, timeout=30, **params):
        self.asked += 1
        asked = self.asked
        message = {"id": asked, "method": method, "params": params}
        if session:
            message["sessionId"] = session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        with self.arrived:
            if not self.arrived.wait_for(lambda: asked in self.replies, timeout):
                fail(f"Chromium gave no answer to {method} within {timeout} s")
            reply = self.replies.pop(asked)
        if "error" in reply:
            fail(f"{method}: {reply['error']}")
        return reply["result"]


class Tab:
    def __init__(self, browser, url):
        self.browser = browser
        self.target = browser.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = browser.call("Target.attachToTarget", targetId=self.target,
                                    flatten=True)["sessionId"]
        self.browser.call("Page.navigate", self.session, url=url)
        self.wait_for("Module.picturesDrawn > 0", "the page to show the game", 60)

    def js(self, expression):
        result = self.browser.call("Runtime.evaluate", self.session, expression=expression,
                                   returnByValue=True)
        if "exceptionDetails" in result:
            fail(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, condition, what, seconds=30):
        deadline = time.monotonic() + seconds
        while not self.js(f"typeof Module !== 'undefined' && !!({condition})"):
            if time.monotonic() > deadline:
                fail(f"waited {seconds} s for {what}")
            time.sleep(0.02)

    def wait_passes(self, count):  # or for a notice, which holds the game
        target = self.js("Module.passStats.passes") + count
        self.wait_for(f"Module.passStats.passes >= {target} || Module.noticeOpen()", "passes")

    def press(self, word, last=False):
        code, key, windows = dom_key(word)
        for kind in ("rawKeyDown", "keyUp"):
            self.browser.call("Input.dispatchKeyEvent", self.session, type=kind, code=code,
                              key=key, windowsVirtualKeyCode=windows)
        # One press a pass: the next waits until this one is handed over; the key that ends the
        # game has no pass after it.
        if not last:
            self.wait_passes(2)

    def picture(self):
        """The canvas's pixels as r, g, b bytes."""
        size_and_pixels = self.js("""(() => {
            const c = document.getElementById('canvas');
            const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
            let s = '';
            for (let i = 0; i < d.length; i += 4) s += String.fromCharCode(d[i], d[i+1], d[i+2]);
            return [c.width, c.height, btoa(s)];
        })()""")
        if size_and_pixels[:2] != [820, 470]:
            fail(f"the canvas is {size_and_pixels[0]} x {size_and_pixels[1]}")
        return base64.b64decode(size_and_pixels[2])

    def recording(self):
        """The newest recording in the page's storage, as far as it has been played."""
        return self.js("""(() => {
            Module._web_write_out();
            const folder = '/data/grotmere/recordings/', fs = Module.FS;
            const names = fs.readdir(folder).filter(n => n.endsWith('.keys'));
            names.sort((a, b) => fs.stat(folder + b).mtime - fs.stat(folder + a).mtime);
            return new TextDecoder().decode(fs.readFile(folder + names[0]));
        })()""")

    def close_when_saved(self, end_game=False):
        """With end_game, Escape ends the game first."""
        if end_game:
            self.press("escape", last=True)
            self.wait_for("Module.ended !== undefined", "the game's end")
        saved = self.js("Module.savedTimes || 0")
        self.wait_for(f"Module.savedTimes >= {saved + 2}", "the files to be saved")
        self.browser.call("Target.closeTarget", targetId=self.target)


class Checks:
    def __init__(self, sim, work):
        self.sim, self.work, self.count = sim, Path(work), 0

    def same_picture(self, name, browser_rgb, keys_text):
        keys, shot = self.work / f"{name}.keys", self.work / f"{name}.png"
        keys.write_text(keys_text)
        run = subprocess.run([self.sim, "--keys", str(keys), "--screenshot", str(shot)],
                             capture_output=True, text=True, cwd=Path(__file__).parents[2])
        if run.returncode != 0:
            fail(f"{name}: grotmere-sim ended with {run.returncode}: {run.stderr}")
        sim_rgb = b"".join(read_rgb_png(shot)[2])
        differ = sum(sim_rgb[i:i + 3] != browser_rgb[i:i + 3] for i in range(0, len(sim_rgb), 3))
        if differ:
            fail(f"{name}: {differ} pixels differ from grotmere-sim's screenshot")
        self.count += 1
        print(f"browser_test: {name}: the page's picture is the simulator's, pixel for pixel")


def overlays_game(browser, base, checks):
    # The help over the first room; sword, jerkin and torch and a few steps; the history.
    script = ["f1", PICTURE, "pagedown", "escape", "1", "6", "5", "right", "right", "down",
              "down", PICTURE, "f2", PICTURE]
    tab = Tab(browser, f"{base}?seed=7")
    for at, word in enumerate(script):
        if word != PICTURE:
            tab.press(word)
            continue
        tab.wait_passes(3)
        checks.same_picture(f"overlays-{checks.count + 1}", tab.picture(),
                            "\n".join(["seed 7"] + script[:at]) + "\n")
    tab.press("escape")  # closes the history
    tab.close_when_saved(end_game=True)


def continued_game(browser, base, checks):
    before, after = ["1", "6", "5", "right", "right", "down"], ["down", "left", "left"]
    tab = Tab(browser, f"{base}?seed=3")
    for word in before:
        tab.press(word)
    # Closed mid-game, after the files are saved as they are every two seconds.
    tab.close_when_saved()
    tab = Tab(browser, f"{base}?seed=3")
    tab.press("return")  # the page asks whether to go on with the game left
    for word in after:
        tab.press(word)
    tab.wait_passes(3)
    picture, recording = tab.picture(), tab.recording()
    pressed = []
    for line in recording.splitlines():
        if line.split()[:1] not in (["seed"], ["check"], ["pass"]) and not line.startswith("#"):
            pressed += [w.lstrip("+") for w in line.split() if w[0] != "-" and w != "focus"]
    if pressed[-len(before + after):] != before + after:
        fail(f"the continued game's recording does not hold the keys sent: {pressed}")
    checks.same_picture("continued", picture, recording)
    tab.close_when_saved(end_game=True)


def game_to_death(browser, base, checks):
    # Unarmed and unarmoured through the rats' room to the goblin, then waiting beside it.
    tab = Tab(browser, f"{base}?seed=7")
    for word in ["right"] * 23 + ["up"] + ["right"] * 12 + ["w"] * 300:
        if tab.js("Module.noticeOpen()"):
            break
        tab.press(word)
    tab.wait_for("Module.noticeOpen()", "the notice of the player's death")
    picture = tab.picture()
    tab.js("document.querySelector('#notice button').click()")
    tab.wait_passes(3)
    checks.same_picture("death", picture, tab.recording())
    times = sorted(tab.js("Module.passStats.times"))
    print(f"browser_test: a pass in the browser, over {len(times)} passes: median "
          f"{times[len(times) // 2]:.2f} ms, 99th percentile {times[len(times) * 99 // 100]:.2f} "
          f"ms, longest {times[-1]:.1f} ms (of 50 ms)")
    tab.close_when_saved(end_game=True)


class Quiet(http.server.SimpleHTTPRequestHandler):
    extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map, ".wasm": "application/wasm"}
    log_message = lambda *args: None


def main():
    page, sim = Path(sys.argv[1]), sys.argv[2]
    missing = ("no chromium (the Debian package chromium)" if not shutil.which("chromium") else
               f"no page at {page} (tools/build_web.sh, with the Debian package emscripten)"
               if not (page / "grotmere.wasm").exists() else None)
    if missing and os.environ.get("CI"):
        fail(missing + "; CI installs it with tools/install_deps.sh")
    if missing:
        print(f"browser_test: SKIPPED: {missing}")
        sys.exit(77)
    # What a server sends compressed, besides the data: at most a megabyte.
    size = sum(len(gzip.compress(f.read_bytes(), 9)) for f in page.iterdir() if f.suffix != ".data")
    print(f"browser_test: the page is {size:,} bytes compressed, besides the data")
    if size > 1 << 20:
        fail("the page is over a megabyte compressed")
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), functools.partial(Quiet, directory=page))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = f"http://127.0.0.1:{server.server_address[1]}/index.html"
    with tempfile.TemporaryDirectory() as work:
        browser = Chromium(str(Path(work) / "profile"))
        checks = Checks(sim, work)
        try:
            overlays_game(browser, base, checks)
            continued_game(browser, base, checks)
            game_to_death(browser, base, checks)
        finally:
            browser.process.kill()
            browser.process.wait()
            server.shutdown()
    print(f"{checks.count} passed, 0 failed")


if __name__ == "__main__":
    main()
