#pragma once
// Texts of the data grid's cell dialogs (memo and picture) and of its table
// properties dialog (English, the component library's own).

#include <QString>

namespace gdlgtxt {

// Picture hints of picture cells.
inline const QString PictureEmpty = QStringLiteral("(empty)");
inline const QString PictureCorrupted = QStringLiteral("(corrupted)");

// Memo dialog.
inline const QString MenuProperties = QStringLiteral("Properties");
inline const QString WantsEnter = QStringLiteral("Wants Enter");
inline const QString WantsTabs = QStringLiteral("Wants Tabs");
inline const QString WrapLines = QStringLiteral("Wrap lines");
inline const QString MenuWindow = QStringLiteral("Window");
inline const QString FontDots = QStringLiteral("Font...");

// Picture dialog.
inline const QString LoadFromFile = QStringLiteral("Load from file");
inline const QString SaveToFile = QStringLiteral("Save to file");
inline const QString Copy = QStringLiteral("Copy");
inline const QString Insert = QStringLiteral("Insert");
inline const QString Cut = QStringLiteral("Cut");
inline const QString Close = QStringLiteral("Close");

// Table properties dialog.
inline const QString TableProperties = QStringLiteral("Table properties");
inline const QString TableColumns = QStringLiteral("Table columns");
inline const QString ShowHorizontalLines = QStringLiteral("Show horizontal lines");
inline const QString DottedLine = QStringLiteral("Dotted line");
inline const QString ColoredActiveRow = QStringLiteral("Colored active row");
inline const QString ColorGradient = QStringLiteral("Color gradient");
inline const QString ColoredEvenRows = QStringLiteral("Colored even rows");
inline const QString FilteredRecordFont = QStringLiteral("Filtered record font");
inline const QString UseGradientForTitle = QStringLiteral("Use gradient for title");
inline const QString FromTo = QStringLiteral("from - to");
inline const QString ShowFilterButtons = QStringLiteral("Show filter buttons in title row");
inline const QString ShowTextFilter = QStringLiteral("Show text filter in the header");
inline const QString ShowFilterFooter = QStringLiteral("Show footer with filter conditions");
inline const QString HighlightRecords = QStringLiteral("Highlight records according data");
inline const QString SetConditions = QStringLiteral("Set conditions...");
inline const QString TextFont = QStringLiteral("Text font");
inline const QString TitleRowFont = QStringLiteral("Title row font");
inline const QString DataRowHeight = QStringLiteral("Data row height:");
inline const QString TitleRowHeight = QStringLiteral("Title row height:");
inline const QString SetColorsFromStyle = QStringLiteral("Set colors from style:");
inline const QString AutomaticColumnsWidth = QStringLiteral("Automatic columns width");
inline const QString SameWidth = QStringLiteral("Same width");
inline const QString WidthAccordingData = QStringLiteral("Width according data length");
inline const QString SetDefaultWidth = QStringLiteral("Set default width");
inline const QString EditColumns = QStringLiteral("Edit columns...");
inline const QString FreezeColumns = QStringLiteral("Freeze columns:");
inline const QString Count = QStringLiteral("Count:");
inline const QString ColorLabel = QStringLiteral("Color:");
inline const QString GroupColumns = QStringLiteral("Group columns");
inline const QString GroupSettings = QStringLiteral("Group settings");
inline const QString ShowMemoPreview = QStringLiteral("Show memo preview");
inline const QString SetDefaultProperties = QStringLiteral("Set default properties");
inline const QString ResetToDefaultQuestion = QStringLiteral("Reset to default properties?");
inline const QString Lines = QStringLiteral("Lines");
inline const QString Colors = QStringLiteral("Colors");
inline const QString Filters = QStringLiteral("Filters");
inline const QString Fonts = QStringLiteral("Fonts");

}  // namespace gdlgtxt
