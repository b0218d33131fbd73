#pragma once

#include <QString>
#include <QStringList>

namespace reversi {

// What the command line asks for: to play, or only to print something and end with a status.
struct CommandLine {
    bool play = true;
    int exitStatus = 0;  // when not playing: 0 after --help or --version, 2 for a usage error
    QString output;      // to print: standard output for status 0, standard error otherwise
};

// Reads the arguments, the program's name first: --help (-h), --version (-v), and the options
// Qt's own windowing reads (-platform, -style, …), which are passed on to it. Anything else is a
// usage error.
CommandLine readCommandLine(const QStringList& arguments);

}  // namespace reversi
