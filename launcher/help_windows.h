#pragma once

#include <QLabel>
#include <QPushButton>
#include <QTableWidget>

#include "program_fonts.h"
#include "widgets.h"

namespace reversi {

// The top-left fixed cell of a grid whose first row and column are its headers, drawn as a
// header cell.
class GridCorner : public QWidget {
  public:
    GridCorner(const QString& text, QTableView* grid);

    QString text() const { return text_; }
    // Over the grid's own corner, as large as its headers.
    void placeOverCorner();

  protected:
    void paintEvent(QPaintEvent* event) override;

  private:
    QString text_;
};

// The help window: questions and answers in a two-column grid, in Ukrainian. The grid's first
// row and first column are fixed cells: they stay in place while the rest scrolls, and they
// cannot be selected. They are the grid's headers, so the grid itself holds only the answers,
// rows 1 to 14 of column 1. The grid and the button are made when the window first shows, so a
// run that never opens the help spends no memory on them.
class HelpWindow : public ModalWindow {
  public:
    static constexpr int rowCount = 15;

    explicit HelpWindow(const ProgramFonts& fonts);

    // The text of a cell of the help grid, fixed cells included.
    static QString cellText(int row, int column);

    void setVisible(bool visible) override;

  protected:
    void layoutScaled() override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    // The grid and the button, placed for the layout's own scale.
    void makeControls();
    void fillGrid();
    // The grid within the window's inner area, so that its scroll bars always show, and "X"
    // inside its right edge.
    void fitGridAndButton();

    const ProgramFonts& fonts_;
    QTableWidget* grid_ = nullptr;
    GridCorner* gridCorner_ = nullptr;
    QPushButton* closeButton_ = nullptr;
};

// The info window with the two version texts.
class InfoWindow : public ModalWindow {
  public:
    explicit InfoWindow(const ProgramFonts& fonts);

  private:
    QPushButton* okButton_;
    QLabel* versionLabel_;
    QLabel* engineVersionLabel_;
};

}  // namespace reversi
