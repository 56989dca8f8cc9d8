#!/usr/bin/python3
"""The windows as a screen reader (Orca) reads them, through the AT-SPI accessibility bus:
every control that takes the focus has a name, the place's lists have distinct names, the
hidden report window is not in the tree, and each secondary window, opened from the
keyboard, is named control by control and closed by Escape.

    read-aloud.py ZERIN        (under an X server and a D-Bus session: read-aloud.sh)

Exits 77 (skipped) with the reason when no accessibility bus can start.
"""
import os
import subprocess
import sys
import time

SKIP = 77


def skip(reason):
    print("SKIPPED: " + reason)
    sys.exit(SKIP)


try:
    import pyatspi
except ImportError:
    skip("python3-pyatspi is not installed (scripts/install-deps.sh installs it)")

if subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                   "/org/a11y/bus", "org.a11y.Bus.GetAddress"],
                  capture_output=True).returncode != 0:
    skip("the accessibility bus (at-spi2-core) could not start")

failures = []


def check(condition, what):
    if not condition:
        failures.append(what)
        print("FAIL: " + what)


def wait_for(test, seconds=20):
    end = time.time() + seconds
    while time.time() < end:
        value = test()
        if value:
            return value
        time.sleep(0.2)
    return None


def key(name):
    subprocess.run(["xdotool", "key", name], check=False)


def nodes(node):
    yield node
    for child in node:
        if child is not None:
            yield from nodes(child)


def focusable(node):
    states = node.getState()
    return (states.contains(pyatspi.STATE_FOCUSABLE) and states.contains(pyatspi.STATE_SHOWING)
            and node.getRole() != pyatspi.ROLE_LABEL)


def check_names(window, title):
    controls = [n for n in nodes(window) if focusable(n)]
    for n in controls:
        check(n.name.strip() != "", "%s: a %s without a name" % (title, n.getRoleName()))
    print("%s: %d controls that take the focus" % (title, len(controls)))
    return controls


def named(window, role, name):
    for n in nodes(window):
        if n.getRole() == role and n.name == name:
            return n
    return None


app_process = subprocess.Popen([sys.argv[1]], env=dict(os.environ,
                                                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
try:
    desktop = pyatspi.Registry.getDesktop(0)
    app = wait_for(lambda: next((a for a in desktop if a is not None and a.name == "zerin"), None))
    check(app is not None, "zerin is not in the accessibility tree" +
          ("" if app_process.poll() is None else " (it ended, status %d)" % app_process.returncode))
    if app is None:
        sys.exit(1)
    main = wait_for(lambda: app.childCount >= 1 and app[0])
    time.sleep(2)  # the report window is made ready, hidden, after the first paint
    check(app.childCount == 1, "a hidden window is announced: %d windows" % app.childCount)

    controls = check_names(main, "main window")
    check(len(controls) >= 39, "the main window has %d named controls" % len(controls))
    lists = [n.name for n in controls if n.getRole() == pyatspi.ROLE_COMBO_BOX]
    check(len(set(lists)) == len(lists), "lists with the same name: %s" % lists)
    place = [name for name in lists if name.startswith(("خط الطول، ", "خط العرض، "))]
    check(len(place) == 6, "the six place lists: %s" % place)

    # Each secondary window, opened from the keyboard: its controls named, Escape closes it.
    openers = [("preface", None, "F1"), ("timetable", "جدول المواقيت", "space"),
               ("crescent map", "خريطة الهلال", "space"), ("About", "حول البرنامج", "space")]
    for title, command, press in openers:
        if command:
            button = named(main, pyatspi.ROLE_PUSH_BUTTON, command)
            check(button is not None, "no command " + command)
            if button is None:
                continue
            button.queryComponent().grabFocus()
            time.sleep(0.3)
        key(press)
        window = wait_for(lambda: app.childCount == 2 and app[1], 30)
        check(window is not None, title + ": the window did not open")
        if window is None:
            continue
        time.sleep(1)
        check_names(window, title)
        if title == "preface":
            check(named(window, pyatspi.ROLE_TEXT, "مقدمة البرنامج: تنبيه هام") is not None,
                  "the report's text is not named for what it shows")
        key("Escape")
        check(wait_for(lambda: app.childCount == 1) is not None,
              title + ": closed, it is still announced")
finally:
    app_process.terminate()
    app_process.wait(10)

if failures:
    print("%d failures" % len(failures))
    sys.exit(1)
print("the windows read aloud")
