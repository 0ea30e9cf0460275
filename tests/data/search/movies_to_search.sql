-- Movies the search window is tried on: titles and names with apostrophes and letters
-- outside A to Z, stars in different star columns, years and values on both sides of the
-- bounds the tests use.
INSERT INTO Movies (Title, Category, Rating, Format, Value, Copyright, Condition,
                    StarOne, StarTwo, StarThree, StarFour, Producer, Director) VALUES
('Night Train', 'Drama', 'PG', 'DVD', 12.5, 1985, 'Good',
 'Anna Grey', 'Tom Holt', NULL, NULL, 'Mary O''Brien', 'Lund'),
('Nightfall', 'Thriller', 'R', 'VHS', 5, 1956, 'Worn',
 'Tom Holt', NULL, NULL, NULL, 'Sam Fox', 'Lundgren'),
('AMÉLIE', 'Comedy', 'R', 'DVD', 1234, 2001, 'Good',
 'Audrey Tautou', NULL, NULL, NULL, 'Claudie Ossard', 'Jean-Pierre Jeunet'),
('O''Brien''s Run', 'Drama', 'PG', 'VHS', 4.99, 1930, 'Worn',
 'Anna Grey', NULL, NULL, NULL, 'Pat O''Brien', 'Hal Roach'),
('Day of Wrath', 'Drama', 'NR', 'VHS', 1234.01, 1943, 'Fair',
 'Lisbeth Movin', NULL, NULL, NULL, 'Palladium', 'Carl Dreyer'),
('The Last Stand', 'Western', 'PG', 'DVD', 20, 1924, 'Good',
 NULL, NULL, 'Anna Grey', 'Tom Holt', 'Sam Fox', 'Lundqvist'),
('Late Spring', 'Drama', 'G', 'DVD', 8, 2025, 'Mint',
 'Setsuko Hara', NULL, NULL, NULL, 'Shochiku', 'Yasujiro Ozu');
