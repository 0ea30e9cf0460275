-- The catalog: one row a movie. Text columns compare without regard to letter case
-- (the program registers a NOCASE collation that folds every letter, not only A to Z).
CREATE TABLE Movies (
    ID INTEGER PRIMARY KEY,
    Title TEXT COLLATE NOCASE,
    Category TEXT COLLATE NOCASE,
    Rating TEXT COLLATE NOCASE,
    Format TEXT COLLATE NOCASE,
    Value NUMERIC,
    Copyright INTEGER,
    Hours INTEGER,
    Minutes INTEGER,
    Condition TEXT COLLATE NOCASE,
    TapePosition TEXT COLLATE NOCASE,
    StarOne TEXT COLLATE NOCASE,
    StarTwo TEXT COLLATE NOCASE,
    StarThree TEXT COLLATE NOCASE,
    StarFour TEXT COLLATE NOCASE,
    Producer TEXT COLLATE NOCASE,
    Director TEXT COLLATE NOCASE,
    Comments TEXT COLLATE NOCASE
);
