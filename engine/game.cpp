#include "game.h"

#include "rules.h"

namespace reversi {

bool Game::sideToMoveCanMove() const {
    return hasAnyMove(board_, sideToMove_, sideWaiting_);
}

void Game::countDiscs() {
    firstCount_ = board_.count(CellCode::first);
    secondCount_ = board_.count(CellCode::second);
    view_.showCounts(firstCount_, secondCount_);
}

int Game::testMove(CellPos cell) {
    trialBoard_.refreshFrom(board_);
    cell_ = cell;
    const int flipCount =
        flipCaptures(trialBoard_, cell.x, cell.y, sideToMove_, sideWaiting_, [](int, int) {});
    const int firstTrial = trialBoard_.count(CellCode::first);
    const int secondTrial = trialBoard_.count(CellCode::second);
    view_.showCounts(firstTrial, secondTrial);
    if (flipCount >= 1) {
        firstCount_ = firstTrial;
        secondCount_ = secondTrial;
        view_.showVerdict(Verdict::correctStep);
    } else {
        view_.showVerdict(Verdict::incorrectStep);
        trialBoard_.refreshFrom(board_);
    }
    return flipCount;
}

void Game::placeDisc() {
    board_.set(cell_.x, cell_.y, sideToMove_);
    view_.drawPlacedDisc(cell_, sideToMove_);
    countDiscs();
}

void Game::flipCapturedDiscs() {
    flipCaptures(board_, cell_.x, cell_.y, sideToMove_, sideWaiting_, [this](int i, int j) {
        view_.drawGrowingDisc({i, j}, sideToMove_);
    });
    countDiscs();
    handOver();
    view_.turnHandedOver();
}

void Game::playCellAnimated(CellPos cell) {
    cell_ = cell;
    view_.drawGrowingDisc(cell, sideToMove_);
    board_.set(cell.x, cell.y, sideToMove_);
    flipCapturedDiscs();
}

void Game::swapSides() {
    if (sideWaiting_ == CellCode::second) {
        sideWaiting_ = CellCode::first;
        sideToMove_ = CellCode::second;
    } else {
        sideWaiting_ = CellCode::second;
        sideToMove_ = CellCode::first;
    }
}

void Game::handOver() {
    swapSides();
    if (sideToMoveCanMove()) return;
    // The other side must pass: the side that just moved moves again, silently.
    swapSides();
    if (sideToMoveCanMove()) return;
    gameEnd(outcomeByCounts(firstCount_, secondCount_));
}

void Game::setStartPosition() {
    board_.setStartPosition();
    trialBoard_.setStartPosition();
    view_.showCounts(2, 2);
}

bool Game::newGame(int countdown) {
    if (countdown == INT_MAX) return false;
    sideToMove_ = CellCode::first;
    sideWaiting_ = CellCode::second;
    setStartPosition();
    secondClock_ = countdown;
    firstClock_ = countdown + 1;
    markerTicks_ = markerIdle;
    phase_ = Phase::running;
    return true;
}

void Game::setPosition(const Board& board, Cell toMove) {
    board_ = board;
    trialBoard_ = board;
    sideToMove_ = toMove;
    sideWaiting_ = opponentOf(toMove);
    countDiscs();
}

void Game::pause() {
    if (phase_ == Phase::running) phase_ = Phase::paused;
}

void Game::resume() {
    if (phase_ == Phase::notStarted) return;
    phase_ = Phase::running;
    dropMarker();
}

void Game::tick() {
    if (phase_ != Phase::over && markerTicks_ >= 0) {
        --markerTicks_;
        if (markerTicks_ == 0) view_.drawMarker(markerCell_, false);
    }
    if (phase_ == Phase::running) clockStep();
    if (phase_ != Phase::over) view_.showClocks(firstClock_, secondClock_);
}

void Game::clockStep() {
    countDiscs();
    // A clock resumed below zero keeps counting; it stops at the lowest value rather than wrap.
    int& clock = sideToMove_ == CellCode::first ? firstClock_ : secondClock_;
    if (clock > INT_MIN) --clock;
    // Every rule that holds applies its result, so the last one's texts remain.
    if (firstClock_ == 0) gameEnd(Outcome::firstLoses);
    if (secondClock_ == 0) gameEnd(Outcome::secondLoses);
    if (firstCount_ == 0) gameEnd(Outcome::firstLoses);
    if (secondCount_ == 0) gameEnd(Outcome::secondLoses);
    if (firstCount_ + secondCount_ == Board::cellCount) {
        gameEnd(outcomeByCounts(firstCount_, secondCount_));
    }
}

void Game::gameEnd(Outcome outcome) {
    phase_ = Phase::over;
    view_.showResult(outcome);
}

void Game::click(CellPos cell) {
    if (phase_ == Phase::over || markerTicks_ != markerIdle) return;
    if (board_.at(cell) != CellCode::empty) return;
    if (testMove(cell) > 0) {
        placeDisc();
        flipCapturedDiscs();
    } else {
        markerTicks_ = markerShownTicks;
        markerCell_ = cell;
        view_.drawMarker(cell, true);
    }
}

}  // namespace reversi
