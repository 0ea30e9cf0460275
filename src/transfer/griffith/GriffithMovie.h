#pragma once

#include "CastLeftOut.h"
#include "MovieRow.h"

#include <QHash>
#include <QSet>
#include <QStringList>

// One Griffith movie, by Griffith's column names, into a row; what went into no column is
// kept across movies for the summary.
class GriffithMovie
{
  public:
    MovieRow rowOf(const QHash<QString, QString> &fields, const QString &where);
    QStringList unusedColumns() const { return m_unused; }
    QStringList notes() const;

  private:
    void setStars(MovieRow &row, const QString &cast);

    QStringList m_unused;
    QSet<QString> m_unusedSeen;
    CastLeftOut m_cast;
};
