/* Download messages of the web service that this computer has applied.
   The web worker records a message in the same transaction that applies its
   rows and commits before it confirms the message, so a confirmation that
   the service took while every reply was lost (or a local commit that would
   fail after it) cannot lose the message; when the service delivers a
   recorded message again, the worker sends the stored confirmation again
   instead of applying the rows twice. FINGERPRINT tells a message delivered
   again from another message that a service happens to give the same id.
   Created only where missing, so the script may run again. */

SET TERM ^ ;

EXECUTE BLOCK
AS
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM RDB$RELATIONS R WHERE R.RDB$RELATION_NAME = 'VRK_WEB_MESSAGE_IN')) THEN
    EXECUTE STATEMENT 'CREATE TABLE VRK_WEB_MESSAGE_IN (
        MESSAGE_ID    VARCHAR(100) NOT NULL,
        FINGERPRINT   VARCHAR(64) NOT NULL,
        MESSAGE_TYPE  VARCHAR(60),
        CONFIRMATION  BLOB SUB_TYPE TEXT,
        APPLIED       TIMESTAMP DEFAULT CURRENT_TIMESTAMP NOT NULL,
        CONFIRMED     TIMESTAMP,
        CONSTRAINT PK_VRK_WEB_MESSAGE_IN PRIMARY KEY (MESSAGE_ID))';
END^

SET TERM ; ^
COMMIT;
