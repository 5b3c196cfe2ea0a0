#pragma once
// The order in which indexes sort field values: nulls first, numbers and
// dates by value, texts by Finnish rules ignoring case (so "ä" and "ö" come
// after "z" and "Å" sorts with "å"), with case deciding only between texts
// that are otherwise equal unless the index ignores case altogether.

#include "platform/database/Fields.h"

#include <QVariant>

int CollateFieldValues(const TField& F, const QVariant& A, const QVariant& B, bool CaseInsensitive);

// Two texts in that order (<0, 0, >0).
int CollateTexts(const QString& A, const QString& B, bool CaseInsensitive);
