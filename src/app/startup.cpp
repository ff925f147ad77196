#include "app/startup.h"

#include "catalog/catalogreaders.h"
#include "catalog/readingrules.h"
#include "kit/nightvision.h"
#include "objectlist/bodyrecords.h"
#include "sites/locationsfile.h"
#include "sky/skytime.h"
#include "startwindows/loadingwindow.h"
#include "state/listsstorage.h"
#include "state/remembering.h"
#include "state/sitesstorage.h"

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QDir>
#include <QPointer>
#include <QWindow>
#include <cstdio>

namespace {

// Lets the window system map the new window so that the status messages painted while loading
// reach the screen. User input stays queued, and the buttons are disabled anyway.
void WaitUntilShown(QWidget* window) {
    QDeadlineTimer deadline(500);
    do {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents, 10);
    } while (window->windowHandle() && !window->windowHandle()->isExposed() &&
             !deadline.hasExpired());
}

} // namespace

LoadingWindow* RunStartup(AppState& state, QString* error, const StartupStepHook& afterStatus) {
    // The remembered choices come first, so that a night display left on is on before the first
    // window shows: a white window would spoil the observer's dark-adapted eyes.
    QStringList ignored;
    ReadRememberedChoicesAtStart(state, &ignored);
    if (state.remembered.nightDisplay) SetNightVision(true);

    QPointer<LoadingWindow> loading = new LoadingWindow(state);
    loading->show();
    WaitUntilShown(loading);

    auto status = [&](const QString& message) {
        loading->ShowStatus(message);
        if (afterStatus) afterStatus(*loading);
    };
    auto fail = [&](const QString& message) -> LoadingWindow* {
        if (error) *error = message;
        if (loading) loading->close();
        return nullptr;
    };

    const QDir dir(state.dataDir);
    try {
        status(QStringLiteral("Setting up environment"));
        SetObservingTime(state.sky, QStringLiteral("Now"));

        status(QStringLiteral("Loading Locations"));
        QString sitesError;
        if (!LoadLocationsAtStartup(state, &sitesError)) return fail(sitesError);
        RestoreRememberedSite(state);

        ObjectStore& store = state.store;
        store = ObjectStore{};
        SizeStoreForLoading(store);

        status(QStringLiteral("Loading Messier Catalog"));
        store.MessierEnd = ReadMessierCatalog(store, 0, dir.filePath(MessierFileName()));
        status(QStringLiteral("Loading SAC Database"));
        store.SacEnd = ReadSacDatabase(store, store.MessierEnd, dir.filePath(SacFileName()));
        status(QStringLiteral("Loading NGC Catalog"));
        store.NgcEnd = ReadNgcCatalog(store, store.SacEnd, dir.filePath(NgcFileName()));
        status(QStringLiteral("Loading IC Catalog"));
        store.IcEnd = ReadIcCatalog(store, store.NgcEnd, dir.filePath(IcFileName()));

        TrimStore(store, store.IcEnd);
        AppendBodyRecords(store);
        // After the bodies: a row may hold the Moon or a planet.
        RestoreRememberedRows(state, &ignored);
        QString listsError;
        if (!LoadKeptListsAtStartup(state, &listsError))
            std::fprintf(stderr, "zenitor: %s\n", qPrintable(listsError));
    } catch (const CatalogError& e) {
        return fail(e.message());
    } catch (const std::bad_alloc&) {
        return fail(QStringLiteral("There is not enough memory to load the catalogues."));
    }

    if (!ignored.isEmpty())
        std::fprintf(stderr, "%s\n", qPrintable(IgnoredValuesLine(state, ignored)));
    loading->FinishLoading();
    return loading;
}
