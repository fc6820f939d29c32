"""The web build in headless Chromium, driven over the DevTools protocol (standard library only).

    web_test.py SRC PAGE KAV REFERENCE

SRC is the source tree, PAGE the folder of the built page (kav.html and its files), KAV the
native game, REFERENCE the native offscreen picture maker (kav_web_reference). Checks that the page runs key scripts
to the same world dump and the same sound as the native game, draws the same picture, plays
sound after the start question's click, takes the keyboard, and ends on Escape; that F12
offers the picture as a download; and that the page a visitor meets explains itself and fits
a small window, nothing cut off, in under 3 MB; that its settings in local storage bind keys,
a stubbed game pad plays, and on a phone (touch, 844x390) the touch controls play with
several fingers at once. KAV_WEB_PICTURES=DIR keeps the pictures, the phone's screenshot
among them.
"""
import base64
import functools
import glob
import hashlib
import http.server
import json
import os
import shutil
import subprocess
import sys
import tempfile
import threading
import time

SRC, PAGE, KAV, REFERENCE = (os.path.abspath(a) for a in sys.argv[1:5])
WORK = tempfile.mkdtemp(prefix="kav-web-")
failures = []


def check(ok, what):
    print(("ok   " if ok else "FAIL ") + what, flush=True)
    if not ok:
        failures.append(what)


class Browser:
    """One headless Chromium with one page, commands sent over --remote-debugging-pipe."""

    def __init__(self):
        to_browser_r, self.to_browser = os.pipe()
        self.from_browser, from_browser_w = os.pipe()

        def pipes():
            os.dup2(to_browser_r, 3)
            os.dup2(from_browser_w, 4)

        flags = ["--headless=new", "--no-sandbox", "--use-angle=swiftshader",
                 "--enable-unsafe-swiftshader", "--window-size=800,600", "--hide-scrollbars",
                 "--disable-background-networking", "--disable-component-update",
                 "--disable-sync", "--no-first-run", "--remote-debugging-pipe",
                 "--user-data-dir=" + os.path.join(WORK, "profile"), "about:blank"]
        self.proc = subprocess.Popen(["chromium"] + flags, preexec_fn=pipes, close_fds=False,
                                     stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        os.close(to_browser_r)
        os.close(from_browser_w)
        self.buffer = b""
        self.next_id = 0
        self.session = None
        targets = self.send("Target.getTargets")["targetInfos"]
        page = next(t for t in targets if t["type"] == "page")
        self.session = self.send("Target.attachToTarget", targetId=page["targetId"],
                                 flatten=True)["sessionId"]
        self.send("Page.enable")
        self.send("Emulation.setDeviceMetricsOverride", width=800, height=600,
                  deviceScaleFactor=1, mobile=False)

    def send(self, method, **params):
        self.next_id += 1
        message = {"id": self.next_id, "method": method, "params": params}
        if self.session and not method.startswith(("Target.", "Browser.")):
            message["sessionId"] = self.session
        os.write(self.to_browser, json.dumps(message).encode() + b"\0")
        while True:
            while b"\0" not in self.buffer:
                chunk = os.read(self.from_browser, 1 << 16)
                if not chunk:
                    raise RuntimeError("the browser went away")
                self.buffer += chunk
            raw, self.buffer = self.buffer.split(b"\0", 1)
            reply = json.loads(raw)
            if reply.get("id") == self.next_id:
                if "error" in reply:
                    raise RuntimeError(method + ": " + reply["error"]["message"])
                return reply["result"]

    def eval(self, expression):
        result = self.send("Runtime.evaluate", expression=expression, returnByValue=True,
                           awaitPromise=True)
        if "exceptionDetails" in result:
            raise RuntimeError(expression + ": " + result["exceptionDetails"]["text"])
        return result["result"].get("value")

    def wait(self, expression, seconds=60):
        """Polls until the expression is truthy; returns its value (None after the time).
        While the page loads, an expression that throws counts as not yet."""
        end = time.time() + seconds
        while time.time() < end:
            try:
                value = self.eval(expression)
            except RuntimeError:
                value = None
            if value:
                return value
            time.sleep(0.05)
        return None

    def open(self, url):
        # The page marks its state on <body data-kav> (done, failed, running, ended): the old
        # page's mark goes first, so that no wait can mistake it for the new page's.
        try:
            self.eval("document.body && delete document.body.dataset.kav")
        except RuntimeError:
            pass   # the old page is going already (a reload): its mark goes with it
        self.send("Page.navigate", url=url)

    def key(self, kind, name, code):
        self.send("Input.dispatchKeyEvent", type=kind, key=name, code=name,
                  windowsVirtualKeyCode=code, nativeVirtualKeyCode=code)

    def hold(self, name, code, until, seconds=10):
        """Holds a key until the expression is truthy (the game sees only keys held while
        it runs a frame, and a loaded machine may run few); returns its value."""
        self.key("rawKeyDown", name, code)
        value = self.wait(until, seconds)
        self.key("keyUp", name, code)
        return value



class Files(http.server.SimpleHTTPRequestHandler):
    """The page under /page/, the test's own files under /work/, the source tree elsewhere."""

    def translate_path(self, path):
        for prefix, folder in (("/page/", PAGE), ("/work/", WORK)):
            if path.startswith(prefix):
                return os.path.join(folder, path[len(prefix):].split("?")[0])
        return super().translate_path(path)

    def log_message(self, *args):
        pass


def native_dump(script, frames):
    out = os.path.join(WORK, "native.json")
    more = [] if frames is None else ["--frames", str(frames)]
    subprocess.run([KAV, "--headless", "--input", script, "--dump", out] + more, cwd=SRC, check=True, timeout=120)
    with open(out) as f:
        return f.read()


def native_audio(script):
    out = os.path.join(WORK, "native.wav")
    subprocess.run([KAV, "--headless", "--input", script, "--audio-out", out], cwd=SRC, check=True, timeout=120)
    with open(out, "rb") as f:
        data = f.read()
    return "%s %d" % (hashlib.sha256(data).hexdigest(), len(data))


def page_script(browser, base, script_url, frames=None, picture=False, audio=False):
    browser.open(base + "/page/kav.html?script=" + script_url + ("" if frames is None else "&frames=%s" % frames)
                 + ("&picture=1" if picture else "") + ("&audio=1" if audio else ""))
    state = browser.wait("['done', 'failed'].includes(document.body.dataset.kav)"
                         " && document.body.dataset.kav")
    return (state, browser.eval("document.getElementById('kav-dump').textContent"),
            browser.eval("document.getElementById('kav-error').textContent"))


def magick(*args):
    return subprocess.run(list(args), capture_output=True, text=True)


def main():
    server = http.server.ThreadingHTTPServer(("127.0.0.1", 0),
                                             functools.partial(Files, directory=SRC))
    threading.Thread(target=server.serve_forever, daemon=True).start()
    base = "http://127.0.0.1:%d" % server.server_address[1]
    browser = Browser()
    try:
        run(browser, base)
    finally:
        browser.proc.kill()
        browser.proc.wait()
        server.shutdown()
        shutil.rmtree(WORK, ignore_errors=True)
    if failures:
        print("%d web check(s) failed" % len(failures))
        return 1
    print("all web checks passed")
    return 0


def run(browser, base):
    started = time.time()
    # Same game, bit for bit: the walkthrough as long as it lasts, the seeded key scripts
    # for 4000 steps, on the game's own screens.
    scripts = [("tests/fixtures/walkthrough.txt", None)]
    scripts += [(os.path.relpath(p, SRC), 4000)
                for p in sorted(glob.glob(os.path.join(SRC, "tests/fixtures/golden/scripts/*-seed*.txt")))]
    for rel, frames in scripts:
        state, dump, error = page_script(browser, base, "../" + rel, frames)
        same = state == "done" and dump == native_dump(os.path.join(SRC, rel), frames)
        check(same, "dump of %s equals the native one%s" % (rel, "" if same else ": " + error))
    print("     (%d dumps in %.1f s)" % (len(scripts), time.time() - started))

    # Same sound, bit for bit: the WAV file of a seeded script as the native --audio-out writes it.
    rel = "tests/fixtures/golden/scripts/map1-seed1.txt"
    state, dump, error = page_script(browser, base, "../" + rel, audio=True)
    audio = browser.eval("document.getElementById('kav-audio').textContent")
    native = native_audio(os.path.join(SRC, rel))
    check(state == "done" and audio == native, "sound of %s equals the native WAV: %r / %r" % (rel, audio, native))

    # Scripts the page must refuse with the reason, as the command line does: a script past
    # the native limit of 4 MB with the native message, steps no recording reaches at once.
    with open(os.path.join(WORK, "bad.txt"), "w") as f:
        f.write("10 RIGHT\n5 JUMP\n")
    with open(os.path.join(WORK, "huge.txt"), "w") as f:
        f.write("1 RIGHT\n1 LEFT\n" * 300000)   # 4.8 MB
    refused = subprocess.run([KAV, "--headless", "--input", "huge.txt"], cwd=WORK, capture_output=True, text=True)
    too_long = refused.stderr.strip().replace("kav: huge.txt", "/work/huge.txt")
    check(refused.returncode == 2 and "longer than 4 MB" in too_long, "the native game refuses 4.8 MB: " + too_long)
    for url, frames, reason in [("/work/bad.txt", None, "bad.txt:2:"),
                                ("/work/missing.txt", None, "404"),
                                ("../tests/fixtures/walkthrough.txt", "12x", "frames"),
                                ("../tests/fixtures/walkthrough.txt", "999999999999999", "0 to 50000000 steps"),
                                ("/work/huge.txt", None, too_long)]:
        state, dump, error = page_script(browser, base, url, frames)
        check(state == "failed" and reason in error and dump == "",
              "script %s frames %s refused (%s): %r" % (url, frames, reason, error[:200]))

    # Long scripts: 2 MB of text (more than the stack could take) plays to the native dump,
    # and a run of millions of steps goes in slices, the page answering all the while.
    for name, text, frames in [("two-mb.txt", "1 RIGHT\n1 LEFT SPACE\n" * 100000, None),
                               ("long.txt", "2000000 RIGHT\n", 3000000)]:
        with open(os.path.join(WORK, name), "w") as f:
            f.write(text)
        browser.open(base + "/page/kav.html?script=/work/%s%s" % (name, "" if frames is None else "&frames=%d" % frames))
        seen, answer = "", 0.0
        if frames is not None:   # while it runs, the page shows how far it is and answers at once
            seen = browser.wait("/step [0-9]+/.test(document.getElementById('kav-status').textContent)"
                                " && document.getElementById('kav-status').textContent")
            asked = time.time()
            browser.eval("1")
            answer = time.time() - asked
        state = browser.wait("['done', 'failed'].includes(document.body.dataset.kav) && document.body.dataset.kav", 300)
        dump = browser.eval("document.getElementById('kav-dump').textContent")
        same = state == "done" and dump == native_dump(os.path.join(WORK, name), frames)
        check(same and (frames is None or bool(seen)) and answer < 1.0,
              "%s (%d bytes) plays in slices to the native dump: %s, status %r, answered in %.2f s"
              % (name, len(text), same, seen, answer))

    # The picture: after the same steps the page draws what the native game draws, the
    # debug text included (the font's display lists are replayed by the web build); also
    # with the backdrop missing or unreadable, which draws as its plain colour and, when
    # unreadable, tells the player in a dialog of the page. Software rasterisers differ by
    # a few levels at edges, so pixels may differ by a little.
    script = "40 RIGHT\n10 RIGHT UP\n29 RIGHT SPACE\n1 I\n"   # I: the debug text, in the font
    with open(os.path.join(WORK, "shot.txt"), "w") as f:
        f.write(script)
    keep = os.environ.get("KAV_WEB_PICTURES")
    cases = [("the game's pictures", None, ""),
             ("the backdrop missing", "", ""),
             ("the backdrop unreadable", "not a picture", "Error\n\nUnknown DIB file format.")]
    for n, (what, backdrop, dialog) in enumerate(cases):
        data = os.path.join(WORK, "data%d" % n)
        shutil.copytree(os.path.join(SRC, "gfx"), os.path.join(data, "gfx"))
        os.symlink(os.path.join(SRC, "map"), os.path.join(data, "map"))
        if backdrop is None:
            state = page_script(browser, base, "/work/shot.txt", 80, picture=True)[0]
        else:
            # A fresh page, its files changed before the run.
            state = page_script(browser, base, "/work/shot.txt", 0)[0]
            os.remove(os.path.join(data, "gfx", "back.bmp"))
            change = "FS.unlink('/gfx/back.bmp')"
            if backdrop:
                with open(os.path.join(data, "gfx", "back.bmp"), "w") as f:
                    f.write(backdrop)
                change = "FS.writeFile('/gfx/back.bmp', %s)" % json.dumps(backdrop)
            ran = browser.eval("Module.%s;"
                               " runScriptBytes(new TextEncoder().encode(%s), 'shot', '80', 1, 0).then(r => r.ok ? 1 : 0)"
                               % (change, json.dumps(script)))
            state = "done" if state == "done" and ran == 1 else "failed"
        native = os.path.join(WORK, "native%d.ppm" % n)
        subprocess.run([REFERENCE, os.path.join(WORK, "shot.txt"), "80", native], cwd=data, check=True,
                       timeout=60, env=dict(os.environ, SDL_VIDEODRIVER="offscreen"),
                       stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        web = os.path.join(WORK, "web%d.png" % n)
        with open(web, "wb") as f:
            f.write(base64.b64decode(browser.eval("document.getElementById('canvas').toDataURL()").split(",", 1)[1]))
        if keep:
            shutil.copy(web, keep)
            magick("convert", native, os.path.join(keep, "native%d.png" % n))
        # GL_CLAMP, which the browser lacks, blends the border colour into the outermost
        # texels; clamp-to-edge does not: the two-pixel frame of the screen is left out.
        for name in (native, web):
            magick("convert", name, "-shave", "2x2", name + ".inner.png")
        differing = magick("compare", "-metric", "AE", "-fuzz", "3%", native + ".inner.png",
                           web + ".inner.png", "null:")
        spread = magick("convert", web, "-colorspace", "gray", "-format", "%[fx:standard_deviation]", "info:")
        pixels = int(float(differing.stderr.split()[0])) if differing.stderr else -1
        shown = browser.eval("document.getElementById('kav-messages').innerText.trim()")
        check(state == "done" and 0 <= pixels < 796 * 596 // 1000 and float(spread.stdout or 0) > 0.05
              and shown.startswith(dialog) and (dialog or not shown),
              "picture after 80 steps with %s matches the native one: %d of 474416 pixels inside"
              " the frame differ by more than 3%%, grey spread %s; dialogs %r"
              % (what, pixels, spread.stdout, shown))

    # Keys: Yes at the start question (a real click, which the browser needs) puts the
    # canvas in full screen; key events move the hero; the page keeps arrows and Space from
    # scrolling; F1 leaves full screen and the game goes on drawing; Escape ends it.
    start_x = json.loads(native_dump(os.path.join(SRC, "tests/fixtures/golden/scripts/walkthrough.txt"), 0))["hero"]["x"]
    browser.open(base + "/page/kav.html")
    yes = browser.wait("(() => { const b = document.getElementById('kav-yes'); if (!b || b.offsetParent === null) return null;"
                       " const r = b.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()")
    for kind in ("mousePressed", "mouseReleased"):
        browser.send("Input.dispatchMouseEvent", type=kind, x=yes[0], y=yes[1], button="left", clickCount=1)
    running = browser.wait("document.body.dataset.kav === 'running'", 10)
    full = browser.wait("document.fullscreenElement && document.fullscreenElement.id", 5)
    browser.eval("window.kept = []; addEventListener('keydown', e => kept.push(e.key + ':' + e.defaultPrevented));"
                 " window.ticks = 0; (function tick() { ticks++; requestAnimationFrame(tick); })()")
    browser.hold("ArrowRight", 39, "ticks >= 30")
    browser.hold(" ", 32, "ticks >= 35")
    heard = browser.wait("Module.kavAudio && Module.kavAudio.peak > 0 && Module.kavAudio.ctx.currentTime > 0.2"
                         " && [Module.kavAudio.ctx.state, Module.kavAudio.steps, Module.kavAudio.peak]", 10)
    left = browser.hold("F1", 112, "document.fullscreenElement === null")
    browser.wait("ticks >= 45")
    lit = browser.eval("""(() => { const c = document.createElement('canvas'); c.width = 800; c.height = 600;
        const g = c.getContext('2d'); g.drawImage(document.getElementById('canvas'), 0, 0);
        const d = g.getImageData(0, 0, 800, 600).data; let n = 0;
        for (let i = 0; i < d.length; i += 4) if (d[i] + d[i + 1] + d[i + 2] > 60) n++; return n; })()""")
    check(full == "canvas", "Yes at the start question puts the canvas in full screen (%r)" % full)
    check(bool(heard) and heard[0] == "running" and heard[1] > 10,
          "after the click the audio context runs and plays the game's steps, the shot's sound among them:"
          " [state, steps queued, peak] %r" % (heard,))
    downloads = os.path.join(WORK, "downloads")
    os.makedirs(downloads)
    browser.send("Browser.setDownloadBehavior", behavior="allow", downloadPath=downloads)
    browser.hold("F12", 123, "ticks >= 55")
    shot = os.path.join(downloads, "kav-0001.png")
    for _ in range(100):
        if os.path.exists(shot):
            break
        time.sleep(0.1)
    size = magick("identify", "-format", "%m %wx%h", shot).stdout
    check(size == "PNG 800x600", "F12 offers the picture as a download: %r in %s" % (size, os.listdir(downloads)))
    ended = browser.hold("Escape", 27, "document.body.dataset.kav === 'ended'")
    dump = json.loads(browser.eval("document.getElementById('kav-dump').textContent") or "{}")
    hero_x = dump.get("hero", {}).get("x", start_x)
    # The browser's frame rate on a loaded machine is anyone's guess: any move will do.
    check(bool(running) and hero_x > start_x,
          "Right held for 30 animation frames moves the hero from x %s to %s in %s steps"
          % (start_x, hero_x, dump.get("frame")))
    kept = browser.eval("kept")
    check("ArrowRight:true" in kept and " :true" in kept and "F1:true" in kept,
          "the page keeps arrows, Space and F1 from the browser: %s" % sorted(set(kept)))
    check(bool(left) and lit is not None and lit > 100000,
          "F1 leaves full screen and the canvas is drawn again (%s lit pixels)" % lit)
    shown = browser.eval("!document.getElementById('kav-ended').hidden"
                         " && document.getElementById('kav-ended').innerText")
    check(bool(ended) and shown and "The game has ended." in shown,
          "Escape ends the game and the page says so: %r" % shown)

    # Losing the focus lets go of every key: Left goes down, the page loses the focus, and
    # the hero stands (a step or two at most) through 60 animation frames without a key-up.
    browser.open(base + "/page/kav.html")
    no = browser.wait("(() => { const b = document.getElementById('kav-no'); if (!b || b.offsetParent === null) return null;"
                      " const r = b.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()")
    for kind in ("mousePressed", "mouseReleased"):
        browser.send("Input.dispatchMouseEvent", type=kind, x=no[0], y=no[1], button="left", clickCount=1)
    browser.wait("document.body.dataset.kav === 'running'", 10)
    browser.eval("window.ticks = 0; (function tick() { ticks++; requestAnimationFrame(tick); })()")
    browser.key("rawKeyDown", "ArrowLeft", 37)
    browser.eval("dispatchEvent(new FocusEvent('blur'))")
    browser.wait("ticks >= 60")
    browser.hold("Escape", 27, "document.body.dataset.kav === 'ended'")
    browser.key("keyUp", "ArrowLeft", 37)
    dump = json.loads(browser.eval("document.getElementById('kav-dump').textContent") or "{}")
    x = dump.get("hero", {}).get("x", 0)
    # A few frames may run between the key-down and the blur; a key kept held walks ~50 px.
    check(x > start_x - 10, "Left held while the page loses the focus: the hero stays at x %s (from %s) in %s steps"
          % (x, start_x, dump.get("frame")))
    first_page(browser, base)
    check(browser.eval("document.getElementById('kav-touch') === null"), "without touch the page shows no touch controls")
    settings_and_pads(browser, base, start_x)
    touch_controls(browser, base, start_x)
    print("     (web checks took %.1f s)" % (time.time() - started))


def first_page(browser, base):
    """What a visitor meets, in a small window: the title, a line on the game, the keys beside
    the picture, a first screen that offers two ways to play; the picture fits at 4:3 with
    sharp pixels; nothing lies outside the window. The page's folder stays under 3 MB."""
    total = sum(os.path.getsize(os.path.join(PAGE, f)) for f in os.listdir(PAGE))
    check(total < 3 * 1024 * 1024 and os.path.exists(os.path.join(PAGE, "LICENSE.txt")),
          "the page's folder holds its licence and %d bytes (under 3 MB)" % total)
    for width, height in ((480, 360), (1280, 720)):
        browser.send("Emulation.setDeviceMetricsOverride", width=width, height=height, deviceScaleFactor=1, mobile=False)
        browser.open(base + "/page/kav.html")
        browser.wait("(() => { const b = document.getElementById('kav-yes'); return b && b.offsetParent !== null; })()")
        page = browser.eval("""(() => {
            const out = {title: document.title, meta: !!document.querySelector('meta[name=viewport]'),
                         line: document.querySelector('header p').innerText,
                         keys: document.getElementById('keys').innerText, outside: []};
            const c = document.getElementById('canvas').getBoundingClientRect();
            out.canvas = [c.left, c.top, c.width, c.height];
            out.pixelated = getComputedStyle(document.getElementById('canvas')).imageRendering;
            out.start = document.getElementById('kav-start').innerText;
            for (const e of document.querySelectorAll('header, #screen, #keys, #keys dd, #kav-start button')) {
                const r = e.getBoundingClientRect();
                if (r.left < 0 || r.top < 0 || r.right > innerWidth + 0.5 || r.bottom > innerHeight + 0.5)
                    out.outside.push((e.id || e.tagName) + ' ' + [r.left, r.top, r.right, r.bottom].map(Math.round));
            }
            const k = document.getElementById('keys').getBoundingClientRect();
            out.beside = k.left >= c.right;
            return out; })()""")
        left, top, w, h = page["canvas"]
        check("Kav" in page["title"] and page["meta"] and "beacon" in page["line"] and "fire" in page["keys"]
              and "Play full screen" in page["start"] and "Play in the page" in page["start"]
              and page["beside"] and not page["outside"] and abs(w * 3 - h * 4) <= 4 and w > 200
              and page["pixelated"] in ("pixelated", "crisp-edges"),
              "the first page at %dx%d: title %r, keys beside a %dx%d canvas (%s), start %r, outside the window: %s"
              % (width, height, page["title"], w, h, page["pixelated"], page["start"].replace("\n", " / "),
                 page["outside"]))
        keep = os.environ.get("KAV_WEB_PICTURES")
        if keep:
            with open(os.path.join(keep, "page-%dx%d.png" % (width, height)), "wb") as f:
                f.write(base64.b64decode(browser.send("Page.captureScreenshot", format="png")["data"]))
    browser.send("Emulation.setDeviceMetricsOverride", width=800, height=600, deviceScaleFactor=1, mobile=False)


# A stand-in for one game pad with the standard mapping, read through navigator.getGamepads
# as a real one is; the test moves its stick and presses its buttons through window.kavPad.
PAD_STUB = """
window.kavPad = {axes: [0, 0, 0, 0], buttons: []};
for (let i = 0; i < 17; i++) kavPad.buttons.push({pressed: false, touched: false, value: 0});
Object.defineProperty(navigator, 'getGamepads', {configurable: true, value: () =>
    [{id: 'stub pad', index: 0, connected: true, mapping: 'standard', timestamp: performance.now(),
      axes: kavPad.axes.slice(), buttons: kavPad.buttons.map(b => Object.assign({}, b))}]});
"""


def play(browser, base, settings, answer=None):
    """Opens the page with the settings text in local storage (None: none kept, False: as they
    are), answers the start question if it is asked, and waits for the game to run. Returns
    (asked, running)."""
    if settings is not False:
        browser.send("Page.navigate", url=base + "/")   # the page's origin, without the game
        browser.wait("location.pathname === '/' && document.readyState === 'complete'")
        browser.eval("localStorage.clear()" if settings is None
                     else "localStorage.setItem('kav.cfg', %s)" % json.dumps(settings))
    browser.open(base + "/page/kav.html")
    asked = browser.wait("document.body.dataset.kav === 'running' ? 'no' :"
                         " (!document.getElementById('kav-start').hidden && 'yes')", 20)
    if asked == "yes" and answer:
        button = browser.wait("(() => { const b = document.getElementById('%s'); if (b.offsetParent === null) return null;"
                              " const r = b.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()" % answer)
        for kind in ("mousePressed", "mouseReleased"):
            browser.send("Input.dispatchMouseEvent", type=kind, x=button[0], y=button[1], button="left", clickCount=1)
    running = browser.wait("document.body.dataset.kav === 'running'", 10)
    browser.eval("window.ticks = 0; (function tick() { ticks++; requestAnimationFrame(tick); })()")
    return asked, bool(running)


def ended_hero_x(browser):
    ended = browser.wait("document.body.dataset.kav === 'ended'", 10)
    dump = json.loads(browser.eval("document.getElementById('kav-dump').textContent") or "{}")
    return bool(ended), dump.get("hero", {}).get("x")


def settings_and_pads(browser, base, start_x):
    # The page's settings dialog starts from the settings in force and keeps what is saved
    # in local storage: "fullscreen no" then starts without the question, a bad line is told
    # in a dialog naming its line, D bound to right walks.
    play(browser, base, None, "kav-no")   # a game to end, and nothing kept
    browser.hold("Escape", 27, "document.body.dataset.kav === 'ended'")
    browser.eval("document.getElementById('kav-settings-open').click()")
    shown = browser.wait("document.querySelector('#kav-settings textarea').value")
    # Save reloads the page: clicked after this evaluation has returned, so that the reload
    # never cuts the evaluation off.
    browser.eval("document.querySelector('#kav-settings textarea').value = 'fullscreen no\\nbind D right\\nbogus 1\\n';"
                 " setTimeout(function () { document.querySelector('#kav-settings .save').click(); }, 0)")
    browser.wait("(localStorage.getItem('kav.cfg') || '').indexOf('bogus') >= 0", 10)
    check(shown and "bind SPACE fire\n" in shown and "fullscreen ask\n" in shown,
          "the settings dialog starts from the settings in force: %r" % shown)
    asked, running = play(browser, base, False)
    shown = browser.eval("document.getElementById('kav-messages').innerText")
    browser.hold("d", 68, "ticks >= 20")
    browser.hold("Escape", 27, "document.body.dataset.kav === 'ended'")
    ended, d_x = ended_hero_x(browser)
    check(asked == "no" and running and "kav.cfg:3: unknown setting 'bogus'" in shown and d_x is not None
          and d_x > start_x, "settings in local storage: no start question (%r), the bad line told (%r),"
          " D bound to right walks the hero from x %s to %s" % (asked, shown, start_x, d_x))

    # A game pad: its stick past the dead zone walks, Start ends the game.
    stub = browser.send("Page.addScriptToEvaluateOnNewDocument", source=PAD_STUB)["identifier"]
    try:
        asked, running = play(browser, base, None, "kav-no")
        browser.eval("kavPad.axes[0] = 0.9")
        browser.wait("ticks >= 20")
        browser.eval("kavPad.axes[0] = 0; kavPad.buttons[9].pressed = true; kavPad.buttons[9].value = 1")
        ended, pad_x = ended_hero_x(browser)
    finally:
        browser.send("Page.removeScriptToEvaluateOnNewDocument", identifier=stub)
    check(asked == "yes" and running and ended and pad_x is not None and pad_x > start_x,
          "a pad stubbed into navigator.getGamepads: its stick walks the hero from x %s to %s, Start ends"
          " the game (%s)" % (start_x, pad_x, ended))



def touch_controls(browser, base, start_x):
    """A phone held sideways (844x390, touch): the canvas fills its height at 4:3 with the
    controls beside it; tapping No answers the question; a finger on Right walks, a second
    finger on Jump jumps while the first still walks; lifted, the hero stops; a swipe never
    scrolls the page; the full-screen control takes the page full screen; Quit ends the game. Held upright, the page asks to turn the phone."""
    browser.send("Emulation.setDeviceMetricsOverride", width=844, height=390, deviceScaleFactor=1, mobile=True)
    browser.send("Emulation.setTouchEmulationEnabled", enabled=True, maxTouchPoints=5)
    try:
        browser.open(base + "/page/kav.html")
        centre = ("(() => { const e = document.querySelector('%s'); if (!e || e.offsetParent === null) return null;"
                  " const r = e.getBoundingClientRect(); return [r.x + r.width / 2, r.y + r.height / 2]; })()")

        def touch(kind, *points):
            browser.send("Input.dispatchTouchEvent", type=kind,
                         touchPoints=[{"x": p[0], "y": p[1], "id": n} for n, p in points])

        no = browser.wait(centre % "#kav-no")
        touch("touchStart", (1, no))
        touch("touchEnd")
        running = browser.wait("document.body.dataset.kav === 'running'", 10)
        browser.eval("window.ticks = 0; (function tick() { ticks++; requestAnimationFrame(tick); })()")
        canvas = browser.eval("(() => { const r = document.getElementById('canvas').getBoundingClientRect();"
                              " return [r.x, r.y, r.width, r.height]; })()")
        keys = {k: browser.eval(centre % ("#kav-touch ." + k)) for k in ("left", "right", "hide", "jump", "fire", "quit")}
        shot = browser.send("Page.captureScreenshot", format="png")["data"]
        keep = os.environ.get("KAV_WEB_PICTURES")
        if keep:
            with open(os.path.join(keep, "phone.png"), "wb") as f:
                f.write(base64.b64decode(shot))
        check(bool(running) and canvas == [162, 0, 520, 390] and all(keys.values())
              and all(x < 162 or x > 682 for x, _ in keys.values()),
              "tapping No starts the game; the canvas fills the phone's height at 4:3 (%s) with the"
              " controls beside it: %s" % (canvas, keys))

        def hero():
            return json.loads(browser.eval("Module.ccall('KavWorldNow', 'string', [], [])"))["hero"]

        browser.eval("ticks = 0")   # counted from the first touch, short of the wall on the right
        touch("touchStart", (1, keys["right"]))
        browser.wait("ticks >= 4")
        walking = hero()
        touch("touchStart", (1, keys["right"]), (2, keys["jump"]))
        # Up while the hero is off the ground: the frames a loaded machine takes are waited for.
        browser.wait("JSON.parse(Module.ccall('KavWorldNow', 'string', [], [])).hero.y > %s" % walking["y"], 5)
        jumping = hero()
        browser.eval("ticks = 10")   # the frames below count from here, however long that took
        touch("touchMove", (1, keys["right"]))
        touch("touchEnd")
        browser.wait("ticks >= 50")
        touch("touchStart", (1, keys["left"]))   # back from the step the hero meets on the right
        browser.wait("ticks >= 65")
        touch("touchEnd")
        browser.wait("ticks >= 70")
        landed = hero()
        browser.wait("ticks >= 80")
        still = hero()
        check(walking["x"] > start_x and jumping["x"] > walking["x"] and jumping["y"] > walking["y"]
              and landed["x"] < jumping["x"] and still["x"] == landed["x"],
              "Right held walks (x %s to %s), a second finger on Jump jumps while it walks (x %s, y %s to %s);"
              " Left walks back and, lifted, the hero stops (x %s, %s)"
              % (start_x, walking["x"], jumping["x"], walking["y"], jumping["y"], landed["x"], still["x"]))

        middle = (422, 195)
        touch("touchStart", (1, middle))
        for step in range(1, 6):
            touch("touchMove", (1, (middle[0] - 20 * step, middle[1] - 30 * step)))
        touch("touchEnd")
        moved = browser.eval("[scrollX, scrollY, visualViewport.scale, visualViewport.offsetTop,"
                             " document.scrollingElement.scrollTop]")
        touch("touchStart", (1, browser.eval(centre % "#kav-touch .full")))
        touch("touchEnd")
        full = browser.wait("document.fullscreenElement === document.documentElement", 10)
        touch("touchStart", (1, keys["quit"]))
        touch("touchEnd")
        ended = browser.wait("document.body.dataset.kav === 'ended'", 10)
        check(moved == [0, 0, 1, 0, 0] and bool(full) and bool(ended),
              "a swipe leaves the page where it was (%s); the full-screen control puts the page, controls"
              " and all, in full screen (%s); Quit ends the game (%s)" % (moved, full, ended))

        browser.send("Emulation.setDeviceMetricsOverride", width=390, height=844, deviceScaleFactor=1, mobile=True)
        turn = browser.wait("getComputedStyle(document.getElementById('kav-turn')).display === 'flex'"
                            " && document.getElementById('kav-turn').innerText", 5)
        check(bool(turn), "held upright, the page asks to turn the phone: %r" % turn)
    finally:
        browser.send("Emulation.setTouchEmulationEnabled", enabled=False)
        browser.send("Emulation.setDeviceMetricsOverride", width=800, height=600, deviceScaleFactor=1, mobile=False)


if __name__ == "__main__":
    sys.exit(main())
