#include "MovieListModel.h"

#include <algorithm>
#include <thread>

namespace {

// Below this many rows the list is sorted on the calling thread alone, in one sort.
constexpr size_t kParallelRows = 2048;
// A large list is sorted in ranges between splitting keys taken from every so many rows.
constexpr int kSampleRows = 8192;
constexpr int kSamplesPerSplitter = 8;

QCollatorSortKey keyFor(const QCollator &collator, bool foldFirst, const QString &title)
{
    // The C locale's collation compares code units and ignores the case setting: fold the
    // case first so the list stays in alphabetical order without regard to case there too.
    if (foldFirst)
        return collator.sortKey(title.toCaseFolded());
    return collator.sortKey(title);
}

bool keyLess(const QCollatorSortKey &a, const QCollatorSortKey &b)
{
    return a.compare(b) < 0;
}

// The sort keys of rows [first, end), and for each row the range it falls in: the number of
// splitting keys that sort before or equal to its key.
struct KeyedRows {
    std::vector<QCollatorSortKey> keys; // keys[i] belongs to row first + i
    std::vector<quint16> range;

    void build(const QCollator &collator, bool foldFirst, const std::vector<RecordsetRow> &rows,
               int first, int end, const std::vector<QCollatorSortKey> &splitters)
    {
        keys.reserve(size_t(end - first));
        range.resize(size_t(end - first));
        for (int i = first; i < end; ++i) {
            keys.push_back(keyFor(collator, foldFirst, rows[size_t(i)].title));
            range[size_t(i - first)] = quint16(
                std::upper_bound(splitters.begin(), splitters.end(), keys.back(), keyLess) -
                splitters.begin());
        }
    }
};

} // namespace

MovieListModel::MovieListModel(QObject *parent) : QAbstractListModel(parent)
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(false);
    m_foldFirst = m_collator.locale().language() == QLocale::C;
}

MovieListModel::~MovieListModel()
{
    if (m_keyRelease.joinable())
        m_keyRelease.join();
}

QCollatorSortKey MovieListModel::sortKey(const QString &title) const
{
    return keyFor(m_collator, m_foldFirst, title);
}

// The rows' indices in list order: by sort key, equal keys in row order.
//
// A large list is sorted in ranges: the keys of a sample of rows are sorted, every eighth
// becomes a splitting key, each row goes to the range between the splitting keys around its
// own key, and each range is sorted on its own. Ranges are small, so the keys being compared
// stay in the cache; the order is the same as one sort of every key. The keys are made on two
// threads, each half of the rows on one, as are the ranges sorted; the second thread has a
// collator of its own (a collator is not to be shared between threads).
std::vector<int> MovieListModel::sortedOrder(const std::vector<RecordsetRow> &rows)
{
    if (m_keyRelease.joinable())
        m_keyRelease.join();
    const int n = int(rows.size());
    std::vector<int> order(rows.size());
    for (int i = 0; i < n; ++i)
        order[size_t(i)] = i;
    if (rows.size() < kParallelRows) {
        std::vector<QCollatorSortKey> keys;
        keys.reserve(rows.size());
        for (const auto &row : rows)
            keys.push_back(sortKey(row.title));
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            return keys[size_t(a)].compare(keys[size_t(b)]) < 0;
        });
        return order;
    }

    std::vector<QCollatorSortKey> splitters;
    {
        const int samples = std::min(n, kSampleRows);
        std::vector<QCollatorSortKey> sample;
        sample.reserve(size_t(samples));
        for (int j = 0; j < samples; ++j)
            sample.push_back(sortKey(rows[size_t(qint64(j) * n / samples)].title));
        std::sort(sample.begin(), sample.end(), keyLess);
        for (int j = kSamplesPerSplitter; j < samples; j += kSamplesPerSplitter)
            splitters.push_back(sample[size_t(j)]);
    }

    const int mid = n / 2;
    KeyedRows low, high;
    const QLocale locale = m_collator.locale();
    const bool foldFirst = m_foldFirst;
    std::thread worker([&high, &rows, &splitters, locale, foldFirst, mid, n] {
        QCollator collator(locale);
        collator.setCaseSensitivity(Qt::CaseInsensitive);
        collator.setNumericMode(false);
        high.build(collator, foldFirst, rows, mid, n, splitters);
    });
    low.build(m_collator, m_foldFirst, rows, 0, mid, splitters);
    worker.join();

    // The rows grouped by range, in row order within each.
    const auto rangeOf = [&](int row) {
        return row < mid ? low.range[size_t(row)] : high.range[size_t(row - mid)];
    };
    std::vector<int> starts(splitters.size() + 2, 0);
    for (int i = 0; i < n; ++i)
        ++starts[size_t(rangeOf(i)) + 1];
    for (size_t r = 1; r < starts.size(); ++r)
        starts[r] += starts[r - 1];
    {
        std::vector<int> next(starts.begin(), starts.end() - 1);
        for (int i = 0; i < n; ++i)
            order[size_t(next[size_t(rangeOf(i))]++)] = i;
    }

    // Each range by key, equal keys in row order; the ranges from the one holding the middle
    // row on are sorted on the second thread.
    const auto sortRanges = [&](size_t from, size_t to) {
        const auto less = [&](int a, int b) {
            const QCollatorSortKey &ka = a < mid ? low.keys[size_t(a)] : high.keys[size_t(a - mid)];
            const QCollatorSortKey &kb = b < mid ? low.keys[size_t(b)] : high.keys[size_t(b - mid)];
            const int c = ka.compare(kb);
            return c < 0 || (c == 0 && a < b);
        };
        for (size_t r = from; r < to; ++r)
            std::sort(order.begin() + starts[r], order.begin() + starts[r + 1], less);
    };
    const size_t ranges = starts.size() - 1;
    size_t split = 0;
    while (split < ranges && starts[split + 1] <= mid)
        ++split;
    std::thread back([&] { sortRanges(split, ranges); });
    sortRanges(0, split);
    back.join();

    // Freeing a million keys takes a while: that is left to a thread of its own, and the list
    // shows meanwhile.
    m_keyRelease = std::thread([low = std::move(low), high = std::move(high)]() mutable {
        low = {};
        high = {};
    });
    return order;
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
    const std::vector<int> order = sortedOrder(rows);
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
