SET NAMES latin2 COLLATE latin2_hungarian_ci;
-- Kept in UTF-8 here and loaded as Windows-1250 bytes over a latin2
-- connection, which the server stores unchanged (the program's own text
-- contract; see README):
--   scripts/mariadb-cp1250 DATABASE < FILE
-- or iconv -f UTF-8 -t WINDOWS-1250 FILE | mariadb --default-character-set=latin2 DATABASE.
-- A load that skipped the conversion stops here, before it stores any text:
SET character_set_client = IF(HEX('ő') = 'F5', 'latin2', 'file_not_converted_to_windows_1250');

-- Koravel.ML shop database: stored procedures, functions and triggers.
--
-- Every routine that changes data works in one transaction: it starts its own
-- when it is called outside a transaction, and joins the caller's when one
-- routine calls another. Any error rolls the whole change back and is raised
-- again to the caller.
--
-- Bookings of one employee follow one another: sp_elojegyzesfoglal locks the
-- employee's row before it looks at the slots, and the unique key on
-- elojegyzes (dolgozo, datum, ora) stands behind that check. The planner's day
-- grid (dolgelo) is a view and needs no upkeep.

DELIMITER //

-- ---------------------------------------------------------------------------
-- Work-sheet totals, employees, status and payment

-- Totals of a sheet from its lines: ar_ossz (sale value), ar_besz (purchase
-- cost) and ar_fizetendo = ar_ossz - advance - |discount|.
CREATE OR REPLACE PROCEDURE sp_arbeallit(IN pmunkalap INT)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_db INT DEFAULT 0;
  DECLARE v_ossz DOUBLE DEFAULT 0;
  DECLARE v_besz DOUBLE DEFAULT 0;
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  SELECT COUNT(*) INTO v_db FROM munkalap WHERE munkalap = pmunkalap FOR UPDATE;
  IF v_db > 0 THEN
    SELECT COALESCE(SUM(COALESCE(db, 0) * COALESCE(egysar, 0)), 0),
           COALESCE(SUM(COALESCE(db, 0) * COALESCE(beszar, 0)), 0)
      INTO v_ossz, v_besz
      FROM munkalap_tetel WHERE munkalap = pmunkalap LOCK IN SHARE MODE;
    UPDATE munkalap
       SET ar_ossz = v_ossz,
           ar_besz = v_besz,
           ar_fizetendo = v_ossz - COALESCE(ar_eloleg, 0) - ABS(COALESCE(ar_kedvezmeny, 0))
     WHERE munkalap = pmunkalap;
  END IF;
  IF v_own THEN COMMIT; END IF;
END //

-- Links an employee (> 0) to a sheet and rebuilds dolgozostr, the sheet's
-- employee names in alphabetical order separated by ", "; -1 only rebuilds.
CREATE OR REPLACE PROCEDURE sp_dolgstr(IN pmunkalap INT, IN pdolgozo INT)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  IF pdolgozo > 0 THEN
    IF NOT EXISTS (SELECT 1 FROM munkalap WHERE munkalap = pmunkalap) THEN
      SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Nincs ilyen munkalap';
    END IF;
    IF NOT EXISTS (SELECT 1 FROM dolgozo WHERE dolgozo = pdolgozo) THEN
      SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Nincs ilyen dolgozó';
    END IF;
    INSERT INTO munkalap_dolgozo (munkalap, dolgozo) VALUES (pmunkalap, pdolgozo)
      ON DUPLICATE KEY UPDATE dolgozo = VALUES(dolgozo);
  END IF;
  UPDATE munkalap
     SET dolgozostr = COALESCE((SELECT LEFT(GROUP_CONCAT(d.dolgozo_nev ORDER BY d.dolgozo_nev, d.dolgozo SEPARATOR ', '), 255)
                                  FROM munkalap_dolgozo md JOIN dolgozo d ON d.dolgozo = md.dolgozo
                                 WHERE md.munkalap = pmunkalap), '')
   WHERE munkalap = pmunkalap;
  IF v_own THEN COMMIT; END IF;
END //

-- Sets the status of a sheet (0 to 4), stamps dat_kesz when the sheet first
-- reaches "Készen van" or beyond, and records who made the change.
CREATE OR REPLACE PROCEDURE sp_setstatusz(IN pmunkalap INT, IN pfelhasznalo TEXT CHARACTER SET latin2, IN pstatusz INT)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_db INT DEFAULT 0;
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF NOT EXISTS (SELECT 1 FROM statusz WHERE statusz = pstatusz) THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Nincs ilyen státusz';
  END IF;
  IF v_own THEN START TRANSACTION; END IF;
  SELECT COUNT(*) INTO v_db FROM munkalap WHERE munkalap = pmunkalap FOR UPDATE;
  IF v_db = 0 THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Nincs ilyen munkalap';
  END IF;
  UPDATE munkalap
     SET statusz = pstatusz,
         dat_kesz = IF(pstatusz >= 3 AND dat_kesz IS NULL, CURDATE(), dat_kesz)
   WHERE munkalap = pmunkalap;
  INSERT INTO statuszvaltas (munkalap, statusz, felhasznalo, rogzitve)
    VALUES (pmunkalap, pstatusz, LEFT(pfelhasznalo, 20), NOW());
  IF v_own THEN COMMIT; END IF;
END //

-- Moves a sheet on from the status its user saw (pregi) to puj, as one
-- change: the invoice number is stored with it when one is given (not NULL),
-- then sp_setstatusz. Nothing is written when the sheet is cancelled or is no
-- longer in pregi (another workstation moved it meanwhile). One result row:
-- valtozott 1 when the status was set, 0 when nothing was written.
CREATE OR REPLACE PROCEDURE sp_statuszlepes(IN pmunkalap INT, IN pfelhasznalo TEXT CHARACTER SET latin2,
                                            IN pregi INT, IN puj INT, IN pszlaszam TEXT CHARACTER SET latin2)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_db INT DEFAULT 0;
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  SELECT COUNT(*) INTO v_db FROM munkalap
   WHERE munkalap = pmunkalap AND statusz = pregi AND storno = 'N' FOR UPDATE;
  IF v_db > 0 THEN
    IF pszlaszam IS NOT NULL THEN
      UPDATE munkalap SET szlaszam = LEFT(pszlaszam, 50) WHERE munkalap = pmunkalap;
    END IF;
    CALL sp_setstatusz(pmunkalap, pfelhasznalo, puj);
  END IF;
  IF v_own THEN COMMIT; END IF;
  SELECT IF(v_db > 0, 1, 0) AS valtozott;
END //

-- Sets (pfizetve 'I', dated today) or clears ('N') the paid mark. Nothing is
-- written when the mark already is so (another workstation got there
-- first). One result row: valtozott 1 when the mark changed, 0 when not.
CREATE OR REPLACE PROCEDURE sp_fizetes(IN pmunkalap INT, IN pfizetve CHAR(1))
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_db INT DEFAULT 0;
  DECLARE v_uj CHAR(1) DEFAULT IF(pfizetve = 'I', 'I', 'N');
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  SELECT COUNT(*) INTO v_db FROM munkalap WHERE munkalap = pmunkalap FOR UPDATE;
  IF v_db = 0 THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Nincs ilyen munkalap';
  END IF;
  UPDATE munkalap
     SET fizetve = v_uj, dat_fizetve = IF(v_uj = 'I', CURDATE(), NULL)
   WHERE munkalap = pmunkalap AND fizetve <> v_uj;
  SET v_db = ROW_COUNT();
  IF v_own THEN COMMIT; END IF;
  SELECT IF(v_db > 0, 1, 0) AS valtozott;
END //

-- Toggles payment: unpaid -> paid today, paid -> unpaid without a date.
CREATE OR REPLACE PROCEDURE sp_kifizet(IN pmunkalap INT)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_db INT DEFAULT 0;
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  SELECT COUNT(*) INTO v_db FROM munkalap WHERE munkalap = pmunkalap FOR UPDATE;
  IF v_db = 0 THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Nincs ilyen munkalap';
  END IF;
  -- left to right: the date is decided on the old flag
  UPDATE munkalap
     SET dat_fizetve = IF(fizetve = 'I', NULL, CURDATE()),
         fizetve = IF(fizetve = 'I', 'N', 'I')
   WHERE munkalap = pmunkalap;
  IF v_own THEN COMMIT; END IF;
END //

-- Renumbers the planner positions (dolgozo.sorszam) 1 to n over the live
-- employees, keeping their order (new employees last, by name); deleted
-- employees get 0. The planner's day grid follows by itself.
CREATE OR REPLACE PROCEDURE sp_dolgujrasor()
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  UPDATE dolgozo d
    JOIN (SELECT dolgozo,
                 ROW_NUMBER() OVER (ORDER BY sorszam <= 0, sorszam, dolgozo_nev, dolgozo) AS uj
            FROM dolgozo WHERE torolve = 'N') r ON r.dolgozo = d.dolgozo
     SET d.sorszam = r.uj
   WHERE d.sorszam <> r.uj;
  UPDATE dolgozo SET sorszam = 0 WHERE torolve <> 'N' AND sorszam <> 0;
  IF v_own THEN COMMIT; END IF;
END //

-- ---------------------------------------------------------------------------
-- Work sheets and their lines

-- A new sheet: arrived today, deadline in beallit.mlaphatid days at the
-- current time of day, status 1 "Beérkezett" (the editor turns a quotation to
-- 0), not cancelled, not paid, recorded now by the given user. The device's
-- last sheet and the customer's last visit follow. The new number comes back
-- as the routine's one result row (munkalap), so that the caller reads the
-- sheet its own call made even when its session was replaced meanwhile, and
-- is also left in LAST_INSERT_ID() of the calling session.
CREATE OR REPLACE PROCEDURE sp_ujmunkalap(IN pugyfel INT, IN pmlaptipus INT, IN pkeszulek INT,
                                          IN pfelhasznalo TEXT CHARACTER SET latin2)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_uj INT DEFAULT 0;
  DECLARE v_hatid INT DEFAULT 0;
  DECLARE v_ugyfel INT DEFAULT GREATEST(COALESCE(pugyfel, 0), 0);
  DECLARE v_keszulek INT DEFAULT GREATEST(COALESCE(pkeszulek, 0), 0);
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  SET v_hatid = COALESCE((SELECT mlaphatid FROM beallit ORDER BY beallit LIMIT 1), 0);
  IF v_ugyfel = 0 AND v_keszulek > 0 THEN
    SET v_ugyfel = COALESCE((SELECT ugyfel FROM keszulek WHERE keszulek = v_keszulek), 0);
  END IF;
  INSERT INTO munkalap (mlaptipus, ugyfel, keszulek, datum, dat_hatid, statusz,
                        ar_ossz, ar_kedvezmeny, ar_eloleg, ar_fizetendo, ar_besz,
                        storno, dolgozostr, rogzitve, fizetve, felhasznalo, kuldve, legellatas)
  VALUES (GREATEST(COALESCE(pmlaptipus, 0), 0), v_ugyfel, v_keszulek, CURDATE(),
          DATE_SUB(NOW(), INTERVAL SECOND(NOW()) SECOND) + INTERVAL v_hatid DAY, 1,
          0, 0, 0, 0, 0,
          'N', '', NOW(), 'N', LEFT(COALESCE(pfelhasznalo, ''), 20), 'N', 'N');
  SET v_uj = LAST_INSERT_ID();
  IF v_keszulek > 0 THEN
    UPDATE keszulek SET utolso_munkalap = v_uj WHERE keszulek = v_keszulek;
  END IF;
  IF v_ugyfel > 0 THEN
    UPDATE ugyfel SET dat_utolso = CURDATE()
     WHERE ugyfel = v_ugyfel AND (dat_utolso IS NULL OR dat_utolso < CURDATE());
  END IF;
  IF v_own THEN COMMIT; END IF;
  DO LAST_INSERT_ID(v_uj);
  SELECT v_uj AS munkalap;
END //

-- Completes a sheet the editor has just saved: totals and employee names
-- recomputed, missing arrival date and record time filled, dat_kesz stamped
-- for a ready sheet, the device's last sheet and the customer's last visit
-- brought up to date.
CREATE OR REPLACE PROCEDURE sp_munkalapkesz(IN pmunkalap INT)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_db INT DEFAULT 0;
  DECLARE v_keszulek INT DEFAULT 0;
  DECLARE v_ugyfel INT DEFAULT 0;
  DECLARE v_datum DATE;
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  SELECT COUNT(*) INTO v_db FROM munkalap WHERE munkalap = pmunkalap FOR UPDATE;
  IF v_db = 0 THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Nincs ilyen munkalap';
  END IF;
  CALL sp_arbeallit(pmunkalap);
  CALL sp_dolgstr(pmunkalap, -1);
  UPDATE munkalap
     SET datum = COALESCE(datum, CURDATE()),
         rogzitve = COALESCE(rogzitve, NOW()),
         dat_kesz = IF(statusz >= 3 AND dat_kesz IS NULL, CURDATE(), dat_kesz)
   WHERE munkalap = pmunkalap;
  SELECT keszulek, ugyfel, datum INTO v_keszulek, v_ugyfel, v_datum
    FROM munkalap WHERE munkalap = pmunkalap;
  IF v_keszulek > 0 THEN
    UPDATE keszulek
       SET utolso_munkalap = COALESCE((SELECT MAX(munkalap) FROM munkalap WHERE keszulek = v_keszulek), 0)
     WHERE keszulek = v_keszulek;
  END IF;
  IF v_ugyfel > 0 THEN
    UPDATE ugyfel SET dat_utolso = v_datum
     WHERE ugyfel = v_ugyfel AND (dat_utolso IS NULL OR dat_utolso < v_datum);
  END IF;
  IF v_own THEN COMMIT; END IF;
END //

-- Deletes a sheet with its lines, employee links, status history and notes;
-- its appointments stay but no longer point to it. The device's last sheet
-- goes back to the one before. A sheet that is already gone is not an error.
CREATE OR REPLACE PROCEDURE sp_mlaptorol(IN pmunkalap INT)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_db INT DEFAULT 0;
  DECLARE v_keszulek INT DEFAULT 0;
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  SELECT COUNT(*), COALESCE(MAX(keszulek), 0) INTO v_db, v_keszulek
    FROM munkalap WHERE munkalap = pmunkalap FOR UPDATE;
  IF v_db > 0 THEN
    DELETE FROM munkalap_tetel WHERE munkalap = pmunkalap;
    DELETE FROM munkalap_dolgozo WHERE munkalap = pmunkalap;
    DELETE FROM statuszvaltas WHERE munkalap = pmunkalap;
    DELETE FROM megj WHERE megjtipus = 2 AND id = pmunkalap;
    UPDATE elojegyzes SET munkalap = 0, munkalapstr = '' WHERE munkalap = pmunkalap;
    DELETE FROM munkalap WHERE munkalap = pmunkalap;
    IF v_keszulek > 0 THEN
      UPDATE keszulek
         SET utolso_munkalap = COALESCE((SELECT MAX(munkalap) FROM munkalap WHERE keszulek = v_keszulek), 0)
       WHERE keszulek = v_keszulek;
    END IF;
  END IF;
  IF v_own THEN COMMIT; END IF;
END //

-- Refuses a sheet that may not be changed any more, with the message the
-- program shows: 'Nincs ilyen munkalap', 'Sztornó munkalap' (cancelled) or
-- 'Lezárt munkalap' (its status is locked: statusz.keszenvan = 'I';
-- quotations never are). Inside the caller's transaction it also locks the
-- sheet's row, so that no status change or cancellation can come between
-- the check and the caller's change.
CREATE OR REPLACE PROCEDURE sp_mlapnyitott(IN pmunkalap INT)
READS SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_db INT DEFAULT 0;
  DECLARE v_statusz INT DEFAULT 0;
  DECLARE v_storno CHAR(1) DEFAULT 'N';
  SELECT COUNT(*), COALESCE(MAX(statusz), 0), COALESCE(MAX(storno), 'N') INTO v_db, v_statusz, v_storno
    FROM munkalap WHERE munkalap = pmunkalap FOR UPDATE;
  IF v_db = 0 THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Nincs ilyen munkalap';
  END IF;
  IF v_storno = 'I' THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Sztornó munkalap';
  END IF;
  IF v_statusz <> 0 AND EXISTS (SELECT 1 FROM statusz WHERE statusz = v_statusz AND keszenvan = 'I') THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Lezárt munkalap';
  END IF;
END //

-- A new line of a sheet; the sheet's totals follow. A cancelled or locked
-- sheet is refused (sp_mlapnyitott). The new line's number is left in
-- LAST_INSERT_ID().
CREATE OR REPLACE PROCEDURE sp_munkalap_ujsor(IN pmunkalap INT, IN ptetel INT, IN pdb DOUBLE, IN pegysar DOUBLE,
                                              IN pbeszar DOUBLE, IN pkedv_kap DOUBLE, IN pkedv_ad DOUBLE,
                                              IN par_teljes DOUBLE, IN pmegjegyzes TEXT CHARACTER SET latin2,
                                              IN pegyeb TEXT CHARACTER SET latin2)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_uj INT DEFAULT 0;
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  CALL sp_mlapnyitott(pmunkalap);
  INSERT INTO munkalap_tetel (munkalap, tetel, db, egysar, beszar, kedv_kap, kedv_ad, ar_teljes, megjegyzes, egyeb)
  VALUES (pmunkalap, COALESCE(ptetel, 0), COALESCE(pdb, 0), COALESCE(pegysar, 0), COALESCE(pbeszar, 0),
          COALESCE(pkedv_kap, 0), COALESCE(pkedv_ad, 0), COALESCE(par_teljes, 0),
          LEFT(pmegjegyzes, 255), LEFT(pegyeb, 50));
  SET v_uj = LAST_INSERT_ID();
  CALL sp_arbeallit(pmunkalap);
  IF v_own THEN COMMIT; END IF;
  DO LAST_INSERT_ID(v_uj);
END //

-- Rewrites a line; the sheet's totals follow. A line of a cancelled or
-- locked sheet is refused.
CREATE OR REPLACE PROCEDURE sp_munkalap_szerkesztsor(IN pmunkalap_tetel INT, IN ptetel INT, IN pdb DOUBLE,
                                                     IN pegysar DOUBLE, IN pbeszar DOUBLE, IN pkedv_kap DOUBLE,
                                                     IN pkedv_ad DOUBLE, IN par_teljes DOUBLE,
                                                     IN pmegjegyzes TEXT CHARACTER SET latin2,
                                                     IN pegyeb TEXT CHARACTER SET latin2)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_munkalap INT DEFAULT 0;
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  SET v_munkalap = COALESCE((SELECT munkalap FROM munkalap_tetel WHERE munkalap_tetel = pmunkalap_tetel), 0);
  IF v_munkalap = 0 THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Nincs ilyen munkalap sor';
  END IF;
  CALL sp_mlapnyitott(v_munkalap);
  UPDATE munkalap_tetel
     SET tetel = COALESCE(ptetel, 0), db = COALESCE(pdb, 0), egysar = COALESCE(pegysar, 0),
         beszar = COALESCE(pbeszar, 0), kedv_kap = COALESCE(pkedv_kap, 0), kedv_ad = COALESCE(pkedv_ad, 0),
         ar_teljes = COALESCE(par_teljes, 0), megjegyzes = LEFT(pmegjegyzes, 255), egyeb = LEFT(pegyeb, 50)
   WHERE munkalap_tetel = pmunkalap_tetel;
  CALL sp_arbeallit(v_munkalap);
  IF v_own THEN COMMIT; END IF;
END //

-- Deletes a line; the sheet's totals follow. A line that is already gone is
-- not an error; a line of a cancelled or locked sheet is refused.
CREATE OR REPLACE PROCEDURE sp_munkalap_torolsor(IN pmunkalap_tetel INT)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_munkalap INT DEFAULT 0;
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  SET v_munkalap = COALESCE((SELECT munkalap FROM munkalap_tetel WHERE munkalap_tetel = pmunkalap_tetel), 0);
  IF v_munkalap > 0 THEN
    CALL sp_mlapnyitott(v_munkalap);
    DELETE FROM munkalap_tetel WHERE munkalap_tetel = pmunkalap_tetel;
    CALL sp_arbeallit(v_munkalap);
  END IF;
  IF v_own THEN COMMIT; END IF;
END //

-- Sets the unit price of a line (pegysar) or its given discount (pkedv_ad,
-- percent): a discount alone prices the line from its list price,
-- egysar = ar_teljes * (1 - discount / 100). The sheet's totals follow. A
-- line of a cancelled or locked sheet is refused.
CREATE OR REPLACE PROCEDURE sp_munkalap_sorar(IN pmunkalap_tetel INT, IN pegysar DOUBLE, IN pkedv_ad DOUBLE)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_munkalap INT DEFAULT 0;
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  SET v_munkalap = COALESCE((SELECT munkalap FROM munkalap_tetel WHERE munkalap_tetel = pmunkalap_tetel), 0);
  IF v_munkalap = 0 THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Nincs ilyen munkalap sor';
  END IF;
  CALL sp_mlapnyitott(v_munkalap);
  UPDATE munkalap_tetel
     SET kedv_ad = COALESCE(pkedv_ad, kedv_ad),
         egysar = COALESCE(pegysar, COALESCE(ar_teljes, 0) * (1 - (COALESCE(pkedv_ad, 0) / 100)))
   WHERE munkalap_tetel = pmunkalap_tetel;
  CALL sp_arbeallit(v_munkalap);
  IF v_own THEN COMMIT; END IF;
END //

-- Gives every line of a sheet the same discount (percent) from its list
-- price: egysar = ar_teljes * (1 - discount / 100); the totals follow. A
-- cancelled or locked sheet is refused.
CREATE OR REPLACE PROCEDURE sp_munkalap_kedvezmeny(IN pmunkalap INT, IN pkedv_ad DOUBLE)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  CALL sp_mlapnyitott(pmunkalap);
  UPDATE munkalap_tetel
     SET kedv_ad = COALESCE(pkedv_ad, 0),
         egysar = COALESCE(ar_teljes, 0) * (1 - (COALESCE(pkedv_ad, 0) / 100))
   WHERE munkalap = pmunkalap;
  CALL sp_arbeallit(pmunkalap);
  IF v_own THEN COMMIT; END IF;
END //

-- The work sheets of a device, newest first: every munkalap column, then
-- munkalapstr, mlaptipus_nev, hatidstr, ar_teljes and statusz_nev. Device 0
-- (none selected) gives no rows.
CREATE OR REPLACE PROCEDURE sp_elozmeny(IN pkeszulek INT)
READS SQL DATA SQL SECURITY INVOKER
BEGIN
  SELECT
    m.*,
    CONCAT(LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), COALESCE(mt.betujel, '')) AS munkalapstr,
    mt.mlaptipus_nev,
    CONVERT(LEFT(DATE_FORMAT(m.dat_hatid, '%Y.%m.%d. %H:%i'), 19) USING latin2) COLLATE latin2_hungarian_ci AS hatidstr,
    COALESCE(m.ar_ossz, 0) - ABS(COALESCE(m.ar_kedvezmeny, 0)) AS ar_teljes,
    s.statusz_nev
  FROM munkalap m
    LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus
    LEFT JOIN statusz s ON s.statusz = m.statusz
  WHERE pkeszulek > 0 AND m.keszulek = pkeszulek
  ORDER BY m.munkalap DESC;
END //

-- ---------------------------------------------------------------------------
-- Appointments and the planner grid

-- Makes the planner's day grid (the view dolgelo) show the day: the calendar
-- holds every day from 2000 to 2099 already; another day is added.
CREATE OR REPLACE PROCEDURE sp_dolgelofeltolt(IN pdatum DATE)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  IF pdatum IS NOT NULL THEN
    INSERT INTO nap (datum) VALUES (pdatum) ON DUPLICATE KEY UPDATE datum = datum;
  END IF;
  IF v_own THEN COMMIT; END IF;
END //

-- A new appointment: one row per half-hour slot, phossz slots (at least one)
-- from slot pora, for one employee and day, all sharing the new azon, which
-- is the number of the first row. The captions of the sheet, customer and
-- device are stored with the rows; a sheet gives its customer and device when
-- none is passed (-1 and 0 both mean none).
--
-- Nothing is written, and an error is raised, when the employee does not
-- exist ('Nincs ilyen dolgozó'), the first slot is not one of the day's slots
-- in ora ('Hibás időpont'), the appointment runs past them ('Az előjegyzés
-- túlnyúlik a nap utolsó idősávján'), or any of its slots of that employee
-- and day is booked already ('Az időpont már foglalt'). Bookings of one
-- employee wait for one another on the employee's row, so two workstations
-- booking the same slots at once get one appointment and one refusal.
--
-- Gives elojegyzes, the number of the appointment's last row (its largest),
-- and azon; the same number is left in LAST_INSERT_ID(). Scripts call it with
-- user variables; the program calls sp_ujelojegyzes.
CREATE OR REPLACE PROCEDURE sp_elojegyzesfoglal(IN pdolgozo INT, IN pdatum DATE, IN pora INT, IN phossz INT,
                                                IN pmunkalap INT, IN pugyfel INT, IN pkeszulek INT,
                                                IN pszoveg TEXT CHARACTER SET latin2,
                                                OUT pelojegyzes INT, OUT pazon INT)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE v_hossz INT DEFAULT GREATEST(COALESCE(phossz, 1), 1);
  DECLARE v_munkalap INT DEFAULT GREATEST(COALESCE(pmunkalap, 0), 0);
  DECLARE v_ugyfel INT DEFAULT GREATEST(COALESCE(pugyfel, 0), 0);
  DECLARE v_keszulek INT DEFAULT GREATEST(COALESCE(pkeszulek, 0), 0);
  DECLARE v_munkalapstr VARCHAR(255) CHARACTER SET latin2 DEFAULT '';
  DECLARE v_ugyfelstr VARCHAR(255) CHARACTER SET latin2 DEFAULT '';
  DECLARE v_keszulekstr VARCHAR(255) CHARACTER SET latin2 DEFAULT '';
  DECLARE v_db INT DEFAULT 0;
  DECLARE v_ora INT DEFAULT 0;
  DECLARE v_utolso INT DEFAULT 0;
  DECLARE v_azon INT DEFAULT 0;
  DECLARE v_sor INT DEFAULT 0;
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF pdatum IS NULL OR pora IS NULL OR NOT EXISTS (SELECT 1 FROM ora WHERE ora = pora) THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Hibás időpont';
  END IF;
  SET v_utolso = pora + v_hossz - 1;
  IF (SELECT COUNT(*) FROM ora WHERE ora BETWEEN pora AND v_utolso) <> v_hossz THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Az előjegyzés túlnyúlik a nap utolsó idősávján';
  END IF;
  IF v_own THEN START TRANSACTION; END IF;
  SELECT COUNT(*) INTO v_db FROM dolgozo WHERE dolgozo = pdolgozo FOR UPDATE;
  IF v_db = 0 THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Nincs ilyen dolgozó';
  END IF;
  SELECT COUNT(*) INTO v_db FROM elojegyzes
   WHERE dolgozo = pdolgozo AND datum = pdatum AND ora BETWEEN pora AND v_utolso FOR UPDATE;
  IF v_db > 0 THEN
    SIGNAL SQLSTATE '45000' SET MESSAGE_TEXT = 'Az időpont már foglalt';
  END IF;
  IF v_munkalap > 0 THEN
    IF v_ugyfel = 0 THEN
      SET v_ugyfel = COALESCE((SELECT ugyfel FROM munkalap WHERE munkalap = v_munkalap), 0);
    END IF;
    IF v_keszulek = 0 THEN
      SET v_keszulek = COALESCE((SELECT keszulek FROM munkalap WHERE munkalap = v_munkalap), 0);
    END IF;
    SET v_munkalapstr = COALESCE((SELECT CONCAT(LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), COALESCE(mt.betujel, ''))
                                    FROM munkalap m LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus
                                   WHERE m.munkalap = v_munkalap), '');
  END IF;
  IF v_ugyfel > 0 THEN
    SET v_ugyfelstr = COALESCE((SELECT ugyfel_nev FROM ugyfel WHERE ugyfel = v_ugyfel), '');
  END IF;
  IF v_keszulek > 0 THEN
    SET v_keszulekstr = COALESCE((
      SELECT CONCAT_WS(', ', NULLIF(TRIM(k.gysz), ''),
                       NULLIF(CONCAT_WS(' ', NULLIF(TRIM(g.gyarto_nev), ''), NULLIF(TRIM(t.tipus_nev), '')), ''))
        FROM keszulek k
          LEFT JOIN tipus t ON t.tipus = k.tipus
          LEFT JOIN gyarto g ON g.gyarto = t.gyarto
       WHERE k.keszulek = v_keszulek), '');
  END IF;
  SET v_ora = pora;
  WHILE v_ora <= v_utolso DO
    INSERT INTO elojegyzes (azon, dolgozo, datum, ora, munkalap, ugyfel, keszulek, szoveg,
                            munkalapstr, ugyfelstr, keszulekstr)
    VALUES (v_azon, pdolgozo, pdatum, v_ora, v_munkalap, v_ugyfel, v_keszulek, LEFT(pszoveg, 255),
            v_munkalapstr, v_ugyfelstr, v_keszulekstr);
    SET v_sor = LAST_INSERT_ID();
    IF v_azon = 0 THEN
      SET v_azon = v_sor;
      UPDATE elojegyzes SET azon = v_azon WHERE elojegyzes = v_sor;
    END IF;
    SET v_ora = v_ora + 1;
  END WHILE;
  INSERT INTO nap (datum) VALUES (pdatum) ON DUPLICATE KEY UPDATE datum = datum;
  IF v_own THEN COMMIT; END IF;
  DO LAST_INSERT_ID(v_sor);
  SET pelojegyzes = v_sor;
  SET pazon = v_azon;
END //

-- sp_elojegyzesfoglal for the program: its one result row is elojegyzes and
-- azon of the new appointment, read on the connection that booked it.
CREATE OR REPLACE PROCEDURE sp_ujelojegyzes(IN pdolgozo INT, IN pdatum DATE, IN pora INT, IN phossz INT,
                                            IN pmunkalap INT, IN pugyfel INT, IN pkeszulek INT,
                                            IN pszoveg TEXT CHARACTER SET latin2)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_elojegyzes INT DEFAULT 0;
  DECLARE v_azon INT DEFAULT 0;
  CALL sp_elojegyzesfoglal(pdolgozo, pdatum, pora, phossz, pmunkalap, pugyfel, pkeszulek, pszoveg,
                           v_elojegyzes, v_azon);
  SELECT v_elojegyzes AS elojegyzes, v_azon AS azon;
END //

-- Deletes every slot of one appointment (azon) of one employee.
CREATE OR REPLACE PROCEDURE sp_elojegyzestorol(IN pazon INT, IN pdolgozo INT)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  DELETE FROM elojegyzes WHERE azon = pazon AND dolgozo = pdolgozo;
  IF v_own THEN COMMIT; END IF;
END //

-- ---------------------------------------------------------------------------
-- Customers' serial-number texts

-- The serial numbers (gysz, gysz2) of a customer's live devices, in device
-- order, separated by blanks.
CREATE OR REPLACE FUNCTION fn_ugyfelgyszstr(pugyfel INT) RETURNS TEXT CHARACTER SET latin2
READS SQL DATA SQL SECURITY INVOKER
BEGIN
  RETURN COALESCE((
    SELECT GROUP_CONCAT(NULLIF(CONCAT_WS(' ', NULLIF(TRIM(gysz), ''), NULLIF(TRIM(gysz2), '')), '')
                        ORDER BY keszulek SEPARATOR ' ')
      FROM keszulek WHERE ugyfel = pugyfel AND torolve = 'N'), '');
END //

-- Refreshes ugyfel.gyszstr for every customer (the device triggers keep it
-- current between start-ups; this repairs what changed outside them).
CREATE OR REPLACE PROCEDURE sp_gyszstr()
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    DROP TEMPORARY TABLE IF EXISTS tmp_gyszstr;
    RESIGNAL;
  END;
  -- The texts go into a keyed InnoDB table first: as a derived table with a
  -- TEXT column they would be written to an on-disk temporary table and
  -- probed through an index built for the occasion.
  DROP TEMPORARY TABLE IF EXISTS tmp_gyszstr;
  CREATE TEMPORARY TABLE tmp_gyszstr (ugyfel INT NOT NULL PRIMARY KEY, szoveg TEXT) ENGINE=InnoDB;
  IF v_own THEN START TRANSACTION; END IF;
  INSERT INTO tmp_gyszstr (ugyfel, szoveg)
  SELECT ugyfel,
         GROUP_CONCAT(NULLIF(CONCAT_WS(' ', NULLIF(TRIM(gysz), ''), NULLIF(TRIM(gysz2), '')), '')
                      ORDER BY keszulek SEPARATOR ' ')
    FROM keszulek WHERE torolve = 'N'
   GROUP BY ugyfel;
  UPDATE ugyfel u
    LEFT JOIN tmp_gyszstr k ON k.ugyfel = u.ugyfel
     SET u.gyszstr = COALESCE(k.szoveg, '')
   WHERE NOT (u.gyszstr <=> COALESCE(k.szoveg, ''));
  IF v_own THEN COMMIT; END IF;
  DROP TEMPORARY TABLE tmp_gyszstr;
END //

CREATE OR REPLACE TRIGGER trg_keszulek_ai AFTER INSERT ON keszulek FOR EACH ROW
BEGIN
  UPDATE ugyfel SET gyszstr = fn_ugyfelgyszstr(NEW.ugyfel) WHERE ugyfel = NEW.ugyfel;
END //

CREATE OR REPLACE TRIGGER trg_keszulek_au AFTER UPDATE ON keszulek FOR EACH ROW
BEGIN
  IF NOT (OLD.gysz <=> NEW.gysz AND OLD.gysz2 <=> NEW.gysz2 AND OLD.torolve <=> NEW.torolve
          AND OLD.ugyfel <=> NEW.ugyfel) THEN
    UPDATE ugyfel SET gyszstr = fn_ugyfelgyszstr(NEW.ugyfel) WHERE ugyfel = NEW.ugyfel;
    IF NOT (OLD.ugyfel <=> NEW.ugyfel) THEN
      UPDATE ugyfel SET gyszstr = fn_ugyfelgyszstr(OLD.ugyfel) WHERE ugyfel = OLD.ugyfel;
    END IF;
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_keszulek_ad AFTER DELETE ON keszulek FOR EACH ROW
BEGIN
  UPDATE ugyfel SET gyszstr = fn_ugyfelgyszstr(OLD.ugyfel) WHERE ugyfel = OLD.ugyfel;
END //

-- ---------------------------------------------------------------------------
-- Search texts of the main window's lists (munkalap_kereses, ugyfel_kereses,
-- keszulek_kereses; computed by the views vw_*_kereses)
--
-- The triggers below store them again whenever a value they are made of
-- changes: the sheet itself, its type, customer, status and device, the
-- device's type and manufacturer. They stand aside while the session variable
-- @kml_kereses_ki is set (a data script restores the search tables with the
-- other tables and then calls sp_kereses_ujra).

-- The search texts of the sheets chosen by pmi: 'munkalap' (the sheet pid),
-- 'ugyfel', 'keszulek', 'mlaptipus', 'statusz' (the sheets of that customer,
-- device, type or status), 'tipus', 'gyarto' (the sheets whose device is of
-- that type or manufacturer).
CREATE OR REPLACE PROCEDURE sp_kereses_munkalap(IN pmi VARCHAR(20), IN pid INT)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  CASE pmi
  WHEN 'munkalap' THEN
    -- Replaced, not deleted first: deleting a key not yet there would lock
    -- the gap after the last sheet, and two workstations opening sheets at
    -- once would deadlock on it.
    REPLACE INTO munkalap_kereses (munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu)
    SELECT munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_munkalap_kereses WHERE munkalap = pid;
    IF ROW_COUNT() = 0 THEN
      DELETE FROM munkalap_kereses WHERE munkalap = pid;
    END IF;
  WHEN 'ugyfel' THEN
    REPLACE INTO munkalap_kereses (munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu)
    SELECT munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_munkalap_kereses WHERE ugyfel = pid;
  WHEN 'keszulek' THEN
    REPLACE INTO munkalap_kereses (munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu)
    SELECT munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_munkalap_kereses WHERE keszulek = pid;
  WHEN 'mlaptipus' THEN
    REPLACE INTO munkalap_kereses (munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu)
    SELECT munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_munkalap_kereses WHERE mlaptipus = pid;
  WHEN 'statusz' THEN
    REPLACE INTO munkalap_kereses (munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu)
    SELECT munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_munkalap_kereses WHERE statusz = pid;
  WHEN 'tipus' THEN
    REPLACE INTO munkalap_kereses (munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu)
    SELECT munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_munkalap_kereses
     WHERE keszulek IN (SELECT keszulek FROM keszulek WHERE tipus = pid);
  WHEN 'gyarto' THEN
    REPLACE INTO munkalap_kereses (munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu)
    SELECT munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_munkalap_kereses
     WHERE keszulek IN (SELECT k.keszulek FROM keszulek k JOIN tipus t ON t.tipus = k.tipus WHERE t.gyarto = pid);
  END CASE;
END //

-- The search text of the customer pid (none for a deleted one).
CREATE OR REPLACE PROCEDURE sp_kereses_ugyfel(IN pid INT)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  REPLACE INTO ugyfel_kereses (ugyfel, szoveg_hu, szoveg_alt, szoveg_hosszu)
  SELECT ugyfel, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_ugyfel_kereses WHERE ugyfel = pid;
  IF ROW_COUNT() = 0 THEN
    DELETE FROM ugyfel_kereses WHERE ugyfel = pid;
  END IF;
END //

-- The search texts of the devices chosen by pmi: 'keszulek' (the device
-- pid), 'ugyfel', 'tipus', 'gyarto' (the devices of that customer, type or
-- manufacturer); deleted devices have none.
CREATE OR REPLACE PROCEDURE sp_kereses_keszulek(IN pmi VARCHAR(20), IN pid INT)
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  CASE pmi
  WHEN 'keszulek' THEN
    REPLACE INTO keszulek_kereses (keszulek, szoveg_hu, szoveg_alt, szoveg_hosszu)
    SELECT keszulek, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_keszulek_kereses WHERE keszulek = pid;
    IF ROW_COUNT() = 0 THEN
      DELETE FROM keszulek_kereses WHERE keszulek = pid;
    END IF;
  WHEN 'ugyfel' THEN
    -- a deleted customer's devices leave the lists with it
    DELETE keszulek_kereses FROM keszulek_kereses JOIN keszulek USING (keszulek) WHERE keszulek.ugyfel = pid;
    REPLACE INTO keszulek_kereses (keszulek, szoveg_hu, szoveg_alt, szoveg_hosszu)
    SELECT keszulek, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_keszulek_kereses WHERE ugyfel = pid;
  WHEN 'tipus' THEN
    REPLACE INTO keszulek_kereses (keszulek, szoveg_hu, szoveg_alt, szoveg_hosszu)
    SELECT keszulek, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_keszulek_kereses WHERE tipus = pid;
  WHEN 'gyarto' THEN
    REPLACE INTO keszulek_kereses (keszulek, szoveg_hu, szoveg_alt, szoveg_hosszu)
    SELECT keszulek, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_keszulek_kereses WHERE gyarto = pid;
  END CASE;
END //

-- Every search text computed again: after a data script, after changes made
-- with the triggers standing aside, or to repair. One transaction.
CREATE OR REPLACE PROCEDURE sp_kereses_ujra()
MODIFIES SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_own BOOLEAN DEFAULT (@@in_transaction = 0);
  DECLARE EXIT HANDLER FOR SQLEXCEPTION
  BEGIN
    IF v_own THEN ROLLBACK; END IF;
    RESIGNAL;
  END;
  IF v_own THEN START TRANSACTION; END IF;
  DELETE FROM munkalap_kereses;
  INSERT INTO munkalap_kereses (munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu)
  SELECT munkalap, statusz, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_munkalap_kereses;
  DELETE FROM ugyfel_kereses;
  INSERT INTO ugyfel_kereses (ugyfel, szoveg_hu, szoveg_alt, szoveg_hosszu)
  SELECT ugyfel, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_ugyfel_kereses;
  DELETE FROM keszulek_kereses;
  INSERT INTO keszulek_kereses (keszulek, szoveg_hu, szoveg_alt, szoveg_hosszu)
  SELECT keszulek, szoveg_hu, szoveg_alt, szoveg_hosszu FROM vw_keszulek_kereses;
  IF v_own THEN COMMIT; END IF;
END //

CREATE OR REPLACE TRIGGER trg_munkalap_kereses_ai AFTER INSERT ON munkalap FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    CALL sp_kereses_munkalap('munkalap', NEW.munkalap);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_munkalap_kereses_au AFTER UPDATE ON munkalap FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL AND NOT (
       OLD.munkalap <=> NEW.munkalap AND OLD.panasz <=> NEW.panasz AND OLD.vegzett_munka <=> NEW.vegzett_munka
       AND OLD.megjegyzes <=> NEW.megjegyzes AND OLD.mlaptipus <=> NEW.mlaptipus AND OLD.ugyfel <=> NEW.ugyfel
       AND OLD.keszulek <=> NEW.keszulek AND OLD.statusz <=> NEW.statusz AND OLD.datum <=> NEW.datum
       AND OLD.dat_hatid <=> NEW.dat_hatid AND OLD.dat_kesz <=> NEW.dat_kesz) THEN
    IF NOT (OLD.munkalap <=> NEW.munkalap) THEN
      CALL sp_kereses_munkalap('munkalap', OLD.munkalap);
    END IF;
    CALL sp_kereses_munkalap('munkalap', NEW.munkalap);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_munkalap_kereses_ad AFTER DELETE ON munkalap FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    DELETE FROM munkalap_kereses WHERE munkalap = OLD.munkalap;
  END IF;
END //

-- A customer: its own text, and the sheets and devices that show its name
-- (the sheets also its phone and address).
CREATE OR REPLACE TRIGGER trg_ugyfel_kereses_ai AFTER INSERT ON ugyfel FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    CALL sp_kereses_ugyfel(NEW.ugyfel);
    CALL sp_kereses_munkalap('ugyfel', NEW.ugyfel);
    CALL sp_kereses_keszulek('ugyfel', NEW.ugyfel);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_ugyfel_kereses_au AFTER UPDATE ON ugyfel FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    IF NOT (OLD.ugyfel <=> NEW.ugyfel AND OLD.ugyfel_nev <=> NEW.ugyfel_nev AND OLD.kapcsolat <=> NEW.kapcsolat
            AND OLD.telefon <=> NEW.telefon AND OLD.emil <=> NEW.emil AND OLD.cim_irsz <=> NEW.cim_irsz
            AND OLD.cim_varos <=> NEW.cim_varos AND OLD.cim_cim <=> NEW.cim_cim AND OLD.gyszstr <=> NEW.gyszstr
            AND OLD.dat_figyelmeztet <=> NEW.dat_figyelmeztet AND OLD.torolve <=> NEW.torolve) THEN
      CALL sp_kereses_ugyfel(OLD.ugyfel);
      CALL sp_kereses_ugyfel(NEW.ugyfel);
    END IF;
    IF NOT (OLD.ugyfel <=> NEW.ugyfel AND OLD.ugyfel_nev <=> NEW.ugyfel_nev AND OLD.telefon <=> NEW.telefon
            AND OLD.cim_irsz <=> NEW.cim_irsz AND OLD.cim_varos <=> NEW.cim_varos AND OLD.cim_cim <=> NEW.cim_cim) THEN
      CALL sp_kereses_munkalap('ugyfel', OLD.ugyfel);
      CALL sp_kereses_munkalap('ugyfel', NEW.ugyfel);
    END IF;
    IF NOT (OLD.ugyfel <=> NEW.ugyfel AND OLD.ugyfel_nev <=> NEW.ugyfel_nev AND OLD.torolve <=> NEW.torolve) THEN
      CALL sp_kereses_keszulek('ugyfel', OLD.ugyfel);
      CALL sp_kereses_keszulek('ugyfel', NEW.ugyfel);
    END IF;
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_ugyfel_kereses_ad AFTER DELETE ON ugyfel FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    DELETE FROM ugyfel_kereses WHERE ugyfel = OLD.ugyfel;
    CALL sp_kereses_munkalap('ugyfel', OLD.ugyfel);
    CALL sp_kereses_keszulek('ugyfel', OLD.ugyfel);
  END IF;
END //

-- A device: its own text and the sheets that show its serial number, type
-- and year.
CREATE OR REPLACE TRIGGER trg_keszulek_kereses_ai AFTER INSERT ON keszulek FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    CALL sp_kereses_keszulek('keszulek', NEW.keszulek);
    CALL sp_kereses_munkalap('keszulek', NEW.keszulek);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_keszulek_kereses_au AFTER UPDATE ON keszulek FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    IF NOT (OLD.keszulek <=> NEW.keszulek AND OLD.gysz <=> NEW.gysz AND OLD.gysz2 <=> NEW.gysz2
            AND OLD.gysz3 <=> NEW.gysz3 AND OLD.ugyfel <=> NEW.ugyfel AND OLD.tipus <=> NEW.tipus
            AND OLD.torolve <=> NEW.torolve) THEN
      CALL sp_kereses_keszulek('keszulek', OLD.keszulek);
      CALL sp_kereses_keszulek('keszulek', NEW.keszulek);
    END IF;
    IF NOT (OLD.keszulek <=> NEW.keszulek AND OLD.gysz <=> NEW.gysz AND OLD.evjarat <=> NEW.evjarat
            AND OLD.tipus <=> NEW.tipus) THEN
      CALL sp_kereses_munkalap('keszulek', OLD.keszulek);
      CALL sp_kereses_munkalap('keszulek', NEW.keszulek);
    END IF;
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_keszulek_kereses_ad AFTER DELETE ON keszulek FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    DELETE FROM keszulek_kereses WHERE keszulek = OLD.keszulek;
    CALL sp_kereses_munkalap('keszulek', OLD.keszulek);
  END IF;
END //

-- Types, manufacturers, sheet types and statuses: the texts that show their
-- names.
CREATE OR REPLACE TRIGGER trg_tipus_kereses_ai AFTER INSERT ON tipus FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    CALL sp_kereses_keszulek('tipus', NEW.tipus);
    CALL sp_kereses_munkalap('tipus', NEW.tipus);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_tipus_kereses_au AFTER UPDATE ON tipus FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL
     AND NOT (OLD.tipus <=> NEW.tipus AND OLD.tipus_nev <=> NEW.tipus_nev AND OLD.gyarto <=> NEW.gyarto) THEN
    CALL sp_kereses_keszulek('tipus', OLD.tipus);
    CALL sp_kereses_keszulek('tipus', NEW.tipus);
    CALL sp_kereses_munkalap('tipus', OLD.tipus);
    CALL sp_kereses_munkalap('tipus', NEW.tipus);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_tipus_kereses_ad AFTER DELETE ON tipus FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    CALL sp_kereses_keszulek('tipus', OLD.tipus);
    CALL sp_kereses_munkalap('tipus', OLD.tipus);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_gyarto_kereses_ai AFTER INSERT ON gyarto FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    CALL sp_kereses_keszulek('gyarto', NEW.gyarto);
    CALL sp_kereses_munkalap('gyarto', NEW.gyarto);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_gyarto_kereses_au AFTER UPDATE ON gyarto FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL AND NOT (OLD.gyarto <=> NEW.gyarto AND OLD.gyarto_nev <=> NEW.gyarto_nev) THEN
    CALL sp_kereses_keszulek('gyarto', OLD.gyarto);
    CALL sp_kereses_keszulek('gyarto', NEW.gyarto);
    CALL sp_kereses_munkalap('gyarto', OLD.gyarto);
    CALL sp_kereses_munkalap('gyarto', NEW.gyarto);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_gyarto_kereses_ad AFTER DELETE ON gyarto FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    CALL sp_kereses_keszulek('gyarto', OLD.gyarto);
    CALL sp_kereses_munkalap('gyarto', OLD.gyarto);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_mlaptipus_kereses_ai AFTER INSERT ON mlaptipus FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    CALL sp_kereses_munkalap('mlaptipus', NEW.mlaptipus);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_mlaptipus_kereses_au AFTER UPDATE ON mlaptipus FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL AND NOT (OLD.mlaptipus <=> NEW.mlaptipus AND OLD.betujel <=> NEW.betujel
                                       AND OLD.mlaptipus_nev <=> NEW.mlaptipus_nev) THEN
    CALL sp_kereses_munkalap('mlaptipus', OLD.mlaptipus);
    CALL sp_kereses_munkalap('mlaptipus', NEW.mlaptipus);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_mlaptipus_kereses_ad AFTER DELETE ON mlaptipus FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    CALL sp_kereses_munkalap('mlaptipus', OLD.mlaptipus);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_statusz_kereses_ai AFTER INSERT ON statusz FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    CALL sp_kereses_munkalap('statusz', NEW.statusz);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_statusz_kereses_au AFTER UPDATE ON statusz FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL AND NOT (OLD.statusz <=> NEW.statusz AND OLD.statusz_nev <=> NEW.statusz_nev) THEN
    CALL sp_kereses_munkalap('statusz', OLD.statusz);
    CALL sp_kereses_munkalap('statusz', NEW.statusz);
  END IF;
END //

CREATE OR REPLACE TRIGGER trg_statusz_kereses_ad AFTER DELETE ON statusz FOR EACH ROW
BEGIN
  IF @kml_kereses_ki IS NULL THEN
    CALL sp_kereses_munkalap('statusz', OLD.statusz);
  END IF;
END //

-- ---------------------------------------------------------------------------
-- Items catalogue

-- The next automatic item code: the largest all-digit code of the live items
-- plus one (1 when there is none), padded on the left with zeros to the width
-- setting autocikkszamhossz (1 to 15, 5 when unset) and never cut. Codes with
-- anything but digits (A100, -1, 12/B) do not count. The codes are read with
-- a locking read, so that inside a transaction that already waited for the
-- settings row (trg_tetel_bi) it sees what other workstations committed.
CREATE OR REPLACE FUNCTION fn_kovcikkszam() RETURNS VARCHAR(20) CHARACTER SET latin2
READS SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_max BIGINT UNSIGNED DEFAULT 0;
  DECLARE v_hossz INT DEFAULT 5;
  DECLARE v_kod VARCHAR(20) CHARACTER SET latin2;
  SET v_hossz = LEAST(GREATEST(COALESCE((SELECT autocikkszamhossz FROM beallit ORDER BY beallit LIMIT 1), 5), 1), 15);
  SELECT COALESCE(MAX(CAST(tetel_kod AS UNSIGNED)), 0) INTO v_max
    FROM tetel
   WHERE torolve = 'N' AND tetel_kod REGEXP '^[0-9]+$'
    LOCK IN SHARE MODE;
  SET v_kod = CAST(v_max + 1 AS CHAR);
  RETURN IF(CHAR_LENGTH(v_kod) >= v_hossz, v_kod, LPAD(v_kod, v_hossz, '0'));
END //

-- A new item inserted without a code (NULL) while automatic codes are on gets
-- the next code at insert time. The settings row is locked until the insert
-- commits, so that two workstations saving new items at the same moment take
-- their codes one after the other instead of the same one.
CREATE OR REPLACE TRIGGER trg_tetel_bi BEFORE INSERT ON tetel FOR EACH ROW
BEGIN
  DECLARE v_auto CHAR(1) DEFAULT 'N';
  DECLARE CONTINUE HANDLER FOR NOT FOUND SET v_auto = 'N';
  IF NEW.tetel_kod IS NULL THEN
    SELECT autocikkszam INTO v_auto FROM beallit ORDER BY beallit LIMIT 1 FOR UPDATE;
    IF v_auto = 'I' THEN
      SET NEW.tetel_kod = fn_kovcikkszam();
    END IF;
  END IF;
END //

-- ---------------------------------------------------------------------------
-- Invoice export

-- The buyer of an invoice: 0 or 1 row. The street address is split into the
-- street name, its kind (the last word before the house number) and the house
-- number (from the first word that begins with a digit).
CREATE OR REPLACE PROCEDURE sp_szlafej(IN pugyfel INT)
READS SQL DATA SQL SECURITY INVOKER
BEGIN
  SELECT
    LEFT(COALESCE(x.ugyfel_nev, ''), 100) AS nev,
    COALESCE(x.adoszam, '') AS adoszam,
    IF(x.maganszemely = 'I', 'I', 'N') AS maganszemely,
    COALESCE(x.cim_irsz, '') AS iranyitoszam,
    COALESCE(x.cim_varos, '') AS telepules,
    LEFT(IF(LOCATE(' ', x.fej) > 0,
            LEFT(x.fej, CHAR_LENGTH(x.fej) - CHAR_LENGTH(SUBSTRING_INDEX(x.fej, ' ', -1)) - 1),
            x.fej), 50) AS kozterulet_neve,
    LEFT(IF(LOCATE(' ', x.fej) > 0, SUBSTRING_INDEX(x.fej, ' ', -1), ''), 50) AS kozterulet_jellege,
    LEFT(x.hazszam, 50) AS hazszam
  FROM (
    SELECT u.ugyfel_nev, u.adoszam, u.maganszemely, u.cim_irsz, u.cim_varos,
           IF(c.p > 0, TRIM(LEFT(c.cim, c.p - 1)), c.cim) AS fej,
           IF(c.p > 0, TRIM(SUBSTRING(c.cim, c.p + 1)), '') AS hazszam
      FROM ugyfel u
      JOIN (SELECT ugyfel, cim, REGEXP_INSTR(cim, ' [0-9]') AS p
              FROM (SELECT ugyfel, REGEXP_REPLACE(TRIM(COALESCE(cim_cim, '')), ' +', ' ') AS cim
                      FROM ugyfel WHERE ugyfel = pugyfel) a) c ON c.ugyfel = u.ugyfel
     WHERE u.ugyfel = pugyfel AND pugyfel > 0
  ) x;
END //

-- The lines of an invoice. Kind 1 is a work sheet: one row per line in line
-- order, gross prices split into net and VAT at beallit.afakulcs, and the
-- sheet's discount as a last, negative line. Other kinds give no rows.
CREATE OR REPLACE PROCEDURE sp_szlasor(IN ptipus INT, IN pid INT)
READS SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_afa DOUBLE DEFAULT 27;
  SET v_afa = COALESCE((SELECT afakulcs FROM beallit ORDER BY beallit LIMIT 1), 27);
  SELECT cikkszam, termeknev, sormegj, menny, mertekegys, nettoar, nettoegysar, adokulcs, adoertek,
         bruttoar, arengedm, torlo_kod
  FROM (
    SELECT
      1 AS sorrend,
      l.munkalap_tetel AS sor,
      LEFT(COALESCE(NULLIF(TRIM(t.cikkszam), ''), t.tetel_kod, ''), 15) AS cikkszam,
      LEFT(COALESCE(t.tetel_nev, ''), 75) AS termeknev,
      LEFT(COALESCE(l.megjegyzes, ''), 100) AS sormegj,
      COALESCE(l.db, 0) AS menny,
      LEFT(COALESCE(NULLIF(TRIM(t.mert), ''), 'db'), 25) AS mertekegys,
      ROUND(COALESCE(l.db, 0) * COALESCE(l.egysar, 0) / (1 + v_afa / 100), 2) AS nettoar,
      ROUND(COALESCE(l.egysar, 0) / (1 + v_afa / 100), 2) AS nettoegysar,
      v_afa AS adokulcs,
      ROUND(COALESCE(l.db, 0) * COALESCE(l.egysar, 0)
            - ROUND(COALESCE(l.db, 0) * COALESCE(l.egysar, 0) / (1 + v_afa / 100), 2), 2) AS adoertek,
      COALESCE(l.db, 0) * COALESCE(l.egysar, 0) AS bruttoar,
      0 AS arengedm,
      '' AS torlo_kod
    FROM munkalap_tetel l
      LEFT JOIN tetel t ON t.tetel = l.tetel
    WHERE ptipus = 1 AND l.munkalap = pid
    UNION ALL
    SELECT
      2, 0, '', 'Kedvezmény',
      LEFT(COALESCE(m.szoveg_kedvezmeny, ''), 100),
      1, 'db',
      ROUND(-ABS(m.ar_kedvezmeny) / (1 + v_afa / 100), 2),
      ROUND(-ABS(m.ar_kedvezmeny) / (1 + v_afa / 100), 2),
      v_afa,
      ROUND(-ABS(m.ar_kedvezmeny) - ROUND(-ABS(m.ar_kedvezmeny) / (1 + v_afa / 100), 2), 2),
      -ABS(m.ar_kedvezmeny),
      0, ''
    FROM munkalap m
    WHERE ptipus = 1 AND m.munkalap = pid AND COALESCE(m.ar_kedvezmeny, 0) <> 0
  ) x
  ORDER BY x.sorrend, x.sor;
END //

-- The invoice remark of a work sheet: "Munkalap: " and its number, the
-- device's serial number under the trade's caption when it has one, then the
-- shop's invoice remark (beallit.szlamegjegyzes), joined by " - ".
CREATE OR REPLACE FUNCTION fn_szlamegj(pid INT) RETURNS TEXT CHARACTER SET latin2
READS SQL DATA SQL SECURITY INVOKER
BEGIN
  DECLARE v_munkalap TEXT CHARACTER SET latin2;
  DECLARE v_megj TEXT CHARACTER SET latin2;
  SET v_munkalap = (
    SELECT CONCAT('Munkalap: ', LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), COALESCE(mt.betujel, ''),
                  IF(COALESCE(TRIM(k.gysz), '') = '', '',
                     CONCAT(', ', COALESCE(NULLIF(TRIM(p.gyszstr), ''), 'Gy.szám'), ': ', TRIM(k.gysz))))
      FROM munkalap m
        LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus
        LEFT JOIN keszulek k ON k.keszulek = m.keszulek
        LEFT JOIN beallit b ON b.beallit = (SELECT MIN(beallit) FROM beallit)
        LEFT JOIN prgtipus p ON p.prgtipus = b.prgtipus
     WHERE m.munkalap = pid);
  SET v_megj = (SELECT NULLIF(TRIM(szlamegjegyzes), '') FROM beallit ORDER BY beallit LIMIT 1);
  RETURN CONCAT_WS(' - ', v_munkalap, v_megj);
END //

-- ---------------------------------------------------------------------------
-- Website and messages

-- A new intro slide is numbered after the last one; the auto-increment
-- counter is not used, because swapping two slides through the temporary
-- number 9999 would push it past 9999.
CREATE OR REPLACE TRIGGER trg_webintro_bi BEFORE INSERT ON webintro FOR EACH ROW
BEGIN
  IF NEW.webintro IS NULL OR NEW.webintro = 0 THEN
    SET NEW.webintro = (SELECT COALESCE(MAX(webintro), 0) + 1 FROM webintro WHERE webintro <> 9999);
  END IF;
END //

-- A message shown only once (csakegyszer not 'N') counts as read as soon as
-- the user acknowledges it.
CREATE OR REPLACE TRIGGER trg_uzenet_bu BEFORE UPDATE ON uzenet FOR EACH ROW
BEGIN
  IF NEW.csakegyszer <> 'N' AND NEW.dat_olvasva IS NOT NULL AND NOT (OLD.dat_olvasva <=> NEW.dat_olvasva) THEN
    SET NEW.olvasva = 'I';
  END IF;
END //

DELIMITER ;

-- The search texts of the rows already there (a database these routines are
-- loaded into for the first time, or loaded again).
CALL sp_kereses_ujra();
