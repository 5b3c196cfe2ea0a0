#pragma once
// The inputs of a replicate procedure as the download fills them from a
// JSON row: each input reads one member by one rule (text, id, integer,
// timestamp, date, decimal, amount in hundredths, Base64 text) and is either
// required (a missing or unreadable member fails the row) or optional (any
// failure gives NULL). The statement is "EXECUTE PROCEDURE P(:IN_A, :IN_B) ".

#include <QString>
#include <vector>

class TJsonNode;
class TFbQuery;

enum class TInKind { ikText, ikId, ikInteger, ikTimestamp, ikDate, ikDecimal, ikAmount, ikBase64 };

struct TReplInput {
    QString Param;   // "IN_CLUB_ID"
    QString Member;  // "club_id"; empty: set by the caller (constants, parent ids)
    TInKind Kind = TInKind::ikText;
    bool Required = false;
};

struct TReplProcedure {
    QString Procedure;  // "E_CLUB.REPLICATE_CLUB"
    std::vector<TReplInput> Inputs;

    QString ExecuteStatement() const;
    // "SELECT <Outputs> FROM P(...)": the selecting form of the person upsert.
    QString SelectStatement(const QString& Outputs) const;
};

namespace replinput {

// Shorthands for the tables of procedures.
inline TReplInput Req(const char* Param, const char* Member, TInKind Kind = TInKind::ikText)
{
    return {QString::fromLatin1(Param), QString::fromLatin1(Member), Kind, true};
}
inline TReplInput Opt(const char* Param, const char* Member, TInKind Kind = TInKind::ikText)
{
    return {QString::fromLatin1(Param), QString::fromLatin1(Member), Kind, false};
}
// An input the caller sets (repl type, a parent's id).
inline TReplInput Own(const char* Param)
{
    return {QString::fromLatin1(Param), QString(), TInKind::ikText, false};
}

// A decimal text in the regional form ("4,5") or with a point ("4.5");
// false when it is no number.
bool ParseDecimal(const QString& Text, double& Value);

// Sets the query's statement (only when it differs, so a prepared statement
// is reused) and clears every parameter.
void UseStatement(TFbQuery& Query, const QString& Statement);
// Fills one input from the row by its rule; raises for a required member
// that is missing or unreadable.
void SetInput(TFbQuery& Query, const TJsonNode& Row, const TReplInput& Input);
// Fills every input that names a member.
void SetInputs(TFbQuery& Query, const TJsonNode& Row, const TReplProcedure& Procedure);

}  // namespace replinput
