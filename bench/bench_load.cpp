// Times the catalogue loading of start-up on the bundled data: each reader, in start-up's order,
// with the store sized and trimmed as start-up does. Prints the median of several runs.

#include "catalog/catalogreaders.h"

#include <QDir>
#include <QElapsedTimer>
#include <algorithm>
#include <cstdio>
#include <exception>
#include <vector>

namespace {

constexpr int kRuns = 11;
const char* const kSteps[] = {"messier.txt", "Sac72.txt", "revngc.txt", "revic.txt", "whole load"};

double Median(std::vector<double> v) {
    std::sort(v.begin(), v.end());
    return v[v.size() / 2];
}

} // namespace

int main() {
    const QDir dir(QStringLiteral(ZENITOR_SOURCE_DATA_DIR));
    std::vector<double> ms[5];
    int objects = 0;
    try {
        for (int run = 0; run < kRuns; ++run) {
            ObjectStore store;
            QElapsedTimer whole, step;
            whole.start();
            auto lap = [&](int i) {
                ms[i].push_back(step.nsecsElapsed() / 1e6);
                step.start();
            };
            SizeStoreForLoading(store);
            step.start();
            store.MessierEnd = ReadMessierCatalog(store, 0, dir.filePath(MessierFileName()));
            lap(0);
            store.SacEnd = ReadSacDatabase(store, store.MessierEnd, dir.filePath(SacFileName()));
            lap(1);
            store.NgcEnd = ReadNgcCatalog(store, store.SacEnd, dir.filePath(NgcFileName()));
            lap(2);
            store.IcEnd = ReadIcCatalog(store, store.NgcEnd, dir.filePath(IcFileName()));
            lap(3);
            TrimStore(store, store.IcEnd);
            ms[4].push_back(whole.nsecsElapsed() / 1e6);
            objects = store.ObjectCount;
        }
    } catch (const std::exception& e) {
        std::printf("loading failed: %s\n", e.what());
        return 1;
    }
    for (int i = 0; i < 5; ++i)
        std::printf("%-12s %8.2f ms median of %d\n", kSteps[i], Median(ms[i]), kRuns);
    std::printf("objects stored: %d\ntarget: whole load at most 100 ms\n", objects);
    return 0;
}
