-- Case twins, as older catalogs can hold, a movie without a title, and an apostrophe.
INSERT INTO Movies (Title, Director) VALUES ('Ocean''s Eleven', 'Soderbergh'), (NULL, 'Nobody'),
('heat', 'lower'), ('Heat', 'upper'), ('amélie', 'Jeunet');
