#!/usr/bin/python3
"""Reads the program's windows over AT-SPI, as a screen reader does, and
checks the roles, names and states a scene expects.
    atspi_check.py SCENE [SECONDS]
    atspi_check.py focus "ROLE:NAME" [SECONDS]   (what has the focus)
Waits up to SECONDS (default 5) for it to hold; prints what it found and
exits 1 when it never does. Where no other input reaches the program
(Wayland), it is driven through its accessible objects too:
    atspi_check.py window|gone REGEX [SECONDS]   (a showing window named so)
    atspi_check.py size WINDOW                   (prints WIDTH= HEIGHT=)
    atspi_check.py click WINDOW X Y              (acts on what lies there)
    atspi_check.py click WINDOW NAME             (acts on the object so named)
    atspi_check.py type WINDOW TEXT              (into the focused text)"""

import os
import re
import sys
import time
from functools import partial

import pyatspi
from gi.repository import GLib

# (role, name, states it must have, states it must not have, text)
CHECKED, FOCUSED, ENABLED = "checked", "focused", "enabled"
# weston without a seat makes no window active, so nothing has the focus.
SEATLESS = "WAYLAND_DISPLAY" in os.environ


def item(role, name, must=(), must_not=(), text=None):
    return (role, name, frozenset(must), frozenset(must_not), text)


MAIN_BUTTONS = [item("push button", n, [ENABLED]) for n in (
    "开始计时", "最小化到任务栏", "六十秒关机", "30分钟关机", "1小时关机", "2小时关机",
    "3小时关机", "5小时关机", "取消快捷按钮关机")]
MAIN = [
    item("menu bar", ""),
    *[item("menu item", n) for n in ("说明", "关于", "贴吧求喜欢", "换肤")],
    item("panel", "时间设定（秒）"),
    item("panel", "选择模式"),
    item("label", "V3.6.0更新说明：图标更新，同时贴吧求喜欢。开始测试换肤功能"),
    *MAIN_BUTTONS,
]


def box(title, text):
    return ("alert", title, [item("push button", "确定")], text)


def by_keys(chosen, other):
    """An arrow key chose the option it reached."""
    return ("frame", "<Tavimo> 关机工具 ", [
        item("radio button", chosen, [CHECKED, FOCUSED]),
        item("radio button", other, [], [CHECKED, FOCUSED]),
    ], None)


# scene: (window role, window name, items, the window's description)
SCENES = {
    "HY": ("frame", "", [item("label", "绿色免安装版"), item("label", "关机工具V3.6.0")], None),
    "main": ("frame", "<Tavimo> 关机工具 ", MAIN + [
        item("text", "时间设定（秒）", [FOCUSED], text="60"),
        item("radio button", "关机", [], [CHECKED]),
        item("radio button", "重启", [], [CHECKED]),
    ], None),
    "main-restart-by-keys": by_keys("重启", "关机"),
    "main-shutdown-by-keys": by_keys("关机", "重启"),
    "GY": ("frame", "关于", [
        item("label", "绿色免安装版"),
        item("label", "V3.6.0版本更新：增加皮肤替换功能！（仅测试中。。。）"
             "预计接下来两次更新会将换肤功能完善，感谢您的支持！"),
        item("push button", "确定", [FOCUSED]),
    ], None),
    "Form1": ("frame", "换肤（测试中）", [
        item("panel", "皮肤"),
        *[item("radio button", n, [], [CHECKED]) for n in ("星空主题", "大海主题", "天空主题")],
        item("push button", "确定"),
        item("label", "想要自定义皮肤的点这里。"),
    ], None),
    "main-disabled": ("frame", "<Tavimo> 关机工具 ", [
        item("push button", "开始计时", [], [ENABLED]),
    ], None),
    "box-notes": box("说明", "说明：因为系统重装"),
    "box-skin-notice": box("提示", "测试期间重新加载会重置皮肤！！"),
    "box-minimised": box("最小化！", "已最小化！可以双击任务栏的图标重新呼出！"),
}


def states_of(acc):
    return {pyatspi.stateToString(s) for s in acc.getState().getStates()}


def text_of(acc):
    try:
        text = acc.queryText()
    except NotImplementedError:
        return None
    return text.getText(0, text.characterCount)


def descendants(acc):
    for child in acc:
        if child is None:
            continue
        yield child
        yield from descendants(child)


def describe(acc):
    return f"{acc.getRoleName()} {acc.name!r} {sorted(states_of(acc))} text={text_of(acc)!r}"


def program():
    desktop = pyatspi.Registry.getDesktop(0)
    desktop.clearCache()
    if app := next((a for a in desktop if a is not None and a.name == "tavimo-shutdown"), None):
        app.clearCache()
    return app


def matches(acc, expected):
    role, name, must, must_not, text = expected
    if acc.getRoleName() != role or acc.name != name:
        return False
    states = states_of(acc)
    if SEATLESS:
        must = must - {FOCUSED}
    if not must <= states or must_not & states:
        return False
    return text is None or text_of(acc) == text


def check(scene):
    """None when the scene holds, else what is wrong."""
    role, name, items, description = SCENES[scene]
    windows = [w for w in showing_windows("^" + re.escape(name) + "$") if w.getRoleName() == role]
    if not windows:
        return "no window " + repr((role, name)) + " among: " + "; ".join(
            describe(w) for w in (program() or []) if w is not None)
    window = windows[0]
    if description is not None and not window.description.startswith(description):
        return f"{name!r} describes itself as {window.description!r}"
    found = list(descendants(window))
    missing = [e for e in items if not any(matches(acc, e) for acc in found)]
    if missing:
        return (f"in {name!r} missing {missing}\nfound:\n  "
                + "\n  ".join(describe(acc) for acc in found))
    return None


def check_focus(expected):
    focused = [acc for acc in descendants(program() or []) if FOCUSED in states_of(acc)]
    found = [f"{acc.getRoleName()}:{acc.name}" for acc in focused]
    return None if expected in found else f"the focus is on {found}, not {expected!r}"


def showing_windows(pattern):
    app = program()
    return [w for w in (app or []) if w is not None and "showing" in states_of(w)
            and re.search(pattern, w.name)]


def window_named(name):
    found = showing_windows("^" + re.escape(name) + "$") or sys.exit(f"AT-SPI: no window {name!r}")
    return found[0]


def under(acc, x, y):
    """The innermost object at a point of the window that acts or edits."""
    for child in acc:
        if child is None or "showing" not in states_of(child):
            continue
        box = child.queryComponent().getExtents(pyatspi.WINDOW_COORDS)
        if box.x <= x < box.x + box.width and box.y <= y < box.y + box.height:
            inner = under(child, x, y)
            if inner is not None:
                return inner
            if child.queryAction().nActions or "editable" in states_of(child):
                return child
    return None


def click(window, x, y=None):
    if y is None:
        target = pyatspi.findDescendant(window_named(window), lambda a: a.name == x)
    else:
        target = under(window_named(window), int(x), int(y))
    if target is None:
        return  # as a click on bare background
    if "editable" in states_of(target):
        target.queryComponent().grabFocus()
    else:
        # An action that opens a modal box answers only once it is closed.
        pyatspi.setTimeout(500, -1)
        try:
            target.queryAction().doAction(0)
        except GLib.Error:
            pass


def type_text(window, text):
    for acc in descendants(window_named(window)):
        if {FOCUSED if not SEATLESS else "focusable", "editable"} <= states_of(acc):
            acc.queryEditableText().setTextContents(text)
            return 0
    sys.exit(f"AT-SPI: no focused text in {window!r}")


def size(window):
    box = window_named(window).queryComponent().getExtents(pyatspi.WINDOW_COORDS)
    print(f"WIDTH={box.width} HEIGHT={box.height}")


def shown(pattern, wanted=True):
    """None once a showing window matches (printing its name), or none does."""
    found = showing_windows(pattern)
    if bool(found) != wanted:
        return "not yet"
    if found:
        print(found[0].name)
    return None


ACTIONS = {"click": click, "type": type_text, "size": size}
WAITS = {"window": shown, "gone": lambda pattern: shown(pattern, False), "focus": check_focus}


def main():
    verb, args = sys.argv[1], sys.argv[2:]
    if verb in ACTIONS:
        return ACTIONS[verb](*args)
    what = partial(WAITS[verb], args.pop(0)) if verb in WAITS else partial(check, verb)
    deadline = time.monotonic() + (float(args[0]) if args else 5)
    while (problem := what()) is not None:
        if time.monotonic() > deadline:
            if verb not in ("window", "gone"):
                print(f"AT-SPI, {' '.join(sys.argv[1:])}: {problem}", file=sys.stderr)
            return 1
        time.sleep(0.1)
    return 0


if __name__ == "__main__":
    sys.exit(main())
