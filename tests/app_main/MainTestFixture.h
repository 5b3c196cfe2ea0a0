#pragma once
// The main window over a fresh event database in a private program folder,
// with the first-use and settings dialogs, message boxes, input boxes and
// the web link answered by the test.

#include "app/vrkFirstUse.h"
#include "app/vrkMainWebLink.h"
#include "app/vrkMainWebSync.h"
#include "app/vrkSettings.h"
#include "platform/ui/Dialogs.h"
#include "tests/support/DataModuleFixture.h"

#include <QStringList>
#include <functional>
#include <memory>

class MainTestFixture {
public:
    MainTestFixture();
    ~MainTestFixture();

    // A linked computer: the active client row with this version and secret.
    void InsertClient(const QString& Version, const QString& Secret = QStringLiteral("s3cret"));
    // Writes a file under the program folder (folders made as needed).
    void WriteFile(const QString& RelativePath, const QByteArray& Content);
    bool Exists(const QString& RelativePath) const;
    bool TableExists(const QString& Table);

    DataModuleFixture Data;
    std::unique_ptr<TFormFirstUse> FirstUse;
    std::unique_ptr<TformSettings> Settings;
    // The web synchronisation's side of the window; its worker is replaced
    // by the counters below, its registration is the real one.
    std::unique_ptr<TMainWebSync> WebSync;
    QStringList Boxes;         // texts of the message boxes shown
    int BoxAnswer = IDOK;      // answer to a box; question boxes get it too
    QString SecretAnswer;      // the input box's answer (empty: cancelled)
    int InputBoxes = 0;
    std::function<int(TCustomForm*)> OnModal;  // first-use dialog, settings …
    int WebStarts = 0, WebStops = 0;
    QStringList Calendars;
    QList<int64_t> EventDownloads;

private:
    TMainWebLink FOldLink;
};
