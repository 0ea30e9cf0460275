#include "CatalogTransferMenu.h"

#include "BackupRetention.h"
#include "CatalogBackup.h"
#include "DailyBackup.h"
#include "FileChooser.h"
#include "ForeignFile.h"
#include "ImportQuestion.h"
#include "ListBox.h"
#include "MessageBox.h"
#include "ProgressWindow.h"
#include "ReaderProcess.h"
#include "StoreError.h"
#include "Tarsel.h"
#include "TransferJobs.h"
#include "frmTarsel.h"

#include <QContextMenuEvent>
#include <QDate>
#include <QDir>
#include <QMenu>
#include <QMimeData>
#include <QTimer>

namespace
{

QStringList localPaths(const QMimeData *data)
{
    QStringList paths;
    if (!data || !data->hasUrls())
        return paths;
    for (const QUrl &url : data->urls()) {
        if (!url.isLocalFile())
            return {};
        paths << url.toLocalFile();
    }
    return paths;
}

QString movies(int count)
{
    return count == 1 ? QStringLiteral("1 movie") : QStringLiteral("%1 movies").arg(count);
}

// Ends the hourglass however the work ends.
struct Hourglass {
    Hourglass() { ShowHourglass(true); }
    ~Hourglass() { ShowHourglass(false); }
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;
};

} // namespace

CatalogTransferMenu::CatalogTransferMenu(frmTarsel &window) : QObject(&window), m_window(window)
{
    setObjectName(QStringLiteral("CatalogTransferMenu"));
    buildMenu();
    acceptDrops();
}

void CatalogTransferMenu::buildMenu()
{
    ListBox *list = m_window.lstMovies();
    m_menu = new QMenu(list);
    m_menu->setObjectName(QStringLiteral("mnuMovies"));
    const std::pair<const char *, void (CatalogTransferMenu::*)()> entries[] = {
        {"Import Movies...", &CatalogTransferMenu::ImportMovies},
        {"Export Movies...", &CatalogTransferMenu::ExportMovies},
        {"Back Up Catalog...", &CatalogTransferMenu::BackUpCatalog},
    };
    const char *names[] = {"mnuImport", "mnuExport", "mnuBackUp"};
    for (int i = 0; i < 3; ++i) {
        QAction *action = m_menu->addAction(QLatin1String(entries[i].first));
        action->setObjectName(QLatin1String(names[i]));
        // The command runs once the menu has closed, as a toolbar command runs.
        connect(action, &QAction::triggered, this, entries[i].second, Qt::QueuedConnection);
    }
    list->installEventFilter(this);
    list->viewport()->installEventFilter(this);
}

void CatalogTransferMenu::acceptDrops()
{
    // Text fields take drops of their own: a file dropped on one is imported all the same.
    m_window.setAcceptDrops(true);
    m_window.installEventFilter(this);
    for (QWidget *child : m_window.findChildren<QWidget *>()) {
        if (child->acceptDrops())
            child->installEventFilter(this);
    }
}

bool CatalogTransferMenu::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::ContextMenu &&
        (watched == m_window.lstMovies() || watched == m_window.lstMovies()->viewport())) {
        auto *request = static_cast<QContextMenuEvent *>(event);
        if (request->reason() == QContextMenuEvent::Keyboard)
            popUpAtSelection();
        else
            popUp(request->globalPos());
        return true;
    }
    if (event->type() == QEvent::KeyPress && watched == m_window.lstMovies()) {
        const auto *key = static_cast<QKeyEvent *>(event);
        if (key->key() == Qt::Key_Menu ||
            (key->key() == Qt::Key_F10 && key->modifiers() == Qt::ShiftModifier)) {
            popUpAtSelection();
            return true;
        }
    }
    if (dragEvent(event))
        return true;
    return QObject::eventFilter(watched, event);
}

void CatalogTransferMenu::popUp(const QPoint &globalPos)
{
    // The window system may follow the Menu key with a request of its own: one menu shows.
    if (!m_menu->isVisible())
        m_menu->popup(globalPos);
}

void CatalogTransferMenu::popUpAtSelection()
{
    ListBox *list = m_window.lstMovies();
    const QModelIndex current = list->model()->index(list->ListIndex(), 0);
    const QRect entry = current.isValid() ? list->visualRect(current) : QRect();
    popUp(list->viewport()->mapToGlobal(entry.isValid() ? entry.bottomLeft() : QPoint(0, 0)));
}

bool CatalogTransferMenu::dragEvent(QEvent *event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::DragEnter && type != QEvent::DragMove && type != QEvent::Drop)
        return false;
    auto *drop = static_cast<QDropEvent *>(event);
    const QStringList paths = localPaths(drop->mimeData());
    if (paths.isEmpty())
        return false;
    drop->acceptProposedAction();
    // The file manager waits for the drop to end: the import runs after it has.
    if (type == QEvent::Drop)
        QTimer::singleShot(0, this, [this, paths] { ImportDropped(paths); });
    return true;
}

bool CatalogTransferMenu::attempt(const std::function<void()> &work, const QString &after)
{
    QString refusal;
    {
        Hourglass busy;
        try {
            work();
            return true;
        } catch (const TransferError &error) {
            refusal = error.message;
        } catch (const StoreError &error) {
            refusal = error.message();
        }
    }
    MsgBox(refusal + after, vbInformation);
    return false;
}

// ---- Commands -----------------------------------------------------------------------------

void CatalogTransferMenu::ImportMovies()
{
    m_window.RunListCommand([this] {
        const QString path = ChooseFile(&m_window, {false, QStringLiteral("Import Movies"),
                                                    ChooserFormats(true), QDir::homePath()});
        if (!path.isEmpty())
            importFile(path);
    });
}

void CatalogTransferMenu::ImportDropped(const QStringList &paths)
{
    m_window.RunListCommand([this, paths] {
        if (paths.size() == 1)
            importFile(paths.first());
        else
            MsgBox(QStringLiteral("Drop one file or folder at a time to import its movies."),
                   vbInformation);
    });
}

void CatalogTransferMenu::importFile(const QString &path)
{
    const FormatRow *format = nullptr;
    if (!attempt([&] { format = &FormatToRead({}, path); }))
        return;
    ImportRequest request{
        path, format,       m_window.CatalogPath(), ReaderProgramPath(m_window.ProgramFolder()),
        {},   {true, false}};
    const QString name = ForeignFileName(path);
    ImportSummary trial;
    if (!importWithProgress(request, QStringLiteral("Reading the movies of %1...").arg(name),
                            &trial))
        return;
    if (MsgBox(ImportQuestion::text(trial, name), vbYesNo | vbQuestion) != vbYes)
        return;
    request.options.check = false;
    if (importWithProgress(request, QStringLiteral("Importing the movies of %1...").arg(name)))
        m_window.ShowAllMovies();
}

bool CatalogTransferMenu::importWithProgress(const ImportRequest &request, const QString &label,
                                             ImportSummary *summary)
{
    ProgressWindow progress(&m_window, label, m_progressDelayMs);
    try {
        return attempt(
            [&] {
                const ImportSummary done = ImportFile(
                    request, [&](qint64 read, qint64 total) { progress.update(read, total); });
                if (summary)
                    *summary = done;
            },
            QStringLiteral("\n\nNothing was imported."));
    } catch (const ProgressWindow::Cancelled &) {
        return false; // rolled back: the catalog is as it was
    }
}

void CatalogTransferMenu::ExportMovies()
{
    m_window.RunListCommand([this] {
        const QString path =
            ChooseFile(&m_window, {true, QStringLiteral("Export Movies"), ChooserFormats(false),
                                   QDir::home().filePath(QStringLiteral("movies.csv"))});
        if (path.isEmpty())
            return;
        const FormatRow *format = FormatNamed({}, path);
        if (!format || !format->write) {
            MsgBox(QStringLiteral("%1 is not of a kind that can be exported; Reelwarden exports "
                                  "%2 files.")
                       .arg(ForeignFileName(path), WritableFormats()),
                   vbInformation);
            return;
        }
        ProgressWindow progress(&m_window, QStringLiteral("Exporting the movies..."),
                                m_progressDelayMs);
        int count = 0;
        try {
            // The chooser has asked before replacing a file.
            if (!attempt([&] {
                    count = ExportCatalog(
                        m_window.CatalogPath(), path, *format, true,
                        [&](qint64 done, qint64 total) { progress.update(done, total); });
                }))
                return;
        } catch (const ProgressWindow::Cancelled &) {
            return; // no file was written
        }
        MsgBox(QStringLiteral("Exported %1 to %2.").arg(movies(count), ForeignFileName(path)),
               vbInformation);
    });
}

void CatalogTransferMenu::BackUpCatalog()
{
    m_window.RunListCommand([this] {
        const QDate today = QDate::currentDate();
        const QString folder = DailyBackup(m_window.CatalogPath(), today).folder();
        QDir().mkpath(folder); // where the chooser opens; another folder may be chosen
        const QString path = ChooseFile(
            &m_window, {true,
                        QStringLiteral("Back Up Catalog"),
                        {{QStringLiteral("Reelwarden catalogs"), {QStringLiteral("*.mdb")}, false}},
                        QDir(folder).filePath(BackupRetention::fileName(today))});
        if (path.isEmpty())
            return;
        // The chooser has asked before replacing a file.
        if (attempt([&] { BackupCatalog(m_window.CatalogPath(), path, true); }))
            MsgBox(QStringLiteral("Wrote a copy of the catalog to %1.")
                       .arg(QDir::toNativeSeparators(path)),
                   vbInformation);
    });
}
