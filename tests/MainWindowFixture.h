#pragma once

// A catalog window over a catalog in a temporary folder, loaded as start-up loads it.
#include "BoundControls.h"
#include "ListBox.h"
#include "Look.h"
#include "MessageBox.h"
#include "RibbonButton.h"
#include "Settings.h"
#include "TestCatalog.h"
#include "frmTarsel.h"

#include <QLabel>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

struct MainWindowFixture {
    QTemporaryDir dir;
    std::unique_ptr<frmTarsel> window;
    QStringList messages; // every message box shown, as "flags|text"
    QList<int> answers;   // answers for the next boxes; Yes when none is left

    explicit MainWindowFixture(const QList<QVariantMap> &movies, const QByteArray &ini = {})
    {
        SetUpFonts();
        TestCatalog::create(catalog(), movies);
        if (!ini.isNull())
            TestCatalog::writeFile(dir.filePath(QStringLiteral("TARSEL.INI")), ini);
        setIniPath(dir.filePath(QStringLiteral("TARSEL.INI")));
        SetMsgBoxHook([this](const QString &text, int flags) {
            messages << QStringLiteral("%1|%2").arg(flags).arg(text);
            return answers.isEmpty() ? int(vbYes) : answers.takeFirst();
        });
        window = std::make_unique<frmTarsel>(dir.path());
        window->Load();
    }
    ~MainWindowFixture() { SetMsgBoxHook({}); }

    QString catalog() const { return dir.filePath(QStringLiteral("movies.mdb")); }
    frmTarsel &w() { return *window; }
    ListBox &list() { return *window->lstMovies(); }
    QStringList entries()
    {
        QStringList result;
        for (int i = 0; i < list().ListCount(); ++i)
            result << list().List(i);
        return result;
    }
    // Presses toolbar button `index` as a click does.
    void click(int index) { window->cmdToolbar(index)->setValue(true); }
    bool pairEnabled(int index)
    {
        return window->cmdToolbar(index)->isEnabled() && window->lblToolbar(index)->isEnabled();
    }
    bool pairDisabled(int index)
    {
        return !window->cmdToolbar(index)->isEnabled() && !window->lblToolbar(index)->isEnabled();
    }
    int select(const QString &title)
    {
        const int index = entries().indexOf(title);
        list().setListIndex(index);
        return index;
    }
};
