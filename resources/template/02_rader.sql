-- The free-lane placeholder: every lane row with Startnummer 1 points here.
INSERT INTO Skyttar (Löpnummer) VALUES (1);

INSERT INTO Utskriftsval (Listnamn, FältNamn, Bredd, Enable, AlltidEnable, StandardEnable, StandardBredd) VALUES
    ('Namn', 'Namn', 24, 1, 1, 1, 24),
    ('Förening', 'Förening', 20, 1, 1, 1, 20),
    ('Födelseår', 'Födelseår', 6, 0, 0, 0, 6),
    ('Aktivitetskort', 'Aktivitetskort', 10, 0, 0, 0, 10),
    ('Skyttekort nr', 'SkyttekortNr', 10, 0, 0, 0, 10);

INSERT INTO Sportskytteklasser (Klass, Klassnamn, [Antal skott]) VALUES
    ('H', 'Herrar', 60),
    ('D', 'Damer', 40),
    ('JH', 'Juniorer herrar', 60),
    ('JD', 'Juniorer damer', 40),
    ('V55', 'Veteraner 55', 40),
    ('U17', 'Ungdom 17', 40);

INSERT INTO Nationellaklasser (Klass, Klassnamn, [Antal skott]) VALUES
    ('LG1', 'Luftgevär klass 1', 40),
    ('LG2', 'Luftgevär klass 2', 40),
    ('LG3', 'Luftgevär klass 3', 40),
    ('LGJ', 'Luftgevär juniorer', 40),
    ('LGV', 'Luftgevär veteraner', 40),
    ('LGU', 'Luftgevär ungdom', 20);

INSERT INTO Mixadeklasser (Klass, Klassnamn, [Antal skott], [Sport/Nat]) VALUES
    ('H', 'Herrar', 60, 'Sport'),
    ('D', 'Damer', 40, 'Sport'),
    ('JH', 'Juniorer herrar', 60, 'Sport'),
    ('LG1', 'Luftgevär klass 1', 40, 'Nat'),
    ('LG2', 'Luftgevär klass 2', 40, 'Nat'),
    ('LGU', 'Luftgevär ungdom', 20, 'Nat');
