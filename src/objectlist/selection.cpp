#include "objectlist/selection.h"

#include "objectlist/bodyrecords.h"
#include "objectlist/fixedcopy.h"
#include "sky/coordinates.h"
#include "sky/horizon.h"
#include "sky/textformats.h"

#include <algorithm>

namespace {

constexpr int ChooserLineWidth = 20 + 70;

QString ChooserLine(const CatalogObject& object) {
    QString line(ChooserLineWidth, Qt::Uninitialized);
    QChar* out = line.data();
    out = objectlist_detail::CopyField(out, object.Designation);
    if (object.Catalog.At(0) == u'P')
        objectlist_detail::CopyText(out, BodyChooserText(object));
    else
        objectlist_detail::CopyField(out, object.Comment);
    return line;
}

// In Now mode, holds the sky's clock at one reading for the length of a pass and puts the real
// clock back afterwards, so that every object of the pass is placed for the same instant (the sky
// turns less than a second of arc during a pass) and the clock is not read thousands of times.
class ClockPinnedForPass {
public:
    explicit ClockPinnedForPass(SkyState& sky) : sky_(sky), saved_(sky.clock) {
        if (sky_.UseNow && saved_) sky_.clock = std::make_shared<FixedClock>(saved_->utcNow());
    }
    ~ClockPinnedForPass() { sky_.clock = saved_; }
    ClockPinnedForPass(const ClockPinnedForPass&) = delete;
    ClockPinnedForPass& operator=(const ClockPinnedForPass&) = delete;

private:
    SkyState& sky_;
    std::shared_ptr<Clock> saved_;
};

// Whether a chosen object passes the magnitude limit and, with inViewOnly, stands above the
// horizon at the observing instant. A body without a place has neither a magnitude nor an
// altitude to test; its line says why.
bool PassesFilters(AppState& state, const SelectionOptions& options, const CatalogObject& object) {
    const bool unplaced = object.Catalog.At(0) == u'P' && IsUnplacedBody(object);
    // An object exactly at the limit stays in.
    if (!unplaced && !options.showAll && options.magLimit < object.Mag) return false;
    SetTarget(state.sky, object.RA, object.Dec);
    if (!options.inViewOnly || unplaced) return true;
    // Placed at the current observing instant (in Now mode the reading of this pass).
    const double altitude = TargetAltitude(state.sky);
    const double azimuth = TargetAzimuth(state.sky);
    return IsInView(state.horizon, altitude, azimuth);
}

bool ValidIndex(const ObjectStore& store, int index) {
    return index >= 0 && index < int(store.objects.size());
}

// The list's objects that pass, each once; the bodies among them placed first unless the whole
// set was placed already.
std::vector<int> PassingListObjects(AppState& state, const SelectionOptions& options,
                                    const std::vector<int>& list, bool bodiesPlaced) {
    std::vector<int> passing;
    std::vector<bool> seen(state.store.objects.size(), false);
    for (int index : list) {
        if (!ValidIndex(state.store, index) || seen[size_t(index)]) continue;
        seen[size_t(index)] = true;
        if (!bodiesPlaced) PlaceBodyRecord(state, index);
        if (PassesFilters(state, options, state.store.objects[size_t(index)]))
            passing.push_back(index);
    }
    return passing;
}

} // namespace

QString CatalogueBoxName(QChar letter) {
    static const char* const boxes[][2] = {
        {"M", "Messier"},     {"H", "Herschel 400"}, {"C", "Caldwell"}, {"B", "Best NGC"},
        {"S", "SAC dateset"}, {"N", "NGC"},          {"I", "IC"},       {"P", "Planets"}};
    for (const auto& box : boxes)
        if (letter == QLatin1Char(box[0][0])) return QString::fromLatin1(box[1]);
    return QString();
}

UnlistedLines UnlistedObjectLines(AppState& state, int lastSlotExamined) {
    PlaceBodyRecords(state);
    UnlistedLines result;
    const auto& objects = state.store.objects;
    for (int i = 0; i < int(objects.size()); ++i) {
        const CatalogObject& object = objects[std::size_t(i)];
        // Beyond the examined slots a ListPos is left from an earlier pass, not a chooser line.
        if (i <= lastSlotExamined && object.ListPos > 0) continue;
        const QString box = CatalogueBoxName(object.Catalog.At(0));
        if (box.isEmpty()) continue;
        QString line = ChooserLine(object);
        while (line.endsWith(u' '))
            line.chop(1);
        result.lines.append(line + QStringLiteral(" (") + box + u')');
        result.storeIndexes.append(i);
    }
    return result;
}

std::vector<int> ListObjectsPassing(AppState& state, const SelectionOptions& options,
                                    const std::vector<int>& list) {
    const ClockPinnedForPass pinned(state.sky);
    return PassingListObjects(state, options, list, false);
}

QString SelectionStatsText(std::int16_t chosen, std::int16_t available) {
    return CountText(chosen) + QStringLiteral(" of ") + CountText(available) +
           QStringLiteral(" objects available.");
}

SelectionResult SelectObjects(AppState& state, const SelectionOptions& options) {
    ObjectStore& store = state.store;

    // The catalogue boxes in the order their runs end; each ticked box extends the walk to the end
    // of its run, so the last ticked one decides how far the walk goes.
    struct Box {
        bool ticked;
        char16_t letter;
        std::int16_t runEnd;
    };
    const Box boxes[] = {
        {options.messier, u'M', store.MessierEnd}, {options.herschel, u'H', store.ListedEnd},
        {options.caldwell, u'C', store.ListedEnd}, {options.bestNgc, u'B', store.ListedEnd},
        {options.sac, u'S', store.SacEnd},         {options.ngc, u'N', store.NgcEnd},
        {options.ic, u'I', store.IcEnd},
    };

    int last = 0; // with no box ticked only slot 0 is examined
    bool wanted[128] = {};
    for (const Box& box : boxes) {
        if (box.ticked) {
            last = box.runEnd - 1;
            wanted[box.letter] = true;
        }
    }
    // The bodies lie behind the IC run, so ticking them walks the whole store.
    const bool bodies = options.planets && store.PlanetEnd > 0;
    if (bodies) {
        last = store.PlanetEnd - 1;
        wanted[u'P'] = true;
    }
    // Run ends always lie inside the loaded store; never walk beyond it even if they did not.
    last = std::min<int>(last, int(store.objects.size()) - 1);

    SelectionResult result;
    result.available = std::int16_t(store.ObjectCount + (bodies ? BodyCount : 0));
    result.lastSlotExamined = last;
    if (last >= 0) result.lines.reserve(last + 1);

    const ClockPinnedForPass pinned(state.sky);
    if (bodies) PlaceBodyRecords(state); // at the pass's one reading of the clock
    std::int16_t count = 0;
    // The offered list's objects come first; the catalogue walk below leaves them as they are.
    std::vector<bool> listed;
    if (options.listObjects) {
        // List objects lie anywhere in the store: every ListPos is rewritten, so that no number
        // left from an earlier pass stands before a list object's.
        listed.assign(store.objects.size(), false);
        for (CatalogObject& object : store.objects)
            object.ListPos = 0;
        result.lastSlotExamined = int(store.objects.size()) - 1;
        for (int index : PassingListObjects(state, options, *options.listObjects, bodies)) {
            CatalogObject& object = store.objects[size_t(index)];
            result.lines.append(ChooserLine(object));
            object.ListPos = ++count;
            listed[size_t(index)] = true;
        }
    }
    for (int i = 0; i <= last; ++i) {
        if (!listed.empty() && listed[size_t(i)]) continue;
        CatalogObject& object = store.objects[size_t(i)];
        object.ListPos = 0;

        // An untouched letter is NUL and matches no box.
        const char16_t letter = object.Catalog.At(0).unicode();
        if (!(letter < 128 && wanted[letter]) || !PassesFilters(state, options, object)) continue;

        result.lines.append(ChooserLine(object));
        ++count;
        object.ListPos = count;
    }

    result.chosen = count;
    result.statsText = SelectionStatsText(count, result.available);
    return result;
}
