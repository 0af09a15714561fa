#!/usr/bin/python3
"""Reads Vexlo's main window over AT-SPI, as a screen reader does.

The test starts everything it needs and nothing else: a D-Bus session bus of
its own, the accessibility bus launcher on it (with accessibility switched on,
as a screen reader's session has it), and Vexlo on the X display. Vexlo finds
the accessibility bus the way every Qt program does: through org.a11y.Bus on
its session bus, whose org.a11y.Status says that accessibility is on. Nothing
in Vexlo's environment points it at the bus.

Checks:
  - no push button, text box, check box or radio button without a name;
  - no anonymous filler anywhere in the window;
  - the glowing label "Tovin" is a label;
  - Tab from the length box to the seed option renames the step panel
    ("Step 2 of 5"), and the panel sends the name and description changes
    a screen reader announces (and the indicator of step 2 that it is now
    current); the focus stays on the option;
  - after Generate, the password box describes the password's strength.
Prints what a screen reader announces on each of the five steps.

Exit code 0 on success, 1 on a failed check, 77 when there is no X display.
"""

import argparse
import os
import signal
import subprocess
import sys
import tempfile
import time

SKIP = 77
WINDOW_TITLE = "Vexlo 1.1"
TIMEOUT = 20.0

TIPS = [
    "Type the length of the password you want to generate in the number of characters.",
    "Set seed options and select any miscallaneous options. It is safe to use the default values.",
    "Click the Generate button. You will see the generated password in the password box.",
    "Click the Copy button to copy the password to the clipboard.",
    "Right-click the edit box where you want to enter the password. Select Paste.",
]

failures = []


def check(condition, message):
    if not condition:
        failures.append(message)
        print("FAILED: " + message, flush=True)
    return condition


def wait_until(predicate, timeout=TIMEOUT, pump=None):
    deadline = time.monotonic() + timeout
    while True:
        value = predicate()
        if value or time.monotonic() > deadline:
            return value
        if pump:
            pump()
        time.sleep(0.05)


class Processes:
    """Processes the test started, each in a process group of its own, so
    that ending one also ends what it started (the accessibility bus and its
    registry)."""

    def __init__(self):
        self.started = []

    def start(self, arguments, environment, **options):
        process = subprocess.Popen(arguments, env=environment, start_new_session=True, **options)
        self.started.append(process)
        return process

    def stop_all(self):
        for process in reversed(self.started):
            try:
                os.killpg(process.pid, signal.SIGTERM)
            except ProcessLookupError:
                pass
            try:
                process.wait(timeout=5)
            except subprocess.TimeoutExpired:
                try:
                    os.killpg(process.pid, signal.SIGKILL)
                except ProcessLookupError:
                    pass
                process.wait()


def start_session_bus(processes, config, environment):
    daemon = processes.start(["dbus-daemon", "--config-file=" + config, "--nofork", "--print-address=1"],
                             environment, stdout=subprocess.PIPE, stderr=subprocess.DEVNULL, text=True)
    address = daemon.stdout.readline().strip()
    if not address:
        raise RuntimeError("the session bus did not start")
    return address


def bus_connection(address):
    from gi.repository import Gio
    flags = Gio.DBusConnectionFlags.AUTHENTICATION_CLIENT | Gio.DBusConnectionFlags.MESSAGE_BUS_CONNECTION
    return Gio.DBusConnection.new_for_address_sync(address, flags, None, None)


def call(connection, interface, method, arguments=None):
    from gi.repository import Gio
    return connection.call_sync("org.a11y.Bus", "/org/a11y/bus", interface, method, arguments, None,
                                Gio.DBusCallFlags.NONE, 2000, None).unpack()


def start_accessibility_bus(processes, session_address, runtime_dir):
    """The launcher on the private session bus, accessibility on. It keeps its
    bus socket in a runtime folder of this test and stays off the X display,
    so it meets no other session and leaves nothing on the display."""
    environment = dict(os.environ)
    environment.pop("DISPLAY", None)
    environment.pop("AT_SPI_BUS_ADDRESS", None)
    environment.update(DBUS_SESSION_BUS_ADDRESS=session_address, XDG_RUNTIME_DIR=runtime_dir,
                       GSETTINGS_BACKEND="memory")
    processes.start(["/usr/libexec/at-spi-bus-launcher", "--launch-immediately", "--a11y=1"], environment,
                    stdout=subprocess.DEVNULL, stderr=subprocess.DEVNULL)
    connection = bus_connection(session_address)

    def address():
        try:
            return call(connection, "org.a11y.Bus", "GetAddress")[0]
        except Exception:  # not on the bus yet
            return None

    a11y_address = wait_until(address)
    if not a11y_address:
        raise RuntimeError("the accessibility bus launcher did not come up")
    from gi.repository import GLib
    enabled = call(connection, "org.freedesktop.DBus.Properties", "Get",
                   GLib.Variant("(ss)", ("org.a11y.Status", "IsEnabled")))[0]
    if not enabled:
        raise RuntimeError("the accessibility bus says accessibility is off")
    return a11y_address


def pump_events():
    from gi.repository import GLib
    context = GLib.MainContext.default()
    while context.iteration(False):
        pass


def find_window(pyatspi):
    desktop = pyatspi.Registry.getDesktop(0)
    for application in desktop:
        if application is None:
            continue
        try:
            for window in application:
                if window is not None and window.name == WINDOW_TITLE:
                    return window
        except Exception:  # an application that went away meanwhile
            continue
    return None


def walk(node, visit):
    visit(node)
    for child in node:
        if child is not None:
            walk(child, visit)


def describe(node):
    return "%s %r" % (node.getRoleName(), node.name)


class Tree:
    """The window's objects as a screen reader walks them, walked once: the
    window's controls stay the same, their names and states are read anew."""

    ACTING = ("push button", "text", "check box", "radio button")

    def __init__(self, window):
        self.nodes = []
        walk(window, lambda node: self.nodes.append((node.getRoleName(), node)))

    def all(self, role=None):
        return [node for node_role, node in self.nodes if role is None or node_role == role]

    def find(self, role, name):
        return next((node for node in self.all(role) if node.name == name), None)

    def acting(self):
        return [node for node_role, node in self.nodes if node_role in self.ACTING]

    def step_panel(self):
        return next((node for node in self.all("panel") if node.name.startswith("Step ")), None)

    def focused(self):
        import pyatspi
        return next((node for node in self.acting() if node.getState().contains(pyatspi.STATE_FOCUSED)), None)


def press(node):
    action = node.queryAction()
    for index in range(action.nActions):
        if action.getName(index) in ("Press", "press", "click"):
            return action.doAction(index)
    return action.doAction(0)


def press_key(vexlo_pid, key):
    windows = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(vexlo_pid), "--name",
                              "^" + WINDOW_TITLE + "$"], capture_output=True, text=True).stdout.split()
    if not windows:
        return False
    return subprocess.run(["xdotool", "windowfocus", "--sync", windows[0], "key", "--clearmodifiers", key]).returncode == 0


def check_tree(tree):
    acting = tree.acting()
    check(len(acting) == 14, "14 buttons, text boxes, check boxes and option buttons, found %d" % len(acting))
    for node in acting:
        check(node.name != "", "a %s without a name (description %r)" % (node.getRoleName(), node.description))
    for node in tree.all("filler"):
        check(node.name != "", "an anonymous filler")
    tovin = tree.find("label", "Tovin")
    check(tovin is not None and tovin.childCount == 0, "the glowing label \"Tovin\" is a label")
    indicators = [tree.find("label", "Step %d" % step) for step in range(1, 6)]
    check(all(indicators), "the five step indicators are labels named Step 1 to Step 5")
    if indicators[0] is not None:
        check(indicators[0].description == "current", "the first indicator is current at load")
    for name in ("Display previous step", "Display next step"):
        check(tree.find("push button", name) is not None, "the arrow button %r" % name)
    check(tree.find("text", "Password length:") is not None, "the length box is named by its label")
    check(tree.find("text", "Seed") is not None, "the seed box is named")


def check_tab_renames_the_panel(pyatspi, tree, vexlo_pid):
    panel = tree.step_panel()
    if not check(panel is not None, "the step panel is a panel named after its step"):
        return
    check(panel.name == "Step 1 of 5" and panel.description == TIPS[0],
          "the panel reads step 1 and its tip at load, read %r / %r" % (panel.name, panel.description))
    check(wait_until(lambda: tree.focused() is not None and tree.focused().name == "Password length:",
                     pump=pump_events), "the length box has the focus at first")

    # What a screen reader hears of the panel: its name and description as
    # they are when the change arrives.
    events = []

    def listener(event):
        if event.source is not None and event.source.getRoleName() in ("panel", "label"):
            events.append((event.type, event.source.name, event.source.description))

    kinds = ["object:property-change:accessible-name", "object:property-change:accessible-description"]
    pyatspi.Registry.registerEventListener(listener, *kinds)
    try:
        # Vexlo learns of the new listener through the registry before the key.
        wait_until(lambda: False, timeout=1.0, pump=pump_events)
        check(press_key(vexlo_pid, "Tab"), "Tab pressed in the window")
        step_two = ("Step 2 of 5", TIPS[1])
        check(wait_until(lambda: any(kind.endswith("accessible-name") and (name, text) == step_two
                                     for kind, name, text in events), pump=pump_events),
              "the panel announced its new name after Tab; events: %r" % events)
        check(any(kind.endswith("accessible-description") and name == "Step 2 of 5" for kind, name, _ in events),
              "the panel announced its new description after Tab; events: %r" % events)
        check(wait_until(lambda: ("object:property-change:accessible-description", "Step 2", "current") in events,
                         pump=pump_events), "the indicator of step 2 announced that it is current; events: %r" % events)
    finally:
        pyatspi.Registry.deregisterEventListener(listener, *kinds)
    check(panel.name == "Step 2 of 5" and panel.description == TIPS[1],
          "the panel reads step 2 and its tip, read %r / %r" % (panel.name, panel.description))
    now = tree.focused()
    check(now is not None and now.getRoleName() == "radio button"
          and now.name == "Use current system time (recommended)",
          "the focus stays on the seed option, found %s" % (describe(now) if now else None))


def check_strength_hint(tree):
    generate = tree.find("push button", "Generate")
    if not check(generate is not None, "the Generate button"):
        return
    press(generate)
    hint = "Strength: 65.7 bits. 10 characters, each drawn from the system's random source as one of 95 possible codes."
    frame = tree.find("panel", "Password")
    password_box = next((child for child in frame if child is not None and child.getRoleName() == "label"), None) \
        if frame is not None else None
    check(password_box is not None and wait_until(lambda: password_box.description == hint, pump=pump_events),
          "the password box describes the strength, read %r" % (password_box.description if password_box else None))


def announce_steps(tree):
    """Walks the five steps with the arrow buttons, as a screen-reader user
    may, and prints what the panel says at each and where the focus is."""
    panel = tree.step_panel()
    previous = tree.find("push button", "Display previous step")
    following = tree.find("push button", "Display next step")
    if panel is None or previous is None or following is None:
        return
    for _ in range(5):
        current = panel.name
        if current == "Step 1 of 5":
            break
        press(previous)
        wait_until(lambda: panel.name != current, timeout=5.0, pump=pump_events)
    print("What a screen reader announces on each step:")
    for step in range(1, 6):
        check(wait_until(lambda: panel.name == "Step %d of 5" % step, pump=pump_events),
              "the panel reads step %d, read %r" % (step, panel.name))
        check(panel.description == TIPS[step - 1], "the panel describes step %d by its tip" % step)
        now = tree.focused()
        print("  panel %r: %r  [focus: %s]" % (panel.name, panel.description, describe(now) if now else "none"),
              flush=True)
        if step < 5:
            press(following)


def run(arguments):
    processes = Processes()
    try:
        with tempfile.TemporaryDirectory(prefix="vexlo-a11y-") as folder:
            runtime_dir = os.path.join(folder, "runtime")
            os.mkdir(runtime_dir, 0o700)
            base = dict(os.environ)
            base.pop("AT_SPI_BUS_ADDRESS", None)
            base.pop("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", None)
            base.pop("QT_ACCESSIBILITY", None)
            session_address = start_session_bus(processes, arguments.bus_config, base)
            a11y_address = start_accessibility_bus(processes, session_address, runtime_dir)

            vexlo_environment = dict(base, DBUS_SESSION_BUS_ADDRESS=session_address, XDG_RUNTIME_DIR=runtime_dir)
            vexlo = processes.start([os.path.abspath(arguments.vexlo)], vexlo_environment, cwd=folder)

            # This process reads the tree through the same buses, and only those.
            os.environ["DBUS_SESSION_BUS_ADDRESS"] = session_address
            os.environ["AT_SPI_BUS_ADDRESS"] = a11y_address
            import pyatspi

            window = wait_until(lambda: find_window(pyatspi), pump=pump_events)
            if not check(window is not None, "Vexlo's window appears on the accessibility bus"):
                return 1
            check(window.getRoleName() == "dialog", "the window is a dialog")
            tree = Tree(window)
            check_tree(tree)
            check_tab_renames_the_panel(pyatspi, tree, vexlo.pid)
            check_strength_hint(tree)
            announce_steps(tree)
    finally:
        processes.stop_all()
    return 1 if failures else 0


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--vexlo", required=True, help="the program under test")
    parser.add_argument("--bus-config", required=True, help="configuration of the private session bus")
    arguments = parser.parse_args()
    if not os.environ.get("DISPLAY"):
        print("no X display: skipped")
        return SKIP
    return run(arguments)


if __name__ == "__main__":
    sys.exit(main())
