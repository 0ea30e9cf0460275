#include "CatalogGenerator.h"

#include "CatalogSchema.h"

#include <QFile>
#include <QHash>
#include <QStringList>

#include <sqlite3.h>

#include <random>
#include <stdexcept>

namespace CatalogGenerator
{
namespace
{

const char *const kLead[kLeadWords] = {
    "Midnight",  "Silent",    "Crimson",   "Golden",   "Broken",   "Distant",  "Hidden",
    "Frozen",    "Wild",      "Last",      "Lost",     "Dark",     "Bright",   "Empty",
    "Burning",   "Quiet",     "Electric",  "Savage",   "Eternal",  "Fallen",   "Hollow",
    "Iron",      "Velvet",    "Shattered", "Northern", "Southern", "Eastern",  "Western",
    "Secret",    "Forgotten", "Scarlet",   "Silver",   "Stolen",   "Restless", "Endless",
    "Rising",    "Sleeping",  "Wandering", "Bitter",   "Sweet",    "Lonely",   "Perfect",
    "Dangerous", "Invisible", "Desperate", "Glorious", "Haunted",  "Little",   "Magnificent",
    "Naked",     "Ordinary",  "Private",   "Reckless", "Sacred",   "Twisted",  "Vanishing",
    "Wicked",    "Young",     "Ancient",   "Blue",     "Cold",     "Deadly",   "Fearless",
    "Gentle",    "Heavy",     "Infinite",  "Jagged",   "Kind",     "Lucky",    "Mad",
    "Noble",     "Open",      "Proud",     "Rapid",    "Strange",  "Tender",   "Unknown",
    "Violent",   "Weary",     "Amber",     "Black",    "Copper",   "Dusty",    "Emerald",
    "Final",     "Grand",     "Hungry",    "Ivory",    "Jade",     "Long",     "Mystic",
    "Night",     "Pale",      "Royal",     "Stone",    "Thunder",  "Urban",    "Whispering",
    "Über",      "Éternel",
};

const char *const kNouns[] = {
    "Harbor",     "River",    "Highway",    "Garden",    "Empire",   "Frontier", "Shadow",
    "Horizon",    "Kingdom",  "Station",    "Island",    "Mountain", "Stranger", "Witness",
    "Promise",    "Journey",  "Summer",     "Winter",    "Heart",    "Affair",   "Country",
    "Dream",      "Bridge",   "Circus",     "Desert",    "Engine",   "Fortune",  "Gambit",
    "Hunter",     "Legacy",   "Machine",    "Nightmare", "Outlaw",   "Passage",  "Queen",
    "Ransom",     "Signal",   "Tide",       "Valley",    "Voyage",   "Warrior",  "Zone",
    "Café",       "Señor",    "Città",      "Łódź",      "Fjörd",    "Ça Ira",   "Straße",
    "Mañana",     "Sæter",    "Rendezvous", "Mirror",    "Season",   "Letter",   "Orchard",
    "Lighthouse", "Carnival", "Masquerade", "Symphony",
};

const char *const kThirds[] = {
    "",
    "",
    "",
    "",
    "",
    " of the Sun",
    " at Dawn",
    " in Paris",
    " on Fire",
    " of Tomorrow",
    " in the Rain",
    " for Hire",
    " of Kraków",
    " at Zürich",
    " Returns",
    " Forever",
    " of São Paulo",
    " and the Sea",
    " Revisited",
    " in Winter",
    " of Dreams",
};

const char *const kCategories[] = {"Action",  "Comedy",      "Drama",  "Horror",  "Science Fiction",
                                   "Western", "Documentary", "Family", "Musical", "Thriller"};
const char *const kRatings[] = {"G", "PG", "PG-13", "R", "NC-17", "Not Rated"};
const char *const kConditions[] = {"Mint",          "Very good",   "Good", "Worn, plays fine",
                                   "Label peeling", "Case cracked"};
const char *const kFirst[] = {"James",    "Mary",  "Robert", "Patricia",  "John",  "Jennifer",
                              "Michael",  "Linda", "David",  "Elizabeth", "José",  "Zoë",
                              "François", "Björn", "Ingrid", "Renée",     "Akira", "Catherine"};
const char *const kLast[] = {"Smith",     "Johnson",   "Williams", "Brown",     "Jones",
                             "Garcia",    "Miller",    "Davis",    "Rodríguez", "Martínez",
                             "Hernández", "Müller",    "Dubois",   "Kowalski",  "Nakamura",
                             "O'Brien",   "Andersson", "Fontaine"};
const char *const kCommentWords[] = {
    "A",     "restless", "story", "about",     "a",        "family", "who",         "find",
    "their", "way",      "home",  "after",     "the",      "war;",   "beautifully", "shot,",
    "with",  "a",        "score", "that",      "lingers.", "Bought", "at",          "a",
    "yard",  "sale",     "in",    "1994.",     "Tape",     "has",    "a",           "glitch",
    "near",  "the",      "end.",  "Favourite", "scene:",   "the",    "café",        "in",
    "the",   "rain.",    "Lent",  "to",        "Anna",     "once."};

template <size_t N> const char *pick(std::mt19937_64 &rng, const char *const (&list)[N])
{
    return list[rng() % N];
}

QString person(std::mt19937_64 &rng)
{
    return QString::fromUtf8(pick(rng, kFirst)) + QLatin1Char(' ') +
           QString::fromUtf8(pick(rng, kLast));
}

QString comments(std::mt19937_64 &rng)
{
    const int words = 8 + int(rng() % 45);
    QString text;
    for (int i = 0; i < words; ++i) {
        if (i)
            text += QLatin1Char(' ');
        text += QString::fromUtf8(pick(rng, kCommentWords));
    }
    return text;
}

void check(sqlite3 *db, int rc)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW)
        throw std::runtime_error(sqlite3_errmsg(db));
}

void bindText(sqlite3_stmt *statement, int index, const QString &text)
{
    const QByteArray utf8 = text.toUtf8();
    sqlite3_bind_text(statement, index, utf8.constData(), int(utf8.size()), SQLITE_TRANSIENT);
}

} // namespace

QString leadWord(int index)
{
    return QString::fromUtf8(kLead[index]);
}

void write(const QString &path, int count, std::uint64_t seed)
{
    std::mt19937_64 rng(seed);
    sqlite3 *db = nullptr;
    if (sqlite3_open(QFile::encodeName(path).constData(), &db) != SQLITE_OK)
        throw std::runtime_error("cannot create the catalog");
    check(db, sqlite3_exec(db, kCatalogSchemaSql, nullptr, nullptr, nullptr));
    check(db, sqlite3_exec(db, "PRAGMA journal_mode=OFF; PRAGMA synchronous=OFF; BEGIN", nullptr,
                           nullptr, nullptr));
    sqlite3_stmt *insert = nullptr;
    check(db, sqlite3_prepare_v2(
                  db,
                  "INSERT INTO Movies (Title, Category, Rating, Format, Value, Copyright, Hours, "
                  "Minutes, Condition, TapePosition, StarOne, StarTwo, StarThree, StarFour, "
                  "Producer, Director, Comments) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)",
                  -1, &insert, nullptr));
    QHash<QString, int> uses; // how often each title before its part number came up, by upper case
    for (int i = 0; i < count; ++i) {
        const int lead = int(rng() % kLeadWords);
        QString title = leadWord(lead) + QLatin1Char(' ') + QString::fromUtf8(pick(rng, kNouns)) +
                        QString::fromUtf8(pick(rng, kThirds));
        // No word list holds " Part ", so a part number keeps the title unique.
        const int use = ++uses[title.toUpper()];
        if (use > 1)
            title += QStringLiteral(" Part %1").arg(use);

        sqlite3_reset(insert);
        bindText(insert, 1, title);
        bindText(insert, 2, QString::fromUtf8(pick(rng, kCategories)));
        bindText(insert, 3, QString::fromUtf8(pick(rng, kRatings)));
        bindText(insert, 4, rng() % 3 ? QStringLiteral("DVD") : QStringLiteral("VHS"));
        sqlite3_bind_double(insert, 5, double(rng() % 6000) / 100.0 + 1.0);
        sqlite3_bind_int(insert, 6, 1930 + int(rng() % 95));
        sqlite3_bind_int(insert, 7, 1 + int(rng() % 3));
        sqlite3_bind_int(insert, 8, int(rng() % 60));
        bindText(insert, 9, QString::fromUtf8(pick(rng, kConditions)));
        bindText(insert, 10, QStringLiteral("Shelf %1, slot %2").arg(rng() % 40).arg(rng() % 90));
        for (int star = 0; star < 4; ++star) {
            if (star < 2 || rng() % 2)
                bindText(insert, 11 + star, person(rng));
            else
                sqlite3_bind_null(insert, 11 + star);
        }
        bindText(insert, 15, person(rng));
        bindText(insert, 16, person(rng));
        if (rng() % 4)
            bindText(insert, 17, comments(rng));
        else
            sqlite3_bind_null(insert, 17);
        check(db, sqlite3_step(insert));
    }
    sqlite3_finalize(insert);
    check(db, sqlite3_exec(db, "COMMIT", nullptr, nullptr, nullptr));
    sqlite3_close(db);
}

} // namespace CatalogGenerator
