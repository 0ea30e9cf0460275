-- Two movies with every field filled, one title with a letter beyond ASCII; each has comments,
-- which the printed sheet leaves out.
INSERT INTO Movies (Title, Category, Rating, Format, Value, Copyright, Hours, Minutes, Condition,
                    TapePosition, StarOne, StarTwo, StarThree, StarFour, Producer, Director,
                    Comments)
VALUES ('Amélie', 'Comedy', 'R', 'DVD', 12.5, 2001, 2, 2, 'Like new', 'Shelf 3, left',
        'Audrey Tautou', 'Mathieu Kassovitz', 'Rufus', 'Lorella Cravotta', 'Claudie Ossard',
        'Jean-Pierre Jeunet', 'Watched twice; lent to Sam'),
       ('Zardoz', 'Science Fiction', 'R', 'VHS', 4, 1974, 1, 45, 'Worn box', 'Tape 12',
        'Sean Connery', 'Charlotte Rampling', 'Sara Kestelman', 'John Alderton',
        'John Boorman', 'John Boorman', 'Bought at a fair
second line of the remark');
