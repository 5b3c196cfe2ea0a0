#pragma once
// Our reader and writer of the RTF that rich text editors exchange: fonts,
// sizes, the colour table, bold, italic, underline, strike-out, paragraph
// alignment and indents, bullets and numbering, tabs, line breaks and
// non-ASCII text (\uN?). Other groups are skipped. Included only by
// platform/ui sources.

#include <QString>

class QTextDocument;

// Pixels (96 dpi) per twip, the unit of RTF indents.
constexpr int RtfTwipsPerPixel = 15;

QString WriteRtf(const QTextDocument& Doc);
// Replaces the document's content; false when Rtf is not RTF (then nothing changes).
bool ReadRtf(const QString& Rtf, QTextDocument& Doc);
