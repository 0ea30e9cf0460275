#include "FileChooser.h"

#include <QFileDialog>
#include <QFileInfo>

namespace
{

FileChooserHook &fileChooserHook()
{
    static FileChooserHook instance;
    return instance;
}

QString filterOf(const ChooserFormat &format)
{
    return QStringLiteral("%1 (%2)").arg(
        format.description, format.folder ? QStringLiteral("*") : format.patterns.join(u' '));
}

QStringList filters(const FileChooserRequest &request)
{
    QStringList all;
    QStringList each;
    for (const ChooserFormat &format : request.formats) {
        if (!format.folder)
            all << format.patterns;
        each << filterOf(format);
    }
    all.removeDuplicates();
    if (!request.save && request.formats.size() > 1)
        each.prepend(QStringLiteral("Movie files (%1)").arg(all.join(u' ')));
    return each;
}

// A format that reads a folder is chosen as a folder: its filter switches the dialog over.
void followFolderFormats(QFileDialog &dialog, const FileChooserRequest &request)
{
    QObject::connect(
        &dialog, &QFileDialog::filterSelected, &dialog, [&dialog, request](const QString &filter) {
            bool folder = false;
            for (const ChooserFormat &format : request.formats)
                folder |= format.folder && filterOf(format) == filter;
            dialog.setFileMode(folder ? QFileDialog::Directory : QFileDialog::ExistingFile);
        });
}

// The extension of the chosen format, for a name typed without one.
QString withExtension(const QString &path, const QString &filter, const FileChooserRequest &request)
{
    for (const ChooserFormat &format : request.formats) {
        for (const QString &pattern : format.patterns) {
            if (path.endsWith(pattern.mid(1), Qt::CaseInsensitive))
                return path;
        }
    }
    for (const ChooserFormat &format : request.formats) {
        if (filterOf(format) == filter && !format.patterns.isEmpty())
            return path + format.patterns.first().mid(1);
    }
    return path;
}

} // namespace

void SetFileChooserHook(FileChooserHook hook)
{
    fileChooserHook() = std::move(hook);
}

QString ChooseFile(QWidget *parent, const FileChooserRequest &request)
{
    if (fileChooserHook())
        return fileChooserHook()(request);
    QFileDialog dialog(parent, request.caption, request.proposed);
    dialog.setObjectName(QStringLiteral("dlgChooseFile"));
    dialog.setNameFilters(filters(request));
    dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
    dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
    if (!QFileInfo(request.proposed).isDir())
        dialog.selectFile(request.proposed);
    if (!request.save)
        followFolderFormats(dialog, request);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    const QString path = dialog.selectedFiles().first();
    return request.save ? withExtension(path, dialog.selectedNameFilter(), request) : path;
}
