#include "tonight/tonightwindow.h"

#include "night/nighttext.h"

#include <QFontMetricsF>
#include <QPainter>

// The printed page: the headline, the night's events, the objects and the plot under them.

namespace {

// Writes rows of texts in columns wide enough for their longest text, from the top of `area`;
// returns the height used.
double PaintColumns(QPainter& p, const QRectF& area, const std::vector<QStringList>& rows,
                    bool boldFirstRow) {
    const QFontMetricsF metrics(p.font());
    std::vector<double> widths;
    for (const QStringList& row : rows)
        for (int i = 0; i < row.size(); ++i) {
            if (std::size_t(i) >= widths.size()) widths.push_back(0);
            widths[std::size_t(i)] = std::max(widths[std::size_t(i)],
                                              metrics.horizontalAdvance(row[i]) + metrics.height());
        }
    double y = area.top();
    for (std::size_t r = 0; r < rows.size(); ++r) {
        QFont font = p.font();
        font.setBold(boldFirstRow && r == 0);
        p.setFont(font);
        double x = area.left();
        for (int i = 0; i < rows[r].size(); ++i) {
            p.drawText(QRectF(x, y, std::max(0.0, area.right() - x), metrics.height()),
                       Qt::AlignLeft | Qt::AlignVCenter, rows[r][i]);
            x += widths[std::size_t(i)];
        }
        y += metrics.height();
    }
    QFont font = p.font();
    font.setBold(false);
    p.setFont(font);
    return y - area.top();
}

} // namespace

void TonightWindow::PrintPage(QPainter& p, const QRectF& page) const {
    p.save();
    QFont font(QStringLiteral("Liberation Sans"));
    font.setPointSizeF(9);
    p.setFont(font);
    p.setPen(Qt::black);
    const QFontMetricsF metrics(font);
    double y = page.top();

    QFont head = font;
    head.setPointSizeF(12);
    head.setBold(true);
    p.setFont(head);
    const QString title = QStringLiteral("Tonight: ") + NightHeadline(data_.sky, data_.night);
    p.drawText(QRectF(page.left(), y, page.width(), QFontMetricsF(head).height()), title);
    y += QFontMetricsF(head).height() * 1.5;
    p.setFont(font);

    std::vector<QStringList> nightRows;
    for (const NightLine& line : NightLines(data_.sky, data_.night))
        nightRows.push_back({line.label, line.value});
    y += PaintColumns(p, QRectF(page.left(), y, page.width(), page.bottom() - y), nightRows, false);
    y += metrics.height();

    std::vector<QStringList> objectRows{ObjectColumnTitles()};
    for (const ObjectNight& object : data_.objects)
        objectRows.push_back(ObjectLineTexts(data_.sky, object));
    y += PaintColumns(p, QRectF(page.left(), y, page.width(), page.bottom() - y), objectRows, true);
    y += metrics.height();

    // The plot takes the rest of the page, at most two thirds of its width high.
    const double height = std::min(page.bottom() - y, page.width() * 2 / 3);
    PaintNightPlot(p, QRectF(page.left(), y, page.width(), height), data_, false);
    p.restore();
}
