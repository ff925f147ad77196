// Typing into the object chooser with every bundled catalogue ticked offers the matching lines
// and picks through the chooser's own path; Ctrl+N turns every window red on black and back.

#include "mainwindow/choosersearch.h"
#include "mainwindow/mainwindow.h"
#include "sites/locationwindow.h"
#include "startup/loadingwindow.h"
#include "startup/nightvision.h"
#include "startup/startup.h"
#include "support/testdata.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QMessageBox>
#include <QTest>
#include <QTimer>
#include <memory>

// Pixels that are neither black nor a red: white, grey, blue, green.
static int NotRedPixels(QWidget* w) {
    const QImage image = w->grab().toImage();
    int count = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            count += qGreen(image.pixel(x, y)) > 0x40 || qBlue(image.pixel(x, y)) > 0x40;
    return count;
}

class SearchAndNightVision : public QObject {
    Q_OBJECT
    AppState state_;
    std::unique_ptr<MainWindow> window_;
    QComboBox* chooser_ = nullptr;
    QLineEdit* field_ = nullptr;
    ChooserSearch* search_ = nullptr;

    QVector<int> entriesHolding(QString typed) const {
        QVector<int> entries;
        for (int i = 0; i < chooser_->count(); ++i)
            if (chooser_->itemText(i).toUpper().remove(' ').contains(typed.toUpper().remove(' ')))
                entries << i;
        return entries;
    }
    std::int16_t slotOf(int entry) const { // what a pick of chooser entry `entry` stores
        const auto& all = state_.store.objects;
        for (size_t k = 0; k < all.size(); ++k)
            if (all[k].ListPos == entry + 1) return std::int16_t(k + 1);
        return -1;
    }

private slots:
    void initTestCase() {
        InstallNightVision();
        state_.dataDir = sourceDataDir();
        QString error;
        LoadingWindow* loading = RunStartup(state_, &error);
        QVERIFY2(loading, qPrintable(error));
        loading->hide();
        window_ = std::make_unique<MainWindow>(state_);
        window_->show();
        QVERIFY(QTest::qWaitForWindowExposed(window_.get()));
        for (QCheckBox* box : window_->findChildren<QCheckBox*>())
            if (box->isChecked() != (box->objectName() != "chkInView")) box->click();
        chooser_ = window_->findChild<QComboBox*>("cmbDSO");
        field_ = chooser_->lineEdit();
        search_ = chooser_->findChild<ChooserSearch*>();
        QVERIFY(search_ && chooser_->count() > 20000);
    }
    // Keys go to the combo box, as at the keyboard: it holds the focus and hands them on.
    void cleanup() { QTest::keyClick(chooser_, Qt::Key_Escape), field_->clear(); }

    void typingOffersMatchingLinesAndEscapeOrClearingLeavesAllAsItWas() {
        const ListSlots taken = state_.listSlots;
        const int current = chooser_->currentIndex(), pos = state_.store.objects[100].ListPos;
        const char* const cases[][2] = {{"m31", "M 31/"},           {"M 31", "M 31/"},
                                        {"whirl", "M 51/"},         {"ngc7000", "NGC 7000 "},
                                        {"aNDroMEDA gAL", "M 31/"}, {"Ic 434", "IC 434 "}};
        for (const auto& [typed, designation] : cases) {
            QTest::keyClicks(chooser_, typed);
            QVERIFY2(search_->popup()->isVisible(), typed);
            QCOMPARE(search_->offered(), entriesHolding(typed));
            bool named = false;
            for (const int entry : search_->offered())
                named |= chooser_->itemText(entry).startsWith(designation);
            QVERIFY2(named, typed);
            // One key back widens the offer again.
            QTest::keyClick(chooser_, Qt::Key_Backspace);
            QCOMPARE(search_->offered(), entriesHolding(QString(typed).chopped(1)));
            QTest::keyClick(chooser_, Qt::Key_Escape);
            QVERIFY(field_->text().isEmpty() && !search_->popup()->isVisible());
        }
        QTest::keyClicks(chooser_, "m");
        QTest::keyClick(chooser_, Qt::Key_Backspace);
        QVERIFY(!search_->popup()->isVisible());
        QTest::keyClick(chooser_, Qt::Key_Return);
        QVERIFY(state_.listSlots == taken);
        QCOMPARE(chooser_->currentIndex(), current);
        QCOMPARE(state_.store.objects[100].ListPos, pos);
    }

    void enterAndClickPickIntoTheFirstFreeRow() {
        state_.listSlots = {1, 0, 2}; // rows 0 and 2 taken
        QTest::keyClicks(chooser_, "ngc 70");
        QTest::keyClick(chooser_, Qt::Key_Down);
        const int second = search_->offered().at(1);
        QTest::keyClick(chooser_, Qt::Key_Return);
        QCOMPARE(state_.listSlots[1], slotOf(second));
        QVERIFY(window_->objectRow(1)->text().startsWith(chooser_->itemText(second).left(8)));
        QVERIFY(!search_->popup()->isVisible());
        // Escape after a pick puts back the picked line.
        const QString picked = field_->text();
        QTest::keyClicks(chooser_, "x");
        QTest::keyClick(chooser_, Qt::Key_Escape);
        QCOMPARE(field_->text(), picked);

        field_->clear();
        QTest::keyClicks(chooser_, "whirlpool");
        const int first = search_->offered().at(0);
        QListView* list = search_->popup();
        // The list lays its lines out in batches from the event loop.
        QTRY_VERIFY(list->visualRect(list->model()->index(0, 0)).isValid());
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {},
                          list->visualRect(list->model()->index(0, 0)).center());
        QCOMPARE(state_.listSlots[3], slotOf(first));
    }

    void nightKeyReachesEveryWindowAndSwitchesBack() {
        const QPalette dayRow = window_->objectRow(0)->palette();
        QTest::keyClick(window_.get(), Qt::Key_N, Qt::ControlModifier);
        QVERIFY(NightVisionOn());
        QCOMPARE(NotRedPixels(window_.get()), 0);
        const QColor even = window_->objectRow(0)->palette().color(QPalette::Window);
        const QColor odd = window_->objectRow(1)->palette().color(QPalette::Window);
        QVERIFY(even != odd && even.red() < 0x60 && odd.red() < 0x60);
        QTest::keyClicks(chooser_, "ngc");
        QCOMPARE(NotRedPixels(search_->popup()), 0);

        int boxPixels = -1;
        QTimer::singleShot(0, this, [&] {
            auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
            boxPixels = box ? NotRedPixels(box) : -1;
            if (box) box->accept();
        });
        QMessageBox::warning(window_.get(), "Zenitor", "A message with an icon.");
        QCOMPARE(boxPixels, 0);
        LocationWindow editor(state_, window_.get());
        editor.show();
        QCOMPARE(NotRedPixels(&editor), 0);

        QTest::keyClick(&editor, Qt::Key_N, Qt::ControlModifier);
        QVERIFY(!NightVisionOn());
        QCOMPARE(window_->objectRow(0)->palette(), dayRow);
    }
};

QTEST_MAIN(SearchAndNightVision)
#include "test_search_nightvision.moc"
