// Times the search in the object chooser as the observer meets it: every catalogue ticked, "Show
// All" and "In View Only" off (the longest chooser, about 21,000 lines), fragments typed one key
// at a time into the chooser. Each figure is one keystroke from the key press to the painted list
// of offered lines; the first key after a refill of the chooser also builds the search keys.

#include "everycatalogue.h"
#include "mainwindow/choosersearch.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

double KeystrokeMs(QWidget* target, int key, const QString& text) {
    QElapsedTimer t;
    t.start();
    QKeyEvent press(QEvent::KeyPress, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &press);
    QKeyEvent release(QEvent::KeyRelease, key, Qt::NoModifier, text);
    QApplication::sendEvent(target, &release);
    QApplication::processEvents();
    return t.nsecsElapsed() / 1e6;
}

void PrintKeystrokes(const char* what, const std::vector<double>& ms) {
    std::printf("search keystroke, %-48s %7.3f ms median of %zu, min %.3f, max %.3f\n", what,
                Median(ms), ms.size(), *std::min_element(ms.begin(), ms.end()),
                *std::max_element(ms.begin(), ms.end()));
}

} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    AppState state;
    const std::unique_ptr<MainWindow> opened = OpenWithEveryCatalogue(state);
    if (!opened) return 1;
    MainWindow& window = *opened;
    SetInViewOnly(window, false);
    auto* chooser = window.findChild<QComboBox*>(QStringLiteral("cmbDSO"));
    // Keys go to the combo box, as at the keyboard; it hands them on to its field.
    chooser->setFocus();
    std::printf("chooser lines: %d\n", chooser->count());

    // The parts of a keystroke: building the keys of every line, and matching one fragment.
    QStringList lines;
    for (int i = 0; i < chooser->count(); ++i)
        lines << chooser->itemText(i);
    std::vector<double> build, match;
    for (int i = 0; i < 21; ++i) {
        ChooserLineIndex index;
        QElapsedTimer t;
        t.start();
        index.rebuild(lines);
        build.push_back(t.nsecsElapsed() / 1e6);
        t.restart();
        index.match(QStringLiteral("n"));
        match.push_back(t.nsecsElapsed() / 1e6);
    }
    std::printf("search keys of every line built: %7.3f ms median of 21\n", Median(build));
    std::printf("one-letter fragment matched:     %7.3f ms median of 21\n", Median(match));

    std::vector<double> first, following;
    for (int round = 0; round < 5; ++round) {
        for (const char* word : {"m31", "whirl", "ngc7000", "n", "ic 4", "galaxy in"}) {
            // A refill makes the next key build the search keys afresh.
            window.SelectObjects();
            // What the refill leaves for the event loop is the refill's, not the keystroke's.
            QApplication::processEvents();
            const QString typed = QString::fromLatin1(word);
            for (int i = 0; i < typed.size(); ++i) {
                const QChar c = typed.at(i);
                const int key = c == u' ' ? int(Qt::Key_Space) : int(c.toUpper().unicode());
                (i == 0 ? first : following).push_back(KeystrokeMs(chooser, key, QString(c)));
            }
            KeystrokeMs(chooser, Qt::Key_Escape, QString());
        }
    }
    PrintKeystrokes("first key after a refill (search keys built):", first);
    PrintKeystrokes("further keys:", following);
    std::printf("target: under 15 ms per keystroke\n");
    return 0;
}
