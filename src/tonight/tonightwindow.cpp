#include "tonight/tonightwindow.h"

#include "night/nighttext.h"
#include "sky/skytime.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QSplitter>
#include <QTableWidget>
#include <QVBoxLayout>

namespace {

QTableWidget* MakeTable(QWidget* parent, const char* name, const QStringList& titles) {
    auto* table = new QTableWidget(0, int(titles.size()), parent);
    table->setObjectName(QLatin1String(name));
    table->setHorizontalHeaderLabels(titles);
    table->verticalHeader()->hide();
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setSelectionMode(QAbstractItemView::NoSelection);
    table->setWordWrap(false);
    table->horizontalHeader()->setStretchLastSection(true);
    return table;
}

void SetRow(QTableWidget* table, int row, const QStringList& texts) {
    for (int column = 0; column < texts.size(); ++column) {
        auto* item = new QTableWidgetItem(texts[column]);
        item->setToolTip(texts[column]); // spans may run past the column's edge
        table->setItem(row, column, item);
    }
}

} // namespace

TonightWindow::TonightWindow(AppState& state, QWidget* parent)
    : QWidget(parent, Qt::Window), state_(state) {
    setObjectName(QStringLiteral("Tonight"));
    setWindowTitle(QStringLiteral("Tonight"));

    lblNightSummary = new QLabel(this);
    lblNightSummary->setObjectName(QStringLiteral("lblNightSummary"));
    tblNight = MakeTable(this, "tblNight", {QStringLiteral("Event"), QStringLiteral("Time")});
    tblObjects = MakeTable(this, "tblObjects", ObjectColumnTitles());
    plotNight = new NightPlot(this);
    cmdPrint = new QPushButton(QStringLiteral("Print"), this);
    cmdPrint->setObjectName(QStringLiteral("cmdPrint"));

    // The night's events down the left; the objects over the plot on the right.
    auto* right = new QSplitter(Qt::Vertical, this);
    right->addWidget(tblObjects);
    right->addWidget(plotNight);
    right->setStretchFactor(1, 1);
    right->setSizes({170, 530});
    auto* whole = new QSplitter(Qt::Horizontal, this);
    whole->addWidget(tblNight);
    whole->addWidget(right);
    whole->setStretchFactor(1, 1);
    whole->setSizes({380, 820});
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(cmdPrint);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblNightSummary);
    layout->addWidget(whole, 1);
    layout->addLayout(buttons);
    resize(1200, 760);

    connect(cmdPrint, &QPushButton::clicked, this, [this] {
        if (print_) print_(*this);
    });
    Recompute();
}

QString TonightWindow::stateKey() const {
    const SkyState& sky = state_.sky;
    QString key = QStringLiteral("%1 %2 %3 %4 %5 %6 %7")
                      .arg(sky.ObserverLatitude, 0, 'g', 17)
                      .arg(sky.ObserverLongitude, 0, 'g', 17)
                      .arg(sky.SiteTimeZone)
                      .arg(sky.SiteDaylight)
                      .arg(NightFirstDate(sky, CivilInstant(sky)).toString(Qt::ISODate))
                      .arg(QString::fromLatin1(sky.siteClock.zoneName()))
                      .arg(sky.Precise);
    for (std::int16_t h : state_.horizon)
        key += QLatin1Char(',') + QString::number(h);
    for (int row = 0; row < ListRowCount; ++row)
        key += QLatin1Char(';') + QString::number(state_.listSlots[std::size_t(row)]);
    return key;
}

bool TonightWindow::Refresh() {
    if (stateKey() == shownKey_) return false;
    Recompute();
    return true;
}

void TonightWindow::Recompute() {
    data_.sky = state_.sky;
    data_.night = ComputeNightEvents(state_.sky, CivilInstant(state_.sky));
    data_.objects = ComputeObjectNights(state_, data_.night);
    shownKey_ = stateKey();
    lblNightSummary->setText(NightHeadline(data_.sky, data_.night));
    fillNightTable();
    fillObjectTable();
    plotNight->setData(data_);
}

void TonightWindow::fillNightTable() {
    const std::vector<NightLine> lines = NightLines(data_.sky, data_.night);
    tblNight->setRowCount(int(lines.size()));
    for (int row = 0; row < int(lines.size()); ++row)
        SetRow(tblNight, row, {lines[std::size_t(row)].label, lines[std::size_t(row)].value});
    tblNight->resizeColumnsToContents();
}

void TonightWindow::fillObjectTable() {
    tblObjects->setRowCount(int(data_.objects.size()));
    for (int row = 0; row < int(data_.objects.size()); ++row)
        SetRow(tblObjects, row, ObjectLineTexts(data_.sky, data_.objects[std::size_t(row)]));
    tblObjects->resizeColumnsToContents();
}
