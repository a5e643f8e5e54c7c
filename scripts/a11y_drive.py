#!/usr/bin/python3
"""Drives the calculator through AT-SPI while Orca listens, and checks what
Orca says at each step. scripts/a11y-check runs it inside a D-Bus session and
an X display of its own, with Orca's debug output going to a file.

    a11y_drive.py PROGRAM ORCA_DEBUG_FILE
"""

import os
import re
import subprocess
import sys
import time

import pyatspi

PROGRAM, ORCA_LOG = sys.argv[1], sys.argv[2]
failures = []


class Speech:
    """What Orca said since the last mark, read from its debug file."""

    ENTRY = re.compile(rb"^\d\d:\d\d:\d\d\.\d+ - ", re.M)
    UTTERANCE = re.compile(r"SPEECH OUTPUT: '(.*)'(?: voice=\w+)?(?:\{.*\})?\s*$", re.S)

    def __init__(self, path):
        self.path = path
        self.offset = 0

    def mark(self):
        self.offset = os.path.getsize(self.path)

    def said(self):
        with open(self.path, "rb") as log:
            log.seek(self.offset)
            text = log.read()
        result = []
        for entry in self.ENTRY.split(text):
            match = self.UTTERANCE.match(entry.decode("utf-8", "replace"))
            if match:
                # Orca indents the further lines of an utterance in its log.
                result.append(match.group(1).replace("\n" + " " * 18, "\n"))
        return result

    def wait_for(self, words, timeout=10.0):
        """Waits until Orca has said every one of the words, then a little
        longer for the rest of what it says; returns all it said."""
        deadline = time.monotonic() + timeout
        while time.monotonic() < deadline:
            if all(w in " ".join(self.said()) for w in words):
                time.sleep(0.7)
                break
            time.sleep(0.1)
        return self.said()


speech = Speech(ORCA_LOG)


def step(title, words, action, timeout=10.0, last=None):
    """Runs the action and checks that Orca then says every one of the words,
    and, if given, that the last thing it says holds the words of last: Orca
    cuts off what it is saying for what comes next."""
    speech.mark()
    action()
    said = speech.wait_for(words, timeout)
    print(f"== {title}")
    for utterance in said:
        print("   Orca: " + utterance.replace("\n", "\n         "))
    missing = [w for w in words if w not in " ".join(said)]
    if missing:
        failures.append(title)
        print(f"   FAIL: never said {missing}")
    elif last and not (said and all(w in said[-1] for w in last)):
        failures.append(title)
        print(f"   FAIL: {last} not said last")
    else:
        print("   ok")
    return said


def check(title, ok, detail=""):
    print(f"== {title}: {'ok' if ok else 'FAIL'} {detail}".rstrip())
    if not ok:
        failures.append(title)


def find_app():
    desktop = pyatspi.Registry.getDesktop(0)
    for _ in range(200):
        for app in desktop:
            if app is not None and app.name == "rilo_mj" and app.childCount > 0:
                return app
        time.sleep(0.05)
    raise SystemExit("a11y-check: the calculator never appeared on the AT-SPI bus")


def find(root, role, name=None):
    return pyatspi.findDescendant(
        root, lambda a: a is not None and a.getRole() == role and (name is None or a.name == name))


def wait_for_dialog(app, present=True, timeout=10.0):
    deadline = time.monotonic() + timeout
    while time.monotonic() < deadline:
        dialogs = [w for w in app if w is not None
                   and w.getRole() in (pyatspi.ROLE_ALERT, pyatspi.ROLE_DIALOG)
                   and w.getState().contains(pyatspi.STATE_SHOWING)]
        if bool(dialogs) == present:
            return dialogs[0] if dialogs else None
        time.sleep(0.05)
    raise SystemExit(f"a11y-check: no box {'opened' if present else 'closed'}")


def key(name):
    subprocess.run(["xdotool", "key", name], check=True)


env = dict(os.environ, QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
env.pop("QT_QPA_PLATFORM", None)
calculator = None
try:
    # The window opens with the focus in the first field.
    def start():
        global calculator
        calculator = subprocess.Popen([PROGRAM], env=env)

    step("the window opens", ["雀荘Rilo店簡易計算機('A`)", "frame", "１位の点数", "0"], start,
         timeout=20)
    app = find_app()
    window = app[0]
    check("main window role", window.getRole() == pyatspi.ROLE_FRAME,
          f"({window.getRoleName()})")

    groups = {g.name: [f for f in g if f.getRole() == pyatspi.ROLE_TEXT]
              for g in window if g.getRole() == pyatspi.ROLE_PANEL}
    score1, score2, score3, score4 = groups["点数"]
    side32, side41, rate = groups["サシウマ・レート"]
    pay41, pay32 = groups["支払い"]
    calculate = find(window, pyatspi.ROLE_PUSH_BUTTON, "計算")

    # Each field, entered as Tab would enter it, says what it holds.
    fields = [
        (score1, ["１位の点数"]), (score2, ["２位の点数"]),
        (score3, ["３位の点数"]), (score4, ["４位の点数"]),
        (side32, ["サシウマ", "３位が２位に払う", "Zeny"]),
        (side41, ["サシウマ", "４位が１位に払う", "Zeny"]),
        (rate, ["レート", "１０００点あたり", "Zeny"]),
        (pay41, ["支払い", "４位が１位に払う", "Zeny"]),
        (pay32, ["支払い", "３位が２位に払う", "Zeny"]),
    ]
    for field, words in fields[1:] + fields[:1]:
        step(f"focus on the field {field.name!r}", words, field.queryComponent().grabFocus)

    def set_inputs(texts):
        for field, text in zip([score1, score2, score3, score4, side32, side41, rate], texts):
            field.queryEditableText().setTextContents(text)

    def press_calculate():
        calculate.queryComponent().grabFocus()
        time.sleep(0.5)
        speech.mark()
        key("Return")

    # A Calculate that shows no notice: the two payments are heard, and the
    # focus stays on the button.
    set_inputs(["40000", "30000", "20000", "10000", "500", "1000", "1000"])
    step("計算 with no notice", ["31,000z", "10,500z"], press_calculate,
         last=["31,000z", "10,500z"])
    check("focus stays on 計算", calculate.getState().contains(pyatspi.STATE_FOCUSED))
    step("計算 again, same result", ["31,000z", "10,500z"], press_calculate,
         last=["31,000z", "10,500z"])
    # Heard again by going back to the payment fields.
    step("Shift+Tab from 計算", ["支払い ３位が２位に払うZeny", "10,500z"], lambda: key("shift+Tab"))
    step("Shift+Tab again", ["支払い ４位が１位に払うZeny", "31,000z"], lambda: key("shift+Tab"))

    # A typing mistake: the error box reads its message.
    set_inputs(["12a", "30000", "20000", "10000", "500", "1000", "1000"])
    step("計算 with '12a' in １位", ["alert", "rilo_mj", "'12a' は整数ではありません."],
         press_calculate)
    box = wait_for_dialog(app)
    icon = find(box, pyatspi.ROLE_IMAGE)
    check("stop icon has a name", icon is not None and bool(icon.name),
          f"({icon.name!r})" if icon else "(no image)")
    step("error box closed with Enter", ["計算"], lambda: key("Return"))
    wait_for_dialog(app, present=False)

    # A large loss: the notice reads itself, and after it the payments.
    set_inputs(["2000000", "30000", "20000", "0", "0", "0", "1000"])
    step("計算 with a notice", ["alert", "rilo_mj"], press_calculate)
    box = wait_for_dialog(app)
    label = find(box, pyatspi.ROLE_LABEL)
    first_line = next(line for line in label.name.splitlines() if line.strip())
    check("notice text spoken", first_line.strip() in " ".join(speech.said()),
          f"(first line {first_line.strip()!r})")
    step("notice closed with Enter", ["計算", "2,000,000z", "10,000z"], lambda: key("Return"),
         last=["2,000,000z", "10,000z"])
finally:
    if calculator:
        calculator.terminate()
        calculator.wait(10)

if failures:
    print(f"a11y-check: FAILED: {', '.join(failures)}")
    sys.exit(1)
print("a11y-check: every step passed")
