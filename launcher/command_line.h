#pragma once

#include <QString>
#include <QStringList>

namespace reversi {

// What the command line asks for: to play, or only to print something and end with a status.
struct CommandLine {
    bool play = true;
    int exitStatus = 0;  // when not playing: 0 after --help or --version, 2 for a usage error
    QString output;      // to print: standard output for status 0, standard error otherwise
    // When playing: the arguments for Qt, the program's name first, then each of its options in
    // the one form Qt reads, "-display" and its value apart ("--display=:99" becomes "-display",
    // ":99").
    QStringList toolkitArguments;
};

// Reads the arguments, the program's name first: --help (-h), --version (-v), and the options
// Qt's own windowing reads (-platform, -style, …), which are passed on to it, also when written
// with two dashes or with "=" before the value. Anything else is a usage error.
CommandLine readCommandLine(const QStringList& arguments);

}  // namespace reversi
