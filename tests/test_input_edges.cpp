// The edges of input at the telescope, through the real windows: typed dates in several locales,
// Delete as X11 sends it, Escape back to a valid date, the mouse wheel, the chooser's field,
// caption sizes, oversized print jobs, and buttons pressed without the focus leaving a box.

#include "mainwindow/mainwindow.h"
#include "printout/printout.h"
#include "printout/recordingsurface.h"
#include "sites/locationwindow.h"
#include "sky/civiltime.h"
#include "startup/programmessage.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QScrollBar>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2026, 12, 6), QTime(18, 16, 35), Qt::UTC);

AppState MakeState() {
    AppState s;
    s.sky.clock = std::make_shared<FixedClock>(kNow);
    s.sky.UseNow = true;
    s.store.objects.resize(3);
    for (int i = 0; i < 3; ++i) {
        s.store.objects[i].Catalog = QStringLiteral("M");
        s.store.objects[i].Designation = QStringLiteral("M %1").arg(i + 1);
        s.store.objects[i].Dec = 1.5; // near the pole: always up in the north
    }
    s.store.MessierEnd = s.store.ListedEnd = s.store.SacEnd = s.store.NgcEnd = s.store.IcEnd = 3;
    s.store.ObjectCount = 3;
    s.sites.resize(2);
    s.sites[0].Name = QStringLiteral("Dark site");
    s.sites[1].Name = QStringLiteral("Back yard");
    s.sites[1].Primary = -1;
    SetCurrentSiteIndex(s, 1);
    return s;
}

template <class W> void ShowActive(W& w) {
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}
template <class T = QLineEdit> T* Find(const QWidget& w, const char* name) {
    return w.findChild<T*>(QLatin1String(name));
}
void Key(QWidget* w, Qt::Key key, const QString& text = QString()) {
    QTest::sendKeyEvent(QTest::Press, w, key, text, Qt::NoModifier);
}
// Over the characters from `at`, Delete (with the text X11 gives it) then a digit, one by one.
void TypeOver(QLineEdit* box, int at, const char* digits) {
    box->setCursorPosition(at);
    for (; *digits; ++digits) {
        Key(box, Qt::Key_Delete, QString(QChar(0x7f)));
        Key(box, Qt::Key(*digits), QString(QLatin1Char(*digits)));
    }
}
// Takes out the separator before `at` and presses Escape; true when the text without it was
// refused and the text came back.
bool EscapeRestores(QLineEdit* box, int at) {
    const QString valid = box->text();
    box->setCursorPosition(at);
    Key(box, Qt::Key_Backspace);
    const bool broken = !IsCivilDateTime(box->text());
    Key(box, Qt::Key_Escape, QString(QChar(27)));
    return broken && box->text() == valid;
}
void Wheel(QWidget* w, int delta) {
    const QPointF at(w->rect().center());
    QWheelEvent e(at, w->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, {}, Qt::NoScrollPhase, 0);
    QApplication::sendEvent(w, &e);
}
void Press(QWidget* button) { // as a screen reader does: no focus change, no mouse
    QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
}

// Answers each message box as it comes up (with `answer`, or OK) and notes its title, buttons,
// icon and text; a window of the program opened meanwhile is noted and closed.
struct Boxes : QObject {
    QStringList seen;
    QMessageBox::StandardButton answer = QMessageBox::No;
    QPointer<QWidget> before = QApplication::activeModalWidget(); // left alone
    QTimer timer;
    Boxes() {
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                QAbstractButton* ok = box->button(QMessageBox::Ok);
                seen << QStringLiteral("%1 %2 %3 %4")
                            .arg(box->windowTitle(), ok ? "Ok" : "YesNo")
                            .arg(int(box->icon()))
                            .arg(box->text());
                (box->button(answer) ? box->button(answer) : ok)->click();
            } else if (auto* d = qobject_cast<QDialog*>(modal); d && d != before) {
                auto* editor = qobject_cast<LocationWindow*>(d);
                seen << d->objectName() + (editor ? QString::number(editor->slot()) : QString());
                d->reject();
            }
        });
        timer.start(5);
    }
};

struct MainFixture {
    AppState state = MakeState();
    MainWindow window{state};
    MainFixture() { ShowActive(window); }
};

} // namespace

class TestInputEdges : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void typedDigitsInEveryLocale() {
        const struct {
            const char *locale, *shown;
            int monthAt, hourAt;
            const char* hour; // typed over the hour's digits
        } cases[] = {{"C", "2026-12-06 18:16:35", 5, 11, "20"},
                     {"C.UTF-8", "2026-12-06 18:16:35", 5, 11, "20"},
                     {"en_US", "12/6/2026 6:16:35 PM", 0, 10, "8"},
                     {"en_GB", "06/12/2026 18:16:35", 3, 11, "20"},
                     {"de_DE", "06.12.2026 18:16:35", 3, 11, "20"},
                     {"fr_FR", "06/12/2026 18:16:35", 3, 11, "20"}};
        for (const auto& c : cases) {
            QLocale::setDefault(QLocale(QLatin1String(c.locale)));
            MainFixture f;
            Boxes boxes; // none expected; answered rather than left hanging
            auto* month = Find(f.window, "txtMonth");
            f.state.listSlots[0] = 1;
            Find<QCheckBox>(f.window, "chkNow")->click();
            QVERIFY2(month->text() == QLatin1String(c.shown), qPrintable(month->text()));
            const QString before = f.window.objectRow(0)->text();
            TypeOver(month, c.monthAt, "11");
            TypeOver(month, c.hourAt, c.hour);
            QTest::mouseClick(Find<QPushButton>(f.window, "cmdSet"), Qt::LeftButton);
            const QDateTime typed(QDate(2026, 11, 6), QTime(20, 16, 35), Qt::UTC);
            QVERIFY2(f.state.sky.ObservingTime == typed, c.locale);
            QVERIFY2(month->text() == CivilDateTimeText(typed), c.locale);
            QCOMPARE(Find<QLabel>(f.window, "LblNow")->text(), month->text());
            QVERIFY2(f.window.objectRow(0)->text() != before && boxes.seen.isEmpty(), c.locale);
        }
    }

    void mainWindowTraps() {
        MainFixture f;
        Boxes boxes;
        auto* mag = Find(f.window, "txtDSOMaxMag");
        TypeOver(mag, 0, "9");
        QCOMPARE(mag->text(), QStringLiteral("9.0"));
        auto* month = Find(f.window, "txtMonth");
        Find<QCheckBox>(f.window, "chkNow")->click();
        QVERIFY(EscapeRestores(month, 5)); // the "-" after the year
        // The wheel over controls without the focus changes nothing.
        auto* sites = Find<QComboBox>(f.window, "cmbLoc");
        auto* chooser = Find<QComboBox>(f.window, "cmbDSO");
        auto* bar = Find<QScrollBar>(f.window, "sbDsoMag");
        mag->setFocus();
        const int magnitude = bar->value();
        for (int notch = 0; notch < 3; ++notch)
            for (QWidget* w : QList<QWidget*>{sites, chooser->lineEdit(), bar})
                Wheel(w, notch % 2 ? -120 : 120);
        QCOMPARE(sites->currentIndex(), 1);
        QCOMPARE(f.state.listSlots[0], std::int16_t(0));
        QCOMPARE(bar->value(), magnitude);
        // A pick shows the line from its start.
        chooser->setFocus();
        Key(chooser->lineEdit(), Qt::Key_Down);
        QCOMPARE(f.state.listSlots[0], std::int16_t(1));
        QVERIFY(chooser->currentText().startsWith(QStringLiteral("M 1 ")));
        QCOMPARE(chooser->lineEdit()->cursorPosition(), 0);
        // With the focus the wheel works as before.
        sites->setFocus();
        Wheel(sites, 120);
        QCOMPARE(Find<QLabel>(f.window, "lblLocInfo")->text(), QStringLiteral("Dark site"));
        // Pressed without a click, the print button runs the date box's leave check first.
        month->setFocus();
        month->setText(QStringLiteral("12/"));
        Press(Find<QWidget>(f.window, "Command1"));
        QTest::qWait(200);
        QCOMPARE(boxes.seen, QStringList{ProgramTitle() + " Ok 0 Invalid Date"}); // no Printout
    }

    void captionsShrinkByGroup() {
        const QFont old = QApplication::font();
        QApplication::setFont(QFont(old.family(), 24));
        MainFixture f;
        f.state.sites[1].Name = QString(70, u'W');
        f.window.RunActivationSequence();
        for (const char* group : {"chkMess chkHer chkCal chkBNGC chkSAC chkNGC chkIC chkPlanet",
                                  "chkShowAll chkInView chkNow", "LblNow lblLocInfo lblDSOstats"}) {
            QSet<QString> fonts; // size and stretch
            for (const QString& name : QString::fromLatin1(group).split(u' ')) {
                const QFont font = Find<QWidget>(f.window, qPrintable(name))->font();
                fonts << QStringLiteral("%1/%2").arg(font.pointSizeF()).arg(font.stretch());
                QVERIFY2(font.pointSizeF() < 24, group);
            }
            QVERIFY2(fonts.size() == 1, group);
        }
        QApplication::setFont(old);
    }

    void printJobsOver25SheetsAsk() {
        // One object, 24 steps a page: one sheet per 24 steps of a minute. Printing leaves the
        // observing time fixed.
        const struct {
            int lastStep; // minutes after the start
            QMessageBox::StandardButton answer;
            const char* asked; // the question, after the title, buttons and icon
        } cases[] = {{599, QMessageBox::No, nullptr},
                     {600, QMessageBox::Yes, "YesNo 0 This print-out takes 26 sheets."},
                     {3653 * 1440, QMessageBox::No, "YesNo 0 This print-out takes 219181 sheets."}};
        for (const auto& c : cases) {
            AppState state = MakeState();
            state.listSlots[4] = 2;
            Printout print(state);
            print.setSurfaceFactory(
                [](const PrintTarget&) { return std::make_unique<RecordingSurface>(); });
            print.setPdfFileNameChooser([](QWidget*, const QString&) { return "/none/x.pdf"; });
            ShowActive(print);
            Find<QComboBox>(print, "cboPrinter")->setCurrentText(Printout::PdfEntry);
            Find(print, "txtStop")->setText(CivilDateTimeText(kNow.addSecs(c.lastStep * 60)));
            Find(print, "txtInc")->setText(QStringLiteral("1"));
            Boxes boxes;
            boxes.answer = c.answer;
            QTest::mouseClick(Find<QWidget>(print, "cmdPrint"), Qt::LeftButton);
            QCOMPARE(boxes.seen.size(), c.asked ? 1 : 0);
            if (c.asked) QVERIFY(boxes.seen[0].startsWith(ProgramTitle() + ' ' + c.asked));
            const bool printed = c.answer == QMessageBox::Yes || !c.asked;
            QCOMPARE(state.sky.UseNow, !printed);
            QCOMPARE(print.isVisible(), !printed); // No leaves the dialog open
        }
    }

    void typedSiteNameThatNamesNoSite() {
        // "Location2" is a new, empty site; never the one selected before.
        for (const auto& [typed, opened] :
             {std::pair("Observatory", "Location2"), {"Dark site", "Location0"}}) {
            MainFixture f;
            Boxes boxes;
            Find<QComboBox>(f.window, "cmbLoc")->setEditText(QString::fromLatin1(typed));
            QTest::mouseClick(Find<QPushButton>(f.window, "cmdLocEdit"), Qt::LeftButton);
            QCOMPARE(boxes.seen, QStringList{opened});
            QCOMPARE(f.state.sites.size(), std::size_t(2));
        }
    }

    // Delete in every numeric box, Escape in a time box, and a button pressed with the focus in
    // a box holding a bad value: the real message box, no icon, the window stays.
    void dialogEdges() {
        AppState state = MakeState();
        LocationWindow sites(state);
        Printout print(state);
        QVERIFY(EscapeRestores(Find(print, "txtStop"), 14)); // the ":" after the hour
        const struct {
            QDialog* window;
            const char *boxes, *bad, *badText, *button, *message;
        } cases[] = {
            {&sites, "txtTZ txtN", "txtN", "891", "cmdSave",
             "Invalid horizon.  Must be between 0 and 90."},
            {&print, "txtStart txtStop txtInc", "txtInc", "0", "cmdCancel", "Invalid Increment"}};
        for (const auto& c : cases) {
            for (const QString& name : QString::fromLatin1(c.boxes).split(u' ')) {
                QLineEdit* box = Find(*c.window, qPrintable(name));
                const QString before = box->text();
                TypeOver(box, 0, "9");
                QCOMPARE(box->text(), QLatin1Char('9') + before.mid(1));
            }
            ShowActive(*c.window);
            Boxes boxes;
            Find(*c.window, c.bad)->setFocus();
            Find(*c.window, c.bad)->setText(QLatin1String(c.badText));
            Press(Find<QWidget>(*c.window, c.button));
            QTRY_COMPARE(boxes.seen, QStringList{ProgramTitle() + " Ok 0 " + c.message});
            QVERIFY(c.window->isVisible());
            c.window->close();
        }
        QCOMPARE(state.sites[1].Horizon[0], std::int16_t(0));
    }
};

QTEST_MAIN(TestInputEdges)
#include "test_input_edges.moc"
