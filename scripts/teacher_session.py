#!/usr/bin/python3
"""Plays one teacher session on the real program through the accessibility bus (AT-SPI).

Started by scripts/teacher-session.sh inside a private D-Bus session under a virtual X server:
chooses a teacher on the name selection screen, opens the hub's data-change gate, is refused
with a wrong password and let in with the right one (read from the installation's common
settings file), moves through the level standards grid with the arrow keys, types a new value
into a cell, saves it, checks the standards file on disk and goes back to a fresh hub that shows
the new standard. Through the gate again it opens the results browser, double-clicks a line with
the mouse, changes the run's time and checks it with numora-data, cancels a deletion and checks
the file is unchanged, opens the next record with Down and Enter, and goes back; last it opens
the personal time chart from the hub. Controls are found by their accessible names; buttons are pressed through the
Action interface or, where a keyboard user would, focused and pressed with Space or Enter; text
is typed as key presses. Exits 0 only when every step worked.
"""

import os
import re
import subprocess
import sys
import time

from atspi_helpers import (
    OK_CAPTION,
    FocusTracker,
    SessionError,
    log,
    button,
    children,
    choose_name,
    click,
    do_action,
    enabled,
    find_all,
    find_one,
    focused,
    grab_focus,
    has_selected,
    label_texts,
    name,
    name_selection,
    ok,
    press_key,
    role,
    run_program,
    screenshot,
    session_arguments,
    session_main,
    showing,
    step,
    text_length,
    text_of,
    type_text,
    wait_for,
    window_with,
    windows,
)

DATA_CAPTION = "データ処理"
GATE_LABEL = "データ変更パスワード"
BROWSER_CAPTION = "データ変更"
EDITOR_CAPTION = "合格タイムデータ変更"
BACK_CAPTION = "戻る"
WRONG_PASSWORD_MESSAGE = "パスワードを入力して下さい"
EDITOR_TITLE = "成績の基準となるデータを変更できます"
SAVE_CAPTION = "更新記録"
RESTORE_CAPTION = "元に戻す"
SAVE_QUESTION = "データが変更されています。記録しますか？"
KEY_HELP = "スペース：セルクリア　　Shift + ↓：セルコピー"
# First line of the explanation shown for each standards column.
COLUMN_EXPLANATIONS = {
    1: "合格基準タイム",
    2: "合格最低ラインタイム",
    3: "目標ポイント",
    4: "目標回数",
    5: "ポイント倍率",
    6: "やりすぎ禁止回数",
    7: "やりすぎ禁止ポイント",
    8: "合格判定をする日数",
    9: "やりすぎ判定をする日数",
}
STANDARDS_FILE = "タイム回数データ.txt"
PATH_FILE = "パスデータ.txt"
COMMON_FILE = "共通データ.txt"
# Long steps (statistics rebuilt from the results file, a window built) on a loaded machine.
SCREEN_TIMEOUT = 60


# ---- Installation files ----


def read_fields(path):
    """The fields of a settings file: a comma or a line break ends a field, leading blanks are
    skipped, a field in double quotes may hold commas. The files are written in CP932."""
    with open(path, "rb") as f:
        text = f.read().decode("cp932")
    fields, field, quoted, at_start = [], "", False, True
    for ch in text:
        if quoted:
            if ch == '"':
                quoted = False
            else:
                field += ch
        elif ch in ",\n":
            fields.append(field.rstrip("\r"))
            field, at_start = "", True
        elif at_start and ch == " ":
            continue
        elif at_start and ch == '"':
            quoted, at_start = True, False
        else:
            field += ch
            at_start = False
    if field.strip("\r"):
        fields.append(field.rstrip("\r"))
    return fields


def data_root(program_folder):
    path = os.path.join(os.path.dirname(program_folder), PATH_FILE)
    return read_fields(path)[0]


def standards_path(program_folder):
    return os.path.join(data_root(program_folder), os.path.basename(program_folder), STANDARDS_FILE)


def read_standards(path):
    """The standards file as raw bytes and as rows of fields (row 0 the head line)."""
    with open(path, "rb") as f:
        raw = f.read()
    text = raw.decode("cp932")
    rows = [line.split(",") for line in text.split("\r\n") if line != ""]
    return raw, rows


# ---- Screens ----


def teacher_name_of(line):
    """The name in a list line of a teacher: the blank-separated field holding 先生 or ★."""
    for token in re.split(r"[ 　]+", line):
        if "先生" in token or "★" in token:
            return token.replace("★", "")
    return None


def press_focused(acc, key, what, timeout=10):
    """Gives acc the keyboard focus and presses key (space or Return) on it."""
    if not grab_focus(acc):
        raise SessionError(f"{what} does not take the keyboard focus")
    wait_for(f"{what} to have the keyboard focus", lambda: focused(acc), timeout=timeout)
    press_key(key)
    ok(f"{what} focused and pressed with {key}")


# What the session saw that did not stop it: printed again at the end.
notices = []


def notice(message):
    notices.append(message)
    log(f"  NOTICE: {message}")


def press_with_enter(acc, what, effect, what_effect, timeout=SCREEN_TIMEOUT):
    """Focuses acc and presses Enter, as on the original system's buttons; when Enter does
    nothing within a few seconds, tells so and presses Space. Returns what effect() found."""
    press_focused(acc, "Return", what)
    try:
        return wait_for(what_effect, effect, timeout=5)
    except SessionError:
        pass
    notice(f"Enter on the focused button {what} did nothing; Space pressed it")
    press_key("space")
    return wait_for(what_effect, effect, timeout=timeout)


def message_window(app, text):
    """A shown message box whose label carries text."""
    return window_with(app, lambda a: role(a) == "label" and text in name(a) and showing(a))


def cell_text(table, level, column):
    """Text of a standards grid cell; row 0 of the table interface is level 1."""
    cell = table.queryTable().getAccessibleAt(level - 1, column)
    return name(cell) if cell is not None else None


def fresh_hub(app):
    """A hub that finished loading: "データ処理" shown, the gate panel closed, level 1 open."""

    def ready(w):
        data = button(w, DATA_CAPTION)
        gate = find_one(w, lambda a: role(a) == "label" and name(a) == GATE_LABEL and showing(a))
        starts = find_all(
            w, lambda a: role(a) == "push button" and name(a).startswith("ｽﾀｰﾄ") and showing(a)
        )
        return data is not None and gate is None and starts and enabled(starts[0])

    for w in windows(app):
        if ready(w):
            return w
    return None


def gate_entry(hub):
    return find_one(
        hub,
        lambda a: role(a) in ("password text", "text", "entry")
        and name(a) == GATE_LABEL
        and showing(a),
    )


def play(args, app, password, std_path, focus):
    out = args.out
    ok("program registered on the accessibility bus")

    # -- Name selection --
    step("name selection screen: choose a teacher")
    sel, items = name_selection(app, timeout=SCREEN_TIMEOUT)
    teachers = [i for i in items if teacher_name_of(name(i))]
    if not teachers:
        raise SessionError(f"no teacher (先生 or ★) among {len(items)} list lines")
    item = teachers[0]
    line = name(item)
    teacher = teacher_name_of(line)
    ok(f"teachers in the list: {[name(i) for i in teachers]}")
    choose_name(sel, item, teacher, teacher)
    screenshot(out, "namesel-teacher")

    step("O.K. with the Space key")
    press_focused(button(sel, OK_CAPTION), "space", OK_CAPTION)

    # -- Hub --
    step(f"hub of the teacher: {DATA_CAPTION} shown")
    hub = wait_for(f"the hub with {DATA_CAPTION}", lambda: fresh_hub(app), timeout=SCREEN_TIMEOUT)
    labels = label_texts(hub)
    if not any(teacher in t for t in labels):
        raise SessionError(f"the hub does not show the teacher {teacher}: {labels[:8]}")
    targets_before = [t for t in labels if t.startswith("目標=")]
    ok(f"hub shows the teacher; target lines {targets_before}")
    screenshot(out, "hub-teacher")

    step(f"{DATA_CAPTION} with the Enter key: the gate panel opens")
    entry = press_with_enter(
        button(hub, DATA_CAPTION),
        DATA_CAPTION,
        lambda: gate_entry(hub),
        "the password entry of the gate panel",
    )
    for caption in (BROWSER_CAPTION, EDITOR_CAPTION, BACK_CAPTION):
        if button(hub, caption) is None:
            raise SessionError(f"the gate panel has no {caption} button")
    ok(f"gate panel: entry '{name(entry)}' ({role(entry)}), buttons {BROWSER_CAPTION}, "
       f"{EDITOR_CAPTION}, {BACK_CAPTION}")
    wait_for("the password entry to have the keyboard focus", lambda: focused(entry), timeout=10)
    ok("the password entry has the keyboard focus")

    # -- Wrong password --
    wrong = "0000" if password != "0000" else "9999"
    step(f"type a wrong password ({len(wrong)} characters) and press {EDITOR_CAPTION}")
    type_text(wrong)
    wait_for(
        f"{len(wrong)} characters in the password entry",
        lambda: text_length(entry) == len(wrong),
        timeout=10,
    )
    if wrong in (text_of(entry) or "") or wrong in name(entry):
        raise SessionError("the password entry gives the typed password away")
    ok(f"the entry holds {text_length(entry)} characters; its text reads '{text_of(entry)}'")
    screenshot(out, "gate-wrong-password")
    do_action(button(hub, EDITOR_CAPTION))
    box = wait_for(
        f"the message '{WRONG_PASSWORD_MESSAGE}'",
        lambda: message_window(app, WRONG_PASSWORD_MESSAGE),
        timeout=20,
    )
    ok(f"message box '{name(box)}': {label_texts(box)}")
    screenshot(out, "gate-wrong-message")

    step("close the message with Enter on its focused button")
    box_button = find_one(box, lambda a: role(a) == "push button" and showing(a))
    if box_button is None:
        raise SessionError("the message box has no button")
    wait_for("the message box's button to have the focus", lambda: focused(box_button), timeout=10)
    press_key("Return")
    wait_for(
        "the message box to close",
        lambda: message_window(app, WRONG_PASSWORD_MESSAGE) is None,
        timeout=10,
    )
    if gate_entry(hub) is None:
        raise SessionError("the gate panel closed after the wrong password")
    if text_length(entry) != len(wrong):
        raise SessionError("the typed text did not stay in the entry after the message")
    ok("message closed; the panel and the typed text stayed")

    # -- Right password --
    step(f"type the right password and press {EDITOR_CAPTION} with Enter")
    if not grab_focus(entry):
        raise SessionError("the password entry does not take the keyboard focus")
    wait_for("the password entry to have the keyboard focus", lambda: focused(entry), timeout=10)
    for _ in wrong:
        press_key("BackSpace")
    wait_for("an empty password entry", lambda: text_length(entry) == 0, timeout=10)
    type_text(password)
    wait_for(
        f"{len(password)} characters in the password entry",
        lambda: text_length(entry) == len(password),
        timeout=10,
    )
    ok(f"{len(password)} characters typed")
    editor = press_with_enter(
        button(hub, EDITOR_CAPTION),
        EDITOR_CAPTION,
        lambda: window_with(app, lambda a: role(a) == "push button" and name(a) == SAVE_CAPTION),
        f"the level standards editor (a {SAVE_CAPTION} button)",
    )

    # -- Level standards editor --
    step("level standards editor: grid, explanation and buttons")
    if message_window(app, WRONG_PASSWORD_MESSAGE):
        raise SessionError("the right password was refused")
    wait_for("the hub to be unloaded", lambda: fresh_hub(app) is None and not any(
        button(w, DATA_CAPTION) for w in windows(app)), timeout=20)
    ok("the hub is gone; the editor took its place")
    editor_labels = label_texts(editor)
    for caption in (EDITOR_TITLE, "列の説明", KEY_HELP, "現在までの成績度数分布", "全成績", "最高タイム"):
        if caption not in editor_labels:
            raise SessionError(f"the editor does not show '{caption}' (labels {editor_labels})")
    for caption in (RESTORE_CAPTION, SAVE_CAPTION, BACK_CAPTION):
        if button(editor, caption) is None:
            raise SessionError(f"the editor has no {caption} button")
    table = wait_for(
        "the standards grid",
        lambda: find_one(editor, lambda a: role(a) in ("table", "tree table") and showing(a)),
    )
    t = table.queryTable()
    heads = [t.getColumnDescription(c) for c in range(t.nColumns)]
    ok(f"grid of {t.nRows} level rows and {t.nColumns} columns; heads {heads[:10]}")
    if heads[:10] != ["レベル", "目標Time", "最低Time", "ｸﾘｱﾎﾟｲﾝﾄ", "ｸﾘｱ回数", "ﾎﾟｲﾝﾄ倍率",
                      "禁回", "禁点", "判期間", "禁期間"]:
        raise SessionError(f"unexpected column heads {heads}")
    raw_before, rows_before = read_standards(std_path)
    levels = len(rows_before) - 1
    if t.nRows != levels:
        raise SessionError(f"the grid shows {t.nRows} rows, the file holds {levels} levels")
    for lv in range(1, levels + 1):
        for c in range(1, 10):
            if cell_text(table, lv, c) != rows_before[lv][c - 1].strip():
                raise SessionError(
                    f"cell level {lv} column {c} shows '{cell_text(table, lv, c)}', "
                    f"the file '{rows_before[lv][c - 1]}'"
                )
    ok("every shown cell equals the standards file")

    def explanation():
        for text in label_texts(editor):
            first = text.split("\n")[0]
            if first in COLUMN_EXPLANATIONS.values():
                return first
        return None

    def at_column(column):
        return wait_for(
            f"the explanation of column {column} ({COLUMN_EXPLANATIONS[column]})",
            lambda: explanation() == COLUMN_EXPLANATIONS[column],
            timeout=15,
        )

    at_column(1)
    overlay = wait_for(
        "the cell editor over the grid with the keyboard focus",
        lambda: (lambda a: a if a is not None and role(a) in ("text", "entry") else None)(
            focus.focused()
        ),
        timeout=15,
    )
    if find_one(editor, lambda a: a == overlay, skip_list_items=False) is None:
        notice(
            "the cell editor over the standards grid is reached only through its focus event, "
            "not by walking the window's accessible tree"
        )
    ok(f"the cell editor has the focus: {role(overlay)} '{name(overlay)}' holding '{text_of(overlay)}'")
    if not name(overlay):
        notice("the cell editor over the standards grid has no accessible name")
    if text_of(overlay) != cell_text(table, 1, 1):
        raise SessionError(
            f"the cell editor holds '{text_of(overlay)}', the cell '{cell_text(table, 1, 1)}'"
        )
    lists = find_all(editor, lambda a: role(a) == "list" and showing(a))
    heads_of_lists = [name(children(l)[0]) if l.childCount else "" for l in lists]
    ok(f"column 1 explained; distribution lists start with {heads_of_lists}")
    if not any(h.startswith("レベル1 今まで") for h in heads_of_lists):
        raise SessionError(f"the all-runs distribution of level 1 is not shown ({heads_of_lists})")
    screenshot(out, "editor")

    step("arrow keys: Left at column 1 stays, Right, Down, Left move the cell")
    press_key("Left")
    at_column(1)
    press_key("Right")
    at_column(2)
    press_key("Down")

    def shows_level(level):
        return any(
            name(children(l)[0]).startswith(f"レベル{level} 今まで")
            for l in find_all(editor, lambda a: role(a) == "list" and showing(a))
            if l.childCount
        )

    wait_for("the distribution of level 2", lambda: shows_level(2), timeout=15)
    press_key("Left")
    at_column(1)
    ok("now on level 2, column 1 (目標Time); the distribution follows the row")

    level, column = 2, 1
    old = rows_before[level][column - 1].strip()
    new = str(int(old) + 7) if old.isdigit() else "45"
    step(f"Space clears the cell of level {level} 目標Time ('{old}'), typing '{new}' fills it")
    press_key("space")
    wait_for("the cell to be cleared", lambda: cell_text(table, level, column) == "", timeout=10)
    ok("Space cleared the cell")
    type_text(new)
    wait_for(
        f"the cell to read '{new}'", lambda: cell_text(table, level, column) == new, timeout=10
    )
    ok(f"the cell reads '{new}'")
    press_key("Return")
    wait_for(
        f"the cell editor to hold '{new}' after Enter", lambda: text_of(overlay) == new, timeout=10
    )
    ok("Enter kept the value in the cell editor")
    screenshot(out, "editor-typed")
    press_key("Right")
    at_column(2)
    if cell_text(table, level, column) != new:
        raise SessionError("moving on lost the typed value")
    ok("moved on to column 2: the changed cell keeps its value (and its mark)")
    screenshot(out, "editor-marked")

    step(f"press {SAVE_CAPTION}: the standards file changes")
    do_action(button(editor, SAVE_CAPTION))

    def file_changed():
        try:
            raw, rows = read_standards(std_path)
        except (OSError, UnicodeDecodeError):
            return None  # being replaced right now
        return (raw, rows) if raw != raw_before else None

    raw_after, rows_after = wait_for(f"{STANDARDS_FILE} to change", file_changed, timeout=20)
    if len(rows_after) != len(rows_before):
        raise SessionError(f"the file has {len(rows_after)} lines, before {len(rows_before)}")
    differences = [
        (r, c, rows_before[r][c], rows_after[r][c])
        for r in range(len(rows_before))
        for c in range(max(len(rows_before[r]), len(rows_after[r])))
        if c >= len(rows_before[r]) or c >= len(rows_after[r]) or rows_before[r][c] != rows_after[r][c]
    ]
    if [(r, c) for r, c, _, _ in differences] != [(level, column - 1)] or (
        rows_after[level][column - 1].strip() != new
    ):
        raise SessionError(f"unexpected changes in the file: {differences}")
    if not raw_after.endswith(b"\r\n"):
        raise SessionError("the saved file does not end with CR LF")
    ok(f"{std_path}: level {level} field {column} '{old}' → '{new}', nothing else changed (CP932, CR LF)")
    time.sleep(0.5)
    screenshot(out, "editor-saved")

    # -- An unsaved change, dropped on leaving --
    level2, column2 = 3, 2
    old2 = cell_text(table, level2, column2)
    new2 = "99" if old2 != "99" else "98"
    step(f"Down to level {level2}, type '{new2}' over '{old2}' and leave with {BACK_CAPTION} unsaved")
    press_key("Down")
    wait_for(f"the distribution of level {level2}", lambda: shows_level(level2), timeout=15)
    at_column(column2)
    press_key("space")
    type_text(new2)
    wait_for(
        f"the cell to read '{new2}'", lambda: cell_text(table, level2, column2) == new2, timeout=10
    )
    ok(f"level {level2} column {column2} reads '{new2}' (not saved)")
    press_focused(button(editor, BACK_CAPTION), "space", f"the editor's {BACK_CAPTION}")
    box = wait_for(
        f"the question '{SAVE_QUESTION}'", lambda: message_window(app, SAVE_QUESTION), timeout=20
    )
    ok(f"question box '{name(box)}': {label_texts(box)}")
    screenshot(out, "editor-save-question")
    no = button(box, "いいえ")
    if no is None or button(box, "はい") is None:
        raise SessionError(
            f"the question does not offer はい and いいえ "
            f"({[name(b) for b in find_all(box, lambda a: role(a) == 'push button')]})"
        )
    do_action(no)
    ok("いいえ pressed")

    # -- Back to the hub --
    step("a fresh hub shows the saved standard; the unsaved change was not written")
    hub = wait_for("a fresh hub", lambda: fresh_hub(app), timeout=SCREEN_TIMEOUT)
    if read_standards(std_path)[0] != raw_after:
        raise SessionError(f"{STANDARDS_FILE} changed although いいえ was answered")
    ok(f"{STANDARDS_FILE} is as saved before, byte for byte")
    wait_for(
        "the editor to close",
        lambda: window_with(app, lambda a: role(a) == "push button" and name(a) == SAVE_CAPTION)
        is None,
        timeout=20,
    )
    time.sleep(0.5)
    targets_after = [t for t in label_texts(hub) if t.startswith("目標=")]
    ok(f"target lines now {targets_after}")
    # The target lines are listed level by level; only the edited level's line changes.
    expected = list(targets_before)
    if len(expected) >= level:
        expected[level - 1] = expected[level - 1].replace(f"目標={old}秒", f"目標={new}秒", 1)
    if targets_after != expected:
        raise SessionError(f"the fresh hub shows {targets_after}, expected {expected}")
    ok("the fresh hub shows the new target time; the gate panel is closed")
    screenshot(out, "hub-after-editor")
    return hub


# ---- Results browser ----

BROWSER_INSTRUCTION = "ダブルクリックすると変更、消去できます"
BROWSER_LIST = "成績の一覧"
CHANGE_CAPTION = "変更して記録"
DELETE_CAPTION = "消去"
DELETE_QUESTION = "本当に消去しますか"
CANCEL_CAPTION = "キャンセル"
TIME_ENTRY = "時間（秒）"
RESULTS_FILE = "成績累積データ.dat"
# A list line: record number, date, time of day, level, seconds, pupil number, name, grade, school.
BROWSER_LINE = re.compile(r"^\s*(\d+) .*ﾚﾍﾞﾙ(\d+)　\s*(\d+)秒 　\s*(\d+) ")


def browse(args):
    """The list lines of numora-data browse, by record number."""
    out = subprocess.run(
        [args.data_tool, "browse", "--program-folder", args.program_folder],
        check=True,
        capture_output=True,
        text=True,
    ).stdout
    lines = {}
    for line in out.splitlines():
        m = BROWSER_LINE.match(line)
        if m:
            lines[int(m.group(1))] = line
    return lines


def results_path(program_folder):
    return os.path.join(data_root(program_folder), os.path.basename(program_folder), RESULTS_FILE)


def read_bytes(path):
    with open(path, "rb") as f:
        return f.read()


def open_gate(app, hub, password, choice):
    """"データ処理" with Space, the password typed, the chosen window's button pressed."""
    press_focused(button(hub, DATA_CAPTION), "space", DATA_CAPTION)
    entry = wait_for("the password entry of the gate panel", lambda: gate_entry(hub), timeout=10)
    wait_for("the password entry to have the keyboard focus", lambda: focused(entry), timeout=10)
    while text_length(entry):
        press_key("BackSpace")
    type_text(password)
    wait_for(
        f"{len(password)} characters in the password entry",
        lambda: text_length(entry) == len(password),
        timeout=10,
    )
    do_action(button(hub, choice))
    ok(f"password typed, {choice} pressed")


def browser_stage(args, app, hub, password):
    out = args.out
    step(f"gate again: the password and {BROWSER_CAPTION} open the results browser")
    open_gate(app, hub, password, BROWSER_CAPTION)
    browser = wait_for(
        "the results browser",
        lambda: window_with(
            app, lambda a: role(a) == "label" and name(a) == BROWSER_INSTRUCTION and showing(a)
        ),
        timeout=SCREEN_TIMEOUT,
    )
    if message_window(app, WRONG_PASSWORD_MESSAGE):
        raise SessionError("the right password was refused")
    lst = wait_for(
        f"the list '{BROWSER_LIST}' with its lines",
        lambda: find_one(
            browser,
            lambda a: role(a) == "list" and name(a) == BROWSER_LIST and showing(a) and a.childCount,
        ),
        timeout=SCREEN_TIMEOUT,
    )
    before = browse(args)
    ok(f"the list shows {lst.childCount} lines; numora-data browse lists {len(before)} records")
    if lst.childCount != len(before):
        raise SessionError("the window and numora-data browse list different numbers of records")
    index = 2
    item = lst.getChildAtIndex(index)
    line = name(item)
    m = BROWSER_LINE.match(line)
    if not m:
        raise SessionError(f"line {index + 1} does not read as a record: '{line}'")
    record, seconds = int(m.group(1)), int(m.group(3))
    if before.get(record) != line:
        raise SessionError(f"window line '{line}' differs from numora-data browse '{before.get(record)}'")
    ok(f"line {index + 1}: '{line}' (record {record}, {seconds} s) equals numora-data browse")
    screenshot(out, "browser")

    # Before a record is opened the edit panel is hidden, and so are its buttons; where a reader
    # still sees the button, it must not be usable yet.
    change = button(browser, CHANGE_CAPTION)
    if change is not None and enabled(change):
        raise SessionError(f"{CHANGE_CAPTION} is enabled before a record is opened")

    def open_record(item):
        click(item, double=True)
        return wait_for(
            "the edit panel with the record's time",
            lambda: find_one(
                browser,
                lambda a: role(a) == "text" and name(a) == TIME_ENTRY and showing(a),
            ),
            timeout=20,
        )

    step(f"open record {record}: double-click its line")
    time_entry = open_record(item)
    wait_for(f"{CHANGE_CAPTION} enabled", lambda: enabled(button(browser, CHANGE_CAPTION)), timeout=10)
    shown = text_of(time_entry)
    panel_labels = label_texts(browser)
    ok(f"edit panel: time '{shown}', labels {panel_labels[:8]}")
    if shown != str(seconds):
        raise SessionError(f"the edit panel shows the time '{shown}', the record {seconds}")
    if str(record) not in panel_labels:
        raise SessionError(f"the edit panel does not show the record number {record}")
    screenshot(out, "browser-record")

    new_seconds = seconds + 3 if seconds < 5990 else 45
    step(f"change the time to {new_seconds} s and press {CHANGE_CAPTION}")
    if not grab_focus(time_entry):
        raise SessionError("the time entry does not take the keyboard focus")
    wait_for("the time entry to have the focus", lambda: focused(time_entry), timeout=10)
    press_key("End")
    for _ in range(text_length(time_entry) or 0):
        press_key("BackSpace")
    wait_for("an empty time entry", lambda: text_length(time_entry) == 0, timeout=10)
    type_text(str(new_seconds))
    wait_for(f"the time entry to read {new_seconds}", lambda: text_of(time_entry) == str(new_seconds), timeout=10)
    do_action(button(browser, CHANGE_CAPTION))

    def changed():
        now = browse(args)
        return now if now.get(record) != before.get(record) else None

    after = wait_for(f"record {record} to change in numora-data browse", changed, timeout=20)
    m2 = BROWSER_LINE.match(after[record])
    if int(m2.group(3)) != new_seconds or m2.group(4) != m.group(4) or m2.group(2) != m.group(2):
        raise SessionError(f"record {record} now reads '{after[record]}'")
    others = [n for n in before if n != record and before[n] != after.get(n)]
    if others or len(after) != len(before):
        raise SessionError(f"other records changed too: {others[:5]}")
    ok(f"numora-data browse: '{after[record]}'; no other record changed")
    wait_for(
        "the list line to show the new time",
        lambda: BROWSER_LINE.match(name(lst.getChildAtIndex(index)) or "")
        and int(BROWSER_LINE.match(name(lst.getChildAtIndex(index))).group(3)) == new_seconds,
        timeout=20,
    )
    ok("the window's line shows the new time")
    screenshot(out, "browser-changed")

    step(f"open record {record} again, press {DELETE_CAPTION} and cancel the question")
    raw_before = read_bytes(results_path(args.program_folder))
    open_record(lst.getChildAtIndex(index))
    wait_for(f"{DELETE_CAPTION} enabled", lambda: enabled(button(browser, DELETE_CAPTION)), timeout=10)
    do_action(button(browser, DELETE_CAPTION))
    box = wait_for(
        f"the question '{DELETE_QUESTION}'", lambda: message_window(app, DELETE_QUESTION), timeout=20
    )
    ok(f"question box: {label_texts(box)}")
    screenshot(out, "browser-delete-question")
    cancel = button(box, CANCEL_CAPTION)
    if cancel is None:
        raise SessionError(
            f"the question has no {CANCEL_CAPTION} button "
            f"({[name(b) for b in find_all(box, lambda a: role(a) == 'push button')]})"
        )
    wait_for(f"{CANCEL_CAPTION} to have the focus", lambda: focused(cancel), timeout=10)
    press_key("Return")
    ok(f"Enter on the focused {CANCEL_CAPTION}")
    wait_for("the question to close", lambda: message_window(app, DELETE_QUESTION) is None, timeout=10)
    time.sleep(1.0)
    if read_bytes(results_path(args.program_folder)) != raw_before:
        raise SessionError("the results file changed although the deletion was cancelled")
    if browse(args) != after:
        raise SessionError("numora-data browse changed although the deletion was cancelled")
    if os.path.exists(os.path.join(os.path.dirname(results_path(args.program_folder)), "成績累積データtemp.dat")):
        raise SessionError("a temporary copy of the results file was left behind")
    ok("the results file is unchanged, byte for byte")
    screenshot(out, "browser-cancelled")

    step("keyboard: a click on the line closes the panel, Down and Enter open the next record")
    click(lst.getChildAtIndex(index))
    wait_for(
        "the edit panel to close",
        lambda: find_one(browser, lambda a: role(a) == "text" and name(a) == TIME_ENTRY and showing(a))
        is None,
        timeout=10,
    )
    wait_for("the record list to have the focus", lambda: focused(lst), timeout=10)
    press_key("Down")
    wait_for("the next line to be selected", lambda: has_selected(lst.getChildAtIndex(index + 1)), timeout=10)
    press_key("Return")
    wait_for(
        f"the edit panel of record {record + 1}",
        lambda: str(record + 1) in label_texts(browser)
        and find_one(browser, lambda a: role(a) == "text" and name(a) == TIME_ENTRY and showing(a)),
        timeout=10,
    )
    ok(f"Down and Enter opened record {record + 1}")
    screenshot(out, "browser-keyboard")

    step(f"{BACK_CAPTION} with Space: a fresh hub")
    backs = find_all(browser, lambda a: role(a) == "push button" and name(a) == BACK_CAPTION and showing(a))
    if not backs:
        raise SessionError(f"the browser has no {BACK_CAPTION} button")
    press_focused(backs[-1], "space", f"the browser's {BACK_CAPTION}")
    hub = wait_for("a fresh hub", lambda: fresh_hub(app), timeout=SCREEN_TIMEOUT)
    wait_for(
        "the browser to close",
        lambda: window_with(
            app, lambda a: role(a) == "label" and name(a) == BROWSER_INSTRUCTION and showing(a)
        )
        is None,
        timeout=20,
    )
    ok("back on a fresh hub")
    screenshot(out, "hub-after-browser")
    return hub


# ---- Personal time chart ----

PERSONAL_VIEW = "個人ﾀｲﾑ"
PERSONAL_TITLE = "個人別ﾀｲﾑ"
CHART_CAPTION = "グラフ"
OTHER_PUPILS_CAPTION = "他の人のデータを見る"


def chart_stage(args, app, hub):
    out = args.out
    step(f"choose the view {PERSONAL_VIEW}")
    option = find_one(
        hub, lambda a: role(a) == "radio button" and name(a) == PERSONAL_VIEW and showing(a)
    )
    if option is None or not enabled(option):
        raise SessionError(f"no enabled option {PERSONAL_VIEW} on the hub")
    do_action(option, wanted=("Press", "press", "click", "Toggle", "toggle"))
    chart_button = wait_for(f"the {CHART_CAPTION} button", lambda: button(hub, CHART_CAPTION), timeout=SCREEN_TIMEOUT)
    wait_for(f"the list title {PERSONAL_TITLE}", lambda: PERSONAL_TITLE in label_texts(hub), timeout=20)
    ok(f"{PERSONAL_VIEW} chosen: title {PERSONAL_TITLE}, {CHART_CAPTION} shown")
    screenshot(out, "hub-personal-times")

    step(f"press {CHART_CAPTION} with Space: the chart panel")
    press_focused(chart_button, "space", CHART_CAPTION)

    def surface():
        return find_one(
            hub, lambda a: role(a) != "push button" and name(a) == CHART_CAPTION and showing(a)
        )

    chart = wait_for("the chart surface", surface, timeout=SCREEN_TIMEOUT)
    if button(hub, OTHER_PUPILS_CAPTION) is None:
        raise SessionError(f"the chart panel has no {OTHER_PUPILS_CAPTION} button")
    description = ""
    try:
        description = chart.description or ""
    except Exception:
        pass
    ok(f"chart surface ({role(chart)}); its description: {description[:160]!r}")
    time.sleep(1.0)
    screenshot(out, "chart")

    step(f"the chart panel's {BACK_CAPTION}: the panel closes")
    backs = [
        b for b in find_all(hub, lambda a: role(a) == "push button" and name(a) == BACK_CAPTION and showing(a))
    ]
    if not backs:
        raise SessionError(f"the chart panel has no {BACK_CAPTION} button")
    do_action(backs[0])
    wait_for("the chart panel to close", lambda: surface() is None, timeout=20)
    ok("chart panel closed")
    screenshot(out, "hub-after-chart")


def run(args):
    step("installation files: the data-change password and the standards file")
    common = os.path.join(data_root(args.program_folder), COMMON_FILE)
    fields = read_fields(common)
    if len(fields) < 6:
        raise SessionError(f"{common} has only {len(fields)} fields")
    password = fields[5]
    std_path = standards_path(args.program_folder)
    _, rows = read_standards(std_path)
    ok(f"password of {len(password)} characters from {common}; {len(rows) - 1} levels in {std_path}")
    focus = FocusTracker()

    def session(app):
        hub = play(args, app, password, std_path, focus)
        hub = browser_stage(args, app, hub, password)
        chart_stage(args, app, hub)

    run_program(args.program, args.out, session)


def main():
    args = session_arguments(__doc__, "/tmp/teacher-session")
    status = session_main(
        run,
        args,
        "teacher name → hub → data-change gate (wrong and right password) → standards editor "
        "(keys, typed value, saved to the file) → fresh hub → results browser (a change, a "
        "cancelled deletion, mouse and keyboard) → fresh hub → personal time chart",
    )
    for message in notices:
        log(f"NOTICE: {message}")
    return status


if __name__ == "__main__":
    sys.exit(main())
