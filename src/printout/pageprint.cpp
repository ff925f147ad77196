#include "kit/programmessage.h"
#include "printout/openprintout.h"
#include "printout/printout.h"

#include <QDir>
#include <QFileDialog>
#include <QFileInfo>
#include <QPainter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

// The printer the print dialog would offer first: the one it last printed to while it is
// installed, else the default one, else the first; the PDF file when that was last used or no
// printer is installed.
QString ChosenPrinter(const AppState& state) {
    const QStringList printers = QPrinterInfo::availablePrinterNames();
    const QString last = state.remembered.printer;
    if (printers.isEmpty() || last == Printout::PdfEntry) return Printout::PdfEntry;
    if (printers.contains(last)) return last;
    const QString standard = QPrinterInfo::defaultPrinterName();
    return printers.contains(standard) ? standard : printers.first();
}

} // namespace

bool PrintOnePage(AppState& state, QWidget* parent, const PagePrint& page) {
    PrintTarget target;
    const QString printer = ChosenPrinter(state);
    if (printer == Printout::PdfEntry) {
        const QString suggested = QDir(PdfFolder(state)).filePath(page.suggestedFileName);
        QString file =
            page.chooseFile
                ? page.chooseFile(parent, suggested)
                : QFileDialog::getSaveFileName(parent, QStringLiteral("Save as PDF"), suggested,
                                               QStringLiteral("PDF files (*.pdf)"));
        if (file.isEmpty()) return false;
        if (!file.endsWith(QLatin1String(".pdf"), Qt::CaseInsensitive))
            file += QLatin1String(".pdf");
        state.remembered.pdfFolder = QFileInfo(file).absolutePath();
        target.pdfFile = file;
    } else {
        target.printerName = printer;
    }
    const std::unique_ptr<QPrinter> device = OpenPrinter(target);
    const auto message = page.showMessage ? page.showMessage : MessageSink(&ShowProgramMessage);
    if (!device) {
        message(parent,
                target.isPdf()
                    ? QStringLiteral("The file %1 cannot be written.")
                          .arg(QDir::toNativeSeparators(target.pdfFile))
                    : QStringLiteral("The printer %1 cannot be opened.").arg(target.printerName));
        return false;
    }
    device->setDocName(page.documentName);
    QPainter painter;
    if (!painter.begin(device.get())) {
        message(parent, QStringLiteral("The print-out could not be started."));
        return false;
    }
    page.paint(painter, QRectF(QPointF(0, 0),
                               device->pageLayout().paintRectPixels(device->resolution()).size()));
    painter.end();
    return true;
}
