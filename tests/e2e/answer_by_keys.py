#!/usr/bin/python3
"""The real program heard over the accessibility bus (AT-SPI) and driven by keys only.

Tab reaches the staff, Enter on it marks where the prompted note lies; the marked cells
are read off the board as selected cells of its table. Tab reaches the board, arrows
walk its cursor to a cell that is not marked and Enter answers it ("Incorrect!"), then
to one that is ("Correct!"). Every step is checked by what the bus says: which cell has
the focus, the board's description. Waits poll their condition for a bounded time.

Usage: answer_by_keys.py PATH-TO-fretlore   (inside X, a window manager and a D-Bus session)
"""
import os
import re
import subprocess
import sys
import time

import pyatspi

TIMEOUT = 30  # seconds for any one condition: the machine may be busy with other tests


class Failed(Exception):
    pass


def wait_for(what, condition, timeout=TIMEOUT):
    end = time.monotonic() + timeout
    while True:
        try:
            result = condition()
        except Exception:  # an object may vanish or not be ready while the window builds
            result = None
        if result:
            return result
        if time.monotonic() > end:
            raise Failed("timed out waiting for " + what)
        time.sleep(0.05)


def fresh(obj):
    obj.clear_cache()
    return obj


def states(obj):
    return fresh(obj).getState()


def descendants(obj, depth=0):
    """The tree below obj, without the cells of tables (the board's cells are many)."""
    if depth > 30:
        return
    for i in range(obj.childCount):
        child = obj.getChildAtIndex(i)
        if child is None:
            continue
        yield child
        if child.getRole() != pyatspi.ROLE_TABLE:
            yield from descendants(child, depth + 1)


def find_shown(root, role, name):
    """The object of that role (any when None) and name that is on the screen."""
    for obj in descendants(root):
        if role in (None, obj.getRole()) and obj.name == name and states(obj).contains(pyatspi.STATE_SHOWING):
            return obj
    return None


def key(*names):
    subprocess.run(["xdotool", "key", "--delay", "30", *names], check=True)


def main():
    binary = sys.argv[1]
    log = open(os.environ.get("FRETLORE_LOG", os.devnull), "w")
    program = subprocess.Popen([binary], stdout=log, stderr=subprocess.STDOUT)
    try:
        run(program)
    except Failed as failure:
        print("FAILED:", failure)
        return 1
    finally:
        program.terminate()
        try:
            program.wait(10)
        except subprocess.TimeoutExpired:
            program.kill()
    print("the board was reached by Tab and a prompt answered by arrows and Enter over the bus: OK")
    return 0


def run(program):
    desktop = pyatspi.Registry.getDesktop(0)

    def application():
        if program.poll() is not None:
            raise SystemExit("the program ended early with %d" % program.returncode)
        for i in range(desktop.childCount):
            app = desktop.getChildAtIndex(i)
            if app is not None and app.name == "Fretlore":
                return app
        return None

    app = wait_for("the program on the bus", application)
    frame = wait_for("the main window", lambda: find_shown(app, pyatspi.ROLE_FRAME, "Fretlore"))
    staff = wait_for("the staff", lambda: find_shown(frame, None, "Staff"))
    board = wait_for("the board", lambda: find_shown(frame, pyatspi.ROLE_TABLE, "Fretboard"))
    table = board.queryTable()

    window = subprocess.run(["xdotool", "search", "--sync", "--onlyvisible", "--name", "^Fretlore$"],
                            check=True, capture_output=True, text=True, timeout=TIMEOUT).stdout.split()[0]
    subprocess.run(["xdotool", "windowactivate", "--sync", window], check=True, timeout=TIMEOUT)
    wait_for("the main window to be active", lambda: states(frame).contains(pyatspi.STATE_ACTIVE))

    def tab_to(target, name):
        for _ in range(40):
            if states(target).contains(pyatspi.STATE_FOCUSED):
                return
            key("Tab")
            # The focus moves somewhere on each Tab; give it the time to arrive.
            try:
                wait_for("the focus to settle", lambda: states(target).contains(pyatspi.STATE_FOCUSED), 0.5)
            except Failed:
                pass
        raise Failed("Tab never reached the " + name)

    # The staff names its prompt; Enter on it shows where that note lies on the board.
    tab_to(staff, "staff")
    prompt = wait_for("the staff to name its prompt",
                      lambda: re.search(r"Shows the note (\S+)", fresh(staff).description))
    print("the staff shows", prompt.group(1))
    key("Return")

    def marked_cells():
        # Selected are the cells with a marker; the prompt's are "marked", the pattern's
        # "pattern note".
        cells = set()
        for row in range(table.nRows):
            for column in range(table.nColumns):
                cell = fresh(table.getAccessibleAt(row, column))
                if cell.getState().contains(pyatspi.STATE_SELECTED) and cell.description.startswith("marked"):
                    cells.add((row, column))
        return cells

    right = wait_for("the prompt's places marked on the board", marked_cells)
    print("marked:", ", ".join(table.getAccessibleAt(r, c).name for r, c in sorted(right)))
    wrong = next((r, c) for r in range(table.nRows) for c in range(table.nColumns) if (r, c) not in right)

    tab_to(board, "board")

    def cursor():
        for row in range(table.nRows):
            for column in range(table.nColumns):
                if states(table.getAccessibleAt(row, column)).contains(pyatspi.STATE_FOCUSED):
                    return (row, column)
        return None

    def walk_to(cell):
        # Rows are strings as players count them (1 at the top of a right-handed board),
        # columns frets from the nut, which lies on the left.
        row, column = wait_for("the cursor cell", cursor)
        moves = (["Up"] * (row - cell[0]) + ["Down"] * (cell[0] - row)
                 + ["Left"] * (column - cell[1]) + ["Right"] * (cell[1] - column))
        if moves:
            key(*moves)
        name = table.getAccessibleAt(*cell).name
        wait_for("the cursor on " + name, lambda: cursor() == cell)
        print("the cursor is on", name)

    def answer(verdict):
        key("Return")
        description = wait_for("the verdict " + verdict,
                               lambda: fresh(board).description.startswith(verdict) and fresh(board).description)
        print("the board says:", description)

    walk_to(wrong)
    answer("Incorrect!")
    walk_to(min(right))
    answer("Correct!")


if __name__ == "__main__":
    sys.exit(main())
