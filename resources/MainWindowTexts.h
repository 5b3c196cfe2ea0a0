#pragma once
// Texts of the main window, its start-up and closing, the settings dialog and
// the first-use dialog.

#include <QString>

namespace txt {

// ---- start-up and closing ----
inline const QString ProgramVersion = QStringLiteral("26.1");
inline const QString UpgradeFolder = QStringLiteral("db");
inline const QString UpgradeDoneFolder = QStringLiteral("ok");
inline const QString OldVersionFolder = QStringLiteral("vanha_versio");
inline const QString AppPropertyFile = QStringLiteral("sorvex.ini");
inline const QString ForestPropertyFile = QStringLiteral("ResultsClassForest.ini");
inline const QString UpgradeStarting = QStringLiteral("Päivitetään tietokantaa versioon -> ");
inline const QString UpgradeScriptFailed = QStringLiteral("Virhe tietokannan versiopäivityksessä: ");
inline const QString UpgradeFailed = QStringLiteral(
    "Ohjelman tietokannan päivitys epäonnistui, ohjelman suoritus keskeytyy.\r\n\r\nLue lisää ohjelman asennusohjeesta.");
inline const QString SecretCaption = QStringLiteral("Syötä tietokoneen client secret");
inline const QString SecretPrompt = QStringLiteral("Client secret");
inline const QString SecretMissing = QStringLiteral(
    "sorvex -tulospalveluohjelmaa ei voi käyttää, jos sitä ei ole linkitetty Web -tulospalveluun. Linkitys ei onnistu ilman "
    "Client Secret -tietoa. Ohjelman suoritus päättyy.");
inline const QString CloseUnsent = QStringLiteral(
    "Web -tulospalveluun on lähettämättä sanomia. Ei ole suositeltavaa sulkea ohjelmaa, kun kaikkia sanomia ei ole lähetetty "
    "Web -tulospalveluun. Haluatko silti sulkea ohjelman (lähettämättömät sanomat jäävät puuttumaan Web -tulospalvelusta)?");
inline const QString CloseQuestion = QStringLiteral("Haluatko sulkea ohjelman?");
// logged when the system or the terminal asks the program to end (+ "SIGTERM")
inline const QString CloseBySignal = QStringLiteral("Käyttöjärjestelmä pyysi ohjelman sulkemista, ohjelma suljetaan: ");
inline const QString PaneClient = QStringLiteral("Tietokone");
inline const QString PaneVersion = QStringLiteral("Ohjelmaversio");
inline const QString WebNoConnection = QStringLiteral("Ei yhteyttä Web -tulospalveluun.");
// logged once when the connection to the web service is lost, and once when it is back
inline const QString WebConnectionLost = QStringLiteral("Yhteys Web -tulospalveluun katkesi.");
inline const QString WebConnectionBack = QStringLiteral("Yhteys Web -tulospalveluun palautui.");

// ---- first-use dialog ----
inline const QString FirstUseCaption = QStringLiteral("Tulospalveluohjelman ensimmäinen käyttökerta");
inline const QString FirstUseWelcome = QStringLiteral("Olet aloittamassa sorvex -tulospalveluohjelman käytön. Tervetuloa!");
inline const QString FirstUseInfo = QStringLiteral(
    "Ennen kuin tulospalveluohjelmaa voidaan käyttää, tulee se linkittää Web -tulospalveluun. Syötä alla olevaan kenttään saamasi "
    "väliaikainen käyttötunnus. Sen avulla käyttöösi ladataan kaikki tapahtumat ja kalenterit, joihin sinulla on oikeus.");
inline const QString FirstUseInternet = QStringLiteral("Ennen kuin jatkat, varmista että tietokone on kytketty Internetiin.");
inline const QString FirstUseCodeLabel = QStringLiteral("Väliaikainen käyttötunnus");
inline const QString FirstUseCodeRequired = QStringLiteral(
    "Väliaikainen käyttötunnus on pakollinen tieto. Syötä väliaikainen käyttötunnus, jotta voit jatkaa.");
inline const QString FirstUseRefused = QStringLiteral(
    "Väliaikaisen käyttötunnuksen käyttöönotto keskeytyi virheeseen. Tulospalveluohjelmaa ei voi linkittää Web "
    "-tulospalveluun. Varmista, että syötit väliaikaisen käyttötunnuksen oikein. Virhe:");
inline const QString FirstUseCancelled = QStringLiteral(
    "sorvex -tulospalveluohjelmaa ei voi käyttää, jos sitä ei ole linkitetty Web -tulospalveluun. Ohjelman suoritus päättyy.");
inline const QString ButtonOK = QStringLiteral("OK");
inline const QString ButtonCancel = QStringLiteral("Peruuta");

// ---- settings dialog ----
inline const QString SettingsCaption = QStringLiteral("Asetukset");
inline const QString SettingsPageGeneral = QStringLiteral("Yleiset");
inline const QString SettingsPageDevices = QStringLiteral("Laiteet");
inline const QString SettingsPageUI = QStringLiteral("Käyttöliittymä");
inline const QString SettingsPageMessages = QStringLiteral("Ilmoitukset");
inline const QString SettingsBoxComputer = QStringLiteral("Tietokone");
inline const QString SettingsName = QStringLiteral("Nimi");
inline const QString SettingsOwner = QStringLiteral("Omistaja");
inline const QString SettingsVersion = QStringLiteral("Ohjelmaversio");
inline const QString SettingsSecret = QStringLiteral("Client Secret");
inline const QString SettingsBoxReading = QStringLiteral("Kilpailukorttien luku");
inline const QString SettingsReadSame = QStringLiteral("Lue sama kilpailukortti uudelleen");
inline const QString SettingsReadDelay = QStringLiteral("Tulosautomaatin lukuviive");
inline const QString SettingsSeconds = QStringLiteral("sekuntia");
inline const QString SettingsReadForest = QStringLiteral("Käsittele maastoon kirjatun luku myös Lähtö -toiminnossa ");
inline const QString SettingsBoxReceipt = QStringLiteral("Väliaikatulosteen tulostus");
inline const QString SettingsBoxTest = QStringLiteral("Testi");
inline const QString SettingsTestNewRun = QStringLiteral("Luetun kilpailukortin syöttö merkkijonona");
inline const QString SettingsBoxBoard = QStringLiteral("Tulosautomaatti");
inline const QString SettingsLook = QStringLiteral("Ulkoasu");
inline const QString SettingsLookLight = QStringLiteral("Vaalea");
inline const QString SettingsLookDark = QStringLiteral("Tumma");
inline const QString SettingsRentedSound = QStringLiteral("Lainakortin lukuääni");
inline const QString SettingsMPSound = QStringLiteral("Hylätty lukuääni");
inline const QString SettingsTestButton = QStringLiteral("Testi");
inline const QString SoundNone = QStringLiteral("Ei mitään");
inline const QString SoundOK = QStringLiteral("OK");
inline const QString SoundInfo = QStringLiteral("Ilmoitus");
inline const QString SoundWarning = QStringLiteral("Varoitus");
inline const QString SoundError = QStringLiteral("Virhe");
inline const QString SettingsNameRequired = QStringLiteral("Tietokoneen nimi on pakollinen tieto. Syötä tietokoneen nimi.");
inline const QString SettingsOwnerRequired =
    QStringLiteral("Tietokoneen omistaja on pakollinen tieto. Syötä tietokoneen omistaja.");
inline const QString SettingsSecretRequired =
    QStringLiteral("Tietokoneen client secret on pakollinen tieto. Syötä tietokoneen client secret.");

}  // namespace txt
