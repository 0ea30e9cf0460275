#include "CastLeftOut.h"

#include "XmlInput.h"

QStringList CastLeftOut::notes() const
{
    QStringList notes;
    if (m_actors)
        notes << QStringLiteral("%1 beyond the fourth left out in %2")
                     .arg(counted(m_actors, "actor"), movieCount(m_movies));
    if (m_roles)
        notes << QStringLiteral("%1 of the cast left out").arg(counted(m_roles, "role"));
    return notes;
}
