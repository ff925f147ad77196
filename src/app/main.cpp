#include "app/commandline.h"
#include "app/datafolders.h"
#include "app/startup.h"
#include "kit/nightvision.h"
#include "kit/programmessage.h"
#include "state/appstate.h"
#include "state/remembering.h"

#include <QApplication>
#include <QMessageBox>
#include <cstdio>
#include <vector>

namespace {

QStringList Arguments(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i)
        arguments << QString::fromLocal8Bit(argv[i]);
    return arguments;
}

void Print(std::FILE* stream, const QString& text) {
    const QByteArray bytes = text.toLocal8Bit();
    std::fwrite(bytes.constData(), 1, static_cast<size_t>(bytes.size()), stream);
}

} // namespace

int main(int argc, char** argv) {
    // The name gives the user's data folder and the window class; the desktop file name ties the
    // windows to the installed menu entry and icon.
    QCoreApplication::setApplicationName(QStringLiteral("zenitor"));
    QCoreApplication::setApplicationVersion(QStringLiteral(ZENITOR_VERSION));

    // Read before the application object exists: --help, --version and a wrong option answer
    // without opening a window or needing a display.
    CommandLine commandLine;
    {
        // The help text names the program from an application object; a core one needs no
        // display. It gets copies, as it takes out the arguments it reads itself.
        int count = argc;
        std::vector<char*> copy(argv, argv + argc + 1);
        QCoreApplication reader(count, copy.data());
        commandLine = ReadCommandLine(Arguments(argc, argv));
    }
    if (!commandLine.options) {
        Print(stdout, commandLine.out);
        Print(stderr, commandLine.error);
        return commandLine.exitCode;
    }

    QApplication app(argc, argv);
    QGuiApplication::setDesktopFileName(QStringLiteral("org.example.zenitor"));
    InstallNightVision();
    AppState state;
    UseProgramDataFolders(state);
    // --reset: a first start, and the remembered choices forgotten for the next one too.
    if (commandLine.options->reset) ForgetRememberedChoices(state);

    QString error;
    if (!RunStartup(state, &error)) {
        QMessageBox box(QMessageBox::Critical, ProgramTitle(),
                        QStringLiteral("Zenitor cannot start.\n\n%1").arg(error));
        FitMessageBoxToTitle(box);
        box.exec();
        return 1;
    }
    return app.exec();
}
