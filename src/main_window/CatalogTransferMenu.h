#pragma once

#include <QObject>
#include <QStringList>

#include <functional>

class QMenu;
class frmTarsel;
struct ImportRequest;
struct ImportSummary;

// The movie list's menu (right click, the Menu key or Shift+F10) with Import Movies, Export
// Movies and Back Up Catalog, and the import of a file or folder dropped on the window. Each
// runs as a toolbar command runs (frmTarsel::RunListCommand) and through the same code as
// reelwarden-transfer, on the catalog the window has open.
class CatalogTransferMenu : public QObject
{
    Q_OBJECT
  public:
    explicit CatalogTransferMenu(frmTarsel &window);

    QMenu *menu() const { return m_menu; }
    // How long an import or export runs before its progress window shows.
    void setProgressDelay(int ms) { m_progressDelayMs = ms; }

    void ImportMovies();
    void ExportMovies();
    void BackUpCatalog();
    // Imports a file or folder dropped on the window.
    void ImportDropped(const QStringList &paths);

  protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

  private:
    void buildMenu();
    void acceptDrops();
    void popUp(const QPoint &globalPos);
    void popUpAtSelection();
    bool dragEvent(QEvent *event);
    void importFile(const QString &path);
    // Runs the import (or its trial) with a progress window; false when it was refused (and
    // the user told) or cancelled.
    bool importWithProgress(const ImportRequest &request, const QString &label,
                            ImportSummary *summary = nullptr);
    // Runs `work` under the hourglass; a refusal is shown, with `after` appended. False then.
    bool attempt(const std::function<void()> &work, const QString &after = {});

    frmTarsel &m_window;
    QMenu *m_menu = nullptr;
    int m_progressDelayMs = 500;
};
