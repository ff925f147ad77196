#include "startup/appstate.h"

#include <QtTest>

class TestAppState : public QObject {
    Q_OBJECT
private slots:
    void siteIndexRoundTripsNegativeValues() {
        AppState state;
        QCOMPARE(GetCurrentSiteIndex(state), std::int16_t(0));
        SetCurrentSiteIndex(state, -7);
        QCOMPARE(GetCurrentSiteIndex(state), std::int16_t(-7));
    }
};

QTEST_MAIN(TestAppState)
#include "test_appstate.moc"
