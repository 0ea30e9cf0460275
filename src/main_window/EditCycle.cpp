#include "EditCycle.h"

#include "DataControl.h"
#include "StoreError.h"

EditCycle::EditCycle(DataControl &data, std::function<QStringList()> fieldTexts)
    : m_data(data), m_fieldTexts(std::move(fieldTexts))
{
}

void EditCycle::startAdding()
{
    m_addSnapshot = m_fieldTexts();
}

QString EditCycle::check(const QString &title) const
{
    if (title.isEmpty())
        return QStringLiteral("You must enter a title.");
    Recordset &recordset = m_data.recordset();
    std::optional<qint64> self;
    if (recordset.EditMode() != 2 && recordset.hasCurrentRow())
        self = recordset.rows()[size_t(recordset.position())].rowId;
    if (m_data.titleTaken(title, self))
        return QStringLiteral("You cannot have two movies with the same title.");
    return QString();
}

EditCycle::Leaving EditCycle::leave(const QString &title)
{
    Recordset &recordset = m_data.recordset();
    const int mode = recordset.EditMode();
    Leaving leaving{QString(), mode == 2};
    if (mode == 0)
        return leaving;
    if (mode == 2 && m_fieldTexts() == m_addSnapshot) {
        recordset.CancelUpdate(); // nothing was entered since Add
        return leaving;
    }
    leaving.problem = check(title);
    if (leaving.problem.isEmpty()) {
        try {
            recordset.Update();
        } catch (const StoreError &error) {
            leaving.problem = failure(ToolbarCommand::Save, error);
        }
    }
    return leaving;
}

void EditCycle::discard()
{
    m_data.recordset().CancelUpdate();
}

bool EditCycle::enabledWhileAdding(ToolbarCommand command)
{
    return command == ToolbarCommand::Save;
}

bool EditCycle::enabledWhileBrowsing(ToolbarCommand command, bool movieListed)
{
    return command != ToolbarCommand::Delete || movieListed;
}

QString EditCycle::failure(ToolbarCommand command, const StoreError &error)
{
    if (error.kind() == StoreError::Kind::Input)
        return error.message();
    switch (command) {
    case ToolbarCommand::Delete:
        return QStringLiteral("The movie could not be deleted. ") + error.message();
    case ToolbarCommand::Add:
    case ToolbarCommand::Save:
        return QStringLiteral("The movie could not be saved. ") + error.message();
    default:
        return error.message();
    }
}
