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
#include <QScrollBar>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2026, 12, 6), QTime(18, 16, 35), Qt::UTC);

AppState MakeState() {
    AppState s;
    s.sky.clock = std::make_shared<FixedClock>(kNow);
    s.sky.UseNow = true;
    for (int i = 0; i < 3; ++i) {
        CatalogObject o;
        o.Catalog = QStringLiteral("M");
        o.Designation = QStringLiteral("M %1").arg(i + 1);
        o.Dec = 1.5; // near the pole: always up in the north
        o.Mag = 5;
        s.store.objects.push_back(o);
    }
    s.store.MessierEnd = s.store.ListedEnd = s.store.SacEnd = s.store.NgcEnd = s.store.IcEnd = 3;
    s.store.ObjectCount = 3;
    for (const char* name : {"Dark site", "Back yard"}) {
        SiteLocation site;
        site.LatDeg = 45;
        site.Name = QString::fromLatin1(name);
        s.sites.push_back(site);
    }
    s.sites[1].Primary = -1;
    SetCurrentSiteIndex(s, 1);
    return s;
}

template <class W> void ShowActive(W& w) {
    w.show();
    w.activateWindow();
    QVERIFY(QTest::qWaitForWindowActive(&w));
}

template <class T> T* Find(const QWidget& w, const char* name) {
    return w.findChild<T*>(QLatin1String(name));
}

void Key(QWidget* w, Qt::Key key, const QString& text = QString()) {
    QTest::sendKeyEvent(QTest::Press, w, key, text, Qt::NoModifier);
}
void Delete(QWidget* w) {
    Key(w, Qt::Key_Delete, QString(QChar(0x7f)));
} // as X11 sends it

void Wheel(QWidget* w, int delta) {
    const QPointF at = QPointF(w->rect().center());
    QWheelEvent e(at, w->mapToGlobal(at), QPoint(), QPoint(0, delta), Qt::NoButton, Qt::NoModifier,
                  Qt::NoScrollPhase, false);
    QApplication::sendEvent(w, &e);
}

// Answers every message box as it comes up with `answer` (or its only button) and notes it;
// the modal windows named in `close` are rejected and noted by class name.
struct Boxes : QObject {
    QStringList texts;
    QList<QMessageBox::Icon> icons;
    QStringList titles, dialogs;
    QMessageBox::StandardButton answer = QMessageBox::No;
    std::function<void(QDialog*)> onDialog = [](QDialog* d) { d->reject(); };
    QTimer timer;
    Boxes() {
        connect(&timer, &QTimer::timeout, this, [this] {
            QWidget* modal = QApplication::activeModalWidget();
            if (auto* box = qobject_cast<QMessageBox*>(modal)) {
                texts << box->text();
                icons << box->icon();
                titles << box->windowTitle() + (box->button(QMessageBox::Ok) ? " Ok" : " YesNo");
                (box->button(answer) ? box->button(answer) : box->button(QMessageBox::Ok))->click();
            } else if (auto* d = qobject_cast<QDialog*>(modal)) {
                dialogs << d->metaObject()->className();
                onDialog(d);
            }
        });
        timer.start(5);
    }
};

struct MainFixture {
    AppState state = MakeState();
    MainWindow window{state};
    MainFixture() { ShowActive(window); }
    template <class T> T* get(const char* name) const { return Find<T>(window, name); }
};

void Press(QWidget* button) { // as a screen reader does: no focus change, no mouse
    QAccessible::queryAccessibleInterface(button)->actionInterface()->doAction(
        QAccessibleActionInterface::pressAction());
}

} // namespace

class TestInputEdges : public QObject {
    Q_OBJECT
private slots:
    void init() { QLocale::setDefault(QLocale::c()); }

    void typedDateInEveryLocale_data() {
        QTest::addColumn<QString>("locale");
        QTest::addColumn<QString>("shown");
        QTest::addColumn<int>("monthAt");
        QTest::addColumn<int>("hourAt");
        QTest::addColumn<QString>("hour"); // typed over the hour's digits
        QTest::newRow("C") << "C"
                           << "2026-12-06 18:16:35" << 5 << 11 << "20";
        QTest::newRow("C.UTF-8") << "C.UTF-8"
                                 << "2026-12-06 18:16:35" << 5 << 11 << "20";
        QTest::newRow("en_US") << "en_US"
                               << "12/6/2026 6:16:35 PM" << 0 << 10 << "8";
        QTest::newRow("en_GB") << "en_GB"
                               << "06/12/2026 18:16:35" << 3 << 11 << "20";
        QTest::newRow("de_DE") << "de_DE"
                               << "06.12.2026 18:16:35" << 3 << 11 << "20";
        QTest::newRow("fr_FR") << "fr_FR"
                               << "06/12/2026 18:16:35" << 3 << 11 << "20";
    }
    void typedDateInEveryLocale() {
        QFETCH(QString, locale);
        QFETCH(QString, shown);
        QFETCH(int, monthAt);
        QFETCH(int, hourAt);
        QFETCH(QString, hour);
        QLocale::setDefault(QLocale(locale));
        MainFixture f;
        Boxes boxes; // none expected; answered rather than left hanging
        auto* month = f.get<QLineEdit>("txtMonth");
        f.state.listSlots[0] = 1;
        f.get<QCheckBox>("chkNow")->click();
        QCOMPARE(month->text(), shown);
        const QString before = f.window.objectRow(0)->text();
        // Digits changed in place: Delete (with X11's text) then digits, month and hour.
        for (const auto& [at, digits] :
             {std::pair(monthAt, QStringLiteral("11")), {hourAt, hour}}) {
            month->setCursorPosition(at);
            for (const QChar c : digits) {
                Delete(month);
                Key(month, Qt::Key(c.unicode()), c);
            }
        }
        QTest::mouseClick(f.get<QPushButton>("cmdSet"), Qt::LeftButton);
        const QDateTime typed(QDate(2026, 11, 6), QTime(20, 16, 35), Qt::UTC);
        QCOMPARE(f.state.sky.ObservingTime, typed);
        QCOMPARE(month->text(), CivilDateTimeText(typed));
        QCOMPARE(Find<QLabel>(f.window, "LblNow")->text(), month->text());
        QVERIFY(f.window.objectRow(0)->text() != before);
        QVERIFY(boxes.texts.isEmpty());
    }

    void deletePassesEveryNumericBox() {
        MainFixture f;
        Printout print(f.state);
        LocationWindow sites(f.state);
        const QList<QLineEdit*> boxes = {
            f.get<QLineEdit>("txtDSOMaxMag"),  Find<QLineEdit>(print, "txtStart"),
            Find<QLineEdit>(print, "txtStop"), Find<QLineEdit>(print, "txtInc"),
            Find<QLineEdit>(sites, "txtTZ"),   Find<QLineEdit>(sites, "txtN")};
        for (QLineEdit* box : boxes) {
            box->setText(QStringLiteral("12"));
            box->setCursorPosition(0);
            Delete(box);
            QCOMPARE(box->text(), QStringLiteral("2"));
        }
    }

    void escapePutsBackTheLastValidDate() {
        MainFixture f;
        f.get<QCheckBox>("chkNow")->click();
        Printout print(f.state);
        for (QLineEdit* box : {f.get<QLineEdit>("txtMonth"), Find<QLineEdit>(print, "txtStop")}) {
            if (box->window() == &print) ShowActive(print);
            const QString valid = box->text();
            box->setCursorPosition(14);  // just after the first ":"
            Key(box, Qt::Key_Backspace); // a separator gone by mistake
            QVERIFY(!IsCivilDateTime(box->text()));
            Key(box, Qt::Key_Escape, QString(QChar(27)));
            QCOMPARE(box->text(), valid);
        }
        QVERIFY(print.isVisible());
    }

    void wheelNeedsTheFocus() {
        MainFixture f;
        auto* sites = f.get<QComboBox>("cmbLoc");
        auto* chooser = f.get<QComboBox>("cmbDSO");
        auto* mag = f.get<QScrollBar>("sbDsoMag");
        f.get<QLineEdit>("txtDSOMaxMag")->setFocus();
        for (int notch = 0; notch < 3; ++notch)
            for (QWidget* w : QList<QWidget*>{sites, chooser->lineEdit(), mag})
                Wheel(w, notch % 2 ? -120 : 120);
        QCOMPARE(sites->currentIndex(), 1);
        QCOMPARE(f.state.listSlots[0], std::int16_t(0));
        QCOMPARE(mag->value(), 80);
        sites->setFocus();
        Wheel(sites, 120);
        QCOMPARE(sites->currentIndex(), 0);
        QCOMPARE(Find<QLabel>(f.window, "lblLocInfo")->text(), QStringLiteral("Dark site"));
    }

    void pickedLineShowsFromItsStart() {
        MainFixture f;
        auto* chooser = f.get<QComboBox>("cmbDSO");
        chooser->setFocus();
        Key(chooser->lineEdit(), Qt::Key_Down);
        QCOMPARE(f.state.listSlots[0], std::int16_t(1));
        QVERIFY(chooser->currentText().startsWith(QStringLiteral("M 1 ")));
        QCOMPARE(chooser->lineEdit()->cursorPosition(), 0);
    }

    void captionsShrinkByGroup() {
        const QFont old = QApplication::font();
        QApplication::setFont(QFont(old.family(), 24));
        MainFixture f;
        f.state.sites[1].Name = QString(70, u'W');
        f.window.RunActivationSequence();
        const QList<QStringList> groups = {
            {"chkMess", "chkHer", "chkCal", "chkBNGC", "chkSAC", "chkNGC", "chkIC", "chkPlanet"},
            {"chkShowAll", "chkInView", "chkNow"},
            {"LblNow", "lblLocInfo", "lblDSOstats"}};
        for (const QStringList& group : groups) {
            const QFont first = f.window.findChild<QWidget*>(group[0])->font();
            QVERIFY2(first.pointSizeF() < 24, qPrintable(group[0]));
            for (const QString& name : group) {
                const QFont font = f.window.findChild<QWidget*>(name)->font();
                QVERIFY2(font.pointSizeF() == first.pointSizeF() &&
                             font.stretch() == first.stretch(),
                         qPrintable(name));
            }
        }
        QApplication::setFont(old);
    }

    void printJobsBeyond25SheetsAsk_data() {
        QTest::addColumn<int>("lastStep"); // minutes after the start, one object, 24 steps a page
        QTest::addColumn<QMessageBox::StandardButton>("answer");
        QTest::addColumn<QString>("asked");
        QTest::addColumn<int>("sheets");
        QTest::newRow("25 sheets") << 599 << QMessageBox::No << "" << 25;
        QTest::newRow("26, yes") << 600 << QMessageBox::Yes << "26" << 26;
        QTest::newRow("ten years, no") << 3653 * 1440 << QMessageBox::No << "219181" << 0;
    }
    void printJobsBeyond25SheetsAsk() {
        QFETCH(int, lastStep);
        QFETCH(QMessageBox::StandardButton, answer);
        QFETCH(QString, asked);
        QFETCH(int, sheets);
        AppState state = MakeState();
        state.listSlots[4] = 2;
        Printout print(state);
        int printed = 0;
        struct Counting : RecordingSurface {
            int* out;
            ~Counting() override { *out = sheetCount(); }
        };
        print.setSurfaceFactory([&](const PrintTarget&) {
            auto s = std::make_unique<Counting>();
            s->out = &printed;
            return s;
        });
        ShowActive(print);
        Find<QComboBox>(print, "cboPrinter")->setCurrentText(Printout::PdfEntry);
        print.setPdfFileNameChooser([](QWidget*, const QString&) { return "/nowhere/chart.pdf"; });
        Find<QLineEdit>(print, "txtStop")->setText(CivilDateTimeText(kNow.addSecs(lastStep * 60)));
        Find<QLineEdit>(print, "txtInc")->setText(QStringLiteral("1"));
        Boxes boxes;
        boxes.answer = answer;
        QTest::mouseClick(Find<QWidget>(print, "cmdPrint"), Qt::LeftButton);
        QCOMPARE(printed, sheets);
        QCOMPARE(boxes.texts.size(), asked.isEmpty() ? 0 : 1);
        if (!asked.isEmpty()) {
            QVERIFY(boxes.texts[0].contains(asked + QStringLiteral(" sheets")));
            QCOMPARE(boxes.titles[0], ProgramTitle() + " YesNo");
            QCOMPARE(boxes.icons[0], QMessageBox::NoIcon);
        }
        QCOMPARE(print.isVisible(), sheets == 0); // No leaves the dialog open
    }

    void printMessagesHaveNoIcon() {
        AppState state = MakeState();
        Printout print(state);
        ShowActive(print);
        auto* inc = Find<QLineEdit>(print, "txtInc");
        inc->setFocus();
        inc->setText(QStringLiteral("0"));
        Boxes boxes;
        Key(inc, Qt::Key_Tab);
        QTRY_COMPARE(boxes.texts, QStringList{"Invalid Increment"});
        QCOMPARE(boxes.titles[0], ProgramTitle() + " Ok");
        QCOMPARE(boxes.icons[0], QMessageBox::NoIcon);
    }

    void typedSiteNameThatNamesNoSite() {
        for (const auto& [typed, slot] : {std::pair("Observatory", 2), {"Dark site", 0}}) {
            MainFixture f;
            int opened = -1;
            Boxes boxes;
            boxes.onDialog = [&](QDialog* d) {
                if (auto* editor = qobject_cast<LocationWindow*>(d)) opened = editor->slot();
                d->reject();
            };
            f.get<QComboBox>("cmbLoc")->setEditText(QString::fromLatin1(typed));
            QTest::mouseClick(f.get<QPushButton>("cmdLocEdit"), Qt::LeftButton);
            QCOMPARE(opened, slot); // 2: a new, empty site; never the one selected before
            QCOMPARE(f.state.sites.size(), std::size_t(2));
        }
    }

    void pressWithoutFocusRunsTheLeaveCheck() {
        AppState state = MakeState();
        LocationWindow sites(state);
        QStringList asked;
        sites.ask = [&](const QString& text, const QString&, LocationWindow::Buttons) {
            asked << text;
            return LocationWindow::Answer::Ok;
        };
        ShowActive(sites);
        Find<QLineEdit>(sites, "txtN")->setFocus();
        Find<QLineEdit>(sites, "txtN")->setText(QStringLiteral("891"));
        Press(Find<QWidget>(sites, "cmdSave"));
        QTRY_COMPARE(asked, QStringList{"Invalid horizon.  Must be between 0 and 90."});
        QCOMPARE(state.sites[1].Horizon[0], std::int16_t(0));
        QVERIFY(sites.isVisible());
        sites.close();

        MainFixture f;
        f.get<QCheckBox>("chkNow")->click();
        f.get<QLineEdit>("txtMonth")->setFocus();
        f.get<QLineEdit>("txtMonth")->setText(QStringLiteral("12/"));
        Boxes boxes;
        Press(f.get<QWidget>("Command1"));
        QTRY_COMPARE(boxes.texts, QStringList{"Invalid Date"});
        QTest::qWait(50);
        QVERIFY(boxes.dialogs.isEmpty()); // the print dialog did not open
    }
};

QTEST_MAIN(TestInputEdges)
#include "test_input_edges.moc"
