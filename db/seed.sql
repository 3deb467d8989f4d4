SET NAMES latin2 COLLATE latin2_hungarian_ci;
-- Kept in UTF-8 here and loaded as Windows-1250 bytes over a latin2
-- connection, which the server stores unchanged (the program's own text
-- contract; see README):
--   scripts/mariadb-cp1250 DATABASE < FILE
-- or iconv -f UTF-8 -t WINDOWS-1250 FILE | mariadb --default-character-set=latin2 DATABASE.
-- A load that skipped the conversion stops here, before it stores any text:
SET character_set_client = IF(HEX('ő') = 'F5', 'latin2', 'file_not_converted_to_windows_1250');

-- Koravel.ML shop database: the rows an empty database is delivered with.
-- No placeholder rows with key 0: the views join with LEFT JOIN, so a sheet
-- without customer or device (0) still has its row, and "WHERE x = 0" gives
-- the empty result the windows open their queries with.

-- Schema version the program checks at start-up.
INSERT INTO verzio (verzio) VALUES ('24.0.0.111');

-- Work-sheet states; a sheet that is ready or invoiced is locked in the editor.
INSERT INTO statusz (statusz, statusz_nev, keszenvan) VALUES
  (0, 'Árajánlat', 'N'),
  (1, 'Beérkezett', 'N'),
  (2, 'Megkezdve', 'N'),
  (3, 'Készen van', 'I'),
  (4, 'Számlázva', 'I');

-- Trades, with the captions of their device data and whether they keep devices.
INSERT INTO prgtipus (prgtipus, prgtipus_nev, gyszstr, keszulekstr, muszakistr, vankeszulek) VALUES
  (1, 'Klíma szerelő', 'Gy.szám', 'Készülék', 'Karbantartás', 'I'),
  (2, 'Autószerelő', 'Rendszám', 'Gépjármű', 'Műszaki vizsga', 'I'),
  (3, 'Grafika stúdió', 'Gy.szám', 'Készülék', 'Bevizsgálás', 'N'),
  (4, 'Gázszerelő', 'Gy.szám', 'Gázkészülék', 'Éves felülvizsgálat', 'I'),
  (5, 'Ügyfélszolgálat', 'Telefonszám', 'SIM kártya', 'Lejárat', 'I');

-- Work-sheet types of each trade; "P" marks garment sheets of the graphics studio.
INSERT INTO mlaptipus (mlaptipus, betujel, mlaptipus_nev, megjegyzes, prgtipus) VALUES
  (1, 'J', 'Javítás', 'Hibás berendezés javítása', 1),
  (2, 'T', 'Telepítés', 'Új berendezés felszerelése, üzembe helyezése', 1),
  (3, 'K', 'Karbantartás', 'Időszakos karbantartás, tisztítás', 1),
  (4, 'A', 'Javítás', 'Gépjármű javítása', 2),
  (5, 'S', 'Szerviz', 'Időszakos szerviz', 2),
  (6, 'V', 'Vizsgáztatás', 'Műszaki vizsgára felkészítés', 2),
  (7, 'P', 'Pólónyomás', 'Póló, textil nyomása', 3),
  (8, 'G', 'Grafikai munka', 'Tervezés, nyomdai előkészítés', 3),
  (9, 'J', 'Javítás', 'Gázkészülék javítása', 4),
  (10, 'K', 'Karbantartás', 'Éves karbantartás, füstgázelemzés', 4),
  (11, 'B', 'Bejelentés', 'Ügyfél bejelentése', 5),
  (12, 'C', 'Csere', 'SIM kártya csere', 5);

-- The planner's half-hour slots: 08:00 to 19:30.
INSERT INTO ora (ora) VALUES
  (16), (17), (18), (19), (20), (21), (22), (23), (24), (25), (26), (27),
  (28), (29), (30), (31), (32), (33), (34), (35), (36), (37), (38), (39);

-- The calendar days of the planner's day grid: 2000-01-01 to 2099-12-31.
INSERT INTO nap (datum)
SELECT DATE '2000-01-01' + INTERVAL (a.n + 10 * b.n + 100 * c.n + 1000 * d.n + 10000 * e.n) DAY
  FROM (SELECT 0 AS n UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4
        UNION ALL SELECT 5 UNION ALL SELECT 6 UNION ALL SELECT 7 UNION ALL SELECT 8 UNION ALL SELECT 9) a,
       (SELECT 0 AS n UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4
        UNION ALL SELECT 5 UNION ALL SELECT 6 UNION ALL SELECT 7 UNION ALL SELECT 8 UNION ALL SELECT 9) b,
       (SELECT 0 AS n UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4
        UNION ALL SELECT 5 UNION ALL SELECT 6 UNION ALL SELECT 7 UNION ALL SELECT 8 UNION ALL SELECT 9) c,
       (SELECT 0 AS n UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3 UNION ALL SELECT 4
        UNION ALL SELECT 5 UNION ALL SELECT 6 UNION ALL SELECT 7 UNION ALL SELECT 8 UNION ALL SELECT 9) d,
       (SELECT 0 AS n UNION ALL SELECT 1 UNION ALL SELECT 2 UNION ALL SELECT 3) e
 WHERE a.n + 10 * b.n + 100 * c.n + 1000 * d.n + 10000 * e.n <= DATEDIFF('2099-12-31', '2000-01-01');

-- The shop's settings.
INSERT INTO beallit (beallit, vanbelep, mlaphatid, autocikkszam, autocikkszamhossz, mlapdatummodosit, kedvmutat,
                     afakulcs, szlamegjegyzes, prgtipus, kepftp, kephost, kepuser, keppwd, kepfolder, kepport,
                     levelkuldlink, verzioelfogadva, hirelfogadva, utbelep)
VALUES (1, 'N', 3, 'N', 5, 'N', 'N',
        27, '', 1, 'N', '', '', '', '', 21,
        '', '24.0.0.111', 0, NULL);

-- The status feed for the shop's website: what a customer's status page
-- shows of each work sheet changed in the last 90 days (arrived, recorded,
-- finished, paid or moved to another status), looked up by number and key.
-- Nothing about the customer leaves the shop in it. The shop sets its FTP
-- server in the definition; "KoravelML --export 'Munkalap állapot'" runs it.
INSERT INTO csvexp (csvexp, csvexp_nev, kategoria, szoveg_sql, mezonevek, mezocimkek, csopmezok, summezok,
                    keresmezok, parameterek, ezgrafikon, grafikonparam, hatarolo, szovegjelolo, file_local,
                    ftp_kell, host_ftp, ftp_user, ftp_jelszo, file_ftp, kordexa) VALUES
  (1, 'Munkalap állapot', 'Honlap',
   'SELECT m.munkalap AS munkalap, MD5(CONCAT(''key='', m.munkalap)) AS kulcs,\n  IF(m.storno = ''I'', ''Sztornózva'', s.statusz_nev) AS statusz,\n  DATE(m.dat_hatid) AS hatarido, m.dat_kesz AS elkeszult, m.fizetve AS fizetve\nFROM munkalap m\n  LEFT JOIN statusz s ON s.statusz = m.statusz\nWHERE m.datum >= CURDATE() - INTERVAL 90 DAY\n  OR m.rogzitve >= CURDATE() - INTERVAL 90 DAY\n  OR m.dat_kesz >= CURDATE() - INTERVAL 90 DAY\n  OR m.dat_fizetve >= CURDATE() - INTERVAL 90 DAY\n  OR m.munkalap IN (SELECT v.munkalap FROM statuszvaltas v WHERE v.rogzitve >= CURDATE() - INTERVAL 90 DAY)\nORDER BY m.munkalap;',
   'munkalap,kulcs,statusz,hatarido,elkeszult,fizetve', 'Munkalap,Kulcs,Állapot,Határidő,Elkészült,Fizetve',
   '', '', 'munkalap,kulcs', '', 'N', '', 0, 0, 'munkalap_allapot.csv', 'N', '', '', '', '', 'N');

-- The shop itself, to be filled in by the installer.
INSERT INTO tulajdonos (tulajdonos, telefon, mobil, fax, irsz, varos, cim, adoszam, bankszamlaszam,
                        vallig, ugyvez, kozadoszam, tirsz, tvaros, tcim)
VALUES ('Saját szerviz', '', '', '', '', '', '', '', '', '', '', '', '', '', '');
