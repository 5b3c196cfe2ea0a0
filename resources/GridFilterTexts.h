#pragma once
// Texts of the grid's funnel value list and filter-condition dialog
// (English, the component library's own).

#include <QString>
#include <QStringList>

namespace gridfiltxt {

inline const QString SelectAll = QStringLiteral("(select all)");
inline const QString Empty = QStringLiteral("(empty)");
inline const QString FilterDots = QStringLiteral("Filter...");
inline const QString EnterFilterCondition = QStringLiteral("Enter filter condition");
inline const QString Clear = QStringLiteral("Clear");
inline const QString AddToActFilter = QStringLiteral("Add to act. filter");
inline const QString Ok = QStringLiteral("Ok");
inline const QString Cancel = QStringLiteral("Cancel");
inline const QString Loading = QStringLiteral("Loading of data...");
inline const QString NotSupported = QStringLiteral("This function is not supported.");
inline const QString TypeOfComparison = QStringLiteral("Type of comparison:");
inline const QString Value = QStringLiteral("Value:");
inline const QString SetPeriod = QStringLiteral("Set period");
inline const QString OtherPeriod = QStringLiteral("Other period");
inline const QStringList NumSigns = {QStringLiteral("is equal"),   QStringLiteral("is not equal"), QStringLiteral("is greater"),
                                     QStringLiteral("is greater or equal"), QStringLiteral("is smaller"),
                                     QStringLiteral("is smaller or equal"), QStringLiteral("is between")};
inline const QStringList TextSigns = {QStringLiteral("is equal"), QStringLiteral("is not equal"), QStringLiteral("begin "),
                                      QStringLiteral("contain")};
inline const QStringList DateSigns = {QStringLiteral("is equal"), QStringLiteral("before"), QStringLiteral("after"),
                                      QStringLiteral("period")};

}  // namespace gridfiltxt
