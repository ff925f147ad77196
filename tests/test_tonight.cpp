// The Tonight window: what it shows, how it follows the main window, and its print-out.

#include "printout/openprintout.h"
#include "sky/horizon.h"
#include "sky/skytime.h"
#include "support/windows.h"
#include "tonight/opentonight.h"
#include "tonight/tonightwindow.h"

#include <QtTest>
#include <QtWidgets>

namespace {

// A Pennsylvania dark-sky site in December (standard time), its trees 5 to 8 degrees high, with
// M 31, M 42 and Jupiter picked, at 21:00 on 2026-12-10.
struct DecemberNight {
    AppState state;
    DecemberNight() {
        state.store.objects = {MakeObject("M", "M 31", 0.7123, 41.269, 3.4),
                               MakeObject("M", "M 42", 5.5883, -5.39, 4.0)};
        AppendBodyRecords(state.store); // the Moon and the planets follow, in Body order
        SetObserverPosition(state.sky, DegToRad(41 + 39.0 / 60 + 46.0 / 3600),
                            -DegToRad(77 + 49.0 / 60 + 24.0 / 3600));
        SetSiteClock(state.sky, -5, false);
        BuildHorizonProfile(state.horizon, {8, 6, 5, 5, 6, 8, 8, 8});
        state.listSlots[0] = 1, state.listSlots[1] = 2;
        state.listSlots[2] = std::int16_t(BodySlot(Body::Jupiter) + 1);
        SetObservingTime(state.sky, CivilTime({2026, 12, 10}, {21, 0}));
    }
    static int BodySlot(Body body) { return 2 + int(body); }
};

QStringList Column(const QTableWidget* table, int column) {
    QStringList texts;
    for (int row = 0; row < table->rowCount(); ++row)
        texts << (table->item(row, column) ? table->item(row, column)->text() : QString());
    return texts;
}

} // namespace

class TestTonight : public QObject {
    Q_OBJECT
private slots:
    void showsTheNightAndEachPick() {
        DecemberNight fixture;
        TonightWindow window(fixture.state);
        window.show();
        QVERIFY(QTest::qWaitForWindowExposed(&window));
        QCOMPARE(window.windowTitle(), QStringLiteral("Tonight"));

        const auto* night = window.findChild<QTableWidget*>("tblNight");
        QCOMPARE(Column(night, 0),
                 QStringList({"Sunset", "Civil twilight ends", "Nautical twilight ends",
                              "Astronomical twilight ends", "Astronomical twilight begins",
                              "Nautical twilight begins", "Civil twilight begins", "Sunrise",
                              "Moonrise", "Moonset", "Moon", "Dark without the Moon"}));
        // Times in the time box's own form, in time order through the night.
        const QStringList times = Column(night, 1);
        QVERIFY2(
            times[0].startsWith(CivilDateTimeText(CivilTime({2026, 12, 10}, {16, 0})).left(10)),
            qPrintable(times[0]));
        for (int i = 0; i < 7; ++i)
            QVERIFY2(*ParseCivilDateTime(times[i]) < *ParseCivilDateTime(times[i + 1]),
                     qPrintable(times[i] + " / " + times[i + 1]));
        QVERIFY(times[10].contains(QRegularExpression("^\\d+% lit, (waxing|waning)$")));

        const auto* objects = window.findChild<QTableWidget*>("tblObjects");
        QCOMPARE(Column(objects, 0), QStringList({"M 31", "M 42", "Jupiter"}));
        for (int row = 0; row < 3; ++row) {
            const QString highest = objects->item(row, 3)->text();
            QVERIFY2(highest.contains(
                         QRegularExpression(", +\\d+\u00b0 [\\d.]+', (N|NE|E|SE|S|SW|W|NW)$")),
                     qPrintable(highest));
        }
        // M 31 sets in the small hours; M 42 culminates due south after midnight.
        QVERIFY(objects->item(1, 3)->text().endsWith(", S"));
        QVERIFY(ParseCivilDateTime(objects->item(0, 2)->text()));

        auto* plot = window.findChild<NightPlot*>("plotNight");
        QVERIFY(plot);
        QCOMPARE(plot->drawnPaths(), 3);
        // Resized small and large the plot still draws.
        for (QSize size : {QSize(500, 380), QSize(1400, 1000)}) {
            window.resize(size);
            QVERIFY(!plot->grab().isNull());
        }
        if (qEnvironmentVariableIsSet("SHOT")) window.grab().save(qEnvironmentVariable("SHOT"));
    }

    void followsSiteInstantAndRows() {
        DecemberNight fixture;
        AppState& state = fixture.state;
        TonightWindow window(state);
        window.show();
        const auto* objects = window.findChild<QTableWidget*>("tblObjects");
        const auto sunset = [&] {
            return window.findChild<QTableWidget*>("tblNight")->item(0, 1)->text();
        };
        const QString first = sunset();

        QVERIFY(!window.Refresh()); // nothing changed: nothing computed
        state.sky.ObservingTime = CivilTime({2026, 12, 11}, {3, 0});
        QVERIFY(!window.Refresh()); // later the same night
        QCOMPARE(sunset(), first);
        state.sky.ObservingTime = CivilTime({2026, 12, 11}, {9, 0});
        QVERIFY(window.Refresh()); // after sunrise: the next night
        QVERIFY(sunset() != first);

        state.sky.Precise = true; // the apparent places move M 31's setting by seconds
        const QString setting = objects->item(0, 2)->text();
        QVERIFY(window.Refresh());
        QVERIFY(objects->item(0, 2)->text() != setting);

        state.listSlots[1] = 0;
        RefreshTonightWindow(&window);
        QCOMPARE(Column(objects, 0), QStringList({"M 31", "Jupiter"}));

        SetObserverPosition(state.sky, DegToRad(78.2), DegToRad(15.6)); // Svalbard: polar night
        SetSiteClock(state.sky, 1, false);
        RefreshTonightWindow(&window);
        QCOMPARE(sunset(), QStringLiteral("none"));
        QVERIFY(window.findChild<QLabel*>("lblNightSummary")->text().contains("polar night"));
    }

    void opensFromTheMainWindow() {
        WindowFixture f;
        QVERIFY(f.active);
        QTest::keyClick(f.window.get(), Qt::Key_T, Qt::ControlModifier);
        auto* tonight = f.window->findChild<QWidget*>("Tonight");
        QVERIFY(tonight && tonight->isVisible());
        auto* objects = tonight->findChild<QTableWidget*>("tblObjects");
        QCOMPARE(objects->rowCount(), 0);
        tonight->hide();

        f.click("cmdTonight"); // the button shows the same window again
        QCOMPARE(f.window->findChildren<TonightWindow*>().size(), 1);
        QVERIFY(tonight->isVisible());
        f.choose("cmbDSO", 0); // a pick reaches the open window at once
        QCOMPARE(objects->rowCount(), 1);
        emit qobject_cast<ObjectRowLabel*>(f.window->objectRow(0))->clicked(0);
        QCOMPARE(objects->rowCount(), 0);
    }

    void printsOnePageToPdf() {
        DecemberNight fixture;
        QTemporaryDir folder;
        fixture.state.dataDir = folder.path();
        TonightWindow window(fixture.state);
        PagePrint page;
        page.suggestedFileName = QStringLiteral("tonight.pdf");
        page.paint = [&](QPainter& painter, const QRectF& area) {
            window.PrintPage(painter, area);
        };
        QString offered;
        page.chooseFile = [&](QWidget*, const QString& suggested) { return offered = suggested; };
        page.showMessage = [](QWidget*, const QString& text) { QFAIL(qPrintable(text)); };
        fixture.state.remembered.printer = QStringLiteral("PDF file");
        QVERIFY(PrintOnePage(fixture.state, &window, page));
        QCOMPARE(offered, QDir(folder.path()).filePath("tonight.pdf"));

        QFile pdf(offered);
        QVERIFY(pdf.open(QIODevice::ReadOnly));
        const QByteArray bytes = pdf.readAll();
        QCOMPARE(bytes.count("/Type /Page\n") + bytes.count("/Type /Page\r") +
                     bytes.count("/Type /Page>") + bytes.count("/Type /Page "),
                 1);

        // A file that cannot be written is told, not printed.
        page.chooseFile = [&](QWidget*, const QString&) { return folder.filePath("none/x.pdf"); };
        QString told;
        page.showMessage = [&](QWidget*, const QString& text) { told = text; };
        QVERIFY(!PrintOnePage(fixture.state, &window, page));
        QVERIFY(told.contains("cannot be written"));
    }
};

QTEST_MAIN(TestTonight)
#include "test_tonight.moc"
