#!/usr/bin/env python3
"""Plays whole games of the real game by keys alone, through xdotool.

It reads the board from screenshots of the main window (the built-in skin's
faces: white pips on black), learns each domino as it turns up, and checks
every move against the rules: a domino that makes no pair with the selected
one takes the selection over, the two dominoes of a pair make 12 and leave
the board, exactly the dominoes whose ends are free turn up, each domino of
the set shows once, and the game ends when the board is empty or no pair is
left. It moves the focus with Tab, Shift+Tab and the arrows, finds it by the
focus frame, and plays with Space. In the second game it asks for a hint
with H: two dominoes of a pair blink with the selection mark, the board is
as before afterwards, and the game's result asks no name. After each game
it checks the scores file: the games counted, the games won, and the
results that entered the best list under the name it typed.

Usage: keyboard_player.py WINDOW_ID SCORES_FILE GAMES WITH_WM(0|1) SEED
(the seed of its choices among the pairs and the arrow keys)
"""
import random
import re
import subprocess
import sys
import time

# The figure: each slot's top-left corner in the client area.
POSITIONS = {
    1: (85, 392), 2: (115, 392), 3: (145, 392), 4: (175, 392),
    5: (85, 332), 6: (115, 332), 7: (145, 332), 8: (175, 332),
    9: (85, 272), 10: (115, 272), 11: (145, 272), 12: (175, 272),
    13: (85, 212), 14: (115, 212), 15: (145, 212), 16: (175, 212),
    17: (100, 152), 18: (130, 152), 19: (160, 152),
    20: (115, 92), 21: (145, 92), 22: (115, 32), 23: (145, 32), 24: (130, 32),
    25: (85, 302), 26: (115, 302), 27: (145, 302), 28: (175, 302),
}
BAR = {25, 26, 27, 28}
# When a face-down slot turns up: (needs the bar gone, alternatives, each a
# set of slots that must all be gone).
RULES = {
    1: (True, [set()]), 2: (True, [set()]), 3: (True, [set()]), 4: (True, [set()]),
    5: (False, [{1}, {9}]), 6: (False, [{2}, {10}]), 7: (False, [{3}, {11}]), 8: (False, [{4}, {12}]),
    9: (False, [{5}, {13}]), 10: (False, [{6}, {14}]), 11: (False, [{7}, {15}]), 12: (False, [{8}, {16}]),
    13: (True, [{17}, {9}]), 14: (True, [{17, 18}, {10}]), 15: (True, [{18, 19}, {11}]), 16: (True, [{19}, {12}]),
    17: (False, [{13, 14}, {20}]), 18: (False, [{14, 15}, {20, 21}]), 19: (False, [{15, 16}, {21}]),
    20: (False, [{17, 18}, {22}]), 21: (False, [{18, 19}, {23}]), 22: (False, [{24}]), 23: (False, [{24}]),
}
NAME = "Keys"
NAME_ENTRY = "Congratulations!!!"
# Pixels of a face that the selection's checkerboard leaves alone (x + y
# odd), at the middle of each of the nine pip places of each half.
PIP_COLUMNS = (5, 14, 22)
PIP_ROWS_UPPER = (7, 15, 23)
PIP_ROWS_LOWER = (35, 43, 51)


def fail(message):
    print("FAIL: " + message, file=sys.stderr)
    sys.exit(1)


def run(*args):
    return subprocess.run(args, check=True, capture_output=True).stdout


class Screen:
    """One screenshot of the main window's client area."""

    def __init__(self, window):
        data = run("import", "-silent", "-window", window, "-depth", "8", "ppm:-")
        match = re.match(rb"P6\s+(\d+)\s+(\d+)\s+(\d+)\s", data)
        self.width, self.height = int(match.group(1)), int(match.group(2))
        if match.group(3) != b"255":
            fail("a screenshot not of 8-bit colours")
        self.pixels = data[match.end():]

    def rgb(self, x, y):
        i = 3 * (y * self.width + x)
        return tuple(self.pixels[i:i + 3])

    def white(self, slot, dx, dy):
        x, y = POSITIONS[slot]
        return min(self.rgb(x + dx, y + dy)) > 200

    def face(self, slot):
        # The divider across the middle of a face (row 30) is white.
        return self.white(slot, 7, 30)

    def selected(self, slot):
        # The checkerboard turns every other pixel of the divider black.
        return self.face(slot) and not self.white(slot, 8, 30)

    def halves(self, slot):
        def count(rows):
            return sum(self.white(slot, x + (1 - (x + y) % 2), y) for x in PIP_COLUMNS for y in rows)
        return count(PIP_ROWS_UPPER), count(PIP_ROWS_LOWER)

    def framed(self, slot):
        # On a face: a back may have yellow in its border.
        x, y = POSITIONS[slot]
        for dy in range(60):
            r, g, b = self.rgb(x, y + dy)
            if r > 200 and g > 200 and b < 80:
                return True
        return False


class Player:
    def __init__(self, window, scores, with_wm, rng):
        self.window = window
        self.scores = scores
        self.with_wm = with_wm
        self.rng = rng
        self.games = 0
        self.won = 0
        self.entered = []  # dominoes left of each result entered under NAME

    # --- keys ---------------------------------------------------------
    def focus_window(self):
        if self.with_wm:
            subprocess.run(["xdotool", "windowactivate", "--sync", self.window], capture_output=True)
        subprocess.run(["xdotool", "windowfocus", "--sync", self.window], capture_output=True)

    def keys(self, *names):
        run("xdotool", "key", "--delay", "60", *names)

    def screen(self, until=None, what="the board to settle"):
        deadline = time.time() + 5
        while True:
            shot = Screen(self.window)
            if until is None or until(shot):
                return shot
            if time.time() > deadline:
                fail("waited in vain for " + what)
            time.sleep(0.05)

    # --- the model ----------------------------------------------------
    def hidden(self, slot):
        """Whether the point where a face shows is out of sight: under a
        domino that lies on top (slot 24 on 23, the bar on the block's third
        row), or, where the slot's domino has gone, on the one beneath."""
        if slot == 23 and 24 in self.board:
            return True
        if 9 <= slot <= 12 and slot + 16 in self.board:
            return True
        beneath = {24: (22,)}.get(slot, (slot - 20,) if slot in BAR else ())
        return slot not in self.board and any(b in self.board for b in beneath)

    def playable(self):
        return sorted((s for s in self.board if s in self.up),
                      key=lambda s: (POSITIONS[s][1], POSITIONS[s][0]))

    def pairs(self):
        order = self.playable()
        return [(a, b) for i, a in enumerate(order) for b in order[i + 1:]
                if sum(self.domino[a]) + sum(self.domino[b]) == 12]

    def read_faces(self, slots):
        """The halves each slot's face shows. A screenshot may catch the
        window between two parts of one repaint: two that agree count."""
        readings = {}
        for _ in range(20):
            shot = Screen(self.window)
            now = {s: shot.halves(s) for s in slots}
            if now == readings:
                break
            readings = now
            time.sleep(0.05)
        return readings

    def learn(self, readings):
        for s, (upper, lower) in readings.items():
            if not upper <= lower <= 6:
                fail(f"slot {s} shows {upper}-{lower}, no domino of the set")
            if (upper, lower) in self.seen:
                fail(f"domino {upper}-{lower} shows twice")
            self.seen.add((upper, lower))
            self.domino[s] = (upper, lower)

    def check_board(self, shot):
        """The screen shows the model's board: faces exactly where the model
        has them, nothing where dominoes have gone."""
        for s in POSITIONS:
            if self.hidden(s):
                continue
            want = s in self.board and s in self.up
            if shot.face(s) != want:
                fail(f"slot {s} shows {'a face' if shot.face(s) else 'no face'} in game {self.games}")

    def focused(self, shot):
        framed = [s for s in self.playable() if shot.framed(s)]
        if len(framed) > 1:
            fail(f"focus frames on {framed}")
        return framed[0] if framed else None

    # --- play ---------------------------------------------------------
    def move_focus_to(self, target, shot):
        now = self.focused(shot)
        order = self.playable()
        if now is None:
            fail("no domino shows the focus")
        # An arrow first: the focus moves within 45 degrees of its direction,
        # or stays.
        arrow = self.rng.choice(["Left", "Right", "Up", "Down"])
        self.keys(arrow)
        shot = self.screen(lambda s: self.focused(s) is not None, "the focus after " + arrow)
        after = self.focused(shot)
        if after != now:
            dx = POSITIONS[after][0] - POSITIONS[now][0]
            dy = POSITIONS[after][1] - POSITIONS[now][1]
            ahead, aside = {"Left": (-dx, dy), "Right": (dx, dy), "Up": (-dy, dx), "Down": (dy, dx)}[arrow]
            if ahead <= 0 or abs(aside) > ahead:
                fail(f"{arrow} moved the focus from slot {now} to slot {after}")
        now = after
        steps = (order.index(target) - order.index(now)) % len(order)
        if steps:
            if steps <= len(order) - steps:
                self.keys(*["Tab"] * steps)
            else:
                self.keys(*["shift+Tab"] * (len(order) - steps))
            shot = self.screen(lambda s: self.focused(s) == target, f"the focus on slot {target} by Tab")
        return shot

    def play_game(self):
        self.focus_window()
        self.keys("F2")
        self.games += 1
        self.board = set(POSITIONS)
        self.up = {24, 25, 26, 27, 28}
        self.domino = {}
        self.seen = set()
        self.named = False
        self.hinted = False
        self.best_at_start = read_scores(self.scores)["best"]
        shot = self.screen(lambda s: all(s.face(t) for t in self.up), "the deal")
        self.check_board(shot)
        self.learn(self.read_faces(sorted(self.up)))
        # The frame shows once keys are used, not after F2 alone: the first
        # Tab brings it.
        if self.games == 1 and not self.games_before and self.focused(shot) is not None:
            fail("the focus frame shows before Tab, the arrows or Space were used")
        self.keys("Tab", "shift+Tab")
        shot = self.screen(lambda s: self.focused(s) is not None, "the focus frame")
        if self.focused(shot) != self.playable()[0]:
            fail(f"the focus starts on slot {self.focused(shot)}, not on the first domino")
        while self.pairs():
            if self.games == 2 and not self.hinted:
                shot = self.check_hint()
            first, second = self.choose()
            if self.rng.random() < 0.5:
                first, second = second, first
            shot = self.move_focus_to(first, shot)
            self.keys("space")
            shot = self.screen(lambda s: s.selected(first), f"the selection of slot {first}")
            if self.games == 1 and len(self.board) == 28:
                self.check_pause(first)
            others = [t for t in self.playable() if t != first and sum(self.domino[t]) + sum(self.domino[first]) != 12]
            if others and self.rng.random() < 0.25:
                # A domino that makes no pair with the selected one takes
                # the selection over; both stay on the board.
                other = self.rng.choice(others)
                shot = self.move_focus_to(other, shot)
                self.keys("space")
                shot = self.screen(lambda s: s.selected(other) and not s.selected(first) and s.face(first),
                                   f"the selection to move from slot {first} to slot {other}")
                shot = self.move_focus_to(first, shot)
                self.keys("space")
                shot = self.screen(lambda s: s.selected(first) and not s.selected(other),
                                   f"the selection to move back to slot {first}")
            shot = self.move_focus_to(second, shot)
            self.keys("space")
            self.board -= {first, second}
            freed = self.freed(self.board)
            self.up |= set(freed)
            self.read_turned_up(second, freed)
            if not self.board or not self.pairs():
                break
            shot = self.screen(lambda s: self.focused(s) is not None, "the focus after the pair")
            self.check_board(shot)
        self.finish()

    def check_hint(self):
        """H: the two dominoes of a pair show the selection mark twice,
        briefly; then the board shows as before. A screenshot can miss the
        blink on a busy machine: H is pressed again."""
        order = self.playable()
        for _ in range(5):
            self.keys("h")
            self.hinted = True
            deadline = time.time() + 1.5
            while time.time() < deadline:
                shot = Screen(self.window)
                marked = {s for s in order if not self.hidden(s) and shot.selected(s)}
                if len(marked) == 2:
                    if marked not in [set(p) for p in self.pairs()]:
                        fail(f"H marked slots {sorted(marked)}, no pair")
                    shot = self.screen(lambda s: not any(s.selected(t) for t in order), "the hint's blink to end")
                    self.check_board(shot)
                    return shot
                if len(marked) > 2:
                    fail(f"H marked slots {sorted(marked)}")
        fail("H showed no pair")

    def freed(self, board):
        """The face-down slots whose ends are free on `board`."""
        return [s for s, (bar, alternatives) in RULES.items()
                if s not in self.up and (not bar or not BAR & board)
                and any(not (a & board) for a in alternatives)]

    def choose(self):
        """A pair that turns up the most dominoes, so that games go deep."""
        pairs = self.pairs()
        most = max(len(self.freed(self.board - set(p))) for p in pairs)
        return self.rng.choice([p for p in pairs if len(self.freed(self.board - set(p))) == most])

    def read_turned_up(self, second, freed):
        """Waits for the pair to go and reads the dominoes that turned up. A
        game that ends with a best result shows the name entry over the
        board at once: the name is entered first."""
        while True:
            self.screen(lambda s: name_entry() or ((self.hidden(second) or not s.face(second))
                                                  and all(s.face(t) for t in freed)),
                        f"the pair to go, slot {second} among them")
            if name_entry():
                self.enter_name()
                continue
            readings = self.read_faces(freed)
            if name_entry():
                self.enter_name()
                continue
            self.learn(readings)
            return

    def check_pause(self, selected):
        """F4 hides the board and takes the focus off it; F4 again brings
        it back to the same domino."""
        self.keys("F4")
        self.screen(lambda s: not any(s.face(t) for t in self.playable()), "the pause")
        self.keys("F4")
        shot = self.screen(lambda s: all(s.face(t) for t in self.playable()), "the resume")
        if self.focused(shot) != selected:
            fail(f"after the pause the focus is on slot {self.focused(shot)}, not on slot {selected}")

    def enter_name(self):
        dialog = name_entry()
        if not self.with_wm:
            subprocess.run(["xdotool", "windowfocus", "--sync", dialog], capture_output=True)
        run("xdotool", "key", "--delay", "30", "ctrl+a")
        run("xdotool", "type", "--delay", "30", NAME)
        run("xdotool", "key", "Return")
        deadline = time.time() + 5
        while name_entry():
            if time.time() > deadline:
                fail("the name entry stays after Return")
            time.sleep(0.1)
        self.named = True
        self.entered.append(len(self.board))

    def finish(self):
        left = len(self.board)
        if left == 0:
            self.won += 1
        twelfth = self.best_at_start[11]
        # A game with a hint does not enter the best list.
        qualifies = not self.hinted and (left < twelfth[1] or (left == twelfth[1] and twelfth[2] == 999))
        if not self.named and find_window(NAME_ENTRY, 3 if qualifies else 0.5):
            self.enter_name()
        if qualifies != self.named:
            fail(f"game {self.games} with {left} left: the name entry {'did not show' if qualifies else 'showed'}")
        shot = self.screen(lambda s: not any(s.framed(t) for t in self.playable()),
                           "the focus frame to leave the board")
        self.check_board(shot)
        self.check_scores()
        print(f"game {self.games}: {left} dominoes left", flush=True)

    def check_scores(self):
        deadline = time.time() + 5
        while True:
            scores = read_scores(self.scores)
            mine = sorted(left for name, left, _ in scores["best"] if name == NAME)
            got = (scores["GamesWas"], scores["GamesSucc"], scores["GamesEnd"], mine)
            want = (self.games + self.games_before, len(self.entered) + self.succ_before,
                    self.won + self.end_before, sorted(self.entered_before + self.entered))
            if got == want:
                return
            if time.time() > deadline:
                fail(f"scores file: played, successful, won, best {got}; expected {want}")
            time.sleep(0.1)


def name_entry():
    return find_window(NAME_ENTRY, 0)


def find_window(name, seconds):
    deadline = time.time() + seconds
    while True:
        out = subprocess.run(["xdotool", "search", "--onlyvisible", "--name", "^" + re.escape(name) + "$"],
                             capture_output=True, text=True).stdout.split()
        if out or time.time() >= deadline:
            return out[0] if out else None
        time.sleep(0.1)


def read_scores(path):
    scores = {"GamesWas": 0, "GamesSucc": 0, "GamesEnd": 0, "best": []}
    entries = {}
    section = None
    try:
        text = open(path, encoding="latin-1").read()
    except FileNotFoundError:
        text = ""
    for line in text.splitlines():
        line = line.strip()
        if line.startswith("["):
            section = line
            continue
        if section != "[Kelvor]" or "=" not in line:
            continue
        key, value = line.split("=", 1)
        if key in scores:
            scores[key] = int(value)
        match = re.match(r"(\d+)(Name|DomLeft|Time)$", key)
        if match:
            entries.setdefault(int(match.group(1)), {})[match.group(2)] = value
    for n in range(1, 13):
        entry = entries.get(n, {})
        scores["best"].append((entry.get("Name", "Somebody"), int(entry.get("DomLeft", 24)),
                               int(entry.get("Time", 999))))
    return scores


def main():
    window, scores_file, games, with_wm, seed = sys.argv[1:6]
    player = Player(window, scores_file, with_wm == "1", random.Random(int(seed)))
    before = read_scores(scores_file)
    player.games_before = before["GamesWas"]
    player.succ_before = before["GamesSucc"]
    player.end_before = before["GamesEnd"]
    # Results entered earlier under NAME stay in the list.
    player.entered_before = sorted(left for name, left, _ in before["best"] if name == NAME)
    for _ in range(int(games)):
        player.play_game()


if __name__ == "__main__":
    main()
