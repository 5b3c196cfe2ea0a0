#pragma once
// Shared vocabulary of the data access layer: field kinds, dataset states,
// the notifications datasets send to their links, and the error kinds.

#include "platform/rtl/Exception.h"

#include <QVariant>
#include <cstdint>

enum TFieldType {
    ftUnknown, ftString, ftSmallint, ftInteger, ftWord, ftBoolean, ftFloat, ftCurrency, ftBCD,
    ftDate, ftTime, ftDateTime, ftBytes, ftVarBytes, ftAutoInc, ftBlob, ftMemo, ftGraphic,
    ftFmtMemo, ftTypedBinary, ftFixedChar, ftWideString, ftLargeint, ftGuid, ftTimeStamp,
    ftFMTBcd, ftFixedWideChar, ftWideMemo, ftSingle,
    // Kinds a client dataset can carry (the server gives none of them): an
    // unsigned 32-bit, a signed 8-bit and an unsigned 8-bit whole number and
    // an extended-precision float; appended so the older kinds keep their numbers.
    ftLongWord, ftShortint, ftByte, ftExtended
};

enum TFieldKind { fkData, fkCalculated, fkLookup, fkInternalCalc };

enum TDataSetState { dsInactive, dsBrowse, dsEdit, dsInsert, dsSetKey, dsCalcFields, dsFilter };

enum TDataEvent {
    deFieldChange, deRecordChange, deDataSetChange, deDataSetScroll, deLayoutChange,
    deUpdateRecord, deUpdateState, deCheckBrowseMode, deFocusControl, deParentScroll
};

// Alignment of a field's text, in the order of the controls' TAlignment
// (left, right, centre), so a control converts it with a cast.
enum class TFieldAlignment { LeftJustify, RightJustify, Center };

enum TLocateOption { loCaseInsensitive = 1, loPartialKey = 2 };
using TLocateOptions = int;

enum TFilterOption { foCaseInsensitive = 1, foNoPartialCompare = 2 };
using TFilterOptions = int;

// The kinds of change a dataset writes back.
enum TUpdateKind { ukModify, ukInsert, ukDelete };

// Which statements a field takes part in when a dataset writes its rows back.
enum TProviderFlag { pfInUpdate = 1, pfInWhere = 2, pfInKey = 4, pfHidden = 8 };
using TProviderFlags = int;

// Errors of datasets and fields (wrong state, unknown field, bad value).
SORVEX_EXCEPTION_KIND(EDatabaseError, Exception)

// Errors reported by the database server or client library; the text is the
// server's own, ErrorCode its primary error number and SQLCode the SQL code.
class EFbError : public EDatabaseError {
public:
    EFbError(const QString& msg, int64_t ErrorCode, int SQLCode)
        : EDatabaseError(msg), FErrorCode(ErrorCode), FSQLCode(SQLCode) {}
    int64_t ErrorCode() const { return FErrorCode; }
    int SQLCode() const { return FSQLCode; }

private:
    int64_t FErrorCode;
    int FSQLCode;
};

// Raised by a script run at the first failing statement; Line is the line in
// the script where that statement begins.
class EFbScriptError : public EDatabaseError {
public:
    EFbScriptError(const QString& msg, int Line, const QString& Statement)
        : EDatabaseError(msg), FLine(Line), FStatement(Statement) {}
    int Line() const { return FLine; }
    const QString& Statement() const { return FStatement; }

private:
    int FLine;
    QString FStatement;
};

// True for the kinds held as texts / whole numbers / fixed-point numbers / date-times.
bool IsStringType(TFieldType T);
bool IsIntegerType(TFieldType T);
bool IsFixedType(TFieldType T);
// Binary floats: ftFloat, ftSingle, ftCurrency and ftExtended.
bool IsFloatType(TFieldType T);
// Any number: whole, fixed-point or binary float.
bool IsNumericFieldType(TFieldType T);
bool IsDateTimeType(TFieldType T);
bool IsBlobType(TFieldType T);
