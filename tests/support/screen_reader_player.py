"""Plays whole games of the running game through the accessibility tree
alone, as a screen reader would: it reads the dominoes' names and states,
presses pairs whose totals make 12 until "Game over", and enters a name for
a best result through the name entry's field and its button. Each move is
checked against the rules; each change of the pairs and of the message must
reach the reader as an event.

Usage: screen_reader_player.py PID SCORES_FILE GAMES
Prints what it checked; exits 1 on the first fault.
"""

import configparser
import itertools
import random
import re
import subprocess
import sys
import time

import pyatspi
from gi.repository import GLib

MAIN_TITLE = "Tolvane: Kelvor"
ENTRY_TITLE = "Congratulations!!!"
FACE_UP = re.compile(r"^Domino (\d)-(\d), (\d+) pips?, face up, (.+)$")
FACE_DOWN = re.compile(r"^Face-down domino, (.+)$")
# The figure's 28 places as a player pictures them, top to bottom.
PLACES = (
    ["top", "top row, left", "top row, right", "second row, left", "second row, right",
     "third row, left", "third row, middle", "third row, right"]
    + [f"block, column {c}, row {r}" for r in range(1, 5) for c in range(1, 5)]
    + [f"bar, column {c}" for c in range(1, 5)]
)


class Fault(Exception):
    pass


def check(condition, message):
    if not condition:
        raise Fault(message)


events = []


def on_event(event):
    try:
        name, description = event.source.name, event.source.description
    except Exception:  # the source may be gone already
        name, description = None, None
    events.append((event.type, name, event.detail1, description))


def pump(seconds=0.0):
    context = GLib.MainContext.default()
    end = time.monotonic() + seconds
    while True:
        while context.iteration(False):
            pass
        if time.monotonic() >= end:
            return
        time.sleep(0.02)


def wait_for(what, probe, timeout=10.0, explain=None):
    end = time.monotonic() + timeout
    while True:
        pump()
        value = probe()
        if value:
            return value
        if time.monotonic() > end:
            raise Fault(f"timed out waiting for {what}" + (f": {explain()}" if explain else ""))
        time.sleep(0.05)


def states(obj):
    return obj.getState()


def showing(obj):
    return states(obj).contains(pyatspi.STATE_SHOWING)


def action_names(obj):
    try:
        action = obj.queryAction()
    except NotImplementedError:
        return []
    return [action.getName(i) for i in range(action.nActions)]


def do_action(obj, name):
    """Runs the named action and returns how long the call took."""
    action = obj.queryAction()
    names = [action.getName(i) for i in range(action.nActions)]
    check(name in names, f"{obj.name!r} has no action {name!r}, only {names}")
    start = time.monotonic()
    action.doAction(names.index(name))
    return time.monotonic() - start


class Game:
    def __init__(self, pid):
        self.pid = pid
        self.app = wait_for("the game in the accessibility tree", self.find_app, 20)

    def find_app(self):
        desktop = pyatspi.Registry.getDesktop(0)
        for app in desktop:
            try:
                if app is not None and app.get_process_id() == self.pid:
                    return app
            except Exception:
                pass
        return None

    def window(self, role, title):
        for child in self.app:
            if child is not None and child.getRole() == role and child.name == title and showing(child):
                return child
        return None

    def main(self):
        return wait_for("the main window", lambda: self.window(pyatspi.ROLE_FRAME, MAIN_TITLE))

    def entry(self):
        return self.window(pyatspi.ROLE_DIALOG, ENTRY_TITLE)

    def status(self):
        bar = [c for c in self.main() if c.getRole() == pyatspi.ROLE_STATUS_BAR]
        check(len(bar) == 1, "the main window has no status bar")
        rows = [row.name for row in bar[0]]
        check(len(rows) == 3, f"the status bar reads {rows}")
        return rows

    def pairs_shown(self):
        match = re.search(r"(\d+)$", self.status()[0])
        return int(match.group(1)) if match else None

    def seconds_shown(self):
        return int(re.search(r"(\d+)$", self.status()[1]).group(1))

    def message(self):
        return self.status()[2]

    def disagreement(self):
        """What the reader reads of the pairs, as it has them and as the
        game gives them afresh."""
        def reading():
            tiles = self.tiles()
            up = [t["name"] for t in tiles if t["face_up"]]
            return f"{self.status()[0]!r} with {len(pairs_among(tiles))} pairs among {up}"
        held = reading()
        for child in self.main():
            for row in child:
                row.clear_cache()
            child.clear_cache()
        return f"read {held}; afresh {reading()}"

    def tool_button(self, name_start):
        toolbar = [c for c in self.main() if c.getRole() == pyatspi.ROLE_FRAME or c.getRole() == pyatspi.ROLE_TOOL_BAR]
        for button in (b for bar in toolbar for b in bar):
            if button.name.startswith(name_start):
                return button
        raise Fault(f"no toolbar button {name_start!r}")

    def tiles(self):
        """The dominoes on the board, each as a dict."""
        tiles = []
        for child in self.main():
            if child.getRole() != pyatspi.ROLE_PUSH_BUTTON:
                continue
            up, down = FACE_UP.match(child.name), FACE_DOWN.match(child.name)
            if not up and not down:
                continue
            tile = {"obj": child, "name": child.name, "face_up": bool(up)}
            tile["place"] = up.group(4) if up else down.group(1)
            if up:
                upper, lower, pips = (int(up.group(i)) for i in (1, 2, 3))
                check(pips == upper + lower, f"{child.name!r}: the pips are not the halves' sum")
                tile["pips"] = pips
            st = states(child)
            tile["showing"] = st.contains(pyatspi.STATE_SHOWING)
            tile["visible"] = st.contains(pyatspi.STATE_VISIBLE)
            tile["enabled"] = st.contains(pyatspi.STATE_SENSITIVE)
            tile["selected"] = st.contains(pyatspi.STATE_SELECTED)
            tile["actions"] = action_names(child)
            tile["rect"] = child.queryComponent().getExtents(pyatspi.DESKTOP_COORDS)
            tiles.append(tile)
        return tiles


def overlap(a, b):
    return a.x < b.x + b.width and b.x < a.x + a.width and a.y < b.y + b.height and b.y < a.y + a.height


def check_board(tiles, playing):
    """The rules a reader can check of the board as it reads."""
    places = [t["place"] for t in tiles]
    check(len(set(places)) == len(places), f"two dominoes have one place: {places}")
    check(set(places) <= set(PLACES), f"a place no player would picture: {set(places) - set(PLACES)}")
    for t in tiles:
        # A domino that another one still on the board lies on does not show.
        on_it = any(overlap(t["rect"], u["rect"]) and u["showing"] for u in tiles if u is not t)
        check(t["showing"] != on_it, f"{t['name']!r} shows={t['showing']}, another lies on it={on_it}")
        check(t["visible"] == t["showing"], f"{t['name']!r} is visible={t['visible']}, showing={t['showing']}")
        if not t["face_up"]:
            check(not t["enabled"] and not t["actions"], f"{t['name']!r} takes presses face down")
        else:
            takes = t["enabled"] and t["actions"] == ["Press"]
            check(takes == playing, f"{t['name']!r} is face up, takes a press: {takes}, the game runs: {playing}")


def pairs_among(tiles):
    playable = [t for t in tiles if t["face_up"]]
    return [(a, b) for a, b in itertools.combinations(playable, 2) if a["pips"] + b["pips"] == 12]


def read_scores(path):
    parser = configparser.ConfigParser(interpolation=None, strict=False)
    parser.optionxform = str
    try:
        with open(path, encoding="cp1252") as f:
            parser.read_string(f.read())
    except FileNotFoundError:
        return None
    return parser


def kelvor(parser, key, default):
    if parser is None or not parser.has_section("Kelvor"):
        return default
    return parser.get("Kelvor", key, fallback=default)


def best_list(parser):
    return [(kelvor(parser, f"{n}Name", "Somebody"), int(kelvor(parser, f"{n}DomLeft", "24")),
             int(kelvor(parser, f"{n}Time", "999"))) for n in range(1, 14)]


def announced(since, text):
    """Whether a screen reader was told to speak `text`: a notification
    showed with it as its name or in its description."""
    for kind, name, detail, description in events[since:]:
        if kind.startswith("object:state-changed:showing") and detail == 1 and (
                name == text or text in (description or "")):
            return True
    return False


def ask_hint(game, tiles):
    """Presses H, as a reader's player does on the board, and returns the
    two dominoes the reader hears named after "Hint: "."""
    since = len(events)
    window = subprocess.run(["xdotool", "search", "--onlyvisible", "--pid", str(game.pid), "--name", f"^{MAIN_TITLE}$"],
                            capture_output=True, text=True).stdout.split()
    check(window, "no main window to press H in")
    subprocess.run(["xdotool", "windowfocus", "--sync", window[0], "key", "h"], check=True)

    def heard():
        return next((name for kind, name, detail, _ in events[since:] if kind.startswith(
            "object:state-changed:showing") and detail == 1 and (name or "").startswith("Hint: ")), None)

    named = wait_for("the reader to hear the hint", heard, 5)[len("Hint: "):].split("; ")
    pair = [t for t in tiles if t["name"] in named]
    check(len(pair) == 2 and sum(t["pips"] for t in pair) == 12 and all(t["showing"] for t in pair),
          f"the hint named {named}, not a pair of 12 that shows")
    return pair


def play_one(game, number, scores_path, rng, tally, hint=False):
    game_start = len(events)
    press_time = do_action(game.tool_button("Start new game"), "Press")
    check(press_time < 2, f"the new-game press took {press_time:.1f} s")
    # The deal lets the reader in between its attempts: it is done once the
    # pairs shown are those of the board, and some.
    def dealt():
        tiles = game.tiles()
        return (game.message() == "Let's play..." and len(tiles) == 28 and game.pairs_shown()
                and game.pairs_shown() == len(pairs_among(tiles)))

    wait_for("a new deal", dealt)
    wait_for("the reader to hear \"Let's play...\"", lambda: announced(game_start, "Let's play..."), 5)
    tally["played"] += 1
    before = read_scores(scores_path)
    twelfth = best_list(before)[11]
    moves = 0
    while True:
        # The reader learns of the last move's changes as their events come
        # in: the board it reads settles to the pairs the status bar shows.
        wait_for("the board to agree with the status bar's pairs",
                 lambda: game.pairs_shown() == len(pairs_among(game.tiles())), 5, game.disagreement)
        tiles = game.tiles()
        check(len(tiles) == 28 - 2 * moves, f"{len(tiles)} dominoes on the board after {moves} pairs")
        # At the end of a game no domino takes a press.
        check_board(tiles, game.message() != "Game over")
        if moves == 0:
            face_up = sorted(t["place"] for t in tiles if t["face_up"])
            check(face_up == sorted(["top"] + [f"bar, column {c}" for c in range(1, 5)]),
                  f"the deal shows faces at {face_up}")
        pairs = pairs_among(tiles)
        check(game.pairs_shown() == len(pairs), f"the status bar says {game.status()[0]!r}, the board has"
              f" {len(pairs)} pairs")
        if not pairs:
            break
        first, second = ask_hint(game, tiles) if hint else rng.choice(pairs)
        check(first["showing"] and second["showing"], "a pair that does not show")
        since = len(events)
        took = do_action(first["obj"], "Press")
        check(took < 2, f"a press took {took:.1f} s")
        wait_for(f"{first['name']!r} to be selected", lambda: states(first["obj"]).contains(pyatspi.STATE_SELECTED))
        left_before = len(tiles)
        took = do_action(second["obj"], "Press")
        # The press returns at once, also when it ends the game with a best
        # result: the name entry opens after it.
        check(took < 2, f"the press on {second['name']!r} took {took:.1f} s")
        wait_for("the pair to leave the board", lambda: len(game.tiles()) == left_before - 2)
        moves += 1
        gone = {first["place"], second["place"]}
        check(not gone & {t["place"] for t in game.tiles()}, "a pressed domino is still on the board")
        # A domino that the pair lay on shows now, and the reader is told.
        under = {t["place"] for t in tiles if not t["showing"]}
        for place in under & {t["place"] for t in game.tiles() if t["showing"]}:
            wait_for(f"the reader to hear that the domino at {place} shows", lambda: any(
                kind.startswith("object:state-changed:showing") and detail == 1 and (name or "").endswith(", " + place)
                for kind, name, detail, _ in events[since:]), 5)
            tally["uncovered_heard"] += 1
        pairs_row = game.status()[0]
        if game.pairs_shown() != len(pairs):
            wait_for(f"the reader to hear {pairs_row!r}", lambda: announced(since, pairs_row), 5)
            tally["pairs_heard"] += 1
        if left_before == 2:
            # The board is empty, the game won: the pairs are not counted
            # again, and the status bar keeps the last count.
            check(game.pairs_shown() == len(pairs), f"a won game's status bar says {pairs_row!r}")
            break

    # Game over: the clock stops, the message says so and the reader hears it.
    left = 28 - 2 * moves
    wait_for("Game over", lambda: game.message() == "Game over")
    wait_for("the reader to hear 'Game over'", lambda: announced(game_start, "Game over"), 5)
    seconds = game.seconds_shown()
    # A game played with hints enters no best list.
    qualifies = not hint and (left < twelfth[1] or (left == twelfth[1] and seconds < twelfth[2]))
    entered = None
    if qualifies:
        entry = wait_for("the name entry", game.entry)
        check(entry.description, "the name entry has no description")
        fields = [c for c in entry if c.getRole() in (pyatspi.ROLE_TEXT, pyatspi.ROLE_ENTRY)]
        check(len(fields) == 1, f"the name entry has {len(fields)} text fields")
        field = fields[0]
        check(field.name.strip() == "Your name:", f"the name field is named {field.name!r}")
        check(states(field).contains(pyatspi.STATE_FOCUSED), "the name field has not the focus")
        entered = f"Reader {number}"
        field.queryEditableText().setTextContents(entered)
        wait_for("the typed name", lambda: field.queryText().getText(0, -1) == entered)
        buttons = [c for c in entry if c.getRole() == pyatspi.ROLE_PUSH_BUTTON]
        check(len(buttons) == 1, "the name entry has no one button")
        do_action(buttons[0], "Press")
        wait_for("the name entry to close", lambda: game.entry() is None)
        tally["entered"] += 1
    else:
        pump(1.0)
        check(game.entry() is None, f"a name entry for {left} left in {seconds} s, entry 12 being {twelfth}")
    if left == 0:
        tally["won"] += 1

    def written():
        parser = read_scores(scores_path)
        return parser and int(kelvor(parser, "GamesSucc", "0")) == tally["entered"] and parser

    after = wait_for("the scores file", written)
    best = best_list(after)
    if entered:
        check((entered, left, seconds) in best[:12], f"{entered}, {left}, {seconds} not among {best[:12]}")
    check(int(kelvor(after, "GamesWas", "0")) == tally["played"], "GamesWas does not count the games")
    check(int(kelvor(after, "GamesEnd", "0")) == tally["won"], "GamesEnd does not count the won games")
    check(best[:12] == sorted(best[:12], key=lambda e: (e[1], e[2])), "the best list is out of order")
    print(f"game {number}: {moves} pairs, {left} left in {seconds} s,"
          f" {'entered as ' + entered if entered else 'no best result'}")


def main():
    pid, scores_path, count = int(sys.argv[1]), sys.argv[2], int(sys.argv[3])
    for kind in ("object:property-change:accessible-name", "object:state-changed:showing",
                 "object:text-changed"):
        pyatspi.Registry.registerEventListener(on_event, kind)
    rng = random.Random(1219)
    game = Game(pid)
    tiles = game.tiles()
    check(len(tiles) == 28 and all(not t["face_up"] for t in tiles), "before the first game the board is not all backs")
    check(sorted(t["place"] for t in tiles) == sorted(PLACES), "the dominoes' places are not the figure's")
    check(game.message() == "Press F2 to start", f"the message reads {game.message()!r}")
    check_board(tiles, False)
    tally = {"played": 0, "entered": 0, "won": 0, "pairs_heard": 0, "uncovered_heard": 0}
    for number in range(1, count + 1):
        # The last game is played by the hint alone, H pressed at each move.
        play_one(game, number, scores_path, rng, tally, hint=number == count)
    check(tally["entered"] >= 1, "no game gave a best result to enter")
    check(tally["pairs_heard"] >= 1, "no change of the pairs was heard")
    print(f"{tally['played']} games played through the accessibility tree, {tally['entered']} names entered,"
          f" {tally['pairs_heard']} changes of the pairs and {tally['uncovered_heard']} uncovered dominoes heard")


if __name__ == "__main__":
    try:
        main()
    except Fault as fault:
        print(f"FAIL: {fault}", file=sys.stderr)
        sys.exit(1)
