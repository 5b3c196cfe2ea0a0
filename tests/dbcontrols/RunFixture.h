#pragma once
// A form (loaded) and one in-memory run record with the kinds of fields the
// result dialogs bind their controls to, plus a class list for lookups.

#include "platform/database/ClientDataSet.h"
#include "platform/database/DataSource.h"
#include "platform/ui/Forms.h"

#include <gtest/gtest.h>
#include <memory>

class RunFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        form = std::make_unique<TForm>(nullptr);
        form->SetBounds(0, 0, 640, 480);
        form->AfterConstruction();
        runs.AddField(QStringLiteral("RUN_ID"), ftInteger);
        runs.AddField(QStringLiteral("PERSON_NAME"), ftWideString, 40);
        runs.AddField(QStringLiteral("TIME_SEC"), ftInteger);
        runs.AddField(QStringLiteral("RENTED_CHIP"), ftWideString, 1);
        runs.AddField(QStringLiteral("START_TIME"), ftDateTime);
        runs.AddField(QStringLiteral("EVENT_DATE"), ftDate);
        runs.AddField(QStringLiteral("CLASS_COURSE_ID"), ftInteger);
        runs.AddField(QStringLiteral("NOTES"), ftWideMemo);
        runs.SetKeyFields(QStringLiteral("RUN_ID"));
        runs.CreateDataSet();
        runs.AppendRecord({1, QStringLiteral("Anna Aalto"), 1800, QStringLiteral("K"), QVariant(), QVariant(), 12, QStringLiteral("Hyvä")});
        runs.AppendRecord({2, QStringLiteral("Bertta Berg"), QVariant(), QStringLiteral("E"), QVariant(), QVariant(), 99, QVariant()});
        runs.First();
        src.SetDataSet(&runs);
        src.SetAutoEdit(true);
        classes.AddField(QStringLiteral("CLASS_COURSE_ID"), ftInteger);
        classes.AddField(QStringLiteral("CLASS_NAME"), ftWideString, 20);
        classes.AddField(QStringLiteral("STATUS_TXT"), ftWideString, 20);
        classes.SetKeyFields(QStringLiteral("CLASS_COURSE_ID"));
        classes.CreateDataSet();
        classes.AppendRecord({11, QStringLiteral("H21"), QStringLiteral("Aktiivinen")});
        classes.AppendRecord({12, QStringLiteral("D21"), QStringLiteral("Aktiivinen")});
        classes.AppendRecord({13, QStringLiteral("H35 pitkä"), QStringLiteral("Suljettu")});
        classes.First();
        classSrc.SetDataSet(&classes);
    }
    template <class T>
    T* Make(int X = 100, int Y = 40, int W = 120, int H = 25)
    {
        auto* c = new T(form.get());
        c->SetParent(form.get());
        c->SetBounds(X, Y, W, H);
        return c;
    }
    TField* F(const char* Name) { return runs.FieldByName(QString::fromLatin1(Name)); }
    std::unique_ptr<TForm> form;
    TClientDataSet runs, classes;
    TDataSource src, classSrc;
};
