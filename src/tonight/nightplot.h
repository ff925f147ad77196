#pragma once

#include "night/nightevents.h"
#include "night/objectnight.h"
#include "sky/skystate.h"

#include <QWidget>
#include <vector>

class QPainter;

// What the plot draws: the night from sunset to sunrise, and one path per picked object.
struct NightPlotData {
    SkyState sky; // for the site's civil times on the axis
    NightEvents night;
    std::vector<ObjectNight> objects;
};

// Draws altitude 0..90 deg against the site's civil time into `area`: twilight shaded in steps
// behind, each object's path as a labelled line over the horizon it must clear (drawn thin and
// dotted in the same colour), the Moon's altitude dashed. Shared by the window and the print-out.
// Day colours; `night` turns them into the night display's reds.
void PaintNightPlot(QPainter& painter, const QRectF& area, const NightPlotData& data, bool night);

// The plot as a widget of the Tonight window (objectName "plotNight").
class NightPlot : public QWidget {
    Q_OBJECT
public:
    explicit NightPlot(QWidget* parent = nullptr);
    void setData(const NightPlotData& data);
    const NightPlotData& data() const { return data_; }
    // How many object lines the last painting drew (for tests).
    int drawnPaths() const { return int(data_.objects.size()); }

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    NightPlotData data_;
};
