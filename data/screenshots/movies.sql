-- The movies and pick lists in the screenshot of the catalog window: classics, the first one
-- (shown) with every field filled.
INSERT INTO Movies (Title, Category, Rating, Format, Value, Copyright, Hours, Minutes, Condition,
  TapePosition, StarOne, StarTwo, StarThree, StarFour, Producer, Director, Comments) VALUES
('Charade', 'Comedy', 'Not Rated', 'DVD', 12.5, 1963, 1, 53, 'Very good', 'Shelf 2', 'Cary Grant',
  'Audrey Hepburn', 'Walter Matthau', 'James Coburn', 'Stanley Donen', 'Stanley Donen',
  'Bought at a flea market in 2019.'),
('His Girl Friday', 'Comedy', 'Not Rated', 'Blu-ray', 18.99, 1940, 1, 32, 'New', 'Shelf 2',
  'Cary Grant', 'Rosalind Russell', 'Ralph Bellamy', NULL, 'Howard Hawks', 'Howard Hawks', NULL),
('Metropolis', 'Science Fiction', 'Not Rated', 'Blu-ray', 24.0, 1927, 2, 33, 'New', 'Shelf 1',
  'Brigitte Helm', 'Gustav Fröhlich', 'Alfred Abel', NULL, 'Erich Pommer', 'Fritz Lang',
  'The restored version.'),
('Night of the Living Dead', 'Horror', 'Not Rated', 'DVD', 5.0, 1968, 1, 36, 'Good', 'Shelf 3',
  'Duane Jones', 'Judith O''Dea', NULL, NULL, 'Russell Streiner', 'George A. Romero', NULL),
('Nosferatu', 'Silent', 'Not Rated', 'VHS', 3.5, 1922, 1, 34, 'Worn', 'Box 1, tape 4',
  'Max Schreck', 'Gustav von Wangenheim', 'Greta Schröder', NULL, 'Enrico Dieckmann',
  'F. W. Murnau', NULL),
('The General', 'Silent', 'Not Rated', 'DVD', 9.99, 1926, 1, 18, 'Good', 'Shelf 1',
  'Buster Keaton', 'Marion Mack', NULL, NULL, 'Joseph M. Schenck', 'Clyde Bruckman', NULL),
('The Third Man', 'Drama', 'Not Rated', 'DVD', 14.0, 1949, 1, 44, 'Very good', 'Shelf 2',
  'Joseph Cotten', 'Alida Valli', 'Orson Welles', 'Trevor Howard', 'Carol Reed', 'Carol Reed',
  NULL);
