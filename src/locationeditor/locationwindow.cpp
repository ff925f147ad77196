#include "locationeditor/locationwindow.h"

#include "kit/inputrules.h"
#include "kit/programmessage.h"
#include "kit/twips.h"
#include "locationeditor/savereport.h"
#include "sites/locationsfile.h"
#include "sky/daylightcheck.h"
#include "state/sitesstorage.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFocusEvent>
#include <QFont>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLabel>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPainter>
#include <QPushButton>
#include <QTimer>
#include <QValidator>
#include <algorithm>
#include <cstdlib>

namespace {

// Client area of the window, in twips.
constexpr int kWidthTwips = 4590;
// The editor's original height, and the row of the time-zone name added below it.
constexpr int kZoneRowTop = 8520;
constexpr int kHeightTwips = kZoneRowTop + 495;

const QString kNoPrimaryText = QStringLiteral("You have no primary location.");
const QString kPrimaryTitle = QStringLiteral("Primary?");
const QString kDeleteTitle = QStringLiteral("Delete Location");
const QString kDeleteQuestion = QStringLiteral("Are you sure you want to delete ");

struct HorizonPlace {
    const char* name;
    int left, top, width, height;
};

// The eight horizon fields in the order of the record, N to NW, placed as a compass rose.
const HorizonPlace kHorizonFields[8] = {
    {"txtN", 2040, 4680, 495, 375}, {"txtNE", 3120, 5040, 495, 375},
    {"txtE", 3480, 6120, 495, 360}, {"txtSE", 3120, 7080, 495, 375},
    {"txtS", 2040, 7440, 495, 375}, {"txtSW", 960, 7080, 495, 375},
    {"txtW", 600, 6120, 495, 375},  {"txtNW", 960, 5040, 495, 375},
};

QString NumberText(int value) {
    return QString::number(value);
}

std::int16_t ToField(int value) {
    return std::int16_t(std::clamp(value, -32768, 32767));
}

// The locations file holds Latin-1 text, one site a line: a name with a carriage return or a
// character beyond Latin-1 could not be saved (and would make every later save of the table fail).
// The name box refuses such text as it comes in, typed, pasted or composed, the whole insertion
// at once.
class StorableNameValidator : public QValidator {
public:
    using QValidator::QValidator;
    State validate(QString& input, int&) const override {
        for (const QChar c : input)
            if (c.unicode() > 0xFF || c == QLatin1Char('\r')) return Invalid;
        return Acceptable;
    }
};

// The sign of a stored angle: negative when any of its three parts is.
bool AngleIsNegative(std::int16_t deg, std::int16_t min, std::int16_t sec) {
    return deg < 0 || min < 0 || sec < 0;
}

} // namespace

// --- numeric field -------------------------------------------------------------------------

SiteNumberField::SiteNumberField(const QString& name, int low, int high, bool allowMinus,
                                 const QString& message, QWidget* parent)
    : QLineEdit(parent), low_(low), high_(high), allowMinus_(allowMinus), message_(message) {
    setObjectName(name);
    // Text reaches the field only through the key filter: no pasting by menu or drop. (The
    // window's event filter drops input-method text and middle-button pastes.)
    setContextMenuPolicy(Qt::NoContextMenu);
    setAcceptDrops(false);
    setAttribute(Qt::WA_InputMethodEnabled, false);
}

bool SiteNumberField::readValue(int* value) const {
    const QString t = text();
    int start = 0;
    if (allowMinus_ && t.startsWith(u'-')) start = 1;
    const int digits = int(t.size()) - start;
    // Nine digits cannot overflow; no valid value comes near that.
    if (digits < 1 || digits > 9) return false;
    for (int i = start; i < t.size(); ++i)
        if (t.at(i) < u'0' || t.at(i) > u'9') return false;
    const int magnitude = t.mid(start).toInt();
    *value = start == 1 ? -magnitude : magnitude;
    return true;
}

bool SiteNumberField::holdsValidValue() const {
    int v = 0;
    return readValue(&v) && v >= low_ && v <= high_;
}

void SiteNumberField::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    selectAll();
    // A mouse click places the cursor after the focus has arrived; select again once it has.
    QTimer::singleShot(0, this, [this] {
        if (hasFocus()) selectAll();
    });
}

void SiteNumberField::keyPressEvent(QKeyEvent* event) {
    // Escape goes on to the window, which it closes.
    if (event->key() == Qt::Key_Escape) {
        event->ignore();
        return;
    }
    const TypedKey key = ClassifyKey(*event);
    bool passes = false;
    switch (key.kind) {
    case KeyKind::Backspace:
    case KeyKind::Movement:
        passes = true;
        break;
    case KeyKind::Character:
        passes = (key.character >= u'0' && key.character <= u'9') ||
                 (allowMinus_ && key.character == u'-');
        break;
    case KeyKind::Return:
    case KeyKind::Editing:
        break;
    }
    if (passes)
        QLineEdit::keyPressEvent(event);
    else
        event->accept(); // dropped silently; it goes no further either
}

void SiteNumberField::mousePressEvent(QMouseEvent* event) {
    // The middle button would paste the selection of another program.
    if (event->button() == Qt::MiddleButton) {
        event->accept();
        return;
    }
    QLineEdit::mousePressEvent(event);
}

// --- window --------------------------------------------------------------------------------

LocationWindow::LocationWindow(AppState& state, QWidget* parent, bool newRecord)
    : QDialog(parent), state_(state) {
    setObjectName(QStringLiteral("Location"));
    setWindowTitle(QStringLiteral("Location Editor"));
    setModal(true);
    // Abort!, Escape and the close box leave without storing anything and without checking the
    // fields, whatever they hold; a new site's empty record goes with them (see
    // leaveWithoutAction), so none is left behind nameless.
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);

    ask = [this](const QString& text, const QString& title, Buttons buttons) {
        QMessageBox::StandardButtons set = QMessageBox::Ok;
        if (buttons == Buttons::OkCancel) set = QMessageBox::Ok | QMessageBox::Cancel;
        if (buttons == Buttons::YesNo) set = QMessageBox::Yes | QMessageBox::No;
        QMessageBox box(QMessageBox::NoIcon, title, text, set, this);
        FitMessageBoxToTitle(box);
        switch (box.exec()) {
        case QMessageBox::Ok:
            return Answer::Ok;
        case QMessageBox::Cancel:
            return Answer::Cancel;
        case QMessageBox::Yes:
            return Answer::Yes;
        case QMessageBox::No:
            return Answer::No;
        default:
            // A box closed by Escape or its frame counts as its refusing button.
            return buttons == Buttons::OkCancel ? Answer::Cancel
                   : buttons == Buttons::YesNo  ? Answer::No
                                                : Answer::Ok;
        }
    };
    reportSaveFailure = [this](const QString& reason) {
        ReportSaveFailure(this, reason, LocationsReadPath(state_));
    };

    chooseRecord(newRecord);
    buildControls();
    buildZoneChoice(kZoneRowTop);
    fillControls();
    SizeAndCentreWindow(this, kWidthTwips, kHeightTwips);
    txtLocName->setFocus(Qt::OtherFocusReason);
}

void LocationWindow::chooseRecord(bool newRecord) {
    const int index = GetCurrentSiteIndex(state_);
    slot_ = std::abs(index);
    isNew_ = index < 0 || newRecord;
    const int count = int(state_.sites.size());

    // A new site is always the empty record appended at the end of the table. When the index
    // points elsewhere - the -1 of "no site chosen" read as slot 1 while slot 1 holds a real site,
    // or an index outside the table - no existing site is opened as new (Abort! and Delete would
    // remove it without a question) and none is overwritten: the window appends an empty record
    // of its own and opens that as the new site instead.
    const bool freshLastRecord =
        slot_ == count - 1 && state_.sites[std::size_t(slot_)] == SiteLocation{};
    if (slot_ >= count || (isNew_ && !freshLastRecord)) {
        state_.sites.push_back(SiteLocation{});
        slot_ = count;
        isNew_ = true;
    }
}

void LocationWindow::buildControls() {
    auto place = [this](QWidget* w, int left, int top, int width, int height) {
        w->setGeometry(TwipsRect(this, left, top, width, height));
    };
    // A click does not hand the focus over by itself: the window's event filter does, after the
    // leave check of the field that has it (see eventFilter).
    auto guard = [this](QWidget* w) {
        w->setFocusPolicy(Qt::TabFocus);
        w->installEventFilter(this);
    };
    auto field = [&](const char* name, int left, int top, int width, int height, int low, int high,
                     bool allowMinus, const QString& message) {
        auto* box =
            new SiteNumberField(QString::fromLatin1(name), low, high, allowMinus, message, this);
        place(box, left, top, width, height);
        guard(box);
        return box;
    };
    auto check = [&](const char* name, const QString& caption, int left, int top, int width,
                     int height) {
        auto* box = new QCheckBox(caption, this);
        box->setObjectName(QString::fromLatin1(name));
        place(box, left, top, width, height);
        guard(box);
        return box;
    };
    auto button = [&](const char* name, const QString& caption, int left) {
        auto* b = new QPushButton(caption, this);
        b->setObjectName(QString::fromLatin1(name));
        // Neither default nor cancel button: Enter and Escape do not press one.
        b->setAutoDefault(false);
        b->setDefault(false);
        place(b, left, 3240, 975, 495);
        guard(b);
        return b;
    };
    auto label = [&](const char* name, const QString& text, int left, int top, int width,
                     int height, Qt::Alignment align) {
        auto* l = new QLabel(text, this);
        l->setObjectName(QString::fromLatin1(name));
        l->setAlignment(align);
        place(l, left, top, width, height);
        return l;
    };

    // Created in the keyboard focus order.
    txtLocName = new QLineEdit(this);
    txtLocName->setObjectName(QStringLiteral("txtLocName"));
    place(txtLocName, 840, 120, 3495, 375);
    txtLocName->setValidator(new StorableNameValidator(txtLocName));
    guard(txtLocName);

    const QString lat = QStringLiteral("Invalid Latitude.  Must be between 0 and %1.");
    const QString lon = QStringLiteral("Invalid Longitude.  Must be between 0 and %1.");
    txtLaD = field("txtLaD", 1320, 1080, 615, 375, 0, 180, false, lat.arg(180));
    txtLaM = field("txtLaM", 2040, 1080, 615, 375, 0, 60, false, lat.arg(60));
    txtLaS = field("txtLaS", 2760, 1080, 615, 375, 0, 60, false, lat.arg(60));
    chkS = check("chkS", QStringLiteral("South"), 3600, 1200, 975, 255);
    txtLoD = field("txtLoD", 1320, 1560, 615, 375, 0, 180, false, lon.arg(180));
    txtLoM = field("txtLoM", 2040, 1560, 615, 375, 0, 60, false, lon.arg(60));
    txtLoS = field("txtLoS", 2760, 1560, 615, 375, 0, 60, false, lon.arg(60));
    chkW = check("chkW", QStringLiteral("West"), 3600, 1680, 975, 255);
    txtTZ = field("txtTZ", 2040, 2160, 615, 375, -12, 12, true,
                  QStringLiteral("Invalid Time Zone.  Must be between -12 and 12."));
    chkDST = check("chkDST", QStringLiteral("DST"), 2880, 2160, 735, 255);
    const QString horizonMessage = QStringLiteral("Invalid horizon.  Must be between 0 and 90.");
    for (int k = 0; k < 8; ++k) {
        const HorizonPlace& h = kHorizonFields[k];
        horizon_[k] = field(h.name, h.left, h.top, h.width, h.height, 0, 90, false, horizonMessage);
    }
    cmdSave = button("cmdSave", QStringLiteral("Save"), 360);
    cmdDel = button("cmdDel", QStringLiteral("Delete"), 1800);
    CmdAbort = button("CmdAbort", QStringLiteral("Abort!"), 3360);
    chkPrimary = check("chkPrimary", QStringLiteral("Primary"), 3480, 2640, 1095, 255);

    QWidget* order[] = {txtLocName,  txtLaD,      txtLaM,      txtLaS,      chkS,
                        txtLoD,      txtLoM,      txtLoS,      chkW,        txtTZ,
                        chkDST,      horizon_[0], horizon_[1], horizon_[2], horizon_[3],
                        horizon_[4], horizon_[5], horizon_[6], horizon_[7], cmdSave,
                        cmdDel,      CmdAbort,    chkPrimary};
    // The zone name choice, built after these, follows chkPrimary.
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);

    // Labels. Those given only a corner get the height of the row they start, text centred in it.
    const Qt::Alignment rowStart = Qt::AlignLeft | Qt::AlignVCenter;
    label("Label1", QStringLiteral("Name"), 120, 120, 700, 375, rowStart);
    label("Label2", QStringLiteral("   Deg       Min        Sec "), 1320, 720, 2400, 300,
          Qt::AlignLeft | Qt::AlignBottom);
    label("Label3", QStringLiteral("Latitude"), 240, 1080, 1060, 375, rowStart);
    label("Label4", QStringLiteral("Longitude"), 240, 1560, 1060, 375, rowStart);
    QLabel* zone = label("Label5", QStringLiteral("Hours from GMT (West is negative)"), 120, 2160,
                         1815, 495, Qt::AlignRight | Qt::AlignTop);
    zone->setWordWrap(true);
    lblDSTHint = label("lblDSTHint", QString(), 2880, 2415, 1665, 225, rowStart);
    QFont hintFont = lblDSTHint->font();
    hintFont.setPointSizeF(7.5);
    lblDSTHint->setFont(hintFont);
    connect(txtTZ, &QLineEdit::textChanged, this, &LocationWindow::showComputerDaylight);

    QLabel* title = label("Label6", QStringLiteral("Advanced Horizons"), 1560, 5880, 1455, 735,
                          Qt::AlignCenter);
    QFont titleFont = title->font();
    titleFont.setPointSizeF(15);
    titleFont.setBold(true);
    title->setFont(titleFont);
    title->setWordWrap(true);
    // The box is narrower than "Advanced" in this type on most desktops: widen it (and heighten
    // it for two lines) about its own centre, which is the centre of the rose.
    {
        const QFontMetrics fm(titleFont);
        QRect box = title->geometry();
        const QPoint centre = box.center();
        int wordWidth = 0;
        for (const QString& word : title->text().split(u' '))
            wordWidth = std::max(wordWidth, fm.horizontalAdvance(word));
        box.setWidth(std::max(box.width(), wordWidth + fm.averageCharWidth()));
        box.setHeight(std::max(box.height(), 2 * fm.lineSpacing()));
        box.moveCenter(centre);
        title->setGeometry(box);
    }
    // Opaque, so the crossing of the rose's lines stays behind the title.
    title->setAutoFillBackground(true);

    struct Letter {
        const char* text;
        int left, top;
    };
    const Letter letters[8] = {{"N", 2160, 4080},  {"NE", 3600, 4440}, {"E", 4080, 6000},
                               {"SE", 3600, 7440}, {"S", 2040, 7920},  {"SW", 360, 7440},
                               {"W", 120, 6000},   {"NW", 240, 4560}};
    for (const Letter& d : letters) {
        auto* l = new QLabel(QString::fromLatin1(d.text), this);
        l->setObjectName(QStringLiteral("lbl") + QString::fromLatin1(d.text));
        QFont f = l->font();
        f.setPointSizeF(22.5);
        f.setBold(false);
        l->setFont(f);
        l->adjustSize();
        l->move(TwipsRect(this, d.left, d.top, 0, 0).topLeft());
    }

    connect(cmdSave, &QPushButton::clicked, this, &LocationWindow::cmdSaveClicked);
    connect(cmdDel, &QPushButton::clicked, this, &LocationWindow::cmdDelClicked);
    connect(CmdAbort, &QPushButton::clicked, this, &LocationWindow::CmdAbortClicked);
}

void LocationWindow::fillControls() {
    const SiteLocation& r = state_.sites[std::size_t(slot_)];
    for (int k = 0; k < 8; ++k)
        horizon_[k]->setText(NumberText(r.Horizon[std::size_t(k)]));
    txtLaD->setText(NumberText(std::abs(r.LatDeg)));
    txtLaM->setText(NumberText(std::abs(r.LatMin)));
    txtLaS->setText(NumberText(std::abs(r.LatSec)));
    txtLoD->setText(NumberText(std::abs(r.LonDeg)));
    txtLoM->setText(NumberText(std::abs(r.LonMin)));
    txtLoS->setText(NumberText(std::abs(r.LonSec)));
    txtTZ->setText(NumberText(r.TimeZone));
    chkDST->setChecked(r.DST != 0);
    chkPrimary->setChecked(r.Primary != 0);
    chkW->setChecked(AngleIsNegative(r.LonDeg, r.LonMin, r.LonSec));
    chkS->setChecked(AngleIsNegative(r.LatDeg, r.LatMin, r.LatSec));
    txtLocName->setText(r.Name);
    showZoneName(r.ZoneName);
}

void LocationWindow::paintEvent(QPaintEvent* event) {
    QDialog::paintEvent(event);
    QPainter p(this);
    p.setPen(QPen(palette().color(QPalette::WindowText), 1));
    auto at = [this](int x, int y) { return TwipsRect(this, x, y, 0, 0).topLeft(); };
    // Separator between the buttons and the rose, across the whole window.
    p.drawLine(QPoint(0, at(0, 3960).y()), QPoint(width(), at(0, 3960).y()));
    // The rose: N-S, W-E, NW-SE and NE-SW, crossing under the title.
    p.drawLine(at(2280, 5040), at(2280, 7440));
    p.drawLine(at(1080, 6240), at(3480, 6240));
    p.drawLine(at(1440, 5400), at(3120, 7080));
    p.drawLine(at(3120, 5400), at(1440, 7080));
}

void LocationWindow::closeEvent(QCloseEvent* event) {
    leaveWithoutAction();
    QDialog::closeEvent(event);
}

void LocationWindow::reject() {
    leaveWithoutAction();
    QDialog::reject();
}

void LocationWindow::leaveWithoutAction() {
    // Closed by Escape, the close box or the program: nothing is stored and nothing is written. A
    // new site that was never written is taken out of the table again, so no empty nameless record
    // is left behind; an existing site keeps what it holds.
    if (!finished_ && isNew_ && slot_ < int(state_.sites.size()))
        state_.sites.erase(state_.sites.begin() + slot_);
    finished_ = true;
}

bool LocationWindow::focusMayLeave() {
    auto* field = qobject_cast<SiteNumberField*>(focusWidget());
    if (!field || field->holdsValidValue()) return true;
    // An emptied field, or a time zone that is no number, is refused like a value out of range:
    // storing a guessed 0 could silently move the site.
    ask(field->message(), ProgramTitle(), Buttons::Ok);
    if (isVisible()) field->setFocus(Qt::OtherFocusReason);
    return false;
}

bool LocationWindow::focusNextPrevChild(bool next) {
    if (!focusMayLeave()) return true;
    return QDialog::focusNextPrevChild(next);
}

bool LocationWindow::eventFilter(QObject* watched, QEvent* event) {
    const QEvent::Type type = event->type();
    if (qobject_cast<SiteNumberField*>(watched)) {
        // Text that would arrive past the key filter: composed by an input method, or pasted by
        // the middle button, which pastes when it is let go.
        if (type == QEvent::InputMethod) return true;
        if (type == QEvent::MouseButtonRelease &&
            static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
            return true;
    }
    if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
        auto* target = qobject_cast<QWidget*>(watched);
        // Abort! is a way out whatever the fields hold: no check, and the focus stays put.
        if (target && target != focusWidget() && target != CmdAbort && target->isEnabled()) {
            // A refused move eats the press: the control neither takes the focus nor, being a
            // button, acts when the mouse is let go.
            if (!focusMayLeave()) return true;
            target->setFocus(Qt::MouseFocusReason);
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool LocationWindow::anyPrimary() const {
    return std::any_of(state_.sites.begin(), state_.sites.end(),
                       [](const SiteLocation& s) { return s.Primary == -1; });
}

void LocationWindow::writeFile() {
    QString error;
    // On failure the table keeps what the window put there; the user is told, and the next
    // Save or Delete writes it.
    if (!WriteLocations(state_, &error)) reportSaveFailure(error);
}

bool LocationWindow::confirmPrimaryAndWrite() {
    if (!anyPrimary() && ask(kNoPrimaryText, kPrimaryTitle, Buttons::OkCancel) != Answer::Ok)
        return false;
    writeFile();
    return true;
}

void LocationWindow::removeRecord() {
    if (slot_ < int(state_.sites.size())) state_.sites.erase(state_.sites.begin() + slot_);
}

void LocationWindow::cmdSaveClicked() {
    // A click has checked the field on the way to the button; an accessibility action or a
    // shortcut presses it with the focus still in the field, which is checked here instead.
    if (!focusMayLeave()) return;
    // Every field has passed its leave check except possibly the one that had the focus, which
    // passed on the way to this button; a field that cannot be read is still refused here rather
    // than stored as a guessed number.
    if (!zoneChoiceReadable()) {
        cmbZoneName->setFocus(Qt::OtherFocusReason);
        ask(QStringLiteral("Unknown time zone name.  Choose one from the list, or Fixed offset."),
            ProgramTitle(), Buttons::Ok);
        return;
    }
    SiteNumberField* all[] = {txtLaD, txtLaM, txtLaS, txtLoD, txtLoM, txtLoS, txtTZ};
    for (SiteNumberField* f : all) {
        int v = 0;
        if (!f->readValue(&v)) {
            f->setFocus(Qt::OtherFocusReason);
            ask(f->message(), ProgramTitle(), Buttons::Ok);
            return;
        }
    }
    for (SiteNumberField* f : horizon_) {
        int v = 0;
        if (!f->readValue(&v)) {
            f->setFocus(Qt::OtherFocusReason);
            ask(f->message(), ProgramTitle(), Buttons::Ok);
            return;
        }
    }
    auto value = [](const SiteNumberField* f) {
        int v = 0;
        f->readValue(&v);
        return v;
    };

    SiteLocation& r = state_.sites[std::size_t(slot_)];
    for (int k = 0; k < 8; ++k)
        r.Horizon[std::size_t(k)] = ToField(value(horizon_[k]));
    const int latSign = chkS->isChecked() ? -1 : 1;
    r.LatDeg = ToField(latSign * value(txtLaD));
    r.LatMin = ToField(latSign * value(txtLaM));
    r.LatSec = ToField(latSign * value(txtLaS));
    const int lonSign = chkW->isChecked() ? -1 : 1;
    r.LonDeg = ToField(lonSign * value(txtLoD));
    r.LonMin = ToField(lonSign * value(txtLoM));
    r.LonSec = ToField(lonSign * value(txtLoS));
    r.TimeZone = ToField(value(txtTZ));
    r.DST = chkDST->isChecked() ? -1 : 0;
    if (chkPrimary->isChecked()) {
        for (SiteLocation& s : state_.sites)
            s.Primary = 0;
        r.Primary = -1;
    } else {
        r.Primary = 0;
    }
    r.Name = txtLocName->text();
    r.ZoneName = chosenZoneName();

    // Cancel keeps the window open with the values already stored in the record.
    if (!confirmPrimaryAndWrite()) return;
    change_ = {SiteTableChange::Kind::Saved, slot_};
    finished_ = true;
    accept();
}

void LocationWindow::cmdDelClicked() {
    if (focusMayLeave()) deleteRecord();
}

void LocationWindow::deleteRecord() {
    if (!isNew_ && state_.sites.size() == 1) {
        // The only site is kept: a table without sites would leave the program nothing to show.
        // The window stays open so that the site can be changed instead.
        ask(QStringLiteral("This is your only location, so it cannot be deleted.  Change it and "
                           "Save instead, or create another location first."),
            ProgramTitle(), Buttons::Ok);
        return;
    }
    if (isNew_) {
        removeRecord();
    } else {
        const QString stored = state_.sites[std::size_t(slot_)].Name;
        if (ask(kDeleteQuestion + stored, kDeleteTitle, Buttons::YesNo) == Answer::Yes) {
            removeRecord();
            change_ = {SiteTableChange::Kind::Deleted, slot_};
        }
    }
    confirmPrimaryAndWrite();
    // The record is gone (or kept on No); either way the window is done with it.
    finished_ = true;
    accept();
}

void LocationWindow::CmdAbortClicked() {
    // Nothing typed is kept, so no field is checked. A new site's record goes as Delete takes it.
    if (isNew_) {
        deleteRecord();
        return;
    }
    finished_ = true;
    reject();
}
