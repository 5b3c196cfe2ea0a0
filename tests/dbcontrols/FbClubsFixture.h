#pragma once
// A copy of the event database with one series, its seasons and events and a
// handful of clubs, opened through the Firebird access layer.

#include "platform/database/DataSource.h"
#include "platform/database/FbConnection.h"
#include "platform/database/FbQuery.h"
#include "platform/database/FbScript.h"
#include "platform/ui/Forms.h"
#include "tests/support/TestDatabase.h"

#include <gtest/gtest.h>
#include <memory>

class FbClubsFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        db = std::make_unique<TestDatabase>(TestDatabase::EventDatabase);
        con.DatabaseName = db->Path();
        con.Open();
        tr.SetConnection(&con);
        TFbScript s;
        s.Connection = &con;
        s.Transaction = &tr;
        s.ExecuteScript(QStringLiteral(
            "INSERT INTO VRK_EVENT_SERIES (EVENT_SERIES_ID, EVENT_SERIES_NAME) VALUES (1, 'Iltarastit');\n"
            "INSERT INTO VRK_EVENT_SERIES (EVENT_SERIES_ID, EVENT_SERIES_NAME) VALUES (2, 'Talvirastit');\n"
            "INSERT INTO VRK_EVENT_SERIES_SEASON (EVENT_SERIES_SEASON_ID, EVENT_SERIES_ID, EVENT_SERIES_SEASON_NAME, SEASON_ABBR)"
            " VALUES (10, 1, 'Kesä 2026', 'K26');\n"
            "INSERT INTO VRK_EVENT_SERIES_SEASON (EVENT_SERIES_SEASON_ID, EVENT_SERIES_ID, EVENT_SERIES_SEASON_NAME, SEASON_ABBR)"
            " VALUES (20, 2, 'Talvi 2026', 'T26');\n"
            "INSERT INTO VRK_EVENT (EVENT_ID, EVENT_SERIES_SEASON_ID, EVENT_NAME, ARENA_NAME, MAP_NAME, EVENT_DATE, FINISH_CODE)"
            " VALUES (200, 10, 'Keskiviikkorastit', 'Paloheinä', 'P', '2026-06-03 00:00:00', 100);\n"
            "INSERT INTO VRK_EVENT (EVENT_ID, EVENT_SERIES_SEASON_ID, EVENT_NAME, ARENA_NAME, MAP_NAME, EVENT_DATE, FINISH_CODE)"
            " VALUES (300, 20, 'Yösuunnistus', 'Luukki', 'L', '2026-01-14 00:00:00', 100);\n"
            "INSERT INTO VRK_CLUB (CLUB_ID, EVENT_SERIES_ID, CLUB_NAME, CLUB_ABBR) VALUES (1, 1, 'Helsingin Suunnistajat', 'HS');\n"
            "INSERT INTO VRK_CLUB (CLUB_ID, EVENT_SERIES_ID, CLUB_NAME, CLUB_ABBR) VALUES (2, 1, 'Forest Runners', 'FR');\n"
            "INSERT INTO VRK_CLUB (CLUB_ID, EVENT_SERIES_ID, CLUB_NAME, CLUB_ABBR) VALUES (3, 1, 'Old Forest', 'OF');\n"
            "INSERT INTO VRK_CLUB (CLUB_ID, EVENT_SERIES_ID, CLUB_NAME, CLUB_ABBR) VALUES (4, 1, 'ABC', 'abc');\n"
            "INSERT INTO VRK_CLUB (CLUB_ID, EVENT_SERIES_ID, CLUB_NAME, CLUB_ABBR) VALUES (5, 1, 'Äänekosken Huima', 'ÄH');\n"
            "COMMIT;\n"));
        if (tr.Active())
            tr.Commit();
        clubs = Query(QStringLiteral("select CLUB_ID, CLUB_NAME, CLUB_ABBR from VRK_CLUB order by CLUB_ID"), QStringLiteral("CLUB_ID"));
        clubs->Open();
        clubSrc.SetDataSet(clubs.get());
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 640, 480);
        form->AfterConstruction();
    }
    void TearDown() override
    {
        form.reset();
        clubs.reset();
        if (tr.Active())
            tr.Rollback();
        con.Close();
    }
    std::unique_ptr<TFbQuery> Query(const QString& Sql, const QString& Key, TDataSource* Master = nullptr)
    {
        auto q = std::make_unique<TFbQuery>();
        q->SetConnection(&con);
        q->SetTransaction(&tr);
        q->SQL().Add(Sql);
        q->SetKeyFieldNames(Key);
        if (Master)
            q->SetMasterSource(Master);
        return q;
    }
    std::unique_ptr<TestDatabase> db;
    TFbConnection con;
    TFbTransaction tr;
    std::unique_ptr<TFbQuery> clubs;
    TDataSource clubSrc;
    std::unique_ptr<TForm> form;
};
