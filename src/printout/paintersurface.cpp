#include "printout/paintersurface.h"

#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetricsF>
#include <QPen>
#include <QPrinter>
#include <QPrinterInfo>
#include <QStringList>
#include <algorithm>

namespace {

// Letters, capitals and digits: the mix of a designation or a comment line.
const QString kWidthSample =
    QStringLiteral("abcdefghijklmnopqrstuvwxyz ABCDEFGHIJKLMNOPQRSTUVWXYZ 0123456789");

// Mean advance per character of the sample, in ems, for the faces the chart is laid out for:
// Courier is 0.6 em wide throughout, Arial Narrow averages 0.467 em over the sample.
constexpr double kCourierEmPerChar = 0.600;
constexpr double kNarrowEmPerChar = 0.467;
// Line height in ems of the same faces: Courier New 1.133, Arial Narrow 1.117.
constexpr double kCourierLineEm = 1.133;
constexpr double kNarrowLineEm = 1.117;

double EmPerChar(const QFont& font) {
    QFont probe(font);
    probe.setPixelSize(200);
    return QFontMetricsF(probe).horizontalAdvance(kWidthSample) / 200.0 / kWidthSample.size();
}

bool IsCondensed(const QFont& font) {
    const QString family = QFontInfo(font).family();
    return family.contains(QLatin1String("Narrow"), Qt::CaseInsensitive) ||
           family.contains(QLatin1String("Condensed"), Qt::CaseInsensitive);
}

// Narrows a font whose letters run wider than the face it stands in for.
void FitWidth(QFont& font, double targetEmPerChar) {
    const double actual = EmPerChar(font);
    if (actual > targetEmPerChar * 1.02) {
        const int stretch = static_cast<int>(100.0 * targetEmPerChar / actual);
        font.setStretch(qBound(50, stretch, 100));
    }
}

} // namespace

PainterSurface::PainterSurface(QPrinter& printer)
    : printer_(printer), resolution_(printer.resolution()) {}

PainterSurface::PainterSurface(std::unique_ptr<QPrinter> printer)
    : ownedPrinter_(std::move(printer)), printer_(*ownedPrinter_),
      resolution_(printer_.resolution()) {}

std::unique_ptr<QPrinter> OpenPrinter(const PrintTarget& target) {
    std::unique_ptr<QPrinter> printer;
    if (target.isPdf()) {
        // Find out now whether the file can be written; the PDF engine would fail silently.
        // Appending leaves a file that is there intact until the job really draws.
        QFile probe(target.pdfFile);
        if (!probe.open(QIODevice::WriteOnly | QIODevice::Append)) return nullptr;
        probe.close();
        printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setOutputFileName(target.pdfFile);
    } else {
        const QPrinterInfo info = QPrinterInfo::printerInfo(target.printerName);
        if (info.isNull()) return nullptr;
        printer = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
        if (!printer->isValid()) return nullptr;
    }
    return printer;
}

std::unique_ptr<PrintSurface> OpenPrinterSurface(const PrintTarget& target) {
    std::unique_ptr<QPrinter> printer = OpenPrinter(target);
    if (!printer) return nullptr;
    printer->setDocName(QStringLiteral("Zenitor objects over time"));
    return std::make_unique<PainterSurface>(std::move(printer));
}

PainterSurface::~PainterSurface() {
    if (painter_.isActive()) painter_.end();
}

QFont PainterSurface::ResolveFont(const QString& name, double points) {
    QFont font(name);
    font.setPointSizeF(points);
    if (name == QLatin1String("Courier")) {
        font.setStyleHint(QFont::TypeWriter);
        if (!QFontInfo(font).fixedPitch()) {
            font = QFontDatabase::systemFont(QFontDatabase::FixedFont);
            font.setPointSizeF(points);
        }
        FitWidth(font, kCourierEmPerChar);
    } else if (name == QLatin1String("Arial Narrow")) {
        font.setStyleHint(QFont::SansSerif);
        if (!IsCondensed(font)) {
            const QStringList candidates = {QStringLiteral("Liberation Sans Narrow"),
                                            QStringLiteral("Nimbus Sans Narrow"),
                                            QStringLiteral("DejaVu Sans Condensed")};
            for (const QString& family : candidates) {
                if (QFontDatabase::hasFamily(family)) {
                    font.setFamily(family);
                    break;
                }
            }
        }
        FitWidth(font, kNarrowEmPerChar);
    }
    return font;
}

void PainterSurface::setScaleInches() {
    // Every position is converted from inches on its way to the device; nothing to set.
}

double PainterSurface::printableWidthInches() const {
    return printer_.pageRect(QPrinter::DevicePixel).width() / resolution_;
}

double PainterSurface::printableHeightInches() const {
    return printer_.pageRect(QPrinter::DevicePixel).height() / resolution_;
}

PainterSurface::LineBox PainterSurface::LineBoxOf(const QString& name, double points,
                                                  const QFont& font, QPaintDevice* device) {
    const QFontMetricsF metrics(font, device);
    LineBox box{metrics.ascent(), metrics.lineSpacing()};
    // The rows of the chart hold two lines of Courier in 0.3 inch above the row rule, as the
    // faces it was laid out for space them. Stand-ins with taller line boxes (Nimbus Mono and
    // DejaVu Sans Mono reserve much room above their capitals) are spaced like the original so
    // that no rule runs through a line of text.
    double originalEm = 0;
    if (name == QLatin1String("Courier")) originalEm = kCourierLineEm;
    if (name == QLatin1String("Arial Narrow")) originalEm = kNarrowLineEm;
    const double limit = originalEm * points / 72.0 * device->logicalDpiY();
    if (originalEm > 0 && box.height > limit) {
        box.ascent *= limit / box.height;
        box.height = limit;
    }
    return box;
}

void PainterSurface::setFont(const QString& name, double points) {
    font_ = ResolveFont(name, points);
    line_ = LineBoxOf(name, points, font_, &printer_);
}

bool PainterSurface::beginDrawing() {
    if (!started_) {
        started_ = true;
        ok_ = painter_.begin(&printer_);
    }
    if (!ok_) return false;
    if (pagePending_) {
        printer_.newPage();
        pagePending_ = false;
    }
    return true;
}

void PainterSurface::printLine(const QString& text) {
    if (beginDrawing()) {
        painter_.setFont(font_);
        painter_.setPen(Qt::black);
        painter_.drawText(QPointF(toDevice(x_), toDevice(y_) + line_.ascent), text);
        y_ += line_.height / resolution_;
    }
    x_ = 0;
}

void PainterSurface::drawLine(double x1, double y1, double x2, double y2, int widthDots,
                              LineStyle style) {
    if (!beginDrawing()) return;
    const double width = std::max(1.0, widthDots * resolution_ / DotsPerInch);
    QPen pen(Qt::black, width, Qt::SolidLine, Qt::FlatCap);
    // Dash patterns are in pen widths; these give dots and dashes of a fixed size on paper.
    const auto pattern = [&](double onInches, double offInches) {
        pen.setDashPattern({toDevice(onInches) / width, toDevice(offInches) / width});
    };
    if (style == LineStyle::Dotted) {
        pattern(0.01, 0.03);
    } else if (style == LineStyle::Dashed && widthDots <= 1) {
        // Wider dashed lines print solid, as on the printers the chart was made for.
        pattern(0.06, 0.04);
    }
    painter_.setPen(pen);
    painter_.drawLine(QPointF(toDevice(x1), toDevice(y1)), QPointF(toDevice(x2), toDevice(y2)));
}

void PainterSurface::newPage() {
    // Deferred to the next drawing, so that a new page at the end leaves no blank sheet.
    if (started_) pagePending_ = true;
}

void PainterSurface::endJob() {
    if (painter_.isActive()) painter_.end();
    pagePending_ = false;
}
