#pragma once
// Markup of the office-document reports, per template kind, and the passes
// that repair and tidy a part's text around the tags. Part texts hold one
// character per stored byte of their UTF-8 XML.
#include <QString>

enum TXMLTemplateFormat { tfXAutoDetect, tfDOCX, tfODT, tfXML };

struct TXMLMarkup {
    QString EndPar, EndPage, EndCol, Tab;
    QString ParBeginAll, ParBeginPartStart, ParBeginPartEnd, ParBeginPartCont, ParEndAll;
    QString TagRemove1;
    QString TableTagBegin, TableTagEnd, TableRowBegin, TableRowEnd, TableCellBegin, TableCellEnd;
    QString TableJoinTagStart, TableJoinTagEnd;
    QString RelClose;
};

const TXMLMarkup& XMLMarkup(TXMLTemplateFormat Format);

// Text to the part's form (escaped, tabs and line breaks as markup, UTF-8
// bytes as characters) and back.
QString StrToXML(const QString& Text, TXMLTemplateFormat Format);
QString XMLToStr(const QString& Part);

// Rejoins tags that the word processor split with markup.
void ExtractIntXMLTags(QString& Part);
// Removes bookmarks and merges plain runs (DOCX markup).
void ClearBookmarkPart(QString& Part, TXMLTemplateFormat Format);
// Removes paragraphs left empty by block tags (never inside tables).
void ClearEmptyParPart(QString& Part, TXMLTemplateFormat Format);
// Lets a table that touches the one before it continue it.
void JoinTables(QString& Part, TXMLTemplateFormat Format);
