// Amounts as a user of the running locale types them: the decimal marks the money fields
// take, the currency form they show once left, the amount Save stores (shown back in the
// catalog's display form) and the value range the search finds. The table is the locale's own.
#include "TestSupport.h"

class TestAmounts : public QObject
{
    Q_OBJECT
  private slots:
    void commandFlow_data()
    {
        TestSupport::commandFlow_data({"amounts/" + QLocale().name() + ".tsv"});
    }
    void commandFlow() { TestSupport::commandFlow(); }
};

QTEST_MAIN(TestAmounts)
#include "test_amounts.moc"
