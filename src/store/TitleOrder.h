#pragma once

#include "DataControl.h"

#include <QCollator>

#include <thread>
#include <vector>

// The order of the movie list: titles alphabetically by the user's locale, letters compared
// without case, equal titles in row order. The list and the export both sort with it.
class TitleOrder
{
  public:
    TitleOrder();
    ~TitleOrder();
    TitleOrder(const TitleOrder &) = delete;
    TitleOrder &operator=(const TitleOrder &) = delete;

    QCollatorSortKey sortKey(const QString &title) const;
    // The rows' indices in list order.
    std::vector<int> sortedOrder(const std::vector<RecordsetRow> &rows);

  private:
    QCollator m_collator;
    bool m_foldFirst = false;
    // Frees the sort keys of the last large sort; joined before the next one and on exit.
    std::thread m_keyRelease;
};
