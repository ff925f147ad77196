#include "printout/printout.h"
#include "printout/recordingsurface.h"
#include "sky/civiltime.h"
#include "sky/coordinates.h"
#include "sky/skytime.h"

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

QDateTime At(int hour, int minute) {
    return QDateTime(kNow.date(), QTime(hour, minute), Qt::UTC);
}

QString Text(const QDateTime& t) {
    return CivilDateTimeText(t);
}

AppState MakeState(int objects) {
    AppState state;
    state.sky.clock = std::make_shared<FixedClock>(kNow);
    state.sky.UseNow = true;
    for (int i = 0; i < objects; ++i) {
        CatalogObject o;
        o.Designation = QStringLiteral("OBJ %1").arg(i + 1);
        o.RA = (3.0 * i) * PiValue / 180.0;
        o.Dec = DegToRad(20.0);
        o.Mag = 7.5;
        state.store.objects.push_back(o);
        state.listSlots[i] = std::int16_t(i + 1);
    }
    SetObserverPosition(state.sky, DegToRad(40.0), DegToRad(-105.0));
    return state;
}

// A dialog shown and active, with its messages and print targets caught.
struct Harness {
    explicit Harness(AppState& state) : dialog(state) {
        dialog.setMessageSink([this](QWidget*, const QString& text) { messages << text; });
        dialog.setSurfaceFactory(
            [this](const PrintTarget& target) -> std::unique_ptr<PrintSurface> {
                targets.push_back(target);
                auto surface = std::make_unique<RecordingSurface>();
                recorded = surface.get();
                return surface;
            });
        dialog.setPdfFileNameChooser([this](QWidget*, const QString& suggested) {
            suggestions << suggested;
            return chosenFile;
        });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
    }
    template <typename T> T* child(const char* name) {
        return dialog.findChild<T*>(QLatin1String(name));
    }
    QLineEdit* box(const char* name) { return child<QLineEdit>(name); }
    void usePdf(const QString& file) {
        auto* combo = child<QComboBox>("cboPrinter");
        combo->setCurrentIndex(combo->findText(Printout::PdfEntry));
        chosenFile = file;
    }

    Printout dialog;
    QStringList messages;
    QStringList suggestions;
    QString chosenFile;
    std::vector<PrintTarget> targets;
    RecordingSurface* recorded = nullptr;
};

} // namespace

class TestPrintoutDialog : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void opensWithClockTimesAndPrinters() {
        AppState state = MakeState(1);
        Harness h(state);
        QCOMPARE(h.dialog.windowTitle(), QStringLiteral("Print Over Time"));
        QVERIFY(h.dialog.isModal());
        QCOMPARE(h.box("txtStart")->text(), Text(kNow));
        QCOMPARE(h.box("txtStop")->text(), Text(kNow.addSecs(3 * 3600)));
        QCOMPARE(h.box("txtInc")->text(), QStringLiteral("10"));
        auto* combo = h.child<QComboBox>("cboPrinter");
        const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
        QCOMPARE(combo->count(), int(printers.size()) + 1);
        QCOMPARE(combo->itemText(combo->count() - 1), Printout::PdfEntry);
        if (printers.isEmpty()) QCOMPARE(combo->currentText(), Printout::PdfEntry);
        for (const char* name : {"cmdPrint", "cmdCancel"})
            QVERIFY(h.child<QPushButton>(name));
        // What the window writes, it reads back.
        QVERIFY(ParseCivilDateTime(h.box("txtStart")->text()).has_value());
    }

    void keyFilters_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("before");
        QTest::addColumn<int>("key"); // a character, or a Qt::Key for non-character keys
        QTest::addColumn<QString>("after");
        const int backspace = Qt::Key_Backspace;
        QTest::newRow("start digit") << "txtStart"
                                     << "3/1" << int('5') << "3/15";
        QTest::newRow("start slash") << "txtStart"
                                     << "3" << int('/') << "3/";
        QTest::newRow("start colon") << "txtStart"
                                     << "8" << int(':') << "8:";
        QTest::newRow("start blank") << "txtStart"
                                     << "2024" << int(' ') << "2024 ";
        QTest::newRow("start letter") << "txtStart"
                                      << "8:00" << int('P') << "8:00";
        QTest::newRow("start dot") << "txtStart"
                                   << "3" << int('.') << "3";
        QTest::newRow("start backspace") << "txtStart"
                                         << "3/" << backspace << "3";
        QTest::newRow("stop 12 refuses digit") << "txtStop"
                                               << "12" << int('3') << "12";
        QTest::newRow("stop 12 takes slash") << "txtStop"
                                             << "12" << int('/') << "12/";
        QTest::newRow("stop 12 takes blank") << "txtStop"
                                             << "12" << int(' ') << "12 ";
        QTest::newRow("stop 12 takes backspace") << "txtStop"
                                                 << "12" << backspace << "1";
        QTest::newRow("stop 1 takes digit") << "txtStop"
                                            << "1" << int('2') << "12";
        QTest::newRow("stop 3 chars takes digit") << "txtStop"
                                                  << "12/" << int('1') << "12/1";
        QTest::newRow("stop letter") << "txtStop"
                                     << "" << int('a') << "";
        QTest::newRow("inc digit") << "txtInc"
                                   << "1" << int('5') << "15";
        QTest::newRow("inc colon") << "txtInc"
                                   << "1" << int(':') << "1";
        QTest::newRow("inc blank") << "txtInc"
                                   << "1" << int(' ') << "1";
        QTest::newRow("inc minus") << "txtInc"
                                   << "1" << int('-') << "1";
        QTest::newRow("inc backspace") << "txtInc"
                                       << "15" << backspace << "1";
    }
    void keyFilters() {
        QFETCH(QString, box);
        QFETCH(QString, before);
        QFETCH(int, key);
        QFETCH(QString, after);
        AppState state = MakeState(1);
        Harness h(state);
        QLineEdit* edit = h.box(box.toLatin1().constData());
        edit->setFocus();
        edit->setText(before);
        if (key == Qt::Key_Backspace)
            QTest::keyClick(edit, Qt::Key_Backspace);
        else
            QTest::keyClick(edit, char(key));
        QCOMPARE(edit->text(), after);
        QVERIFY(h.messages.isEmpty());
    }

    void leaveChecks_data() {
        QTest::addColumn<QString>("box");
        QTest::addColumn<QString>("start");
        QTest::addColumn<QString>("stop");
        QTest::addColumn<QString>("inc");
        QTest::addColumn<QString>("message"); // empty: the focus moves on
        const QString s = Text(At(20, 0));
        const QString later = Text(At(23, 0));
        QTest::newRow("start fine") << "txtStart" << s << later << "10"
                                    << "";
        // Letters cannot be typed, so a 24-hour time must read too.
        QTest::newRow("start typed 24-hour") << "txtStart"
                                             << "3/15/2024 21:30:00" << later << "10"
                                             << "";
        QTest::newRow("start not a date") << "txtStart"
                                          << "13/45/2024 20:00:00" << later << "10"
                                          << "Invalid Date";
        QTest::newRow("start empty") << "txtStart"
                                     << "" << later << "10"
                                     << "Invalid Date";
        QTest::newRow("stop not a date") << "txtStop" << s << "3/15/2024 25:00:00"
                                         << "10"
                                         << "Invalid Date";
        QTest::newRow("stop equals start") << "txtStop" << s << s << "10"
                                           << "Start must be before stop";
        QTest::newRow("start after stop") << "txtStart" << later << s << "10"
                                          << "Start must be before stop";
        QTest::newRow("one second apart") << "txtStop" << s << Text(At(20, 0).addSecs(1)) << "10"
                                          << "";
        // A bad other box does not hold up this one; it is checked when it is left.
        QTest::newRow("stop bad, leaving start") << "txtStart" << s << "x"
                                                 << "10"
                                                 << "";
        QTest::newRow("increment 0") << "txtInc" << s << later << "0"
                                     << "Invalid Increment";
        QTest::newRow("increment empty") << "txtInc" << s << later << ""
                                         << "Invalid Increment";
        QTest::newRow("increment 000") << "txtInc" << s << later << "000"
                                       << "Invalid Increment";
        QTest::newRow("increment 1") << "txtInc" << s << later << "1"
                                     << "";
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
        QLineEdit* edit = h.box(box.toLatin1().constData());
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_Tab);
        if (message.isEmpty()) {
            QVERIFY(h.messages.isEmpty());
            QVERIFY(h.dialog.focusWidget() != edit);
        } else {
            QCOMPARE(h.messages, QStringList{message});
            QCOMPARE(h.dialog.focusWidget(), edit);
        }
    }

    void clickedButtonDoesNotActAfterRefusal() {
        for (const char* button : {"cmdPrint", "cmdCancel"}) {
            AppState state = MakeState(1);
            Harness h(state);
            h.usePdf(QStringLiteral("/tmp/unused.pdf"));
            QLineEdit* inc = h.box("txtInc");
            inc->setFocus();
            inc->setText(QStringLiteral("0"));
            QTest::mouseClick(h.child<QPushButton>(button), Qt::LeftButton);
            QCOMPARE(h.messages, QStringList{"Invalid Increment"});
            QCOMPARE(h.dialog.focusWidget(), inc);
            QVERIFY2(h.dialog.isVisible(), button);
            QVERIFY(h.targets.empty());
            QVERIFY(h.suggestions.isEmpty());
            QVERIFY(state.sky.UseNow);

            // Once fixed, the same click acts.
            inc->setText(QStringLiteral("30"));
            QTest::mouseClick(h.child<QPushButton>(button), Qt::LeftButton);
            QVERIFY(!h.dialog.isVisible());
            QCOMPARE(h.dialog.result(),
                     int(button == QByteArray("cmdPrint") ? QDialog::Accepted : QDialog::Rejected));
        }
    }

    void clickOnAnotherBoxIsRefusedToo() {
        AppState state = MakeState(1);
        Harness h(state);
        QLineEdit* start = h.box("txtStart");
        start->setFocus();
        start->setText(QStringLiteral("99/99/2024"));
        QTest::mouseClick(h.box("txtInc"), Qt::LeftButton);
        QCOMPARE(h.messages, QStringList{"Invalid Date"});
        QCOMPARE(h.dialog.focusWidget(), start);
        start->setText(Text(At(21, 0)));
        QTest::mouseClick(h.box("txtInc"), Qt::LeftButton);
        QCOMPARE(h.dialog.focusWidget(), h.box("txtInc"));
    }

    void printsToChosenPdfNameAndCloses() {
        QTemporaryDir dir;
        AppState state = MakeState(3);
        state.dataDir = dir.path();
        Harness h(state);
        h.box("txtStart")->setText(Text(At(20, 0)));
        h.box("txtStop")->setText(Text(At(21, 0)));
        h.usePdf(dir.filePath(QStringLiteral("tonight")));
        QTest::mouseClick(h.child<QPushButton>("cmdPrint"), Qt::LeftButton);
        QCOMPARE(h.messages, QStringList{});
        QCOMPARE(h.suggestions.size(), 1);
        QVERIFY(h.suggestions[0].startsWith(dir.path() + QLatin1Char('/')));
        QVERIFY(h.suggestions[0].contains(QLatin1String("2024-03-15")));
        QVERIFY(h.suggestions[0].endsWith(QLatin1String(".pdf")));
        QCOMPARE(int(h.targets.size()), 1);
        QCOMPARE(h.targets[0].pdfFile, dir.filePath(QStringLiteral("tonight.pdf")));
        QCOMPARE(h.dialog.result(), int(QDialog::Accepted));
        QCOMPARE(int(h.dialog.ObjectsPerPage), 6);
        QCOMPARE(int(h.dialog.StepsPerPage), 24);
        QVERIFY(!state.sky.UseNow);
        QCOMPARE(state.sky.ObservingTime, At(21, 0));
    }

    void cancelledSaveDialogPrintsNothing() {
        AppState state = MakeState(1);
        Harness h(state);
        h.usePdf(QString());
        QTest::mouseClick(h.child<QPushButton>("cmdPrint"), Qt::LeftButton);
        QCOMPARE(h.suggestions.size(), 1);
        QVERIFY(h.targets.empty());
        QVERIFY(h.dialog.isVisible());
        QVERIFY(state.sky.UseNow);
    }

    void emptyListEndsWithMessage() {
        AppState state = MakeState(0);
        Harness h(state);
        h.usePdf(QStringLiteral("/tmp/unused.pdf"));
        QTest::mouseClick(h.child<QPushButton>("cmdPrint"), Qt::LeftButton);
        QCOMPARE(h.messages.size(), 1);
        QVERIFY(h.suggestions.isEmpty());
        QVERIFY(h.targets.empty());
        QVERIFY(!h.dialog.isVisible());
        QVERIFY(state.sky.UseNow);
    }

    void realPdfEndToEnd() {
        QTemporaryDir dir;
        AppState state = MakeState(8);
        state.dataDir = dir.path();
        Printout dialog(state);
        QString suggested;
        dialog.setPdfFileNameChooser([&](QWidget*, const QString& s) { return suggested = s; });
        dialog.setMessageSink([](QWidget*, const QString& text) { QFAIL(qPrintable(text)); });
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        auto* combo = dialog.findChild<QComboBox*>(QStringLiteral("cboPrinter"));
        combo->setCurrentIndex(combo->findText(Printout::PdfEntry));
        dialog.findChild<QLineEdit*>(QStringLiteral("txtStop"))->setText(Text(At(23, 0)));
        QTest::mouseClick(dialog.findChild<QPushButton*>(QStringLiteral("cmdPrint")),
                          Qt::LeftButton);
        QFile pdf(suggested);
        QVERIFY2(pdf.open(QIODevice::ReadOnly), qPrintable(suggested));
        const QByteArray bytes = pdf.readAll();
        QVERIFY(bytes.startsWith("%PDF"));
        // 8 objects over 19 steps: one page set, as many sheets as block pages.
        const int pages = (8 + dialog.ObjectsPerPage - 1) / dialog.ObjectsPerPage;
        const int found = int(bytes.count("/Type /Page\n") + bytes.count("/Type /Page ") +
                              bytes.count("/Type /Page/") + bytes.count("/Type /Page>"));
        QCOMPARE(found, pages);
        QCOMPARE(state.sky.ObservingTime, At(23, 0));
    }

    void realMessageBoxHasTitleAndOk() {
        AppState state = MakeState(1);
        Printout dialog(state);
        dialog.show();
        QVERIFY(QTest::qWaitForWindowActive(&dialog));
        QString title;
        QMessageBox::StandardButtons buttons;
        QTimer::singleShot(0, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            if (!box) return;
            title = box->windowTitle();
            buttons = box->standardButtons();
            box->accept();
        });
        auto* inc = dialog.findChild<QLineEdit*>(QStringLiteral("txtInc"));
        inc->setFocus();
        inc->setText(QString());
        QTest::keyClick(inc, Qt::Key_Tab);
        QCOMPARE(title, QStringLiteral("Zenitor"));
        QCOMPARE(buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
};

QTEST_MAIN(TestPrintoutDialog)
#include "test_printout_dialog.moc"
