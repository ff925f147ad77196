// Bad input through the real windows. Every text box of the main window, the location editor and
// the print dialog gets refused keys, pastes of long, binary and broken text, input-method text,
// empty and out-of-range values, and is then left by Tab, by a click on another control and by
// the window's buttons. Throughout, a box's message shows exactly when its value is refused, the
// focus then stays in the box and the click that tried to leave does nothing, and the sites, the
// sky state, the picked objects and the locations file stay as they were.

#include "test_mainwindow_fixture.h"

#include "printout/printout.h"
#include "printout/recordingsurface.h"
#include "sites/locationsfile.h"
#include "sites/locationwindow.h"
#include "sky/civiltime.h"
#include "support/locationsdir.h"

#include <QClipboard>
#include <QInputMethodEvent>
#include <QRegularExpression>

namespace {

const QByteArray kSites = "Zenitor sites\r\n"
                          "\r\n"
                          "45 30 0 -122 -40 -15 -8 Y 0 0 0 10 10 0 0 0 Y Back yard\r\n"
                          "0 -30 0 0 -7 -30 2 N 5 6 7 8 9 10 11 12 N Dark field\r\n";
const QDateTime kPrintNow(QDate(2024, 3, 15), QTime(20, 0), Qt::UTC);

// --- what goes into a box ----------------------------------------------------------------------

enum class Way { Key, CtrlV, ShiftInsert, MiddleClick, InputMethod };

struct Feed {
    QString name;
    Way way;
    QString text;
    int key = Qt::Key_unknown;
    Qt::KeyboardModifiers modifiers = Qt::NoModifier;
};

QString Units(std::initializer_list<char16_t> units) {
    return QString(reinterpret_cast<const QChar*>(units.begin()), qsizetype(units.size()));
}

QList<QPair<QString, QString>> PastedTexts() {
    return {
        {"a digit", "5"},
        {"10000 digits", QString(10000, u'9')},
        {"10000 letters", QString(10000, u'x')},
        {"NUL CR LF tab", QString::fromLatin1("1\0 2\r\n3\t4", 9)},
        {"lone high surrogate", Units({u'1', 0xD800})},
        {"swapped surrogates", Units({0xDC00, 0xD800, u'2'})},
        {"invalid UTF-8", QString::fromUtf8("\xed\xa0\x80\xff\xfe"
                                            "5")},
    };
}

// Nothing here may reach a filtered box: the filters take single digits and a few separators
// typed one at a time, and no pasting.
QList<Feed> BadFeeds() {
    QList<Feed> feeds = {
        {"letter", Way::Key, "x", Qt::Key_X},
        {"capital M", Way::Key, "M", Qt::Key_M, Qt::ShiftModifier},
        {"exponent e", Way::Key, "e", Qt::Key_E},
        {"plus", Way::Key, "+", Qt::Key_Plus},
        {"comma", Way::Key, ",", Qt::Key_Comma},
        {"point", Way::Key, ".", Qt::Key_Period},
        {"minus", Way::Key, "-", Qt::Key_Minus},
        {"Alt+x", Way::Key, "x", Qt::Key_X, Qt::AltModifier},
        {"AltGr+q", Way::Key, "@", Qt::Key_Q, Qt::ControlModifier | Qt::AltModifier},
        {"NUL", Way::Key, QString(QChar(0))},
        {"SOH", Way::Key, "\x01"},
        {"DEL", Way::Key, "\x7f"},
        {"tab character", Way::Key, "\t"},
        {"F1", Way::Key, QString(), Qt::Key_F1},
        {"F5", Way::Key, QString(), Qt::Key_F5},
        {"F12", Way::Key, QString(), Qt::Key_F12},
        {"euro", Way::Key, QString::fromUtf8("\u20ac")},
        {"CJK", Way::Key, QString::fromUtf8("\u65e5")},
        {"Arabic-Indic three", Way::Key, QString::fromUtf8("\u0663")},
        {"fullwidth three", Way::Key, QString::fromUtf8("\uff13")},
        {"bold digit one", Way::Key, QString::fromUtf8("\U0001d7d9")},
        {"lone surrogate", Way::Key, Units({0xD800})},
        {"digit and letter from one key", Way::Key, "1x", Qt::Key_1},
        {"input method x", Way::InputMethod, "x"},
        {"input method 1x", Way::InputMethod, "1x"},
        {"input method e acute", Way::InputMethod, QString::fromUtf8("\u00e9")},
    };
    for (const auto& [name, text] : PastedTexts()) {
        feeds.append({"Ctrl+V " + name, Way::CtrlV, text});
        feeds.append({"Shift+Insert " + name, Way::ShiftInsert, text});
        feeds.append({"middle click " + name, Way::MiddleClick, text});
    }
    return feeds;
}

// Lets queued work run: a refused leave in the main window shows its message from a queued call.
void Settle() {
    QCoreApplication::processEvents();
    QCoreApplication::processEvents();
}

void Apply(QLineEdit* box, const Feed& f) {
    QClipboard* clipboard = QApplication::clipboard();
    switch (f.way) {
    case Way::Key:
        QTest::sendKeyEvent(QTest::Click, box, Qt::Key(f.key), f.text, f.modifiers);
        break;
    case Way::CtrlV:
        clipboard->setText(f.text);
        QTest::keyClick(box, Qt::Key_V, Qt::ControlModifier);
        break;
    case Way::ShiftInsert:
        clipboard->setText(f.text);
        QTest::keyClick(box, Qt::Key_Insert, Qt::ShiftModifier);
        break;
    case Way::MiddleClick:
        // Pastes only where the platform has a selection (X11); elsewhere it must simply do no
        // harm.
        if (clipboard->supportsSelection()) clipboard->setText(f.text, QClipboard::Selection);
        QTest::mouseClick(box, Qt::MiddleButton);
        break;
    case Way::InputMethod: {
        QInputMethodEvent event;
        event.setCommitString(f.text);
        QApplication::sendEvent(box, &event);
        break;
    }
    }
    Settle();
}

enum class Edit { Replace, Prepend };

void Type(QLineEdit* box, Edit edit, const QString& keys) {
    QTest::keyClick(box, Qt::Key_End);
    if (edit == Edit::Replace) {
        QTest::keyClick(box, Qt::Key_Home, Qt::ShiftModifier);
        QTest::keyClick(box, Qt::Key_Backspace);
    } else {
        QTest::keyClick(box, Qt::Key_Home);
    }
    QTest::keyClicks(box, keys);
}

// Everything the boxes must leave alone, as text, so that a difference shows what changed.
QString StateText(const AppState& s) {
    QStringList lines{s.locationsHeaders.LocationsHeader1, s.locationsHeaders.LocationsHeader2};
    for (const SiteLocation& r : s.sites) {
        QStringList words;
        for (std::int16_t v :
             {r.LatDeg, r.LatMin, r.LatSec, r.LonDeg, r.LonMin, r.LonSec, r.TimeZone, r.DST})
            words << QString::number(v);
        for (std::int16_t v : r.Horizon)
            words << QString::number(v);
        lines << words.join(' ') + QStringLiteral(" %1 [%2]").arg(r.Primary).arg(r.Name);
    }
    const SkyState& k = s.sky;
    lines << QStringLiteral("sky %1 %2 %3 %4 %5 %6")
                 .arg(int(k.UseNow))
                 .arg(k.ObservingTime.toString(Qt::ISODate))
                 .arg(k.ObserverLatitude, 0, 'g', 17)
                 .arg(k.ObserverLongitude, 0, 'g', 17)
                 .arg(k.SiteTimeZone)
                 .arg(int(k.SiteDaylight));
    QStringList picked;
    for (std::int16_t v : s.listSlots)
        picked << QString::number(v);
    lines << "slots " + picked.join(' ');
    return lines.join('\n');
}

// --- the three windows ---------------------------------------------------------------------------

// A way to leave a box: Tab (no target) or a click on a control.
struct Route {
    QString target;
    bool button = false;
};

// One of the windows, shown, with its data directory and a watcher answering its message boxes.
class Subject {
public:
    Subject() { watcher.closeDialogs = false; }
    virtual ~Subject() = default;
    virtual QWidget* window() const = 0;
    virtual AppState& state() = 0;
    virtual QList<Route> routes(const QString& box) const = 0;
    // Whether the window keeps `text` in `box` when the box is left, by the window's rules.
    virtual bool accepts(const QString& box, const QString& text) const = 0;

    template <class T = QWidget> T* find(const QString& name) const {
        T* w = window()->findChild<T*>(name);
        if (!w) qFatal("no control %s", qPrintable(name));
        return w;
    }
    QString stateNow() { return StateText(state()); }
    // What a click can change besides the state: the window closing, a window opened from it,
    // a check box, a print.
    virtual QString observed() const {
        QString s = window()->isVisible() ? "shown" : "closed";
        s += " opened:" + watcher.dialogs.join(',') + " boxes:";
        for (const QCheckBox* c : window()->findChildren<QCheckBox*>())
            s += c->isChecked() ? '1' : '0';
        return s;
    }

    ModalWatcher watcher;
    std::unique_ptr<LocationsDir> dir;
};

QByteArray FileOf(const AppState& s) {
    QByteArray bytes;
    QString error;
    if (!FormatLocations(s.sites, s.locationsHeaders, &bytes, &error))
        qFatal("%s", qPrintable(error));
    return bytes;
}

class MainSubject : public Subject {
public:
    MainSubject() {
        // Its buttons open the location editor and the print dialog; the watcher closes them.
        watcher.closeDialogs = true;
        dir = std::make_unique<LocationsDir>(FileOf(f.state));
        f.state.dataDir = dir->path();
        // Typed mode, so that the date box takes the focus, and one object picked.
        f.get<QCheckBox>("chkNow")->click();
        f.state.listSlots[0] = 2;
        f.window->ShowObjectList();
    }
    QWidget* window() const override { return f.window.get(); }
    AppState& state() override { return f.state; }
    QList<Route> routes(const QString&) const override {
        return {{}, {"chkPlanet"}, {"Command1", true}, {"cmdLocEdit", true}, {"cmdNewLoc", true}};
    }
    bool accepts(const QString& box, const QString& text) const override {
        if (box == "txtMonth") return IsCivilDateTime(text);
        // A number: a text that is none becomes "0.0" on leaving.
        return QRegularExpression("^(\\d+\\.?\\d*|\\.\\d+)$").match(text).hasMatch();
    }

    WindowFixture f;
};

struct SiteField {
    const char* name;
    int low, high;
    QString message;
};

const QString kHorizon = "Invalid horizon.  Must be between 0 and 90.";
const SiteField kSiteFields[] = {
    {"txtLaD", 0, 180, "Invalid Latitude.  Must be between 0 and 180."},
    {"txtLaM", 0, 60, "Invalid Latitude.  Must be between 0 and 60."},
    {"txtLaS", 0, 60, "Invalid Latitude.  Must be between 0 and 60."},
    {"txtLoD", 0, 180, "Invalid Longitude.  Must be between 0 and 180."},
    {"txtLoM", 0, 60, "Invalid Longitude.  Must be between 0 and 60."},
    {"txtLoS", 0, 60, "Invalid Longitude.  Must be between 0 and 60."},
    {"txtTZ", -12, 12, "Invalid Time Zone.  Must be between -12 and 12."},
    {"txtN", 0, 90, kHorizon},
    {"txtNE", 0, 90, kHorizon},
    {"txtE", 0, 90, kHorizon},
    {"txtSE", 0, 90, kHorizon},
    {"txtS", 0, 90, kHorizon},
    {"txtSW", 0, 90, kHorizon},
    {"txtW", 0, 90, kHorizon},
    {"txtNW", 0, 90, kHorizon},
};

class LocationSubject : public Subject {
public:
    LocationSubject() {
        dir = std::make_unique<LocationsDir>(kSites);
        QString error;
        if (!dir->load(s, &error)) qFatal("%s", qPrintable(error));
        SetCurrentSiteIndex(s, 0);
        w = std::make_unique<LocationWindow>(s);
        w->show();
        if (!QTest::qWaitForWindowActive(w.get())) qWarning("location editor not active");
    }
    QWidget* window() const override { return w.get(); }
    AppState& state() override { return s; }
    QList<Route> routes(const QString&) const override {
        return {{},
                {"txtLocName"},
                {"chkDST"},
                {"cmdSave", true},
                {"cmdDel", true},
                {"CmdAbort", true}};
    }
    bool accepts(const QString& box, const QString& text) const override {
        for (const SiteField& f : kSiteFields) {
            if (box != f.name) continue;
            if (!QRegularExpression(f.low < 0 ? "^-?\\d{1,9}$" : "^\\d{1,9}$")
                     .match(text)
                     .hasMatch())
                return false;
            return text.toInt() >= f.low && text.toInt() <= f.high;
        }
        return true; // the name takes any text the file can hold
    }

    AppState s;
    std::unique_ptr<LocationWindow> w;
};

AppState PrintState() {
    AppState s;
    FillStore(s.store);
    s.listSlots[0] = 2;
    s.sky.clock = std::make_shared<FixedClock>(kPrintNow);
    s.sky.UseNow = true;
    return s;
}

class PrintSubject : public Subject {
public:
    PrintSubject() {
        dir = std::make_unique<LocationsDir>(kSites);
        s.dataDir = dir->path();
        d = std::make_unique<Printout>(s);
        d->setPdfFileNameChooser([this](QWidget*, const QString&) {
            ++printCalls;
            return QString();
        });
        d->setSurfaceFactory([this](const PrintTarget&) -> std::unique_ptr<PrintSurface> {
            ++printCalls;
            return std::make_unique<RecordingSurface>();
        });
        auto* printers = d->findChild<QComboBox*>("cboPrinter");
        printers->setCurrentIndex(printers->findText(Printout::PdfEntry));
        d->show();
        if (!QTest::qWaitForWindowActive(d.get())) qWarning("print dialog not active");
    }
    QWidget* window() const override { return d.get(); }
    AppState& state() override { return s; }
    QList<Route> routes(const QString& box) const override {
        return {{},
                {box == "txtStart" ? "txtInc" : "txtStart"},
                {"cmdPrint", true},
                {"cmdCancel", true}};
    }
    bool accepts(const QString& box, const QString& text) const override {
        if (box == "txtInc") return QRegularExpression("^\\d*[1-9]\\d*$").match(text).hasMatch();
        auto read = [&](const QString& name) {
            return ParseCivilDateTime(name == box ? text : find<QLineEdit>(name)->text());
        };
        const auto start = read("txtStart"), stop = read("txtStop");
        return start && stop && *start < *stop;
    }
    QString observed() const override {
        return Subject::observed() + QStringLiteral(" prints:%1").arg(printCalls);
    }

    AppState s = PrintState();
    std::unique_ptr<Printout> d;
    int printCalls = 0;
};

std::unique_ptr<Subject> Open(const QString& window) {
    if (window == "main") return std::make_unique<MainSubject>();
    if (window == "location") return std::make_unique<LocationSubject>();
    return std::make_unique<PrintSubject>();
}

} // namespace

class TestBadInputSweep : public QObject {
    Q_OBJECT
private slots:
    void initTestCase() { QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates)); }

    void refusedInputLeavesTheBoxAlone_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<QStringList>("takes"); // feeds this box rightly lets in
        for (const char* b : {"txtDSOMaxMag", "txtMonth"})
            QTest::addRow("main %s", b) << "main" << b << QStringList();
        for (const SiteField& f : kSiteFields)
            QTest::addRow("location %s", f.name)
                << "location" << f.name << (f.low < 0 ? QStringList{"-"} : QStringList());
        for (const char* b : {"txtStart", "txtStop", "txtInc"})
            QTest::addRow("print %s", b) << "print" << b << QStringList();
    }
    void refusedInputLeavesTheBoxAlone() {
        QFETCH(QString, window);
        QFETCH(QString, boxName);
        QFETCH(QStringList, takes);
        const std::unique_ptr<Subject> subject = Open(window);
        QLineEdit* box = subject->find<QLineEdit>(boxName);
        box->setFocus(Qt::OtherFocusReason);
        Settle();
        const QString text = box->text();
        const QString state = subject->stateNow();
        const QByteArray file = subject->dir->bytes();

        QStringList gotIn;
        for (const Feed& feed : BadFeeds()) {
            if (feed.way == Way::Key && takes.contains(feed.text)) continue;
            Apply(box, feed);
            if (box->text() != text) {
                gotIn << feed.name + " -> " + box->text().left(24);
                box->setText(text);
            }
        }
        QVERIFY2(gotIn.isEmpty(), qPrintable(gotIn.join("; ")));
        QCOMPARE(subject->watcher.messages, QStringList());
        QCOMPARE(subject->window()->focusWidget(), box);

        // Untouched, the box lets the focus go without a word.
        QTest::keyClick(box, Qt::Key_Tab);
        Settle();
        QCOMPARE(subject->watcher.messages, QStringList());
        QVERIFY(subject->window()->focusWidget() != box);
        QCOMPARE(subject->stateNow(), state);
        QCOMPARE(subject->dir->bytes(), file);
    }

    void valuesOnLeaving_data() {
        QTest::addColumn<QString>("window");
        QTest::addColumn<QString>("boxName");
        QTest::addColumn<int>("edit");
        QTest::addColumn<QString>("keys");
        QTest::addColumn<QString>("message"); // empty: the value is kept and the focus moves on
        auto row = [](const char* window, const QString& box, Edit edit, const QString& keys,
                      const QString& message) {
            QTest::addRow("%s %s %s[%s]", window, qPrintable(box),
                          edit == Edit::Prepend ? "prepend " : "", qPrintable(keys))
                << window << box << int(edit) << keys << message;
        };
        // The limiting magnitude refuses nothing: empty becomes 0.0, a number beyond the scroll
        // bar's range stays as typed.
        for (const char* keys : {"", ".", "0", "25", "200", "99999999999999999999"})
            row("main", "txtDSOMaxMag", Edit::Replace, keys, "");
        const QString date = "Invalid Date";
        row("main", "txtMonth", Edit::Replace, "", date);
        row("main", "txtMonth", Edit::Replace, "a", date);
        row("main", "txtMonth", Edit::Replace, "31122026", date);
        row("main", "txtMonth", Edit::Prepend, "9", date);
        row("main", "txtMonth", Edit::Prepend, "", "");

        for (const SiteField& f : kSiteFields) {
            row("location", f.name, Edit::Replace, "", f.message);
            row("location", f.name, Edit::Replace, QString::number(f.high + 1), f.message);
            row("location", f.name, Edit::Replace, QString::number(f.high), "");
        }
        const QString zone = kSiteFields[6].message;
        for (const char* keys : {"-13", "-", "1-", "--"})
            row("location", "txtTZ", Edit::Replace, keys, zone);
        row("location", "txtTZ", Edit::Replace, "-12", "");
        row("location", "txtLaS", Edit::Replace, "1234567890", kSiteFields[2].message);

        const QString order = "Start must be before stop", increment = "Invalid Increment";
        for (const char* keys : {"", "99/99/2024 20:00:00", "3/15/2024 24:00:00", "::/ /"})
            row("print", "txtStart", Edit::Replace, keys, date);
        row("print", "txtStart", Edit::Replace, "3/15/2024 23:30:00", order);
        row("print", "txtStart", Edit::Replace, "3/15/2024 21:00:00", "");
        // Typed with a leading zero: the stop box takes no digit while it holds two characters.
        row("print", "txtStop", Edit::Replace, "", date);
        row("print", "txtStop", Edit::Replace, "02/30/2024 21:00:00", date);
        row("print", "txtStop", Edit::Replace, "03/15/2024 20:00:00", order);
        row("print", "txtStop", Edit::Replace, "12/31/2023 23:00:00", order);
        row("print", "txtStop", Edit::Replace, "03/15/2024 22:00:00", "");
        for (const char* keys : {"", "0", "000"})
            row("print", "txtInc", Edit::Replace, keys, increment);
        for (const char* keys : {"1", "99999999999999999999"})
            row("print", "txtInc", Edit::Replace, keys, "");
    }
    void valuesOnLeaving() {
        QFETCH(QString, window);
        QFETCH(QString, boxName);
        QFETCH(int, edit);
        QFETCH(QString, keys);
        QFETCH(QString, message);
        const std::unique_ptr<Subject> subject = Open(window);
        QLineEdit* box = subject->find<QLineEdit>(boxName);
        const QString state = subject->stateNow();
        const QByteArray file = subject->dir->bytes();

        for (const Route& route : subject->routes(boxName)) {
            // A button clicked after a kept value does its work; that is not this test's matter.
            if (route.button && message.isEmpty()) continue;
            const QString via = route.target.isEmpty() ? QStringLiteral("Tab") : route.target;
            box->setFocus(Qt::OtherFocusReason);
            Settle();
            const QString before = box->text();
            Type(box, Edit(edit), keys);
            QCOMPARE(box->text(), Edit(edit) == Edit::Replace ? keys : keys + before);
            const QString observed = subject->observed();
            subject->watcher.messages.clear();
            if (route.target.isEmpty())
                QTest::keyClick(box, Qt::Key_Tab);
            else
                QTest::mouseClick(subject->find(route.target), Qt::LeftButton);
            Settle();

            const QStringList expected = message.isEmpty() ? QStringList() : QStringList{message};
            QVERIFY2(subject->watcher.messages == expected,
                     qPrintable(via + ": " + subject->watcher.messages.join(" | ")));
            if (message.isEmpty()) {
                QVERIFY2(subject->window()->focusWidget() != box, qPrintable(via));
                QVERIFY2(subject->accepts(boxName, box->text()),
                         qPrintable(via + ": " + box->text()));
            } else {
                QVERIFY2(subject->window()->focusWidget() == box, qPrintable(via));
                QCOMPARE(subject->observed(), observed);
            }
            QCOMPARE(subject->stateNow(), state);
            QCOMPARE(subject->dir->bytes(), file);
        }
    }

    // The name box has no key filter, but the locations file holds Latin-1 text, one site a
    // line: what the box takes must survive Save and read back as it was.
    void siteNameTakesWhatTheFileCanHold_data() {
        QTest::addColumn<QString>("pasted");
        QTest::addColumn<bool>("taken");
        QTest::newRow("10000 letters") << QString(10000, u'x') << true;
        QTest::newRow("NUL LF tab") << QString::fromLatin1("1\0 2\n3\t4", 8) << true;
        QTest::newRow("Latin-1 letters") << QString::fromUtf8("\u00e9\u00df\u00ff") << true;
        QTest::newRow("CR LF") << QStringLiteral("a\r\nb") << false;
        QTest::newRow("euro") << QString::fromUtf8("\u20ac") << false;
        QTest::newRow("bold digit one") << QString::fromUtf8("\U0001d7d9") << false;
        QTest::newRow("lone surrogate") << Units({u'1', 0xD800}) << false;
        QTest::newRow("invalid UTF-8") << QString::fromUtf8("\xed\xa0\x80") << false;
    }
    void siteNameTakesWhatTheFileCanHold() {
        QFETCH(QString, pasted);
        QFETCH(bool, taken);
        LocationSubject subject;
        QLineEdit* name = subject.find<QLineEdit>("txtLocName");
        name->setFocus(Qt::OtherFocusReason);
        name->end(false);
        QApplication::clipboard()->setText(pasted);
        QTest::keyClick(name, Qt::Key_V, Qt::ControlModifier);
        QInputMethodEvent composed;
        composed.setCommitString(pasted);
        QApplication::sendEvent(name, &composed);
        const QString expected = taken ? "Back yard" + pasted + pasted : "Back yard";
        QCOMPARE(name->text(), expected);

        QTest::mouseClick(subject.find("cmdSave"), Qt::LeftButton);
        Settle();
        QCOMPARE(subject.watcher.messages, QStringList()); // nothing failed to save
        QVERIFY(!subject.w->isVisible());
        QCOMPARE(subject.s.sites[0].Name, expected);
        LocationsContent read;
        QString error;
        QVERIFY2(ParseLocations(subject.dir->bytes(), "locations.txt", &read, &error),
                 qPrintable(error));
        QVERIFY(read.sites == subject.s.sites);
    }
};

QTEST_MAIN(TestBadInputSweep)
#include "test_badinput_sweep.moc"
