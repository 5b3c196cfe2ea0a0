#pragma once
// The upload builders: for one row of the upload queue, read the changed row
// of its table and append its record to the upload batch text, in the form
// the web result service expects (member order and value forms from
// WireRecords.h). A row that is gone travels as a deletion.
//
// Values are escaped for JSON properly, twice: inside the record, and again
// as the record text becomes part of the batch's "client_message" string.
// Member names, order and spacing are as the service has always seen them.

#include "sync/WireRecords.h"

#include <QString>
#include <cstdint>
#include <map>
#include <memory>
#include <utility>

class TFbQuery;
class TField;

class TUploadBuilders {
public:
    // The worker's four read queries (on its connection and update transaction).
    TUploadBuilders(TFbQuery* ReplData, TFbQuery* ReplData2, TFbQuery* ReplData3, TFbQuery* ReplData4);
    ~TUploadBuilders();

    // This computer's client id, written into client messages.
    int64_t ThisClientId = 0;

    // The batch's opening: {"message_id" : "<id>", 
    static QString BatchOpening(int64_t SyncMessageId);
    // Closes the batch; when no row wrote anything (every client message had
    // vanished) the list is opened empty first, so the batch stays whole.
    static void CloseBatch(QString& Message, const QString& ListName);

    // The builder of a queue table ("VRK_CLUB"); false when none exists.
    bool BuildRow(const QString& QueueTable, int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id,
                  QString& inout_message, const QString& in_repl_type);

    void client_message_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message);
    void vrk_client_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);
    void vrk_event_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);
    void vrk_controls_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);
    void vrk_course_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);
    void vrk_course_controls_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);
    void vrk_class_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);
    void vrk_class_course_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);
    void vrk_additional_class_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);
    void vrk_club_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);
    void vrk_person_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);
    void vrk_special_cc_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);
    void vrk_rastilippu_entries_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);
    void vrk_results_class_out(int i_sync_counter, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message, const QString& in_repl_type);

private:
    TFbQuery* fbQueryReplDataFD;
    TFbQuery* fbQueryReplData2FD;
    TFbQuery* fbQueryReplData3FD;
    TFbQuery* fbQueryReplData4FD;
    // A prepared statement per read query and text: a run's message reads
    // three lists in turn, and one query prepared again at every change of
    // text cost more than the reads.
    std::map<std::pair<const TFbQuery*, QString>, std::unique_ptr<TFbQuery>> FStatements;

    // The statement of Sql on Query's connection and transaction, opened
    // with Param set to Value.
    TFbQuery& OpenQuery(TFbQuery& Query, const QString& Sql, const QString& Param, int64_t Value);

    void Build(const TWireRecord& Record, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message,
               const QString& in_repl_type);
    void ShortRecord(const TWireRecord& Record, int64_t replication_id, int64_t in_repl_data_id, QString& inout_message,
                     const QString& ReplType);
    QString ClassLists(int64_t ClassId);
    QString RunLists(int64_t RunId);
};

// A text as the content of a JSON string: quotes, backslashes and control
// characters escaped.
QString JsonEscape(const QString& Text);
// A column's value in a wire form.
QString WireValue(const TField& Field, TWireForm Form);
