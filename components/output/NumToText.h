#pragma once
// Amounts in words for payment documents ("One Hundred Twenty Dollars Fifty
// Cents"), in English or Czech. The base class walks the number in groups of
// three digits; the language classes supply the words and the grammar.
#include <QString>

class TNumToTextUniv {
public:
    virtual ~TNumToTextUniv() = default;

    double Value = 0;
    QString Text;
    QString Separator;
    QString Currency;
    QString SubCurrency;

    // Fills Text from Value; raises Exception("Number out of range") for
    // 1e15 and more (after the sign) and for values that are not numbers.
    void Convert();

protected:
    // exp: 1 units, 2 thousands, 3 millions, 4 thousand millions, 5 million
    // millions; 0 for the sub-currency amount and the digit after a tens word.
    virtual void AddCurrency() = 0;
    virtual void AddSubCurrency() = 0;
    virtual void AddNegative() = 0;
    virtual void AddDigit(int num, int exp) = 0;
    virtual void AddTens(int num, int exp) = 0;
    virtual void AddHundreds(int num, int exp) = 0;
    virtual void AddExp(int num, int exp) = 0;
    virtual void AddZero() = 0;

    void AddText(const QString& Word);
    // Integer part of the (positive) value, as the currency grammar needs it.
    long long IntegerPart() const { return FIntegerPart; }

private:
    long long FIntegerPart = 0;
};

class TNumToTextEN : public TNumToTextUniv {
protected:
    void AddCurrency() override;
    void AddSubCurrency() override;
    void AddNegative() override;
    void AddDigit(int num, int exp) override;
    void AddTens(int num, int exp) override;
    void AddHundreds(int num, int exp) override;
    void AddExp(int num, int exp) override;
    void AddZero() override;
};

class TNumToTextCZ : public TNumToTextUniv {
protected:
    void AddCurrency() override;
    void AddSubCurrency() override;
    void AddNegative() override;
    void AddDigit(int num, int exp) override;
    void AddTens(int num, int exp) override;
    void AddHundreds(int num, int exp) override;
    void AddExp(int num, int exp) override;
    void AddZero() override;
};

// Language "CZ" (any case) converts in Czech, anything else in English.
QString NumToTextLang(const QString& Language, const QString& Separator, const QString& Currency,
                      double Value, const QString& SubCurrency);
QString NumToTextEN(const QString& Separator, const QString& Currency, const QString& SubCurrency, double Value);
QString NumToTextCZ(const QString& Separator, const QString& Currency, const QString& SubCurrency, double Value);
