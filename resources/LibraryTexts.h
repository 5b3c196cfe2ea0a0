#pragma once
// The component library's own texts (English), written once and referred to by name.

#include <QString>

namespace libtxt {

inline const QString DlgCaptionNone;
inline const QString DlgCaptionInformation = QStringLiteral("Information");
inline const QString DlgCaptionQuestion = QStringLiteral("Question");
inline const QString DlgCaptionWarning = QStringLiteral("Warning");
inline const QString DlgCaptionError = QStringLiteral("Error");
inline const QString BtnOk = QStringLiteral("&Ok");
inline const QString BtnCancel = QStringLiteral("&Cancel");
inline const QString BtnYes = QStringLiteral("&Yes");
inline const QString BtnNo = QStringLiteral("&No");
inline const QString BaseFormOk = QStringLiteral("Ok");
inline const QString BaseFormCancel = QStringLiteral("Cancel");
inline const QString ErrorDescription = QStringLiteral("Error description:");
inline const QString ErrorInInputParameters = QStringLiteral("Error in input parameters.");
inline const QString BadNumberFormat = QStringLiteral("Bad number format.");
inline const QString InfoCaption = QStringLiteral("Information");
inline const QString Abort = QStringLiteral("Abort");
inline const QString CannotOpenFile = QStringLiteral("Cannot open file \"%s\".");
inline const QString CannotPrintFile = QStringLiteral("Cannot print file \"%s\".");
inline const QString OpenFileQuestion = QStringLiteral("Open file \"%s\"?");
inline const QString PrintToPdfTitle = QStringLiteral("Print to PDF file");
inline const QString PdfFileFilter = QStringLiteral("PDF file (*.pdf)|*.pdf|All files (*.*)|*.*");
inline const QString InvalidPpidl = QStringLiteral("SHGetPathFromIDList failed : invalid ppidl");

// The standard edit menu.
inline const QString MenuUndo = QStringLiteral("Undo");
inline const QString MenuCut = QStringLiteral("Cut");
inline const QString MenuCopy = QStringLiteral("Copy");
inline const QString MenuPaste = QStringLiteral("Paste");
inline const QString MenuDelete = QStringLiteral("Delete");
inline const QString MenuSelectAll = QStringLiteral("Select all");
inline const QString MenuFind = QStringLiteral("Find");
inline const QString MenuFindNext = QStringLiteral("Find next");
inline const QString MenuChangeFont = QStringLiteral("Change font");
inline const QString MenuWordWrap = QStringLiteral("Word wrap");
inline const QString MenuLoadFromFile = QStringLiteral("Load from file...");
inline const QString MenuSaveToFile = QStringLiteral("Save to file...");

}  // namespace libtxt
