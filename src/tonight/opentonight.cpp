#include "tonight/opentonight.h"

#include "printout/openprintout.h"
#include "sky/skytime.h"
#include "tonight/tonightwindow.h"

namespace {

void PrintTonight(AppState& state, TonightWindow& window) {
    PagePrint page;
    page.documentName = QStringLiteral("Zenitor tonight");
    page.suggestedFileName =
        QStringLiteral("zenitor-tonight-%1.pdf")
            .arg(CivilInstant(state.sky).date().toString(QStringLiteral("yyyy-MM-dd")));
    page.paint = [&window](QPainter& painter, const QRectF& area) {
        window.PrintPage(painter, area);
    };
    PrintOnePage(state, &window, page);
}

} // namespace

QWidget* ShowTonightWindow(AppState& state, QWidget* owner) {
    auto* window = owner->findChild<TonightWindow*>(QString(), Qt::FindDirectChildrenOnly);
    if (!window) {
        window = new TonightWindow(state, owner);
        window->setPrintHandler([&state](TonightWindow& w) { PrintTonight(state, w); });
    } else {
        window->Refresh();
    }
    window->show();
    window->raise();
    window->activateWindow();
    return window;
}

void RefreshTonightWindow(QWidget* window) {
    auto* tonight = qobject_cast<TonightWindow*>(window);
    if (tonight && tonight->isVisible()) tonight->Refresh();
}
