/* A person merge keeps the merged person's cards: the kept person's empty
   own card, Emitag card and SportIdent card take the merged person's, so
   that the kept person is still found by every card the runner carries
   (the web service merges the same way). Runs before the row is written, so
   the kept row is posted and queued once. */

SET TERM ^ ;

CREATE OR ALTER TRIGGER VRK_PERSON_BU_MERGE FOR VRK_PERSON
ACTIVE BEFORE UPDATE POSITION 0
AS
DECLARE VARIABLE CC VARCHAR(30);
DECLARE VARIABLE EC VARCHAR(30);
DECLARE VARIABLE SC VARCHAR(30);
BEGIN
  IF (COALESCE(NEW.NEW_PERSON_ID, 0) NOT IN (0, NEW.PERSON_ID)
      AND NEW.NEW_PERSON_ID IS DISTINCT FROM OLD.NEW_PERSON_ID) THEN
  BEGIN
    SELECT P.CONTROL_CARD, P.EMITAG_CARD, P.SPORTIDENT_CARD FROM VRK_PERSON P
     WHERE P.PERSON_ID = NEW.NEW_PERSON_ID
      INTO :CC, :EC, :SC;
    IF (COALESCE(NEW.CONTROL_CARD, '') = '') THEN NEW.CONTROL_CARD = CC;
    IF (COALESCE(NEW.EMITAG_CARD, '') = '') THEN NEW.EMITAG_CARD = EC;
    IF (COALESCE(NEW.SPORTIDENT_CARD, '') = '') THEN NEW.SPORTIDENT_CARD = SC;
  END
END^

SET TERM ; ^
COMMIT;
