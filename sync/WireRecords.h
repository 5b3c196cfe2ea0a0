#pragma once
// The records of the tables that travel between this computer and the web
// result service: for every record type its members in the order the upload
// writes them, each with its value form and whether it is always written.
// One table serves the upload builders and the download appliers alike.

#include <QString>
#include <vector>

enum class TWireForm {
    wfInteger,     // 64-bit decimal digits
    wfText,        // the column's text as stored
    wfDateTime,    // "yyyy-mm-ddThh:nn:ss", local time, no zone
    wfWhole,       // rounded to a whole number
    wfHundredths,  // times 100, rounded: money and seconds
    wfBase64,      // the UTF-8 bytes in standard Base64
    wfText22,      // text with every double quote written as %22
};

// Where an upload member's value comes from.
enum class TWireSource {
    wsColumn,        // the column of the member's name (or Column)
    wsThisClient,    // this computer's client id
    wsChangedRowId,  // the id of the changed row as queued
};

// Which direction carries a member.
enum class TWireDirection { wdBoth, wdUploadOnly, wdDownloadOnly };

struct TWireMember {
    QString Name;
    TWireForm Form = TWireForm::wfText;
    bool Always = false;  // false: left out when the column is null
    QString Column;       // the column when it differs from Name
    TWireSource Source = TWireSource::wsColumn;
    TWireDirection Direction = TWireDirection::wdBoth;

    QString ColumnName() const { return Column.isEmpty() ? Name : Column; }
};

struct TWireRecord {
    QString QueueTable;   // "VRK_CLUB": the queue row's table, empty for nested items
    QString ListName;     // "clubs"
    QString KeyMember;    // "club_id"
    QString MessageType;  // "vrk_club": the download message type
    QString Table;        // the table read
    // Column members in order; "client_message_id" (first) and "repl_type"
    // (last) are written by the builders and not listed here.
    std::vector<TWireMember> Members;

    const TWireMember* Member(const QString& Name) const;
};

namespace wire {

// The fourteen tables that travel upwards, in the order of the queue's table names.
const std::vector<const TWireRecord*>& UploadRecords();
// The record of a queue table name ("VRK_CLUB"), null when none travels.
const TWireRecord* RecordOfQueueTable(const QString& QueueTable);
// The record of a download message type ("vrk_club"), null when unknown.
const TWireRecord* RecordOfMessageType(const QString& MessageType);

// The nested items of a class record.
const TWireRecord& ClassCourseItem();
const TWireRecord& CourseItem();
const TWireRecord& CourseControlItem();
const TWireRecord& AdditionalClassItem();
// The nested items of a run record.
const TWireRecord& SplitItem();
const TWireRecord& SpecialPunchItem();
const TWireRecord& CourseCheckItem();

// Tables only the download carries: their members in the order the appliers read them.
const std::vector<const TWireRecord*>& DownloadOnlyRecords();

}  // namespace wire
