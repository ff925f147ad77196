#include "printout/printjob.h"

#include "objectlist/bodyrecords.h"
#include "sky/coordinates.h"
#include "sky/skytime.h"
#include "sky/textformats.h"

#include <algorithm>
#include <cmath>

namespace {

const QString kCourier = QStringLiteral("Courier");
const QString kArialNarrow = QStringLiteral("Arial Narrow");

} // namespace

bool NotLaterThanStop(const QDateTime& t, const QDateTime& stop) {
    return t.isValid() && stop.isValid() && t.secsTo(stop) >= 0;
}

PrintJob::PrintJob(AppState& state, PrintSurface& surface, const CivilTime& start,
                   const CivilTime& stop, qint64 incrementMinutes, const QLocale& locale)
    : state_(state), surface_(surface), start_(state.sky.siteClock.toUtc(start).utc),
      stop_(state.sky.siteClock.toUtc(stop).utc),
      incrementSeconds_(std::max<qint64>(1, incrementMinutes) * 60), locale_(locale) {}

bool PrintJob::HasListedObjects(const ListSlots& listSlots) {
    return std::any_of(listSlots.begin(), listSlots.end(), [](std::int16_t v) { return v != 0; });
}

void PrintJob::MeasurePage() {
    // The printable size is taken in single precision, as the page geometry was worked out.
    const float width = static_cast<float>(surface_.printableWidthInches());
    const float height = static_cast<float>(surface_.printableHeightInches());
    // A page narrower than 2.16 inches or lower than 1.0 inch has room for no full block or no
    // full row; it still gets one of each, cut at its edge, so that the job always moves on.
    ObjectsPerPage = static_cast<std::int16_t>(std::max(1.0f, std::floor((width - 1.0f) / 1.16f)));
    StepsPerPage = static_cast<std::int16_t>(std::max(1.0f, std::floor((height - 0.6f) / 0.4f)));
}

qint64 PrintJob::SheetCount() {
    MeasurePage();
    const qint64 objects = std::count_if(state_.listSlots.begin(), state_.listSlots.end(),
                                         [](std::int16_t v) { return v != 0; });
    if (objects == 0 || !NotLaterThanStop(start_, stop_)) return 0;
    const qint64 steps = start_.secsTo(stop_) / incrementSeconds_ + 1;
    const qint64 sets = (steps + StepsPerPage - 1) / StepsPerPage;
    return sets * ((objects + ObjectsPerPage - 1) / ObjectsPerPage);
}

namespace {

// Every cell sets the observing time; the job puts the instant and the mode back as it found
// them, so the window it was printed from shows what it showed before.
class ObservingTimeKept {
public:
    explicit ObservingTimeKept(SkyState& sky)
        : sky_(sky), useNow_(sky.UseNow), time_(sky.ObservingTime) {}
    ~ObservingTimeKept() {
        sky_.ObservingTime = time_;
        sky_.UseNow = useNow_;
    }
    ObservingTimeKept(const ObservingTimeKept&) = delete;
    ObservingTimeKept& operator=(const ObservingTimeKept&) = delete;

private:
    SkyState& sky_;
    bool useNow_;
    CivilTime time_;
};

} // namespace

void PrintJob::Run() {
    const ObservingTimeKept kept(state_.sky);
    surface_.setScaleInches();
    MeasurePage();

    if (!HasListedObjects(state_.listSlots)) {
        // Without objects no step is ever printed and the time would never advance.
        surface_.endJob();
        return;
    }

    QDateTime t = start_;
    while (NotLaterThanStop(t, stop_)) {
        int n = 0;
        QDateTime t2 = t;
        for (std::int16_t slot : state_.listSlots) {
            if (slot == 0) continue;
            const int o = slot - 1;
            const int p = n % ObjectsPerPage;
            if (p == 0) {
                if (n > 0) surface_.newPage();
                PrintTimeColumn(t, stop_);
            }
            // The Moon and the planets head their block with their place at its first step.
            if (BodyInSlot(state_.store, o) >= 0) {
                SetObservingTime(state_.sky, CivilAt(t));
                PlaceBodyRecord(state_, o);
            }
            PrintObjectHeader(o, p);
            t2 = t;
            int row = 0;
            while (NotLaterThanStop(t2, stop_)) {
                PrintCell(o, t2, p, row);
                ++row;
                t2 = Next(t2);
                if (row == StepsPerPage) break;
            }
            ++n;
        }
        t = t2; // the first step not yet printed
        surface_.newPage();
    }
    surface_.endJob();
}

QString PrintJob::PageNoteText(const QDateTime& first) const {
    const std::int16_t site = GetCurrentSiteIndex(state_);
    const QString name = site >= 0 && std::size_t(site) < state_.sites.size()
                             ? state_.sites[std::size_t(site)].Name
                             : QStringLiteral("No site");
    const SiteClock& clock = state_.sky.siteClock;
    const QString offset = clock.offsetText(first);
    const QString zone = clock.isNamed() ? QString::fromLatin1(clock.zoneName()) +
                                               QStringLiteral(" (") + offset + u')'
                                         : offset;
    return name + QStringLiteral(", ") + zone + QStringLiteral(", ") +
           CivilAt(first).date().toString(Qt::ISODate) +
           QStringLiteral(": each cell is azimuth above altitude");
}

void PrintJob::PrintTimeColumn(QDateTime t, const QDateTime& stop) {
    const QDateTime first = t;
    int r = 0;
    while (NotLaterThanStop(t, stop)) {
        surface_.setCurrentX(0);
        surface_.setCurrentY(FirstRowTop + RowHeight * r);
        surface_.setFont(kCourier, 10);
        const CivilTime civil = CivilAt(t);
        surface_.printLine(ShortDateText(civil));
        surface_.printLine(LongTimeText(civil, locale_));
        t = Next(t);
        ++r;
        if (r == StepsPerPage) break;
    }
    // Below the last step row, where the page leaves room for one line: what the chart is of.
    const double y = FirstRowTop + RowHeight * r + 0.05;
    if (y + NoteHeight > surface_.printableHeightInches()) return;
    surface_.setCurrentX(0);
    surface_.setCurrentY(y);
    surface_.setFont(kArialNarrow, 8);
    surface_.printLine(PageNoteText(first));
}

void PrintJob::PrintObjectHeader(int storeIndex, int blockColumn) {
    const CatalogObject& object = state_.store.objects.at(storeIndex);
    const double x = BlockX(blockColumn);
    surface_.setCurrentX(x);
    surface_.setCurrentY(0);
    surface_.setFont(kArialNarrow, 10);
    surface_.printLine(object.Designation.DisplayText().left(18));
    surface_.setCurrentX(x);
    surface_.setFont(kArialNarrow, 6);
    surface_.printLine(object.Comment.DisplayText().left(25));
    surface_.setCurrentX(x);
    surface_.setFont(kCourier, 10);
    // A body the theory cannot place has no magnitude; its comment says why.
    surface_.printLine(QStringLiteral("Mag:") +
                       (IsUnplacedBody(object) ? QString() : OneDecimalText(object.Mag)));
    // The heavy rule under the heads, from the page's left edge to this block's right end.
    surface_.drawLine(0, HeadRuleY, RuleRight + BlockWidth * blockColumn, HeadRuleY, 10,
                      LineStyle::Dashed);
}

void PrintJob::PrintCell(int storeIndex, const QDateTime& t, int blockColumn, int row) {
    SkyState& sky = state_.sky;
    SetObservingTime(sky, CivilAt(t));
    PlaceBodyRecord(state_, storeIndex); // the Moon and the planets are placed at every step
    const CatalogObject& object = state_.store.objects.at(storeIndex);
    QString azimuthText, altitudeText;
    if (IsUnplacedBody(object)) {
        // "outside" over "1000-3000": the cell's two lines say why there is no place.
        const QString note = OutsideRangeText();
        const int blank = int(note.indexOf(u' '));
        azimuthText = note.left(blank), altitudeText = note.mid(blank + 1);
    } else {
        SetTarget(sky, object.RA, object.Dec);
        altitudeText = AngleText(TargetAltitude(sky));
        azimuthText = AngleText(TargetAzimuth(sky));
    }

    const double x = BlockX(blockColumn);
    surface_.setCurrentX(x);
    surface_.setCurrentY(FirstRowTop + RowHeight * row);
    surface_.printLine(azimuthText);
    surface_.setCurrentX(x);
    surface_.printLine(altitudeText);
    // The dotted rule under the row, and the block's left rule down to the bottom of this row.
    const double ruleY = RowRuleY + RowHeight * row;
    surface_.drawLine(0, ruleY, RuleRight + BlockWidth * blockColumn, ruleY, 1, LineStyle::Dotted);
    const double ruleX = BlockRuleX + BlockWidth * blockColumn;
    surface_.drawLine(ruleX, 0, ruleX, 1.0 + RowHeight * row, 3, LineStyle::Dashed);
}
