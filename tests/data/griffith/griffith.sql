-- A Griffith database as Griffith 0.13 lays it out (its lib/db/tables.py), filled by hand with
-- two movies: reelwarden's test makes griffith.db from it.
CREATE TABLE media (medium_id INTEGER NOT NULL, name VARCHAR(64) NOT NULL, PRIMARY KEY (medium_id), UNIQUE (name));
CREATE TABLE collections (collection_id INTEGER NOT NULL, name VARCHAR(64) NOT NULL, loaned BOOLEAN NOT NULL, PRIMARY KEY (collection_id), UNIQUE (name));
CREATE TABLE volumes (volume_id INTEGER NOT NULL, name VARCHAR(64) NOT NULL, loaned BOOLEAN NOT NULL, PRIMARY KEY (volume_id), UNIQUE (name));
CREATE TABLE posters (md5sum VARCHAR(32) NOT NULL, data BLOB NOT NULL, PRIMARY KEY (md5sum));
CREATE TABLE configuration (param VARCHAR(16) NOT NULL, value VARCHAR(128) NOT NULL, PRIMARY KEY (param));
CREATE TABLE movies (
	movie_id INTEGER NOT NULL,
	number INTEGER NOT NULL,
	collection_id INTEGER,
	volume_id INTEGER,
	medium_id INTEGER,
	ratio_id INTEGER,
	vcodec_id INTEGER,
	loaned BOOLEAN NOT NULL,
	seen BOOLEAN NOT NULL,
	rating SMALLINT,
	color SMALLINT,
	cond SMALLINT,
	layers SMALLINT,
	region SMALLINT,
	media_num SMALLINT,
	runtime SMALLINT,
	year SMALLINT,
	width SMALLINT,
	height SMALLINT,
	barcode VARCHAR(32),
	o_title VARCHAR(256),
	title VARCHAR(256),
	director VARCHAR(256),
	screenplay VARCHAR(256),
	cameraman VARCHAR(256),
	o_site VARCHAR(256),
	site VARCHAR(256),
	trailer VARCHAR(256),
	country VARCHAR(128),
	genre VARCHAR(128),
	image VARCHAR(128),
	poster_md5 VARCHAR(32),
	studio VARCHAR(128),
	classification VARCHAR(128),
	"cast" TEXT,
	plot TEXT,
	notes TEXT,
	PRIMARY KEY (movie_id),
	FOREIGN KEY(collection_id) REFERENCES collections (collection_id),
	FOREIGN KEY(volume_id) REFERENCES volumes (volume_id),
	FOREIGN KEY(medium_id) REFERENCES media (medium_id),
	FOREIGN KEY(poster_md5) REFERENCES posters (md5sum),
	UNIQUE (number)
);
INSERT INTO configuration VALUES ('version', '5');
INSERT INTO media VALUES (1, 'DVD'), (2, 'Blu-ray');
INSERT INTO movies (movie_id, number, medium_id, loaned, seen, rating, runtime, year, o_title, title, director, country, genre, studio, classification, "cast", plot, notes, site)
VALUES (1, 1, 1, 0, 1, 8, 102, 1942, 'Casablanca', 'Casablanca', 'Michael Curtiz', 'USA', 'Drama / Romance / War', 'Warner Bros.', 'PG',
 'Humphrey Bogart as Rick Blaine' || char(10) || 'Ingrid Bergman as Ilsa Lund' || char(10) || 'Paul Henreid as Victor Laszlo' || char(10) || 'Claude Rains as Captain Louis Renault' || char(10) || 'Conrad Veidt as Major Heinrich Strasser',
 'A cynical nightclub owner protects an old flame and her husband from the Nazis in Morocco.', 'Bought in 2004.', 'http://www.imdb.com/title/tt0034583'),
 (2, 2, NULL, 0, 0, NULL, NULL, NULL, 'Das Boot', '', 'Wolfgang Petersen', 'West Germany', NULL, NULL, NULL, NULL, NULL, NULL, NULL);
