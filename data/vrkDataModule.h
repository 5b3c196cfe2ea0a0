#pragma once
// TDataModule1: all database work of the main thread. One connection to the
// event database, thirteen transactions, the datasets the windows bind to,
// one loader per entity mirror and one method per stored procedure called.
// The module is created closed; the main window connects it when first shown.

#include "data/vrkDbMethod.h"
#include "platform/database/DataSource.h"
#include "platform/database/FbQuery.h"
#include "platform/database/FbScript.h"
#include "platform/rtl/Component.h"

#include <QHash>
#include <QString>
#include <cstdint>
#include <vector>

class TDataModule1 : public TComponent {
public:
    explicit TDataModule1(TComponent* AOwner);
    ~TDataModule1() override;

    // ---- connection ----
    bool Connect();
    bool Disconnect();
    void DisconnectOnline();
    QString GetDbMessage(const QString& Msg);

    // ---- entity loaders (fill the mirror globals) ----
    void getClientData();
    void getEventSeriesData(int64_t id);
    void getEventSeriesSeasonData(int64_t id);
    void getEventData(int64_t id);
    void getProcessedEventData(int64_t id);
    void getPersonData(int64_t id);
    void getClubData(int64_t id);
    void getSpecialCcData(int64_t id);
    void getClassData(int64_t id);
    void getClassCourseData(int64_t id);
    void getResultsClassData(int64_t id);

    // ---- stored-procedure methods ----
    // (one method per stored procedure; declared here, implemented in
    // vrkDataModuleProcs.cpp)

    // ---- dataset event handlers ----
    // (attached to the datasets below; implemented in vrkDataModuleRules.cpp)

    // ---- helpers for the methods ----
    // Sets IN_LANGUAGE_CODE (or the named parameter) to the UI language code.
    void SetLanguage(TFbQuery& Q, const QString& Param = QStringLiteral("IN_LANGUAGE_CODE"));
    void SetLanguage(TFbStoredProc& P, const QString& Param = QStringLiteral("IN_LANGUAGE_CODE"));
    QString LanguageCode() const;

    // ---- connection and transactions ----
    TFbConnection* convrkEventFD;
    TFbTransaction* fbTransactionDefaultFD;
    TFbTransaction* fbTransactionUpdateDefaultFD;
    TFbTransaction* fbTrMainGridFD;
    TFbTransaction* fbTrUpdateCallFD;
    TFbTransaction* fbTrUpdateCallWorkerFD;
    TFbTransaction* fbTrRESTUpdateDefaultFD;
    TFbTransaction* fbTransactionTreeFD;
    TFbTransaction* fbTrClubFD;
    TFbTransaction* fbTrPersonFD;
    TFbTransaction* fbTrControlFD;
    TFbTransaction* fbTrCourseFD;
    TFbTransaction* fbTrPaymentMethodFD;
    TFbTransaction* fbTrChipBalanceOptionsFD;

    // ---- shared statements (SQL replaced on every use) ----
    TFbQuery* fbQueryDefaultFD;
    TFbQuery* fbUpdateDefaultFD;
    TFbQuery* fbProcRESTFD;
    TFbQuery* fbQueryUpdateDefaultWFD;

    // ---- stored-procedure components ----
    TFbStoredProc* fbProcEvent_GetEventStats;
    TFbStoredProc* fbProcUpdateClientFD;

    // ---- navigation trees ----
    TFbQuery* fbQueryEventSeriesStartFD;
    TDataSource* IBCDSEventSeriesStartFD;
    TFbQuery* fbQueryEventSeriesSeasonStartFD;
    TDataSource* IBCDSEventSeriesSeasonStartFD;
    TFbQuery* fbQueryEventStartFD;
    TDataSource* IBCDSEventStartFD;
    TFbQuery* fbQueryEventSeriesFD;
    TDataSource* IBCDSEventSeriesFD;
    TFbQuery* fbQueryEventSeriesSeasonFD;
    TDataSource* IBCDSEventSeriesSeasonFD;
    TFbQuery* fbQueryEventFD;
    TDataSource* IBCDSEventFD;
    TFbQuery* fbQueryPersonsFD;
    TDataSource* IBCDSPersonsFD;
    TFbQuery* fbQueryClubsFD;
    TDataSource* IBCDSClubsFD;
    TFbQuery* fbQuerySpecialCcFD;
    TDataSource* IBCDSSpecialCcFD;
    TFbQuery* fbQueryClassFD;
    TDataSource* IBCDSClassFD;
    TFbQuery* fbQueryClassCourseFD;
    TDataSource* IBCDSClassCourseFD;

    // ---- main results grid ----
    TFbQuery* fbQueryResultsCFD;
    TDataSource* dsResultsClassFD;

    // ---- result and check-in dialogs ----
    TFbQuery* fbQueryCurrResultFD;
    TDataSource* dsCurrResultFD;
    TFbUpdateSQL* FDUpdateSQL1;
    TFbQuery* fbQuerySelectClassCourseFD;
    TDataSource* dsClassCourseFD;
    TFbUpdateSQL* FDUpdateSQL2;
    TFbQuery* fbQuerySelectClassCourseFFD;
    TDataSource* dsClassCourseFFD;
    TFbQuery* fbQueryPunchesFD;
    TDataSource* dsPunchesFD;
    TFbQuery* fbQueryLookupPersonFD;
    TDataSource* dsLookupPersonFD;
    TFbQuery* fbQuerySelectAdditionalClassFD;
    TDataSource* dsAdditionalClassFD;
    TFbQuery* fbQueryWebEntriesFD;
    TDataSource* dsWebEntriesFD;
    TFbQuery* fbQueryPaymentMethodsFD;
    TDataSource* dsPaymentMethodsFD;
    TFbQuery* fbQueryChipBalanceOptionsFD;
    TDataSource* dsChipBalanceOptionsFD;

    // ---- editors ----
    TFbQuery* fbQueryClubFD;
    TDataSource* dsClubFD;
    TFbUpdateSQL* FDUpdateVRKCLUB;
    TFbQuery* fbQueryPersonFD;
    TDataSource* dsPersonFD;
    TFbUpdateSQL* FDUpdateVRKPERSON;
    TFbQuery* fbQueryLookupClubFD;
    TDataSource* dsLookupClubFD;
    TFbQuery* fbQueryCourseFD;
    TDataSource* dsCourseFD;
    TFbUpdateSQL* FDUpdateVRKCOURSE;
    TFbQuery* fbQueryControlFD;
    TDataSource* dsControlFD;
    TFbUpdateSQL* FDUpdateVRKCONTROLS;

    // ---- database upgrade ----
    TFbScript* FDScript1;

private:
    // The results grid's status texts (VRK_MESSAGES by code) and the class
    // and course of each run's class-course are read once per open of the
    // grid and filled in as calculated fields, instead of being looked up
    // once per run by the database.
    void LoadResultsGridLookups();
    void ResultsGridCalcFields(TDataSet* DataSet);
    QHash<QString, QString> FResultsGridTexts;
    QHash<int64_t, std::vector<QVariant>> FResultsGridCourses;

    void CreateComponents();
    void CreateDatasets();
    TFbTransaction* NewTransaction(const QString& Name);
    TFbQuery* NewQuery(const QString& Name, TFbTransaction* Transaction);
    TDataSource* NewSource(const QString& Name, TFbQuery* DataSet);
    // One step of an event loader; returns false when it failed.
    bool LoadEventRow(const QString& LoaderName, int64_t id, bool IntoProcessed);
    void LoadEventStats(const QString& LoaderName, int64_t id, bool IntoProcessed);
};

extern TDataModule1* DataModule1;
