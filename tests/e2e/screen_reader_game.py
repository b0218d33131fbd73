"""The AT-SPI client of screen_reader_game.sh, on pyatspi: plays a whole two-player game of
theme 1 through the board cells' press actions, reading the 64 cells after each move against
its own record of the rules. Usage: /usr/bin/python3 screen_reader_game.py [SEED]; exits 0, 1
on a failed check, 77 when the accessibility registry cannot be reached."""

import random
import sys
import time

import pyatspi
from gi.repository import Atspi

RED, YELLOW, EMPTY = "Red", "Yellow", "empty"  # what theme 1's window calls its sides
LINES = [(-1, 0), (1, 0), (0, -1), (0, 1), (1, 1), (-1, -1), (1, -1), (-1, 1)]


class Failure(Exception):
    pass


def other(side):
    return YELLOW if side == RED else RED


def captures(position, side, cell):
    """The discs a disc of `side` on the empty `cell` turns: closed lines of the other side's."""
    turned = []
    for dx, dy in LINES if position[cell] == EMPTY else []:
        line, x, y = [], cell[0] + dx, cell[1] + dy
        while position.get((x, y)) == other(side):
            line, x, y = line + [(x, y)], x + dx, y + dy
        turned += line if position.get((x, y)) == side else []
    return turned


def picture(position):
    """Eight lines of eight letters: e empty, R red, Y yellow, ? anything else."""
    return "\n".join("".join((position[x, y] or "?")[0] for x in range(8)) for y in range(8))


def moves(position, side):
    return [cell for cell in sorted(position) if captures(position, side, cell)]


def wait_for(what, probe, limit=20):
    """`probe`'s first true answer within `limit` seconds; it may raise Failure to say why not."""
    deadline, seen = time.monotonic() + limit, ""
    while time.monotonic() < deadline:
        try:
            found = probe()
            if found:
                return found
        except Failure as failure:
            seen = "\n%s" % failure
        except Exception as error:  # also an object that went while it was read
            seen = "\n%s: %s" % (type(error).__name__, error)
        time.sleep(0.1)
    raise Failure("waited too long for %s%s" % (what, seen))


def find(root, role, name=None):
    """The showing objects under root of a role (and name), not looking into tables."""
    found = []
    for child in filter(None, root):
        if child.getRole() == role and name in (None, child.name):
            found += [child] if child.getState().contains(pyatspi.STATE_SHOWING) else []
        if child.getRole() != pyatspi.ROLE_TABLE:
            found += find(child, role, name)
    return found


def one(root, role, name):
    found = find(root, role, name)
    if len(found) != 1:
        raise Failure("%d %s named %r" % (len(found), Atspi.role_get_name(role), name))
    return found[0]


def windows(application, role, name):
    return [w for w in filter(None, application) if w.getRole() == role and w.name == name
            and w.getState().contains(pyatspi.STATE_SHOWING)]


def window(application, role, name):
    return wait_for('the %s "%s"' % (Atspi.role_get_name(role), name),
                    lambda: windows(application, role, name))[0]


def press(accessible):
    action = accessible.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    if "Press" not in names:
        raise Failure("%r has no press action, only %s" % (accessible.name, names))
    action.doAction(names.index("Press"))


def press_button(root, name):
    press(wait_for('"%s"' % name, lambda: one(root, pyatspi.ROLE_PUSH_BUTTON, name)))


def labels(root):
    return {label.name: label for label in find(root, pyatspi.ROLE_LABEL)}


def value(shown, name):
    if name not in shown:
        raise Failure("no label %r among %s" % (name, sorted(shown)))
    return shown[name].queryValue().currentValue


def shows(board, match, position, what):
    """Waits for the 64 cells, named "d4, Red", and the labels "Red discs" and "Yellow discs"
    to show `position`."""
    def probe():
        table, seen = board.queryTable(), {}
        if (table.nRows, table.nColumns, board.childCount) != (8, 8, 64):
            raise Failure("the board is %d by %d, %d cells" % (table.nRows, table.nColumns,
                                                                 board.childCount))
        for (x, y) in position:
            cell = table.getAccessibleAt(y, x)
            place, _, seen[x, y] = cell.name.partition(", ")
            if cell.getRole() != pyatspi.ROLE_TABLE_CELL or place != "abcdefgh"[x] + str(y + 1):
                raise Failure("row %d, column %d is %s %r" % (y, x, cell.getRoleName(), cell.name))
        if seen != position:
            raise Failure("the board reads\n%s\nnot\n%s" % (picture(seen), picture(position)))
        shown = labels(match)
        for side in (RED, YELLOW):
            if value(shown, side + " discs") != list(position.values()).count(side):
                raise Failure("%s discs: %s" % (side, value(shown, side + " discs")))
        return True

    wait_for(what, probe)


def clocks(match):
    shown = labels(match)
    return sum(value(shown, side + " clock") for side in (RED, YELLOW))


def play(application, rng):
    menu = window(application, pyatspi.ROLE_FRAME, "Welcome!")
    press_button(menu, "Help")
    help_window = window(application, pyatspi.ROLE_DIALOG, "Help")
    one(help_window, pyatspi.ROLE_TABLE, "Questions and answers")
    press_button(help_window, "Close")
    press_button(menu, "v5 STABLE")
    info = window(application, pyatspi.ROLE_DIALOG, "Info")
    one(info, pyatspi.ROLE_LABEL, "Reversi engine version 0.6 BETA")
    press_button(info, "OK")

    press_button(menu, " Go To Play form")  # theme 1 and two players, the menu's first choices
    match = window(application, pyatspi.ROLE_DIALOG, "Play!")
    press_button(match, "Play!")
    board = wait_for("the board", lambda: one(match, pyatspi.ROLE_TABLE, "Board"))
    position = {(x, y): EMPTY for x in range(8) for y in range(8)}
    position[3, 3] = position[4, 4] = RED
    position[4, 3] = position[3, 4] = YELLOW
    shows(board, match, position, "the starting position")
    # The clocks start at the menu's 300 seconds (the first side's a tick ahead) and run.
    start = wait_for("the clocks at 300", lambda: 595 <= clocks(match) <= 601 and clocks(match))
    side, played, passes = RED, 0, 0
    while moves(position, side) or moves(position, other(side)):
        if not moves(position, side):
            side, passes = other(side), passes + 1
        cell = rng.choice(moves(position, side))
        press(board.queryTable().getAccessibleAt(cell[1], cell[0]))
        for turned in captures(position, side, cell) + [cell]:
            position[turned] = side
        played += 1
        name = "abcdefgh"[cell[0]] + str(cell[1] + 1)
        shows(board, match, position, "move %d, %s at %s" % (played, side, name))
        # What is said names the move, unless a pass is said after it.
        if moves(position, other(side)) and name not in board.description:
            raise Failure("after %s the board says %r" % (name, board.description))
        if played == 20 and clocks(match) >= start:
            raise Failure("the clocks stand at %d" % start)
        side = other(side)
    red, yellow = list(position.values()).count(RED), list(position.values()).count(YELLOW)
    print("%d moves, %d passes: Red %d, Yellow %d" % (played, passes, red, yellow))

    loser = RED if red < yellow else YELLOW if yellow < red else "No one"
    said = [loser + " lose!"] + (["Draw!"] if loser == "No one" else [])
    wait_for("%s lose! in the labels and on the board" % loser,
             lambda: {loser, "lose!"} <= set(labels(match))
             and any(words in board.description for words in said))
    press_button(match, "Exit")
    wait_for('"Play!" to close', lambda: not windows(application, pyatspi.ROLE_DIALOG, "Play!"))
    press_button(menu, "Exit")


def main():
    seed = int(sys.argv[1]) if sys.argv[1:] and sys.argv[1] else random.randrange(1 << 30)
    print("seed %d" % seed)
    try:
        desktop = pyatspi.Registry.getDesktop(0)
        desktop.childCount
    except Exception as error:
        print("SKIP: the accessibility registry cannot be reached: %s" % error)
        return 77
    try:
        application = wait_for("the program on the accessibility bus", lambda: [
            app for app in desktop if app is not None and app.name == "Reversi"])[0]
        application.set_cache_mask(Atspi.Cache.NONE)  # what it says now, never a copy
        play(application, random.Random(seed))
    except Failure as failure:
        print("FAIL: %s (seed %d)" % (failure, seed))
        return 1
    return 0


if __name__ == "__main__":
    sys.exit(main())
