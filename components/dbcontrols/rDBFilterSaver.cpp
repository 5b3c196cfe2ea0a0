#include "components/dbcontrols/rDBFilterSaver.h"

#include "platform/database/DataSet.h"

namespace {

bool IsNameBoundary(QChar C) { return C == QLatin1Char(' ') || C == QLatin1Char('<') || C == QLatin1Char('=') || C == QLatin1Char('>'); }

// Replaces the first occurrence of Name in S by Label when it stands as a
// name outside quotes; true when it did.
bool ReplaceFirstName(QString& S, const QString& Name, const QString& Label)
{
    const int at = int(S.indexOf(Name, 0, Qt::CaseInsensitive));
    if (at < 0)
        return false;
    if (S.left(at).count(QLatin1Char('\'')) % 2 != 0)
        return false;
    const int end = at + int(Name.size());
    if (at > 0 && !IsNameBoundary(S[at - 1]))
        return false;
    if (end < S.size() && !IsNameBoundary(S[end]))
        return false;
    S.replace(at, Name.size(), Label);
    return true;
}

}  // namespace

QString PresetFilterName(TDataSet* Dataset)
{
    if (!Dataset)
        return QString();
    QString s = Dataset->Filter();
    s.remove(QLatin1Char('('));
    s.remove(QLatin1Char(')'));
    bool replaced = true;
    // A label that holds its own field name would replace for ever: the
    // passes are bounded.
    for (int pass = 0; replaced && pass < 101; ++pass) {
        replaced = false;
        for (int i = 0; i < Dataset->FieldCount(); ++i) {
            const TField* f = Dataset->Fields()[i];
            if (f->DisplayLabel() != f->FieldName())
                replaced = ReplaceFirstName(s, f->FieldName(), f->DisplayLabel()) || replaced;
        }
    }
    return s;
}
