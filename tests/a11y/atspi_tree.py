"""A screen reader's view of the program, over AT-SPI: finds the program
on the accessibility bus, walks its tree down to the grids and checks that
the cells are named as the model names them ("Books row 1, gross") and
show their values, and that the formula line is an editable text.

Run by atspi-session.sh with the program on examples/prices.qvl; prints
what it found and exits 1 on a mismatch or when the program does not show
up within 30 s."""
import sys
import time

import gi

gi.require_version("Atspi", "2.0")
from gi.repository import Atspi  # noqa: E402

# (cell name, value) as the grids of prices.qvl show them.
EXPECTED_CELLS = [
    ("Books row 1, product", "Atlas"),
    ("Books row 1, gross", "32.1"),
    ("Books row 3, gross", "45"),
    ("Books row 2, net", "12"),
    ("Books sum row, net", "86"),
    ("Books base row, tax_rate", "0.07"),
    ("Tools row 2, gross", "27"),
    ("Tools row 1, product", "Hammer"),
]
EXPECTED_FRAMES = ["Books", "Tools", "Books[0]", "Text"]
# A reader walking a tree gives up on a broken one rather than loop.
MOST_NODES = 5000


def program():
    deadline = time.monotonic() + 30
    while time.monotonic() < deadline:
        desktop = Atspi.get_desktop(0)
        for index in range(desktop.get_child_count()):
            app = desktop.get_child_at_index(index)
            if app is not None and "quorvatelle" in (app.get_name() or "").lower():
                # The window appears a moment after the application.
                if app.get_child_count() > 0:
                    return app
        time.sleep(0.2)
    return None


def text_of(node):
    try:
        return Atspi.Text.get_text(node, 0, Atspi.Text.get_character_count(node))
    except Exception:  # a node without a text interface
        return None


def walk(node, found, seen):
    """Collects frames (by name), tables and editable texts."""
    seen[0] += 1
    if seen[0] > MOST_NODES:
        return
    role = node.get_role()
    if role == Atspi.Role.TABLE:
        found["tables"].append(node)
        return
    if role == Atspi.Role.PANEL:
        found["frames"].append(node.get_name())
    if role in (Atspi.Role.TEXT, Atspi.Role.ENTRY) and node.get_name() == "Formula":
        found["formula"] = node
    for index in range(node.get_child_count()):
        child = node.get_child_at_index(index)
        if child is not None:
            walk(child, found, seen)


def main():
    app = program()
    if app is None:
        print("FAIL: the program did not appear on the accessibility bus")
        return 1
    found = {"tables": [], "frames": [], "formula": None}
    walk(app, found, [0])
    failures = []
    print("frames:", found["frames"])
    for name in EXPECTED_FRAMES:
        if name not in found["frames"]:
            failures.append("no frame named %r" % name)
    if found["formula"] is None:
        failures.append("no editable text named 'Formula'")

    cells = {}
    for table in found["tables"]:
        rows = Atspi.Table.get_n_rows(table)
        columns = Atspi.Table.get_n_columns(table)
        print("table %r: %d rows, %d columns" % (table.get_name(), rows, columns))
        for row in range(rows):
            for column in range(columns):
                cell = Atspi.Table.get_accessible_at(table, row, column)
                if cell is not None:
                    cells[cell.get_name()] = text_of(cell)
    for name, value in EXPECTED_CELLS:
        if name not in cells:
            failures.append("no cell named %r" % name)
        elif cells[name] != value:
            failures.append("cell %r shows %r, not %r" % (name, cells[name], value))
        else:
            print("cell %r: %r" % (name, value))
    for failure in failures:
        print("FAIL:", failure)
    return 1 if failures else 0


if __name__ == "__main__":
    sys.exit(main())
