#pragma once

#include <functional>
#include <vector>

// Searching a function of time (day counts) for the moments it passes zero. The function is
// sampled at a fixed step and each change of sign is narrowed down to about a second, so an
// excursion shorter than the step can be missed; callers choose steps far below the shortest
// event they care about. The samples fall on whole multiples of the step (and on the two ends),
// so searches over overlapping spans ask for the same moments, and a remembering function
// computes each only once.

#include <unordered_map>

using TimeFunction = std::function<double(double days)>;

// The moments sampled between two ends: both ends and the multiples of the step between them.
std::vector<double> SampleTimes(double from, double to, double step);

// A function that computes each value once.
template <class Value> class Remembered {
public:
    explicit Remembered(std::function<Value(double)> f) : f_(std::move(f)) {}
    const Value& operator()(double days) {
        auto found = known_.find(days);
        if (found == known_.end()) found = known_.emplace(days, f_(days)).first;
        return found->second;
    }

private:
    std::function<Value(double)> f_;
    std::unordered_map<double, Value> known_;
};

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
