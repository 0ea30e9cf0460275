-- The movies of the Tellico round trip, every column set: exported by reelwarden-transfer,
-- opened and saved by Tellico (resaved-by-tellico.tc), imported back.
INSERT INTO Movies (Title, Category, Rating, Format, Value, Copyright, Hours, Minutes, Condition,
    TapePosition, StarOne, StarTwo, StarThree, StarFour, Producer, Director, Comments) VALUES
('The Quiet Valley', 'Western', 'PG (USA)', 'DVD', 12.5, 1975, 1, 42, 'Good', 'Tape 3, 0:45:10',
 'Ann Lee', 'Bob Ray', 'Cy Young', 'Di Fox', 'Ed Moss', 'Fay Hall',
 'Bought used.' || char(10) || 'Box torn; a <br in the text.'),
('L''Auberge espagnole', 'Comedy; Drama', 'R (USA)', 'VHS', 1049.5, 2002, 2, 2, 'Very good',
 'Shelf 2', 'Romain Duris', 'Audrey Tautou', NULL, NULL, 'Bruno Levy', 'Cédric Klapisch', NULL),
('Der Himmel über Berlin', 'Drama', 'PG-13 (USA)', 'Blu-ray', 0, 1987, 2, 8, 'Mint', 'A-17',
 'Bruno Ganz', 'Solveig Dommartin', 'Otto Sander', 'Peter Falk', 'Anatole Dauman', 'Wim Wenders',
 'Angels over Berlin.');
