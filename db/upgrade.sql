SET NAMES utf8mb4;

-- Koravel.ML shop database: brings a database made by an older schema.sql up
-- to date, so that it can run on a database cluster (MariaDB Galera), which
-- replicates only InnoDB tables and only those with a primary key.
--
--   mariadb --default-character-set=utf8mb4 DATABASE < upgrade.sql
--
-- Safe to run again and on a current database (it then changes nothing); the
-- program works the same before and after. What it does, in the database it
-- runs in:
--   * every table of another engine (MyISAM, Aria) becomes InnoDB;
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

-- The settings row as views.sql makes it (its texts hold no accented letter,
-- so this file needs no Windows-1250 conversion).
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_beallit AS
SELECT
  b.beallit, b.vanbelep, b.mlaphatid, b.prgtipus, b.autocikkszam, b.autocikkszamhossz,
  b.mlapdatummodosit, b.kedvmutat, b.afakulcs, b.szlamegjegyzes,
  b.kepftp, b.kephost, b.kepuser, b.keppwd, b.kepfolder, b.kepport, b.levelkuldlink,
  b.visszateres_nap,
  p.prgtipus_nev, p.gyszstr, p.keszulekstr, p.muszakistr, p.vankeszulek
FROM beallit b
  LEFT JOIN prgtipus p ON p.prgtipus = b.prgtipus;
