#pragma once
// The program's texts (Finnish) for settings, start-up and log failures the
// user has to hear about.

#include <QString>

namespace txt {

inline const QString IniUnreadable =
    QStringLiteral("Asetustiedostoa ei voi lukea; oletusarvot ovat käytössä eikä tiedostoa kirjoiteta: ");

// %1 the runtime folder, %2 the system's reason.
inline const QString InstanceLockFailed = QStringLiteral(
    "Ohjelman lukitustiedostoa ei voi luoda tai avata kansiossa %1 (%2).\r\n\r\nTarkista kansion "
    "oikeudet tai anna toinen kansio ympäristömuuttujalla SORVEX_RUNTIME_DIR.");

// %1 the day log's file, %2 the system's reason.
inline const QString DayLogUnwritable = QStringLiteral(
    "Päivälokia %1 ei voi kirjoittaa (%2). Ilmoituksia ei tallenneta; tarkista ohjelmakansion oikeudet.");

// %1 the file, %2 the section, %3 the key, %4 the text found.
inline const QString IniBadNumber =
    QStringLiteral("Asetustiedoston %1 kohdan [%2] avaimen %3 arvo \"%4\" ei ole kelvollinen luku; oletusarvo on käytössä.");

// Followed by the failure's own text.
inline const QString ChipReaderHandlingFailed = QStringLiteral("Kortinlukijan tietojen käsittely epäonnistui: ");

}  // namespace txt
