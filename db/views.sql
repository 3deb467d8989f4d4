SET NAMES latin2 COLLATE latin2_hungarian_ci;
-- Kept in UTF-8 here and loaded as Windows-1250 bytes over a latin2
-- connection, which the server stores unchanged (the program's own text
-- contract; see README):
--   scripts/mariadb-cp1250 DATABASE < FILE
-- or iconv -f UTF-8 -t WINDOWS-1250 FILE | mariadb --default-character-set=latin2 DATABASE.
-- A load that skipped the conversion stops here, before it stores any text:
SET character_set_client = IF(HEX('ő') = 'F5', 'latin2', 'file_not_converted_to_windows_1250');

-- Koravel.ML shop database: views the program reads (never writes through).
--
-- Shared derived texts (same expressions everywhere):
--   munkalapstr   sheet number padded to five digits + the type's letter; a
--                 longer number keeps every digit (123456 of type A -> 123456A)
--   irszvaroscim  "postcode town, street address"            (max 10+1+50+2+50 = 113)
--   tipusstr      "manufacturer type"                         (max 50+1+50 = 101)
--   keszulekstr   "serial number, manufacturer type"          (max 50+2+101 = 153)
--   tipusstr2     "serial number manufacturer type (year)"    (max 50+1+101+1+13 = 166)
--   hatidstr      dat_hatid as "yyyy.mm.dd. hh:mm"            (17)
-- Empty parts are left out together with their separator.
--
-- The list views (vw_munkalap, vw_ugyfel, vw_keszulek, vw_tetel, vw_tipus)
-- are plain key joins with ALGORITHM=MERGE, so a WHERE on the base table's
-- indexed columns (statusz, ugyfel, keszulek, munkalap, ...) uses its index.

-- ---------------------------------------------------------------------------
-- Lists of the main window and the record windows

-- Live customers.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_ugyfel AS
SELECT
  u.ugyfel, u.ugyfel_nev, u.kapcsolat, u.telefon, u.emil,
  u.cim_irsz, u.cim_varos, u.cim_cim, u.dat_utolso, u.dat_figyelmeztet,
  u.megjegyzes, u.torolve, u.maganszemely, u.adoszam, u.kedvezmeny,
  CONCAT_WS(', ', NULLIF(CONCAT_WS(' ', NULLIF(TRIM(u.cim_irsz), ''), NULLIF(TRIM(u.cim_varos), '')), ''),
            NULLIF(TRIM(u.cim_cim), '')) AS irszvaroscim,
  u.gyszstr
FROM ugyfel u
WHERE u.torolve = 'N';

-- Live device types.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_tipus AS
SELECT
  t.tipus, t.gyarto, t.tipus_nev, t.torolve, t.keszulektipus,
  g.gyarto_nev, kt.keszulektipus_nev,
  CONCAT_WS(' ', NULLIF(TRIM(g.gyarto_nev), ''), NULLIF(TRIM(t.tipus_nev), '')) AS tipusstr
FROM tipus t
  LEFT JOIN gyarto g ON g.gyarto = t.gyarto
  LEFT JOIN keszulektipus kt ON kt.keszulektipus = t.keszulektipus
WHERE t.torolve = 'N';

-- Live devices of live customers (a deleted customer's devices leave the
-- lists with it and come back with it); munkalapstr is the last work sheet with its arrival date,
-- hatravan the days left until dat_muszaki (negative when overdue).
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_keszulek AS
SELECT
  k.keszulek, k.ugyfel, k.tipus, k.gysz, k.gysz2, k.gysz3, k.evjarat, k.megjegyzes, k.torolve,
  k.utolso_munkalap, k.dat_muszaki, k.cm3, k.kw, k.dat_garilejar, k.dat_vasarol, k.dat_uzembe, k.garjegy,
  IF(m.munkalap IS NULL, '',
     CONCAT(LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), COALESCE(mt.betujel, ''),
            IF(m.datum IS NULL, '', CONCAT(' ', DATE_FORMAT(m.datum, '%Y.%m.%d.'))))) AS munkalapstr,
  CONCAT_WS(' ', NULLIF(TRIM(g.gyarto_nev), ''), NULLIF(TRIM(t.tipus_nev), '')) AS tipusstr,
  kt.keszulektipus_nev,
  u.ugyfel_nev,
  CONCAT_WS(', ', NULLIF(TRIM(k.gysz), ''),
            NULLIF(CONCAT_WS(' ', NULLIF(TRIM(g.gyarto_nev), ''), NULLIF(TRIM(t.tipus_nev), '')), '')) AS keszulekstr,
  DATEDIFF(k.dat_muszaki, CURDATE()) AS hatravan
FROM keszulek k
  LEFT JOIN ugyfel u ON u.ugyfel = k.ugyfel
  LEFT JOIN tipus t ON t.tipus = k.tipus
  LEFT JOIN gyarto g ON g.gyarto = t.gyarto
  LEFT JOIN keszulektipus kt ON kt.keszulektipus = t.keszulektipus
  LEFT JOIN munkalap m ON m.munkalap = k.utolso_munkalap
  LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus
WHERE k.torolve = 'N' AND COALESCE(u.torolve, 'N') = 'N';

-- Catalogue items, deleted ones included (the lists filter on torolve).
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_tetel AS
SELECT
  t.tetel, t.tetel_kod, t.tetel_nev, t.ar_besz, t.ar_elad, t.ar_teljes, t.kedv_kap, t.kedv_ad,
  t.ezszolg, t.megjegyzes, t.egyeb, t.mert, t.cikkszam, t.torolve
FROM tetel t;

-- The catalogue as exported: live items, code first.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_tetelexp AS
SELECT
  t.tetel_kod, t.tetel_nev, t.cikkszam, t.egyeb, t.mert,
  t.ar_besz, t.ar_elad, t.ar_teljes, t.kedv_kap, t.kedv_ad, t.ezszolg, t.megjegyzes
FROM tetel t
WHERE t.torolve = 'N' AND t.tetel > 0;

-- Work sheets with their captions; ar_teljes is the sheet's price after its
-- discount (what the customer pays in all: advance plus amount payable).
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_munkalap AS
SELECT
  m.munkalap, m.mlaptipus, m.ugyfel, m.keszulek, m.datum, m.dat_hatid, m.dat_kesz, m.statusz,
  m.ar_ossz, m.ar_kedvezmeny, m.szoveg_kedvezmeny, m.ar_eloleg, m.ar_fizetendo, m.ar_besz,
  m.panasz, m.vegzett_munka, m.megjegyzes, m.storno, m.dolgozostr, m.szlaszam, m.rogzitve,
  m.kmora, m.fizetve, m.dat_fizetve, m.felhasznalo, m.kuldve,
  CONCAT(LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), COALESCE(mt.betujel, '')) AS munkalapstr,
  mt.mlaptipus_nev,
  u.ugyfel_nev,
  u.telefon,
  CONCAT_WS(', ', NULLIF(CONCAT_WS(' ', NULLIF(TRIM(u.cim_irsz), ''), NULLIF(TRIM(u.cim_varos), '')), ''),
            NULLIF(TRIM(u.cim_cim), '')) AS irszvaroscim,
  s.statusz_nev,
  t.gyarto,
  g.gyarto_nev,
  CONCAT_WS(' ', NULLIF(TRIM(g.gyarto_nev), ''), NULLIF(TRIM(t.tipus_nev), '')) AS tipusstr,
  CONCAT_WS(' ', NULLIF(TRIM(k.gysz), ''),
            NULLIF(CONCAT_WS(' ', NULLIF(TRIM(g.gyarto_nev), ''), NULLIF(TRIM(t.tipus_nev), '')), ''),
            IF(k.evjarat > 0, CONCAT('(', k.evjarat, ')'), NULL)) AS tipusstr2,
  k.gysz,
  k.gysz2,
  CONVERT(LEFT(DATE_FORMAT(m.dat_hatid, '%Y.%m.%d. %H:%i'), 19) USING latin2) COLLATE latin2_hungarian_ci AS hatidstr,
  COALESCE(m.ar_ossz, 0) - ABS(COALESCE(m.ar_kedvezmeny, 0)) AS ar_teljes
FROM munkalap m
  LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus
  LEFT JOIN ugyfel u ON u.ugyfel = m.ugyfel
  LEFT JOIN statusz s ON s.statusz = m.statusz
  LEFT JOIN keszulek k ON k.keszulek = m.keszulek
  LEFT JOIN tipus t ON t.tipus = k.tipus
  LEFT JOIN gyarto g ON g.gyarto = t.gyarto;

-- Lines of a work sheet; osszar is the line total.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_munkalap_tetel AS
SELECT
  l.munkalap_tetel, l.munkalap, l.tetel, l.db, l.egysar, l.beszar, l.kedv_kap, l.kedv_ad, l.ar_teljes,
  l.megjegyzes, l.egyeb,
  t.tetel_kod, t.tetel_nev, t.ezszolg,
  COALESCE(l.db, 0) * COALESCE(l.egysar, 0) AS osszar
FROM munkalap_tetel l
  LEFT JOIN tetel t ON t.tetel = l.tetel;

CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_munkalap_dolgozo AS
SELECT md.munkalap, md.dolgozo, d.dolgozo_nev
FROM munkalap_dolgozo md
  LEFT JOIN dolgozo d ON d.dolgozo = md.dolgozo;

-- One stored line under the catalogue's column names (the line editor reads
-- it like a catalogue row): ar_elad is the line's unit sale price.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_mlaptetel AS
SELECT
  l.munkalap_tetel, l.munkalap, l.tetel, t.tetel_kod, t.tetel_nev,
  l.egysar AS ar_elad, l.ar_teljes, l.beszar AS ar_besz, l.kedv_kap, l.kedv_ad,
  l.megjegyzes, l.egyeb, l.db
FROM munkalap_tetel l
  LEFT JOIN tetel t ON t.tetel = l.tetel;

-- Purchase value, sale value and profit of a sheet's services and goods; the
-- total profit is less the sheet's discount. Grouped per sheet, so that a
-- WHERE on munkalap or datum is applied before the grouping.
CREATE OR REPLACE SQL SECURITY INVOKER VIEW vw_mlapsum AS
SELECT
  m.munkalap,
  CONCAT(LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), COALESCE(mt.betujel, '')) AS munkalapstr,
  SUM(IF(t.ezszolg = 'I', COALESCE(l.beszar, 0) * COALESCE(l.db, 0), 0)) AS szolgbesz,
  SUM(IF(t.ezszolg = 'I', COALESCE(l.egysar, 0) * COALESCE(l.db, 0), 0)) AS szolgelad,
  SUM(IF(t.ezszolg = 'I', (COALESCE(l.egysar, 0) - COALESCE(l.beszar, 0)) * COALESCE(l.db, 0), 0)) AS szolghaszon,
  SUM(IF(t.ezszolg = 'I' OR l.munkalap_tetel IS NULL, 0, COALESCE(l.beszar, 0) * COALESCE(l.db, 0))) AS termbesz,
  SUM(IF(t.ezszolg = 'I' OR l.munkalap_tetel IS NULL, 0, COALESCE(l.egysar, 0) * COALESCE(l.db, 0))) AS termelad,
  SUM(IF(t.ezszolg = 'I' OR l.munkalap_tetel IS NULL, 0,
         (COALESCE(l.egysar, 0) - COALESCE(l.beszar, 0)) * COALESCE(l.db, 0))) AS termhaszon,
  SUM((COALESCE(l.egysar, 0) - COALESCE(l.beszar, 0)) * COALESCE(l.db, 0))
    - ABS(COALESCE(m.ar_kedvezmeny, 0)) AS osszhaszon
FROM munkalap m
  LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus
  LEFT JOIN munkalap_tetel l ON l.munkalap = m.munkalap
  LEFT JOIN tetel t ON t.tetel = l.tetel
GROUP BY m.munkalap, mt.betujel, m.ar_kedvezmeny;

-- ---------------------------------------------------------------------------
-- Captions

CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_mlapcapt AS
SELECT
  m.munkalap,
  CONCAT_WS(' - ', CONCAT(LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), COALESCE(mt.betujel, '')),
            NULLIF(TRIM(u.ugyfel_nev), ''),
            NULLIF(CONCAT_WS(', ', NULLIF(TRIM(k.gysz), ''),
                             NULLIF(CONCAT_WS(' ', NULLIF(TRIM(g.gyarto_nev), ''), NULLIF(TRIM(t.tipus_nev), '')), '')),
                   '')) AS mlapcapt
FROM munkalap m
  LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus
  LEFT JOIN ugyfel u ON u.ugyfel = m.ugyfel
  LEFT JOIN keszulek k ON k.keszulek = m.keszulek
  LEFT JOIN tipus t ON t.tipus = k.tipus
  LEFT JOIN gyarto g ON g.gyarto = t.gyarto;

-- Every device, deleted ones included (notes keep their heading).
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_keszulekcapt AS
SELECT
  k.keszulek,
  CONCAT_WS(' - ',
            NULLIF(CONCAT_WS(', ', NULLIF(TRIM(k.gysz), ''),
                             NULLIF(CONCAT_WS(' ', NULLIF(TRIM(g.gyarto_nev), ''), NULLIF(TRIM(t.tipus_nev), '')), '')),
                   ''),
            NULLIF(TRIM(u.ugyfel_nev), '')) AS keszulekcapt
FROM keszulek k
  LEFT JOIN ugyfel u ON u.ugyfel = k.ugyfel
  LEFT JOIN tipus t ON t.tipus = k.tipus
  LEFT JOIN gyarto g ON g.gyarto = t.gyarto;

-- ---------------------------------------------------------------------------
-- Printouts

-- The header of a work-sheet printout, one row per sheet: what the final
-- and the blank printouts share. hdr_ar_teljes is the sheet's price after its
-- discount.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_mlapfej AS
SELECT
  m.munkalap,
  CONCAT(LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), COALESCE(mt.betujel, '')) AS mlapstr,
  CONVERT(IF(m.statusz = 0, 'Árajánlat', 'Munkalap') USING latin2) COLLATE latin2_hungarian_ci AS munkalapnev,
  mt.mlaptipus_nev,
  u.ugyfel_nev,
  CONCAT_WS(', ', NULLIF(TRIM(u.kapcsolat), ''), NULLIF(TRIM(u.telefon), '')) AS kapcsstr,
  CONCAT_WS(', ', NULLIF(CONCAT_WS(' ', NULLIF(TRIM(u.cim_irsz), ''), NULLIF(TRIM(u.cim_varos), '')), ''),
            NULLIF(TRIM(u.cim_cim), '')) AS cimstr,
  CONCAT_WS(' ', NULLIF(TRIM(g.gyarto_nev), ''), NULLIF(TRIM(t.tipus_nev), '')) AS tipusstr,
  k.gysz, k.gysz2, k.gysz3, k.evjarat, k.cm3, k.kw,
  m.kmora, m.datum, m.dat_kesz, m.dat_hatid,
  CONVERT(LEFT(DATE_FORMAT(m.dat_hatid, '%Y.%m.%d. %H:%i'), 19) USING latin2) COLLATE latin2_hungarian_ci AS hatidstr,
  k.dat_muszaki, k.dat_vasarol, k.dat_uzembe, k.dat_garilejar, k.garjegy,
  m.ar_ossz, m.ar_kedvezmeny, m.ar_eloleg, m.ar_fizetendo,
  COALESCE(m.ar_ossz, 0) - ABS(COALESCE(m.ar_kedvezmeny, 0)) AS hdr_ar_teljes,
  m.panasz, m.vegzett_munka, m.megjegyzes, m.dolgozostr,
  m.gmin1, m.gmax1, m.gmin2, m.gmax2, m.gmin3, m.gmax3, m.gmin4, m.gmax4,
  m.gmin5, m.gmax5, m.gmin6, m.gmax6, m.gmin7, m.gmax7,
  CONVERT(IF(m.legellatas = 'I', 'Megfelelő', 'Nem megfelelő') USING latin2) COLLATE latin2_hungarian_ci AS legellatasstr
FROM munkalap m
  LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus
  LEFT JOIN ugyfel u ON u.ugyfel = m.ugyfel
  LEFT JOIN keszulek k ON k.keszulek = m.keszulek
  LEFT JOIN tipus t ON t.tipus = k.tipus
  LEFT JOIN gyarto g ON g.gyarto = t.gyarto;

-- Final work-sheet printout: one row per line, with the sheet's header on
-- every row; a sheet without lines gives one row with empty line columns.
-- ar_teljes is the line's list price.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_mlapprint AS
SELECT
  h.munkalap, h.mlapstr, h.munkalapnev, h.mlaptipus_nev, h.ugyfel_nev, h.kapcsstr, h.cimstr, h.tipusstr,
  h.gysz, h.gysz2, h.gysz3, h.evjarat, h.cm3, h.kw,
  h.kmora, h.datum, h.dat_kesz, h.dat_hatid, h.hatidstr,
  h.dat_muszaki, h.dat_vasarol, h.dat_uzembe, h.dat_garilejar, h.garjegy,
  h.ar_ossz, h.ar_kedvezmeny, h.ar_eloleg, h.ar_fizetendo,
  l.ar_teljes,
  h.panasz, h.vegzett_munka, h.megjegyzes, h.dolgozostr,
  h.gmin1, h.gmax1, h.gmin2, h.gmax2, h.gmin3, h.gmax3, h.gmin4, h.gmax4,
  h.gmin5, h.gmax5, h.gmin6, h.gmax6, h.gmin7, h.gmax7,
  h.legellatasstr,
  l.munkalap_tetel,
  tt.tetel_kod,
  tt.tetel_nev,
  tt.ezszolg,
  l.db,
  l.egysar AS ar_egys,
  COALESCE(l.db, 0) * COALESCE(l.egysar, 0) AS ar_sorossz,
  l.kedv_ad,
  l.megjegyzes AS sormegj
FROM vw_mlapfej h
  LEFT JOIN munkalap_tetel l ON l.munkalap = h.munkalap
  LEFT JOIN tetel tt ON tt.tetel = l.tetel;

-- Blank work-sheet printout: the header only, one row per sheet; ar_teljes is
-- the sheet's price after its discount.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_mlapprint0 AS
SELECT
  h.munkalap, h.mlapstr, h.munkalapnev, h.mlaptipus_nev, h.ugyfel_nev, h.kapcsstr, h.cimstr, h.tipusstr,
  h.gysz, h.gysz2, h.gysz3, h.evjarat, h.cm3, h.kw,
  h.kmora, h.datum, h.dat_kesz, h.dat_hatid, h.hatidstr,
  h.dat_muszaki, h.dat_vasarol, h.dat_uzembe, h.dat_garilejar, h.garjegy,
  h.ar_ossz, h.ar_kedvezmeny, h.ar_eloleg, h.ar_fizetendo,
  h.hdr_ar_teljes AS ar_teljes,
  h.panasz, h.vegzett_munka, h.megjegyzes, h.dolgozostr
FROM vw_mlapfej h;

-- The shop's own data for printouts.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_tulajdonos AS
SELECT
  o.tulajdonos,
  CONCAT_WS(', ', NULLIF(CONCAT_WS(' ', NULLIF(TRIM(o.irsz), ''), NULLIF(TRIM(o.varos), '')), ''),
            NULLIF(TRIM(o.cim), '')) AS irszvaroscim,
  o.telefon, o.mobil, o.fax, o.irsz, o.varos, o.cim, o.adoszam, o.bankszamlaszam
FROM tulajdonos o;

-- Envelope: the shop as sender, the customer as addressee.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_boritek AS
SELECT
  u.ugyfel,
  o.tulajdonos,
  o.irsz AS tulirsz,
  CONCAT_WS(', ', NULLIF(TRIM(o.varos), ''), NULLIF(TRIM(o.cim), '')) AS tulvaroscim,
  o.telefon AS tultelefon,
  u.ugyfel_nev,
  u.kapcsolat AS kapcsolat2,
  u.cim_irsz, u.cim_varos, u.cim_cim
FROM ugyfel u
  LEFT JOIN tulajdonos o ON 1 = 1;

-- ---------------------------------------------------------------------------
-- Period reports (cancelled sheets and quotations are not counted)

-- Revenue: advances on the arrival date ("Előleg"), the rest of the price on
-- the day of payment ("Utólag").
CREATE OR REPLACE SQL SECURITY INVOKER VIEW vw_arbevetel AS
SELECT
  CONVERT('Előleg' USING latin2) COLLATE latin2_hungarian_ci AS sortipus,
  m.munkalap,
  CONCAT(LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), COALESCE(mt.betujel, '')) AS munkalapstr,
  m.statusz, s.statusz_nev, u.ugyfel_nev,
  m.datum AS dat,
  COALESCE(m.ar_eloleg, 0) AS bevetel
FROM munkalap m
  LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus
  LEFT JOIN statusz s ON s.statusz = m.statusz
  LEFT JOIN ugyfel u ON u.ugyfel = m.ugyfel
WHERE m.storno = 'N' AND m.statusz > 0 AND COALESCE(m.ar_eloleg, 0) <> 0
UNION ALL
SELECT
  CONVERT('Utólag' USING latin2) COLLATE latin2_hungarian_ci AS sortipus,
  m.munkalap,
  CONCAT(LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), COALESCE(mt.betujel, '')) AS munkalapstr,
  m.statusz, s.statusz_nev, u.ugyfel_nev,
  m.dat_fizetve AS dat,
  COALESCE(m.ar_fizetendo, 0) AS bevetel
FROM munkalap m
  LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus
  LEFT JOIN statusz s ON s.statusz = m.statusz
  LEFT JOIN ugyfel u ON u.ugyfel = m.ugyfel
WHERE m.storno = 'N' AND m.statusz > 0 AND m.fizetve = 'I';

-- Profit per sheet: materials are the goods lines' sale value, work the
-- service lines' sale value; profit = total - purchase cost - discount.
CREATE OR REPLACE SQL SECURITY INVOKER VIEW vw_nyereseg AS
SELECT
  m.munkalap,
  CONCAT(LEFT(LPAD(m.munkalap, GREATEST(CHAR_LENGTH(m.munkalap), 5), '0'), 10), COALESCE(mt.betujel, '')) AS munkalapstr,
  m.datum,
  CONCAT_WS(' ', NULLIF(TRIM(g.gyarto_nev), ''), NULLIF(TRIM(t.tipus_nev), '')) AS tipusstr,
  u.ugyfel_nev,
  SUM(IF(tt.ezszolg = 'I' OR l.munkalap_tetel IS NULL, 0, COALESCE(l.egysar, 0) * COALESCE(l.db, 0))) AS rafanyag,
  SUM(IF(tt.ezszolg = 'I', COALESCE(l.egysar, 0) * COALESCE(l.db, 0), 0)) AS rafido,
  COALESCE(m.ar_ossz, 0) AS ar_ossz,
  COALESCE(m.ar_besz, 0) AS ar_besz,
  COALESCE(m.ar_kedvezmeny, 0) AS ar_kedvezmeny,
  COALESCE(m.ar_ossz, 0) - COALESCE(m.ar_besz, 0) - ABS(COALESCE(m.ar_kedvezmeny, 0)) AS nyereseg
FROM munkalap m
  LEFT JOIN mlaptipus mt ON mt.mlaptipus = m.mlaptipus
  LEFT JOIN ugyfel u ON u.ugyfel = m.ugyfel
  LEFT JOIN keszulek k ON k.keszulek = m.keszulek
  LEFT JOIN tipus t ON t.tipus = k.tipus
  LEFT JOIN gyarto g ON g.gyarto = t.gyarto
  LEFT JOIN munkalap_tetel l ON l.munkalap = m.munkalap
  LEFT JOIN tetel tt ON tt.tetel = l.tetel
WHERE m.storno = 'N' AND m.statusz > 0
GROUP BY m.munkalap, mt.betujel, m.datum, g.gyarto_nev, t.tipus_nev, u.ugyfel_nev,
         m.ar_ossz, m.ar_besz, m.ar_kedvezmeny;

-- ---------------------------------------------------------------------------
-- The day planner

-- The planner's day grid: one row per calendar day (nap) and slot (ora);
-- position NN (01 to 20) holds the appointment of that slot of the live
-- employee whose sorszam is NN (0 and '' when free). Read live from the
-- appointments, so it is current for any day and any order of positions. The
-- planner reads one day ("WHERE datum = ..."): the server pushes the day into
-- the grouping, which then reads that day's appointments alone
-- (ix_elojegyzes_nap).
CREATE OR REPLACE SQL SECURITY INVOKER VIEW dolgelo AS
SELECT
  n.datum, o.ora,
  COALESCE(MAX(IF(x.sorszam = 1, x.elojegyzes, NULL)), 0) AS elojegyzes01, COALESCE(MAX(IF(x.sorszam = 1, x.azon, NULL)), 0) AS azon01,
  COALESCE(MAX(IF(x.sorszam = 1, x.szoveg, NULL)), '') AS szoveg01,
  COALESCE(MAX(IF(x.sorszam = 2, x.elojegyzes, NULL)), 0) AS elojegyzes02, COALESCE(MAX(IF(x.sorszam = 2, x.azon, NULL)), 0) AS azon02,
  COALESCE(MAX(IF(x.sorszam = 2, x.szoveg, NULL)), '') AS szoveg02,
  COALESCE(MAX(IF(x.sorszam = 3, x.elojegyzes, NULL)), 0) AS elojegyzes03, COALESCE(MAX(IF(x.sorszam = 3, x.azon, NULL)), 0) AS azon03,
  COALESCE(MAX(IF(x.sorszam = 3, x.szoveg, NULL)), '') AS szoveg03,
  COALESCE(MAX(IF(x.sorszam = 4, x.elojegyzes, NULL)), 0) AS elojegyzes04, COALESCE(MAX(IF(x.sorszam = 4, x.azon, NULL)), 0) AS azon04,
  COALESCE(MAX(IF(x.sorszam = 4, x.szoveg, NULL)), '') AS szoveg04,
  COALESCE(MAX(IF(x.sorszam = 5, x.elojegyzes, NULL)), 0) AS elojegyzes05, COALESCE(MAX(IF(x.sorszam = 5, x.azon, NULL)), 0) AS azon05,
  COALESCE(MAX(IF(x.sorszam = 5, x.szoveg, NULL)), '') AS szoveg05,
  COALESCE(MAX(IF(x.sorszam = 6, x.elojegyzes, NULL)), 0) AS elojegyzes06, COALESCE(MAX(IF(x.sorszam = 6, x.azon, NULL)), 0) AS azon06,
  COALESCE(MAX(IF(x.sorszam = 6, x.szoveg, NULL)), '') AS szoveg06,
  COALESCE(MAX(IF(x.sorszam = 7, x.elojegyzes, NULL)), 0) AS elojegyzes07, COALESCE(MAX(IF(x.sorszam = 7, x.azon, NULL)), 0) AS azon07,
  COALESCE(MAX(IF(x.sorszam = 7, x.szoveg, NULL)), '') AS szoveg07,
  COALESCE(MAX(IF(x.sorszam = 8, x.elojegyzes, NULL)), 0) AS elojegyzes08, COALESCE(MAX(IF(x.sorszam = 8, x.azon, NULL)), 0) AS azon08,
  COALESCE(MAX(IF(x.sorszam = 8, x.szoveg, NULL)), '') AS szoveg08,
  COALESCE(MAX(IF(x.sorszam = 9, x.elojegyzes, NULL)), 0) AS elojegyzes09, COALESCE(MAX(IF(x.sorszam = 9, x.azon, NULL)), 0) AS azon09,
  COALESCE(MAX(IF(x.sorszam = 9, x.szoveg, NULL)), '') AS szoveg09,
  COALESCE(MAX(IF(x.sorszam = 10, x.elojegyzes, NULL)), 0) AS elojegyzes10, COALESCE(MAX(IF(x.sorszam = 10, x.azon, NULL)), 0) AS azon10,
  COALESCE(MAX(IF(x.sorszam = 10, x.szoveg, NULL)), '') AS szoveg10,
  COALESCE(MAX(IF(x.sorszam = 11, x.elojegyzes, NULL)), 0) AS elojegyzes11, COALESCE(MAX(IF(x.sorszam = 11, x.azon, NULL)), 0) AS azon11,
  COALESCE(MAX(IF(x.sorszam = 11, x.szoveg, NULL)), '') AS szoveg11,
  COALESCE(MAX(IF(x.sorszam = 12, x.elojegyzes, NULL)), 0) AS elojegyzes12, COALESCE(MAX(IF(x.sorszam = 12, x.azon, NULL)), 0) AS azon12,
  COALESCE(MAX(IF(x.sorszam = 12, x.szoveg, NULL)), '') AS szoveg12,
  COALESCE(MAX(IF(x.sorszam = 13, x.elojegyzes, NULL)), 0) AS elojegyzes13, COALESCE(MAX(IF(x.sorszam = 13, x.azon, NULL)), 0) AS azon13,
  COALESCE(MAX(IF(x.sorszam = 13, x.szoveg, NULL)), '') AS szoveg13,
  COALESCE(MAX(IF(x.sorszam = 14, x.elojegyzes, NULL)), 0) AS elojegyzes14, COALESCE(MAX(IF(x.sorszam = 14, x.azon, NULL)), 0) AS azon14,
  COALESCE(MAX(IF(x.sorszam = 14, x.szoveg, NULL)), '') AS szoveg14,
  COALESCE(MAX(IF(x.sorszam = 15, x.elojegyzes, NULL)), 0) AS elojegyzes15, COALESCE(MAX(IF(x.sorszam = 15, x.azon, NULL)), 0) AS azon15,
  COALESCE(MAX(IF(x.sorszam = 15, x.szoveg, NULL)), '') AS szoveg15,
  COALESCE(MAX(IF(x.sorszam = 16, x.elojegyzes, NULL)), 0) AS elojegyzes16, COALESCE(MAX(IF(x.sorszam = 16, x.azon, NULL)), 0) AS azon16,
  COALESCE(MAX(IF(x.sorszam = 16, x.szoveg, NULL)), '') AS szoveg16,
  COALESCE(MAX(IF(x.sorszam = 17, x.elojegyzes, NULL)), 0) AS elojegyzes17, COALESCE(MAX(IF(x.sorszam = 17, x.azon, NULL)), 0) AS azon17,
  COALESCE(MAX(IF(x.sorszam = 17, x.szoveg, NULL)), '') AS szoveg17,
  COALESCE(MAX(IF(x.sorszam = 18, x.elojegyzes, NULL)), 0) AS elojegyzes18, COALESCE(MAX(IF(x.sorszam = 18, x.azon, NULL)), 0) AS azon18,
  COALESCE(MAX(IF(x.sorszam = 18, x.szoveg, NULL)), '') AS szoveg18,
  COALESCE(MAX(IF(x.sorszam = 19, x.elojegyzes, NULL)), 0) AS elojegyzes19, COALESCE(MAX(IF(x.sorszam = 19, x.azon, NULL)), 0) AS azon19,
  COALESCE(MAX(IF(x.sorszam = 19, x.szoveg, NULL)), '') AS szoveg19,
  COALESCE(MAX(IF(x.sorszam = 20, x.elojegyzes, NULL)), 0) AS elojegyzes20, COALESCE(MAX(IF(x.sorszam = 20, x.azon, NULL)), 0) AS azon20,
  COALESCE(MAX(IF(x.sorszam = 20, x.szoveg, NULL)), '') AS szoveg20
FROM nap n
  CROSS JOIN ora o
  LEFT JOIN (SELECT e.datum, e.ora, e.elojegyzes, e.azon, e.szoveg, d.sorszam
               FROM elojegyzes e
                 JOIN dolgozo d ON d.dolgozo = e.dolgozo
              WHERE d.torolve = 'N' AND d.sorszam BETWEEN 1 AND 20) x
    ON x.datum = n.datum AND x.ora = o.ora
GROUP BY n.datum, o.ora;

-- ---------------------------------------------------------------------------
-- Settings and website

-- The settings row with the texts of the shop's program type.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_beallit AS
SELECT
  b.beallit, b.vanbelep, b.mlaphatid, b.prgtipus, b.autocikkszam, b.autocikkszamhossz,
  b.mlapdatummodosit, b.kedvmutat, b.afakulcs, b.szlamegjegyzes,
  b.kepftp, b.kephost, b.kepuser, b.keppwd, b.kepfolder, b.kepport, b.levelkuldlink, b.allapotlink,
  b.visszateres_nap,
  p.prgtipus_nev, p.gyszstr, p.keszulekstr, p.muszakistr, p.vankeszulek
FROM beallit b
  LEFT JOIN prgtipus p ON p.prgtipus = b.prgtipus;

-- Banners with the start of their text on one line.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_banner AS
SELECT
  b.banner, b.banner_nev, b.szoveg, b.link, b.hatterkep, b.kiskep,
  LEFT(REPLACE(REPLACE(b.szoveg, '\r', ' '), '\n', ' '), 50) AS szovegstr
FROM banner b;

-- ---------------------------------------------------------------------------
-- Search texts of the main window's lists (tables munkalap_kereses,
-- ugyfel_kereses, keszulek_kereses)

-- The fields of a list's search, as its LIKE conditions see them, joined by
-- the byte 0x02 (equal to no other character in either collation, so a typed
-- text without it never matches across two fields) and folded to weights:
-- szoveg_hu holds the fields compared under latin2_hungarian_ci, szoveg_alt
-- those compared under latin2_general_ci (the CONVERT(... USING latin2)
-- expressions). A NULL field is left out, as it matches nothing.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_munkalap_keresoszoveg AS
SELECT
  v.munkalap, v.ugyfel, v.keszulek, v.mlaptipus, v.statusz,
  WEIGHT_STRING(CONCAT_WS(_latin2 X'02', v.panasz, v.vegzett_munka, v.megjegyzes, v.mlaptipus_nev, v.ugyfel_nev,
                          v.telefon, v.statusz_nev, v.gysz) COLLATE latin2_hungarian_ci) AS szoveg_hu,
  WEIGHT_STRING(CONCAT_WS(_latin2 X'02', CONVERT(v.munkalapstr USING latin2),
                          CONVERT(DATE_FORMAT(v.datum, '%Y.%m.%d') USING latin2),
                          CONVERT(DATE_FORMAT(v.dat_hatid, '%Y.%m.%d') USING latin2),
                          CONVERT(v.tipusstr2 USING latin2),
                          CONVERT(DATE_FORMAT(v.dat_kesz, '%Y.%m.%d') USING latin2),
                          CONVERT(v.irszvaroscim USING latin2), CONVERT(v.tipusstr USING latin2))
                COLLATE latin2_general_ci) AS szoveg_alt
FROM vw_munkalap v;

CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_ugyfel_keresoszoveg AS
SELECT
  v.ugyfel,
  WEIGHT_STRING(CONCAT_WS(_latin2 X'02', v.ugyfel_nev, v.kapcsolat, v.telefon, v.emil, v.irszvaroscim, v.gyszstr)
                COLLATE latin2_hungarian_ci) AS szoveg_hu,
  WEIGHT_STRING(CONCAT_WS(_latin2 X'02', CONVERT(DATE_FORMAT(v.dat_figyelmeztet, '%Y.%m.%d') USING latin2))
                COLLATE latin2_general_ci) AS szoveg_alt
FROM vw_ugyfel v;

CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_keszulek_keresoszoveg AS
SELECT
  v.keszulek, v.ugyfel, v.tipus, t.gyarto,
  WEIGHT_STRING(CONCAT_WS(_latin2 X'02', v.gysz, v.gysz2, v.gysz3, v.ugyfel_nev) COLLATE latin2_hungarian_ci) AS szoveg_hu,
  WEIGHT_STRING(CONCAT_WS(_latin2 X'02', CONVERT(v.tipusstr USING latin2)) COLLATE latin2_general_ci) AS szoveg_alt
FROM vw_keszulek v
  LEFT JOIN tipus t ON t.tipus = v.tipus;

-- The rows of the search tables: a Hungarian text longer than 16000 bytes
-- goes into szoveg_hosszu, so that the scanned column stays a short one.
CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_munkalap_kereses AS
SELECT
  s.munkalap, s.ugyfel, s.keszulek, s.mlaptipus, s.statusz,
  IF(LENGTH(s.szoveg_hu) <= 16000, s.szoveg_hu, NULL) AS szoveg_hu, s.szoveg_alt,
  IF(LENGTH(s.szoveg_hu) > 16000, s.szoveg_hu, NULL) AS szoveg_hosszu
FROM vw_munkalap_keresoszoveg s;

CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_ugyfel_kereses AS
SELECT
  s.ugyfel,
  IF(LENGTH(s.szoveg_hu) <= 16000, s.szoveg_hu, NULL) AS szoveg_hu, s.szoveg_alt,
  IF(LENGTH(s.szoveg_hu) > 16000, s.szoveg_hu, NULL) AS szoveg_hosszu
FROM vw_ugyfel_keresoszoveg s;

CREATE OR REPLACE ALGORITHM=MERGE SQL SECURITY INVOKER VIEW vw_keszulek_kereses AS
SELECT
  s.keszulek, s.ugyfel, s.tipus, s.gyarto,
  IF(LENGTH(s.szoveg_hu) <= 16000, s.szoveg_hu, NULL) AS szoveg_hu, s.szoveg_alt,
  IF(LENGTH(s.szoveg_hu) > 16000, s.szoveg_hu, NULL) AS szoveg_hosszu
FROM vw_keszulek_keresoszoveg s;
