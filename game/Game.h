#pragma once

#include "BoardFigure.h"
#include "DominoSet.h"

#include <array>
#include <cstdint>
#include <vector>

// Every domino of the set has a slot of the figure.
static_assert(DominoSet::Count == BoardFigure::SlotCount);

enum class GamePhase : std::uint8_t { Running = 1, Paused = 2, Stopped = 3 };

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

// Told of every change of the board, so that a window can show it.
class GameObserver
{
public:
    virtual ~GameObserver() = default;
    virtual void tileChanged(SlotNumber slot) = 0;
    virtual void variantsCounted(int variants) = 0;
    // The game has just ended: the board is empty or no pair is left. The
    // phase is already Stopped and every tile disabled.
    virtual void gameOver() = 0;
};

// The state of the game in progress and its rules: the deal, pairing,
// uncovering and the end of a game. Everything is addressed by SlotNumber
// 1..28. The game never reads files, settings or the clock: the seed of a
// deal and the ticks of the clock are given to it.
class Game
{
public:
    explicit Game(GameObserver *observer = nullptr) : m_observer(observer) {}
    void setObserver(GameObserver *observer) { m_observer = observer; }

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
    // The slots that the last hiding of the board took away, in slot order.
    const std::vector<SlotNumber> &hiddenTiles() const { return m_hiddenTiles; }

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
    // The new game runs, its clock from 0.
    void start();

    // --- play ---
    // A click on slot s; a tile that is not playable takes no click.
    void click(SlotNumber s);

    // --- clock and pause ---
    void tick() { ++m_elapsedSeconds; }
    void resetElapsed() { m_elapsedSeconds = 0; }
    void setPhase(GamePhase phase) { m_phase = phase; }
    // A running game pauses: the board is hidden and the phase is Paused.
    // Returns false, changing nothing, in any other phase.
    bool pause();
    // A paused game goes on: the hidden tiles come back and the phase is
    // Running. Returns false, changing nothing, in any other phase.
    bool resume();
    // Hides every tile on the board and remembers which.
    void hideBoard();
    // Shows the hidden tiles again, face-up ones with their plain face (a
    // selected tile loses its mark until the selection changes) and
    // covered ones with the back.
    void showHiddenTiles();

private:
    void setPicture(SlotNumber s, TilePicture picture);
    void changed(SlotNumber s);
    void removePair(SlotNumber first, SlotNumber second);
    void uncoverTiles();
    void endGame();
    SlotSet goneSlots() const;

    GameObserver *m_observer;
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
};
