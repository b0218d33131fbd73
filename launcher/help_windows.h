#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "program_fonts.h"
#include "widgets.h"

namespace reversi {

// The help window: questions and answers in a two-column grid, in Ukrainian.
class HelpWindow : public ModalWindow {
  public:
    static constexpr int rowCount = 15;

    explicit HelpWindow(const ProgramFonts& fonts);

    // The text of a cell of the help grid.
    static QString cellText(int row, int column);

    QTableWidget* grid;
    QPushButton* closeButton;

  private:
    void fillGrid();
};

// The info window with the two version texts.
class InfoWindow : public ModalWindow {
  public:
    explicit InfoWindow(const ProgramFonts& fonts);

    QPushButton* okButton;
    QLabel* versionLabel;
    QLabel* engineVersionLabel;
};

}  // namespace reversi
