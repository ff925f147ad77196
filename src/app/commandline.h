#pragma once

#include <QString>
#include <QStringList>
#include <optional>

// What the command line asks of a run that opens the windows.
struct CommandLineOptions {
    bool reset = false; // --reset: start as on a first start, forgetting the remembered choices
};

// The outcome of reading the command line. Either the program goes on with `options`, or it
// prints `out` to standard output and `error` to standard error and ends with `exitCode`
// (--help and --version: 0; an unknown option, an option without its value or an unexpected
// argument: 2).
struct CommandLine {
    std::optional<CommandLineOptions> options;
    int exitCode = 0;
    QString out;
    QString error;
};

// Reads the program's arguments (the first one is the program's path) before any application
// object exists, so that --help, --version and a mistyped option answer without a display. Qt's
// own options (-platform, -style and the like) are accepted and left to the application object.
CommandLine ReadCommandLine(const QStringList& arguments);
