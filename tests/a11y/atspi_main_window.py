#!/usr/bin/python3
"""The desktop program as a screen reader meets it on the accessibility bus (AT-SPI).

Usage: atspi_main_window.py MORVASK SAMPLEDB EXPORTER

In a private D-Bus session, accessibility bus and X server, all started here, writes a
sample installation, starts the program on it with its accessibility bridge on, accepts the
run settings and makes the ADIF file twice, as a screen reader's user would, through the
bus. Checks what Orca would read: every value with its caption, each run's end told once as
a notification that comes up, and the counters sending two name changes a run, not one per
count. Prints the accessible tree of the main window after a run; exits 1, saying what
differs, on any difference.
"""

import os
import subprocess
import sys
import tempfile
import time
import warnings

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi, GLib  # noqa: E402

APP_TITLE = "Morvask ADI filemaker - ver 1.00"
# The counters in the order they are read, as the exporter prints them.
COUNTERS = ["Total QSOs", "Valid QSOs", "Not Valid QSOs", "Not Date Range", "Not same OprCall"]
failures = []


def check(condition, what):
    if not condition:
        failures.append(what)


def role(node):
    # A push button's role is named "push button" on Debian 12 and "button" on Debian 13.
    name = node.get_role_name()
    return "button" if name == "push button" else name


def text_of(node):
    if "Text" not in node.get_interfaces():
        return None
    return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))


def children(node):
    return [node.get_child_at_index(i) for i in range(node.get_child_count())]


def dump(node, depth=0, lines=None):
    """One line an object: role, name, and the text of those that hold one."""
    lines = [] if lines is None else lines
    line = '%s%s "%s"' % ("  " * depth, role(node), node.get_name())
    text = text_of(node)
    if text is not None:
        line += ' text "%s"' % text
    lines.append(line)
    for child in children(node):
        dump(child, depth + 1, lines)
    return lines


def find(node, wanted):
    if wanted(node):
        return node
    for child in children(node):
        found = find(child, wanted)
        if found:
            return found
    return None


def pump(seconds):
    """Runs the main loop for a while, so that the bus's events arrive."""
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        while context.iteration(False):
            pass
        time.sleep(0.01)


def wait_for(what, probe, seconds=60):
    end = time.monotonic() + seconds
    while time.monotonic() < end:
        try:
            found = probe()
        except GLib.Error:
            found = None  # an object that went away while it was read
        if found:
            return found
        pump(0.1)
    raise TimeoutError("timed out waiting for " + what)


def press(node):
    for i in range(Atspi.Action.get_n_actions(node)):
        with warnings.catch_warnings():
            # Deprecated for a newer call that Debian 12's library does not have yet.
            warnings.simplefilter("ignore", DeprecationWarning)
            name = Atspi.Action.get_action_name(node, i)
        if name == "Press":
            Atspi.Action.do_action(node, i)
            return
    raise RuntimeError('%s "%s" has no Press action' % (role(node), node.get_name()))


def start_x_server():
    """A private X server on a display number it chooses itself, so that tests running at
    the same time cannot collide."""
    read_end, write_end = os.pipe()
    server = subprocess.Popen(["Xvfb", "-displayfd", str(write_end), "-nolisten", "tcp", "-screen", "0",
                               "1024x768x24"], pass_fds=(write_end,), stderr=subprocess.DEVNULL)
    os.close(write_end)
    with os.fdopen(read_end) as display:
        number = display.readline().strip()
    if not number:
        raise RuntimeError("Xvfb did not start")
    return server, ":" + number


def exported_counts(exporter, prefix):
    """The five counts of a run, as the headless exporter prints them for the same files."""
    output = subprocess.run([exporter], env=dict(os.environ, WINEPREFIX=prefix), check=True,
                            capture_output=True, text=True).stdout
    counts = dict(line.split(": ", 1) for line in output.splitlines() if ": " in line)
    return [counts[caption] for caption in COUNTERS]


def run_once(make, events, counts):
    """Presses Make adi file and checks what the bus said until the end was told."""
    events.clear()
    press(make)
    wait_for("the end of the run told", lambda: [e for e in events if e[0] == "notification"])
    pump(1.0)  # anything sent after the end would be a second telling
    told = "Make adi file done: %s." % ", ".join("%s %s" % pair for pair in zip(COUNTERS, counts))
    check([e for e in events if e[0] == "notification"] == [("notification", told)],
          "the end told once, with the totals: %s" % events)
    changes = [e for e in events if e[0] == "name"]
    check(len(changes) == 2 * len(COUNTERS), "two name changes a counter, at the start and the end: %s" % changes)


def main():
    program, sampledb, exporter = sys.argv[1:4]
    with tempfile.TemporaryDirectory(prefix="morvask-atspi-") as work:
        if "MORVASK_ATSPI_SESSION" not in os.environ:
            # Again, inside a D-Bus session of its own. The accessibility bus keeps its socket
            # in the runtime folder: a folder of its own keeps two such tests apart, and no
            # display of the caller's is told about it.
            env = {k: v for k, v in os.environ.items()
                   if k not in ("DISPLAY", "WAYLAND_DISPLAY", "AT_SPI_BUS_ADDRESS", "DBUS_SESSION_BUS_ADDRESS")}
            runtime = os.path.join(work, "runtime")
            os.mkdir(runtime, 0o700)
            env.update(MORVASK_ATSPI_SESSION="1", XDG_RUNTIME_DIR=runtime)
            return subprocess.run(["dbus-run-session", "--", sys.executable, os.path.abspath(__file__)] + sys.argv[1:],
                                  env=env).returncode
        return check_program(program, sampledb, exporter, os.path.join(work, "Qervel prefix"))


def check_program(program, sampledb, exporter, prefix):
    subprocess.run([sampledb, prefix, "--contacts", "3000", "--seed", "7"], check=True, stdout=subprocess.DEVNULL)
    counts = exported_counts(exporter, prefix)

    Atspi.init()
    events = []
    counter_names = tuple(caption + "," for caption in COUNTERS)

    def on_event(event):
        try:
            source, name = role(event.source), event.source.get_name()
        except GLib.Error:
            return  # gone already: the run-settings dialog once it has closed
        if event.type.startswith("object:state-changed:showing") and source == "notification" and event.detail1:
            events.append(("notification", name))
        elif event.type.startswith("object:property-change:accessible-name") and name.startswith(counter_names):
            events.append(("name", name))

    listener = Atspi.EventListener.new(on_event)
    for kind in ("object:state-changed:showing", "object:property-change:accessible-name"):
        listener.register(kind)

    server, display = start_x_server()
    env = dict(os.environ, WINEPREFIX=prefix, DISPLAY=display, QT_QPA_PLATFORM="xcb",
               QT_LINUX_ACCESSIBILITY_ALWAYS_ON="1")
    process = subprocess.Popen([program], env=env, stdout=subprocess.DEVNULL)
    try:
        desktop = Atspi.get_desktop(0)
        dialog = wait_for("the run-settings dialog", lambda: next(
            (d for app in children(desktop) if app for d in [find(app, lambda n: role(n) == "dialog")] if d), None))
        fields = [(n.get_name(), role(n)) for n in children(dialog) if role(n) in ("text", "button")]
        for name in ["OprCall for this run :", "Start Date - YYYYMMDD", "End Date - YYYYMMDD",
                     "Qervel Source mdb file location :", "Qervel Refdata mdb file location :"]:
            check((name, "text") in fields, "dialog field named %r: %s" % (name, fields))
        for name in ["OK", "Cancel", "Browse for the Qervel Source mdb file", "Browse for the Qervel Refdata mdb file"]:
            check((name, "button") in fields, "dialog button named %r: %s" % (name, fields))
        press(find(dialog, lambda n: role(n) == "button" and n.get_name() == "OK"))

        frame = wait_for("the main window", lambda: next(
            (f for app in children(desktop) if app
             for f in [find(app, lambda n: role(n) == "frame" and n.get_name().startswith(APP_TITLE))] if f), None))
        make = wait_for("Make adi file", lambda: find(frame, lambda n: n.get_name() == "Make adi file"))
        before = [line.strip() for line in dump(frame)]
        for caption in COUNTERS:
            check('label "%s" text ""' % caption in before, "%s empty before the first run" % caption)
        pump(0.5)

        run_once(make, events, counts)
        tree = dump(frame)
        print("The main window after a run, read over AT-SPI:\n" + "\n".join(tree))
        lines = [line.strip() for line in tree]
        expected = ['label "%s, %s" text "%s"' % (caption, count, count) for caption, count in zip(COUNTERS, counts)]
        expected += ['label "OprCall for this run, PA3ABC" text "PA3ABC"',
                     'label "Start date, 19451116" text "19451116"', 'label "End date, 20301231" text "20301231"',
                     'panel "QSO counts"', 'panel "Operator call"', 'panel "Files of this run"',
                     'button "Make adi file"', 'button "View"']
        for line in expected:
            check(line in lines, "in the tree: " + line)
        check(any(line.startswith('label "adi filename, C:\\') and line.endswith('\\adiUpld2Morvask.adi"')
                  for line in lines), "the ADIF file's path with its caption")

        run_once(make, events, counts)
    finally:
        process.terminate()
        process.wait(30)
        server.terminate()
        server.wait(30)

    for what in failures:
        print("FAIL: " + what, file=sys.stderr)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
