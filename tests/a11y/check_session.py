#!/usr/bin/python3
"""Reads the running program as a screen reader does, through AT-SPI, and uses it with the keyboard
alone (xdotool): every page's names, roles, values and actions, the Tab order of every page, a
clock measurement started with Space, the owner changed and registered from the keyboard, and the
editor closed with Escape. Writes what it read, page by page, to --out; any failure makes the exit
status 1 and is listed at the end of that file and on stderr.

  check_session.py --pid PID --out FILE --config XDG_CONFIG_HOME --hostnamed-log FILE --shots DIR
"""
import argparse
import os
import re
import subprocess
import sys
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

# The interface getters are what 2.46, the version Debian 12 has, offers.
warnings.filterwarnings("ignore", category=DeprecationWarning)

PAGES = ["ディスク", "メモリ", "CPU", "BIOS", "画面", "ユーザー 情報"]

# What each page must let a reader find: (role, name). Figure boxes must also carry a value.
EXPECTED = {
    "ディスク": [("combo box", None), ("progress bar", "使用率"), ("text", "全容量"), ("text", "使用量"),
                ("text", "空容量"), ("text", "ファイルシステム"), ("text", "シリアル番号")],
    "メモリ": [("progress bar", "使用率"), ("text", "全容量"), ("text", "使用量"), ("text", "空容量")],
    "CPU": [("text", "周波数"), ("text", "Name"), ("text", "Vendor"), ("push button", "クロック 計測")],
    "BIOS": [("text", "メインボード バイオス情報"), ("label", "メインボード バイオス情報")],
    "画面": [("text", "ディスプレイ（画面）情報"), ("label", "ディスプレイ（画面）情報")],
    "ユーザー 情報": [("text", "使用者"), ("text", "会社名"), ("text", "ＰＣ名"), ("text", "メッセージ"),
                    ("label", "使用者"), ("label", "会社名"), ("push button", "登録変更")],
}
# Boxes whose value may be empty on some machines: no firmware tables, no organization registered.
MAY_BE_EMPTY = {("BIOS", "メインボード バイオス情報"), ("ユーザー 情報", "会社名")}

# Each page's Tab ring, from the page tabs round to them again; the focus panel the page's show
# handler focuses (None: the disk page has none).
TAB_BAR = "page tab list"
RINGS = {
    "ディスク": (None, ["combo box", "progress bar:使用率", "text:全容量", "text:使用量", "text:空容量",
                       "text:ファイルシステム", "text:シリアル番号"]),
    "メモリ": ("panel:メモリ", ["progress bar:使用率", "text:全容量", "text:使用量", "text:空容量"]),
    "CPU": ("panel:CPU", ["text:周波数", "text:Name", "text:Vendor", "push button:クロック 計測"]),
    "BIOS": ("panel:BIOS", ["text:メインボード バイオス情報"]),
    "画面": ("panel:画面", ["text:ディスプレイ（画面）情報"]),
    "ユーザー 情報": ("panel:ユーザー 情報", ["text:使用者", "text:会社名", "text:ＰＣ名", "push button:登録変更",
                                     "text:メッセージ"]),
}

failures = []
lines = []


def fail(message):
    failures.append(message)
    lines.append("FAIL: " + message)


def pump(seconds):
    """Lets AT-SPI events arrive for `seconds`."""
    context = GLib.MainContext.default()
    end = time.time() + seconds
    while time.time() < end:
        while context.pending():
            context.iteration(False)
        time.sleep(0.02)


def walk(node):
    yield node
    for i in range(node.get_child_count()):
        child = node.get_child_at_index(i)
        if child is not None:
            yield from walk(child)


def has(node, state):
    return node.get_state_set().contains(state)


def showing(node):
    return has(node, Atspi.StateType.SHOWING)


def label(node):
    role = node.get_role_name()
    name = node.get_name() or ""
    return role if role == TAB_BAR or (role == "combo box") else f"{role}:{name}"


def value(node):
    text = node.get_text_iface() if hasattr(node, "get_text_iface") else None
    if text is not None:
        return text.get_text(0, text.get_character_count()).replace("\r\n", "\n").rstrip("\n")
    number = node.get_value_iface()
    if number is not None:
        return "%d %%" % round(number.get_current_value())
    return None


def actions(node):
    action = node.get_action_iface()
    if action is None:
        return []
    return [action.get_action_name(i) for i in range(action.get_n_actions())]


class Session:
    def __init__(self, pid):
        self.pid = pid
        self.app = self.find_app()
        self.window = next(n for n in walk(self.app) if n.get_role_name() == "frame")
        ids = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--pid", str(pid)],
                             capture_output=True, text=True, check=True).stdout.split()
        self.xid = ids[0]
        subprocess.run(["xdotool", "windowfocus", "--sync", self.xid], check=True)
        pump(0.5)
        self.changed = {}  # names of objects whose text or value changed, with a count
        for kind in ("object:text-changed:insert", "object:property-change:accessible-value"):
            listener = Atspi.EventListener.new(self.on_change)
            listener.register(kind)
            setattr(self, "listener_" + kind.split(":")[1].replace("-", "_"), listener)

    def on_change(self, event):
        try:
            if event.source.get_process_id() != self.pid:
                return
            key = f"{event.source.get_role_name()}:{event.source.get_name()}"
        except GLib.Error:
            return
        self.changed[key] = self.changed.get(key, 0) + 1

    def find_app(self):
        end = time.time() + 30
        while time.time() < end:
            desktop = Atspi.get_desktop(0)
            for i in range(desktop.get_child_count()):
                app = desktop.get_child_at_index(i)
                try:
                    if app is not None and app.get_process_id() == self.pid:
                        return app
                except GLib.Error:
                    pass
            time.sleep(0.2)
        sys.exit("check_session: the program did not appear on the AT-SPI bus")

    def key(self, *keys):
        subprocess.run(["xdotool", "key", "--clearmodifiers", *keys], check=True)
        pump(0.25)

    def type(self, text):
        subprocess.run(["xdotool", "type", "--delay", "30", text], check=True)
        pump(0.25)

    def focused(self):
        for node in walk(self.window):
            if has(node, Atspi.StateType.FOCUSED) and showing(node):
                return node
        return None

    def focus_label(self):
        node = self.focused()
        return label(node) if node is not None else "(nothing)"

    def find(self, role, name, shown=True):
        for node in walk(self.window):
            if node.get_role_name() == role and node.get_name() == name and (showing(node) or not shown):
                return node
        return None

    def current_page(self):
        tabs = self.find(TAB_BAR, None, shown=True) or next(
            (n for n in walk(self.window) if n.get_role_name() == TAB_BAR), None)
        return tabs.get_name() if tabs is not None else None

    def shown_pages(self):
        tabs = next(n for n in walk(self.window) if n.get_role_name() == TAB_BAR)
        return [tabs.get_child_at_index(i).get_name() for i in range(tabs.get_child_count())
                if tabs.get_child_at_index(i).get_role_name() == "page tab"
                and showing(tabs.get_child_at_index(i))]

    def turn_to(self, page):
        return press_until(self, "ctrl+Next", lambda: self.current_page() == page, 8, f"the page {page}")

    def page_pane(self, page):
        return next((n for n in walk(self.window) if n.get_role_name() == "panel" and n.get_name() == page
                     and showing(n) and n.get_parent().get_role_name() == "layered pane"), None)


def read_page(session, page):
    lines.append(f"== {page} ==")
    pane = session.page_pane(page)
    if pane is None:
        fail(f"{page}: no pane named by the page")
        return
    found = set()
    for node in walk(pane):
        if node is pane or not showing(node):
            continue
        role, name = node.get_role_name(), node.get_name() or ""
        if role == "filler" and has(node, Atspi.StateType.FOCUSABLE):
            fail(f"{page}: a focusable filler")
        if role in ("filler", "scroll bar", "list", "list item") or (role == "panel" and not name):
            continue
        shown = value(node)
        acts = actions(node)
        line = f"{role} “{name}”"
        if shown is not None and role != "label":
            line += f" = “{shown}”"
        if role in ("push button", "combo box"):
            line += f" [actions: {', '.join(acts)}]"
        lines.append(line)
        found.add((role, name))
        if role in ("text", "progress bar", "push button", "combo box") and not name:
            fail(f"{page}: a {role} without a name (value “{shown}”)")
        if role in ("text", "progress bar") and not shown and (page, name) not in MAY_BE_EMPTY:
            fail(f"{page}: {role} “{name}” has no value")
        if role == "push button" and "Press" not in acts and "press" not in acts:
            fail(f"{page}: push button “{name}” has no press action")
        if role == "combo box" and not re.match(r"^[a-z]: \S", name):
            fail(f"{page}: the drive selector reads “{name}”, not a drive in words")
        if role == "progress bar" and not re.match(r"^\d+ %$", shown or ""):
            fail(f"{page}: gauge “{name}” reads “{shown}”")
    for role, name in EXPECTED[page]:
        if name is None:
            if not any(r == role for r, _ in found):
                fail(f"{page}: no {role}")
        elif (role, name) not in found:
            fail(f"{page}: no {role} named “{name}”")


def check_ring(session, page):
    panel, ring = RINGS[page]
    if panel is None:
        # No focus panel: the ring starts at the page tabs.
        press_until(session, "Tab", lambda: session.focus_label() == TAB_BAR, 12, "the page tabs")
    elif session.focus_label() != panel:
        fail(f"{page}: the page put the focus on {session.focus_label()}, not {panel}")
    expected = ring + [TAB_BAR]
    visited = []
    for _ in expected:
        session.key("Tab")
        visited.append(session.focus_label())
    lines.append(f"Tab order: {panel or TAB_BAR} → " + " → ".join(visited))
    if visited != expected:
        fail(f"{page}: Tab went {visited}, not {expected}")
    session.key("shift+Tab")
    if session.focus_label() != ring[-1]:
        fail(f"{page}: Shift+Tab from the tabs went to {session.focus_label()}, not {ring[-1]}")


def press_until(session, key, reached, limit, what):
    """Presses `key` until `reached()` holds, at most `limit` times."""
    for _ in range(limit):
        if reached():
            return True
        session.key(key)
    if reached():
        return True
    fail(f"{key} never reached {what}")
    return False


def wait_for(predicate, seconds):
    """True once `predicate` holds, within `seconds`; a program busy measuring answers no question
    until it is done, which counts as not yet."""
    end = time.time() + seconds
    while time.time() < end:
        try:
            if predicate():
                return True
        except GLib.Error:
            pass
        pump(0.2)
    return False


def focus_to(session, target, limit=14):
    return press_until(session, "Tab", lambda: session.focus_label() == target, limit, target)


def measure_clock(session, shots):
    lines.append("== CPU: クロック 計測 with Space ==")
    session.turn_to("CPU")
    box = session.find("text", "周波数")
    before = value(box)
    if not focus_to(session, "push button:クロック 計測"):
        return
    os.makedirs(shots, exist_ok=True)
    shot = os.path.join(shots, "cpu-keyboard-focus.png")
    subprocess.run(["import", "-window", session.xid, shot], check=True)
    lines.append(f"picture with the focus on クロック 計測: {shot}")
    session.changed.clear()
    session.key("space")
    done = wait_for(lambda: re.search(r"\d.* [MG]Hz$", value(box) or "") is not None, 20)
    lines.append(f"周波数: “{before}” → “{value(box)}”")
    if not done:
        fail(f"the clock measurement ended in “{value(box)}”, not a figure")
    if not session.changed.get("text:周波数"):
        fail("the clock result raised no text-changed event")
    if session.focus_label() != "panel:CPU":
        fail(f"after the measurement the focus is on {session.focus_label()}, not panel:CPU")


def register(session, config, hostnamed_log):
    lines.append("== ユーザー 情報: registered by keyboard ==")
    session.turn_to("ユーザー 情報")
    if not focus_to(session, "push button:登録変更"):
        return
    session.key("Return")
    if session.focus_label() != "text:使用者" or session.find("push button", "登　録") is None:
        fail(f"登録変更 by Return left the focus on {session.focus_label()}")
        return
    session.changed.clear()
    session.key("ctrl+a")
    session.type("Keyboard Owner")
    session.key("Tab")
    session.key("ctrl+a")
    session.type("Keyboard Works")
    session.key("Tab")
    session.key("Tab")
    if session.focus_label() != "push button:登\u3000録":
        fail(f"Tab from the editor's boxes reached {session.focus_label()}, not 登　録")
        return
    session.key("space")
    store = os.path.join(config, "zelvo", "registration.ini")
    stored = wait_for(lambda: os.path.exists(store) and "Keyboard Owner" in open(store, encoding="utf-8").read(), 10)
    content = open(store, encoding="utf-8").read() if os.path.exists(store) else "(no file)"
    lines.append("registration store: " + " | ".join(content.split("\n")).strip(" |"))
    if not stored or "Keyboard Works" not in content:
        fail("the owner and organization typed did not reach the registration store")
    owner = session.find("text", "使用者")
    lines.append(f"使用者 now reads “{value(owner)}”; status “{value(session.find('text', 'メッセージ'))}”")
    if value(owner) != "Keyboard Owner":
        fail(f"使用者 reads “{value(owner)}” after registering")
    if not session.changed.get("text:メッセージ"):
        fail("the registration status raised no text-changed event")
    with open(hostnamed_log, encoding="utf-8") as log:
        lines.append("host-name stand-in was asked: " + " | ".join(log.read().split("\n")).strip(" |"))

    # Escape closes the editor as キャンセル does.
    if focus_to(session, "push button:登録変更"):
        session.key("Return")
        session.key("Escape")
        if session.find("push button", "キャンセル") is not None or session.find("push button", "登録変更") is None:
            fail("Escape did not close the editor")
        else:
            lines.append("Escape in the editor: closed, 登録変更 shown again")


def choose_drive(session):
    session.turn_to("ディスク")
    selector = next(n for n in walk(session.window) if n.get_role_name() == "combo box" and showing(n))
    rows = [n.get_name() for n in walk(selector) if n.get_role_name() in ("list item", "table cell")]
    lines.append("== ディスク: drive rows ==")
    lines.extend("row “%s”" % row for row in rows)
    if any(not re.match(r"^[a-z]: \S", row or "") for row in rows) or not rows:
        fail(f"drive rows {rows} do not read a letter and a kind")
    if len(rows) < 2:
        lines.append("one drive: nothing to choose by keyboard")
        return
    if not focus_to(session, "combo box"):
        return
    before = selector.get_name()
    session.key("Down")
    after = selector.get_name()
    lines.append(f"Down on the selector: “{before}” → “{after}”")
    if after == before:
        fail("Down on the drive selector chose no other drive")


def main():
    parser = argparse.ArgumentParser()
    parser.add_argument("--pid", type=int, required=True)
    parser.add_argument("--out", required=True)
    parser.add_argument("--config", required=True)
    parser.add_argument("--hostnamed-log", required=True)
    parser.add_argument("--shots", required=True)
    args = parser.parse_args()

    try:
        session = Session(args.pid)
        check(session, args)
    finally:
        with open(args.out, "w", encoding="utf-8") as out:
            out.write("\n".join(lines) + "\n")
    if failures:
        print("check_session: %d failures (see %s):" % (len(failures), args.out), file=sys.stderr)
        for message in failures:
            print("  " + message, file=sys.stderr)
        return 1
    print("check_session: every page read, every action done by keyboard; %s" % args.out)
    return 0


def check(session, args):
    lines.append(f"window “{session.window.get_name()}” ({session.window.get_role_name()})")
    pages = session.shown_pages()
    lines.append("pages: " + ", ".join(pages))
    session.turn_to("CPU")
    for page in pages:
        session.turn_to(page)
        pump(0.3)
        read_page(session, page)
        check_ring(session, page)
    memory_updates = session.changed.get("text:全容量", 0) + session.changed.get("text:使用量", 0)
    lines.append(f"memory figures: {memory_updates} text-changed events while reading; gauges: "
                 f"{session.changed.get('progress bar:使用率', 0)} value-changed events")
    choose_drive(session)
    measure_clock(session, args.shots)
    register(session, args.config, args.hostnamed_log)


if __name__ == "__main__":
    sys.exit(main())
