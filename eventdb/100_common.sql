/* Shared helpers of the stored packages: texts by language, card numbers,
   the upload queue and the emit string parser. */

/* Refusals raised to the caller carry their own text. */
CREATE EXCEPTION VRK_ERROR 'Virhe';

SET TERM ^ ;

/* The user's text: English for 'EN', Finnish otherwise. */
CREATE OR ALTER FUNCTION VRK_T (IN_LANG VARCHAR(10), IN_FI VARCHAR(1000), IN_EN VARCHAR(1000))
RETURNS VARCHAR(1000)
AS
BEGIN
  IF (UPPER(TRIM(COALESCE(IN_LANG, ''))) = 'EN') THEN RETURN IN_EN;
  RETURN IN_FI;
END^

/* A card number as a number, or NULL when the text is not all digits.
   Cards are compared as numbers so that "012345" and "12345" are one card. */
CREATE OR ALTER FUNCTION VRK_CARD_NUMBER (IN_CARD VARCHAR(100))
RETURNS BIGINT
AS
  DECLARE C VARCHAR(100);
BEGIN
  C = TRIM(COALESCE(IN_CARD, ''));
  IF (C = '' OR CHAR_LENGTH(C) > 18 OR NOT (C SIMILAR TO '[0-9]+')) THEN RETURN NULL;
  RETURN CAST(C AS BIGINT);
END^

/* Placeholder cards that never belong to a person. */
CREATE OR ALTER FUNCTION VRK_IS_PLACEHOLDER_CARD (IN_CARD VARCHAR(100))
RETURNS SMALLINT
AS
  DECLARE N BIGINT;
BEGIN
  N = VRK_CARD_NUMBER(IN_CARD);
  IF (N IS NULL OR N = 0 OR N = 200 OR N = 99999999) THEN RETURN 1;
  RETURN 0;
END^

/* Queue one changed row for upload. Downloads (the replicate procedures)
   and internal bookkeeping set VRK_NO_QUEUE in the transaction so that rows
   coming from the web are not sent back. Only inserts queue rows: the web
   worker updates them concurrently. */
CREATE OR ALTER PROCEDURE VRK_QUEUE (IN_TABLE VARCHAR(31), IN_ID BIGINT, IN_TYPE CHAR(1))
AS
BEGIN
  IF (RDB$GET_CONTEXT('USER_TRANSACTION', 'VRK_NO_QUEUE') IS NOT NULL) THEN EXIT;
  IF (IN_ID IS NULL OR IN_ID = 0) THEN EXIT;
  INSERT INTO VRK_DATA_REPLICATION (REPLICATION_ID, REPL_DATA_ID, REPL_TYPE, REPL_DATA,
                                    REPL_STATUS, SYNC_TRIED_COUNT, INSERTED)
  VALUES (VRK_NEW_ID(), :IN_ID, COALESCE(:IN_TYPE, 'U'), UPPER(:IN_TABLE), 'N', 0, CURRENT_TIMESTAMP);
END^

/* Suppress / restore upload queueing inside this transaction. Nesting is
   counted so that a replicate procedure called inside another keeps the
   outer suppression. */
CREATE OR ALTER PROCEDURE VRK_QUEUE_OFF
AS
  DECLARE N INTEGER;
  DECLARE V VARCHAR(255);
BEGIN
  V = RDB$GET_CONTEXT('USER_TRANSACTION', 'VRK_NO_QUEUE');
  /* any other mark set by hand counts as one level */
  N = CASE WHEN V IS NULL THEN 0 WHEN V SIMILAR TO '[0-9]{1,6}' THEN CAST(V AS INTEGER) ELSE 1 END;
  RDB$SET_CONTEXT('USER_TRANSACTION', 'VRK_NO_QUEUE', N + 1);
END^

CREATE OR ALTER PROCEDURE VRK_QUEUE_ON
AS
  DECLARE N INTEGER;
  DECLARE V VARCHAR(255);
BEGIN
  V = RDB$GET_CONTEXT('USER_TRANSACTION', 'VRK_NO_QUEUE');
  /* any other mark set by hand counts as one level */
  N = CASE WHEN V IS NULL THEN 0 WHEN V SIMILAR TO '[0-9]{1,6}' THEN CAST(V AS INTEGER) ELSE 1 END;
  IF (N <= 1) THEN
    RDB$SET_CONTEXT('USER_TRANSACTION', 'VRK_NO_QUEUE', NULL);
  ELSE
    RDB$SET_CONTEXT('USER_TRANSACTION', 'VRK_NO_QUEUE', N - 1);
END^

/* This computer's client row. */
CREATE OR ALTER PROCEDURE VRK_THIS_CLIENT
RETURNS (OUT_CLIENT_ID BIGINT, OUT_CLIENT_NAME VARCHAR(100))
AS
BEGIN
  OUT_CLIENT_ID = 0;
  OUT_CLIENT_NAME = '';
  SELECT FIRST 1 C.CLIENT_ID, C.CLIENT_NAME FROM VRK_CLIENT C WHERE C.IN_USE = 'K'
    ORDER BY C.CLIENT_ID INTO :OUT_CLIENT_ID, :OUT_CLIENT_NAME;
END^

/* Parse an emit string: 109 comma-separated fields; 4 the card (quoted),
   5 the read time "dd.mm.yyyy hh.nn.ss.zzz" (quoted), then fifty punch
   slots of code (0..255) and card time (0..65535 s). Empty slots (code 0,
   time 0) after the last used slot are dropped. The punches come back as
   fixed-width strings: OUT_CODES ",ccc" per punch, OUT_TIMES "tttttt" per
   punch, so that matching can search them without a table.
   The card clock counts seconds in 16 bits and wraps to 0 after 65535 s
   (18 h 12 min 15 s). The card keeps its punches in the order they were
   made, so a punch whose time is more than an hour lower than the punch
   before it was made after a wrap: from there on 65536 s are added (again
   at every further wrap). A smaller step back is taken as the clock's own
   jitter and left as it is. OUT_TIMES carries these unwrapped times. A malformed
   string gives OUT_ERROR in the requested language and nothing else. */
CREATE OR ALTER PROCEDURE VRK_PARSE_EMIT (IN_S VARCHAR(4000), IN_LANG VARCHAR(10))
RETURNS (OUT_ERROR VARCHAR(400), OUT_CARD VARCHAR(30), OUT_READ_TIME TIMESTAMP,
         OUT_CODES VARCHAR(200), OUT_TIMES VARCHAR(300), OUT_COUNT INTEGER)
AS
  DECLARE S VARCHAR(4000);
  DECLARE POS INTEGER;
  DECLARE NXT INTEGER;
  DECLARE LEN INTEGER;
  DECLARE F INTEGER;
  DECLARE FLD VARCHAR(4000);
  DECLARE V INTEGER;
  DECLARE CODE INTEGER;
  DECLARE LASTNZ INTEGER;
  DECLARE ALLC VARCHAR(200);
  DECLARE ALLT VARCHAR(250);
  DECLARE TS VARCHAR(40);
  DECLARE RAW INTEGER;
  DECLARE PREV_RAW INTEGER;
  DECLARE WRAPS INTEGER;
BEGIN
  OUT_COUNT = 0;
  S = TRIM(REPLACE(REPLACE(COALESCE(IN_S, ''), ASCII_CHAR(13), ''), ASCII_CHAR(10), ''));
  LEN = CHAR_LENGTH(S);
  F = 0; POS = 1; ALLC = ''; ALLT = ''; LASTNZ = -1; CODE = 0;
  IF (LEN = 0) THEN
  BEGIN
    OUT_ERROR = VRK_T(IN_LANG, 'Kilpailukortin tiedot puuttuvat.', 'The card data is missing.');
    EXIT;
  END
  WHILE (1 = 1) DO
  BEGIN
    NXT = POSITION(',', S, POS);
    IF (NXT = 0) THEN NXT = LEN + 1;
    FLD = SUBSTRING(S FROM POS FOR NXT - POS);
    F = F + 1;
    IF (F > 109) THEN LEAVE;
    IF (F <= 3) THEN
    BEGIN
      IF (NOT (FLD SIMILAR TO '"[A-Z0-9]*"')) THEN
      BEGIN
        OUT_ERROR = VRK_T(IN_LANG, 'Kilpailukortin tiedot ovat virheelliset (kenttä ', 'The card data is malformed (field ') || F || ').';
        EXIT;
      END
    END
    ELSE IF (F = 4) THEN
    BEGIN
      IF (NOT (FLD SIMILAR TO '"[0-9]{1,18}"')) THEN
      BEGIN
        OUT_ERROR = VRK_T(IN_LANG, 'Kilpailukortin numero on virheellinen.', 'The card number is malformed.');
        EXIT;
      END
      OUT_CARD = SUBSTRING(FLD FROM 2 FOR CHAR_LENGTH(FLD) - 2);
      IF (CHAR_LENGTH(OUT_CARD) < 6) THEN OUT_CARD = LPAD(OUT_CARD, 6, '0');
    END
    ELSE IF (F = 5) THEN
    BEGIN
      IF (NOT (FLD SIMILAR TO '"[0-9]{2}_[0-9]{2}_[0-9]{4} [0-9]{2}_[0-9]{2}_[0-9]{2}(_[0-9]{1,3})?"')) THEN
      BEGIN
        OUT_ERROR = VRK_T(IN_LANG, 'Kilpailukortin lukuaika on virheellinen.', 'The card read time is malformed.');
        EXIT;
      END
      TS = SUBSTRING(FLD FROM 8 FOR 4) || '-' || SUBSTRING(FLD FROM 5 FOR 2) || '-' || SUBSTRING(FLD FROM 2 FOR 2)
           || ' ' || SUBSTRING(FLD FROM 13 FOR 2) || ':' || SUBSTRING(FLD FROM 16 FOR 2) || ':' || SUBSTRING(FLD FROM 19 FOR 2);
      IF (CHAR_LENGTH(FLD) > 22) THEN TS = TS || '.' || SUBSTRING(FLD FROM 22 FOR CHAR_LENGTH(FLD) - 22);
      BEGIN
        OUT_READ_TIME = CAST(TS AS TIMESTAMP);
        WHEN ANY DO
        BEGIN
          OUT_ERROR = VRK_T(IN_LANG, 'Kilpailukortin lukuaika on virheellinen.', 'The card read time is malformed.');
          EXIT;
        END
      END
    END
    ELSE IF (F = 6) THEN
    BEGIN
      IF (NOT (FLD SIMILAR TO '"[^"]*"')) THEN
      BEGIN
        OUT_ERROR = VRK_T(IN_LANG, 'Kilpailukortin tiedot ovat virheelliset (kenttä ', 'The card data is malformed (field ') || F || ').';
        EXIT;
      END
    END
    ELSE IF (F <= 9) THEN
    BEGIN
      IF (NOT (FLD SIMILAR TO '[0-9]{1,18}')) THEN
      BEGIN
        OUT_ERROR = VRK_T(IN_LANG, 'Kilpailukortin tiedot ovat virheelliset (kenttä ', 'The card data is malformed (field ') || F || ').';
        EXIT;
      END
    END
    ELSE
    BEGIN
      IF (NOT (FLD SIMILAR TO '[0-9]{1,5}')) THEN
      BEGIN
        OUT_ERROR = VRK_T(IN_LANG, 'Kilpailukortin leimaus on virheellinen (kenttä ', 'A punch of the card is malformed (field ') || F || ').';
        EXIT;
      END
      V = CAST(FLD AS INTEGER);
      IF (MOD(F, 2) = 0) THEN
      BEGIN
        IF (V > 255) THEN
        BEGIN
          OUT_ERROR = VRK_T(IN_LANG, 'Kilpailukortin leimauksen koodi on virheellinen (kenttä ', 'A punch code of the card is out of range (field ') || F || ').';
          EXIT;
        END
        CODE = V;
        ALLC = ALLC || ',' || LPAD(V, 3, '0');
      END
      ELSE
      BEGIN
        IF (V > 65535) THEN
        BEGIN
          OUT_ERROR = VRK_T(IN_LANG, 'Kilpailukortin leimauksen aika on virheellinen (kenttä ', 'A punch time of the card is out of range (field ') || F || ').';
          EXIT;
        END
        ALLT = ALLT || LPAD(V, 5, '0');
        IF (CODE <> 0 OR V <> 0) THEN LASTNZ = (F - 11) / 2;
      END
    END
    IF (NXT > LEN) THEN LEAVE;
    POS = NXT + 1;
  END
  IF (F <> 109) THEN
  BEGIN
    OUT_ERROR = VRK_T(IN_LANG, 'Kilpailukortin tiedoissa on väärä määrä kenttiä (', 'The card data has a wrong number of fields (')
                || F || VRK_T(IN_LANG, ', pitää olla 109).', ', must be 109).');
    OUT_CARD = NULL;
    OUT_READ_TIME = NULL;
    EXIT;
  END
  OUT_COUNT = LASTNZ + 1;
  OUT_CODES = SUBSTRING(ALLC FROM 1 FOR 4 * OUT_COUNT);
  OUT_TIMES = ''; F = 0; WRAPS = 0; PREV_RAW = NULL;
  WHILE (F < OUT_COUNT) DO
  BEGIN
    RAW = CAST(SUBSTRING(ALLT FROM 5 * F + 1 FOR 5) AS INTEGER);
    IF (PREV_RAW IS NOT NULL AND RAW < PREV_RAW - 3600) THEN WRAPS = WRAPS + 1;
    PREV_RAW = RAW;
    OUT_TIMES = OUT_TIMES || LPAD(RAW + 65536 * WRAPS, 6, '0');
    F = F + 1;
  END
END^

SET TERM ; ^

/* Per-transaction cache of the courses being matched (control plans). */
COMMIT;
