#!/usr/bin/python3
"""What assistive technology sees of a running program, through AT-SPI.

  atspi_dump.py tree APP [SECONDS]
      Waits up to SECONDS (default 10) for an application named APP on the
      accessibility bus, then prints its accessible tree as one JSON object:
      {"name", "role", "description", "states": [...], "children": [...]}.
      Exits 1 if no such application showed up.
  atspi_dump.py events APP EVENT...
      Prints each AT-SPI event of the given kinds (such as "window:create" or
      "object:state-changed:showing") whose source belongs to APP, as one JSON
      line {"type", "detail1", "detail2", "source": {"name", "role",
      "description"}}. Prints "listening" first and runs until stdin closes.
  atspi_dump.py press APP NAME ROLE ACTION
      Does the named action (such as "Press") of the first showing node of
      APP with that name and role, as a screen reader's user would. Exits 1
      if no such node or action was found.

The session bus in DBUS_SESSION_BUS_ADDRESS must run at-spi2-core's bus
launcher. Debian's python3-pyatspi; run it with /usr/bin/python3.
"""

import json
import sys
import threading
import time

import pyatspi

# Deep enough for any window of the client; guards against a cycle in a broken tree.
MAX_DEPTH = 40


def find_app(name, seconds):
    deadline = time.monotonic() + seconds
    while True:
        desktop = pyatspi.Registry.getDesktop(0)
        for i in range(desktop.childCount):
            try:
                app = desktop.getChildAtIndex(i)
                if app is not None and app.name == name:
                    return app
            except Exception:  # an application that left while we looked
                continue
        if time.monotonic() >= deadline:
            return None
        time.sleep(0.2)


def describe(node):
    states = node.getState()
    return {
        "name": node.name or "",
        "role": node.getRoleName(),
        "description": node.description or "",
        "states": sorted(pyatspi.stateToString(s) for s in states.getStates()),
    }


def tree(node, depth=0):
    entry = describe(node)
    entry["children"] = []
    if depth < MAX_DEPTH:
        for i in range(node.childCount):
            try:
                child = node.getChildAtIndex(i)
            except Exception:
                continue
            if child is not None:
                entry["children"].append(tree(child, depth + 1))
    return entry


def dump_tree(app_name, seconds):
    app = find_app(app_name, seconds)
    if app is None:
        print("no application named %r on the accessibility bus" % app_name, file=sys.stderr)
        return 1
    print(json.dumps(tree(app)), flush=True)
    return 0


def watch_events(app_name, kinds):
    def on_event(event):
        try:
            source = event.source
            app = source.getApplication() if source is not None else None
            if app is None or app.name != app_name:
                return
            line = {
                "type": event.type,
                "detail1": event.detail1,
                "detail2": event.detail2,
                "source": describe(source),
            }
        except Exception:  # the source went away before we could read it
            return
        print(json.dumps(line), flush=True)

    for kind in kinds:
        pyatspi.Registry.registerEventListener(on_event, kind)

    def stop_on_eof():
        sys.stdin.read()
        pyatspi.Registry.stop()

    threading.Thread(target=stop_on_eof, daemon=True).start()
    print("listening", flush=True)
    pyatspi.Registry.start()
    return 0


def find_node(node, name, role, depth=0):
    try:
        showing = node.getState().contains(pyatspi.STATE_SHOWING)
        if node.name == name and node.getRoleName() == role and showing:
            return node
        children = [node.getChildAtIndex(i) for i in range(node.childCount)] if depth < MAX_DEPTH else []
    except Exception:  # a node that went away while we looked
        return None
    for child in children:
        if child is not None:
            found = find_node(child, name, role, depth + 1)
            if found is not None:
                return found
    return None


def press(app_name, name, role, action_name):
    app = find_app(app_name, 10.0)
    node = find_node(app, name, role) if app is not None else None
    if node is None:
        print("no showing %s named %r in %r" % (role, name, app_name), file=sys.stderr)
        return 1
    action = node.queryAction()
    for i in range(action.nActions):
        if action.getName(i) == action_name:
            return 0 if action.doAction(i) else 1
    print("%r has no action %r" % (name, action_name), file=sys.stderr)
    return 1


def main(argv):
    if len(argv) >= 3 and argv[1] == "tree":
        return dump_tree(argv[2], float(argv[3]) if len(argv) > 3 else 10.0)
    if len(argv) == 6 and argv[1] == "press":
        return press(argv[2], argv[3], argv[4], argv[5])
    if len(argv) >= 4 and argv[1] == "events":
        return watch_events(argv[2], argv[3:])
    print(__doc__, file=sys.stderr)
    return 2


if __name__ == "__main__":
    sys.exit(main(sys.argv))
