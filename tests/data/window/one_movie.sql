-- One movie with every pick list set.
INSERT INTO Movies (Title, Category, Rating, Format, Copyright, Hours, Minutes)
VALUES ('Alien', 'Horror', 'R', 'VHS', 1979, 1, 57);
