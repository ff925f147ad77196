#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>

namespace {

// The options QGuiApplication and QApplication read from the command line themselves. They are
// accepted here and left to the application object; only --help-all lists them.
struct QtOption {
    const char* name;
    const char* valueName; // nullptr: a switch
    const char* description;
};
constexpr QtOption QtOptions[] = {
    {"platform", "name", "Qt platform plugin, as QT_QPA_PLATFORM (xcb, wayland, offscreen)."},
    {"platformpluginpath", "path", "Folder of the Qt platform plugins."},
    {"platformtheme", "name", "Qt platform theme."},
    {"plugin", "name", "Additional Qt plugin to load."},
    {"qmljsdebugger", "value", "QML/JavaScript debugger settings."},
    {"qwindowgeometry", "geometry", "Geometry of the first window."},
    {"qwindowicon", "icon", "Icon of the windows."},
    {"qwindowtitle", "title", "Title of the first window."},
    {"session", "id", "Session to restore."},
    {"display", "name", "X display to use."},
    {"geometry", "geometry", "Geometry of the first window (X11)."},
    {"style", "name", "Qt widget style, such as Fusion."},
    {"stylesheet", "file", "Qt style sheet for the windows."},
    {"reverse", nullptr, "Lay the windows out from right to left."},
    {"widgetcount", nullptr, "Print the number of widgets left at the end."},
};

// The parser of the program's options; with listQtOptions, Qt's options are in its help text.
void SetUp(QCommandLineParser& parser, bool listQtOptions) {
    // Qt's options are written with one dash (-platform xcb), so a one-dash word is a long option,
    // as it is for Qt.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        QStringLiteral("Tells the altitude and azimuth to set an Alt/Az (Dobsonian) telescope to\n"
                       "for the deep-sky objects, the Moon and the planets you pick."));
    parser.addHelpOption(); // -h, --help and --help-all
    parser.addVersionOption();
    parser.addOption({QStringLiteral("reset"),
                      QStringLiteral("Start afresh: forget the remembered catalogue boxes, limit, "
                                     "picked rows, night display, print choices and window "
                                     "places.")});
    for (const QtOption& qt : QtOptions) {
        QCommandLineOption option(QLatin1String(qt.name), QLatin1String(qt.description));
        if (qt.valueName) option.setValueName(QLatin1String(qt.valueName));
        if (!listQtOptions) option.setFlags(QCommandLineOption::HiddenFromHelp);
        parser.addOption(option);
    }
}

CommandLine Refuse(const QString& reason) {
    const QString program = QCoreApplication::applicationName();
    CommandLine result;
    result.exitCode = 2;
    result.error =
        QStringLiteral("%1: %2\nTry '%1 --help' for the options.\n").arg(program, reason);
    return result;
}

} // namespace

CommandLine ReadCommandLine(const QStringList& arguments) {
    QCommandLineParser parser;
    SetUp(parser, false);
    if (!parser.parse(arguments)) return Refuse(parser.errorText());

    CommandLine result;
    if (parser.isSet(QStringLiteral("help-all"))) {
        QCommandLineParser all;
        SetUp(all, true);
        result.out = all.helpText();
    } else if (parser.isSet(QStringLiteral("help"))) {
        result.out = parser.helpText();
    } else if (parser.isSet(QStringLiteral("version"))) {
        result.out = QCoreApplication::applicationName() + ' ' +
                     QCoreApplication::applicationVersion() + '\n';
    } else if (!parser.positionalArguments().isEmpty()) {
        return Refuse(QStringLiteral("Unexpected argument '%1'.")
                          .arg(parser.positionalArguments().constFirst()));
    } else {
        result.options = CommandLineOptions{parser.isSet(QStringLiteral("reset"))};
    }
    return result;
}
