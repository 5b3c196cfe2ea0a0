#pragma once
// The one way every data-module method talks to the database: its own short
// transaction, a statement with named parameters, outputs read with their
// null rules, commit; on any error the method's log text goes to the day log
// (kind Error, no box), the transaction is rolled back when still active and
// the method returns normally with what it had set.
//
// A procedure method is then a few lines:
//
//   QString TDataModule1::deleteResultsClass(int64_t in_id)
//   {
//       QString out;
//       const QString err = RunDbMethod(QStringLiteral("deleteResultsClass"), *fbTrUpdateCallFD, [&] {
//           TFbQuery& q = SetStatement(*fbUpdateDefaultFD,
//               {QStringLiteral("select OUT_MESSAGE from E_RESULTS_CLASS.RESULTS_CLASS_DELETE(:IN_ID, :IN_LANGUAGE_CODE)")});
//           q.ParamByName(QStringLiteral("IN_ID")).SetAsLargeInt(in_id);
//           SetLanguage(q);
//           q.Open();
//           out = NullStr(q, QStringLiteral("OUT_MESSAGE"));
//       });
//       return err.isEmpty() ? out : err;
//   }

#include "platform/database/FbQuery.h"

#include <QString>
#include <functional>
#include <initializer_list>

enum class TDbLogStyle {
    Parenthesized,  // "(" + name + "): " + message
    Others,         // name + ".OTHERS: " + message
};

namespace vrk {
// A name or statement written in the source, which is UTF-8.
inline QString L(const char* Text)
{
    return QString::fromUtf8(Text);
}
}  // namespace vrk

struct TDbMethodOptions {
    TDbLogStyle LogStyle = TDbLogStyle::Parenthesized;
    // Raise the error again after logging and rolling back.
    bool Reraise = false;
    // Commit after the body when the transaction is still active (a body may
    // commit or roll back itself, e.g. only when no error text came back).
    bool Commit = true;
    // A method that only reads starts its transaction read-only when it is
    // not running yet: a read-only read-committed transaction writes neither
    // the header page at its start nor its state at its commit, each a forced
    // page write that would keep the desk waiting.
    bool ReadOnly = false;
    // Put before the error's message in the log text ("Poikkeus: ").
    QString MessagePrefix;
    // Receives the error's own message when the method failed.
    QString* ErrorMessage = nullptr;
};

// Runs Body as one unit of work of method Name on Transaction (started when
// not active). Returns the log text of a failure, empty on success.
QString RunDbMethod(const QString& Name, TFbTransaction& Transaction, const std::function<void()>& Body,
                    TDbMethodOptions Options = {});

// The log text of a failure of method Name in the given style.
QString DbMethodLogText(const QString& Name, const QString& Message, TDbLogStyle Style);

// The statement of Lines on the shared query's connection and transaction,
// closed and ready for its parameters. Each text is prepared once per
// connection and kept (owned by the shared query), so a method called again
// only executes it: preparing costs the engine as much as running most of
// the procedures.
TFbQuery& SetStatement(TFbQuery& Statement, std::initializer_list<QString> Lines);

// Null rules. A column the database may leave null: null gives the empty
// text, 0 or the stated default. A column the database always fills is read
// with a Req* reader: a null there fails the call like any other error.
QString NullStr(TDataSet& D, const QString& Field, const QString& Default = QString());
int64_t NullId(TDataSet& D, const QString& Field, int64_t Default = 0);
int NullInt(TDataSet& D, const QString& Field, int Default = 0);
float NullSingle(TDataSet& D, const QString& Field, float Default = 0);
Currency NullMoney(TDataSet& D, const QString& Field);
TDateTime NullDateTime(TDataSet& D, const QString& Field);
QString ReqStr(TDataSet& D, const QString& Field);
int64_t ReqId(TDataSet& D, const QString& Field);
int ReqInt(TDataSet& D, const QString& Field);
TDateTime ReqDateTime(TDataSet& D, const QString& Field);
// The same for output parameters of a stored-procedure component.
QString NullStr(const TParam& P, const QString& Default = QString());
int64_t NullId(const TParam& P, int64_t Default = 0);
int NullInt(const TParam& P, int Default = 0);
float NullSingle(const TParam& P, float Default = 0);
Currency NullMoney(const TParam& P);
QString ReqStr(const TParam& P);
int64_t ReqId(const TParam& P);
