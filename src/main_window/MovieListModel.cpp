#include "MovieListModel.h"

#include <algorithm>

MovieListModel::MovieListModel(QObject *parent) : QAbstractListModel(parent)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(false);
}

int MovieListModel::rowCount(const QModelIndex &parent) const
{
    return parent.isValid() ? 0 : count();
}

QVariant MovieListModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.row() >= count())
        return {};
    if (role == Qt::DisplayRole || role == Qt::AccessibleTextRole)
        return m_entries[size_t(index.row())];
    return {};
}

void MovieListModel::fill(const std::vector<RecordsetRow> &rows, quint64 generation)
{
    if (m_filled && generation == m_generation && size_t(count()) == rows.size())
        return;
    std::vector<QCollatorSortKey> keys;
    keys.reserve(rows.size());
    for (const auto &row : rows)
        keys.push_back(m_collator.sortKey(row.title));
    std::vector<int> order(rows.size());
    for (size_t i = 0; i < order.size(); ++i)
        order[i] = int(i);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
        return keys[size_t(a)].compare(keys[size_t(b)]) < 0;
    });
    beginResetModel();
    m_entries.clear();
    m_entries.reserve(rows.size());
    for (int i : order)
        m_entries.push_back(rows[size_t(i)].title);
    m_generation = generation;
    m_filled = true;
    endResetModel();
}

void MovieListModel::clear()
{
    beginResetModel();
    m_entries.clear();
    m_filled = false;
    endResetModel();
}
