#pragma once
// The replicate procedure of every download message type: its inputs in
// statement order with the member, kind and rule of each, the key members a
// deletion row sets, and how a failed row's text begins. The run's nested
// rows and the class's nested courses have procedures of their own here too;
// the appliers walk these tables.

#include "sync/ReplicateInputs.h"

#include <QStringList>

struct TApplierTable {
    QString MessageType;     // "vrk_club"
    TReplProcedure Upsert;   // inputs named by member; IN_REPL_TYPE is set from the row
    QStringList DeleteKeys;  // members a deletion row sets
    // Inputs the deletion's statement leaves out (it is the upsert's
    // statement without them; most tables use the same statement).
    QStringList DeleteLeavesOut;
    bool TypeInErrorText = true;  // "(vrk_club) REPLICATION_ID:" or "REPLICATION_ID:"
    QString ReplTypeParam = QStringLiteral("IN_REPL_TYPE");

    // The statement of a deletion row.
    TReplProcedure Delete() const;
};

namespace downloadprocs {

// The plain appliers (one procedure per row), by message type; null for the
// class, person and run messages, which have appliers of their own, and for
// unknown types.
const TApplierTable* Plain(const QString& MessageType);

const TApplierTable& Person();
const TApplierTable& Run();
const TReplProcedure& RunSplit();
const TReplProcedure& RunSpecialPunch();
const TReplProcedure& RunCourseCheck();
// The class row and its nested course, control, course control and
// class-course statements (event, class and course ids set by the applier).
const TReplProcedure& Class();
const TReplProcedure& NestedCourse();
const TReplProcedure& NestedControl();
const TReplProcedure& NestedCourseControl();
const TReplProcedure& NestedClassCourse();

}  // namespace downloadprocs
