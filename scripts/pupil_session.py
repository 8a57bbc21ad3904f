#!/usr/bin/python3
"""Plays one whole pupil session on the real program through the accessibility bus (AT-SPI).

Started by scripts/pupil-session.sh inside a private D-Bus session under a virtual X server:
chooses a pupil on the name selection screen; on the hub switches the score lists to the time
view and back through the radio buttons' toggle action; starts level 1 with two digit keys typed
faster than the hub repaints (one drill must open); double-clicks a wrong tile (one wrong answer
must count); answers ten problems by pressing every divisor tile and then 判定, by its action or
by Enter on the focused button; leaves the evaluation with Enter on メニューへ and checks that the
run is counted in today's figures. Controls are found by their accessible names and pressed
through the Action interface; keys and the double-click are sent through the registry's device
event synthesis. Exits 0 only when every step worked.
"""

import re
import subprocess
import sys
import time

import pyatspi
from atspi_helpers import (
    OK_CAPTION,
    SessionError,
    action_names,
    button,
    children,
    choose_name,
    do_action,
    enabled,
    find_one,
    label_texts,
    name,
    name_selection,
    ok,
    role,
    run_program,
    screenshot,
    session_arguments,
    session_main,
    showing,
    step,
    wait_for,
    walk,
    window_with,
    windows,
)

TARGET_CAPTION = "の約数を押しなさい"
JUDGE_CAPTION = "判定"
MENU_CAPTION = "メニューへ"
RETRY_CAPTION = "もう一度"
PROBLEMS = 10
TIME_VIEW_CAPTION = "ﾀｲﾑ表示"
POINTS_VIEW_CAPTION = "ﾎﾟｲﾝﾄ表示"
BEST_TIMES_TITLE = "ベスト成績"
POINTS_TITLE = "獲得ポイント（今まで順位）"
HINT_CAPTION = "ヒント"
RECORDING_CAPTION = "成績記録中"


# ---- Keys and the mouse as the devices give them (the registry synthesizes them) ----


def press_key_now(key):
    """One key press and release without a pause, so that two come faster than a repaint."""
    keysym = 0xFF0D if key == "Return" else ord(key)
    pyatspi.Registry.generateKeyboardEvent(keysym, None, pyatspi.KEY_SYM)


def centre(acc):
    extents = acc.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
    return extents.x + extents.width // 2, extents.y + extents.height // 2


def point_at(acc):
    x, y = centre(acc)
    pyatspi.Registry.generateMouseEvent(x, y, "abs")


def double_click(acc):
    """A real double-click with the left button in the middle of acc."""
    x, y = centre(acc)
    pyatspi.Registry.generateMouseEvent(x, y, "abs")
    pyatspi.Registry.generateMouseEvent(x, y, "b1d")


def radio(root, caption):
    return find_one(
        root, lambda a: role(a) == "radio button" and name(a) == caption and showing(a)
    )


def checked(acc):
    try:
        return acc.getState().contains(pyatspi.STATE_CHECKED)
    except Exception:
        return False


# ---- Figures from numora-data ----


def stats(tool, folder):
    out = subprocess.run(
        [tool, "stats", "--program-folder", folder], check=True, capture_output=True, text=True
    ).stdout
    lines = [l.split("\t") for l in out.splitlines() if l.strip()]
    head, rows = lines[0], lines[1:]
    return {(r[0], r[1]): dict(zip(head, r)) for r in rows}


# ---- The session ----


def run(args):
    step("figures before the session (numora-data stats)")
    before = stats(args.data_tool, args.program_folder)
    ok(f"{len(before)} rows of level/pupil figures")
    run_program(args.program, args.out, lambda app: play(args, app, before))


def play(args, app, before):
    out = args.out
    ok("program registered on the accessibility bus")

    # -- Name selection --
    step("name selection screen: the name list and O.K.")
    sel, items = name_selection(app, timeout=30)
    ok(f"name list exposes {len(items)} lines, first: {[name(i) for i in items[:3]]}")
    screenshot(out, "namesel")

    step("choose a pupil (not a teacher) in the list")

    def is_pupil(line):
        # Teachers are listed with the grade "大+"; the first line is the separator.
        if not line.strip() or line.startswith("－") or line.startswith("大"):
            return False
        return re.match(r"^\S+\s+\S", line) is not None

    pupil_item = next((i for i in items if is_pupil(name(i))), None)
    if pupil_item is None:
        raise SessionError("no pupil line in the name list")
    line = name(pupil_item)
    # The name is the line's second field: family and given name joined by a full-width blank.
    m = re.match(r"^\S+\s+(\S+　?\S*)", line)
    family = re.split("[　 ]", m.group(1))[0] if m else ""
    choose_name(sel, pupil_item, family, f"{family}…")
    screenshot(out, "namesel-chosen")

    step("press O.K.")
    do_action(button(sel, OK_CAPTION))

    # -- Hub --
    def start_button(win, level):
        return find_one(
            win,
            lambda a: role(a) == "push button"
            and name(a).startswith("ｽﾀｰﾄ")
            and name(a).endswith(f"({level})")
            and showing(a),
        )

    step("hub: wait for the start button of level 1")
    hub = wait_for(
        "the hub with its start buttons", lambda: window_with(app, lambda a: start_button(a, 1))
    )
    start = start_button(hub, 1)
    if not enabled(start):
        raise SessionError("the start button of level 1 is disabled for this pupil")
    hub_labels_before = label_texts(hub)
    pupil_lines = [t for t in hub_labels_before if family and family in t]
    ok(f"hub shows the pupil: {pupil_lines[:2]}")
    ok(f"start button '{name(start)}'")
    # The level names start a drill too; they must be pressable without a mouse.
    level_names = [
        name(a)
        for a in walk(hub)
        if role(a) == "label" and showing(a) and "Press" in action_names(a)
    ]
    if not level_names:
        raise SessionError("the hub's level names offer no press action")
    ok(f"level names offer a press action: {level_names}")
    screenshot(out, "hub")

    if "Press" not in action_names(start) and "press" not in action_names(start):
        raise SessionError("the start button of level 1 offers no press action")

    # The view buttons react to being checked, whatever checks them: the toggle action of an
    # assistive tool rebuilds the lists under a new title.
    def list_title(title):
        return find_one(hub, lambda a: role(a) == "label" and name(a) == title and showing(a))

    step(f"hub: toggle {TIME_VIEW_CAPTION} through the accessibility interface")
    if not list_title(POINTS_TITLE):
        raise SessionError(f"the hub does not open with the list '{POINTS_TITLE}'")
    time_view = radio(hub, TIME_VIEW_CAPTION)
    if time_view is None:
        raise SessionError(f"no radio button {TIME_VIEW_CAPTION} on the hub")
    how = do_action(time_view, wanted=("Toggle", "toggle", "Press", "press", "click"))
    wait_for(f"{TIME_VIEW_CAPTION} checked", lambda: checked(time_view), timeout=5)
    wait_for(
        f"the lists rebuilt as '{BEST_TIMES_TITLE}'",
        lambda: list_title(BEST_TIMES_TITLE) and enabled(start_button(hub, 1)),
        timeout=15,
    )
    ok(f"{TIME_VIEW_CAPTION} ({how}): the lists show '{BEST_TIMES_TITLE}'")
    screenshot(out, "hub-time-view")
    step(f"hub: toggle {POINTS_VIEW_CAPTION} back")
    points_view = radio(hub, POINTS_VIEW_CAPTION)
    do_action(points_view, wanted=("Toggle", "toggle", "Press", "press", "click"))
    wait_for(
        f"the lists rebuilt as '{POINTS_TITLE}'",
        lambda: list_title(POINTS_TITLE) and enabled(start_button(hub, 1)),
        timeout=15,
    )
    ok(f"{POINTS_VIEW_CAPTION}: the lists show '{POINTS_TITLE}' again")
    hub_labels_before = label_texts(hub)

    # Two digit keys typed faster than the hub repaints start one drill, not two.
    step("hub: type 1 twice at once (two queued start requests)")
    point_at(hub)
    press_key_now("1")
    press_key_now("1")

    # -- Drill --
    step("drill: wait for the target line")

    def target_caption():
        for w in windows(app):
            t = find_one(w, lambda a: role(a) == "label" and name(a) == TARGET_CAPTION and showing(a))
            if t:
                return t
        return None

    caption = wait_for(f"the line ending in {TARGET_CAPTION}", target_caption)
    board = caption.parent

    def drill_windows():
        return [
            w
            for w in windows(app)
            if find_one(w, lambda a: role(a) == "label" and name(a) == TARGET_CAPTION and showing(a))
        ]

    time.sleep(1.5)  # the second key, had it been taken, would have opened its drill by now
    if len(drill_windows()) != 1:
        raise SessionError(f"two queued keys opened {len(drill_windows())} drill windows")
    ok("one drill window for the two queued keys")

    def target_number():
        for a in children(board):
            if role(a) == "label" and showing(a) and name(a).isdigit():
                return int(name(a))
        return None

    def tiles():
        found = {}
        for a in children(board):
            if role(a) == "push button" and showing(a) and name(a).isdigit():
                found[int(name(a))] = a
        return found

    wait_for("the number tiles", lambda: len(tiles()) == 100)
    judge = button(board, JUDGE_CAPTION)
    if judge is None:
        raise SessionError(f"no {JUDGE_CAPTION} button on the drill screen")
    ok(f"board with 100 tiles and the {JUDGE_CAPTION} button")
    screenshot(out, "drill")

    def hints_shown():
        hint = find_one(board, lambda a: role(a) == "label" and name(a) == HINT_CAPTION)
        if hint is None or not showing(hint):
            return []
        return [
            name(a)
            for a in children(hint.parent)
            if role(a) == "label" and showing(a) and name(a).isdigit()
        ]

    previous = None
    double_clicked = False
    enter_used = 0
    for k in range(1, PROBLEMS + 1):
        if k > 1:
            wait_for(
                f"problem {k} (a new target)",
                lambda: target_number() is not None and target_number() != previous,
            )
        target = wait_for("the target number", target_number)
        board_tiles = tiles()
        divisors = [n for n in range(1, 101) if target % n == 0]
        # A double-click on a wrong tile is one wrong answer: one hint pair. (A target with at
        # least two pairs of divisors tells one wrong answer from two.)
        if not double_clicked and len(divisors) >= 4:
            wrong = next(n for n in range(2, 101) if target % n != 0)
            step(f"problem {k}: double-click the wrong tile {wrong}")
            double_click(board_tiles[wrong])
            wait_for("the hint panel", lambda: len(hints_shown()) > 0, timeout=10)
            time.sleep(1.0)  # a second wrong answer would show its pair by now
            shown = hints_shown()
            if sorted(int(h) for h in shown) != [1, target]:
                raise SessionError(f"one double-click showed the hints {shown}, not 1 and {target}")
            ok(f"one wrong answer: hints {shown}")
            screenshot(out, "drill-double-click")
            double_clicked = True
        step(f"problem {k}/{PROBLEMS}: {target}{TARGET_CAPTION} → press {divisors}")
        for n in divisors:
            tile = board_tiles.get(n)
            if tile is None:
                raise SessionError(f"tile {n} not found on the board")
            do_action(tile)
            # A pressed divisor tile is turned white and disabled; the press action clicks the
            # button after its short press animation, so wait for that.
            wait_for(f"tile {n} to be marked as pressed", lambda: not enabled(tile), timeout=5,
                     interval=0.05)
        ok(f"tiles {divisors} marked as pressed")
        if k == 1:
            screenshot(out, "drill-pressed")
        if k % 2 == 1:
            # The tile press gave 判定 the focus: Enter presses it.
            press_key_now("Return")
            ok(f"Enter pressed the focused {JUDGE_CAPTION}")
            enter_used += 1
        else:
            do_action(judge)
            ok(f"{JUDGE_CAPTION} pressed")
        previous = target

    # The end-of-run cover stays in view around the small wait window during the wait.
    wait_for(
        "the end-of-run cover",
        lambda: any(
            find_one(w, lambda a: role(a) == "label" and name(a) == RECORDING_CAPTION and showing(a))
            for w in windows(app)
        ),
        timeout=10,
        interval=0.05,
    )
    screenshot(out, "drill-end-cover")
    if not double_clicked:
        raise SessionError("no target had two pairs of divisors for the double-click check")
    ok(f"{JUDGE_CAPTION} pressed by Enter in {enter_used} of {PROBLEMS} problems")

    # -- Evaluation --
    step(f"evaluation: wait for {MENU_CAPTION}")
    ev = wait_for(
        f"the evaluation window with {MENU_CAPTION}",
        lambda: window_with(
            app, lambda a: role(a) == "push button" and name(a) == MENU_CAPTION and showing(a)
        ),
        timeout=30,
    )
    ok(f"evaluation shows: {label_texts(ev)}")
    retry = button(ev, RETRY_CAPTION)
    ok(f"{RETRY_CAPTION} {'shown' if retry else 'not shown'}")
    screenshot(out, "evaluation")

    step(f"Enter on the focused {MENU_CAPTION}")
    point_at(button(ev, MENU_CAPTION))
    time.sleep(0.3)  # the button takes the focus right after it appears
    press_key_now("Return")

    step("hub again: today's figures include the run")
    hub = wait_for(
        "the hub after the evaluation",
        lambda: window_with(app, lambda a: start_button(a, 1)),
        timeout=30,
    )
    time.sleep(0.5)
    if drill_windows():
        raise SessionError("a drill window is still open behind the hub")
    ok("no drill window left open")
    hub_labels_after = label_texts(hub)
    changed = [t for t in hub_labels_after if t not in hub_labels_before]
    ok(f"hub labels that changed: {changed}")
    screenshot(out, "hub-after")

    after = stats(args.data_tool, args.program_folder)
    grown = []
    for key, row in after.items():
        old = before.get(key)
        if key[0] != "1":
            if old != row:
                raise SessionError(f"figures of another level changed: {key}")
            continue
        old_today = int(old["todayRuns"]) if old else 0
        old_total = int(old["totalRuns"]) if old else 0
        if int(row["todayRuns"]) != old_today or int(row["totalRuns"]) != old_total:
            grown.append((key, old_today, int(row["todayRuns"]), old_total, int(row["totalRuns"])))
    if len(grown) != 1:
        raise SessionError(f"expected one pupil's level-1 figures to grow, got {grown}")
    (level, pupil), t0, t1, a0, a1 = grown[0]
    if t1 != t0 + 1 or a1 != a0 + 1:
        raise SessionError(f"pupil {pupil}: today {t0}→{t1}, total {a0}→{a1} (expected +1 each)")
    ok(f"numora-data stats: pupil {pupil} level {level}: today's runs {t0}→{t1}, all runs {a0}→{a1}")
    # The level's column shows today's runs and points as "N回/P点" above the all-time figures.
    today_figure = [t for t in changed if re.fullmatch(rf"{t1}回/\d+点", t)]
    if not today_figure:
        raise SessionError(f"the hub shows no new figure '{t1}回/…点' for today's runs")
    ok(f"hub shows today's figure of level 1: '{today_figure[0]}'")


def main():
    args = session_arguments(__doc__, "/tmp/pupil-session")
    return session_main(
        run,
        args,
        "name selection → hub (views toggled, two queued keys: one drill) → ten problems "
        "(a double-click counted once, Enter on 判定) → evaluation (Enter) → hub",
    )


if __name__ == "__main__":
    sys.exit(main())
