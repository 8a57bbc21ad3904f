#!/usr/bin/python3
"""Plays one teacher session on the real program through the accessibility bus (AT-SPI).

Started by scripts/teacher-session.sh inside a private D-Bus session under a virtual X server:
chooses a teacher on the name selection screen, opens the hub's data-change gate, is refused
with a wrong password and let in with the right one (read from the installation's common
settings file), moves through the level standards grid with the arrow keys, types a new value
into a cell, saves it, checks the standards file on disk and goes back to a fresh hub that shows
the new standard. Controls are found by their accessible names; buttons are pressed through the
Action interface or, where a keyboard user would, focused and pressed with Space or Enter; text
is typed as key presses. Exits 0 only when every step worked.
"""

import argparse
import os
import re
import sys
import time

import pyatspi

from atspi_helpers import (
    FocusTracker,
    SessionError,
    log,
    button,
    children,
    do_action,
    enabled,
    find_all,
    find_one,
    focused,
    grab_focus,
    label_texts,
    name,
    ok,
    press_key,
    role,
    run_program,
    screenshot,
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

OK_CAPTION = "O.K."
DATA_CAPTION = "データ処理"
GATE_LABEL = "データ変更パスワード"
BROWSER_CAPTION = "データ変更"
EDITOR_CAPTION = "合格タイムデータ変更"
BACK_CAPTION = "戻る"
WRONG_PASSWORD_MESSAGE = "パスワードを入力して下さい"
EDITOR_TITLE = "成績の基準となるデータを変更できます"
SAVE_CAPTION = "更新記録"
RESTORE_CAPTION = "元に戻す"
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


def play(args, app, password, std_path, focus):
    out = args.out
    ok("program registered on the accessibility bus")

    # -- Name selection --
    step("name selection screen: choose a teacher")
    sel = wait_for(
        "the name selection screen (a name list and an O.K. button)",
        lambda: window_with(app, lambda a: role(a) == "push button" and name(a) == OK_CAPTION),
        timeout=SCREEN_TIMEOUT,
    )

    def name_list():
        lists = [l for l in find_all(sel, lambda a: role(a) == "list" and showing(a))]
        lists = [l for l in lists if l.childCount > 1]
        return lists[0] if lists else None

    lst = wait_for("the name list with its lines", name_list)
    items = [c for c in children(lst) if role(c) == "list item"]
    teachers = [i for i in items if teacher_name_of(name(i))]
    if not teachers:
        raise SessionError(f"no teacher (先生 or ★) among {len(items)} list lines")
    item = teachers[0]
    line = name(item)
    teacher = teacher_name_of(line)
    ok(f"teachers in the list: {[name(i) for i in teachers]}")
    how = do_action(item, wanted=("Toggle", "toggle", "Press", "press", "click"))
    ok(f"'{line}' chosen with the action {how}")
    chosen = wait_for(
        f"the chosen name ({teacher}) shown beside the list",
        lambda: find_one(
            sel, lambda a: role(a) == "label" and teacher in name(a) and showing(a)
        ),
        timeout=10,
    )
    ok(f"chosen-name label reads '{name(chosen)}'")
    screenshot(out, "namesel-teacher")

    step("O.K. with the Space key")
    press_focused(button(sel, OK_CAPTION), "space", OK_CAPTION)

    # -- Hub --
    def fresh_hub():
        def ready(w):
            data = button(w, DATA_CAPTION)
            gate = find_one(w, lambda a: role(a) == "label" and name(a) == GATE_LABEL and showing(a))
            starts = find_all(
                w, lambda a: role(a) == "push button" and name(a).startswith("ｽﾀｰﾄ") and showing(a)
            )
            return data is not None and gate is None and starts and all(enabled(s) for s in starts[:1])

        for w in windows(app):
            if ready(w):
                return w
        return None

    step(f"hub of the teacher: {DATA_CAPTION} shown")
    hub = wait_for(f"the hub with {DATA_CAPTION}", fresh_hub, timeout=SCREEN_TIMEOUT)
    labels = label_texts(hub)
    if not any(teacher in t for t in labels):
        raise SessionError(f"the hub does not show the teacher {teacher}: {labels[:8]}")
    targets_before = [t for t in labels if t.startswith("目標=")]
    ok(f"hub shows the teacher; target lines {targets_before}")
    screenshot(out, "hub-teacher")

    def gate_entry():
        return find_one(
            hub,
            lambda a: role(a) in ("password text", "text", "entry")
            and name(a) == GATE_LABEL
            and showing(a),
        )

    step(f"{DATA_CAPTION} with the Enter key: the gate panel opens")
    entry = press_with_enter(
        button(hub, DATA_CAPTION), DATA_CAPTION, gate_entry, "the password entry of the gate panel"
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
    if gate_entry() is None:
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
    wait_for("the hub to be unloaded", lambda: fresh_hub() is None and not any(
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

    # -- Back to the hub --
    step(f"{BACK_CAPTION} with Space: a fresh hub shows the new standard")
    press_focused(button(editor, BACK_CAPTION), "space", f"the editor's {BACK_CAPTION}")
    hub = wait_for("a fresh hub", fresh_hub, timeout=SCREEN_TIMEOUT)
    wait_for(
        "the editor to close",
        lambda: window_with(app, lambda a: role(a) == "push button" and name(a) == SAVE_CAPTION)
        is None,
        timeout=20,
    )
    if message_window(app, "記録しますか"):
        raise SessionError("leaving after a save asked whether to save")
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
    run_program(args.program, args.out, lambda app: play(args, app, password, std_path, focus))


def main():
    parser = argparse.ArgumentParser(description=__doc__)
    parser.add_argument("--program", required=True, help="the numora program of the installation")
    parser.add_argument("--data-tool", required=True, help="the numora-data tool")
    parser.add_argument("--out", default="/tmp/teacher-session", help="folder for the screenshots")
    args = parser.parse_args()
    args.program_folder = os.path.dirname(os.path.abspath(args.program))
    status = session_main(
        run,
        args,
        "teacher name → hub → data-change gate (wrong and right password) → standards editor "
        "(keys, typed value, saved to the file) → fresh hub",
    )
    for message in notices:
        log(f"NOTICE: {message}")
    return status


if __name__ == "__main__":
    sys.exit(main())
