/* The upload pass takes the queue in the order of its tries and ids and
   reads only the first rows. With an index in that order the engine walks
   it and stops at the first rows due; without one every message read and
   sorted the whole queue, so a long queue cost per message what the queue
   was long. The index on the status alone served no statement (pending is
   "not P", which no index answers) and cost a page written at every commit
   that queued a change, so it gives way. Done only where still to do, so
   the script may run again. */

SET TERM ^ ;

EXECUTE BLOCK
AS
BEGIN
  IF (NOT EXISTS (SELECT 1 FROM RDB$INDICES I WHERE I.RDB$INDEX_NAME = 'IX_VRK_REPL_QUEUE_ORDER')) THEN
    EXECUTE STATEMENT 'CREATE INDEX IX_VRK_REPL_QUEUE_ORDER ON VRK_DATA_REPLICATION (SYNC_TRIED_COUNT, REPLICATION_ID)';
  IF (EXISTS (SELECT 1 FROM RDB$INDICES I WHERE I.RDB$INDEX_NAME = 'IX_VRK_REPL_STATUS')) THEN
    EXECUTE STATEMENT 'DROP INDEX IX_VRK_REPL_STATUS';
END^

SET TERM ; ^
COMMIT;
