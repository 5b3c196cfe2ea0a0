#pragma once
// Captions, hints and messages of the main window's controls and actions.

#include <QString>

namespace mwtxt {

inline const QString Aloita = QStringLiteral("Aloita");
inline const QString AloitaHint = QStringLiteral("Aloita valitun tapahtuman käsittely");
inline const QString Lopeta = QStringLiteral("Lopeta");
inline const QString LopetaHint = QStringLiteral("Lopeta valitun tapahtuman käsittely");
inline const QString Valmis = QStringLiteral("Valmis");
inline const QString Muokkaa = QStringLiteral("Muokkaa");
inline const QString RadatMuokkaaHint = QStringLiteral("Muokkaa valitun radan ja rastien tietoja");
inline const QString Uusi = QStringLiteral("Uusi");
inline const QString RadatUusiHint = QStringLiteral("Lisää uusi rata valittuun tapahtumaan");
inline const QString Tuo = QStringLiteral("Tuo");
inline const QString VirkistaLaitteet = QStringLiteral("Virkistä laitteet");
inline const QString Laitteet = QStringLiteral("Laitteet");
inline const QString LaitteetHint = QStringLiteral("Näytä laitteiden asetukset");
inline const QString Tulos = QStringLiteral("Tulos");
inline const QString Asetukset = QStringLiteral("Asetukset");
inline const QString AsetuksetHint = QStringLiteral("Näytä ohjelman asetukset");
inline const QString YhdistaHenkilot = QStringLiteral("Yhdistä henkilöt");
inline const QString Yhdista = QStringLiteral("Yhdistä");
inline const QString YhdistaHenkilotHint = QStringLiteral("Yhdistä toisen henkilön tiedot tähän henkilöön");
inline const QString Lisaa = QStringLiteral("Lisää");
inline const QString Virkista = QStringLiteral("Virkistä");
inline const QString VirkistaPuuHint = QStringLiteral("Virkistä navigointipuu");
inline const QString Kutista = QStringLiteral("Kutista");
inline const QString KutistaHint = QStringLiteral("Kutista koko navigointipuu");
inline const QString Laajenna = QStringLiteral("Laajenna");
inline const QString LaajennaHint = QStringLiteral("Laajenna koko navigointipuu");
inline const QString GridEditHint = QStringLiteral("Muokkaa valittua suoritusta");
inline const QString KirjaaUusi = QStringLiteral("Kirjaa uusi");
inline const QString GridNewHint = QStringLiteral("Kirjaa uusi suoritus");
inline const QString Poista = QStringLiteral("Poista");
inline const QString GridDeleteHint = QStringLiteral("Poista valittu suoritus");
inline const QString UusiTest = QStringLiteral("Uusi (test)");
inline const QString UusiTestHint = QStringLiteral("Vain testikäyttöön!");
inline const QString GridRefreshHint = QStringLiteral("Virkistä suoritustaulukko (F5)");
inline const QString Tulosta = QStringLiteral("Tulosta");
inline const QString GridPrintHint = QStringLiteral("Tulosta valittu suoritus kuittikirjoittimelle");
inline const QString Kirjaa = QStringLiteral("Kirjaa");
inline const QString MuokkaaHenkilo = QStringLiteral("Muokkaa henkilön tietoja");
inline const QString Datasynkronointi = QStringLiteral("Datasynkronointi");
// The notification box of the first synchronisation after linking.
inline const QString Ilmoitus = QStringLiteral("Ilmoitus");
inline const QString FirstSyncRunning = QStringLiteral(
    "Ensimmäisen käyttökerran synkronointi Web -tulospalvelusta on käynnissä. Tapahtumat ja kalenterit ladataan, odota hetki.");
inline const QString FirstSyncReady = QStringLiteral(
    "Ensimmäisen käyttökerran synkronointi Web -tulospalvelusta on valmis. Valmis virkistää Navigaatiopuun ja sulkee ilmoituksen.");
inline const QString WebTulospalvelu = QStringLiteral("Web -tulospalvelu");
inline const QString WebTulospalveluHint = QStringLiteral(
    "Web -tulospalvelun tietojen synkronoinnin tilanne. Voit piilottaa paneelin Piilota -painikkeella.");
inline const QString Lahettamatta = QStringLiteral("Lähettämättä");
inline const QString LahettamattaHint = QStringLiteral("Web -tulospalveluun lähettämättömien sanomien lukumäärä");
inline const QString Vastaanottamatta = QStringLiteral("Vastaanottamatta");
inline const QString VastaanottamattaHint = QStringLiteral("Web -tulospalvelusta saapumattomien sanomien lukumäärä");
inline const QString Lahto = QStringLiteral("Lähtö");
inline const QString Maali = QStringLiteral("Maali");
inline const QString Navigaatiopuu = QStringLiteral("Navigaatiopuu");
inline const QString Automaattivirkistys = QStringLiteral("Automaattivirkistys");
inline const QString AutomaattivirkistysHint =
    QStringLiteral("Virkistetäänkö suoritustaulukko automaattisesti, kun uusi tulos tallennetaan");
inline const QString ViimeisinKasitelty = QStringLiteral("Viimeisin käsitelty");
inline const QString Suoritukset = QStringLiteral("Suoritukset");
inline const QString Henkilot = QStringLiteral("Henkilöt");
inline const QString Seurat = QStringLiteral("Seurat");
inline const QString Kilpailukortit = QStringLiteral("Kilpailukortit");

// The trees' context menu.
inline const QString TreeAloita = QStringLiteral("Aloita tapahtuman käsittely");
inline const QString TreeLopeta = QStringLiteral("Lopeta tapahtuman käsittely");
inline const QString TreeValmis = QStringLiteral("Tapahtuma valmis");
inline const QString TreeEmitLukija = QStringLiteral("Emit -lukija");

// The test entry below the results grid.
inline const QString SyotaChipString = QStringLiteral("Syötä Chip -string");
inline const QString Kasittele = QStringLiteral("Käsittele");

// Guidance.
inline const QString Menu1Text = QStringLiteral("Valitse tapahtuma ja aloita käsittely.");
inline const QString Menu2NoCourses = QStringLiteral("Ei vielä ratoja. Syötä radat.");
inline const QString Menu2Courses = QStringLiteral("Ratoja:");
inline const QString Menu3IconHint = QStringLiteral(
    "Lukulaitteen tila. Havainnollistaa, tarvitseeko lukulaite käyttäjän huomiota.");

// Counters.
inline const QString Maalissa = QStringLiteral("Maalissa: ");
inline const QString Maastossa = QStringLiteral("Maastossa: ");
inline const QString Hylatty = QStringLiteral("Hylätty: ");
inline const QString Keskeytti = QStringLiteral("Keskeytti: ");
inline const QString EiAikaa = QStringLiteral("Ei aikaa: ");

// Processing.
inline const QString EventTooOld = QStringLiteral(
    "Tapahtuman päivämäärä on yli 30 päivää menneisyydessä. Vain korkeintaan 30 päivää vanhoja tapahtumia voi käsitellä.");
inline const QString EventInPast =
    QStringLiteral("Tapahtuman päivämäärä on menneisyydessä. Haluatko silti aloittaa tapahtuman käsittelyn?");
inline const QString StopUnsent = QStringLiteral(
    "Web -tulospalveluun on lähettämättä sanomia. Varmista, että kaikki sanomat on lähetetty ennen kuin asetat tapahtuman "
    "valmiiksi tai suljet ohjelman, muutoin kaikkia tietoja ei ole lähetetty Web -tulospalveluun.");
inline const QString ReadyUnsent = QStringLiteral(
    "Web -tulospalveluun on lähettämättä sanomia. Ei ole suositeltavaa sulkea ohjelmaa, kun kaikkia sanomia ei ole lähetetty "
    "Web -tulospalveluun. Haluatko silti aserttaa tapahtuman valmiiksi?");
inline const QString ReadyWait = QStringLiteral("Tapahtuma on asetettu Valmis -tilaan. Odota hetki.");
inline const QString MsgStart = QStringLiteral("Tapahtuman kasittely alkaa");
inline const QString MsgStop = QStringLiteral("Tapahtuman kasittely loppuu");
inline const QString MsgReady = QStringLiteral("Tapahtuma valmis");
inline const QString LastEventFailed = QStringLiteral("Virhe tietokoneen viimeksi käsitellyn tapahtuman päivityksessä: ");

// Grid actions.
inline const QString NoCourses = QStringLiteral(
    "Tapahtumassa ei ole yhtään rataa määriteltynä. Tätä toimintoa ei voi suorittaa ennen kuin tapahtumassa on ratoja.");
inline const QString EditNotAllowed = QStringLiteral(
    "Tuloksen muokkaus ei ole sallittu, koska tapahtuman käsittelyä ei ole aloitettu. Aloita ensin tapahtuman käsittely.");
inline const QString DeleteForest = QStringLiteral(
    "Haluatko poistaa maastoon kirjauksen? Jos se on jo lähetetty Web -tulospalveluun, se poistetaan myös sieltä.");
inline const QString DeleteRun = QStringLiteral(
    "Haluatko poistaa suorituksen? Jos suoritus on jo lähetetty Web -tulospalveluun, se poistetaan myös sieltä.");
inline const QString NotImplemented = QStringLiteral("Toimintoa ei ole vielä toteutettu (Radat - Tuo)");

}  // namespace mwtxt
