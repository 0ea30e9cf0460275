#pragma once

#include "CastLeftOut.h"
#include "MovieRow.h"

#include <QMap>
#include <QSet>
#include <QStringList>

class XmlInput;

// Reads Kodi's <movie> element, as an .nfo file and videodb.xml hold it, into a row, and
// keeps across movies what went into no column, for the summary.
class NfoMovie
{
  public:
    // Reads the children of the current <movie> element, up to its end.
    MovieRow read(XmlInput &xml, const QString &where);
    QStringList unusedColumns() const { return m_unused; }
    QStringList notes() const;

  private:
    struct Fields;
    void readField(XmlInput &xml, Fields &fields);
    void readActor(XmlInput &xml, Fields &fields);
    void markUnused(const QString &name);
    MovieRow rowOf(const Fields &fields, const QString &where);
    void setJoined(MovieRow &row, int column, const QStringList &values);

    QStringList m_unused;
    QSet<QString> m_unusedSeen;
    QMap<int, int> m_joined; // column: movies whose several values were joined
    CastLeftOut m_cast;
};
