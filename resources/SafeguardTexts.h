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

// %1 the bytes the frame held after its sync mark, %2 its card number.
inline const QString ChipReaderUnsoundFrame = QStringLiteral(
    "Kortinlukijalta tuli vajaa tai tarkistussummaltaan virheellinen kehys (%1 tavua, kortti %2); sitä ei hyväksytä.");

// Causes of database failures; %1 the database's file or server path.
inline const QString DbCauseDiskFull = QStringLiteral(
    "Levy on täynnä: tietokantaa %1 ei voi kirjoittaa. Vapauta levytilaa; lukemista voi jatkaa sen jälkeen.");
inline const QString DbCauseReadOnly = QStringLiteral(
    "Tietokantatiedostoon %1 ei voi kirjoittaa (tiedosto tai levy on vain luku -tilassa tai oikeudet puuttuvat). "
    "Anna ohjelman käyttäjälle kirjoitusoikeus tiedostoon ja sen kansioon.");
inline const QString DbCauseDamaged = QStringLiteral(
    "Tietokantatiedosto %1 on vioittunut. Tarkista se komennolla \"gfix -v -full\" ja korjaa komennolla "
    "\"gfix -mend\", tai palauta tiedosto varmuuskopiosta.");
inline const QString DbCauseLogin = QStringLiteral(
    "Tietokanta %1 ei hyväksynyt käyttäjätunnusta tai salasanaa. Tarkista tiedoston vrkEventSystem.ini kohdan "
    "[CONNECT_PARAMS] avaimet USER_NAME ja PASSWORD.");
inline const QString DbCauseMissing = QStringLiteral(
    "Tietokantaa %1 ei löydy. Tarkista tiedoston vrkEventSystem.ini kohdan [CONNECT_PARAMS] avain DB_NAME.");
inline const QString DbCauseConnectionLost = QStringLiteral(
    "Yhteys tietokantaan %1 katkesi tai palvelin ei vastaa. Tarkista, että tietokantapalvelin on käynnissä ja "
    "verkko toimii.");

// %1 the method that found the connection gone.
inline const QString DbReconnected =
    QStringLiteral("Yhteys tietokantaan oli katkennut (%1); yhteys muodostettiin uudelleen ja työ jatkuu.");
// Followed by the engine's text.
inline const QString DbReconnectFailed =
    QStringLiteral("Yhteys tietokantaan on katkennut eikä sitä saatu muodostettua uudelleen: ");

// %1 the card number.
inline const QString ChipReadKept = QStringLiteral(
    "Kortin %1 luentaa ei voitu tallentaa; luenta on tallessa ja käsitellään uudelleen, kun tietokanta "
    "ottaa taas tietoja vastaan.");

// %1 the card number.
inline const QString ChipReadKeptRetried = QStringLiteral("Käsitellään uudelleen tallentamatta jäänyt luenta (kortti %1).");

}  // namespace txt
