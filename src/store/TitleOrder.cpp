#include "TitleOrder.h"

#include <algorithm>

namespace
{

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
            range[size_t(i - first)] =
                quint16(std::upper_bound(splitters.begin(), splitters.end(), keys.back(), keyLess) -
                        splitters.begin());
        }
    }
};

} // namespace

TitleOrder::TitleOrder()
{
    m_collator.setCaseSensitivity(Qt::CaseInsensitive);
    m_collator.setNumericMode(false);
    m_foldFirst = m_collator.locale().language() == QLocale::C;
}

TitleOrder::~TitleOrder()
{
    if (m_keyRelease.joinable())
        m_keyRelease.join();
}

QCollatorSortKey TitleOrder::sortKey(const QString &title) const
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
std::vector<int> TitleOrder::sortedOrder(const std::vector<RecordsetRow> &rows)
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
