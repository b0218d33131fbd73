#include "board.h"

namespace reversi {

void Board::setStartPosition() {
    clear();
    set(3, 3, CellCode::first);
    set(4, 4, CellCode::first);
    set(3, 4, CellCode::second);
    set(4, 3, CellCode::second);
}

void Board::refreshFrom(const Board& other) {
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            const Cell code = other.at(x, y);
            if (code == CellCode::empty || code == CellCode::first || code == CellCode::second) {
                set(x, y, code);
            }
        }
    }
}

int Board::count(Cell code) const {
    int n = 0;
    for (int x = 0; x < size; ++x) {
        for (int y = 0; y < size; ++y) {
            n += at(x, y) == code ? 1 : 0;
        }
    }
    return n;
}

bool Board::borderIsEmpty() const {
    for (int i = -1; i <= size; ++i) {
        if (at(i, -1) != CellCode::empty || at(i, size) != CellCode::empty ||
            at(-1, i) != CellCode::empty || at(size, i) != CellCode::empty) {
            return false;
        }
    }
    return true;
}

std::optional<Board> boardFromText(std::string_view text) {
    if (text.size() != Board::cellCount) return std::nullopt;
    Board board;
    for (int i = 0; i < Board::cellCount; ++i) {
        const int x = i % Board::size;
        const int y = i / Board::size;
        switch (text[i]) {
            case '.':
                break;
            case 'X':
                board.set(x, y, CellCode::first);
                break;
            case 'O':
                board.set(x, y, CellCode::second);
                break;
            default:
                return std::nullopt;
        }
    }
    return board;
}

std::string boardToText(const Board& board) {
    std::string text;
    for (int y = 0; y < Board::size; ++y) {
        for (int x = 0; x < Board::size; ++x) {
            const Cell code = board.at(x, y);
            text += code == CellCode::first ? 'X' : code == CellCode::second ? 'O' : '.';
        }
    }
    return text;
}

}  // namespace reversi
