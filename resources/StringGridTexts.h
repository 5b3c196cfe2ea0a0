#pragma once
// Texts of the library's editable string grid and its in-place editor.

#include <QString>

namespace sgtxt {
// The floating progress window while a long sort runs: "Loading" + " of data...".
inline const QString Loading = QStringLiteral("Loading");
inline const QString OfData = QStringLiteral(" of data...");
// Operations reported to OnProgress.
inline const QString ProgressSort = QStringLiteral("sort");
inline const QString ProgressEnd = QStringLiteral("end");
// Appended to an RTF cell's hint for the library's HTML hint window.
inline const QString HintRichTextMarker = QStringLiteral("<<HINTRICHTEXT>>");
// The last entry of a colour list, which opens the colour dialog.
inline const QString CustomColor = QStringLiteral("Custom...");
// The rich text editor's pop-up menu.
inline const QString ConfirmChanges = QStringLiteral("Confirm changes");
inline const QString CancelChanges = QStringLiteral("Cancel changes");
inline const QString EscSuffix = QStringLiteral(" (Esc)");
// Editor events raised through OnEditorEvent.
inline const QString EditorCreated = QStringLiteral("EditorCreated");
inline const QString PickListBeforeShow = QStringLiteral("PickListBeforeShow");
inline const QString PickListAfterShow = QStringLiteral("PickListAfterShow");
inline const QString PickListAfterHide = QStringLiteral("PickListAfterHide");
}  // namespace sgtxt

namespace sgtxt {
// Table and INI files that cannot be read or written.
inline const QString CannotReadFile = QStringLiteral("Cannot read file \"%1\": %2");
inline const QString CannotWriteFile = QStringLiteral("Cannot write file \"%1\": %2");
inline const QString UnknownEncoding = QStringLiteral("Unknown text encoding \"%1\".");
}  // namespace sgtxt
