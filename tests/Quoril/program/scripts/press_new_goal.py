"""Works the running goal list through the accessibility bus, as a screen reader does.

Finds the program's window, presses the "New Goal" button by name and waits (bounded) for the
new row. Prints what it did; exits 0 when the row came, 1 when something was missing, 77 when
the accessibility bus cannot be reached.
"""
import sys
import time

try:
    import pyatspi
except ImportError:
    print("pyatspi is not installed")
    sys.exit(77)


def wait_for(find, seconds=20):
    deadline = time.monotonic() + seconds
    while time.monotonic() < deadline:
        found = find()
        if found:
            return found
        time.sleep(0.1)
    return None


def program():
    try:
        desktop = pyatspi.Registry.getDesktop(0)
    except Exception as error:  # the registry is not there
        print("no accessibility registry:", error)
        sys.exit(77)
    for application in desktop:
        if application is not None and "quoril" in (application.name or "").lower():
            return application
    return None


def descendants(root, match):
    found = []

    def visit(node, depth):
        if node is None or depth > 40:
            return
        if match(node):
            found.append(node)
        for i in range(node.childCount):
            visit(node.getChildAtIndex(i), depth + 1)

    visit(root, 0)
    return found


def role_is(name):
    return lambda node: node.getRoleName() == name


def main():
    application = wait_for(program)
    if application is None:
        print("the program never showed up on the accessibility bus")
        return 1
    # The top-level window: a frame, or the filler Qt makes of a window holding other widgets.
    window = wait_for(lambda: application.getChildAtIndex(0) if application.childCount else None)
    if window is None:
        print("the program has no window on the bus")
        return 1
    print("window:", window.getRoleName(), window.name)
    buttons = wait_for(lambda: descendants(window, lambda n: n.getRoleName() == "push button" and n.name == "New Goal"))
    if not buttons:
        print("no \"New Goal\" button")
        return 1
    rows_before = len(descendants(window, role_is("list item")))
    print("rows before:", rows_before)
    action = buttons[0].queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    print("actions:", names)
    action.doAction(0)
    grown = wait_for(lambda: len(descendants(window, role_is("list item"))) > rows_before)
    rows_after = len(descendants(window, role_is("list item")))
    print("rows after:", rows_after)
    if not grown:
        print("no new row")
        return 1
    editors = descendants(window, lambda n: n.getRoleName() in ("text", "entry", "paragraph"))
    print("editors:", len(editors))
    return 0


sys.exit(main())
