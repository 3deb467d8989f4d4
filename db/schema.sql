SET NAMES latin2 COLLATE latin2_hungarian_ci;
-- Kept in UTF-8 here and loaded as Windows-1250 bytes over a latin2
-- connection, which the server stores unchanged (the program's own text
-- contract; see README):
--   scripts/mariadb-cp1250 DATABASE < FILE
-- or iconv -f UTF-8 -t WINDOWS-1250 FILE | mariadb --default-character-set=latin2 DATABASE.
-- A load that skipped the conversion stops here, before it stores any text:
SET character_set_client = IF(HEX('ő') = 'F5', 'latin2', 'file_not_converted_to_windows_1250');

-- Koravel.ML shop database: tables.
--
-- Load order: schema.sql, views.sql, routines.sql, seed.sql (then demo.sql for
-- the demo shop), each with
--   scripts/mariadb-cp1250 DATABASE < FILE
-- into an empty database. Every table keeps its text as Windows-1250 bytes in
-- latin2 columns with the Hungarian collation, as the program's connection sends it.
--
-- Conventions: the key column is named like its table; a column named like
-- another table holds that table's key (0 = none); flags are 'I' / 'N';
-- master data is deleted logically (torolve = 'I'), work sheets are cancelled
-- (storno = 'I'). Amounts are forints, gross (VAT included).
--
-- Columns kept up by the server on top of what the program writes:
--   munkalap.ar_ossz, ar_besz, ar_fizetendo  (sp_arbeallit and the line routines)
--   munkalap.dolgozostr                      (sp_dolgstr)
--   keszulek.utolso_munkalap                 (sp_ujmunkalap, sp_mlaptorol, sp_munkalapkesz)
--   ugyfel.gyszstr                           (triggers on keszulek, sp_gyszstr)
--   munkalap_kereses, ugyfel_kereses, keszulek_kereses
--                                            (triggers on the tables they are read from, sp_kereses_ujra)
--
-- The planner's day grid dolgelo is a view (views.sql) over the appointments,
-- the slots (ora) and the calendar days (nap), so it is current for any day.

-- ---------------------------------------------------------------------------
-- Work sheets

CREATE TABLE munkalap (
  munkalap INT NOT NULL AUTO_INCREMENT,
  mlaptipus INT NOT NULL DEFAULT 0,
  ugyfel INT NOT NULL DEFAULT 0,
  keszulek INT NOT NULL DEFAULT 0,
  datum DATE NULL,
  dat_hatid DATETIME NULL,
  dat_kesz DATE NULL,
  statusz INT NOT NULL DEFAULT 1,
  ar_ossz DOUBLE NULL DEFAULT 0,
  ar_kedvezmeny DOUBLE NULL DEFAULT 0,
  szoveg_kedvezmeny VARCHAR(50) NULL,
  ar_eloleg DOUBLE NULL DEFAULT 0,
  ar_fizetendo DOUBLE NULL DEFAULT 0,
  ar_besz DOUBLE NULL DEFAULT 0,
  panasz TEXT NULL,
  vegzett_munka TEXT NULL,
  megjegyzes TEXT NULL,
  storno CHAR(1) NOT NULL DEFAULT 'N',
  dolgozostr VARCHAR(255) NULL DEFAULT '',
  szlaszam VARCHAR(50) NULL,
  rogzitve DATETIME NULL,
  kmora INT NULL,
  fizetve CHAR(1) NOT NULL DEFAULT 'N',
  dat_fizetve DATE NULL,
  felhasznalo VARCHAR(20) NULL,
  m01 VARCHAR(50) NULL, m02 VARCHAR(50) NULL, m03 VARCHAR(50) NULL, m04 VARCHAR(50) NULL,
  m05 VARCHAR(50) NULL, m06 VARCHAR(50) NULL, m07 VARCHAR(50) NULL, m08 VARCHAR(50) NULL,
  m09 VARCHAR(50) NULL, m10 VARCHAR(50) NULL, m11 VARCHAR(50) NULL, m12 VARCHAR(50) NULL,
  m13 VARCHAR(50) NULL, m14 VARCHAR(50) NULL, m15 VARCHAR(50) NULL, m16 VARCHAR(50) NULL,
  m17 VARCHAR(50) NULL, m18 VARCHAR(50) NULL, m19 VARCHAR(50) NULL, m20 VARCHAR(50) NULL,
  kuldve CHAR(1) NOT NULL DEFAULT 'N',
  gmin1 DOUBLE NULL, gmax1 DOUBLE NULL,
  gmin2 DOUBLE NULL, gmax2 DOUBLE NULL,
  gmin3 DOUBLE NULL, gmax3 DOUBLE NULL,
  gmin4 DOUBLE NULL, gmax4 DOUBLE NULL,
  gmin5 DOUBLE NULL, gmax5 DOUBLE NULL,
  gmin6 DOUBLE NULL, gmax6 DOUBLE NULL,
  gmin7 DOUBLE NULL, gmax7 DOUBLE NULL,
  legellatas CHAR(1) NOT NULL DEFAULT 'N',
  -- a comeback job: the earlier sheet of the same device it returned from
  visszatero_munkalap INT NULL,
  PRIMARY KEY (munkalap),
  KEY ix_munkalap_statusz (statusz),
  KEY ix_munkalap_ugyfel (ugyfel),
  KEY ix_munkalap_keszulek (keszulek),
  KEY ix_munkalap_datum (datum),
  KEY ix_munkalap_mlaptipus (mlaptipus),
  KEY ix_munkalap_dat_fizetve (dat_fizetve),
  KEY ix_munkalap_visszatero (visszatero_munkalap)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE munkalap_tetel (
  munkalap_tetel INT NOT NULL AUTO_INCREMENT,
  munkalap INT NOT NULL DEFAULT 0,
  tetel INT NOT NULL DEFAULT 0,
  db DOUBLE NULL DEFAULT 0,
  egysar DOUBLE NULL DEFAULT 0,
  beszar DOUBLE NULL DEFAULT 0,
  kedv_kap DOUBLE NULL DEFAULT 0,
  kedv_ad DOUBLE NULL DEFAULT 0,
  ar_teljes DOUBLE NULL DEFAULT 0,
  megjegyzes VARCHAR(255) NULL,
  egyeb VARCHAR(50) NULL,
  PRIMARY KEY (munkalap_tetel),
  KEY ix_munkalap_tetel_munkalap (munkalap),
  KEY ix_munkalap_tetel_tetel (tetel)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE munkalap_dolgozo (
  munkalap INT NOT NULL,
  dolgozo INT NOT NULL,
  PRIMARY KEY (munkalap, dolgozo),
  KEY ix_munkalap_dolgozo_dolgozo (dolgozo)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Who moved a work sheet to which status and when (written by sp_setstatusz).
CREATE TABLE statuszvaltas (
  statuszvaltas INT NOT NULL AUTO_INCREMENT,
  munkalap INT NOT NULL,
  statusz INT NOT NULL,
  felhasznalo VARCHAR(20) NULL,
  rogzitve DATETIME NOT NULL,
  PRIMARY KEY (statuszvaltas),
  KEY ix_statuszvaltas_munkalap (munkalap)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE mlaptipus (
  mlaptipus INT NOT NULL AUTO_INCREMENT,
  betujel VARCHAR(1) NULL DEFAULT '',
  mlaptipus_nev VARCHAR(50) NULL,
  megjegyzes TEXT NULL,
  prgtipus INT NOT NULL DEFAULT 1,
  PRIMARY KEY (mlaptipus),
  KEY ix_mlaptipus_prgtipus (prgtipus, betujel)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE statusz (
  statusz INT NOT NULL,
  statusz_nev VARCHAR(50) NULL,
  keszenvan CHAR(1) NOT NULL DEFAULT 'N',
  PRIMARY KEY (statusz)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- ---------------------------------------------------------------------------
-- Customers, devices and types

CREATE TABLE ugyfel (
  ugyfel INT NOT NULL AUTO_INCREMENT,
  ugyfel_nev VARCHAR(75) NULL,
  kapcsolat VARCHAR(50) NULL,
  telefon VARCHAR(100) NULL,
  emil VARCHAR(75) NULL,
  cim_irsz VARCHAR(10) NULL,
  cim_varos VARCHAR(50) NULL,
  cim_cim VARCHAR(50) NULL,
  dat_utolso DATE NULL,
  dat_figyelmeztet DATE NULL,
  megjegyzes TEXT NULL,
  torolve CHAR(1) NOT NULL DEFAULT 'N',
  adoszam VARCHAR(15) NULL,
  kedvezmeny DOUBLE NULL DEFAULT 0,
  webuser VARCHAR(25) NULL,
  webpwd VARCHAR(50) NULL,
  maganszemely CHAR(1) NOT NULL DEFAULT 'N',
  -- declared by the registered-mail printout; not used otherwise
  Vnev VARCHAR(30) NULL,
  Knev VARCHAR(30) NULL,
  Nhonap INT NULL,
  Nnap INT NULL,
  fax VARCHAR(25) NULL,
  mobil VARCHAR(25) NULL,
  Honlap VARCHAR(75) NULL,
  Csoport INT NULL,
  keret VARCHAR(20) NULL,
  keretszam VARCHAR(20) NULL,
  -- serial numbers of the customer's live devices, for the customer search
  gyszstr TEXT NULL,
  PRIMARY KEY (ugyfel),
  KEY ix_ugyfel_nev (ugyfel_nev),
  KEY ix_ugyfel_torolve (torolve, ugyfel_nev),
  -- the due list and its count: reminders by date, read from the index alone
  KEY ix_ugyfel_figyelmeztet (dat_figyelmeztet, torolve)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE keszulek (
  keszulek INT NOT NULL AUTO_INCREMENT,
  ugyfel INT NOT NULL DEFAULT 0,
  tipus INT NOT NULL DEFAULT 0,
  gysz VARCHAR(50) NULL,
  gysz2 VARCHAR(50) NULL,
  gysz3 VARCHAR(50) NULL,
  evjarat INT NULL,
  megjegyzes TEXT NULL,
  torolve CHAR(1) NOT NULL DEFAULT 'N',
  utolso_munkalap INT NOT NULL DEFAULT 0,
  dat_muszaki DATE NULL,
  cm3 INT NULL,
  kw INT NULL,
  dat_garilejar DATE NULL,
  dat_vasarol DATE NULL,
  dat_uzembe DATE NULL,
  garjegy VARCHAR(50) NULL,
  PRIMARY KEY (keszulek),
  -- Covers the customers' serial-number texts (gyszstr) as well.
  KEY ix_keszulek_ugyfel (ugyfel, torolve, gysz, gysz2),
  KEY ix_keszulek_tipus (tipus),
  KEY ix_keszulek_gysz (gysz),
  KEY ix_keszulek_gysz2 (gysz2),
  -- the due list and its count: inspections and warranties by date, with
  -- what the list reads of the device itself
  KEY ix_keszulek_muszaki (dat_muszaki, torolve, ugyfel, tipus, utolso_munkalap, gysz),
  KEY ix_keszulek_garilejar (dat_garilejar, torolve, ugyfel, tipus, utolso_munkalap, gysz)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE tipus (
  tipus INT NOT NULL AUTO_INCREMENT,
  gyarto INT NOT NULL DEFAULT 0,
  tipus_nev VARCHAR(50) NULL,
  keszulektipus INT NOT NULL DEFAULT 0,
  torolve CHAR(1) NOT NULL DEFAULT 'N',
  PRIMARY KEY (tipus),
  KEY ix_tipus_gyarto (gyarto),
  KEY ix_tipus_keszulektipus (keszulektipus),
  KEY ix_tipus_nev (tipus_nev)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE gyarto (
  gyarto INT NOT NULL AUTO_INCREMENT,
  gyarto_nev VARCHAR(50) NULL,
  PRIMARY KEY (gyarto),
  KEY ix_gyarto_nev (gyarto_nev)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE keszulektipus (
  keszulektipus INT NOT NULL AUTO_INCREMENT,
  keszulektipus_nev VARCHAR(50) NULL,
  PRIMARY KEY (keszulektipus),
  KEY ix_keszulektipus_nev (keszulektipus_nev)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE irsz (
  irsz VARCHAR(10) NOT NULL,
  varos VARCHAR(50) NULL,
  PRIMARY KEY (irsz)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- ---------------------------------------------------------------------------
-- Catalogue

CREATE TABLE tetel (
  tetel INT NOT NULL AUTO_INCREMENT,
  tetel_kod VARCHAR(15) NULL,
  tetel_nev VARCHAR(50) NULL,
  ar_besz DOUBLE NULL DEFAULT 0,
  ar_elad DOUBLE NULL DEFAULT 0,
  ar_teljes DOUBLE NULL DEFAULT 0,
  kedv_kap DOUBLE NULL DEFAULT 0,
  kedv_ad DOUBLE NULL DEFAULT 0,
  ezszolg CHAR(1) NOT NULL DEFAULT 'N',
  megjegyzes VARCHAR(255) NULL,
  egyeb VARCHAR(50) NULL,
  mert VARCHAR(10) NULL,
  cikkszam VARCHAR(15) NULL,
  torolve CHAR(1) NOT NULL DEFAULT 'N',
  PRIMARY KEY (tetel),
  KEY ix_tetel_kod (tetel_kod),
  KEY ix_tetel_nev (tetel_nev)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- ---------------------------------------------------------------------------
-- Staff, appointments and the day planner

CREATE TABLE dolgozo (
  dolgozo INT NOT NULL AUTO_INCREMENT,
  dolgozo_nev VARCHAR(50) NULL,
  torolve CHAR(1) NOT NULL DEFAULT 'N',
  sorszam INT NOT NULL DEFAULT 0,
  PRIMARY KEY (dolgozo),
  KEY ix_dolgozo_sorszam (sorszam),
  KEY ix_dolgozo_nev (dolgozo_nev)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE ora (
  ora INT NOT NULL,
  PRIMARY KEY (ora)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE elojegyzes (
  elojegyzes INT NOT NULL AUTO_INCREMENT,
  azon INT NOT NULL DEFAULT 0,
  dolgozo INT NOT NULL DEFAULT 0,
  datum DATE NOT NULL,
  ora INT NOT NULL,
  munkalap INT NOT NULL DEFAULT 0,
  ugyfel INT NOT NULL DEFAULT 0,
  keszulek INT NOT NULL DEFAULT 0,
  szoveg VARCHAR(255) NULL,
  munkalapstr VARCHAR(255) NULL,
  ugyfelstr VARCHAR(255) NULL,
  keszulekstr VARCHAR(255) NULL,
  PRIMARY KEY (elojegyzes),
  -- An employee's half hour is booked once: no two workstations can take it.
  UNIQUE KEY ux_elojegyzes_dolgozo_nap (dolgozo, datum, ora),
  KEY ix_elojegyzes_nap (datum, ora),
  KEY ix_elojegyzes_azon (azon, dolgozo),
  KEY ix_elojegyzes_munkalap (munkalap)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- The days the planner's day grid (the view dolgelo) has rows for: every day
-- from 2000 to 2099 (seed.sql), and any other day an appointment is booked
-- on or start-up is held on.
CREATE TABLE nap (
  datum DATE NOT NULL,
  PRIMARY KEY (datum)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- ---------------------------------------------------------------------------
-- Notes

CREATE TABLE megj (
  megj INT NOT NULL AUTO_INCREMENT,
  id INT NOT NULL DEFAULT 0,
  megjtipus INT NOT NULL DEFAULT 0,
  rovid VARCHAR(50) NULL,
  megjegyzes TEXT NULL,
  felhasznalo VARCHAR(20) NULL,
  datum DATETIME NULL DEFAULT CURRENT_TIMESTAMP,
  link VARCHAR(150) NULL,
  PRIMARY KEY (megj),
  KEY ix_megj_rekord (megjtipus, id)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- ---------------------------------------------------------------------------
-- Settings, users and program data

CREATE TABLE beallit (
  beallit INT NOT NULL DEFAULT 1,
  vanbelep CHAR(1) NOT NULL DEFAULT 'N',
  mlaphatid INT NULL DEFAULT 0,
  autocikkszam CHAR(1) NOT NULL DEFAULT 'N',
  autocikkszamhossz INT NULL DEFAULT 5,
  mlapdatummodosit CHAR(1) NOT NULL DEFAULT 'N',
  kedvmutat CHAR(1) NOT NULL DEFAULT 'N',
  afakulcs DOUBLE NULL DEFAULT 27,
  szlamegjegyzes TEXT NULL,
  prgtipus INT NULL DEFAULT 1,
  kepftp CHAR(1) NOT NULL DEFAULT 'N',
  kephost VARCHAR(100) NULL,
  kepuser VARCHAR(50) NULL,
  keppwd VARCHAR(50) NULL,
  kepfolder VARCHAR(100) NULL,
  kepport INT NULL DEFAULT 21,
  levelkuldlink VARCHAR(255) NULL,
  -- A work sheet's status page on the shop's website ("Állapot link"):
  -- %id% the sheet number, %key% MD5('key=' + number); empty: none.
  allapotlink VARCHAR(255) NULL,
  verzioelfogadva VARCHAR(15) NULL,
  hirelfogadva INT NULL DEFAULT 0,
  utbelep DATETIME NULL,
  -- a new sheet for a device finished at most this many days ago is a
  -- possible comeback job; 0 switches the check off
  visszateres_nap INT NULL DEFAULT 30,
  PRIMARY KEY (beallit)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Program types (trades); the captions of the trade's device data live here
-- and reach the program through vw_beallit.
CREATE TABLE prgtipus (
  prgtipus INT NOT NULL,
  prgtipus_nev VARCHAR(50) NULL,
  gyszstr VARCHAR(50) NULL,
  keszulekstr VARCHAR(50) NULL,
  muszakistr VARCHAR(50) NULL,
  vankeszulek CHAR(1) NOT NULL DEFAULT 'I',
  PRIMARY KEY (prgtipus)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- The shop's own data, one row. The hidden key (not in SELECT *) is there
-- because a database cluster replicates only tables with a primary key.
CREATE TABLE tulajdonos (
  tulajdonos_sor INT NOT NULL AUTO_INCREMENT INVISIBLE,
  tulajdonos VARCHAR(50) NULL,
  telefon VARCHAR(25) NULL,
  mobil VARCHAR(25) NULL,
  fax VARCHAR(25) NULL,
  irsz VARCHAR(5) NULL,
  varos VARCHAR(25) NULL,
  cim VARCHAR(50) NULL,
  adoszam VARCHAR(11) NULL,
  bankszamlaszam VARCHAR(24) NULL,
  vallig VARCHAR(30) NULL,
  ugyvez VARCHAR(30) NULL,
  kozadoszam VARCHAR(30) NULL,
  tirsz VARCHAR(5) NULL,
  tvaros VARCHAR(25) NULL,
  tcim VARCHAR(50) NULL,
  PRIMARY KEY (tulajdonos_sor)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE verzio (
  verzio VARCHAR(15) NOT NULL,
  PRIMARY KEY (verzio)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE felhasznalo (
  felhasznalo VARCHAR(20) NOT NULL,
  felhasznalo_nev VARCHAR(20) NULL,
  jelszomd5 VARCHAR(50) NULL,
  rendszergazda CHAR(1) NOT NULL DEFAULT 'N',
  torzsszerkeszt CHAR(1) NOT NULL DEFAULT 'N',
  canins CHAR(1) NOT NULL DEFAULT 'I',
  canedit CHAR(1) NOT NULL DEFAULT 'I',
  candel CHAR(1) NOT NULL DEFAULT 'I',
  nyomtathat CHAR(1) NOT NULL DEFAULT 'N',
  nyeresegnezhet CHAR(1) NOT NULL DEFAULT 'N',
  excelbe CHAR(1) NOT NULL DEFAULT 'N',
  dolgozo INT NULL DEFAULT 0,
  rogzitve DATETIME NULL DEFAULT CURRENT_TIMESTAMP,
  PRIMARY KEY (felhasznalo)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- Texts of the program and their translations; the key is the source text.
CREATE TABLE nyelv (
  nyelv VARCHAR(500) NOT NULL,
  nyelv1 TEXT NULL,
  PRIMARY KEY (nyelv)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE uzenet (
  uzenet INT NOT NULL AUTO_INCREMENT,
  szoveg TEXT NULL,
  link VARCHAR(255) NULL,
  csakegyszer CHAR(1) NOT NULL DEFAULT 'N',
  olvasva CHAR(1) NOT NULL DEFAULT 'N',
  dat_olvasva DATETIME NULL,
  PRIMARY KEY (uzenet)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- ---------------------------------------------------------------------------
-- Texts and export definitions

CREATE TABLE szotar (
  cim VARCHAR(50) NOT NULL,
  szoveg TEXT NULL,
  PRIMARY KEY (cim)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE levelszoveg (
  levelszoveg INT NOT NULL AUTO_INCREMENT,
  levelszoveg_nev VARCHAR(50) NULL,
  targysor VARCHAR(50) NULL,
  szoveg TEXT NULL,
  ezhtml CHAR(1) NOT NULL DEFAULT 'N',
  PRIMARY KEY (levelszoveg)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE csvexp (
  csvexp INT NOT NULL AUTO_INCREMENT,
  csvexp_nev VARCHAR(50) NULL,
  kategoria VARCHAR(45) NULL,
  szoveg_sql TEXT NULL,
  mezonevek VARCHAR(100) NULL,
  mezocimkek VARCHAR(100) NULL,
  csopmezok VARCHAR(100) NULL,
  summezok VARCHAR(100) NULL,
  keresmezok VARCHAR(100) NULL,
  parameterek VARCHAR(50) NULL,
  ezgrafikon CHAR(1) NOT NULL DEFAULT 'N',
  grafikonparam VARCHAR(100) NULL,
  hatarolo INT NULL DEFAULT 0,
  szovegjelolo INT NULL DEFAULT 0,
  file_local VARCHAR(100) NULL,
  ftp_kell CHAR(1) NOT NULL DEFAULT 'N',
  host_ftp VARCHAR(100) NULL,
  ftp_user VARCHAR(50) NULL,
  ftp_jelszo VARCHAR(50) NULL,
  file_ftp VARCHAR(100) NULL,
  kordexa CHAR(1) NOT NULL DEFAULT 'N',
  PRIMARY KEY (csvexp),
  KEY ix_csvexp_kategoria (kategoria)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- ---------------------------------------------------------------------------
-- Website content

CREATE TABLE web_szoveg (
  web_szoveg INT NOT NULL AUTO_INCREMENT,
  kulcs VARCHAR(25) NOT NULL DEFAULT '',
  cim VARCHAR(100) NULL,
  szoveg TEXT NULL,
  ezhtml CHAR(1) NOT NULL DEFAULT 'N',
  ezfooter CHAR(1) NOT NULL DEFAULT 'N',
  PRIMARY KEY (web_szoveg),
  KEY ix_web_szoveg_kulcs (kulcs)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE banner (
  banner INT NOT NULL AUTO_INCREMENT,
  banner_nev VARCHAR(100) NULL,
  szoveg TEXT NULL,
  link VARCHAR(100) NULL,
  hatterkep VARCHAR(100) NULL,
  kiskep VARCHAR(100) NULL,
  PRIMARY KEY (banner)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- webintro is also the display order: a new slide is numbered after the last
-- one (trigger in routines.sql), whatever the auto-increment counter says.
CREATE TABLE webintro (
  webintro INT NOT NULL AUTO_INCREMENT,
  webintro_nev VARCHAR(50) NULL,
  szoveg TEXT NULL,
  rogzitve DATETIME NULL DEFAULT CURRENT_TIMESTAMP,
  PRIMARY KEY (webintro)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

CREATE TABLE webuzenet (
  webuzenet INT NOT NULL AUTO_INCREMENT,
  ugyfel INT NULL DEFAULT 0,
  ugyfel_nev VARCHAR(100) NULL,
  telefon VARCHAR(100) NULL,
  emil VARCHAR(100) NULL,
  uzenet TEXT NULL,
  jelezve CHAR(1) NOT NULL DEFAULT 'N',
  rogzdat DATETIME NULL DEFAULT CURRENT_TIMESTAMP,
  nyugtazva DATETIME NULL,
  felh_nyugtazva VARCHAR(15) NULL,
  PRIMARY KEY (webuzenet),
  KEY ix_webuzenet_nyugtazva (nyugtazva),
  KEY ix_webuzenet_ugyfel (ugyfel)
) ENGINE=InnoDB DEFAULT CHARSET=latin2 COLLATE=latin2_hungarian_ci;

-- ---------------------------------------------------------------------------
-- Search texts of the main window's lists

-- One row per row of a list's view (vw_munkalap, vw_ugyfel, vw_keszulek): the
-- values of the fields its search box looks in, joined by the byte 0x02 and
-- folded to their collation weights (WEIGHT_STRING), so that a typed text is
-- found with a plain byte search in one narrow row instead of a LIKE per field
-- over the joined view. The fields compared under latin2_hungarian_ci (the
-- columns as they are) go into szoveg_hu, those compared under
-- latin2_general_ci (the CONVERT(... USING latin2) expressions of the field
-- lists) into szoveg_alt; a Hungarian text longer than 16000 bytes goes into
-- szoveg_hosszu instead of szoveg_hu. The views vw_*_kereses compute the rows;
-- the triggers of routines.sql keep them current.
-- The tables also hold what the lists' fixed conditions test (the sheet's
-- statusz; the key), so that a search can narrow its rows by them at once.
CREATE TABLE munkalap_kereses (
  munkalap INT NOT NULL,
  statusz INT NOT NULL DEFAULT 0,
  szoveg_hu VARBINARY(16000) NULL,
  szoveg_alt VARBINARY(1000) NOT NULL,
  szoveg_hosszu MEDIUMBLOB NULL,
  PRIMARY KEY (munkalap),
  KEY ix_munkalap_kereses_statusz (statusz)
) ENGINE=InnoDB;

CREATE TABLE ugyfel_kereses (
  ugyfel INT NOT NULL,
  szoveg_hu VARBINARY(16000) NULL,
  szoveg_alt VARBINARY(1000) NOT NULL,
  szoveg_hosszu MEDIUMBLOB NULL,
  PRIMARY KEY (ugyfel)
) ENGINE=InnoDB;

CREATE TABLE keszulek_kereses (
  keszulek INT NOT NULL,
  szoveg_hu VARBINARY(16000) NULL,
  szoveg_alt VARBINARY(1000) NOT NULL,
  szoveg_hosszu MEDIUMBLOB NULL,
  PRIMARY KEY (keszulek)
) ENGINE=InnoDB;
