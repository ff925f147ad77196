#include "printout/printout.h"
#include "printout/recordingsurface.h"
#include "sky/civiltime.h"
#include "sky/coordinates.h"

#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QPrinterInfo>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>

namespace {

const QDateTime kNow(QDate(2024, 3, 15), QTime(20, 0), Qt::UTC);

QString Text(int hour, int minute) {
    return CivilDateTimeText(QDateTime(kNow.date(), QTime(hour, minute), Qt::UTC));
}

AppState MakeState(int objects) {
    AppState state;
    state.sky.clock = std::make_shared<FixedClock>(kNow);
    state.sky.UseNow = true;
    for (int i = 0; i < objects; ++i) {
        CatalogObject o;
        o.Designation = QStringLiteral("OBJ %1").arg(i + 1);
        o.RA = (3.0 * i) * PiValue / 180.0;
        state.store.objects.push_back(o);
        state.listSlots[i] = std::int16_t(i + 1);
    }
    return state;
}

// A shown, active window whose messages, PDF-name questions and opened targets are caught.
// With `realPrinter` the real PDF output is used.
struct Harness {
    Harness(AppState& state, bool realPrinter = false) : dialog(state) {
        dialog.setMessageSink([this](QWidget*, const QString& text) { messages << text; });
        if (!realPrinter)
            dialog.setSurfaceFactory([this](const PrintTarget& t) -> std::unique_ptr<PrintSurface> {
                targets.push_back(t);
                return std::make_unique<RecordingSurface>();
            });
        dialog.setPdfFileNameChooser([this](QWidget*, const QString& suggested) {
            suggestions << suggested;
            return chosenFile;
        });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* combo = dialog.findChild<QComboBox*>("cboPrinter");
        combo->setCurrentIndex(combo->findText(Printout::PdfEntry));
    }
    QLineEdit* box(const QString& name) { return dialog.findChild<QLineEdit*>(name); }
    void click(const char* name) {
        QTest::mouseClick(dialog.findChild<QWidget*>(name), Qt::LeftButton);
    }

    Printout dialog;
    QStringList messages, suggestions;
    QString chosenFile = QStringLiteral("/tmp/unused.pdf");
    std::vector<PrintTarget> targets;
};

} // namespace

class TestPrintoutDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void opensWithClockTimesAndPrinters() {
        AppState state = MakeState(1);
        Printout dialog(state);
        QCOMPARE(dialog.windowTitle(), QStringLiteral("Print Over Time"));
        QVERIFY(dialog.isModal());
        QCOMPARE(dialog.findChild<QLineEdit*>("txtStart")->text(), Text(20, 0));
        QCOMPARE(dialog.findChild<QLineEdit*>("txtStop")->text(), Text(23, 0));
        QCOMPARE(dialog.findChild<QLineEdit*>("txtInc")->text(), QStringLiteral("10"));
        auto* combo = dialog.findChild<QComboBox*>("cboPrinter");
        const auto printers = QPrinterInfo::availablePrinters();
        QCOMPARE(combo->count(), int(printers.size()) + 1);
        QCOMPARE(combo->itemText(combo->count() - 1), Printout::PdfEntry);
        if (printers.isEmpty()) QCOMPARE(combo->currentText(), Printout::PdfEntry);
    }

    void keyFilters_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key"); // a character, or Qt::Key_Backspace
        QTest::addColumn<QString>("after");
        const int bs = Qt::Key_Backspace;
        QTest::newRow("start digit") << "txtStart"
                                     << "3/1" << int('5') << "3/15";
        QTest::newRow("start : / blank") << "txtStart"
                                         << "8" << int(':') << "8:";
        QTest::newRow("start letter") << "txtStart"
                                      << "8:00" << int('P') << "8:00";
        QTest::newRow("stop 12, digit") << "txtStop"
                                        << "12" << int('3') << "12";
        QTest::newRow("stop 12, slash") << "txtStop"
                                        << "12" << int('/') << "12/";
        QTest::newRow("stop 12, blank") << "txtStop"
                                        << "12" << int(' ') << "12 ";
        QTest::newRow("stop 12, backspace") << "txtStop"
                                            << "12" << bs << "1";
        QTest::newRow("inc digit") << "txtInc"
                                   << "1" << int('5') << "15";
        QTest::newRow("inc colon") << "txtInc"
                                   << "1" << int(':') << "1";
        QTest::newRow("inc backspace") << "txtInc"
                                       << "15" << bs << "1";
    }
    void keyFilters() {
        QFETCH(QString, box);
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(QString, after);
        AppState state = MakeState(1);
        Harness h(state);
        QLineEdit* edit = h.box(box);
        edit->setFocus();
        edit->setText(before);
        if (key == Qt::Key_Backspace)
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClick(edit, char(key));
        QCOMPARE(edit->text(), after);
    }

    void leaveChecks_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QString>("inc");
        QTest::addColumn<QString>("message"); // empty: the focus moves on
        const QString s = Text(20, 0), later = Text(23, 0);
        QTest::newRow("fine") << "txtStart" << s << later << "10"
                              << "";
        // Letters cannot be typed, so a 24-hour time must read.
        QTest::newRow("typed 24-hour") << "txtStart"
                                       << "3/15/2024 21:30:00" << later << "10"
                                       << "";
        QTest::newRow("bad date") << "txtStart"
                                  << "13/45/2024 20:00" << later << "10"
                                  << "Invalid Date";
        QTest::newRow("bad time") << "txtStop" << s << "3/15/2024 25:00:00"
                                  << "10"
                                  << "Invalid Date";
        QTest::newRow("stop = start") << "txtStop" << s << s << "10"
                                      << "Start must be before stop";
        QTest::newRow("start > stop") << "txtStart" << later << s << "10"
                                      << "Start must be before stop";
        // A bad other box gets its own message when it is left.
        QTest::newRow("other box bad") << "txtStart" << s << "x"
                                       << "10"
                                       << "";
        QTest::newRow("increment 0") << "txtInc" << s << later << "0"
                                     << "Invalid Increment";
        QTest::newRow("increment empty") << "txtInc" << s << later << ""
                                         << "Invalid Increment";
    }
    void leaveChecks() {
        QFETCH(QString, box);
        QFETCH(QString, start);
        QFETCH(QString, stop);
        QFETCH(QString, inc);
        QFETCH(QString, message);
        AppState state = MakeState(1);
        Harness h(state);
        h.box("txtStart")->setText(start);
        h.box("txtStop")->setText(stop);
        h.box("txtInc")->setText(inc);
        QLineEdit* edit = h.box(box);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Tab);
        QCOMPARE(h.messages, message.isEmpty() ? QStringList() : QStringList{message});
        QCOMPARE(h.dialog.focusWidget() == edit, !message.isEmpty());
    }

    void clicksWaitForTheLeaveCheck() {
        for (const char* target : {"cmdPrint", "cmdCancel", "txtStop"}) {
            AppState state = MakeState(1);
            Harness h(state);
            QLineEdit* inc = h.box("txtInc");
            inc->setFocus();
            inc->setText(QStringLiteral("0"));
            h.click(target);
            QCOMPARE(h.messages, QStringList{"Invalid Increment"});
            QCOMPARE(h.dialog.focusWidget(), inc);
            QVERIFY(h.dialog.isVisible() && h.targets.empty() && state.sky.UseNow);
            // Once the box is right, the same click acts.
            inc->setText(QStringLiteral("30"));
            h.click(target);
            QCOMPARE(h.dialog.focusWidget() == h.box("txtStop"), target == QByteArray("txtStop"));
            QCOMPARE(h.dialog.isVisible(), target == QByteArray("txtStop"));
        }
    }

    void pdfChoiceAndEndings() {
        AppState state = MakeState(1);
        { // A cancelled save dialog prints nothing and keeps the window.
            Harness h(state);
            h.chosenFile.clear();
            h.click("cmdPrint");
            QVERIFY(h.targets.empty() && h.dialog.isVisible() && state.sky.UseNow);
        }
        { // The chosen name gets its suffix.
            Harness h(state);
            h.chosenFile = QStringLiteral("/tmp/tonight");
            h.click("cmdPrint");
            QCOMPARE(int(h.targets.size()), 1);
            QCOMPARE(h.targets[0].pdfFile, QStringLiteral("/tmp/tonight.pdf"));
            QCOMPARE(h.dialog.result(), int(QDialog::Accepted));
        }
        { // An empty list: a message, no question, no print, and the window closes.
            state.listSlots.fill(0);
            state.sky.UseNow = true;
            Harness h(state);
            h.click("cmdPrint");
            QCOMPARE(h.messages.size(), 1);
            QVERIFY(h.suggestions.isEmpty() && h.targets.empty() && !h.dialog.isVisible());
            QVERIFY(state.sky.UseNow);
        }
    }

    void realPdfEndToEnd() {
        QTemporaryDir dir;
        AppState state = MakeState(8);
        state.dataDir = dir.path();
        Harness h(state, true);
        h.chosenFile.clear();
        h.dialog.setPdfFileNameChooser(
            [&](QWidget*, const QString& s) { return h.chosenFile = s; });
        h.click("cmdPrint");
        QCOMPARE(h.messages, QStringList());
        QVERIFY(h.chosenFile.startsWith(dir.path() + '/'));
        QVERIFY(h.chosenFile.contains(QLatin1String("2024-03-15")));
        QFile pdf(h.chosenFile);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        // 8 objects over 19 steps: one page set, as many sheets as pages of blocks.
        const int pages = (8 + h.dialog.ObjectsPerPage - 1) / h.dialog.ObjectsPerPage;
        QCOMPARE(int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") +
                     bytes.count("/Type /Page/") + bytes.count("/Type /Page>")),
                 pages);
        QVERIFY(!state.sky.UseNow);
        QCOMPARE(state.sky.ObservingTime, kNow.addSecs(3 * 3600));
    }

    void messageBoxHasTitleAndOk() {
        AppState state = MakeState(1);
        Printout dialog(state);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QString seen;
        QTimer::singleShot(0, [&] {
            if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
                seen = box->windowTitle() + '|' + box->text();
                QCOMPARE(box->standardButtons(), QMessageBox::StandardButtons(QMessageBox::Ok));
                box->accept();
            }
        });
        auto* inc = dialog.findChild<QLineEdit*>("txtInc");
        inc->setFocus();
        inc->clear();
        QTest::keyClick(inc, Qt::Key_Tab);
        QCOMPARE(seen, QStringLiteral("Zenitor|Invalid Increment"));
    }
};

QTEST_MAIN(TestPrintoutDialog)
#include "test_printout_dialog.moc"
