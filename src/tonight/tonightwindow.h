#pragma once

#include "state/appstate.h"
#include "tonight/nightplot.h"

#include <QWidget>
#include <functional>

class QLabel;
class QPushButton;
class QTableWidget;

// The "Tonight" window: the night at the applied site (the one under way at the instant in use,
// or the next), its events in tblNight, each picked row's rising, setting, culmination and
// clear spans in tblObjects, and the plot plotNight. It shows what the program state holds;
// Refresh() brings it up to date and computes again only when what the night depends on has
// changed, so the main window may call it on every tick.
class TonightWindow : public QWidget {
    Q_OBJECT
public:
    explicit TonightWindow(AppState& state, QWidget* parent = nullptr);

    // Recomputes when the site, its horizon, the night the instant in use falls in or the
    // picked rows changed; returns true when it did.
    bool Refresh();
    // Recomputes whatever changed.
    void Recompute();

    // The print-out: headline, both tables and the plot on one page.
    void PrintPage(QPainter& painter, const QRectF& page) const;

    // Where the Print button's job goes; tests replace it.
    using PrintHandler = std::function<void(TonightWindow& window)>;
    void setPrintHandler(PrintHandler handler) { print_ = std::move(handler); }

private:
    void fillNightTable();
    void fillObjectTable();
    QString stateKey() const;

    AppState& state_;
    QString shownKey_;
    NightPlotData data_;
    PrintHandler print_;

    QLabel* lblNightSummary = nullptr;
    QTableWidget* tblNight = nullptr;
    QTableWidget* tblObjects = nullptr;
    NightPlot* plotNight = nullptr;
    QPushButton* cmdPrint = nullptr;
};
