"""Shared helpers of the scripted sessions that drive the real program through AT-SPI.

Used by scripts/pupil_session.py and scripts/teacher_session.py: step logging, walking and
searching the accessibility tree, waiting, pressing controls through their Action interface,
typing keys through the registry (as an on-screen keyboard would), screenshots, and starting and
stopping the program around a session.
"""

import argparse
import os
import subprocess
import time

import pyatspi
from gi.repository import GLib


class SessionError(Exception):
    pass


_step_no = 0


def current_step():
    return _step_no


def log(message):
    print(f"[{time.strftime('%H:%M:%S')}] {message}", flush=True)


def step(message):
    global _step_no
    _step_no += 1
    log(f"STEP {_step_no}: {message}")


def ok(message):
    log(f"  ok: {message}")


# ---- Accessibility tree ----


def role(acc):
    try:
        return acc.getRoleName()
    except Exception:  # an object gone while being walked
        return ""


def name(acc):
    try:
        return acc.name or ""
    except Exception:
        return ""


def has_state(acc, state):
    try:
        return acc.getState().contains(state)
    except Exception:
        return False


def showing(acc):
    return has_state(acc, pyatspi.STATE_SHOWING)


def has_selected(acc):
    return has_state(acc, pyatspi.STATE_SELECTED)


def enabled(acc):
    return has_state(acc, pyatspi.STATE_ENABLED)


def focused(acc):
    return has_state(acc, pyatspi.STATE_FOCUSED)


def children(acc):
    try:
        return [acc.getChildAtIndex(i) for i in range(acc.childCount)]
    except Exception:
        return []


def walk(acc, skip_list_items=True):
    """Every descendant of acc, depth first; list items and cells only when asked for."""
    stack = [acc]
    while stack:
        a = stack.pop()
        if a is None:
            continue
        yield a
        if skip_list_items and role(a) in ("list", "list box", "table", "tree table"):
            continue
        stack.extend(reversed(children(a)))


def find_all(root, pred, skip_list_items=True):
    return [a for a in walk(root, skip_list_items) if pred(a)]


def find_one(root, pred, skip_list_items=True):
    for a in walk(root, skip_list_items):
        if pred(a):
            return a
    return None


def pump_events():
    """Delivers the accessibility events that arrived meanwhile to their listeners."""
    context = GLib.MainContext.default()
    while context.pending():
        context.iteration(False)


class FocusTracker:
    """Follows the focus events of the bus, as a screen reader does: the object that last took
    the keyboard focus, also one that cannot be reached by walking the tree."""

    def __init__(self):
        self.last = None
        pyatspi.Registry.registerEventListener(self._on_focus, "object:state-changed:focused")

    def _on_focus(self, event):
        if event.detail1:
            self.last = event.source

    def focused(self):
        pump_events()
        return self.last


def wait_for(what, fn, timeout=20.0, interval=0.2):
    end = time.monotonic() + timeout
    while True:
        pump_events()
        result = fn()
        if result:
            return result
        if time.monotonic() > end:
            raise SessionError(f"timed out after {timeout:.0f} s waiting for {what}")
        time.sleep(interval)


def action_names(acc):
    try:
        action = acc.queryAction()
        return [action.getName(i) for i in range(action.nActions)]
    except Exception:
        return []


def do_action(acc, wanted=("Press", "press", "click", "Toggle", "toggle")):
    try:
        action = acc.queryAction()
    except NotImplementedError:
        raise SessionError(f"{role(acc)} '{name(acc)}' offers no Action interface")
    names = [action.getName(i) for i in range(action.nActions)]
    for w in wanted:
        if w in names:
            action.doAction(names.index(w))
            return w
    raise SessionError(f"{role(acc)} '{name(acc)}' has no press action (actions: {names})")


def button(root, caption):
    return find_one(
        root, lambda a: role(a) == "push button" and name(a) == caption and showing(a)
    )


def windows(app):
    return [w for w in children(app) if showing(w)]


def window_with(app, pred):
    for w in windows(app):
        if find_one(w, pred):
            return w
    return None


def label_texts(win):
    return [name(a) for a in walk(win) if role(a) == "label" and showing(a) and name(a)]


def text_of(acc):
    """The whole text of an object with the Text interface (an entry, a label)."""
    try:
        t = acc.queryText()
        return t.getText(0, t.characterCount)
    except Exception:
        return None


def text_length(acc):
    """Number of characters of an object with the Text interface; a password entry tells its
    length without its text."""
    try:
        return acc.queryText().characterCount
    except Exception:
        return None


def value_of(acc):
    """The value a screen reader reads for an entry (a password entry's masked text)."""
    try:
        return acc.queryValue().currentValue
    except Exception:
        return None


def grab_focus(acc):
    try:
        return acc.queryComponent().grabFocus()
    except Exception:
        return False


def click(acc, double=False):
    """A left click, or a double-click, of the mouse in the middle of a control, as a user makes it."""
    box = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    if box.width <= 0 or box.height <= 0:
        raise SessionError(f"'{name(acc)}' has no place on the screen to click")
    x, y = box.x + box.width // 2, box.y + box.height // 2
    pyatspi.Registry.generateMouseEvent(x, y, "b1d" if double else "b1c")
    time.sleep(0.15)


# ---- Keys, typed through the registry as an on-screen keyboard types them ----

KEYSYMS = {
    "Return": 0xFF0D,
    "Escape": 0xFF1B,
    "Tab": 0xFF09,
    "BackSpace": 0xFF08,
    "End": 0xFF57,
    "Left": 0xFF51,
    "Up": 0xFF52,
    "Right": 0xFF53,
    "Down": 0xFF54,
    "space": 0x20,
}


def press_key(key, pause=0.15):
    """One key press and release: a keysym name of KEYSYMS or one printable ASCII character."""
    keysym = KEYSYMS[key] if key in KEYSYMS else ord(key)
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)
    time.sleep(pause)


def type_text(text, pause=0.15):
    for ch in text:
        press_key("space" if ch == " " else ch, pause)


# ---- Screenshots ----


def screenshot(out_dir, label):
    path = os.path.join(out_dir, f"{_step_no:02d}-{label}.png")
    subprocess.run(["import", "-window", "root", path], check=True)
    ok(f"screenshot {path}")
    return path


# ---- The program around a session ----


def find_program(desktop, timeout=60):
    return wait_for(
        "the program on the accessibility bus",
        lambda: next((a for a in desktop if a is not None and name(a) == "numora"), None),
        timeout=timeout,
    )


def start_window_manager():
    """A small window manager on the virtual display, as on any desktop: it gives the keyboard
    focus back to a window when a message box over it closes (without one, keys typed after a
    message box reach no window)."""
    wm = subprocess.Popen(
        ["matchbox-window-manager", "-use_titlebar", "no"],
        stdout=subprocess.DEVNULL,
        stderr=subprocess.DEVNULL,
    )
    time.sleep(0.5)
    if wm.poll() is not None:
        raise SessionError(f"the window manager ended at once (exit code {wm.returncode})")
    return wm


def stop(proc, what):
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(timeout=5)
            ok(f"{what} ended on SIGTERM (exit code {proc.returncode})")
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
            ok(f"{what} did not end within 5 s of SIGTERM; killed")


def run_program(program, out_dir, play):
    """Starts program, calls play(app) with its accessible application and stops it again.

    A failure inside play leaves a screenshot failure.png in out_dir and is raised again; a
    program that ended by itself during the session is a failure too.
    """
    desktop = pyatspi.Registry.getDesktop(0)
    time.sleep(1.0)  # the registry is up before the program asks for the bus
    wm = start_window_manager()
    step(f"start the program {program}")
    proc = subprocess.Popen([program], cwd=os.path.dirname(program))
    failed = False
    try:
        play(find_program(desktop))
    except Exception:
        failed = True
        path = os.path.join(out_dir, "failure.png")
        subprocess.run(["import", "-window", "root", path], check=False)
        log(f"screenshot of the failure: {path}")
        raise
    finally:
        log("stopping the program")
        ended_before = proc.poll()
        stop(proc, "program")
        stop(wm, "window manager")
        if ended_before is not None and not failed:
            raise SessionError(f"the program had already ended (exit code {ended_before})")


def session_main(run, args, summary):
    """Runs run(args) and turns its outcome into the exit status: 0 only when it all worked."""
    os.makedirs(args.out, exist_ok=True)
    try:
        run(args)
    except SessionError as e:
        log(f"SESSION FAILED at step {_step_no}: {e}")
        return 1
    except Exception as e:  # an accessibility call that broke off, a tool that failed
        log(f"SESSION FAILED at step {_step_no}: {type(e).__name__}: {e}")
        return 1
    log(f"SESSION OK: {summary}")
    return 0


# ---- The name selection screen and the command line, as every session starts ----

OK_CAPTION = "O.K."


def name_selection(app, timeout):
    """Waits for the name selection screen and its name list; returns the screen and the list's
    lines."""
    sel = wait_for(
        "the name selection screen (a name list and an O.K. button)",
        lambda: window_with(app, lambda a: role(a) == "push button" and name(a) == OK_CAPTION),
        timeout=timeout,
    )

    def name_list():
        lists = [l for l in find_all(sel, lambda a: role(a) == "list" and showing(a))]
        lists = [l for l in lists if l.childCount > 1]
        return lists[0] if lists else None

    lst = wait_for("the name list with its lines", name_list)
    return sel, [c for c in children(lst) if role(c) == "list item"]


def choose_name(sel, item, shown, what):
    """Chooses a line of the name list through its action and waits for the label beside the
    list that shows `shown` (described as `what`)."""
    line = name(item)
    how = do_action(item, wanted=("Toggle", "toggle", "Press", "press", "click"))
    ok(f"'{line}' chosen with the action {how}")
    chosen = wait_for(
        f"the chosen name ({what}) shown beside the list",
        lambda: find_one(
            sel, lambda a: role(a) == "label" and shown and shown in name(a) and showing(a)
        ),
        timeout=10,
    )
    ok(f"chosen-name label reads '{name(chosen)}'")


def session_arguments(description, default_out):
    """The command line every session takes: the installation's program, the data tool and the
    screenshot folder; program_folder is the program's folder."""
    parser = argparse.ArgumentParser(description=description)
    parser.add_argument("--program", required=True, help="the numora program of the installation")
    parser.add_argument("--data-tool", required=True, help="the numora-data tool")
    parser.add_argument("--out", default=default_out, help="folder for the screenshots")
    args = parser.parse_args()
    args.program_folder = os.path.dirname(os.path.abspath(args.program))
    return args
