#include "platform/database/Collation.h"

#include <QCollator>
#include <QLocale>

namespace {

// One collator per thread: QCollator is not safe to share between threads.
QCollator& FinnishCollator()
{
    thread_local QCollator c = [] {
        QCollator k{QLocale(QLocale::Finnish, QLocale::Finland)};
        k.setCaseSensitivity(Qt::CaseInsensitive);
        k.setNumericMode(false);
        return k;
    }();
    return c;
}

bool IsTextType(TFieldType T)
{
    return T == ftString || T == ftWideString || T == ftFixedChar || T == ftFixedWideChar || T == ftGuid || T == ftMemo ||
           T == ftWideMemo || T == ftFmtMemo;
}

}  // namespace

int CollateTexts(const QString& A, const QString& B, bool CaseInsensitive)
{
    int r = FinnishCollator().compare(A, B);
    if (r == 0 && !CaseInsensitive)
        r = QString::compare(A, B, Qt::CaseSensitive);
    return r < 0 ? -1 : (r > 0 ? 1 : 0);
}

int CollateFieldValues(const TField& F, const QVariant& A, const QVariant& B, bool CaseInsensitive)
{
    const bool an = !A.isValid(), bn = !B.isValid();
    if (an || bn)
        return an == bn ? 0 : (an ? -1 : 1);
    if (IsTextType(F.DataType()) && A.typeId() == QMetaType::QString && B.typeId() == QMetaType::QString)
        return CollateTexts(A.toString(), B.toString(), CaseInsensitive);
    return F.CompareRaw(A, B, CaseInsensitive);
}
