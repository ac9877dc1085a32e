#!/usr/bin/python3
# The editor with assistive technology on: the real Mirveledit under Xvfb, with Qt's AT-SPI bridge
# always on and an accessibility bus of its own, driven from outside as a user drives it (the
# menu, the file dialog, keys and clicks) and read back as a screen reader reads it (the counter
# label's name through the bus). Two figures:
#   - the Open of 1,000,000 pairs against the Open of one pair, each from the Return that accepts
#     the file dialog until the counter reads 1/N through the bus (goal: within 1.5x);
#   - moving through the million-pair list (Down, Page Down, End, Home, a click on an item), each
#     from the key or click until the counter reads the new place.
# Both without a reader listening, then with one that hears every event and asks about each.
# Skips with a message, and succeeds, when Xvfb, the bus or the Python bindings are missing.
import ctypes
import os
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import time

OPENS = 7  # of each size, alternating
LARGE = 1_000_000
TIMEOUT = 30.0  # seconds for any one step to show on the bus
WHOLE_RUN = 600  # seconds for everything, after which the run is stopped


def skip(why):
    print(f"bench_editor_a11y: skipped: {why}")
    sys.exit(0)


def write_list(path, pairs):
    # Records of 60 bytes: a length byte and 17 bytes of French, a length byte and 41 of Japanese.
    japonais = b"\x92\x50\x8c\xea"  # 単語 in Shift-JIS
    with open(path, "wb") as out:
        chunk = bytearray()
        for i in range(pairs):
            francais = b"mot %d" % i
            chunk += bytes([len(francais)]) + francais.ljust(17, b"\0")
            chunk += bytes([len(japonais)]) + japonais.ljust(41, b"\0")
            if len(chunk) >= 6_000_000:
                out.write(chunk)
                chunk.clear()
        out.write(chunk)


# ---- outer: a display, a session bus, then this script again inside them --------------------


def start_xvfb():
    read_end, write_end = os.pipe()
    xvfb = subprocess.Popen(
        ["Xvfb", "-displayfd", str(write_end), "-screen", "0", "1024x768x24", "-nolisten", "tcp"],
        pass_fds=(write_end,), stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    os.close(write_end)
    number = b""
    deadline = time.monotonic() + 10
    os.set_blocking(read_end, False)
    while time.monotonic() < deadline and not number.endswith(b"\n"):
        try:
            number += os.read(read_end, 16)
        except BlockingIOError:
            time.sleep(0.05)
        if xvfb.poll() is not None:
            break
    os.close(read_end)
    if not number.strip():
        xvfb.kill()
        return None, None
    return xvfb, ":" + number.decode().strip()


def outer():
    here = os.path.dirname(os.path.realpath(__file__))
    editor = os.path.join(here, "Mirveledit")
    if not os.path.exists(editor):
        skip(f"{editor} is not built")
    for tool in ("Xvfb", "dbus-run-session", "xdotool"):
        if not shutil.which(tool):
            skip(f"{tool} is not installed")
    try:
        import pyatspi  # noqa: F401
    except ImportError:
        skip("python3-pyatspi is not installed")
    if not any(os.path.exists(p) for p in ("/usr/libexec/at-spi-bus-launcher",
                                           "/usr/lib/at-spi2-core/at-spi-bus-launcher")):
        skip("at-spi2-core (at-spi-bus-launcher) is not installed")

    with tempfile.TemporaryDirectory(prefix="bench_editor_a11y.") as work:
        # The editor keeps its settings beside itself, the file dialog its history in the
        # configuration folder: both go to the temporary folder, nothing to the user's.
        shutil.copy2(editor, os.path.join(work, "Mirveledit"))
        with open(os.path.join(work, "Mirveledit.ini"), "wb") as ini:
            ini.write(b"[Form]\r\nLeft=100\r\nTop=100\r\n")
        write_list(os.path.join(work, "one.mirvel"), 1)
        write_list(os.path.join(work, "million.mirvel"), LARGE)
        runtime = os.path.join(work, "runtime")
        os.mkdir(runtime, 0o700)

        xvfb, display = start_xvfb()
        if not xvfb:
            skip("Xvfb did not start")
        try:
            env = dict(os.environ, DISPLAY=display, XDG_RUNTIME_DIR=runtime,
                       XDG_CONFIG_HOME=os.path.join(work, "config"))
            # A group of its own, so that a run that hangs goes with everything it started.
            session = subprocess.Popen(["dbus-run-session", "--", sys.executable, os.path.realpath(__file__),
                                        "--inner", work], env=env, stdout=subprocess.PIPE,
                                       stderr=subprocess.PIPE, text=True, start_new_session=True)
            try:
                output, errors = session.communicate(timeout=WHOLE_RUN)
            except subprocess.TimeoutExpired:
                os.killpg(session.pid, signal.SIGKILL)
                session.wait()
                skip(f"no result within {WHOLE_RUN} s")
            # The bus's registry announces itself on the same output.
            sys.stdout.write("".join(line for line in output.splitlines(keepends=True)
                                     if not line.startswith("SpiRegistry")))
            if not os.path.exists(os.path.join(work, "inside")):
                skip("dbus-run-session did not start a session bus")
            if session.returncode not in (0, 3):
                sys.stderr.write(errors)
                sys.exit(session.returncode)
        finally:
            xvfb.terminate()
            xvfb.wait()


# ---- inner: the editor on the bus, driven and read back ---------------------------------------


class Keyboard:
    """Keys and clicks through XTest on one connection, so that sending one costs no process."""

    def __init__(self):
        self.x11 = ctypes.CDLL("libX11.so.6")
        self.xtst = ctypes.CDLL("libXtst.so.6")
        self.x11.XOpenDisplay.restype = ctypes.c_void_p
        self.x11.XOpenDisplay.argtypes = [ctypes.c_char_p]
        self.x11.XStringToKeysym.restype = ctypes.c_ulong
        self.x11.XStringToKeysym.argtypes = [ctypes.c_char_p]
        self.x11.XKeysymToKeycode.restype = ctypes.c_ubyte
        self.x11.XKeysymToKeycode.argtypes = [ctypes.c_void_p, ctypes.c_ulong]
        self.x11.XSync.argtypes = [ctypes.c_void_p, ctypes.c_int]
        self.x11.XSetInputFocus.argtypes = [ctypes.c_void_p, ctypes.c_ulong, ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeKeyEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeButtonEvent.argtypes = [ctypes.c_void_p, ctypes.c_uint, ctypes.c_int, ctypes.c_ulong]
        self.xtst.XTestFakeMotionEvent.argtypes = [ctypes.c_void_p, ctypes.c_int, ctypes.c_int, ctypes.c_int,
                                                   ctypes.c_ulong]
        self.display = self.x11.XOpenDisplay(None)

    def key(self, *names):
        codes = [self.x11.XKeysymToKeycode(self.display, self.x11.XStringToKeysym(n.encode())) for n in names]
        # A chord a little apart, as fingers press it: with a reader listening, Qt hands each key
        # to the bus first, and a modifier sent together with its key can arrive out of step.
        pause = 0.01 if len(codes) > 1 else 0
        pressed = None
        for code in codes:
            self.xtst.XTestFakeKeyEvent(self.display, code, 1, 0)
            self.x11.XSync(self.display, 0)
            pressed = time.perf_counter()  # the last key down: what the program acts on
            time.sleep(pause)
        for code in reversed(codes):
            self.xtst.XTestFakeKeyEvent(self.display, code, 0, 0)
            self.x11.XSync(self.display, 0)
            time.sleep(pause)
        return pressed

    def click(self, x, y):
        self.xtst.XTestFakeMotionEvent(self.display, -1, x, y, 0)
        self.xtst.XTestFakeButtonEvent(self.display, 1, 1, 0)
        self.x11.XSync(self.display, 0)
        pressed = time.perf_counter()
        self.xtst.XTestFakeButtonEvent(self.display, 1, 0, 0)
        self.x11.XSync(self.display, 0)
        return pressed

    def focus(self, window):
        # No window manager runs: the window gets the keyboard by being given it.
        self.x11.XSetInputFocus(self.display, window, 1, 0)
        self.x11.XSync(self.display, 0)


def inner(work):
    open(os.path.join(work, "inside"), "w").close()
    import pyatspi

    env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1", QT_QPA_PLATFORM="xcb",
               QT_ACCESSIBILITY="1")
    env.pop("QT_QPA_PLATFORMTHEME", None)
    pyatspi.Registry.getDesktop(0)  # the bus and its registry up before the editor looks for them
    for listening in (False, True):
        # Then again with a reader listening to every event, which makes Qt's bridge send them all.
        heard = os.path.join(work, "heard") if listening else None
        reader = subprocess.Popen([sys.executable, os.path.realpath(__file__), "--reader", heard]) if listening else None
        time.sleep(1 if listening else 0)
        editor = subprocess.Popen([os.path.join(work, "Mirveledit")], cwd=work, env=env,
                                  stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
        try:
            measure(work, editor, pyatspi, "a reader listening to every event" if listening else "no reader listening",
                    heard)
        finally:
            editor.kill()
            editor.wait()
            if reader:
                reader.kill()
                reader.wait()


def reader(heard):
    """A stand-in for a screen reader: told of every object, focus and window event, it asks what
    a reader asks to speak one (name, role, place among its siblings, how many they are), and
    writes down the name of each list item that takes the focus or the selection."""
    import pyatspi

    def spoken(event):
        try:
            source = event.source
            name, role = source.name, source.getRole()
            source.getIndexInParent()
            if source.parent is not None:
                source.parent.childCount
            if role == pyatspi.ROLE_LIST_ITEM and event.detail1 == 1 and (
                    event.type.startswith("focus") or "focused" in event.type or "selected" in event.type):
                with open(heard, "a") as out:
                    out.write(name + "\n")
        except Exception:  # the object may be gone by now, as with a real reader
            pass

    pyatspi.Registry.registerEventListener(spoken, "object:", "focus:", "window:")
    pyatspi.Registry.start()


def wait_for(what, condition, timeout=TIMEOUT):
    deadline = time.monotonic() + timeout
    while True:
        value = condition()
        if value:
            return value
        if time.monotonic() > deadline:
            raise SystemExit(f"bench_editor_a11y: {what} did not happen within {timeout:.0f} s")
        time.sleep(0.01)


def measure(work, editor, pyatspi, listening, heard):
    def application():
        for app in pyatspi.Registry.getDesktop(0):
            if app is not None and app.name == "Mirveledit":
                return app
        return None

    deadline = time.monotonic() + TIMEOUT
    app = None
    while app is None and time.monotonic() < deadline and editor.poll() is None:
        app = application()
        time.sleep(0.1)
    if app is None:
        print(f"bench_editor_a11y: skipped: the editor (exit code {editor.poll()}) never appeared on the "
              "accessibility bus")
        sys.exit(3)

    # The controls, found once while the list holds one item (a reader that walked a million
    # items here would measure itself).
    controls = []

    def walk(node):
        controls.append(node)
        if node.getRole() == pyatspi.ROLE_LIST:
            return
        for i in range(node.childCount):
            child = node.getChildAtIndex(i)
            if child is not None:
                walk(child)

    walk(app)
    counter = next(c for c in controls if c.getRole() == pyatspi.ROLE_LABEL and c.name == "1/1")
    wordlist = next(c for c in controls if c.getRole() == pyatspi.ROLE_LIST)

    def read(node):
        node.clearCache()  # the name as the program has it now, not as the client last heard it
        return node.name

    window = int(subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Mirveledit$"],
                                stdout=subprocess.PIPE, text=True, timeout=TIMEOUT).stdout.split()[0])
    keys = Keyboard()

    def cpu_times():
        # The editor's processor time by thread: on a busy machine the wall clock also counts
        # the time others had the processor.
        times = {}
        for task in os.listdir(f"/proc/{editor.pid}/task"):
            try:
                with open(f"/proc/{editor.pid}/task/{task}/schedstat") as stat:
                    times[task] = int(stat.read().split()[0]) * 1e-9
            except FileNotFoundError:  # a thread that just ended
                pass
        return times

    def cpu_since(before):
        # Over the threads alive at the end: the file dialog's own thread ends during the Open.
        return sum(t - before.get(task, 0) for task, t in cpu_times().items())

    def dialog():
        for child in app:
            if child is not None and child.getRole() == pyatspi.ROLE_DIALOG:
                return child
        return None

    def open_list(name, expected):
        # A key that comes with the focus, before the window has taken it, can lose its Alt.
        for attempt in range(3):
            keys.focus(window)
            time.sleep(0.2)
            keys.key("Alt_L", "f")
            time.sleep(0.2)
            keys.key("o")
            try:
                wait_for("the open dialog", dialog, timeout=5)
                break
            except SystemExit:
                if attempt == 2:
                    raise
                keys.key("Escape")
        time.sleep(0.3)  # the dialog settles and takes the keyboard
        keys.key("Control_L", "a")
        subprocess.run(["xdotool", "type", "--delay", "1", os.path.join(work, name)], check=True, timeout=TIMEOUT)
        time.sleep(0.2)
        cpu = cpu_times()
        start = keys.key("Return")
        wait_for(f"the counter reading {expected}", lambda: read(counter) == expected)
        elapsed, cpu = time.perf_counter() - start, cpu_since(cpu)
        wait_for("the dialog to go", lambda: dialog() is None)
        time.sleep(0.3)
        return elapsed, cpu

    # Once unmeasured: the counter reads 1/1 at start, and the first large list the process
    # takes pays for memory that the later ones find ready.
    open_list("million.mirvel", f"1/{LARGE}")
    opens = {"one": [], "million": []}
    for _ in range(OPENS):
        opens["one"].append(open_list("one.mirvel", "1/1"))
        opens["million"].append(open_list("million.mirvel", f"1/{LARGE}"))

    # A reader reads the list: its name, its size and items anywhere in it, without walking it.
    start = time.perf_counter()
    wordlist.clearCache()
    items = wordlist.childCount
    last = wordlist.getChildAtIndex(LARGE - 1)
    names = (wordlist.name, items, last.name if last else None, last.getRoleName() if last else None)
    reading = time.perf_counter() - start

    # Moving through the list: a click on its first item, then keys, each from the key or button
    # going down until the counter reads where the selection went.
    extents = wordlist.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    moves = []

    def move(what, action, expected):
        before = read(counter)
        start = action()
        if expected is None:
            wait_for(what, lambda: read(counter) != before)
        else:
            wait_for(what, lambda: read(counter) == f"{expected}/{LARGE}")
        elapsed, shown = time.perf_counter() - start, read(counter)
        told = "-"
        if heard:
            # The item the reader was last told of, once it has heard of the one now current.
            current = "mot %d" % (int(shown.split("/")[0]) - 1)

            def last_heard():
                if not os.path.exists(heard):
                    return None
                with open(heard) as lines:
                    names = lines.read().splitlines()
                return names[-1] if names and names[-1] == current else None

            try:
                told = wait_for("the reader hearing of " + current, last_heard, timeout=2)
            except SystemExit:
                told = "(not told)"
        moves.append((what, elapsed, shown, told))
        time.sleep(0.1)

    row = 14  # the items' height
    keys.focus(window)
    move("click on the 5th item", lambda: keys.click(extents.x + 20, extents.y + 4 * row + row // 2), 5)
    move("click on the 1st item", lambda: keys.click(extents.x + 20, extents.y + row // 2), 1)
    for _ in range(3):
        move("Down", lambda: keys.key("Down"), None)
        move("Page Down", lambda: keys.key("Next"), None)
    move("End", lambda: keys.key("End"), LARGE)
    move("Up", lambda: keys.key("Up"), LARGE - 1)
    move("Page Up", lambda: keys.key("Prior"), None)
    move("click on the last visible item", lambda: keys.click(extents.x + 20, extents.y + 8 * row + row // 2),
         None)
    move("Home", lambda: keys.key("Home"), 1)
    move("End", lambda: keys.key("End"), LARGE)
    move("Home", lambda: keys.key("Home"), 1)

    def median(size, which):
        return statistics.median(t[which] for t in opens[size])

    def each(size, which):
        return " ".join("%.0f" % (t[which] * 1e3) for t in opens[size])

    print(f"Editor under Xvfb with the AT-SPI bridge on, {listening}, read back through the accessibility bus")
    print(f"(median of {OPENS}; each from the Return that accepts the file dialog to the counter read):")
    print("                        elapsed                          editor's processor time")
    for size, label in (("one", "1 pair"), ("million", "1,000,000 pairs")):
        print("  open, %-16s %7.1f ms (each: %-22s) %6.1f ms (each: %s)" %
              (label, median(size, 0) * 1e3, each(size, 0), median(size, 1) * 1e3, each(size, 1)))
    print("  1,000,000 pairs against 1 (goal: within 1.5x)  %6.2fx elapsed, %6.2fx processor time" %
          (median("million", 0) / median("one", 0), median("million", 1) / median("one", 1)))
    # What the size adds, apart from the file dialog's closing that both Opens pay.
    print("  what 1,000,000 pairs add                         %6.1f ms elapsed, %6.1f ms processor time" %
          ((median("million", 0) - median("one", 0)) * 1e3, (median("million", 1) - median("one", 1)) * 1e3))
    print("The list read through the bus: name %r, %d items, item %d %r (%s), in %.1f ms" %
          (names[0], names[1], LARGE, names[2], names[3], reading * 1e3))
    print("Moving through the 1,000,000-pair list, until the counter reads the new place:")
    for what, elapsed, shown, told in moves:
        print("  %-32s %7.1f ms   counter %-17s reader told of %s" % (what, elapsed * 1e3, shown, told))
    print("  slowest %.1f ms" % (max(m[1] for m in moves) * 1e3))


if __name__ == "__main__":
    if len(sys.argv) >= 3 and sys.argv[1] == "--inner":
        inner(sys.argv[2])
    elif len(sys.argv) >= 3 and sys.argv[1] == "--reader":
        reader(sys.argv[2])
    else:
        outer()
