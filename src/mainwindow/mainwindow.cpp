#include "mainwindow/mainwindow.h"

#include "mainwindow/choosersearch.h"
#include "mainwindow/guidestars.h"
#include "objectlist/objectrows.h"
#include "objectlist/selection.h"
#include "printout/printout.h"
#include "sites/locationwindow.h"
#include "sky/civiltime.h"
#include "sky/coordinates.h"
#include "sky/horizon.h"
#include "sky/skytime.h"
#include "startup/angles.h"
#include "startup/fitcaption.h"
#include "startup/inputrules.h"
#include "startup/lastvalidtext.h"
#include "startup/programmessage.h"
#include "startup/twips.h"
#include "startup/wheelguard.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialog>
#include <QFocusEvent>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QKeyEvent>
#include <QLineEdit>
#include <QListView>
#include <QMouseEvent>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>

namespace {

const QString kNoPrimaryLocation = QStringLiteral("No Primary Location");

// The hourglass pointer for as long as the guard lives.
class BusyCursor {
public:
    BusyCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~BusyCursor() { QApplication::restoreOverrideCursor(); }
    BusyCursor(const BusyCursor&) = delete;
    BusyCursor& operator=(const BusyCursor&) = delete;
};

bool HasEvenWidths(const QFont& font) {
    const QFontMetrics metrics(font);
    const int w = metrics.horizontalAdvance(QLatin1Char('W'));
    return w > 0 && metrics.horizontalAdvance(QLatin1Char('i')) == w &&
           metrics.horizontalAdvance(QLatin1Char(' ')) == w &&
           metrics.horizontalAdvance(QChar(0x00B0)) == w;
}

// The room a check box's caption cannot use: the indicator and the gap after it.
int CheckBoxReserve(const QCheckBox* box) {
    return box->style()->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, box) +
           box->style()->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, box) + 4;
}

// Check boxes that stand together share one caption size (see FitCaptionGroup).
void FitCheckBoxGroup(std::initializer_list<QCheckBox*> boxes) {
    std::vector<CaptionFit> group;
    for (QCheckBox* box : boxes)
        group.push_back({box, box->text(), CheckBoxReserve(box)});
    FitCaptionGroup(group, (*boxes.begin())->font().pointSizeF(), 7);
}

// Text boxes and combo boxes: button-face background with button text.
void UseButtonFaceColours(QWidget* w) {
    QPalette p = w->palette();
    p.setColor(QPalette::Base, p.color(QPalette::Button));
    p.setColor(QPalette::Text, p.color(QPalette::ButtonText));
    w->setPalette(p);
}

} // namespace

void WrappingButton::paintEvent(QPaintEvent*) {
    QStylePainter painter(this);
    QStyleOptionButton option;
    initStyleOption(&option);
    const QString caption = option.text;
    option.text.clear();
    painter.drawControl(QStyle::CE_PushButton, option);
    const QRect area =
        style()->subElementRect(QStyle::SE_PushButtonContents, &option, this).adjusted(2, 0, -2, 0);
    painter.setPen(
        palette().color(isEnabled() ? QPalette::Active : QPalette::Disabled, QPalette::ButtonText));
    painter.drawText(area, Qt::AlignCenter | Qt::TextWordWrap, caption);
}

QFont ObjectListFont() {
    QFont courier(QStringLiteral("Courier New"));
    courier.setPointSize(12);
    courier.setBold(true);
    courier.setStyleHint(QFont::TypeWriter);
    // A substitute of the same kind (a Courier clone) is as good as the original; what matters is
    // that every character is equally wide so that the columns stay under the header.
    const QFontInfo info(courier);
    if ((info.family() == QLatin1String("Courier New") || info.fixedPitch()) &&
        HasEvenWidths(courier))
        return courier;
    QFont fixed = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    fixed.setPointSize(12);
    fixed.setBold(true);
    return fixed;
}

// ---------------------------------------------------------------------------------------------

ObjectRowLabel::ObjectRowLabel(int index, QWidget* parent) : QLabel(parent), index_(index) {}

void ObjectRowLabel::mousePressEvent(QMouseEvent* event) {
    pressed_ = event->button() == Qt::LeftButton;
    QLabel::mousePressEvent(event);
}

void ObjectRowLabel::mouseReleaseEvent(QMouseEvent* event) {
    const bool click = pressed_ && event->button() == Qt::LeftButton &&
                       rect().contains(event->position().toPoint());
    pressed_ = false;
    QLabel::mouseReleaseEvent(event);
    if (click) emit clicked(index_);
}

// ---------------------------------------------------------------------------------------------

MainWindow::MainWindow(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Zenitor Ver:  0.0.1 B"));
    // The controls sit at fixed places, so the window keeps the size they were laid out for.
    SizeAndCentreWindow(this, 12000, 8535);
    buildControls();
    connectHandlers();
}

MainWindow::~MainWindow() = default;

void MainWindow::buildControls() {
    auto place = [this](QWidget* w, const char* name, int left, int top, int width, int height) {
        w->setObjectName(QLatin1String(name));
        w->setGeometry(TwipsRect(this, left, top, width, height));
    };
    auto check = [&](const char* name, const QString& text, const QString& tip, int left, int top,
                     int width, int height, bool checked) {
        auto* box = new QCheckBox(text, this);
        place(box, name, left, top, width, height);
        box->setToolTip(tip);
        box->setChecked(checked);
        return box;
    };
    auto button = [&](const char* name, const QString& text, const QString& tip, int left, int top,
                      int width, int height) {
        auto* b = new WrappingButton(text, this);
        place(b, name, left, top, width, height);
        b->setToolTip(tip);
        b->setAutoDefault(false);
        FitCaption(b, text, 2 * b->style()->pixelMetric(QStyle::PM_ButtonMargin, nullptr, b) + 4,
                   b->font().pointSizeF(), 7);
        return b;
    };
    auto textBox = [&](const char* name, const QString& text, const QString& tip, int left, int top,
                       int width, int height) {
        auto* box = new QLineEdit(text, this);
        place(box, name, left, top, width, height);
        box->setToolTip(tip);
        UseButtonFaceColours(box);
        // Everything that reaches these boxes goes through their key filters: no pasting by
        // menu, middle button or drag.
        box->setContextMenuPolicy(Qt::NoContextMenu);
        box->setAcceptDrops(false);
        box->installEventFilter(this);
        return box;
    };
    auto comboBox = [&](const char* name, const QString& tip, int left, int top, int width,
                        int height) {
        auto* combo = new QComboBox(this);
        place(combo, name, left, top, width, height);
        combo->setEditable(true);
        // Typed text never becomes a list entry; the entries come from the program only.
        combo->setInsertPolicy(QComboBox::NoInsert);
        combo->setToolTip(tip);
        UseButtonFaceColours(combo);
        KeepWheelToFocusedControl(combo);
        return combo;
    };

    txtMonth = textBox("txtMonth", QString(), QString(), 120, 120, 2175, 360);
    txtMonth->setEnabled(false);
    monthTextKeeper_ =
        new LastValidText(txtMonth, [](const QString& text) { return IsCivilDateTime(text); });

    Label2 = new QLabel(QStringLiteral("To Magnitude:"), this);
    place(Label2, "Label2", 2760, 120, 1335, 255);
    FitCaption(Label2, Label2->text(), 2, Label2->font().pointSizeF(), 7);

    txtDSOMaxMag = textBox("txtDSOMaxMag", QStringLiteral("8.0"),
                           QStringLiteral("Limiting Magnitude"), 4200, 120, 615, 360);

    sbDsoMag = new QScrollBar(Qt::Vertical, this);
    place(sbDsoMag, "sbDsoMag", 4800, 120, 255, 375);
    sbDsoMag->setRange(0, 200);
    sbDsoMag->setValue(80);
    // The arrows step a tenth of a magnitude; paging (clicks beside the thumb, Page keys) a whole
    // magnitude.
    sbDsoMag->setSingleStep(1);
    sbDsoMag->setPageStep(10);
    // The value counts when the thumb is let go, not at every pixel it is dragged over.
    sbDsoMag->setTracking(false);
    // Like the other controls it takes the focus when clicked, so the magnitude box is checked
    // before the arrow acts.
    sbDsoMag->setFocusPolicy(Qt::StrongFocus);
    KeepWheelToFocusedControl(sbDsoMag);

    chkShowAll =
        check("chkShowAll", QStringLiteral("Show All"), QString(), 5160, 120, 1095, 375, false);
    chkInView = check("chkInView", QStringLiteral("In View Only"),
                      QStringLiteral("Above horizons or all objects."), 6720, 120, 1335, 375, true);
    cmbLoc = comboBox("cmbLoc", QStringLiteral("Location selection tool."), 8520, 120, 3375, 360);

    chkNow = check("chkNow", QStringLiteral("Now"), QStringLiteral("Real-time selector"), 120, 600,
                   855, 375, true);
    FitCheckBoxGroup({chkShowAll, chkInView, chkNow});
    cmdSet = button("cmdSet", QStringLiteral("Set"),
                    QStringLiteral("Press to apply time keyed above."), 1080, 600, 735, 375);

    cmbDSO = comboBox("cmbDSO", QStringLiteral("Object selection tool."), 2040, 600, 6255, 360);
    // The chooser lines are fixed-width texts (designation, then comment), so they are shown in
    // a fixed-width font; the list drops out wide enough for whole lines.
    QFont chooserFont = QFontDatabase::systemFont(QFontDatabase::FixedFont);
    cmbDSO->setFont(chooserFont);
    chooserModel_ = new QStringListModel(this);
    cmbDSO->setModel(chooserModel_);
    auto* chooserView = new QListView(cmbDSO);
    chooserView->setUniformItemSizes(true);
    chooserView->setFont(chooserFont);
    cmbDSO->setView(chooserView);
    cmbDSO->setMaxVisibleItems(20);
    cmbDSO->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    chooserView->setMinimumWidth(QFontMetrics(chooserFont).horizontalAdvance(QString(91, u'M')) +
                                 chooserView->verticalScrollBar()->sizeHint().width());
    cmbDSO->setCurrentIndex(-1);
    chooserSearch_ = new ChooserSearch(cmbDSO, chooserModel_);

    cmdLocEdit =
        button("cmdLocEdit", QStringLiteral("Location Editor"),
               QStringLiteral("Press to edit the selected location."), 8520, 600, 1695, 375);
    cmdNewLoc = button("cmdNewLoc", QStringLiteral("New Location"),
                       QStringLiteral("Press to create a new location."), 10320, 600, 1575, 375);

    const QFont listFont = ObjectListFont();
    Label1 = new QLabel(ObjectListHeader(), this);
    place(Label1, "Label1", 1560, 1200, 9975, 300);
    Label1->setFont(listFont);
    // Two light backgrounds in turn, with dark text on both whatever the desktop's colours.
    const QColor evenRow(0xE3, 0xE3, 0xE3);
    const QColor oddRow(Qt::white);
    for (int i = 0; i < int(rows_.size()); ++i) {
        auto* row = new ObjectRowLabel(i, this);
        place(row, "lblObjList", 1560, 1485 + 300 * i, 10450, 300);
        row->setProperty("index", i);
        row->setFont(listFont);
        row->setToolTip(QStringLiteral("Click on this to clear item."));
        row->setAutoFillBackground(true);
        QPalette p = row->palette();
        p.setColor(QPalette::Window, i % 2 == 0 ? evenRow : oddRow);
        p.setColor(QPalette::WindowText, Qt::black);
        row->setPalette(p);
        row->setTextFormat(Qt::PlainText);
        row->setWordWrap(false);
        rows_[std::size_t(i)] = row;
    }

    chkMess = check("chkMess", QStringLiteral("Messier"),
                    QStringLiteral("Messier catalog selector"), 120, 1440, 1335, 375, true);
    chkHer = check("chkHer", QStringLiteral("Herschel 400"),
                   QStringLiteral("Herschel catalog selector"), 120, 1920, 1335, 375, false);
    chkCal = check("chkCal", QStringLiteral("Caldwell"),
                   QStringLiteral("Herschel catalog selector"), 120, 2400, 1335, 375, false);
    chkBNGC = check("chkBNGC", QStringLiteral("Best NGC"),
                    QStringLiteral("Herschel catalog selector"), 120, 2880, 1335, 375, false);
    chkSAC = check("chkSAC", QStringLiteral("SAC dateset"),
                   QStringLiteral("Herschel catalog selector"), 120, 3360, 1335, 375, false);
    chkNGC = check("chkNGC", QStringLiteral("NGC"), QStringLiteral("NGC catalog selector"), 120,
                   3840, 1335, 375, false);
    chkIC = check("chkIC", QStringLiteral("IC"), QStringLiteral("IC catalog selector"), 120, 4320,
                  1335, 375, false);
    chkPlanet = check("chkPlanet", QStringLiteral("Planets"), QStringLiteral("Not Implemented."),
                      120, 4800, 1335, 375, false);

    FitCheckBoxGroup({chkMess, chkHer, chkCal, chkBNGC, chkSAC, chkNGC, chkIC, chkPlanet});

    cmdGuide = button("cmdGuide", QStringLiteral("Guide Stars"), QString(), 120, 6600, 1335, 375);
    Command1 =
        button("Command1", QStringLiteral("Print Objects Over Time"),
               QStringLiteral("Product printou of the selected objects."), 120, 7080, 1335, 735);
    // Its caption breaks over two lines instead of shrinking.
    Command1->setFont(font());

    QFont statusFont = font();
    statusFont.setFamilies({QStringLiteral("MS Sans Serif"), font().family()});
    statusFont.setPointSize(12);
    statusFont.setBold(true);
    auto status = [&](const char* name, const QString& text, int left, int width) {
        auto* label = new QLabel(text, this);
        place(label, name, left, 8160, width, 375);
        label->setFont(statusFont);
        label->setAlignment(Qt::AlignCenter);
        label->setTextFormat(Qt::PlainText);
        showStatus(label, text);
        return label;
    };
    LblNow = status("LblNow", QStringLiteral("Date & Time"), 0, 3735);
    lblLocInfo = status("lblLocInfo", QStringLiteral("Location Information"), 3840, 3135);
    lblLocInfo->setProperty("index", 1);
    lblDSOstats = status("lblDSOstats", QStringLiteral("X of X object selectable"), 7080, 4935);

    Timer1 = new QTimer(this);
    Timer1->setObjectName(QStringLiteral("Timer1"));
    Timer1->setInterval(15000);
    Timer2 = new QTimer(this);
    Timer2->setObjectName(QStringLiteral("Timer2"));
    Timer2->setInterval(60000);

    // Keyboard order follows the layout: top row, second row, catalogue column, buttons.
    QWidget* order[] = {txtMonth,  txtDSOMaxMag, sbDsoMag, chkShowAll, chkInView, cmbLoc,
                        chkNow,    cmdSet,       cmbDSO,   cmdLocEdit, cmdNewLoc, chkMess,
                        chkHer,    chkCal,       chkBNGC,  chkSAC,     chkNGC,    chkIC,
                        chkPlanet, cmdGuide,     Command1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
}

void MainWindow::connectHandlers() {
    for (QCheckBox* box :
         {chkMess, chkHer, chkCal, chkBNGC, chkSAC, chkNGC, chkIC, chkShowAll, chkInView})
        connect(box, &QCheckBox::clicked, this, &MainWindow::catalogueBoxClicked);
    // chkPlanet has no handler.
    connect(chkNow, &QCheckBox::clicked, this, &MainWindow::chkNowClicked);
    connect(cmdSet, &QPushButton::clicked, this, &MainWindow::cmdSetClicked);
    connect(cmbLoc, &QComboBox::activated, this, &MainWindow::cmbLocClicked);
    connect(cmdLocEdit, &QPushButton::clicked, this, &MainWindow::cmdLocEditClicked);
    connect(cmdNewLoc, &QPushButton::clicked, this, &MainWindow::cmdNewLocClicked);
    connect(cmbDSO, &QComboBox::activated, this, &MainWindow::cmbDSOClicked);
    // A line found by typing is picked exactly as the same line picked from the full list.
    connect(chooserSearch_, &ChooserSearch::entryPicked, this, [this](int entry) {
        cmbDSO->setCurrentIndex(entry);
        cmbDSOClicked();
    });
    for (ObjectRowLabel* row : rows_)
        connect(row, &ObjectRowLabel::clicked, this, &MainWindow::rowClicked);
    connect(sbDsoMag, &QScrollBar::valueChanged, this, &MainWindow::sbDsoMagChanged);
    connect(cmdGuide, &QPushButton::clicked, this, &MainWindow::cmdGuideClicked);
    connect(Command1, &QPushButton::clicked, this, &MainWindow::command1Clicked);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1Tick);
    connect(Timer2, &QTimer::timeout, this, &MainWindow::Timer2Tick);
}

void MainWindow::showStatus(QLabel* label, const QString& text) {
    label->setText(text);
    // The three labels of the status line shrink together.
    std::vector<CaptionFit> line;
    for (QLabel* l : {LblNow, lblLocInfo, lblDSOstats})
        if (l && l != label) line.push_back({l, l->text(), 4});
    line.push_back({label, text, 4});
    FitCaptionGroup(line, 12, 8);
}

// --- activation --------------------------------------------------------------------------------

void MainWindow::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    if (!firstShowDone_) {
        firstShowDone_ = true;
        if (chkNow->isChecked() && !guideMode_) Timer1->start();
        Timer2->start();
        // Without a window manager (or with one that keeps the focus elsewhere) the window may
        // show without becoming active; the first activation steps run all the same.
        QTimer::singleShot(0, this, [this] {
            if (activationDue_) {
                activationDue_ = false;
                RunActivationSequence();
            }
        });
    }
}

void MainWindow::changeEvent(QEvent* event) {
    QWidget::changeEvent(event);
    // The first activation runs the sequence; returns from the program's own modal windows run
    // it in returnedFromModal. Coming back from another application or from a message box does
    // not re-apply anything.
    if (event->type() == QEvent::ActivationChange && isActiveWindow() && activationDue_) {
        activationDue_ = false;
        RunActivationSequence();
    }
}

void MainWindow::ShowModalWindow(QDialog& window) {
    window.setWindowModality(Qt::ApplicationModal);
    window.exec();
    returnedFromModal();
}

void MainWindow::returnedFromModal() {
    // Run here, once the modal window's own closing steps are done, rather than on the
    // activation change that follows: that may come before those steps, after them, or (without
    // a window manager) never, and the sequence must see the tables as the modal window left
    // them.
    activationDue_ = false;
    activateWindow();
    RunActivationSequence();
}

void MainWindow::RunActivationSequence() {
    ApplySite(GetCurrentSiteIndex(state_));
    SelectObjects();
    showStatus(LblNow, chkNow->isChecked() ? clockLabelText() : observingTimeText());
    ShowObjectList();
}

// --- selection and rows --------------------------------------------------------------------

void MainWindow::SelectObjects() {
    selectionAge_ = 0;
    BusyCursor busy;
    SelectionOptions options;
    options.messier = chkMess->isChecked();
    options.herschel = chkHer->isChecked();
    options.caldwell = chkCal->isChecked();
    options.bestNgc = chkBNGC->isChecked();
    options.sac = chkSAC->isChecked();
    options.ngc = chkNGC->isChecked();
    options.ic = chkIC->isChecked();
    options.showAll = chkShowAll->isChecked();
    options.inViewOnly = chkInView->isChecked();
    // A text that is no number (only "" or "." can be typed) counts as 0, as it would once the
    // box is left.
    options.magLimit = MagnitudeLimitValue(txtDSOMaxMag->text());
    const SelectionResult result = ::SelectObjects(state_, options);
    // One step through the model: the chooser is refilled without adding entries one by one.
    chooserModel_->setStringList(result.lines);
    cmbDSO->setCurrentIndex(-1);
    cmbDSO->setEditText(QString());
    showStatus(lblDSOstats, result.statsText);
}

void MainWindow::ShowObjectList() {
    const ObjectListRows rows = ::ShowObjectList(state_);
    for (int j = 0; j < ObjectListRowCount; ++j)
        if (rows.written[std::size_t(j)]) rows_[std::size_t(j)]->setText(rows.text[std::size_t(j)]);
}

void MainWindow::catalogueBoxClicked() {
    if (!leaveCheckPasses()) return;
    SelectObjects();
}

void MainWindow::cmbDSOClicked() {
    const int entry = cmbDSO->currentIndex();
    if (entry < 0) return;
    PickChooserEntry(state_, entry);
    ShowObjectList();
    ShowChooserFieldFromStart(cmbDSO);
}

void MainWindow::rowClicked(int index) {
    FreeListRow(state_, index);
    rows_[std::size_t(index)]->setText(FreedRowText());
}

void MainWindow::sbDsoMagChanged(int value) {
    txtDSOMaxMag->setText(MagnitudeTenthsText(value));
    SelectObjects();
}

void MainWindow::validateMagnitude() {
    if (MagnitudeTextIsEmpty(txtDSOMaxMag->text())) txtDSOMaxMag->setText(QStringLiteral("0.0"));
    const double v = MagnitudeLimitValue(txtDSOMaxMag->text()) * 10.0;
    // Only values strictly inside the scroll range move it; setting a new value runs its Change
    // handler at once (text rewritten, selection run).
    if (v > sbDsoMag->minimum() && v < sbDsoMag->maximum()) sbDsoMag->setValue(RoundHalfEven(v));
}

// --- sites -------------------------------------------------------------------------------------

void MainWindow::ApplySiteRecord(std::int16_t index) {
    if (index < 0 || std::size_t(index) >= state_.sites.size()) return;
    const SiteLocation& site = state_.sites[std::size_t(index)];
    const double latitude = DegMinToRadians(site.LatDeg, site.LatMin + site.LatSec / 60.0);
    const double longitude = DegMinToRadians(site.LonDeg, site.LonMin + site.LonSec / 60.0);
    SetObserverPosition(state_.sky, latitude, longitude);
    SetSiteClock(state_.sky, site.TimeZone, site.DST != 0);
    BuildHorizonProfile(state_.horizon, site.Horizon);
}

void MainWindow::ApplySite(std::int16_t index) {
    // Entries are added with the combo's own signals blocked (adding the first entry to an empty
    // combo would otherwise select it); the one selection this makes runs the Click on purpose.
    bool found = false;
    {
        const QSignalBlocker block(cmbLoc);
        cmbLoc->clear();
        cmbLoc->setEditText(kNoPrimaryLocation);
    }
    for (std::size_t i = 0; i < state_.sites.size(); ++i) {
        {
            const QSignalBlocker block(cmbLoc);
            cmbLoc->addItem(state_.sites[i].Name);
        }
        if (std::int16_t(i) == index) {
            found = true;
            showStatus(lblLocInfo, state_.sites[i].Name);
            ApplySiteRecord(index);
            {
                const QSignalBlocker block(cmbLoc);
                cmbLoc->setCurrentIndex(int(i));
            }
            cmbLocClicked();
        }
    }
    if (!found) {
        const QSignalBlocker block(cmbLoc);
        cmbLoc->setCurrentIndex(-1);
        cmbLoc->setEditText(kNoPrimaryLocation);
    }
}

void MainWindow::cmbLocClicked() {
    const int i = cmbLoc->currentIndex();
    if (i < 0 || std::size_t(i) >= state_.sites.size()) return;
    showStatus(lblLocInfo, state_.sites[std::size_t(i)].Name);
    ApplySiteRecord(std::int16_t(i));
    SelectObjects();
    ShowObjectList();
}

void MainWindow::cmdLocEditClicked() {
    if (!leaveCheckPasses()) return;
    int i = cmbLoc->currentIndex();
    // A name typed over the entry counts only when it names a site.
    if (i < 0 || cmbLoc->itemText(i) != cmbLoc->currentText())
        i = cmbLoc->findText(cmbLoc->currentText(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    // With no site chosen there is nothing to edit; rather than handing the editor an index it
    // would read as "new site in slot 1" (and so risk an existing site), the button then creates
    // a new site exactly like New Location. This also makes it useful when no site exists yet.
    if (i < 0 || std::size_t(i) >= state_.sites.size()) {
        cmdNewLocClicked();
        return;
    }
    SetCurrentSiteIndex(state_, std::int16_t(i));
    openLocationEditor(false);
}

void MainWindow::cmdNewLocClicked() {
    if (!leaveCheckPasses()) return;
    // The table is indexed by 16-bit values; a further record could not be addressed.
    if (state_.sites.size() >= 32767) return;
    state_.sites.push_back(SiteLocation{});
    const int slot = int(state_.sites.size()) - 1;
    // Minus the new index; for the very first site that is 0, which is why the editor is also
    // told explicitly that the record is new.
    SetCurrentSiteIndex(state_, std::int16_t(-slot));
    openLocationEditor(true);
}

void MainWindow::openLocationEditor(bool isNew) {
    // The editor takes its slot from the current site index; `isNew` marks slot 0 of an empty
    // table, whose minus is still 0.
    LocationWindow editor(state_, this, isNew);
    ShowModalWindow(editor);
}

// --- observing time ------------------------------------------------------------------------

QString MainWindow::clockLabelText() const {
    return CivilDateTimeText(state_.sky.clock->localNow()) + QStringLiteral(" (Now)");
}

QString MainWindow::observingTimeText() const {
    return CivilDateTimeText(state_.sky.ObservingTime);
}

void MainWindow::chkNowClicked() {
    if (!leaveCheckPasses()) return;
    if (chkNow->isChecked()) {
        SetObservingTime(state_.sky, QStringLiteral("Now"));
        showStatus(LblNow, clockLabelText());
        ShowObjectList();
        SelectObjects();
        if (!guideMode_) Timer1->start();
        txtMonth->setEnabled(false);
    } else {
        const QDateTime now = state_.sky.clock->localNow();
        if (txtMonth->text().isEmpty()) txtMonth->setText(CivilDateTimeText(now));
        // The instant freezes at the click; a text already in the box counts only after Set.
        SetObservingTime(state_.sky, now);
        ShowObjectList();
        SelectObjects();
        Timer1->stop();
        txtMonth->setEnabled(true);
        showStatus(LblNow, observingTimeText());
    }
}

void MainWindow::cmdSetClicked() {
    if (!leaveCheckPasses()) return;
    if (!IsCivilDateTime(txtMonth->text())) {
        ShowProgramMessage(this, QStringLiteral("Invalid Date"));
        return;
    }
    if (chkNow->isChecked()) return;
    SetObservingTime(state_.sky, txtMonth->text());
    SelectObjects();
    ShowObjectList();
    const QString text = observingTimeText();
    showStatus(LblNow, text);
    txtMonth->setText(text);
}

bool MainWindow::validateMonth() {
    return IsCivilDateTime(txtMonth->text());
}

void MainWindow::Timer1Tick() {
    showStatus(LblNow, clockLabelText());
    ShowObjectList();
}

void MainWindow::Timer2Tick() {
    ++selectionAge_;
    if (selectionAge_ > 4) SelectObjects();
}

// --- guide stars and printing ----------------------------------------------------------------

void MainWindow::cmdGuideClicked() {
    if (!leaveCheckPasses()) return;
    if (guideMode_) {
        for (ObjectRowLabel* row : rows_)
            row->setText(QString());
        guideMode_ = false;
        ShowObjectList();
        if (chkNow->isChecked()) Timer1->start();
        return;
    }
    // Read afresh at every press, so an edited star file counts at once. When it cannot be read,
    // the rows, the mode and the timer stay as they were.
    const GuideStarRows stars = ComputeGuideStarRows(state_.sky, GuideStarFilePath(state_.dataDir));
    if (!stars.ok) {
        ShowProgramMessage(this,
                           QStringLiteral("The guide stars cannot be shown.\n\n") + stars.error);
        return;
    }
    Timer1->stop();
    // Rows below the last star keep what they showed.
    for (int i = 0; i < stars.rows.size() && i < int(rows_.size()); ++i)
        rows_[std::size_t(i)]->setText(stars.rows[i]);
    guideMode_ = true;
}

void MainWindow::command1Clicked() {
    if (!leaveCheckPasses()) return;
    Printout dialog(state_, this);
    ShowModalWindow(dialog);
}

// --- key filters and leaving checks ----------------------------------------------------------

bool MainWindow::filterKey(QLineEdit* box, QKeyEvent* event) {
    // Escape puts back the last valid date text: the way out of a text that lost a separator.
    if (event->key() == Qt::Key_Escape && box == txtMonth) {
        monthTextKeeper_->restore();
        return true;
    }
    const TypedKey key = ClassifyKey(*event);
    switch (key.kind) {
    case KeyKind::Backspace:
    case KeyKind::Movement:
        return false;
    case KeyKind::Return:
        if (box == txtMonth) cmdSetClicked();
        return true;
    case KeyKind::Editing:
        return true;
    case KeyKind::Character:
        return box == txtMonth ? !DateCharacterPasses(key.character, box->text())
                               : !MagnitudeCharacterPasses(key.character, box->text());
    }
    return true;
}

void MainWindow::refuseFocusMove(QLineEdit* box, const QString& message) {
    // The focus has already gone to the control that was clicked or tabbed to. The press that
    // took it there is still on its way to that control and is dropped (see eventFilter), so a
    // clicked button does not act; then the message shows and the focus goes back to the box.
    refusingBox_ = box;
    refusalPending_ = true;
    qApp->installEventFilter(this);
    QPointer<QLineEdit> guarded(box);
    QMetaObject::invokeMethod(
        this,
        [this, guarded, message] {
            qApp->removeEventFilter(this);
            refusingBox_ = nullptr;
            ShowProgramMessage(this, message);
            // Without a window manager nobody hands the activation back after the message.
            activateWindow();
            if (guarded && guarded->isEnabled()) guarded->setFocus(Qt::OtherFocusReason);
            refusalPending_ = false;
        },
        Qt::QueuedConnection);
}

bool MainWindow::leaveCheckPasses() {
    // Clicks give the focus to the control first, so the box has been checked on its way out.
    // An accessibility action or a shortcut acts with the focus still in the box: its check runs
    // here, with the same message and the same refusal.
    bool passes = !refusalPending_;
    if (passes && focusWidget() == txtDSOMaxMag) validateMagnitude();
    if (passes && focusWidget() == txtMonth && txtMonth->isEnabled() && !validateMonth()) {
        ShowProgramMessage(this, QStringLiteral("Invalid Date"));
        txtMonth->setFocus(Qt::OtherFocusReason);
        passes = false;
    }
    // A refused check box keeps the state it had.
    auto* acting = qobject_cast<QAbstractButton*>(sender());
    if (!passes && acting && acting->isCheckable()) {
        const QSignalBlocker block(acting);
        acting->setChecked(!acting->isChecked());
    }
    return passes;
}

bool MainWindow::eventFilter(QObject* watched, QEvent* event) {
    if (refusingBox_) {
        const QEvent::Type t = event->type();
        if (t == QEvent::MouseButtonPress || t == QEvent::MouseButtonDblClick) {
            auto* w = qobject_cast<QWidget*>(watched);
            if (w && w->window() == this && w != refusingBox_) return true;
        }
    }

    auto* box = qobject_cast<QLineEdit*>(watched);
    if (box != txtMonth && box != txtDSOMaxMag) return QWidget::eventFilter(watched, event);

    switch (event->type()) {
    case QEvent::KeyPress:
        return filterKey(box, static_cast<QKeyEvent*>(event));
    case QEvent::InputMethod:
        // Text composed by an input method would arrive past the key filter.
        return true;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection on X11; pasting bypasses the key filter.
        return static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton;
    case QEvent::FocusIn:
        if (box == txtDSOMaxMag) {
            // After the click that brought the focus has placed the cursor.
            QPointer<QLineEdit> guarded(box);
            QTimer::singleShot(0, this, [guarded] {
                if (guarded && guarded->hasFocus()) guarded->selectAll();
            });
        }
        break;
    case QEvent::FocusOut: {
        const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
        // Switching windows or opening a popup does not leave the box for another control.
        if (reason == Qt::ActiveWindowFocusReason || reason == Qt::PopupFocusReason ||
            reason == Qt::MenuBarFocusReason)
            break;
        if (box == txtDSOMaxMag)
            validateMagnitude();
        else if (!validateMonth())
            refuseFocusMove(box, QStringLiteral("Invalid Date"));
        break;
    }
    default:
        break;
    }
    return QWidget::eventFilter(watched, event);
}
