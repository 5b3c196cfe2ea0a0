#include "tools/gallery_grid/RunsDatabase.h"

#include "platform/database/FbScript.h"

TRunsDatabase::TRunsDatabase(int Runs) : FDb(TestDatabase::EventDatabase)
{
    Con.DatabaseName = FDb.Path();
    Con.Open();
    Tr.SetConnection(&Con);
    TFbScript s;
    s.Connection = &Con;
    s.Transaction = &Tr;
    s.ExecuteScript(QStringLiteral(
                        "INSERT INTO VRK_EVENT_SERIES (EVENT_SERIES_ID, EVENT_SERIES_NAME) VALUES (1, 'Iltarastit');\n"
                        "INSERT INTO VRK_EVENT_SERIES_SEASON (EVENT_SERIES_SEASON_ID, EVENT_SERIES_ID, EVENT_SERIES_SEASON_NAME, SEASON_ABBR)\n"
                        "  VALUES (10, 1, 'Kes\u00e4 2026', 'K26');\n"
                        "INSERT INTO VRK_EVENT (EVENT_ID, EVENT_SERIES_SEASON_ID, EVENT_NAME, ARENA_NAME, MAP_NAME, EVENT_DATE, FINISH_CODE)\n"
                        "  VALUES (200, 10, 'Keskiviikkorastit', 'Paloheinä', 'Paloheinä 2026', '2026-06-03 00:00:00', 100);\n"
                        "SET TERM ^ ;\n"
                        "EXECUTE BLOCK AS\n"
                        "  DECLARE I INTEGER;\n"
                        "  DECLARE SEED BIGINT;\n"
                        "  DECLARE C INTEGER;\n"
                        "  DECLARE T NUMERIC(18,2);\n"
                        "BEGIN\n"
                        "  RDB$SET_CONTEXT('USER_TRANSACTION', 'VRK_NO_QUEUE', '1');\n"
                        "  I = 1;\n"
                        "  WHILE (I <= 20) DO\n"
                        "  BEGIN\n"
                        "    INSERT INTO VRK_CLUB (CLUB_ID, EVENT_SERIES_ID, CLUB_NAME, CLUB_ABBR)\n"
                        "      VALUES (:I, 1, DECODE(MOD(:I, 5), 0, 'Rasti-', 1, 'Suunta-', 2, 'Kiito-', 3, 'Huima-', 'OK ') ||\n"
                        "              DECODE(MOD(:I, 4), 0, '\u00c4\u00e4nekoski', 1, 'Helsinki', 2, 'Espoo', 'Tampere'), 'C' || :I);\n"
                        "    I = I + 1;\n"
                        "  END\n"
                        "  SEED = 4242;\n"
                        "  I = 1;\n"
                        "  WHILE (I <= %1) DO\n"
                        "  BEGIN\n"
                        "    SEED = MOD(SEED * 1103515245 + 12345, 2147483648);\n"
                        "    C = 1 + MOD(SEED, 20);\n"
                        "    T = 1500 + MOD(SEED / 7, 4000) + MOD(SEED, 100) / 100.0;\n"
                        "    INSERT INTO VRK_RESULTS_CLASS (RESULTS_CLASS_ID, EVENT_ID, LEG_NUMBER, START_NUMBER, CONTROL_CARD, PERSON_ID,\n"
                        "        CLUB_ID, CLUB_NAME, ENTRY_FEE, TIME_SEC, STATUS, START_TIME, FINISH_TIME, RENTED_CHIP, RESULT_STATUS,\n"
                        "        PERSON_NAME, TEAM_NUMBER, CREDIT_PENALTY_SEC)\n"
                        "      VALUES (:I, 200, 1, :I, 100000 + :I, 0, :C,\n"
                        "        (SELECT CLUB_NAME FROM VRK_CLUB WHERE CLUB_ID = :C), 8 + MOD(:I, 3) * 2, :T,\n"
                        "        DECODE(MOD(:I, 17), 0, '3', 5, '5', '0'),\n"
                        "        DATEADD(MOD(:I, 240) MINUTE TO TIMESTAMP '2026-06-03 17:00:00'),\n"
                        "        DATEADD(CAST(:T AS INTEGER) SECOND TO DATEADD(MOD(:I, 240) MINUTE TO TIMESTAMP '2026-06-03 17:00:00')),\n"
                        "        DECODE(MOD(:I, 9), 0, 'K', 'E'), 'I',\n"
                        "        DECODE(MOD(:SEED / 3, 8), 0, 'Virtanen', 1, 'Korhonen', 2, 'M\u00e4kinen', 3, 'Nieminen', 4, 'H\u00e4m\u00e4l\u00e4inen',\n"
                        "               5, 'Laine', 6, 'Heikkinen', '\u00d6sterberg') || ' ' ||\n"
                        "        DECODE(MOD(:SEED / 11, 8), 0, 'Aino', 1, 'Eero', 2, 'Liisa', 3, 'Matti', 4, 'S\u00e4de', 5, 'Juha', 6, 'Kaisa', 'Ville'),\n"
                        "        NULL, IIF(MOD(:I, 13) = 0, 60, NULL));\n"
                        "    I = I + 1;\n"
                        "  END\n"
                        "END^\n"
                        "SET TERM ; ^\n"
                        "COMMIT;\n")
                        .arg(Runs));
    if (Tr.Active())
        Tr.Commit();
}

TRunsDatabase::~TRunsDatabase()
{
    if (Tr.Active())
        Tr.Rollback();
    Con.Close();
}

std::unique_ptr<TFbQuery> TRunsDatabase::NewRunsQuery()
{
    auto q = std::make_unique<TFbQuery>();
    q->SetConnection(&Con);
    q->SetTransaction(&Tr);
    q->SQL().Add(QStringLiteral(
        "select RESULTS_CLASS_ID, START_NUMBER, PERSON_NAME, CLUB_NAME, CLUB_ID, CONTROL_CARD, TIME_SEC, STATUS, START_TIME, "
        "FINISH_TIME, ENTRY_FEE, RENTED_CHIP, RESULT_STATUS, CREDIT_PENALTY_SEC, LEG_NUMBER "
        "from VRK_RESULTS_CLASS where EVENT_ID = 200 order by RESULTS_CLASS_ID"));
    q->UpdateOptions().UpdateTableName = QStringLiteral("VRK_RESULTS_CLASS");
    q->UpdateOptions().UpdateFields = QStringLiteral("START_NUMBER;PERSON_NAME;CLUB_ID;CONTROL_CARD;TIME_SEC;STATUS;RENTED_CHIP");
    q->SetKeyFieldNames(QStringLiteral("RESULTS_CLASS_ID"));
    return q;
}

std::unique_ptr<TFbQuery> TRunsDatabase::NewClubsQuery()
{
    auto q = std::make_unique<TFbQuery>();
    q->SetConnection(&Con);
    q->SetTransaction(&Tr);
    q->SQL().Add(QStringLiteral("select CLUB_ID, CLUB_NAME from VRK_CLUB order by CLUB_NAME"));
    return q;
}
