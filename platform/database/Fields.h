#pragma once
// TField and its kinds: one column of a dataset, read and written through the
// dataset's current record (or the record a data link made active for a
// moment). Values are held in the tagged representation described in
// Params.h; a null is an invalid QVariant.

#include "platform/database/DBTypes.h"
#include "platform/rtl/Currency.h"
#include "platform/rtl/DateUtils.h"

#include <QByteArray>
#include <QHash>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <functional>
#include <memory>
#include <vector>

class TDataSet;

class TField {
public:
    explicit TField(TFieldType DataType = ftUnknown);
    virtual ~TField();
    TField(const TField&) = delete;
    TField& operator=(const TField&) = delete;

    // ---- description ----
    const QString& FieldName() const { return FFieldName; }
    void SetFieldName(const QString& v) { FFieldName = v; }
    QString DisplayLabel() const { return FDisplayLabel.isEmpty() ? FFieldName : FDisplayLabel; }
    void SetDisplayLabel(const QString& v) { FDisplayLabel = v; }
    QString DisplayName() const { return DisplayLabel(); }
    int DisplayWidth() const;
    void SetDisplayWidth(int v) { FDisplayWidth = v; }
    const QString& DisplayFormat() const { return FDisplayFormat; }
    void SetDisplayFormat(const QString& v) { FDisplayFormat = v; }
    const QString& EditFormat() const { return FEditFormat; }
    void SetEditFormat(const QString& v) { FEditFormat = v; }
    const QString& EditMask() const { return FEditMask; }
    void SetEditMask(const QString& v) { FEditMask = v; }
    TFieldAlignment Alignment() const { return FAlignment; }
    void SetAlignment(TFieldAlignment v) { FAlignment = v; }
    bool Visible() const { return FVisible; }
    void SetVisible(bool v) { FVisible = v; }
    bool ReadOnly() const { return FReadOnly; }
    void SetReadOnly(bool v) { FReadOnly = v; }
    bool Required() const { return FRequired; }
    void SetRequired(bool v) { FRequired = v; }
    // Characters of a text, decimals of a fixed-point number, else 0.
    int Size() const { return FSize; }
    void SetSize(int v) { FSize = v; }
    int Precision() const { return FPrecision; }
    void SetPrecision(int v) { FPrecision = v; }
    TFieldType DataType() const { return FDataType; }
    TFieldKind FieldKind() const { return FFieldKind; }
    void SetFieldKind(TFieldKind v) { FFieldKind = v; }
    TProviderFlags ProviderFlags() const { return FProviderFlags; }
    void SetProviderFlags(TProviderFlags v) { FProviderFlags = v; }
    // The table column behind the field ("TABLE.COLUMN"), empty for expressions.
    const QString& Origin() const { return FOrigin; }
    void SetOrigin(const QString& v) { FOrigin = v; }
    int Tag = 0;

    TDataSet* DataSet() const { return FDataSet; }
    int Index() const;
    void SetIndex(int v);
    int FieldNo() const { return FFieldNo; }
    bool IsBlob() const { return IsBlobType(FDataType); }
    // Writable: not read-only, a data field, and the dataset can be modified.
    bool CanModify() const;

    // ---- values of the active record ----
    bool IsNull() const { return !RawValue().isValid(); }
    void Clear() { SetRawValue(QVariant()); }
    QString AsString() const;
    void SetAsString(const QString& v);
    int AsInteger() const { return int(AsLargeInt()); }
    void SetAsInteger(int v) { SetAsLargeInt(v); }
    int64_t AsLargeInt() const;
    void SetAsLargeInt(int64_t v);
    double AsFloat() const;
    void SetAsFloat(double v);
    float AsSingle() const { return float(AsFloat()); }
    void SetAsSingle(float v) { SetAsFloat(double(v)); }
    Currency AsCurrency() const;
    void SetAsCurrency(Currency v);
    bool AsBoolean() const;
    void SetAsBoolean(bool v);
    TDateTime AsDateTime() const;
    void SetAsDateTime(TDateTime v);
    QByteArray AsBytes() const;
    void SetAsBytes(const QByteArray& v);
    // A null-aware value: invalid for null; qint64, double, QString, bool,
    // QByteArray; date-times as QDateTime; fixed-point numbers as double.
    QVariant AsVariant() const;
    void SetAsVariant(const QVariant& v);
    QVariant Value() const { return AsVariant(); }
    void SetValue(const QVariant& v) { SetAsVariant(v); }
    // The value before the current edit (the stored row), and the edited one.
    QVariant OldValue() const;
    QVariant NewValue() const { return AsVariant(); }
    // The text shown (DisplayFormat, boolean display values, OnGetText) and
    // the text edited (EditFormat); setting Text goes through OnSetText.
    QString DisplayText() const;
    QString Text() const;
    void SetText(const QString& v);

    // The tagged representation of the active record's value.
    QVariant RawValue() const;
    void SetRawValue(const QVariant& v);

    // Compares two tagged values of this field's kind: <0, 0, >0; null first.
    int CompareRaw(const QVariant& a, const QVariant& b, bool CaseInsensitive = false) const;
    // Converts a value given as AsVariant would give it into the tagged form.
    QVariant ToRaw(const QVariant& v) const;

    // ---- events ----
    std::function<void(TField* Sender)> OnChange;
    std::function<void(TField* Sender)> OnValidate;
    std::function<void(TField* Sender, QString& Text, bool DisplayText)> OnGetText;
    std::function<void(TField* Sender, const QString& Text)> OnSetText;

    // ---- lookup fields ----
    QString KeyFields;
    TDataSet* LookupDataSet = nullptr;
    QString LookupKeyFields;
    QString LookupResultField;

protected:
    virtual QString RawToString(const QVariant& v, bool Display) const;
    virtual QVariant StringToRaw(const QString& s) const;  // raises EConvertError

    TFieldType FDataType;

private:
    friend class TDataSet;
    friend class TFields;
    QString FFieldName;
    QString FDisplayLabel;
    int FDisplayWidth = 0;
    QString FDisplayFormat;
    QString FEditFormat;
    QString FEditMask;
    TFieldAlignment FAlignment = TFieldAlignment::LeftJustify;
    bool FVisible = true;
    bool FReadOnly = false;
    bool FRequired = false;
    int FSize = 0;
    int FPrecision = 0;
    TFieldKind FFieldKind = fkData;
    TProviderFlags FProviderFlags = pfInUpdate | pfInWhere;
    QString FOrigin;
    TDataSet* FDataSet = nullptr;
    int FFieldNo = 0;
};

// The kinds; the class a field has tells which kind of value it holds.
class TStringField : public TField {
public:
    explicit TStringField(TFieldType t = ftString) : TField(t) {}
    bool FixedChar = false;
};
class TWideStringField : public TStringField {
public:
    TWideStringField() : TStringField(ftWideString) {}
};
class TNumericField : public TField {
public:
    explicit TNumericField(TFieldType t) : TField(t) { SetAlignment(TFieldAlignment::RightJustify); }
};
class TIntegerField : public TNumericField {
public:
    explicit TIntegerField(TFieldType t = ftInteger) : TNumericField(t) {}
};
class TSmallintField : public TIntegerField {
public:
    TSmallintField() : TIntegerField(ftSmallint) {}
};
class TLargeintField : public TNumericField {
public:
    TLargeintField() : TNumericField(ftLargeint) {}
};
// Narrow whole numbers: writing a value outside the kind's range raises
// EDatabaseError and leaves the field unchanged.
class TShortintField : public TIntegerField {
public:
    TShortintField() : TIntegerField(ftShortint) {}
};
class TByteField : public TIntegerField {
public:
    TByteField() : TIntegerField(ftByte) {}
};
class TLongWordField : public TNumericField {
public:
    TLongWordField() : TNumericField(ftLongWord) {}
};
class TFloatField : public TNumericField {
public:
    explicit TFloatField(TFieldType t = ftFloat) : TNumericField(t) {}
    // Shown as money with the format settings' currency decimals and symbol.
    bool Currency = false;

protected:
    QString RawToString(const QVariant& v, bool Display) const override;
};
class TSingleField : public TFloatField {
public:
    TSingleField() : TFloatField(ftSingle) {}
};
class TExtendedField : public TFloatField {
public:
    TExtendedField() : TFloatField(ftExtended) {}
};
class TCurrencyField : public TFloatField {
public:
    TCurrencyField() : TFloatField(ftCurrency) { Currency = true; }
};
// Fixed-point numbers (NUMERIC/DECIMAL): a scaled integer with Size decimals.
class TFMTBCDField : public TNumericField {
public:
    explicit TFMTBCDField(TFieldType t = ftFMTBcd) : TNumericField(t) {}
    bool Currency = false;

protected:
    QString RawToString(const QVariant& v, bool Display) const override;
};
class TBCDField : public TFMTBCDField {
public:
    TBCDField() : TFMTBCDField(ftBCD) {}
};
class TBooleanField : public TField {
public:
    TBooleanField() : TField(ftBoolean) {}
    // "True text;False text".
    QString DisplayValues;

protected:
    QString RawToString(const QVariant& v, bool Display) const override;
    QVariant StringToRaw(const QString& s) const override;
};
class TDateTimeField : public TField {
public:
    explicit TDateTimeField(TFieldType t = ftDateTime) : TField(t) {}
};
class TDateField : public TDateTimeField {
public:
    TDateField() : TDateTimeField(ftDate) {}
};
class TTimeField : public TDateTimeField {
public:
    TTimeField() : TDateTimeField(ftTime) {}
};
class TSQLTimeStampField : public TDateTimeField {
public:
    TSQLTimeStampField() : TDateTimeField(ftTimeStamp) {}
};
class TBlobField : public TField {
public:
    explicit TBlobField(TFieldType t = ftBlob) : TField(t) {}
    // Set when the stored content begins with a picture header, so a plain
    // blob still holds a picture.
    bool GraphicHeader() const { return FGraphicHeader; }
    void SetGraphicHeader(bool v) { FGraphicHeader = v; }

private:
    bool FGraphicHeader = false;
};
class TMemoField : public TBlobField {
public:
    explicit TMemoField(TFieldType t = ftMemo) : TBlobField(t) {}
};
class TWideMemoField : public TMemoField {
public:
    TWideMemoField() : TMemoField(ftWideMemo) {}
};
class TGraphicField : public TBlobField {
public:
    TGraphicField() : TBlobField(ftGraphic) {}
};

// A new field of the class that holds values of the kind.
std::unique_ptr<TField> CreateField(TFieldType DataType);

// The ordered field list of a dataset; names are found case-insensitively.
class TFields {
public:
    int Count() const { return int(FItems.size()); }
    TField* operator[](int i) const { return FItems.at(size_t(i)).get(); }
    TField* FindField(const QString& Name) const;
    // Raises EDatabaseError "Field 'NAME' not found".
    TField* FieldByName(const QString& Name) const;
    int IndexOf(const TField* F) const;

private:
    friend class TDataSet;
    friend class TField;
    void Add(std::unique_ptr<TField> F);
    void Clear();
    void Move(int From, int To);
    void Reindex();
    std::vector<std::unique_ptr<TField>> FItems;
    QHash<QString, TField*> FByName;
};
