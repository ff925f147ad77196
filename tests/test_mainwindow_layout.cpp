// The main window's controls: places, texts, tooltips, initial states and the rows' font.

#include "test_mainwindow_fixture.h"

#include "objectlist/objectrows.h"
#include "startup/twips.h"

#include <QFontInfo>
#include <QFontMetrics>

class TestMainWindowLayout : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }
    void controlsAtTheirPlaces_data();
    void controlsAtTheirPlaces();
    void initialStates();
    void objectRows();
};

void TestMainWindowLayout::controlsAtTheirPlaces_data() {
    QTest::addColumn<QString>("name");
    QTest::addColumn<QRect>("twips");
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("tip");
    auto row = [](const char* name, int l, int t, int w, int h, const char* text, const char* tip) {
        QTest::newRow(name) << QString::fromLatin1(name) << QRect(l, t, w, h)
                            << QString::fromLatin1(text) << QString::fromLatin1(tip);
    };
    row("txtMonth", 120, 120, 2175, 360, "", "");
    row("Label2", 2760, 120, 1335, 255, "To Magnitude:", "");
    row("txtDSOMaxMag", 4200, 120, 615, 360, "8.0", "Limiting Magnitude");
    row("sbDsoMag", 4800, 120, 255, 375, "", "");
    row("chkShowAll", 5160, 120, 1095, 375, "Show All", "");
    row("chkInView", 6720, 120, 1335, 375, "In View Only", "Above horizons or all objects.");
    row("cmbLoc", 8520, 120, 3375, 360, "", "Location selection tool.");
    row("chkNow", 120, 600, 855, 375, "Now", "Real-time selector");
    row("cmdSet", 1080, 600, 735, 375, "Set", "Press to apply time keyed above.");
    row("cmbDSO", 2040, 600, 6255, 360, "", "Object selection tool.");
    row("cmdLocEdit", 8520, 600, 1695, 375, "Location Editor",
        "Press to edit the selected location.");
    row("cmdNewLoc", 10320, 600, 1575, 375, "New Location", "Press to create a new location.");
    row("Label1", 1560, 1200, 9975, 300,
        "Object     Type    Altitude    Azimuth   Mag  Name/Comment", "");
    row("chkMess", 120, 1440, 1335, 375, "Messier", "Messier catalog selector");
    row("chkHer", 120, 1920, 1335, 375, "Herschel 400", "Herschel catalog selector");
    row("chkCal", 120, 2400, 1335, 375, "Caldwell", "Herschel catalog selector");
    row("chkBNGC", 120, 2880, 1335, 375, "Best NGC", "Herschel catalog selector");
    row("chkSAC", 120, 3360, 1335, 375, "SAC dateset", "Herschel catalog selector");
    row("chkNGC", 120, 3840, 1335, 375, "NGC", "NGC catalog selector");
    row("chkIC", 120, 4320, 1335, 375, "IC", "IC catalog selector");
    row("chkPlanet", 120, 4800, 1335, 375, "Planets", "Not Implemented.");
    row("cmdGuide", 120, 6600, 1335, 375, "Guide Stars", "");
    row("Command1", 120, 7080, 1335, 735, "Print Objects Over Time",
        "Product printou of the selected objects.");
    row("LblNow", 0, 8160, 3735, 375, "Date & Time", "");
    row("lblLocInfo", 3840, 8160, 3135, 375, "Location Information", "");
    row("lblDSOstats", 7080, 8160, 4935, 375, "X of X object selectable", "");
}

void TestMainWindowLayout::controlsAtTheirPlaces() {
    QFETCH(QString, name);
    QFETCH(QRect, twips);
    QFETCH(QString, text);
    QFETCH(QString, tip);
    WindowFixture f(false); // before the first activation fills anything in
    QWidget* w = f.window->findChild<QWidget*>(name);
    QVERIFY(w);
    QCOMPARE(w->geometry(),
             TwipsRect(f.window.get(), twips.x(), twips.y(), twips.width(), twips.height()));
    QCOMPARE(w->toolTip(), tip);
    QString shown;
    if (auto* l = qobject_cast<QLabel*>(w))
        shown = l->text();
    else if (auto* b = qobject_cast<QAbstractButton*>(w))
        shown = b->text();
    else if (auto* e = qobject_cast<QLineEdit*>(w))
        shown = e->text();
    else if (auto* c = qobject_cast<QComboBox*>(w))
        shown = c->currentText();
    QCOMPARE(shown, text);
}

void TestMainWindowLayout::initialStates() {
    WindowFixture f(false);
    QCOMPARE(f.window->windowTitle(), QStringLiteral("Zenitor Ver:  0.0.1 B"));
    QCOMPARE(f.window->size(), TwipsRect(f.window.get(), 0, 0, 12000, 8535).size());
    QVERIFY(!f.get<QLineEdit>("txtMonth")->isEnabled());
    auto* sb = f.get<QScrollBar>("sbDsoMag");
    QCOMPARE(sb->orientation(), Qt::Vertical);
    QCOMPARE(sb->minimum(), 0);
    QCOMPARE(sb->maximum(), 200);
    QCOMPARE(sb->value(), 80);
    const std::pair<const char*, bool> boxes[] = {
        {"chkShowAll", false}, {"chkInView", true}, {"chkNow", true},    {"chkMess", true},
        {"chkHer", false},     {"chkCal", false},   {"chkBNGC", false},  {"chkSAC", false},
        {"chkNGC", false},     {"chkIC", false},    {"chkPlanet", false}};
    for (const auto& [name, checked] : boxes)
        QVERIFY2(f.get<QCheckBox>(name)->isChecked() == checked, name);
    QVERIFY(f.get<QComboBox>("cmbLoc")->isEditable());
    QVERIFY(f.get<QComboBox>("cmbDSO")->isEditable());
    QCOMPARE(f.get<QLabel>("lblLocInfo")->property("index").toInt(), 1);

    auto* t1 = f.get<QTimer>("Timer1");
    auto* t2 = f.get<QTimer>("Timer2");
    QCOMPARE(t1->interval(), 15000);
    QCOMPARE(t2->interval(), 60000);
    QCOMPARE(f.window->SelectionAge(), std::int16_t(0));
    QVERIFY(!f.window->GuideMode());
    // The timers run from the first showing.
    QVERIFY(!t1->isActive());
    f.window->show();
    QVERIFY(t1->isActive());
    QVERIFY(t2->isActive());
}

void TestMainWindowLayout::objectRows() {
    WindowFixture f(false);
    const QList<QLabel*> rows = f.window->findChildren<QLabel*>(QStringLiteral("lblObjList"));
    QCOMPARE(rows.size(), 22);
    for (int i = 0; i < 22; ++i) {
        QLabel* row = f.window->objectRow(i);
        QCOMPARE(row->property("index").toInt(), i);
        QCOMPARE(row->geometry(), TwipsRect(f.window.get(), 1560, 1485 + 300 * i, 10450, 300));
        QCOMPARE(row->toolTip(), QStringLiteral("Click on this to clear item."));
        QVERIFY(row->text().isEmpty());
        QCOMPARE(row->font(), f.get<QLabel>("Label1")->font());
        // Rows alternate between two backgrounds.
        const QColor mine = row->palette().color(QPalette::Window);
        const QColor next = f.window->objectRow((i + 1) % 22)->palette().color(QPalette::Window);
        QVERIFY(row->autoFillBackground());
        QVERIFY(mine != next);
    }
    // The columns line up only in a font whose characters are all equally wide, the degree sign
    // included.
    const QFont font = rows.first()->font();
    QVERIFY(font.bold());
    QCOMPARE(QFontInfo(font).pointSize(), 12);
    const QFontMetrics m(font);
    const QString header = ObjectListHeader();
    const QString sample =
        QStringLiteral("M 31/NGC 224 GX   45\u00B0 30.0'   12\u00B0 21.0'  3.4 x");
    QCOMPARE(m.horizontalAdvance(header.left(sample.size())), m.horizontalAdvance(sample));
}

QTEST_MAIN(TestMainWindowLayout)
#include "test_mainwindow_layout.moc"
