#!/usr/bin/env python3
"""The page in headless Chromium (DevTools protocol over a pipe), served from 127.0.0.1:
the help and the history, a tab closed mid-game and continued, a game to the death, and a game
on a phone's screen by taps alone to a first kill, each compared with grotmere-sim's screenshot of
the same keys, pixel for pixel; checks what the page says around the picture and prints the time
of a pass and of a picture. Skipped (77) without Chromium or the page, except under CI, where it
fails.

  python3 tests/web/browser_test.py PAGE_FOLDER GROTMERE_SIM
"""
import base64
import datetime
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
    def __init__(self, browser, url, phone=False):
        self.browser = browser
        self.target = browser.call("Target.createTarget", url="about:blank")["targetId"]
        self.session = browser.call("Target.attachToTarget", targetId=self.target,
                                    flatten=True)["sessionId"]
        if phone:  # 390 x 844 CSS pixels, three device pixels each, a touch screen
            browser.call("Emulation.setDeviceMetricsOverride", self.session, width=390,
                         height=844, deviceScaleFactor=3, mobile=True)
            browser.call("Emulation.setTouchEmulationEnabled", self.session, enabled=True,
                         maxTouchPoints=5)
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

    def touch(self, x, y):
        self.browser.call("Input.dispatchTouchEvent", self.session, type="touchStart",
                          touchPoints=[{"x": x, "y": y}])
        self.browser.call("Input.dispatchTouchEvent", self.session, type="touchEnd", touchPoints=[])

    def tap(self, command, last=False):
        """The on-screen button of the command, by touch alone; one tap a pass, as press()."""
        x, y = self.js(f"""(() => {{
            const r = document.querySelector('#touch button[data-command="{command}"]')
                .getBoundingClientRect();
            return [r.x + r.width / 2, r.y + r.height / 2];
        }})()""")
        self.touch(x, y)
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

    def notice_shown(self):
        """Whether a box stands in the middle of the picture: a notice, or the end screen."""
        return self.js("""(() => {
            const d = document.getElementById('canvas').getContext('2d')
                .getImageData(410, 235, 1, 1).data;
            return d[0] == 12 && d[1] == 12 && d[2] == 28;
        })()""")

    def close_when_saved(self, end_game=False, asks=True):
        """With end_game, Escape ends the game first; it asks, and Y answers, unless the game is
        played ?classic or stands at its end screen."""
        if end_game:
            if asks:
                self.press("escape")
            self.press("y" if asks else "escape", last=True)
            self.wait_for("Module.ended !== undefined", "the game's end")
        saved = self.js("Module.savedTimes || 0")
        self.wait_for(f"Module.savedTimes >= {saved + 2}", "the files to be saved")
        self.browser.call("Target.closeTarget", targetId=self.target)


class Checks:
    def __init__(self, sim, work):
        self.sim, self.work, self.count = sim, Path(work), 0

    def same_picture(self, name, browser_rgb, keys_text, classic=False, extra=()):
        keys, shot = self.work / f"{name}.keys", self.work / f"{name}.png"
        keys.write_text(keys_text)
        run = subprocess.run([self.sim, "--keys", str(keys), "--screenshot", str(shot)] +
                             ["--classic"] * classic + list(extra),
                             capture_output=True, text=True, cwd=Path(__file__).parents[2])
        if run.returncode != 0:
            fail(f"{name}: grotmere-sim ended with {run.returncode}: {run.stderr}")
        sim_rgb = b"".join(read_rgb_png(shot)[2])
        differ = sum(sim_rgb[i:i + 3] != browser_rgb[i:i + 3] for i in range(0, len(sim_rgb), 3))
        if differ:
            fail(f"{name}: {differ} pixels differ from grotmere-sim's screenshot")
        self.count += 1
        print(f"browser_test: {name}: the page's picture is the simulator's, pixel for pixel")

    def messages(self, keys_text):
        """The message log after the simulator played these keys."""
        keys, dump = self.work / "messages.keys", self.work / "messages.json"
        keys.write_text(keys_text)
        subprocess.run([self.sim, "--keys", str(keys), "--dump", str(dump)], capture_output=True,
                       cwd=Path(__file__).parents[2], check=True)
        return json.loads(dump.read_text())["message_lines"]


def pressed_keys(recording):
    """The keys a recording presses, in order."""
    pressed = []
    for line in recording.splitlines():
        if line.split()[:1] not in (["seed"], ["check"], ["pass"]) and not line.startswith("#"):
            pressed += [w.lstrip("+") for w in line.split() if w[0] != "-" and w != "focus"]
    return pressed


def check_greeting(tab):
    """What a visitor reads around the picture: the keys from the loaded bindings, as the help
    names them, the game's icon, and a name for the canvas."""
    page = tab.js("""(() => {
        const c = document.getElementById('canvas');
        const keys = [...document.querySelectorAll('#key-list dt')].map(
            dt => dt.textContent + ': ' + dt.nextElementSibling.textContent);
        return {title: document.querySelector('h1').textContent,
                intro: document.getElementById('intro').textContent,
                keys, icon: document.getElementById('favicon').href, role: c.getAttribute('role'),
                label: c.getAttribute('aria-label') || '', progress: progress.hidden,
                noscript: document.querySelectorAll('noscript').length};
    })()""")
    expected_keys = ["Walk (or shoot) left: Left", "Pick up: G", "This help: F1"]
    if page["title"] != "Grotmere" or "goal" not in page["intro"]:
        fail(f"the page greets nobody: {page['title']!r}, {page['intro']!r}")
    if any(key not in page["keys"] for key in expected_keys):
        fail(f"the keys beside the picture are not the bindings': {page['keys']}")
    if not page["icon"].startswith("data:image/png") or not page["label"] or not page["noscript"]:
        fail(f"no icon, no name for the canvas or no line without scripts: {page}")
    if page["role"] != "application" or not page["progress"]:
        fail(f"the canvas has no role, or the progress line stays: {page}")
    print(f"browser_test: the page greets, with {len(page['keys'])} keys beside the picture")


def overlays_game(browser, base, checks):
    # The help over the first room; sword, jerkin and torch and a few steps; the history.
    script = ["f1", PICTURE, "pagedown", "escape", "1", "6", "5", "right", "right", "down",
              "down", PICTURE, "f2", PICTURE]
    tab = Tab(browser, f"{base}?seed=7")
    check_greeting(tab)
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
    pressed = pressed_keys(recording)
    if pressed[-len(before + after):] != before + after:
        fail(f"the continued game's recording does not hold the keys sent: {pressed}")
    checks.same_picture("continued", picture, recording)
    tab.close_when_saved(end_game=True)


def game_to_death(browser, base, checks):
    # Unarmed and unarmoured through the rats' room to the goblin, then waiting beside it. The
    # notice of the death stands in the picture, as the simulator draws it, and Return goes on to
    # the end screen.
    tab = Tab(browser, f"{base}?seed=7")
    for word in ["right"] * 23 + ["up"] + ["right"] * 12 + ["w"] * 300:
        if tab.notice_shown():
            break
        tab.press(word)
    tab.wait_for("Module.passStats.passes > 0", "the game")
    deadline = time.monotonic() + 30
    while not tab.notice_shown():
        if time.monotonic() > deadline:
            fail("no notice of the player's death in the picture")
        time.sleep(0.05)
    picture = tab.picture()
    if tab.js("Module.noticeOpen()"):
        fail("the death's notice came in the page's box, not in the picture")
    tab.press("return")
    checks.same_picture("death", picture, tab.recording())
    report_times(tab.js("Module.passStats"))
    tab.close_when_saved(end_game=True, asks=False)


def report_times(stats):
    def spread(times):
        times = sorted(times) or [0]
        return (f"median {times[len(times) // 2]:.2f} ms, 99th percentile "
                f"{times[len(times) * 99 // 100]:.2f} ms, longest {times[-1]:.1f} ms")
    print(f"browser_test: a pass in the browser (of 50 ms), over {len(stats['times'])} passes: "
          f"{spread(stats['times'])}; over the {len(stats['pressed'])} with a key pressed: "
          f"{spread(stats['pressed'])}; a picture's way to the canvas, over "
          f"{len(stats['pictures'])}: {spread(stats['pictures'])}")


def classic_game(browser, base, checks):
    # ?classic: the game's own picture, and only the binding file's keys beside it.
    script = ["1", "6", "right", "right", "down"]
    tab = Tab(browser, f"{base}?seed=7&classic")
    for word in script:
        tab.press(word)
    tab.wait_passes(3)
    checks.same_picture("classic", tab.picture(), "\n".join(["seed 7"] + script) + "\n", True)
    if tab.js("'help' in commands || document.body.textContent.includes('This help')"):
        fail("the classic game's page offers the window's own keys")
    tab.close_when_saved(end_game=True, asks=False)


def touch_game(browser, base, checks):
    # On a phone, by taps alone: sword, jerkin and torch, along the corridor, down to a rat.
    taps = ["inv_1", "inv_6", "inv_5"] + ["go_right"] * 20 + ["go_down"] * 8
    tab = Tab(browser, f"{base}?seed=7", phone=True)
    tab.wait_for("document.querySelector('#touch button[data-command=inv_1]').title",
                 "the buttons to learn their keys")
    layout = tab.js("""[document.getElementById('canvas').getBoundingClientRect().width,
                        getComputedStyle(document.getElementById('touch')).display,
                        document.documentElement.scrollWidth]""")
    if abs(layout[0] - 390) > 1 or layout[1] == "none" or layout[2] > 390:
        fail(f"the picture is not as wide as the phone, or no buttons show: {layout}")
    for command in taps:
        tab.tap(command)
    # A double tap beside the buttons zooms nothing.
    tab.touch(200, 30)
    tab.touch(200, 30)
    time.sleep(0.5)
    if tab.js("visualViewport.scale") != 1:
        fail("a double tap zooms the page")
    tab.wait_passes(3)
    picture, recording = tab.picture(), tab.recording()
    words = {"inv_1": "1", "inv_6": "6", "inv_5": "5", "go_right": "right", "go_down": "down"}
    if pressed_keys(recording) != [words[command] for command in taps]:
        fail(f"the taps were not recorded as the keys of the bindings: {pressed_keys(recording)}")
    checks.same_picture("touch", picture, recording)
    if not any(line.endswith(" is dead!") for line in checks.messages(recording)):
        fail("the game by taps alone killed nothing")
    print("browser_test: a game on a phone's screen by taps alone, to a first kill")
    # Ended by taps too: Escape asks, Y answers.
    tab.tap("escape")
    tab.tap("yes", last=True)
    tab.wait_for("Module.ended !== undefined", "the game's end by taps")
    tab.close_when_saved()


def daily_game(browser, base, checks):
    # ?daily: the day's generated dungeon, the one grotmere-gen makes of the day's seed. Its
    # folder is new, so the page offers the help's hint, which opening the help puts away.
    script = ["f1", "f1", "1", "6", "5", "right", "right", "down"]
    tab = Tab(browser, f"{base}?daily")
    for word in script:
        tab.press(word)
    tab.wait_passes(3)
    picture, recording = tab.picture(), tab.recording()
    day = datetime.datetime.now(datetime.timezone.utc).strftime("%Y%m%d")
    if f"# dungeon: generator 2, seed {day}" not in recording:
        fail(f"the daily game is not the day's dungeon: {recording[:200]!r}")
    dungeon = checks.work / "daily"
    subprocess.run([str(Path(checks.sim).parent / "grotmere-gen"), "--seed", day, "--out",
                    str(dungeon), "--dir", str(Path(__file__).parents[2])], check=True,
                   capture_output=True)
    checks.same_picture("daily", picture, recording, extra=["--dir", str(dungeon)])
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
    # What a server sends compressed, besides the data: at most 600 KiB.
    size = sum(len(gzip.compress(f.read_bytes(), 9)) for f in page.iterdir() if f.suffix != ".data")
    print(f"browser_test: the page is {size:,} bytes compressed, besides the data")
    if size > 600 << 10:
        fail("the page is over 600 KiB compressed")
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
            classic_game(browser, base, checks)
            touch_game(browser, base, checks)
            daily_game(browser, base, checks)
        finally:
            browser.process.kill()
            browser.process.wait()
            server.shutdown()
    print(f"{checks.count} passed, 0 failed")


if __name__ == "__main__":
    main()
