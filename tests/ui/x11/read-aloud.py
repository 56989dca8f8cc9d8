#!/usr/bin/python3
"""The windows as Orca reads them over AT-SPI: every focusable control named, the place's lists
apart, no hidden window, each secondary window opened from the keyboard named and closed by
Escape. Usage: read-aloud.py ZERIN (under X and D-Bus: read-aloud.sh); 77 when no bus starts."""
import os
import subprocess
import sys
import time

try:
    import pyatspi
except ImportError:
    print("SKIPPED: python3-pyatspi is not installed (scripts/install-deps.sh installs it)")
    sys.exit(77)
if subprocess.run(["dbus-send", "--session", "--print-reply", "--dest=org.a11y.Bus",
                   "/org/a11y/bus", "org.a11y.Bus.GetAddress"], capture_output=True).returncode:
    print("SKIPPED: the accessibility bus (at-spi2-core) could not start")
    sys.exit(77)

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


def nodes(node):
    yield node
    for child in node:
        if child is not None:
            yield from nodes(child)


def named_controls(window, title):
    """The controls that take the focus and show, each checked for a name."""
    controls = [n for n in nodes(window) if n.getRole() != pyatspi.ROLE_LABEL and
                n.getState().contains(pyatspi.STATE_FOCUSABLE) and
                n.getState().contains(pyatspi.STATE_SHOWING)]
    for n in controls:
        check(n.name.strip() != "", "%s: a %s without a name" % (title, n.getRoleName()))
    return controls


def named(window, role, name):
    return next((n for n in nodes(window) if n.getRole() == role and n.name == name), None)


app_process = subprocess.Popen([sys.argv[1]], env=dict(os.environ,
                                                       QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1"))
try:
    desktop = pyatspi.Registry.getDesktop(0)
    app = wait_for(lambda: next((a for a in desktop if a is not None and a.name == "zerin"), None))
    if app is None:
        check(False, "zerin is not in the accessibility tree")
        sys.exit(1)
    main = wait_for(lambda: app.childCount >= 1 and app[0])
    time.sleep(2)  # the report window is made ready, hidden, after the first paint
    check(app.childCount == 1, "a hidden window is announced: %d windows" % app.childCount)
    controls = named_controls(main, "main window")
    check(len(controls) >= 39, "the main window has %d named controls" % len(controls))
    lists = [n.name for n in controls if n.getRole() == pyatspi.ROLE_COMBO_BOX]
    check(len(set(lists)) == len(lists), "lists with the same name: %s" % lists)
    place = [name for name in lists if name.startswith(("خط الطول، ", "خط العرض، "))]
    check(len(place) == 6, "the six place lists: %s" % place)
    # Each secondary window, opened from the keyboard: its controls named, Escape closes it.
    for title, command, press in [("preface", None, "F1"), ("timetable", "جدول المواقيت", "space"),
                                  ("crescent map", "خريطة الهلال", "space"),
                                  ("About", "حول البرنامج", "space")]:
        if command:
            button = named(main, pyatspi.ROLE_PUSH_BUTTON, command)
            check(button is not None, "no command " + str(command))
            if button is None:
                continue
            button.queryComponent().grabFocus()
            time.sleep(0.3)
        subprocess.run(["xdotool", "key", press], check=False)
        window = wait_for(lambda: app.childCount == 2 and app[1], 30)
        check(window is not None, title + ": the window did not open")
        if window is None:
            continue
        time.sleep(1)
        named_controls(window, title)
        if title == "preface":
            check(named(window, pyatspi.ROLE_TEXT, "مقدمة البرنامج: تنبيه هام") is not None,
                  "the report's text is not named for what it shows")
        subprocess.run(["xdotool", "key", "Escape"], check=False)
        check(wait_for(lambda: app.childCount == 1) is not None,
              title + ": closed, it is still announced")
finally:
    app_process.terminate()
    app_process.wait(10)
print("%d failures" % len(failures) if failures else "the windows read aloud")
sys.exit(1 if failures else 0)
