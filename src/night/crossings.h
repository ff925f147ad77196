#pragma once

#include <functional>
#include <vector>

// Searching a function of time (day counts) for the moments it passes zero. The function is
// sampled at a fixed step and each change of sign is narrowed down to about a second, so an
// excursion shorter than the step can be missed; callers choose steps far below the shortest
// event they care about.

using TimeFunction = std::function<double(double days)>;

struct Crossing {
    double days = 0;
    bool rising = false; // from zero or below to above
};

struct Span {
    double from = 0;
    double to = 0;
};

constexpr double SecondInDays = 1.0 / 86400.0;

// Where f turns from <= 0 to > 0 (rising) or back, in [from, to], in time order.
std::vector<Crossing> FindCrossings(const TimeFunction& f, double from, double to, double step);

// The parts of [from, to] where f > 0, with the crossings found as above.
std::vector<Span> PositiveSpans(const TimeFunction& f, double from, double to, double step);

// The parts both span lists cover (each list in time order, without overlaps).
std::vector<Span> Intersect(const std::vector<Span>& a, const std::vector<Span>& b);

// The moment in [from, to] where f is greatest: the best sample, then narrowed to a second.
double PeakOf(const TimeFunction& f, double from, double to, double step);
