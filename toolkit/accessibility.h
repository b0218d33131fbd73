#pragma once

#include <QAccessible>
#include <QLabel>
#include <QString>

// How the program's windows and controls present themselves to assistive technologies (a screen
// reader, through Qt's AT-SPI bridge on Linux) where Qt's own presentation falls short. Qt makes
// an accessible object only when one is asked for, which happens only while an assistive
// technology runs: without one, none of this does any work.
namespace reversi::accessibility {

// Installs the program's accessible objects; call once the application exists, before the
// windows are shown (a second call changes nothing). From then on every top-level window of the
// program is a window named by its caption (a dialog when it is shown modally) instead of an
// unnamed filler, and every clickable label (ClickableLabel) a push button whose press action
// clicks it.
void install();

// Has the accessible object of `widget` made anew, for what it has become since Qt made one: Qt
// makes it as soon as a constructor sets a text, for the class the widget then has, and keeps it.
void renew(QWidget* widget);

// Presents `widget`, which Qt knows only as a plain widget, in `role`: a picture as a graphic.
void presentAs(QWidget* widget, QAccessible::Role role);

// Makes `label` a label that shows a number belonging to something it does not say itself, a
// side's disc count or clock: while it shows a whole number a screen reader finds it under
// `name` ("Red clock") with the number as its value (298) and its description; while it shows
// words (a result such as "lose!") it is named by them. Calling it again only renames it.
// An OpaqueLabel tells the screen reader of every new caption; for a plain QLabel call
// textChanged() after setText().
void nameValueLabel(QLabel* label, const QString& name);

// Tells an assistive technology that a label made by nameValueLabel() shows a new text; nothing
// for another label, or while none runs.
void textChanged(QLabel* label);

// Says texts to a screen reader as they happen, where the keyboard is not (a move's outcome, the
// computer's answer): each is a notification that appears. It shows nothing on the screen.
class Announcer : public QWidget {
  public:
    explicit Announcer(QWidget* parent);

    // Says `text` now, while an assistive technology runs.
    void say(const QString& text);
};

}  // namespace reversi::accessibility
