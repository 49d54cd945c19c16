#!/usr/bin/env python3
"""The game's page in a real browser: serves the built page on 127.0.0.1, drives headless
Chromium through its DevTools protocol (over a pipe), types key scripts on the page and compares
the canvas's picture with grotmere-sim's screenshot of the same game, pixel for pixel.

  python3 tests/web/browser_test.py PAGE_FOLDER GROTMERE_SIM

Three games: the help and the history opened over the shipped game (compared with the simulator
playing the same script), a game to the player's death (compared at the death's notice with the
simulator playing the page's own recording), and a game whose tab is closed mid-game, opened
again and continued (compared with the simulator playing the one recording of both halves).
Prints the passes' time in the browser. Without Chromium or the page it is skipped (exit 77),
except under CI, where it fails.
"""
import base64
import fcntl
import functools
import http.server
import json
import os
import queue
import shutil
import subprocess
import sys
import tempfile
import threading
import time
from pathlib import Path

sys.path.insert(0, str(Path(__file__).resolve().parent.parent / "support"))
from png_rgb import read_rgb_png  # noqa: E402

SKIPPED = 77
HERE = Path(__file__).resolve().parent
SOURCE = HERE.parent.parent
WIDTH, HEIGHT = 820, 470

# The key script's words as the browser names the keys: DOM code, key, Windows key code.
SPECIAL_KEYS = {
    "left": ("ArrowLeft", "ArrowLeft", 37), "right": ("ArrowRight", "ArrowRight", 39),
    "up": ("ArrowUp", "ArrowUp", 38), "down": ("ArrowDown", "ArrowDown", 40),
    "escape": ("Escape", "Escape", 27), "return": ("Enter", "Enter", 13),
    "space": ("Space", " ", 32), "tab": ("Tab", "Tab", 9),
    "pageup": ("PageUp", "PageUp", 33), "pagedown": ("PageDown", "PageDown", 34),
    "home": ("Home", "Home", 36), "end": ("End", "End", 35),
}


def dom_key(word):
    if word in SPECIAL_KEYS:
        return SPECIAL_KEYS[word]
    if len(word) == 1 and word.isalpha():
        return ("Key" + word.upper(), word, ord(word.upper()))
    if len(word) == 1 and word.isdigit():
        return ("Digit" + word, word, ord(word))
    if word[0] == "f" and word[1:].isdigit():
        return ("F" + word[1:], "F" + word[1:], 111 + int(word[1:]))
    raise ValueError("no browser key for " + word)


def fail(message):
    print("browser_test: FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def high_fd(fd):
    moved = fcntl.fcntl(fd, fcntl.F_DUPFD, 10)
    os.close(fd)
    return moved


class Chromium:
    """Headless Chromium with its DevTools protocol on file descriptors 3 and 4."""

    def __init__(self, profile):
        # The browser's ends are moved above 3 and 4 first, so that none is in their way.
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()
        to_browser_r = high_fd(to_browser_r)
        from_browser_w = high_fd(from_browser_w)
        args = ["chromium", "--headless=new", "--remote-debugging-pipe", "--no-sandbox",
                "--disable-gpu", "--no-first-run", "--mute-audio", "--user-data-dir=" + profile,
                "--window-size=1000,700", "about:blank"]
        self.process = subprocess.Popen(
            ["bash", "-c", f'exec "$@" 3<&{to_browser_r} 4>&{from_browser_w} '
                           f'{to_browser_r}<&- {from_browser_w}>&-', "chromium"] + args,
            pass_fds=(to_browser_r, from_browser_w), stdout=subprocess.DEVNULL,
            stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.next_id = 0
        self.replies = {}
        self.arrived = threading.Condition()
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        pending = b""
        while True:
            chunk = os.read(self.from_browser, 1 << 16)
            if not chunk:
                break
            pending += chunk
            *messages, pending = pending.split(b"\0")
            with self.arrived:
                for message in messages:
                    reply = json.loads(message)
                    if "id" in reply:
                        self.replies[reply["id"]] = reply
                self.arrived.notify_all()

    def call(self, method, session=None, timeout=30, **params):
        self.next_id += 1
        asked = self.next_id
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
        return reply.get("result", {})

    def close(self):
        try:
            self.call("Browser.close", timeout=5)
        except SystemExit:
            pass
        try:
            self.process.wait(10)
        except subprocess.TimeoutExpired:
            self.process.kill()


class Tab:
    def __init__(self, browser, url):
        self.browser = browser
        self.target = browser.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = browser.call("Target.attachToTarget", targetId=self.target,
                                    flatten=True)["sessionId"]
        self.call("Page.enable")
        self.call("Page.navigate", url=url)
        self.wait_for("Module.picturesDrawn > 0", "the page to show the game", 60)

    def call(self, method, **params):
        return self.browser.call(method, session=self.session, **params)

    def js(self, expression):
        result = self.call("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            fail(f"{expression}: {result['exceptionDetails']}")
        return result["result"].get("value")

    def wait_for(self, condition, what, seconds=30):
        deadline = time.monotonic() + seconds
        while not self.js(f"typeof Module !== 'undefined' && !!({condition})"):
            if time.monotonic() > deadline:
                fail(f"waited {seconds} s for {what}")
            time.sleep(0.02)

    def passes(self):
        return self.js("Module.passStats.passes")

    def wait_passes(self, count):
        # A notice holds the game until it is dismissed.
        target = self.passes() + count
        self.wait_for(f"Module.passStats.passes >= {target} || Module.noticeOpen()",
                      f"{count} passes")

    def press(self, word, last=False):
        code, key, windows = dom_key(word)
        for kind in ("rawKeyDown", "keyUp"):
            self.call("Input.dispatchKeyEvent", type=kind, code=code, key=key,
                      windowsVirtualKeyCode=windows, nativeVirtualKeyCode=windows)
        # One press a pass: the next waits until this one has been handed to the game. The key
        # that ends the game has no pass after it.
        if not last:
            self.wait_passes(2)

    def play(self, lines):
        for line in lines:
            words = line.split()
            if words[:1] == ["pass"]:
                self.wait_passes(int(words[1]))
            elif words[:1] != ["#"]:
                for word in words:
                    self.press(word)

    def picture(self):
        """The canvas's pixels as r, g, b bytes."""
        encoded = self.js("""(() => {
            const c = document.getElementById('canvas');
            const d = c.getContext('2d').getImageData(0, 0, c.width, c.height).data;
            let s = '';
            for (let i = 0; i < d.length; i += 4) s += String.fromCharCode(d[i], d[i+1], d[i+2]);
            return [c.width, c.height, btoa(s)];
        })()""")
        if encoded[:2] != [WIDTH, HEIGHT]:
            fail(f"the canvas is {encoded[0]} x {encoded[1]}")
        return base64.b64decode(encoded[2])

    def read_file(self, path):
        return self.js(f"new TextDecoder().decode(Module.FS.readFile({json.dumps(path)}))")

    def newest_recording(self):
        """The recording of the game on the page, as far as it has been played."""
        self.js("Module._web_write_out()")
        folder = "/data/grotmere/recordings"
        newest = self.js(f"""Module.FS.readdir('{folder}').filter(n => n.endsWith('.keys'))
            .map(n => ['{folder}/' + n, Module.FS.stat('{folder}/' + n).mtime.getTime()])
            .sort((a, b) => b[1] - a[1])[0][0]""")
        return self.read_file(newest)

    def saved(self):
        """Waits until the player's files have been saved whole since this call."""
        times = self.js("Module.savedTimes || 0")
        self.wait_for(f"Module.savedTimes >= {times + 2}", "the files to be saved")

    def close(self):
        self.browser.call("Target.closeTarget", targetId=self.target)


class Checks:
    def __init__(self, sim, work):
        self.sim, self.work, self.count = sim, Path(work), 0

    def same_picture(self, name, browser_rgb, keys_text):
        """The browser's picture against the simulator's for the same keys."""
        keys = self.work / f"{name}.keys"
        shot = self.work / f"{name}.png"
        keys.write_text(keys_text)
        run = subprocess.run([self.sim, "--keys", str(keys), "--screenshot", str(shot)],
                             cwd=SOURCE, capture_output=True, text=True)
        if run.returncode != 0:
            fail(f"{name}: grotmere-sim ended with {run.returncode}: {run.stderr}")
        sim_rgb = b"".join(read_rgb_png(shot)[2])
        differ = sum(1 for i in range(0, len(sim_rgb), 3) if sim_rgb[i:i + 3] != browser_rgb[i:i + 3])
        if differ:
            Path(self.work / f"{name}.browser.rgb").write_bytes(browser_rgb)
            fail(f"{name}: {differ} pixels differ from grotmere-sim's screenshot (kept in {self.work})")
        self.count += 1
        print(f"browser_test: {name}: the page's picture is the simulator's, pixel for pixel")


def pressed_words(recording):
    """The keys a recording holds, in order, without their releases."""
    words = []
    for line in recording.splitlines():
        if line.startswith(("seed", "#", "check", "pass")):
            continue
        words += [w.lstrip("+") for w in line.split() if not w.startswith("-") and w != "focus"]
    return words


CLOSE_MARK = "# the tab is closed here"
PICTURE_MARK = "# picture"


def read_script(path):
    """The script's seed and its lines of keys, with the marks where a tab is closed or a
    picture compared."""
    lines = Path(path).read_text().splitlines()
    seed = next(int(line.split()[1]) for line in lines if line.startswith("seed "))
    marks = (CLOSE_MARK, PICTURE_MARK)
    keep = [line for line in lines if line in marks or line and not line.startswith(("seed", "#", "check"))]
    return seed, keep


def keys_of(lines):
    return [w for line in lines if not line.startswith(("pass", "#")) for w in line.split()]


def overlays_game(browser, base, checks):
    seed, lines = read_script(HERE / "overlays.keys")
    tab = Tab(browser, f"{base}?seed={seed}")
    played = 0
    for at, line in enumerate(lines):
        if line != PICTURE_MARK:
            continue
        tab.play(lines[played:at])
        played = at
        tab.wait_passes(3)
        checks.same_picture(f"overlays-{checks.count + 1}", tab.picture(),
                            "\n".join([f"seed {seed}"] + lines[:at]) + "\n")
    # Escape closes the history, and another ends the game, which leaves no game to continue.
    tab.press("escape")
    tab.press("escape", last=True)
    tab.wait_for("Module.ended !== undefined", "the game's end")
    tab.saved()
    tab.close()


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
    recording = tab.newest_recording()
    if "check" not in recording.splitlines()[-1]:
        fail("the dead player's recording does not end on its last checkpoint")
    checks.same_picture("death", picture, recording)
    report_pass_times(tab.js("Module.passStats.times"))
    tab.press("escape", last=True)
    tab.wait_for("Module.ended !== undefined", "the end screen to end")
    tab.saved()
    tab.close()


def report_pass_times(times):
    times = sorted(times)
    if not times:
        fail("the page timed no pass")
    share = lambda q: times[min(len(times) - 1, int(q * len(times)))]
    print(f"browser_test: a pass in the browser, over {len(times)} passes: median "
          f"{share(0.5):.2f} ms, 99th percentile {share(0.99):.2f} ms, longest {times[-1]:.1f} ms "
          f"(of 50 ms)")


def continued_game(browser, base, checks):
    seed, lines = read_script(HERE / "continued.keys")
    half = lines.index(CLOSE_MARK)
    url = f"{base}?seed={seed}"
    tab = Tab(browser, url)
    tab.play(lines[:half])
    # Closed mid-game once its files are saved, as they are every two seconds.
    tab.saved()
    tab.close()
    tab = Tab(browser, url)
    # The page asks whether to go on with the game left; Return does.
    tab.press("return")
    tab.play(lines[half + 1:])
    tab.wait_passes(3)
    picture = tab.picture()
    recording = tab.newest_recording()
    sent = keys_of(lines)
    if pressed_words(recording)[-len(sent):] != sent:
        fail(f"the continued game's recording does not hold the keys sent: {pressed_words(recording)}")
    checks.same_picture("continued", picture, recording)
    tab.press("escape", last=True)
    tab.wait_for("Module.ended !== undefined", "the game's end")
    tab.saved()
    tab.close()


def serve(folder):
    class Quiet(http.server.SimpleHTTPRequestHandler):
        extensions_map = {**http.server.SimpleHTTPRequestHandler.extensions_map,
                          ".wasm": "application/wasm", ".js": "text/javascript"}

        def log_message(self, *args):
            pass

    handler = functools.partial(Quiet, directory=folder)
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0), handler)
    threading.Thread(target=server.serve_forever, daemon=True).start()
    return server


def skip_or_fail(reason):
    if os.environ.get("CI"):
        fail(reason + " (CI installs it: tools/install_deps.sh test)")
    print(f"browser_test: SKIPPED: {reason}")
    sys.exit(SKIPPED)


def main():
    if len(sys.argv) != 3:
        fail("usage: browser_test.py PAGE_FOLDER GROTMERE_SIM")
    page, sim = Path(sys.argv[1]), sys.argv[2]
    if not shutil.which("chromium"):
        skip_or_fail("no chromium (the Debian package chromium)")
    if not (page / "grotmere.wasm").exists():
        skip_or_fail(f"no page at {page} (needs emcc, the Debian package emscripten)")
    server = serve(str(page))
    base = f"http://127.0.0.1:{server.server_address[1]}/index.html"
    with tempfile.TemporaryDirectory() as work:
        browser = Chromium(str(Path(work) / "profile"))
        checks = Checks(sim, work)
        stats = None
        try:
            overlays_game(browser, base, checks)
            continued_game(browser, base, checks)
            game_to_death(browser, base, checks)
        finally:
            browser.close()
            server.shutdown()
    print(f"{checks.count} passed, 0 failed")


if __name__ == "__main__":
    main()
