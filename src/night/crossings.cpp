#include "night/crossings.h"

#include <algorithm>
#include <cmath>

namespace {

// a has f <= 0 and b has f > 0, or the other way round; narrows the pair to a second.
double Narrow(const TimeFunction& f, double a, double b) {
    const bool aAbove = f(a) > 0;
    while (std::fabs(b - a) > SecondInDays) {
        const double mid = (a + b) / 2;
        if ((f(mid) > 0) == aAbove)
            a = mid;
        else
            b = mid;
    }
    return (a + b) / 2;
}

} // namespace

std::vector<double> SampleTimes(double from, double to, double step) {
    std::vector<double> times{from};
    if (!(to > from) || !(step > 0)) return times;
    for (double k = std::floor(from / step) + 1; k * step < to; ++k)
        times.push_back(k * step);
    times.push_back(to);
    return times;
}

std::vector<Crossing> FindCrossings(const TimeFunction& f, double from, double to, double step) {
    std::vector<Crossing> found;
    if (!(to > from) || !(step > 0)) return found;
    const std::vector<double> times = SampleTimes(from, to, step);
    double t0 = from;
    bool above0 = f(t0) > 0;
    for (std::size_t i = 1; i < times.size(); ++i) {
        const double t1 = times[i];
        const bool above1 = f(t1) > 0;
        if (above1 != above0) found.push_back({Narrow(f, t0, t1), above1});
        t0 = t1;
        above0 = above1;
    }
    return found;
}

std::vector<Span> PositiveSpans(const TimeFunction& f, double from, double to, double step) {
    std::vector<Span> spans;
    if (!(to > from)) return spans;
    double start = f(from) > 0 ? from : std::nan("");
    for (const Crossing& c : FindCrossings(f, from, to, step)) {
        if (c.rising) {
            start = c.days;
        } else if (!std::isnan(start)) {
            spans.push_back({start, c.days});
            start = std::nan("");
        }
    }
    if (!std::isnan(start)) spans.push_back({start, to});
    return spans;
}

std::vector<Span> Intersect(const std::vector<Span>& a, const std::vector<Span>& b) {
    std::vector<Span> out;
    std::size_t i = 0, j = 0;
    while (i < a.size() && j < b.size()) {
        const double from = std::max(a[i].from, b[j].from);
        const double to = std::min(a[i].to, b[j].to);
        if (to > from) out.push_back({from, to});
        if (a[i].to < b[j].to)
            ++i;
        else
            ++j;
    }
    return out;
}

double PeakOf(const TimeFunction& f, double from, double to, double step) {
    double best = from, bestValue = f(from);
    for (const double t : SampleTimes(from, to, step)) {
        const double v = f(t);
        if (v > bestValue) {
            best = t;
            bestValue = v;
        }
    }
    // Golden-section search in the samples either side of the best one.
    const double r = (std::sqrt(5.0) - 1) / 2;
    double a = std::max(from, best - step), b = std::min(to, best + step);
    double c = b - r * (b - a), d = a + r * (b - a);
    double fc = f(c), fd = f(d);
    while (b - a > SecondInDays) {
        if (fc > fd) {
            b = d;
            d = c;
            fd = fc;
            c = b - r * (b - a);
            fc = f(c);
        } else {
            a = c;
            c = d;
            fc = fd;
            d = a + r * (b - a);
            fd = f(d);
        }
    }
    const double peak = (a + b) / 2;
    return f(peak) >= bestValue ? peak : best;
}
