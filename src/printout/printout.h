#pragma once

#include "printout/paintersurface.h"
#include "sky/siteclock.h"
#include "state/appstate.h"

#include <QDateTime>
#include <QDialog>
#include <QLocale>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

// Opens the printer (or the PDF file) of a target for one job; nullptr when it cannot be opened.
using PrintSurfaceFactory = std::function<std::unique_ptr<PrintSurface>(const PrintTarget&)>;
// Asks where to write a PDF, suggesting a full path; an empty answer abandons the printing.
using PdfFileNameChooser = std::function<QString(QWidget* parent, const QString& suggestedPath)>;
// Shows a message with an OK button and the program's title.
using MessageSink = std::function<void(QWidget* parent, const QString& text)>;
// Asks a Yes/No question with the program's title; true for Yes.
using QuestionSink = std::function<bool(QWidget* parent, const QString& text)>;

// The "Print Over Time" window: start and stop time, the step in minutes and the printer for the
// printed chart of the object list. Modal; a fresh one is made for each opening, and both buttons
// close it. Cancel, Escape and the close box leave at once, without checking the boxes. It opens
// with the printer, times and step of the last print (kept between runs), else with the printer
// in force, the next three hours and 10 minutes.
class Printout : public QDialog {
    Q_OBJECT
public:
    // The list entry that writes a PDF file instead of printing; always offered, and the one
    // shown when no printer is installed.
    static const QString PdfEntry;

    Printout(AppState& state, QWidget* parent = nullptr);

    // Seams for tests and the bench: how the printer is opened, how the PDF name is chosen and
    // how messages are shown.
    void setSurfaceFactory(PrintSurfaceFactory factory) { surfaceFactory_ = std::move(factory); }
    void setPdfFileNameChooser(PdfFileNameChooser chooser) { chooseFile_ = std::move(chooser); }
    void setMessageSink(MessageSink sink) { showMessage_ = std::move(sink); }
    void setQuestionSink(QuestionSink sink) { askQuestion_ = std::move(sink); }

    // The PDF name offered first: the start date and time in the name, in the folder of the last
    // PDF or the data directory.
    QString SuggestedPdfPath() const;

    // Set by printing.
    std::int16_t ObjectsPerPage = 0;
    std::int16_t StepsPerPage = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void cmdPrint_Click();
    void cmdCancel_Click();
    // True when the key is dropped by the box's filter.
    bool RefusesKey(QLineEdit* box, const QString& typed) const;
    // The check made when the focus leaves a box; shows its message and returns false to keep
    // the focus there.
    bool CheckBox(QLineEdit* box);
    // The leave check of the box that has the focus, if it is one of the three.
    bool CheckFocusedBox(QWidget* goingTo);
    void Message(const QString& text);
    std::optional<CivilTime> ReadTime(const QLineEdit* box) const;

    AppState& state_;
    QLocale locale_;
    QComboBox* cboPrinter;
    QLabel* Label1;
    QLineEdit* txtStart;
    QLabel* Label2;
    QLineEdit* txtStop;
    QLabel* Label3;
    QLineEdit* txtInc;
    QLabel* Label4;
    QPushButton* cmdPrint;
    QPushButton* cmdCancel;
    QString allowedSeparators_;

    PrintSurfaceFactory surfaceFactory_;
    PdfFileNameChooser chooseFile_;
    MessageSink showMessage_;
    QuestionSink askQuestion_;
};

// The number at the start of an increment text, in minutes: leading blanks skipped, then digits;
// 0 when there are none. Very long numbers are capped far beyond any night.
qint64 IncrementMinutes(const QString& text);
