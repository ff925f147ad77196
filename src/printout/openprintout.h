#pragma once

#include <QRectF>
#include <QString>
#include <functional>
#include <memory>

class QDialog;
class QPainter;
class QWidget;
struct AppState;

// The print-over-time dialog over the program's state; the caller shows it modally.
std::unique_ptr<QDialog> CreatePrintDialog(AppState& state, QWidget* parent);

// One page that a window draws itself, printed the way the print dialog prints: on the printer
// it last printed to (else the default one), or into a PDF file when that was its choice or no
// printer is installed.
struct PagePrint {
    QString documentName;
    QString suggestedFileName; // offered in the folder of the last PDF
    // Draws the page; `page` is the printable area in the painter's device pixels.
    std::function<void(QPainter& painter, const QRectF& page)> paint;
    // Replace the file dialog and the message box (tests); empty: the program's own.
    std::function<QString(QWidget* parent, const QString& suggestedPath)> chooseFile;
    std::function<void(QWidget* parent, const QString& text)> showMessage;
};
// False when nothing was printed (the file choice was cancelled, or a message said why).
bool PrintOnePage(AppState& state, QWidget* parent, const PagePrint& page);
