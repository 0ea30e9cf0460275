-- Four movies in no order, one with a letter beyond ASCII, two with amounts and numbers.
INSERT INTO Movies (Title, Value, Copyright, Director, Hours, Minutes, Category) VALUES
('banana', 1234.5, 1999, NULL, NULL, NULL, NULL), ('éclair', NULL, NULL, NULL, NULL, NULL, NULL),
('Apple', 0, NULL, 'Ang Lee', 1, 5, 'Drama'), ('cherry', NULL, NULL, NULL, NULL, NULL, NULL);
