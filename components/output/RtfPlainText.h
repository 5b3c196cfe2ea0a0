#pragma once
// The plain text of an RTF document, paragraphs separated by CR LF: control
// words and the destination groups (font and colour tables, pictures, ...)
// are dropped, "\'hh" and "\uN" escapes become their characters.
#include <QString>

QString RtfToPlainText(const QString& Rtf);
