SET NAMES latin2 COLLATE latin2_hungarian_ci;
-- Kept in UTF-8 here and loaded as Windows-1250 bytes over a latin2
-- connection, like the other db/ files (see README):
--   scripts/mariadb-cp1250 DATABASE < upgrade.sql
-- A load that skipped the conversion stops here, before it changes anything:
SET character_set_client = IF(HEX('ő') = 'F5', 'latin2', 'file_not_converted_to_windows_1250');

-- Koravel.ML shop database: brings a database made by an older schema.sql up
-- to date.
--
-- Safe to run again and on a current database (it then changes nothing); the
-- program works the same before and after. What it does, in the database it
-- runs in:
--   * every table of another engine (MyISAM, Aria) becomes InnoDB, so that
--     it can run on a database cluster (MariaDB Galera), which replicates
--     only InnoDB tables and only those with a primary key;
--   * tulajdonos gets its hidden key tulajdonos_sor (as schema.sql makes it);
--   * any other table without a primary key gets a hidden one named
--     <table>_sor (INVISIBLE: SELECT * and INSERT without a column list do
--     not see it), or, when it has an AUTO_INCREMENT column already, that
--     column becomes its primary key;
--   * the columns, indexes and view columns of the due list and the
--     comeback jobs are added where they are missing: beallit.visszateres_nap
--     (default 30 days), munkalap.visszatero_munkalap (NULL: not a comeback),
--     the date indexes of ugyfel and keszulek, and vw_beallit is made again
--     with the new setting.
--   * the settings row gets the status address of work sheets (allapotlink,
--     "Állapot link"; empty: no QR code on the printouts), and vw_beallit
--     shows it;
--   * the saved export "Munkalap állapot" (the status feed for the shop's
--     website) is added when the shop has no export of that name.

DELIMITER //

CREATE OR REPLACE PROCEDURE tmp_upgrade_for_cluster()
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_done BOOLEAN DEFAULT FALSE;
  DECLARE v_table VARCHAR(64);
  DECLARE v_engine VARCHAR(64);
  DECLARE v_haskey BOOLEAN;
  DECLARE v_autoinc VARCHAR(64);
  DECLARE c_tables CURSOR FOR
    SELECT t.TABLE_NAME, t.ENGINE,
           EXISTS (SELECT 1 FROM information_schema.TABLE_CONSTRAINTS k
                    WHERE k.TABLE_SCHEMA = t.TABLE_SCHEMA AND k.TABLE_NAME = t.TABLE_NAME
                      AND k.CONSTRAINT_TYPE = 'PRIMARY KEY'),
           (SELECT MIN(c.COLUMN_NAME) FROM information_schema.COLUMNS c
             WHERE c.TABLE_SCHEMA = t.TABLE_SCHEMA AND c.TABLE_NAME = t.TABLE_NAME
               AND c.EXTRA LIKE '%auto_increment%')
      FROM information_schema.TABLES t
     WHERE t.TABLE_SCHEMA = DATABASE() AND t.TABLE_TYPE = 'BASE TABLE'
     ORDER BY t.TABLE_NAME;
  DECLARE CONTINUE HANDLER FOR NOT FOUND SET v_done = TRUE;

  OPEN c_tables;
  read_loop: LOOP
    FETCH c_tables INTO v_table, v_engine, v_haskey, v_autoinc;
    IF v_done THEN LEAVE read_loop; END IF;
    IF v_engine <> 'InnoDB' THEN
      SET @tmp_sql = CONCAT('ALTER TABLE `', v_table, '` ENGINE=InnoDB');
      PREPARE tmp_stmt FROM @tmp_sql; EXECUTE tmp_stmt; DEALLOCATE PREPARE tmp_stmt;
    END IF;
    IF NOT v_haskey THEN
      IF v_autoinc IS NOT NULL THEN
        SET @tmp_sql = CONCAT('ALTER TABLE `', v_table, '` ADD PRIMARY KEY (`', v_autoinc, '`)');
      ELSE
        SET @tmp_sql = CONCAT('ALTER TABLE `', v_table, '` ADD COLUMN `', v_table,
                              '_sor` INT NOT NULL AUTO_INCREMENT INVISIBLE FIRST, ADD PRIMARY KEY (`',
                              v_table, '_sor`)');
      END IF;
      PREPARE tmp_stmt FROM @tmp_sql; EXECUTE tmp_stmt; DEALLOCATE PREPARE tmp_stmt;
    END IF;
  END LOOP;
  CLOSE c_tables;
  SET @tmp_sql = NULL;
END //

DELIMITER ;

CALL tmp_upgrade_for_cluster();
DROP PROCEDURE tmp_upgrade_for_cluster;

-- The due list and comeback jobs. Every statement is a no-op on a database
-- that has them already.
ALTER TABLE beallit ADD COLUMN IF NOT EXISTS visszateres_nap INT NULL DEFAULT 30 AFTER utbelep;
ALTER TABLE munkalap ADD COLUMN IF NOT EXISTS visszatero_munkalap INT NULL AFTER legellatas;
ALTER TABLE munkalap ADD INDEX IF NOT EXISTS ix_munkalap_visszatero (visszatero_munkalap);
ALTER TABLE ugyfel ADD INDEX IF NOT EXISTS ix_ugyfel_figyelmeztet (dat_figyelmeztet, torolve);
ALTER TABLE keszulek ADD INDEX IF NOT EXISTS ix_keszulek_muszaki
  (dat_muszaki, torolve, ugyfel, tipus, utolso_munkalap, gysz);
ALTER TABLE keszulek ADD INDEX IF NOT EXISTS ix_keszulek_garilejar
  (dat_garilejar, torolve, ugyfel, tipus, utolso_munkalap, gysz);

-- The status address of work sheets.
ALTER TABLE beallit ADD COLUMN IF NOT EXISTS allapotlink VARCHAR(255) NULL AFTER levelkuldlink;

-- The settings row as views.sql makes it.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_beallit AS
SELECT
  b.beallit, b.vanbelep, b.mlaphatid, b.prgtipus, b.autocikkszam, b.autocikkszamhossz,
  b.mlapdatummodosit, b.kedvmutat, b.afakulcs, b.szlamegjegyzes,
  b.kepftp, b.kephost, b.kepuser, b.keppwd, b.kepfolder, b.kepport, b.levelkuldlink, b.allapotlink,
  b.visszateres_nap,
  p.prgtipus_nev, p.gyszstr, p.keszulekstr, p.muszakistr, p.vankeszulek
FROM beallit b
  LEFT JOIN prgtipus p ON p.prgtipus = b.prgtipus;

-- The status feed, as seed.sql installs it in a new database.
INSERT INTO csvexp (csvexp_nev, kategoria, szoveg_sql, mezonevek, mezocimkek, csopmezok, summezok,
                    keresmezok, parameterek, ezgrafikon, grafikonparam, hatarolo, szovegjelolo, file_local,
                    ftp_kell, host_ftp, ftp_user, ftp_jelszo, file_ftp, kordexa)
SELECT 'Munkalap állapot', 'Honlap',
   'SELECT m.munkalap AS munkalap, MD5(CONCAT(''key='', m.munkalap)) AS kulcs,\n  IF(m.storno = ''I'', ''Sztornózva'', s.statusz_nev) AS statusz,\n  DATE(m.dat_hatid) AS hatarido, m.dat_kesz AS elkeszult, m.fizetve AS fizetve\nFROM munkalap m\n  LEFT JOIN statusz s ON s.statusz = m.statusz\nWHERE m.datum >= CURDATE() - INTERVAL 90 DAY\n  OR m.rogzitve >= CURDATE() - INTERVAL 90 DAY\n  OR m.dat_kesz >= CURDATE() - INTERVAL 90 DAY\n  OR m.dat_fizetve >= CURDATE() - INTERVAL 90 DAY\n  OR m.munkalap IN (SELECT v.munkalap FROM statuszvaltas v WHERE v.rogzitve >= CURDATE() - INTERVAL 90 DAY)\nORDER BY m.munkalap;',
   'munkalap,kulcs,statusz,hatarido,elkeszult,fizetve', 'Munkalap,Kulcs,Állapot,Határidő,Elkészült,Fizetve',
   '', '', 'munkalap,kulcs', '', 'N', '', 0, 0, 'munkalap_allapot.csv', 'N', '', '', '', '', 'N'
 FROM DUAL
 WHERE NOT EXISTS (SELECT 1 FROM csvexp WHERE csvexp_nev = 'Munkalap állapot');
