#include "tonight/nightplot.h"

#include "kit/nightvision.h"
#include "night/nightclock.h"

#include <QFontMetricsF>
#include <QPainter>
#include <QPainterPath>
#include <cmath>

namespace {

constexpr double RadToDegrees = 180.0 / 3.14159265358979323846;

// Line colours of the objects, told apart in day light; the night display keeps them apart by
// their dashes and brightness.
const QColor LineColours[] = {QColor(0, 90, 200),  QColor(200, 60, 0),  QColor(0, 140, 60),
                              QColor(150, 0, 150), QColor(150, 110, 0), QColor(0, 130, 140),
                              QColor(90, 90, 90),  QColor(200, 0, 80)};

// The sky behind the plot by the Sun's altitude: day, civil, nautical, astronomical twilight,
// night.
QColor SkyShade(double sunAltitude) {
    const double deg = sunAltitude * RadToDegrees;
    if (deg >= -50.0 / 60) return QColor(255, 250, 225);
    if (deg >= -6) return QColor(215, 225, 245);
    if (deg >= -12) return QColor(170, 185, 225);
    if (deg >= -18) return QColor(125, 140, 195);
    return QColor(85, 95, 150);
}

class Frame {
public:
    Frame(const QRectF& plot, double from, double to) : plot_(plot), from_(from), to_(to) {}
    double x(double days) const {
        return plot_.left() + (days - from_) / (to_ - from_) * plot_.width();
    }
    double y(double altitude) const {
        const double deg = std::clamp(altitude * RadToDegrees, 0.0, 90.0);
        return plot_.bottom() - deg / 90 * plot_.height();
    }
    const QRectF& plot() const { return plot_; }

private:
    QRectF plot_;
    double from_, to_;
};

void PaintShading(QPainter& p, const Frame& f, const NightEvents& night, bool dark) {
    // Without smoothing the bands meet without seams.
    p.setRenderHint(QPainter::Antialiasing, false);
    const auto& s = night.samples;
    for (std::size_t i = 0; i + 1 < s.size(); ++i) {
        QColor c = SkyShade((s[i].sun + s[i + 1].sun) / 2);
        if (dark) c = NightShade(c);
        const double x0 = f.x(s[i].days), x1 = f.x(s[i + 1].days);
        p.fillRect(QRectF(x0, f.plot().top(), x1 - x0 + 1, f.plot().height()), c);
    }
    p.setRenderHint(QPainter::Antialiasing, true);
}

void PaintAxes(QPainter& p, const Frame& f, const NightPlotData& data, const QColor& ink) {
    const QRectF& r = f.plot();
    const QFontMetricsF metrics(p.font());
    QPen grid(ink, 0, Qt::DotLine);
    for (int deg = 0; deg <= 90; deg += 15) {
        const double y = f.y(deg / RadToDegrees);
        p.setPen(grid);
        p.drawLine(QPointF(r.left(), y), QPointF(r.right(), y));
        p.setPen(ink);
        const QString label = QStringLiteral("%1\u00b0").arg(deg);
        p.drawText(
            QPointF(r.left() - metrics.horizontalAdvance(label) - 4, y + metrics.ascent() / 3),
            label);
    }
    // Whole hours of the site's civil time along the bottom; every other one when crowded.
    const double from = data.night.from, to = data.night.to;
    const CivilTime start = DaysToCivil(data.sky, from);
    CivilTime hour(start.date(), QTime(start.time().hour(), 0));
    const double hours = (to - from) * 24;
    const double perHour = r.width() / std::max(1.0, hours);
    const double labelWidth = metrics.horizontalAdvance(QStringLiteral("00:00")) * 1.5;
    int every = 12;
    for (int step : {1, 2, 3, 6, 12})
        if (perHour * step >= labelWidth) {
            every = step;
            break;
        }
    for (int i = 0; i <= int(hours) + 1; ++i, hour = hour.addSecs(3600)) {
        const double days = CivilToDays(data.sky, hour);
        if (days < from || days > to || hour.time().hour() % every != 0) continue;
        const double x = f.x(days);
        p.setPen(grid);
        p.drawLine(QPointF(x, r.top()), QPointF(x, r.bottom()));
        p.setPen(ink);
        const QString label = hour.time().toString(QStringLiteral("HH:mm"));
        p.drawText(
            QPointF(x - metrics.horizontalAdvance(label) / 2, r.bottom() + metrics.ascent() + 3),
            label);
    }
    p.setPen(QPen(ink, 1));
    p.drawRect(r);
}

QPolygonF Polyline(const Frame& f, const std::vector<ObjectNight>::value_type& object,
                   bool horizon) {
    QPolygonF line;
    for (const PathPoint& point : object.path)
        line << QPointF(f.x(point.days), f.y(horizon ? point.horizon : point.altitude));
    return line;
}

void PaintObject(QPainter& p, const Frame& f, const ObjectNight& object, const QColor& colour,
                 const QColor& paper, std::vector<QRectF>& labels) {
    if (object.path.empty()) return;
    p.setPen(QPen(colour, 1, Qt::DotLine));
    p.drawPolyline(Polyline(f, object, true));
    p.setPen(QPen(colour, 2));
    p.drawPolyline(Polyline(f, object, false));
    // The label at the path's highest point inside the plot, moved down past labels already
    // placed.
    const auto top = std::max_element(
        object.path.begin(), object.path.end(),
        [](const PathPoint& a, const PathPoint& b) { return a.altitude < b.altitude; });
    if (top->altitude <= 0) return;
    const QFontMetricsF metrics(p.font());
    QRectF box(0, 0, metrics.horizontalAdvance(object.designation) + 4, metrics.height());
    box.moveCenter(QPointF(f.x(top->days), f.y(top->altitude) - metrics.height() / 2 - 2));
    if (box.left() < f.plot().left()) box.moveLeft(f.plot().left() + 2);
    if (box.right() > f.plot().right()) box.moveRight(f.plot().right() - 2);
    if (box.top() < f.plot().top()) box.moveTop(f.plot().top() + 2);
    for (int tries = 0; tries < 20; ++tries) {
        const bool overlaps = std::any_of(labels.begin(), labels.end(), [&](const QRectF& other) {
            return other.intersects(box);
        });
        if (!overlaps) break;
        box.translate(0, metrics.height());
    }
    labels.push_back(box);
    p.fillRect(box, paper);
    p.setPen(colour);
    p.drawText(box, Qt::AlignCenter, object.designation);
}

void PaintMoon(QPainter& p, const Frame& f, const NightEvents& night, const QColor& ink) {
    QPolygonF line;
    for (const NightEvents::Sample& s : night.samples)
        line << QPointF(f.x(s.days), f.y(s.moon));
    p.setPen(QPen(ink, 2, Qt::DashLine));
    p.drawPolyline(line);
}

} // namespace

void PaintNightPlot(QPainter& p, const QRectF& area, const NightPlotData& data, bool night) {
    p.save();
    p.setRenderHint(QPainter::Antialiasing);
    const QFontMetricsF metrics(p.font());
    const QRectF plot =
        area.adjusted(metrics.horizontalAdvance(QStringLiteral("90\u00b0")) + 8,
                      metrics.height() / 2, -metrics.height() / 2, -metrics.height() - 6);
    const QColor ink = night ? NightShade(Qt::black) : QColor(Qt::black);
    if (plot.width() < 20 || plot.height() < 20 || !(data.night.to > data.night.from)) {
        p.restore();
        return;
    }
    const Frame frame(plot, data.night.from, data.night.to);
    PaintShading(p, frame, data.night, night);
    PaintAxes(p, frame, data, ink);
    p.setClipRect(plot);
    PaintMoon(p, frame, data.night, ink);
    // Labels stand on a patch of paper so that they read over lines and shading.
    const QColor paper = night ? QColor(20, 0, 0) : QColor(255, 255, 255, 220);
    std::vector<QRectF> labels;
    for (std::size_t i = 0; i < data.objects.size(); ++i) {
        const QColor colour = LineColours[i % std::size(LineColours)];
        PaintObject(p, frame, data.objects[i], night ? NightShade(colour) : colour, paper, labels);
    }
    p.restore();
}

NightPlot::NightPlot(QWidget* parent) : QWidget(parent) {
    setObjectName(QStringLiteral("plotNight"));
    setMinimumSize(320, 200);
    WhenNightVisionSwitches(this, [this] { update(); });
}

void NightPlot::setData(const NightPlotData& data) {
    data_ = data;
    update();
}

void NightPlot::paintEvent(QPaintEvent*) {
    QPainter p(this);
    PaintNightPlot(p, QRectF(rect()), data_, NightVisionOn());
}
