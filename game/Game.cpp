#include "Game.h"

#include "BoardSolver.h"
#include "DealGenerator.h"

namespace {
constexpr int slots = BoardFigure::SlotCount;
}

void Game::changed(SlotNumber s)
{
    tell([&](GameObserver &o) { o.tileChanged(s); });
}

void Game::setPicture(SlotNumber s, TilePicture picture)
{
    m_tiles[s - 1].picture = picture;
}

void Game::showBacksOnAllTiles()
{
    for (SlotNumber s = 1; s <= slots; ++s) {
        setPicture(s, TilePicture::Back);
        changed(s);
    }
}

void Game::layOutDeal(std::uint32_t seed)
{
    layOutDeal(DealGenerator::drawDeal(seed));
}

void Game::layOutDeal(const std::array<DominoId, BoardFigure::SlotCount> &deal)
{
    m_dominoesLeft = slots;
    m_elapsedSeconds = 0;
    m_variants = 0;
    m_hinted = false;
    for (SlotNumber s = 1; s <= slots; ++s) {
        m_slotDomino[s - 1] = deal[s - 1];
        m_turnedUp[s - 1] = false;
        TileState &tile = m_tiles[s - 1];
        const bool faceUp = s >= BoardFigure::FirstTopSlot;
        tile.visible = true;
        tile.enabled = faceUp;
        tile.showHint = faceUp;
        tile.picture = faceUp ? TilePicture::Face : TilePicture::Back;
        changed(s);
    }
}

int Game::countVariants()
{
    std::array<int, slots> totals{};
    int playable = 0;
    for (SlotNumber s = 1; s <= slots; ++s)
        if (isPlayable(s))
            totals[playable++] = pipTotalAt(s);
    int pairs = 0;
    for (int i = 0; i < playable; ++i)
        for (int j = i + 1; j < playable; ++j)
            if (totals[i] + totals[j] == DominoSet::PairTotal)
                ++pairs;
    m_variants = pairs;
    tell([&](GameObserver &o) { o.variantsCounted(pairs); });
    return pairs;
}

void Game::flowChanged()
{
    tell([&](GameObserver &o) { o.flowChanged(); });
}

void Game::newGame(const std::function<std::uint32_t()> &nextSeed, const std::function<void()> &betweenAttempts)
{
    if (m_dealing)
        return;
    m_dealing = true;
    flowChanged();
    if (m_recorder)
        m_recorder->countNewGame();
    // Each attempt is seeded afresh; an attempt whose five face-up dominoes
    // hold no pair is dealt again.
    do {
        layOutDeal(nextSeed());
        if (betweenAttempts)
            betweenAttempts();
    } while (countVariants() == 0);
    finishDeal();
    m_dealing = false;
    start();
    tell([](GameObserver &o) { o.boardSettled(); });
}

void Game::start()
{
    m_elapsedSeconds = 0;
    m_phase = GamePhase::Running;
    m_message = GameMessage::LetsPlay;
    flowChanged();
    tell([&](GameObserver &o) { o.secondsCounted(m_elapsedSeconds); });
}

void Game::tick()
{
    ++m_elapsedSeconds;
    tell([&](GameObserver &o) { o.secondsCounted(m_elapsedSeconds); });
}

void Game::click(SlotNumber t)
{
    if (t < 1 || t > slots || !isPlayable(t) || m_phase != GamePhase::Running || m_dealing)
        return;
    if (!m_selectionActive) {
        m_selectionActive = true;
        m_selectedSlot = t;
        setPicture(t, TilePicture::MarkedFace);
        changed(t);
    } else if (t == m_selectedSlot) {
        m_selectionActive = false;
        setPicture(t, TilePicture::Face);
        changed(t);
    } else if (pipTotalAt(t) + pipTotalAt(m_selectedSlot) != DominoSet::PairTotal) {
        const SlotNumber previous = m_selectedSlot;
        setPicture(previous, TilePicture::Face);
        changed(previous);
        m_selectedSlot = t;
        setPicture(t, TilePicture::MarkedFace);
        changed(t);
    } else {
        removePair(m_selectedSlot, t);
    }
}

void Game::removePair(SlotNumber first, SlotNumber second)
{
    // The selected tile leaves the board with its mark.
    m_tiles[first - 1].visible = false;
    changed(first);
    m_tiles[second - 1].visible = false;
    changed(second);
    m_dominoesLeft -= 2;
    uncoverTiles();
    m_selectionActive = false;
    if (m_dominoesLeft == 0)
        endGame();
}

SlotSet Game::goneSlots() const
{
    SlotSet gone = 0;
    for (SlotNumber s = 1; s <= slots; ++s)
        if (!tile(s).visible)
            gone |= slotBit(s);
    return gone;
}

SlotSet Game::onBoard() const
{
    SlotSet hidden = 0;
    for (SlotNumber s : m_hiddenTiles)
        hidden |= slotBit(s);
    return (BoardFigure::allSlots & ~goneSlots()) | (m_setupOpen || m_phase == GamePhase::Paused ? hidden : 0);
}

std::optional<std::pair<SlotNumber, SlotNumber>> Game::hint()
{
    if (m_phase != GamePhase::Running || m_dealing || m_setupOpen || m_variants == 0)
        return std::nullopt;
    const BoardSolver::Outcome best = BoardSolver(m_slotDomino).solve(onBoard());
    if (!best.first)
        return std::nullopt;
    m_hinted = true;
    return std::pair{best.first, best.second};
}

void Game::uncoverTiles()
{
    const SlotSet gone = goneSlots();
    for (SlotNumber s = 1; s < BoardFigure::FirstTopSlot; ++s) {
        if (m_turnedUp[s - 1] || !BoardFigure::isFreed(s, gone))
            continue;
        TileState &tile = m_tiles[s - 1];
        tile.picture = TilePicture::Face;
        tile.enabled = true;
        m_turnedUp[s - 1] = true;
        changed(s);
    }
    for (SlotNumber s = 1; s <= slots; ++s) {
        TileState &tile = m_tiles[s - 1];
        if (tile.visible && tile.enabled && !tile.showHint) {
            tile.showHint = true;
            changed(s);
        }
    }
    if (m_dominoesLeft > 0 && countVariants() == 0)
        endGame();
}

void Game::endGame()
{
    m_phase = GamePhase::Stopped;
    m_message = GameMessage::GameOver;
    flowChanged();
    for (SlotNumber s = 1; s <= slots; ++s) {
        if (m_tiles[s - 1].enabled) {
            m_tiles[s - 1].enabled = false;
            changed(s);
        }
    }
    tell([&](GameObserver &o) { o.gameOver(); });
    if (m_recorder)
        m_recorder->recordResult(m_dominoesLeft, m_elapsedSeconds, m_hinted);
    // The status bar keeps showing the game's final time.
    m_elapsedSeconds = 0;
}

bool Game::pause()
{
    if (m_phase != GamePhase::Running)
        return false;
    hideBoard();
    m_phase = GamePhase::Paused;
    m_message = GameMessage::Pause;
    flowChanged();
    return true;
}

bool Game::resume()
{
    if (m_phase != GamePhase::Paused)
        return false;
    showHiddenTiles();
    m_phase = GamePhase::Running;
    m_message = GameMessage::LetsPlay;
    flowChanged();
    return true;
}

void Game::pauseOrResume()
{
    // A deal in progress is not paused: the pause would hide a board that
    // is still being laid out.
    if (m_dealing || !(pause() || resume()))
        flowChanged(); // nothing changed; a toggled button springs back
    tell([](GameObserver &o) { o.boardSettled(); });
}

void Game::minimize()
{
    m_minimized = true;
    flowChanged();
}

void Game::restore()
{
    m_minimized = false;
    flowChanged();
}

void Game::openSetup()
{
    // A paused game's tiles are hidden already, and stay in the pause's list.
    if (m_phase != GamePhase::Paused)
        hideBoard();
    m_setupOpen = true;
    m_message = GameMessage::Pause;
    flowChanged();
    tell([](GameObserver &o) { o.boardSettled(); });
}

void Game::closeSetup()
{
    showHiddenTiles();
    m_setupOpen = false;
    if (m_phase == GamePhase::Running || m_phase == GamePhase::Paused) {
        m_phase = GamePhase::Running;
        m_message = GameMessage::LetsPlay;
    } else {
        m_message = GameMessage::PressF2ToStart;
    }
    flowChanged();
    tell([](GameObserver &o) { o.boardSettled(); });
}

void Game::hideBoard()
{
    m_hiddenTiles.clear();
    for (SlotNumber s = 1; s <= slots; ++s) {
        if (m_tiles[s - 1].visible) {
            m_hiddenTiles.push_back(s);
            m_tiles[s - 1].visible = false;
            changed(s);
        }
    }
}

void Game::showHiddenTiles()
{
    for (SlotNumber s : m_hiddenTiles) {
        TileState &tile = m_tiles[s - 1];
        tile.visible = true;
        tile.picture = tile.enabled ? TilePicture::Face : TilePicture::Back;
        changed(s);
    }
}
