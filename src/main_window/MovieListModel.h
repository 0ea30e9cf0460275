#pragma once

#include "DataControl.h"
#include "TitleOrder.h"

#include <QAbstractListModel>
#include <vector>

// The entries of the movie list: one title per row of the recordset, kept in alphabetical
// order (letters compared without case, by the user's locale). An entry holds its text only.
class MovieListModel : public QAbstractListModel
{
    Q_OBJECT
  public:
    explicit MovieListModel(QObject *parent = nullptr);
    ~MovieListModel() override;

    int rowCount(const QModelIndex &parent = QModelIndex()) const override;
    QVariant data(const QModelIndex &index, int role) const override;

    // Rebuilds the entries from `rows`. When they are the rows of `generation` already shown,
    // nothing needs to change and nothing is rebuilt.
    // When the rows moved to `generation` by `change` from the generation shown, only the
    // changed entry moves; the entries end up as a rebuild would leave them.
    void fill(const std::vector<RecordsetRow> &rows, quint64 generation,
              const RowChange &change = RowChange());
    void clear();
    const QString &entry(int index) const { return m_entries[size_t(index)]; }
    int count() const { return int(m_entries.size()); }
    // The first entry whose text is `title`, or -1.
    int indexOf(const QString &title) const;

  private:
    QCollatorSortKey sortKey(const QString &title) const;
    bool apply(const RowChange &change);
    // The first entry that sorts after `title` (upper) or not before it (lower).
    int upperBound(const QString &title) const;
    int lowerBound(const QString &title) const;

    std::vector<QString> m_entries;
    TitleOrder m_order;
    quint64 m_generation = 0;
    bool m_filled = false;
    // The entries shown before the last rebuild, by generation: the whole catalog comes back
    // after a search without being sorted again.
    std::vector<QString> m_previous;
    quint64 m_previousGeneration = 0;
    bool m_hasPrevious = false;
};
