#include "TestSupport.h"

#include "Database.h"
#include "Look.h"
#include "Settings.h"

#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QRegularExpression>
#include <QTimer>

#include <sqlite3.h>

namespace TestSupport
{
QStringList items(const QComboBox *list)
{
    QStringList result;
    for (int i = 0; i < list->count(); ++i)
        result << list->itemText(i);
    return result;
}

MessageBoxes::MessageBoxes()
{
    SetMsgBoxHook([this](const QString &text, int flags) {
        shown << QStringLiteral("%1|%2").arg(flags).arg(text);
        if (seen)
            seen();
        return answers.isEmpty() ? otherwise : answers.takeFirst();
    });
}

MessageBoxes::~MessageBoxes()
{
    SetMsgBoxHook({});
}

MainWindowFixture::MainWindowFixture(const QList<QVariantMap> &movies, const QByteArray &ini,
                                     const QString &sqlFile, bool load)
{
    SetUpFonts();
    createCatalog(catalog(), movies);
    if (!sqlFile.isEmpty() && fileReady(dataPath(sqlFile), __FILE__, __LINE__) &&
        !exec(catalog(), readFile(dataPath(sqlFile))))
        QTest::qFail(qPrintable("the statements of " + sqlFile + " failed"), __FILE__, __LINE__);
    const QString settings = dir.filePath(QStringLiteral("TARSEL.INI"));
    if (!ini.isNull())
        writeFile(settings, ini);
    setIniPath(settings);
    if (load)
        this->load();
}

void MainWindowFixture::load()
{
    window = std::make_unique<frmTarsel>(dir.path());
    window->Load();
}

bool MainWindowFixture::show()
{
    window->show();
    return QTest::qWaitForWindowActive(window.get());
}

static QStringList entriesOf(frmTarsel &window)
{
    QStringList result;
    for (int i = 0; i < window.lstMovies()->ListCount(); ++i)
        result << window.lstMovies()->List(i);
    return result;
}

QStringList MainWindowFixture::entries()
{
    return entriesOf(*window);
}

QStringList MainWindowFixture::freshEntries()
{
    frmTarsel other(dir.path());
    other.Load();
    return entriesOf(other);
}

int MainWindowFixture::select(const QString &title)
{
    const int index = int(entries().indexOf(title));
    list().setListIndex(index);
    return index;
}

bool MainWindowFixture::pairEnabled(int index)
{
    return window->cmdToolbar(index)->isEnabled() && window->lblToolbar(index)->isEnabled();
}

void MainWindowFixture::run(const QString &steps)
{
    static const QStringList commands{"add", "delete", "save", "undo", "print", "search", "clear"};
    for (const QString &step : steps.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
        const QString word = step.section(u' ', 0, 0), rest = step.section(u' ', 1);
        QString error;
        if (commands.contains(step))
            click(int(commands.indexOf(step)));
        else if (word == QLatin1String("select"))
            select(rest);
        else if (word == QLatin1String("row"))
            list().setListIndex(rest.toInt());
        else if (word == QLatin1String("find"))
            QVERIFY2(window->ApplySearch("SELECT * FROM [Movies] WHERE " + rest, &error),
                     qPrintable(error));
        else if (word == QLatin1String("answer"))
            boxes.answers << (rest == QLatin1String("No") ? vbNo : vbYes);
        else if (word == QLatin1String("enable"))
            window->setPairEnabled(rest.toInt(), true);
        else if (word == QLatin1String("elsewhere"))
            insert(catalog(), titled({rest}));
        else if (step == QLatin1String("close"))
            window->close();
        else if (step == QLatin1String("show"))
            QVERIFY(show());
        else if (word == QLatin1String("click"))
            QTest::mouseClick(list().viewport(), Qt::LeftButton, {},
                              list().visualRect(list().model()->index(rest.toInt(), 0)).center());
        else if (word == QLatin1String("focus"))
            window->findChild<QWidget *>(rest)->setFocus();
        else if (word == QLatin1String("key"))
            QTest::keyClick(QApplication::focusWidget(), QKeySequence(rest)[0].key(),
                            QKeySequence(rest)[0].keyboardModifiers());
        else if (word == QLatin1String("type"))
            QTest::keyClicks(QApplication::focusWidget(), rest);
        else if (word == QLatin1String("search"))
            search(rest);
        else
            enter(step.section(u'=', 0, 0), step.section(u'=', 1));
    }
}

void MainWindowFixture::search(const QString &entries)
{
    QTimer timer; // dies with this call, so it never fires into a later step
    int waits = 0;
    QObject::connect(&timer, &QTimer::timeout, [&] {
        auto *dialog = window->findChild<QDialog *>(QStringLiteral("frmSearch"));
        if (!dialog || !dialog->isVisible())
            return;
        // Leaving a field (and so the money fields' formatting) needs the window active.
        if (!dialog->isActiveWindow() && ++waits < 200)
            return dialog->activateWindow();
        timer.stop();
        for (const QString &entry : entries.split(u'|', Qt::SkipEmptyParts)) {
            auto *field = dialog->findChild<QWidget *>(entry.section(u'=', 0, 0));
            QVERIFY2(field, qPrintable(entry));
            field->setFocus();
            QTest::keyClicks(field, entry.section(u'=', 1));
            QTest::keyClick(field, Qt::Key_Tab);
        }
        QTest::mouseClick(dialog->findChild<QPushButton *>(QStringLiteral("cmdOK")),
                          Qt::LeftButton);
        if (dialog->isVisible())
            dialog->reject();
    });
    timer.start(5);
    click(5);
}

void MainWindowFixture::enter(const QString &control, const QString &text)
{
    if (auto *box = window->findChild<QComboBox *>(control))
        box->findText(text) >= 0 ? box->setCurrentIndex(box->findText(text))
                                 : box->setEditText(text);
    else if (auto *line = window->findChild<QLineEdit *>(control))
        line->setText(text);
    else
        QFAIL(qPrintable("no control " + control));
}

QStringList MainWindowFixture::stateColumns()
{
    QString toolbar;
    for (int pair = 0; pair < 7; ++pair)
        toolbar += "-??+"[window->cmdToolbar(pair)->isEnabled() * 2 +
                          window->lblToolbar(pair)->isEnabled()];
    const QStringList result{entries().join(u','),
                             QString::number(list().ListIndex()),
                             window->txtTitle()->text(),
                             QString::number(editMode()),
                             toolbar,
                             boxes.shown.join(u'/')};
    boxes.shown.clear();
    return result;
}

QString MainWindowFixture::stored()
{
    return scalar(catalog(), "SELECT group_concat(Title || ifnull('=' || Director, ''), ',') "
                             "FROM (SELECT * FROM Movies ORDER BY ID)")
        .toString();
}

QString MainWindowFixture::text(const QString &control)
{
    auto *field = dynamic_cast<BoundField *>(window->findChild<QWidget *>(control));
    return field ? field->text() : QStringLiteral("no control ") + control;
}

void commandFlow_data(const QStringList &files)
{
    for (const QString &file : files)
        addRows(file,
                {"movies", "steps", "list", "index", "title", "mode", "toolbar", "messages",
                 "stored", "fields"},
                file == files.first());
}

void commandFlow()
{
    QFETCH(QString, movies);
    QFETCH(QString, steps);
    QFETCH(QString, stored);
    QFETCH(QString, fields);
    const auto made =
        movies.endsWith(QLatin1String(".sql"))
            ? std::make_unique<MainWindowFixture>(movies)
            : std::make_unique<MainWindowFixture>(titled(movies.split(u',', Qt::SkipEmptyParts)));
    MainWindowFixture &f = *made;
    f.run(steps);
    const QStringList shown = f.stateColumns();
    const char *const stateColumns[] = {"list", "index", "title", "mode", "toolbar", "messages"};
    for (std::size_t i = 0; i < std::size(stateColumns); ++i) {
        const QString expected =
            *static_cast<QString *>(QTest::qData(stateColumns[i], QMetaType::QString));
        QVERIFY2(matches(shown[qsizetype(i)], expected),
                 qPrintable(QStringLiteral("%1: %2").arg(QLatin1String(stateColumns[i]),
                                                         shown[qsizetype(i)])));
    }
    QVERIFY2(matches(f.stored(), stored), qPrintable(f.stored()));
    QStringList held;
    for (const QString &field : fields.split(QStringLiteral("; "), Qt::SkipEmptyParts)) {
        const QString name = field.section(u'=', 0, 0);
        held << name + u'=' +
                    (name == "visible" ? QString::number(f.w().isVisible())
                     : name == "focus" ? QApplication::focusWidget()->objectName()
                     : name != "fresh"
                         ? f.text(name)
                         : QString(f.freshEntries() == f.entries() ? "same" : "differs"));
    }
    QCOMPARE(held.join(QStringLiteral("; ")), fields);
}

} // namespace TestSupport
