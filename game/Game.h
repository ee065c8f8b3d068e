#pragma once

#include "BoardFigure.h"
#include "DominoSet.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

// Every domino of the set has a slot of the figure.
static_assert(DominoSet::Count == BoardFigure::SlotCount);

enum class GamePhase : std::uint8_t { Running = 1, Paused = 2, Stopped = 3 };

// The message the status bar shows of the game's flow.
enum class GameMessage : std::uint8_t { PressF2ToStart, LetsPlay, Pause, GameOver };

// What a tile shows.
enum class TilePicture : std::uint8_t { None, Back, Face, MarkedFace };

// The board's flags of one slot. A tile is playable when it is visible (on
// the board and not hidden by a pause) and enabled (face up).
struct TileState
{
    bool visible = true;
    bool enabled = false;
    bool showHint = false; // the pip total shows as a tool tip
    TilePicture picture = TilePicture::None;
};

// Told of every change of the board and of the game's flow, so that a
// window can show it.
class GameObserver
{
public:
    virtual ~GameObserver() = default;
    virtual void tileChanged(SlotNumber /*slot*/) {}
    virtual void variantsCounted(int /*variants*/) {}
    // The seconds of the game, at its start and at each tick.
    virtual void secondsCounted(int /*seconds*/) {}
    // The flow may have changed: whether the clock runs, whether the pause
    // is held and the message (Game::clockRuns(), pauseHeld(), message()).
    virtual void flowChanged() {}
    // The game has just ended: the board is empty or no pair is left. The
    // phase is already Stopped, every tile disabled and the clock still;
    // the result is recorded after this.
    virtual void gameOver() {}
    // A new game has been dealt, or the pause or the setup dialog has
    // hidden the board or brought it back: the board stands as the player
    // will see it (not told of a deal asked for while one is under way).
    virtual void boardSettled() {}
};

// The scores' side of a game: what is counted when a game is dealt and
// recorded when it ends.
class GameRecorder
{
public:
    virtual ~GameRecorder() = default;
    // Counted once per new game, however many attempts its deal takes.
    virtual void countNewGame() = 0;
    // A game has ended with `dominoesLeft` on the board after `seconds`. A
    // result good enough for the best list asks for the player's name
    // before the game is counted, unless the player was shown a hint: the
    // best list is for games played unaided.
    virtual void recordResult(int dominoesLeft, int seconds, bool hinted) = 0;
};

// The state of the game in progress, its rules and its flow: the deal,
// pairing, uncovering, the end of a game and what it records, and when the
// clock runs. Everything is addressed by SlotNumber 1..28. The game never
// reads files, settings or the clock: the seed of a deal and the ticks of
// the clock are given to it.
class Game
{
public:
    explicit Game(GameObserver *observer = nullptr) { setObserver(observer); }
    // The one observer, in place of all others; none when null.
    void setObserver(GameObserver *observer)
    {
        m_observers.clear();
        addObserver(observer);
    }
    // One more observer, told after those before it.
    void addObserver(GameObserver *observer)
    {
        if (observer)
            m_observers.push_back(observer);
    }
    void setRecorder(GameRecorder *recorder) { m_recorder = recorder; }

    // --- state ---
    DominoId slotDomino(SlotNumber s) const { return m_slotDomino[s - 1]; }
    int pipTotalAt(SlotNumber s) const { return DominoSet::pipTotal(slotDomino(s)); }
    bool turnedUp(SlotNumber s) const { return m_turnedUp[s - 1]; }
    const TileState &tile(SlotNumber s) const { return m_tiles[s - 1]; }
    bool isPlayable(SlotNumber s) const { return tile(s).visible && tile(s).enabled; }
    bool selectionActive() const { return m_selectionActive; }
    SlotNumber selectedSlot() const { return m_selectedSlot; }
    int dominoesLeft() const { return m_dominoesLeft; }
    int elapsedSeconds() const { return m_elapsedSeconds; }
    int variants() const { return m_variants; }
    GamePhase phase() const { return m_phase; }
    // True while a new game is being dealt.
    bool dealing() const { return m_dealing; }
    // The clock runs while a game runs, unless it is being dealt anew, the
    // program is minimized or the setup dialog is open.
    bool clockRuns() const
    {
        return m_phase == GamePhase::Running && !m_dealing && !m_minimized && !m_setupOpen;
    }
    // The pause button is held down while the game is paused.
    bool pauseHeld() const { return m_phase == GamePhase::Paused && !m_dealing; }
    GameMessage message() const { return m_message; }
    // The slots still on the board (hidden by a pause or not).
    SlotSet onBoard() const;
    // Whether the player has been shown a hint in this game.
    bool hinted() const { return m_hinted; }
    // The slots that the last hiding of the board took away, in slot order.
    const std::vector<SlotNumber> &hiddenTiles() const { return m_hiddenTiles; }

    // --- the flow ---
    // A new game (NewGameClick), unless one is being dealt: the game is
    // counted, then dealt until a pair shows, and runs with its clock from
    // 0. Every attempt at the deal takes its seed from `nextSeed`; after
    // laying it out, `betweenAttempts` lets the window paint it before its
    // pairs are counted. Clicks and pause requests that come meanwhile are
    // ignored.
    void newGame(const std::function<std::uint32_t()> &nextSeed, const std::function<void()> &betweenAttempts);
    // The pause button: a running game pauses, a paused one goes on; in
    // other phases nothing changes.
    void pauseOrResume();
    // The program was minimized / restored.
    void minimize();
    void restore();
    // The setup dialog opens: the board hides, as the pause hides it (a
    // paused board is hidden already), and the clock stands still.
    void openSetup();
    // The setup dialog has closed: the hidden tiles come back and a game
    // that was running or paused goes on.
    void closeSetup();

    // --- dealing ---
    // Puts the back on every tile (the board before the first game).
    void showBacksOnAllTiles();
    // One attempt at a deal from `seed`: every slot gets its domino, face
    // down but for slots 24 to 28, which are face up and playable. The
    // count of pairs is left to countVariants(), so that the board can be
    // painted in between.
    void layOutDeal(std::uint32_t seed);
    // The same with the dominoes given: the DominoId of each slot 1..28.
    void layOutDeal(const std::array<DominoId, BoardFigure::SlotCount> &deal);
    // Counts the pairs among the playable tiles, keeps and reports the count.
    int countVariants();
    // The deal is final: nothing is selected.
    void finishDeal() { m_selectionActive = false; }
    // The new game runs, its clock from 0: "Let's play...".
    void start();

    // --- play ---
    // A click on slot s; a tile that is not playable takes no click.
    void click(SlotNumber s);

    // The pair to take now that keeps the fewest dominoes left within
    // reach, from then on the game counts as hinted. Nothing, and nothing
    // changes, while no game runs or no pair is left.
    std::optional<std::pair<SlotNumber, SlotNumber>> hint();

    // --- clock and pause ---
    // One second of the clock.
    void tick();
    // A running game pauses: the board is hidden, the phase is Paused and
    // the message "Pause". Returns false, changing nothing, in any other
    // phase.
    bool pause();
    // A paused game goes on: the hidden tiles come back, the phase is
    // Running and the message "Let's play...". Returns false, changing
    // nothing, in any other phase.
    bool resume();

private:
    // Hides every tile on the board and remembers which.
    void hideBoard();
    // Shows the hidden tiles again, face-up ones with their plain face (a
    // selected tile loses its mark until the selection changes) and
    // covered ones with the back.
    void showHiddenTiles();
    void setPicture(SlotNumber s, TilePicture picture);
    void changed(SlotNumber s);
    void removePair(SlotNumber first, SlotNumber second);
    void uncoverTiles();
    void endGame();
    void flowChanged();
    SlotSet goneSlots() const;

    template <typename Tell> void tell(Tell tellOne) const
    {
        for (GameObserver *observer : m_observers)
            tellOne(*observer);
    }

    std::vector<GameObserver *> m_observers;
    GameRecorder *m_recorder = nullptr;
    std::array<DominoId, BoardFigure::SlotCount> m_slotDomino{};
    std::array<bool, BoardFigure::SlotCount> m_turnedUp{};
    std::array<TileState, BoardFigure::SlotCount> m_tiles{};
    std::vector<SlotNumber> m_hiddenTiles;
    bool m_selectionActive = false;
    SlotNumber m_selectedSlot = 0;
    int m_dominoesLeft = 0;
    int m_elapsedSeconds = 0;
    int m_variants = 0;
    GamePhase m_phase = GamePhase::Stopped;
    GameMessage m_message = GameMessage::PressF2ToStart;
    bool m_dealing = false;
    bool m_hinted = false;
    bool m_minimized = false;
    bool m_setupOpen = false;
};
