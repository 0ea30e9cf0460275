// The catalog window after loading: layout, pick lists, the list of titles and selection.
#include "MainWindowFixture.h"

#include <QComboBox>
#include <QDate>
#include <QPushButton>

class TestMainWindow : public QObject
{
    Q_OBJECT
private slots:
    void listsEveryTitleSortedAndShowsTheFirst();
    void emptyCatalogSelectsNothing();
    void choosingATitleShowsItsMovie();
    void titlesWithApostrophesCaseTwinsAndNoTitle();
    void pickListsComeFromSettingsAndFixedRanges_data();
    void pickListsComeFromSettingsAndFixedRanges();
    void everyControlCarriesItsName();
    void windowSpringsBackToItsSize();
    void arrowKeysRebuildOncePerStep();
    void cLocaleSortsWithoutCaseToo();
    void toolbarPicturesNeedNoIconTheme_data();
    void toolbarPicturesNeedNoIconTheme();
};

void TestMainWindow::listsEveryTitleSortedAndShowsTheFirst()
{
    MainWindowFixture f({{{"Title", "banana"}, {"Value", 1234.5}, {"Copyright", 1999}},
                         {{"Title", "éclair"}},
                         {{"Title", "Apple"}, {"Director", "Ang Lee"}, {"Value", 0.0},
                          {"Hours", 1}, {"Minutes", 5}, {"Category", "Drama"}},
                         {{"Title", "cherry"}}},
                        "[Categories]\nCategoryTotal=1\nCategory.1=Drama\n");
    QCOMPARE(f.entries(), (QStringList{"Apple", "banana", "cherry", "éclair"}));
    QCOMPARE(f.list().ListIndex(), 0);
    QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("Apple"));
    QCOMPARE(f.w().txtDirector()->text(), QStringLiteral("Ang Lee"));
    QCOMPARE(f.w().txtValue()->text(), QStringLiteral("$0.00"));
    QCOMPARE(f.w().cboHours()->currentText(), QStringLiteral("1"));
    QCOMPARE(f.w().cboMinutes()->currentIndex(), 5);
    QCOMPARE(f.w().cboCategory()->currentIndex(), 0);
    QVERIFY(f.pairEnabled(1));
    QVERIFY(!f.w().ListClickBusy());
    f.select(QStringLiteral("banana"));
    QCOMPARE(f.w().txtValue()->text(), QStringLiteral("$1,234.50"));
    QCOMPARE(f.w().cboCopyright()->currentText(), QStringLiteral("1999"));
    QCOMPARE(f.w().cboCategory()->currentText(), QString());
}

void TestMainWindow::emptyCatalogSelectsNothing()
{
    MainWindowFixture f({});
    QCOMPARE(f.list().ListCount(), 0);
    QCOMPARE(f.list().ListIndex(), -1);
    QVERIFY(f.pairDisabled(1));
    for (int pair : {0, 2, 3, 4, 5, 6})
        QVERIFY(f.pairEnabled(pair));
    QCOMPARE(f.w().txtTitle()->text(), QString());
    QCOMPARE(f.w().cboCopyright()->currentText(), QString());
}

void TestMainWindow::choosingATitleShowsItsMovie()
{
    MainWindowFixture f({{{"Title", "Alpha"}, {"StarOne", "One"}},
                         {{"Title", "Beta"}, {"StarOne", "Two"}},
                         {{"Title", "Gamma"}, {"StarOne", "Three"}}});
    f.list().setListIndex(2);
    QCOMPARE(f.w().txtStarOne()->text(), QStringLiteral("Three"));
    QCOMPARE(f.list().ListIndex(), 2);
    QTest::mouseClick(f.list().viewport(), Qt::LeftButton, {},
                      f.list().visualRect(f.list().model()->index(1, 0)).center());
    QCOMPARE(f.w().txtStarOne()->text(), QStringLiteral("Two"));
    QCOMPARE(f.list().ListIndex(), 1);
    QTest::keyClick(&f.list(), Qt::Key_Up);
    QCOMPARE(f.w().txtTitle()->text(), QStringLiteral("Alpha"));
    QCOMPARE(f.list().ListIndex(), 0);
    QCOMPARE(f.w().dataMovies().recordset().Fields(QStringLiteral("Title")),
             QStringLiteral("Alpha"));
}

void TestMainWindow::titlesWithApostrophesCaseTwinsAndNoTitle()
{
    // Case twins can come from older catalogs; each entry still shows its own movie.
    MainWindowFixture f({{{"Title", "Ocean's Eleven"}, {"Director", "Soderbergh"}},
                         {{"Title", QVariant()}, {"Director", "Nobody"}},
                         {{"Title", "heat"}, {"Director", "lower"}},
                         {{"Title", "Heat"}, {"Director", "upper"}}});
    QCOMPARE(f.list().ListCount(), 4);
    QCOMPARE(f.list().List(0), QString());
    QCOMPARE(f.w().txtDirector()->text(), QStringLiteral("Nobody"));
    f.select(QStringLiteral("Ocean's Eleven"));
    QCOMPARE(f.w().txtDirector()->text(), QStringLiteral("Soderbergh"));
    f.select(QStringLiteral("Heat"));
    QCOMPARE(f.w().txtDirector()->text(), QStringLiteral("upper"));
    f.select(QStringLiteral("heat"));
    QCOMPARE(f.w().txtDirector()->text(), QStringLiteral("lower"));
    f.list().setListIndex(0);
    QCOMPARE(f.w().txtDirector()->text(), QStringLiteral("Nobody"));
    QVERIFY(f.messages.isEmpty());
}

void TestMainWindow::pickListsComeFromSettingsAndFixedRanges_data()
{
    QTest::addColumn<QByteArray>("ini");
    QTest::addColumn<QStringList>("categories");
    QTest::addColumn<QStringList>("ratings");
    QTest::newRow("counts and numbered keys")
        << QByteArray("[Categories]\r\nCategoryTotal=3\r\nCategory.1=Drama\r\nCategory.3=Comedy\r\n"
                      "[Ratings]\r\nRatingTotal=2\r\nRating.1=PG\r\nRating.2=R\r\n")
        << QStringList{"Drama", "", "Comedy"} << QStringList{"PG", "R"};
    QTest::newRow("first-run file gives empty lists")
        << QByteArray("[Categories]\nMovies=TRUE\nBooks=TRUE\n") << QStringList{} << QStringList{};
    QTest::newRow("no file") << QByteArray() << QStringList{} << QStringList{};
}

void TestMainWindow::pickListsComeFromSettingsAndFixedRanges()
{
    QFETCH(QByteArray, ini);
    QFETCH(QStringList, categories);
    QFETCH(QStringList, ratings);
    MainWindowFixture f({}, ini);
    auto items = [](QComboBox *box) {
        QStringList result;
        for (int i = 0; i < box->count(); ++i)
            result << box->itemText(i);
        return result;
    };
    QCOMPARE(items(f.w().cboCategory()), categories);
    QCOMPARE(items(f.w().cboRating()), ratings);
    QCOMPARE(items(f.w().cboFormat()), (QStringList{"VHS", "DVD"}));
    QCOMPARE(f.w().cboHours()->count(), 21);
    QCOMPARE(f.w().cboMinutes()->itemText(59), QStringLiteral("59"));
    const int lastYear = std::max(2025, QDate::currentDate().year());
    QCOMPARE(f.w().cboCopyright()->count(), lastYear - 1900 + 1);
    QCOMPARE(f.w().cboCopyright()->itemText(0), QStringLiteral("1900"));
    QCOMPARE(f.w().cboCopyright()->itemText(75), QStringLiteral("1975"));
    QCOMPARE(f.w().cboCopyright()->itemText(f.w().cboCopyright()->count() - 1),
             QString::number(lastYear));
}

void TestMainWindow::everyControlCarriesItsName()
{
    MainWindowFixture f({});
    const QStringList names = {
        "picToolbar", "lstMovies", "picSpecs", "txtTitle", "cboCategory", "cboRating",
        "cboFormat", "txtValue", "cboCopyright", "cboHours", "cboMinutes", "txtCondition",
        "txtTapePosition", "txtStarOne", "txtStarTwo", "txtStarThree", "txtStarFour",
        "txtProducer", "txtDirector", "txtComments", "cmdReview"};
    for (const QString &name : names)
        QVERIFY2(f.w().findChild<QWidget *>(name), qPrintable(name));
    const QStringList captions = {"Add", "Delete", "Save", "Undo", "Print", "Search", "Clear"};
    for (int i = 0; i < 7; ++i) {
        QVERIFY(f.w().findChild<RibbonButton *>(QStringLiteral("cmdToolbar(%1)").arg(i)));
        auto *caption = f.w().findChild<QLabel *>(QStringLiteral("lblToolbar(%1)").arg(i));
        QVERIFY(caption);
        QCOMPARE(caption->text(), captions[i]);
    }
    auto *tape = f.w().findChild<QLabel *>(QStringLiteral("Label1(16)"));
    QCOMPARE(tape->text(), QStringLiteral("Tape Position"));
    QCOMPARE(tape->buddy(), f.w().txtTapePosition());
    QCOMPARE(f.w().windowTitle(), QStringLiteral("Reelwarden"));
    QCOMPARE(f.w().size(), QSize(650, 421));
    QCOMPARE(f.w().lstMovies()->geometry(), QRect(64, 0, 245, 420));
    QCOMPARE(f.w().txtComments()->geometry(), QRect(76, 392, 253, 21));
    // The tab order runs from the toolbar through the list into the fields.
    auto nextTabStop = [](QWidget *widget) {
        do
            widget = widget->nextInFocusChain();
        while (!(widget->focusPolicy() & Qt::TabFocus));
        return widget;
    };
    QCOMPARE(nextTabStop(f.w().cmdToolbar(6)), static_cast<QWidget *>(f.w().lstMovies()));
    QCOMPARE(nextTabStop(f.w().lstMovies()), static_cast<QWidget *>(f.w().txtTitle()));
    QCOMPARE(nextTabStop(f.w().txtValue()), static_cast<QWidget *>(f.w().cboCopyright()));
    QCOMPARE(nextTabStop(f.w().txtComments()), static_cast<QWidget *>(f.w().cmdReview()));
}

void TestMainWindow::windowSpringsBackToItsSize()
{
    MainWindowFixture f({});
    f.w().show();
    QVERIFY(QTest::qWaitForWindowExposed(&f.w()));
    const QSize loaded = f.w().size();
    f.w().resize(loaded + QSize(120, 80));
    QTRY_COMPARE(f.w().size(), loaded);
    f.w().showMinimized();
    f.w().showNormal();
    QTRY_COMPARE(f.w().size(), loaded);
}

void TestMainWindow::arrowKeysRebuildOncePerStep()
{
    QStringList titles;
    for (int i = 0; i < 50; ++i)
        titles << QStringLiteral("Movie %1").arg(i, 2, 10, QLatin1Char('0'));
    MainWindowFixture f(TestCatalog::titled(titles));
    for (int step = 1; step <= 10; ++step) {
        QTest::keyClick(&f.list(), Qt::Key_Down);
        QCOMPARE(f.list().ListIndex(), step);
        QCOMPARE(f.w().txtTitle()->text(), titles[step]);
    }
    QVERIFY(!f.w().ListClickBusy());
}

void TestMainWindow::cLocaleSortsWithoutCaseToo()
{
    const QLocale before;
    QLocale::setDefault(QLocale::c());
    {
        MainWindowFixture f(TestCatalog::titled({"Zardoz", "amélie", "Casablanca", "alien"}));
        QCOMPARE(f.entries(), (QStringList{"alien", "amélie", "Casablanca", "Zardoz"}));
    }
    QLocale::setDefault(before);
}

void TestMainWindow::toolbarPicturesNeedNoIconTheme_data()
{
    QTest::addColumn<int>("index");
    for (int i = 0; i < 7; ++i)
        QTest::newRow(qPrintable(QStringLiteral("cmdToolbar(%1)").arg(i))) << i;
}

void TestMainWindow::toolbarPicturesNeedNoIconTheme()
{
    QFETCH(int, index);
    QIcon::setThemeSearchPaths({});
    QIcon::setThemeName(QString());
    MainWindowFixture f({});
    auto picture = [&f](int button, qreal ratio, QIcon::Mode mode) {
        return f.w().cmdToolbar(button)->icon().pixmap(QSize(16, 16), ratio, mode).toImage();
    };
    for (qreal ratio : {1.0, 2.0}) {
        const QImage normal = picture(index, ratio, QIcon::Normal);
        const QImage greyed = picture(index, ratio, QIcon::Disabled);
        QCOMPARE(normal.size(), QSize(16, 16) * ratio); // drawn at the device's pixels
        int drawn = 0, coloured = 0;
        for (int y = 0; y < normal.height(); ++y) {
            for (int x = 0; x < normal.width(); ++x) {
                const QRgb pixel = greyed.pixel(x, y);
                drawn += qAlpha(normal.pixel(x, y)) > 0;
                coloured += qRed(pixel) != qGreen(pixel) || qGreen(pixel) != qBlue(pixel);
            }
        }
        QVERIFY2(drawn * 5 > normal.width() * normal.height(), "the picture is nearly empty");
        QVERIFY(greyed != normal);
        QCOMPARE(coloured, 0);
    }
    for (int other = 0; other < 7; ++other) {
        if (other != index)
            QVERIFY(picture(other, 1.0, QIcon::Normal) != picture(index, 1.0, QIcon::Normal));
    }
}

QTEST_MAIN(TestMainWindow)
#include "test_main_window.moc"
