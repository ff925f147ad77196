#include "printout/printout.h"

#include "kit/programmessage.h"
#include "kit/wheelguard.h"
#include "printout/printjob.h"
#include "sky/civiltime.h"
#include "sky/skytime.h"

#include <QComboBox>
#include <QDir>
#include <QEvent>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPrinterInfo>
#include <QPushButton>
#include <QStandardPaths>

namespace {

// A job of more sheets than this is put out only after the observer agrees: a stop time typed
// years late would otherwise freeze the window for minutes and fill the printer or the disk.
constexpr qint64 kSheetsWithoutAsking = 25;

// Far beyond any night, yet small enough that stepping by it stays inside the calendar.
constexpr qint64 kMaxIncrementMinutes = 100000000;

// "0" to "9" only: other scripts' digits would pass a Unicode test.
bool IsDigit(QChar c) {
    return c >= QLatin1Char('0') && c <= QLatin1Char('9');
}

bool IsBlankSeparatorOrDigit(QChar c, const QString& separators) {
    return IsDigit(c) || c == QLatin1Char(' ') || separators.contains(c);
}

} // namespace

const QString Printout::PdfEntry = QStringLiteral("PDF file");

qint64 IncrementMinutes(const QString& text) {
    qint64 value = 0;
    int i = 0;
    while (i < text.size() && text.at(i) == QLatin1Char(' '))
        ++i;
    for (; i < text.size() && text.at(i) >= QLatin1Char('0') && text.at(i) <= QLatin1Char('9'); ++i)
        value = std::min(kMaxIncrementMinutes, value * 10 + (text.at(i).unicode() - u'0'));
    return value;
}

Printout::Printout(AppState& state, QWidget* parent)
    : QDialog(parent), state_(state), locale_(QLocale()), surfaceFactory_(&OpenPrinterSurface),
      chooseFile_([](QWidget* parent, const QString& suggested) {
          return QFileDialog::getSaveFileName(parent, QStringLiteral("Save the print-out as PDF"),
                                              suggested, QStringLiteral("PDF files (*.pdf)"));
      }),
      showMessage_(&ShowProgramMessage), askQuestion_(&AskProgramQuestion) {
    setObjectName(QStringLiteral("Printout"));
    setWindowTitle(QStringLiteral("Print Over Time"));
    setModal(true);

    const QFont labelFont(QStringLiteral("MS Sans Serif"), 12);
    const auto makeLabel = [&](const char* name, const QString& text) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setFont(labelFont);
        return label;
    };
    const auto makeBox = [&](const char* name) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QLatin1String(name));
        // Text comes in only through the key filter: no pasting by menu or drop.
        box->setContextMenuPolicy(Qt::NoContextMenu);
        box->setAcceptDrops(false);
        return box;
    };

    cboPrinter = new QComboBox(this);
    cboPrinter->setObjectName(QStringLiteral("cboPrinter"));
    KeepWheelToFocusedControl(cboPrinter);
    Label1 = makeLabel("Label1", QStringLiteral("Start Date and Time"));
    txtStart = makeBox("txtStart");
    Label2 = makeLabel("Label2", QStringLiteral("Stop Date and Time"));
    txtStop = makeBox("txtStop");
    Label3 = makeLabel("Label3", QStringLiteral("Increment"));
    txtInc = makeBox("txtInc");
    Label4 = makeLabel("Label4", QStringLiteral("(in minutes)"));
    cmdPrint = new QPushButton(QStringLiteral("Print"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));
    cmdCancel = new QPushButton(QStringLiteral("Cancel"), this);
    cmdCancel->setObjectName(QStringLiteral("cmdCancel"));
    // Enter in a box does not print; only the button does.
    cmdPrint->setAutoDefault(false);
    cmdCancel->setAutoDefault(false);

    auto* grid = new QGridLayout(this);
    grid->addWidget(cboPrinter, 0, 0, 1, 3);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(txtStart, 1, 1, 1, 2);
    grid->addWidget(Label2, 2, 0);
    grid->addWidget(txtStop, 2, 1, 1, 2);
    grid->addWidget(Label3, 3, 0);
    grid->addWidget(txtInc, 3, 1);
    grid->addWidget(Label4, 3, 2);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdPrint);
    buttons->addWidget(cmdCancel);
    grid->addLayout(buttons, 4, 0, 1, 3);
    txtStart->setMinimumWidth(txtStart->fontMetrics().horizontalAdvance(QLatin1Char('0')) * 26);

    // The focus moves only after the box being left has passed its check: a click gives the
    // focus from the event filter (controls take no focus by themselves on a click), and a
    // refused click is dropped, so a clicked button does not act after a message.
    for (QWidget* w : {static_cast<QWidget*>(cboPrinter), static_cast<QWidget*>(txtStart),
                       static_cast<QWidget*>(txtStop), static_cast<QWidget*>(txtInc),
                       static_cast<QWidget*>(cmdPrint), static_cast<QWidget*>(cmdCancel)}) {
        w->setFocusPolicy(Qt::TabFocus);
        w->installEventFilter(this);
    }
    setTabOrder(cboPrinter, txtStart);
    setTabOrder(txtStart, txtStop);
    setTabOrder(txtStop, txtInc);
    setTabOrder(txtInc, cmdPrint);
    setTabOrder(cmdPrint, cmdCancel);

    // The window is made fresh for each opening, so this is its activation. It starts at the
    // instant in use (the present at the site in Now mode, else the typed one) and runs for as
    // long as the last print did, three hours before any print: a chart of last night's dates
    // is rarely what the observer wants tonight.
    const CivilTime now = CivilInstant(state_.sky);
    const RememberedChoices& remembered = state_.remembered;
    qint64 span = 3 * 3600;
    if (remembered.printStart.isValid() && remembered.printStart < remembered.printStop)
        span = remembered.printStart.secsTo(remembered.printStop);
    txtStart->setText(CivilDateTimeText(now, locale_));
    txtStop->setText(CivilDateTimeText(now.addSecs(span), locale_));
    txtInc->setText(QStringLiteral("10"));
    if (remembered.printStepMinutes > 0)
        txtInc->setText(QString::number(remembered.printStepMinutes));

    // Besides ":", "/" and the blank, the boxes take the separators of the locale's own
    // date-time text (for example "." or "-"), so that the text written here can be retyped.
    allowedSeparators_ = QStringLiteral(":/");
    for (const QChar c : txtStart->text())
        if (!c.isLetterOrNumber() && !c.isSpace() && !allowedSeparators_.contains(c))
            allowedSeparators_ += c;

    // Installed printers in the platform's order, then the PDF file. The default printer is
    // shown; without one the first printer, and without any printer the PDF file.
    const QList<QPrinterInfo> printers = QPrinterInfo::availablePrinters();
    for (const QPrinterInfo& printer : printers)
        cboPrinter->addItem(printer.printerName());
    cboPrinter->addItem(PdfEntry);
    int current = printers.isEmpty() ? cboPrinter->count() - 1 : 0;
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    if (!defaultName.isEmpty()) {
        const int found = cboPrinter->findText(defaultName, Qt::MatchExactly);
        if (found >= 0) current = found;
    }
    if (const int last = cboPrinter->findText(remembered.printer, Qt::MatchExactly);
        !remembered.printer.isEmpty() && last >= 0)
        current = last;
    cboPrinter->setCurrentIndex(current);

    connect(cmdPrint, &QPushButton::clicked, this, &Printout::cmdPrint_Click);
    connect(cmdCancel, &QPushButton::clicked, this, &Printout::cmdCancel_Click);
}

QString Printout::SuggestedPdfPath() const {
    const CivilTime start = ReadTime(txtStart).value_or(CivilInstant(state_.sky));
    const QString name = QStringLiteral("zenitor-objects-%1-%2.pdf")
                             .arg(start.date().toString(QStringLiteral("yyyy-MM-dd")),
                                  start.time().toString(QStringLiteral("HHmm")));
    // In the folder of the last PDF while it is there; else beside the program when its folder
    // can be written (a build tree), else among the user's documents (an installed program).
    QString folder = state_.remembered.pdfFolder;
    if (folder.isEmpty() || !QFileInfo(folder).isDir()) folder = state_.dataDir;
    if (!QFileInfo(folder).isWritable())
        folder = QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
    return QDir(folder).filePath(name);
}

std::optional<CivilTime> Printout::ReadTime(const QLineEdit* box) const {
    return ParseCivilDateTime(box->text(), locale_);
}

void Printout::Message(const QString& text) {
    showMessage_(this, text);
}

bool Printout::RefusesKey(QLineEdit* box, const QString& typed) const {
    // Only typed characters are filtered; Backspace, editing keys, Tab and shortcuts pass.
    if (typed.isEmpty()) return false;
    // Several characters from one key (repeats run together, a composed sequence) are refused
    // whole: the rules below judge one character.
    if (typed.size() > 1) return true;
    const QChar c = typed.at(0);
    if (c.category() == QChar::Other_Control) return false;
    if (box == txtInc) return !IsDigit(c);
    if (!IsBlankSeparatorOrDigit(c, allowedSeparators_)) return true;
    // The stop box takes no digit while it holds exactly two characters.
    if (box == txtStop && box->text().size() == 2 && IsDigit(c)) return true;
    return false;
}

bool Printout::CheckBox(QLineEdit* box) {
    bool ok = true;
    if (box == txtInc) {
        if (IncrementMinutes(box->text()) <= 0) {
            Message(QStringLiteral("Invalid Increment"));
            ok = false;
        }
    } else if (box == txtStart || box == txtStop) {
        const std::optional<CivilTime> own = ReadTime(box);
        if (!own) {
            Message(QStringLiteral("Invalid Date"));
            ok = false;
        } else {
            // The order is checked once both texts read as dates; a bad other text gets its
            // own message when that box is left.
            const std::optional<CivilTime> start = box == txtStart ? own : ReadTime(txtStart);
            const std::optional<CivilTime> stop = box == txtStop ? own : ReadTime(txtStop);
            if (start && stop && start->secsTo(*stop) <= 0) {
                Message(QStringLiteral("Start must be before stop"));
                ok = false;
            }
        }
    }
    if (!ok) box->setFocus(Qt::OtherFocusReason);
    return ok;
}

bool Printout::CheckFocusedBox(QWidget* goingTo) {
    QWidget* focused = focusWidget();
    for (QLineEdit* box : {txtStart, txtStop, txtInc})
        if (focused == box && goingTo != box) return CheckBox(box);
    return true;
}

bool Printout::eventFilter(QObject* watched, QEvent* event) {
    switch (event->type()) {
    case QEvent::KeyPress: {
        auto* box = qobject_cast<QLineEdit*>(watched);
        if (!box) break;
        auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Tab || key->key() == Qt::Key_Backtab) {
            if (!CheckBox(box)) return true;
            break;
        }
        // A paste would put its text in past the filter.
        if (key->matches(QKeySequence::Paste)) return true;
        if (key->key() == Qt::Key_Backspace) break;
        // Ctrl or Meta alone make a shortcut (select all, copy, undo ...) that types nothing;
        // with Alt (Ctrl+Alt is AltGr on some systems) a key types its character.
        const Qt::KeyboardModifiers mods =
            key->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier);
        if (mods == Qt::ControlModifier || mods == Qt::MetaModifier) break;
        if (RefusesKey(box, key->text())) return true;
        break;
    }
    case QEvent::InputMethod:
        // Text composed by an input method would arrive past the key filter.
        if (qobject_cast<QLineEdit*>(watched)) return true;
        break;
    case QEvent::MouseButtonRelease:
        // The middle button pastes the selection when it is let go (X11).
        if (qobject_cast<QLineEdit*>(watched) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
            return true;
        break;
    case QEvent::MouseButtonPress:
    case QEvent::MouseButtonDblClick: {
        auto* widget = qobject_cast<QWidget*>(watched);
        if (!widget) break;
        if (qobject_cast<QLineEdit*>(widget) &&
            static_cast<QMouseEvent*>(event)->button() == Qt::MiddleButton)
            return true;
        // Cancel is a way out whatever the boxes hold: it neither checks the box being left
        // nor takes the focus from it.
        if (widget == cmdCancel) break;
        if (!CheckFocusedBox(widget)) return true;
        if (widget->isEnabled()) widget->setFocus(Qt::MouseFocusReason);
        break;
    }
    default:
        break;
    }
    return QDialog::eventFilter(watched, event);
}

void Printout::cmdCancel_Click() {
    // Like Escape and the close box, Cancel leaves without a check: nothing is applied.
    reject();
}

void Printout::cmdPrint_Click() {
    // Reached by a click or by Space on the focused button, after the leave checks; the job
    // still needs all three values, so they are read and checked again.
    for (QLineEdit* box : {txtStart, txtStop, txtInc})
        if (!CheckBox(box)) return;
    const CivilTime start = *ReadTime(txtStart);
    const CivilTime stop = *ReadTime(txtStop);
    const qint64 increment = IncrementMinutes(txtInc->text());
    RememberedChoices& remembered = state_.remembered;
    remembered.printer = cboPrinter->currentText();
    remembered.printStart = start;
    remembered.printStop = stop;
    remembered.printStepMinutes = increment;

    if (!PrintJob::HasListedObjects(state_.listSlots)) {
        // Nothing would ever be printed; say so and close as after a print.
        Message(QStringLiteral("There are no objects in the list to print."));
        accept();
        return;
    }

    PrintTarget target;
    if (cboPrinter->currentText() == PdfEntry) {
        QString file = chooseFile_(this, SuggestedPdfPath());
        if (file.isEmpty()) return; // the save dialog was cancelled: back to the window
        if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            file += QLatin1String(".pdf");
        remembered.pdfFolder = QFileInfo(file).absolutePath();
        target.pdfFile = file;
    } else {
        target.printerName = cboPrinter->currentText();
    }

    const bool pdfExisted = target.isPdf() && QFileInfo::exists(target.pdfFile);
    std::unique_ptr<PrintSurface> surface = surfaceFactory_(target);
    if (!surface) {
        Message(target.isPdf()
                    ? QStringLiteral("The file %1 cannot be written.")
                          .arg(QDir::toNativeSeparators(target.pdfFile))
                    : QStringLiteral("The printer %1 cannot be opened.").arg(target.printerName));
        return;
    }
    PrintJob job(state_, *surface, start, stop, increment, locale_);
    const qint64 sheets = job.SheetCount();
    if (sheets > kSheetsWithoutAsking &&
        !askQuestion_(this,
                      QStringLiteral("This print-out takes %1 sheets.  Print it?").arg(sheets))) {
        surface.reset();
        // Opening the PDF only made sure it can be written: a new file goes again, an old one
        // stays as it was.
        if (target.isPdf() && !pdfExisted) QFile::remove(target.pdfFile);
        return;
    }
    job.Run();
    ObjectsPerPage = job.ObjectsPerPage;
    StepsPerPage = job.StepsPerPage;
    accept();
}
