#include "mainwindow/mainwindow.h"

#include "kit/fitcaption.h"
#include "kit/inputrules.h"
#include "kit/programmessage.h"
#include "kit/twips.h"
#include "kit/wheelguard.h"
#include "kit/windowplace.h"
#include "locationeditor/openlocationeditor.h"
#include "mainwindow/choosersearch.h"
#include "objectlist/guidestars.h"
#include "objectlist/objectrows.h"
#include "objectlist/selection.h"
#include "printout/openprintout.h"
#include "sky/angles.h"
#include "sky/civiltime.h"
#include "sky/coordinates.h"
#include "sky/horizon.h"
#include "sky/skytime.h"

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
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QScrollBar>
#include <QShortcut>
#include <QSignalBlocker>
#include <QStringListModel>
#include <QStyleOptionButton>
#include <QStylePainter>
#include <QTimer>

namespace {

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

void ObjectRowLabel::setBehindHorizon(bool behind) {
    if (behind == behind_) return;
    behind_ = behind;
    QFont f = font();
    f.setItalic(behind);
    setFont(f);
    const QString behindText = QStringLiteral("Behind the local horizon at its azimuth.");
    setAccessibleDescription(behind ? behindText : QString());
    setToolTip((behind ? behindText + u' ' : QString()) +
               QStringLiteral("Click on this to clear item."));
    update();
}

void ObjectRowLabel::paintEvent(QPaintEvent* event) {
    QLabel::paintEvent(event);
    if (!behind_) return;
    QPainter painter(this);
    QColor hatch = palette().color(QPalette::WindowText);
    hatch.setAlpha(90);
    painter.fillRect(rect(), QBrush(hatch, Qt::BDiagPattern));
}

// ---------------------------------------------------------------------------------------------

MainWindow::MainWindow(AppState& state, QWidget* parent) : QWidget(parent), state_(state) {
    setObjectName(QStringLiteral("MainWindow"));
    setWindowTitle(QStringLiteral("Zenitor Ver:  0.0.1 B"));
    // The controls sit at fixed places, so the window keeps the size they were laid out for.
    SizeAndCentreWindow(this, 12000, 8535);
    buildControls();
    connectHandlers();
    applyRememberedChoices();
    watchRememberedChoices();
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
    // Ends short of the Tonight button at its right; the header text ends well before.
    place(Label1, "Label1", 1560, 1200, 8700, 300);
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
    chkPlanet = check("chkPlanet", QStringLiteral("Planets"),
                      QStringLiteral("Moon and planets selector"), 120, 4800, 1335, 375, false);

    // Under the catalogues, where the column has room: how every position is worked out.
    chkPrecise = check("chkPrecise", QStringLiteral("Precise"),
                       QStringLiteral("Precession, nutation, aberration and refraction"), 120, 5280,
                       1335, 375, false);

    FitCheckBoxGroup(
        {chkMess, chkHer, chkCal, chkBNGC, chkSAC, chkNGC, chkIC, chkPlanet, chkPrecise});

    cmdGuide = button("cmdGuide", QStringLiteral("Guide Stars"), QString(), 120, 6600, 1335, 375);
    Command1 =
        button("Command1", QStringLiteral("Print Objects Over Time"),
               QStringLiteral("Product printou of the selected objects."), 120, 7080, 1335, 735);
    // Its caption breaks over two lines instead of shrinking.
    Command1->setFont(font());
    cmdTonight =
        button("cmdTonight", QStringLiteral("Tonight"),
               QStringLiteral("Darkness, the Moon and the picked objects tonight (Ctrl+T)."), 10320,
               1080, 1575, 375);

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
    noteTimer_ = new QTimer(this);
    noteTimer_->setObjectName(QStringLiteral("NoteTimer"));
    noteTimer_->setSingleShot(true);
    noteTimer_->setInterval(8000);

    // Keyboard order follows the layout: top row, second row, catalogue column, buttons.
    QWidget* order[] = {txtMonth,  txtDSOMaxMag, sbDsoMag,   chkShowAll, chkInView, cmbLoc,
                        chkNow,    cmdSet,       cmbDSO,     cmdLocEdit, cmdNewLoc, chkMess,
                        chkHer,    chkCal,       chkBNGC,    chkSAC,     chkNGC,    chkIC,
                        chkPlanet, chkPrecise,   cmdTonight, cmdGuide,   Command1};
    for (std::size_t i = 1; i < std::size(order); ++i)
        setTabOrder(order[i - 1], order[i]);
    buildListControls();
}

void MainWindow::connectHandlers() {
    for (QCheckBox* box : {chkMess, chkHer, chkCal, chkBNGC, chkSAC, chkNGC, chkIC, chkPlanet,
                           chkShowAll, chkInView})
        connect(box, &QCheckBox::clicked, this, &MainWindow::catalogueBoxClicked);
    connect(chkNow, &QCheckBox::clicked, this, &MainWindow::chkNowClicked);
    connect(chkPrecise, &QCheckBox::clicked, this, &MainWindow::chkPreciseClicked);
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
    // The search also offers what the chooser does not list; such a line fills a row likewise.
    chooserSearch_->setUnlistedSource([this] {
        const UnlistedLines unlisted = UnlistedObjectLines(state_, lastSlotExamined_);
        return ChooserSearch::Unlisted{unlisted.lines, unlisted.storeIndexes};
    });
    connect(chooserSearch_, &ChooserSearch::storeObjectPicked, this,
            [this](int storeIndex, const QString& line) {
                PickStoreObject(state_, storeIndex);
                ShowObjectList();
                cmbDSO->setCurrentIndex(-1);
                cmbDSO->setEditText(line);
                ShowChooserFieldFromStart(cmbDSO);
                scheduleSave();
            });
    for (ObjectRowLabel* row : rows_)
        connect(row, &ObjectRowLabel::clicked, this, &MainWindow::rowClicked);
    connect(sbDsoMag, &QScrollBar::valueChanged, this, &MainWindow::sbDsoMagChanged);
    connect(cmdGuide, &QPushButton::clicked, this, &MainWindow::cmdGuideClicked);
    connect(Command1, &QPushButton::clicked, this, &MainWindow::command1Clicked);
    connect(cmdTonight, &QPushButton::clicked, this, &MainWindow::cmdTonightClicked);
    auto* tonightKey = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
    connect(tonightKey, &QShortcut::activated, this, &MainWindow::cmdTonightClicked);
    connect(Timer1, &QTimer::timeout, this, &MainWindow::Timer1Tick);
    connect(Timer2, &QTimer::timeout, this, &MainWindow::Timer2Tick);
    connect(noteTimer_, &QTimer::timeout, this, [this] { showStatus(lblDSOstats, statsText_); });
    auto* putBack = new QShortcut(QKeySequence::Undo, this);
    connect(putBack, &QShortcut::activated, this, &MainWindow::putBackFreedRow);
    // In the site box and the chooser's field Ctrl+Z would undo typing; while a freed row can be
    // put back, it puts the row back instead (see eventFilter).
    for (QComboBox* combo : {cmbLoc, cmbDSO}) {
        combo->installEventFilter(
            this); // it hands the key to its field without the field's filters
        combo->lineEdit()->installEventFilter(this);
    }
}

void MainWindow::showStatus(QLabel* label, const QString& text) {
    label->setWordWrap(false);
    label->setText(text);
    // The three labels of the status line shrink together; a warning over two lines keeps its own
    // size (see showStatusWarning).
    std::vector<CaptionFit> line;
    for (QLabel* l : {LblNow, lblLocInfo, lblDSOstats})
        if (l && l != label && !l->wordWrap()) line.push_back({l, l->text(), 4});
    line.push_back({label, text, 4});
    FitCaptionGroup(line, 12, 8);
}

void MainWindow::showStatusWarning(QLabel* label, const QString& text) {
    // Too long for one line of the status line's place: two lines, at the largest size that
    // lets them fit.
    label->setWordWrap(true);
    label->setText(text);
    QFont font = label->font();
    for (double points = 10; points >= 6; points -= 0.5) {
        font.setPointSizeF(points);
        const QRect need = QFontMetrics(font).boundingRect(
            QRect(0, 0, label->width() - 4, 10000), Qt::TextWordWrap | Qt::AlignCenter, text);
        if (need.height() <= label->height()) break;
    }
    label->setFont(font);
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
            tellUnreadableChoices();
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

void MainWindow::ShowModalWindow(QDialog& window, const std::function<void()>& closed) {
    window.setWindowModality(Qt::ApplicationModal);
    PutWindowAt(&window, RememberedPlace(state_.remembered, window.objectName()));
    window.exec();
    if (closed) closed();
    // The window may also have changed the remembered print choices.
    state_.remembered.windowPlaces[window.objectName()] = WindowPlace(&window);
    scheduleSave();
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
