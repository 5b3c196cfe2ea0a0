#pragma once
// RTF cells of the string grid read as plain text (hints, the rich text
// editor's plain view) and plain text written back as RTF.

#include <QString>

namespace sgtools {

// RTF read as plain text (paragraphs become line breaks).
QString RtfToPlainText(const QString& Rtf);
bool LooksLikeRtf(const QString& S);

}  // namespace sgtools
