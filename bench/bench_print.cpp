// Prints 22 Messier objects over 30 ten-minute steps to a PDF file and reports the time taken.
// The file stays in the temporary directory for a look: pass a path to write it elsewhere.
#include "catalog/catalogreaders.h"
#include "printout/paintersurface.h"
#include "printout/printjob.h"
#include "sky/coordinates.h"
#include "sky/skytime.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <cstdio>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const QString file = argc > 1 ? QString::fromLocal8Bit(argv[1])
                                  : QDir::temp().filePath(QStringLiteral("bench_print.pdf"));

    AppState state;
    SizeStoreForLoading(state.store);
    const std::int16_t end = ReadMessierCatalog(
        state.store, 0, QStringLiteral(ZENITOR_SOURCE_DATA_DIR "/") + MessierFileName());
    TrimStore(state.store, end);
    // Every fifth Messier object, for a spread over the sky.
    for (int row = 0; row < 22; ++row)
        state.listSlots[row] = std::int16_t(1 + (row * 5) % end);
    SetObserverPosition(state.sky, DegToRad(44.0), DegToRad(-72.5));
    SetSiteClock(state.sky, -5, true);

    const CivilTime start(QDate(2024, 8, 10), QTime(21, 0));
    const CivilTime stop = start.addSecs(29 * 10 * 60);

    QElapsedTimer timer;
    timer.start();
    std::unique_ptr<PrintSurface> surface = OpenPrinterSurface(PrintTarget{QString(), file});
    if (!surface) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        return 1;
    }
    PrintJob job(state, *surface, start, stop, 10);
    job.Run();
    surface.reset();
    const qint64 ms = timer.elapsed();

    std::printf("22 objects x 30 steps to PDF: %lld ms (target <= 1000 ms)\n",
                static_cast<long long>(ms));
    std::printf("  %d blocks x %d steps per page, %lld bytes, %s\n", job.ObjectsPerPage,
                job.StepsPerPage, static_cast<long long>(QFileInfo(file).size()), qPrintable(file));
    return 0;
}
