#include "MovieListModel.h"

#include <algorithm>

MovieListModel::MovieListModel(QObject *parent) : QAbstractListModel(parent) {}

MovieListModel::~MovieListModel() = default;

QCollatorSortKey MovieListModel::sortKey(const QString &title) const
{
    return m_order.sortKey(title);
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

// The binary searches compare sort keys, as the sort does: QCollator::compare may order some
// non-ASCII texts differently from their keys.
int MovieListModel::upperBound(const QString &title) const
{
    const QCollatorSortKey key = sortKey(title);
    const auto it = std::upper_bound(m_entries.begin(), m_entries.end(), key,
                                     [this](const QCollatorSortKey &k, const QString &entry) {
                                         return k.compare(sortKey(entry)) < 0;
                                     });
    return int(it - m_entries.begin());
}

int MovieListModel::lowerBound(const QString &title) const
{
    const QCollatorSortKey key = sortKey(title);
    const auto it = std::lower_bound(m_entries.begin(), m_entries.end(), key,
                                     [this](const QString &entry, const QCollatorSortKey &k) {
                                         return sortKey(entry).compare(k) < 0;
                                     });
    return int(it - m_entries.begin());
}

int MovieListModel::indexOf(const QString &title) const
{
    for (int i = lowerBound(title), end = upperBound(title); i < end; ++i) {
        if (m_entries[size_t(i)] == title)
            return i;
    }
    return -1;
}

bool MovieListModel::apply(const RowChange &change)
{
    // Entries that sort equal keep the order of their rows. An appended row is the last of
    // its equals; a renamed row's place among equals would need the rows, so a title that
    // has equals is left to a rebuild.
    int removeAt = -1;
    if (change.kind == RowChange::Kind::Removed || change.kind == RowChange::Kind::Renamed) {
        for (int i = lowerBound(change.oldTitle), end = upperBound(change.oldTitle); i < end; ++i) {
            if (m_entries[size_t(i)] == change.oldTitle) {
                removeAt = i;
                break;
            }
        }
        if (removeAt < 0)
            return false;
    }
    int insertAt = -1;
    if (change.kind == RowChange::Kind::Appended) {
        insertAt = upperBound(change.newTitle);
    } else if (change.kind == RowChange::Kind::Renamed) {
        const int lower = lowerBound(change.newTitle);
        const int upper = upperBound(change.newTitle);
        const bool onlySelf = upper - lower == 1 && lower == removeAt;
        if (upper != lower && !onlySelf)
            return false;
        insertAt = lower;
    }
    if (removeAt >= 0) {
        beginRemoveRows(QModelIndex(), removeAt, removeAt);
        m_entries.erase(m_entries.begin() + removeAt);
        endRemoveRows();
        if (insertAt > removeAt)
            --insertAt;
    }
    if (insertAt >= 0) {
        beginInsertRows(QModelIndex(), insertAt, insertAt);
        m_entries.insert(m_entries.begin() + insertAt, change.newTitle);
        endInsertRows();
    }
    return true;
}

void MovieListModel::fill(const std::vector<RecordsetRow> &rows, quint64 generation,
                          const RowChange &change)
{
    if (m_filled && generation == m_generation && size_t(count()) == rows.size())
        return;
    if (m_filled && change.kind != RowChange::Kind::None && change.from == m_generation &&
        change.to == generation && apply(change)) {
        if (size_t(count()) == rows.size()) {
            m_generation = generation;
            return;
        }
        m_filled = false; // the entries match no generation now: rebuild, keep nothing
    }
    if (m_filled && m_hasPrevious && generation == m_previousGeneration &&
        m_previous.size() == rows.size()) {
        beginResetModel();
        std::swap(m_entries, m_previous);
        std::swap(m_generation, m_previousGeneration);
        endResetModel();
        return;
    }
    const std::vector<int> order = m_order.sortedOrder(rows);
    beginResetModel();
    if (m_filled) {
        m_previous = std::move(m_entries);
        m_previousGeneration = m_generation;
        m_hasPrevious = true;
    }
    m_entries = {};
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
    m_previous.clear();
    m_hasPrevious = false;
    m_filled = false;
    endResetModel();
}
