#include "game.h"

#include "rules.h"

namespace reversi {

void Game::countDiscs() {
    firstCount = mainBoard.count(CellCode::first);
    secondCount = mainBoard.count(CellCode::second);
    view_.showCounts(firstCount, secondCount);
}

void Game::updateCanMove() {
    canMove = hasAnyMove(mainBoard, sideToMove, sideWaiting);
}

void Game::testMove() {
    const int firstBefore = firstCount;
    const int secondBefore = secondCount;
    flipCount = flipCaptures(trialBoard, cellX, cellY, sideToMove, sideWaiting, [](int, int) {});
    firstCount = trialBoard.count(CellCode::first);
    secondCount = trialBoard.count(CellCode::second);
    view_.showCounts(firstCount, secondCount);
    if (flipCount >= 1) {
        moveAccepted = true;
        view_.showVerdict(texts::correctStep);
        return;
    }
    moveAccepted = false;
    view_.showVerdict(texts::incorrectStep);
    trialBoard.refreshFrom(mainBoard);
    firstCount = firstBefore;
    secondCount = secondBefore;
}

void Game::placeDisc() {
    mainBoard.set(cellX, cellY, sideToMove);
    view_.drawPlacedDisc(discX, discY, sideToMove);
    countDiscs();
}

void Game::flipCapturedDiscs() {
    flipCount = 0;
    flipCaptures(mainBoard, cellX, cellY, sideToMove, sideWaiting, [this](int i, int j) {
        ++flipCount;
        discX = geometry::discOrigin(i);
        discY = geometry::discOrigin(j);
        view_.drawGrowingDisc(discX, discY, sideToMove);
    });
    countDiscs();
    handOver();
    view_.turnHandedOver();
}

void Game::playCellAnimated(CellPos cell) {
    cellX = cell.x;
    cellY = cell.y;
    setDiscOriginToCell();
    view_.drawGrowingDisc(discX, discY, sideToMove);
    mainBoard.set(cellX, cellY, sideToMove);
    flipCapturedDiscs();
}

void Game::swapSides() {
    if (sideWaiting == CellCode::second) {
        sideWaiting = CellCode::first;
        sideToMove = CellCode::second;
    } else {
        sideWaiting = CellCode::second;
        sideToMove = CellCode::first;
    }
}

void Game::handOver() {
    swapSides();
    updateCanMove();
    if (canMove) return;
    // The other side must pass: the side that just moved moves again, silently.
    swapSides();
    updateCanMove();
    if (canMove) return;
    gameEnd(outcomeByCounts(firstCount, secondCount));
}

void Game::setStartPosition() {
    mainBoard.setStartPosition();
    trialBoard.setStartPosition();
    view_.showCounts(2, 2);
}

bool Game::startClocks(int n) {
    if (n == INT_MAX) return false;
    secondClock = n;
    firstClock = n + 1;
    gameRunning = true;
    return true;
}

void Game::tick() {
    if (markerCountdown != gameOver && markerCountdown >= 0) {
        --markerCountdown;
        if (markerCountdown == 0) view_.drawMarker(discX, discY, false);
    }
    if (gameRunning) clockStep();
    if (markerCountdown != gameOver) view_.showClocks(firstClock, secondClock);
}

void Game::clockStep() {
    countDiscs();
    // A clock resumed below zero keeps counting; it stops at the lowest value rather than wrap.
    int& clock = sideToMove == CellCode::first ? firstClock : secondClock;
    if (clock > INT_MIN) --clock;
    // Every rule that holds applies its result, so the last one's texts remain.
    if (firstClock == 0) gameEnd(Outcome::firstLoses);
    if (secondClock == 0) gameEnd(Outcome::secondLoses);
    if (firstCount == 0) gameEnd(Outcome::firstLoses);
    if (secondCount == 0) gameEnd(Outcome::secondLoses);
    if (firstCount + secondCount == Board::cellCount) {
        gameEnd(outcomeByCounts(firstCount, secondCount));
    }
}

void Game::gameEnd(Outcome outcome) {
    markerCountdown = gameOver;
    switch (outcome) {
        case Outcome::firstLoses:
            view_.showResult(firstName, "");
            break;
        case Outcome::secondLoses:
            view_.showResult(secondName, "");
            break;
        case Outcome::draw:
            view_.showResult(texts::noOne, texts::draw);
            break;
    }
    gameRunning = false;
}

void Game::click(int x, int y) {
    if (markerCountdown != markerIdle) return;
    trialBoard.refreshFrom(mainBoard);
    cellX = geometry::indexOfPixel(x);
    cellY = geometry::indexOfPixel(y);
    const auto cell = geometry::cellAtPixel(x, y);
    if (!cell || mainBoard.at(*cell) != CellCode::empty) return;
    setDiscOriginToCell();
    testMove();
    setDiscOriginToCell();
    if (moveAccepted) {
        placeDisc();
        flipCapturedDiscs();
    } else {
        markerCountdown = markerShownTicks;
        view_.drawMarker(discX, discY, true);
    }
}

}  // namespace reversi
