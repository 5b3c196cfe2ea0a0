#pragma once
// The filter language of datasets: the text a dataset's Filter holds and every
// filter feature of the component library writes.
//
//   expr       := term { OR term }
//   term       := factor { AND factor }
//   factor     := NOT factor | "(" expr ")" | comparison
//   comparison := operand op operand | operand IS [NOT] NULL
//   op         := = | <> | != | < | <= | > | >= | LIKE | NOT LIKE
//   operand    := FIELD | [FIELD NAME] | 'text' (with '' for ') | number
//                 | true | false | NULL
//
// "= NULL" and "<> NULL" are null tests (the library writes them with extra
// blanks). LIKE takes "*" and "%" for any run of characters and "_" for one.
// A text ending in "*" compared with "=" matches as a prefix unless the
// dataset's options forbid partial compares. Texts compared with a date field
// read in the short date format of the format settings (ISO dates too);
// numbers use "." as the decimal point. Comparisons of texts (=, <>, LIKE and
// the orderings) ignore case when the dataset's options ask for it. Any other
// comparison with a null value is false.
//
// A text the parser cannot read, or a field the dataset does not have, raises
// EDatabaseError with the reason, so assigning a bad Filter fails at once.
// NOT and parentheses nest at most 200 levels deep (a syntax error beyond);
// chains of AND and OR may be of any length.

#include "platform/database/DataSet.h"

#include <QString>
#include <memory>

class TFilterExpression {
public:
    // Parses Text against the fields of DataSet; raises on errors.
    TFilterExpression(const TDataSet& DataSet, const QString& Text, TFilterOptions Options);
    ~TFilterExpression();
    TFilterExpression(const TFilterExpression&) = delete;
    TFilterExpression& operator=(const TFilterExpression&) = delete;

    // True when the record the dataset's fields read from passes.
    bool Evaluate() const;

    struct Node;

private:
    std::shared_ptr<Node> FRoot;
};

// The dataset's filter compiler: parses once, tests each record.
TDataSet::TRecordPredicate CompileFilterExpression(TDataSet& DataSet, const QString& Filter, TFilterOptions Options);

// LIKE matching with "*" / "%" for any run and "_" for one character.
bool FilterLikeMatch(const QString& Value, const QString& Pattern, bool CaseInsensitive);
