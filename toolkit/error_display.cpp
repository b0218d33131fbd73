#include "error_display.h"

#include <QApplication>
#include <QMessageBox>

namespace reversi {
namespace {
ErrorPresenter& presenter() {
    static ErrorPresenter instance;
    return instance;
}
}  // namespace

void showError(const QString& text) {
    if (presenter()) {
        presenter()(text);
        return;
    }
    QMessageBox::critical(QApplication::activeWindow(), QStringLiteral("Reversi"), text);
}

ErrorPresenter setErrorPresenter(ErrorPresenter replacement) {
    return std::exchange(presenter(), std::move(replacement));
}

}  // namespace reversi
