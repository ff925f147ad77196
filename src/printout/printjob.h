#pragma once

#include "printout/printsurface.h"
#include "state/appstate.h"

#include <QDateTime>
#include <QLocale>
#include <cstdint>

// The printed chart: for every object of the object list, its azimuth and altitude at each time
// step from the start to the stop time. Time steps run down the page, objects across it in
// blocks of 1.16 inches, with a column of dates and times down the left edge.
//
// Page sets: one set covers up to StepsPerPage time steps for every listed object; objects
// beyond ObjectsPerPage continue on further pages of the same set, each with its own time
// column; the next set starts on a new page with the following steps.
//
// Every cell sets the observing time; when the job ends, the observing instant and the Now mode
// are back as they were before it.
class PrintJob {
public:
    // start and stop are civil times of the applied site; the step is in whole minutes (> 0).
    // The steps run in real time and each is labelled with the site's civil time, so a night
    // with a clock change shows the jump.
    PrintJob(AppState& state, PrintSurface& surface, const CivilTime& start, const CivilTime& stop,
             qint64 incrementMinutes, const QLocale& locale = QLocale());

    // True when at least one slot of the object list is occupied.
    static bool HasListedObjects(const ListSlots& listSlots);

    // Prints the whole chart and ends the job. With no occupied slot nothing is drawn and the
    // job just ends.
    void Run();

    // The sheets Run would put out, worked out without drawing anything (so also for a job of
    // millions of steps). Sets ObjectsPerPage and StepsPerPage as Run does.
    qint64 SheetCount();

    // t and stop are instants (Qt::UTC).
    // The time column of one page and, where the page leaves room below its last step row, one
    // line naming the site, its zone, the date of the first step and what a cell holds.
    void PrintTimeColumn(QDateTime t, const QDateTime& stop);
    QString PageNoteText(const QDateTime& firstStep) const;
    void PrintObjectHeader(int storeIndex, int blockColumn);
    void PrintCell(int storeIndex, const QDateTime& t, int blockColumn, int row);

    // Set by Run from the printable size.
    std::int16_t ObjectsPerPage = 0;
    std::int16_t StepsPerPage = 0;

    // Layout, in inches from the top-left corner of the printable area.
    static constexpr double BlockLeft = 1.0; // text of block 0; the time column keeps 0..1
    static constexpr double BlockWidth = 1.16;
    static constexpr double FirstRowTop = 0.6;
    static constexpr double RowHeight = 0.4;
    static constexpr double HeadRuleY = 0.5;
    static constexpr double RowRuleY = 0.9;    // + RowHeight * row
    static constexpr double BlockRuleX = 0.95; // + BlockWidth * column
    static constexpr double RuleRight = 2.0;   // + BlockWidth * column
    static constexpr double NoteHeight = 0.2;  // the line under the last step row

private:
    void MeasurePage();
    QDateTime Next(const QDateTime& t) const { return t.addSecs(incrementSeconds_); }
    CivilTime CivilAt(const QDateTime& t) const { return state_.sky.siteClock.toCivil(t); }
    double BlockX(int column) const { return BlockLeft + BlockWidth * column; }

    AppState& state_;
    PrintSurface& surface_;
    QDateTime start_; // UTC
    QDateTime stop_;  // UTC
    qint64 incrementSeconds_;
    QLocale locale_;
};

// "Not earlier": the difference in whole seconds from t to stop is 0 or more. An invalid time
// (stepped past the calendar's end) is never in range, so every loop over the steps ends.
bool NotLaterThanStop(const QDateTime& t, const QDateTime& stop);
