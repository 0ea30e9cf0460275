#pragma once

#include "CatalogImport.h"

// The question the catalog window asks before an import, from what a trial run of it found
// (ImportOptions::check): how many movies would be added, and the movies skipped or renamed,
// the file's unused columns and what was left out or kept elsewhere on the way. Long lists
// are cut short, saying how many more there are, so the question fits on the screen.
class ImportQuestion
{
  public:
    static constexpr int kListedAtMost = 10;

    static QString text(const ImportSummary &trial, const QString &fileName);

  private:
    static QString list(const QString &heading, const QStringList &items);
};
