#include "engine/builtin_texts.h"

#include "engine/iso_day.h"

#include <atomic>
#include <chrono>
#include <cstdio>
#include <vector>

namespace devical::engine {

namespace {

// One row a text, its three languages side by side, so that none can be forgotten.
struct BuiltIn {
    std::string_view key;
    std::string_view french;
    std::string_view english;
    std::string_view german;
};

constexpr BuiltIn kTexts[] = {
    // The message catalogue, under section Dialogs of the language file.
    {"DontExistMem", "Le fichier des mémoires n'existe plus (memory.txt)",
     "The memory file no longer exists (memory.txt)", "Die Speicherdatei ist nicht mehr vorhanden (memory.txt)"},
    {"DontExistRate", "Le fichier des devises n'existe plus (rates.txt)",
     "The currency file no longer exists (rates.txt)", "Die Währungsdatei ist nicht mehr vorhanden (rates.txt)"},
    {"DontExistTaxe", "Le fichier des taxes n'existe plus (taxes.txt)", "The tax file no longer exists (taxes.txt)",
     "Die Steuerdatei ist nicht mehr vorhanden (taxes.txt)"},
    {"SelBeforeEdit", "Sélectionner une ligne avant de la modifier", "Select a line before editing it",
     "Bitte vor dem Ändern eine Zeile auswählen"},
    {"SelBeforeDel", "Sélectionner une ligne avant de la supprimer", "Select a line before deleting it",
     "Bitte vor dem Löschen eine Zeile auswählen"},
    {"WantDelRow", "Désirez-vous supprimer la ligne", "Do you want to delete the line",
     "Möchten Sie folgende Zeile löschen:"},
    {"WantReplace1", "Désirez-vous remplacer la ligne", "Do you want to replace the line", "Soll die Zeile"},
    {"WantReplace2", "par la ligne", "with the line", "ersetzt werden durch die Zeile"},
    {"SelMemBeforeOk", "Sélectionner une mémoire avant de la valider", "Select a memory before confirming",
     "Bitte vor dem Übernehmen einen Speicher auswählen"},
    {"SelRateBeforeOk", "Sélectionner une monnaie avant de la valider", "Select a currency before confirming",
     "Bitte vor dem Übernehmen eine Währung auswählen"},
    {"SelTaxeBeforeOk", "Sélectionner une taxe avant de la valider", "Select a tax rate before confirming",
     "Bitte vor dem Übernehmen einen Steuersatz auswählen"},
    {"Deviation_No", "Pas d'écart de conversion", "No conversion difference", "Keine Umrechnungsdifferenz"},
    {"Deviation_2Dec", "Ecarts de conversion calculés pour 2 décimales",
     "Conversion differences are calculated for 2 decimal places",
     "Umrechnungsdifferenzen werden für 2 Dezimalstellen berechnet"},
    {"Deviation_Yes", "Ecarts de conversion (Centimes)", "Conversion differences (cents)",
     "Umrechnungsdifferenzen (Cent)"},
    {"Dev_Mem1", "La devise en mémoire", "The currency in memory", "Die Währung im Speicher"},
    {"Dev_Mem2", "est différente de la devise en cours", "differs from the current currency",
     "unterscheidet sich von der aktuellen Währung"},
    {"Dev_Mem3", "Stop", "Stop", "Abbruch"},
    {"CharNotInFile", "Ce caractère ne peut pas être enregistré : « %1 »", "This character cannot be saved: “%1”",
     "Dieses Zeichen kann nicht gespeichert werden: „%1“"},

    // The currency list's update from the central bank's rates.
    {"RatesUpdating", "Mise à jour des taux…", "Updating the rates…", "Kurse werden aktualisiert…"},
    {"RatesUpdated", "%1 taux mis à jour (BCE, %2)", "%1 rates updated (ECB, %2)", "%1 Kurse aktualisiert (EZB, %2)"},
    {"RatesUpdatedOne", "%1 taux mis à jour (BCE, %2)", "%1 rate updated (ECB, %2)", "%1 Kurs aktualisiert (EZB, %2)"},
    {"RatesFailed", "Le programme devical-rates n'a pu être lancé", "The devical-rates program could not be started",
     "Das Programm devical-rates konnte nicht gestartet werden"},
    {"RatesDate", "Taux BCE du %1", "ECB rate of %1", "EZB-Kurs vom %1"},
    {"RatesOld", "ancien de plus de cinq jours ouvrés", "more than five working days old",
     "älter als fünf Arbeitstage"},

    // The paper tape.
    {"TapeClear", "Effacer toute la bande de calcul ?", "Clear the whole paper tape?",
     "Den ganzen Rechenstreifen löschen?"},
    {"PrintFailed", "La bande de calcul n'a pu être imprimée. %1", "The paper tape could not be printed. %1",
     "Der Rechenstreifen konnte nicht gedruckt werden. %1"},

    // How a question ends: French sets a blank before its mark.
    {"QuestionMark", " ?", "?", "?"},

    // Numbers.
    {"Overflow", "Dépassement de capacité", "Overflow", "Überlauf"},
    {"NotANumber", "'%1' n'est pas une valeur flottante correcte", "'%1' is not a valid number",
     "'%1' ist keine gültige Zahl"},
    {"NotAWholeNumber", "'%1' n'est pas une valeur entière correcte", "'%1' is not a valid whole number",
     "'%1' ist keine gültige ganze Zahl"},
    {"SettingPlace", "Fichier %1, section [%2], clé %3", "File %1, section [%2], key %3",
     "Datei %1, Abschnitt [%2], Schlüssel %3"},

    // Files: the first line of a failure, the path after it.
    {"CannotRead", "Ne peut lire le fichier", "Cannot read the file", "Datei nicht lesbar:"},
    {"CannotWrite", "Ne peut écrire le fichier", "Cannot write the file", "Datei nicht beschreibbar:"},
    {"CannotCreate", "Ne peut créer le fichier", "Cannot create the file", "Datei nicht anlegbar:"},
    {"CannotOpen", "Ne peut ouvrir le fichier", "Cannot open the file", "Datei nicht zu öffnen:"},
    {"CannotRemove", "Ne peut supprimer le fichier", "Cannot delete the file", "Datei nicht löschbar:"},
    {"CannotLock", "Ne peut verrouiller le dossier", "Cannot lock the folder", "Ordner nicht sperrbar:"},
    {"CannotCreateFolder", "Ne peut créer le dossier", "Cannot create the folder", "Ordner nicht anlegbar:"},
    {"CannotOpenFolder", "Ne peut ouvrir le dossier", "Cannot open the folder", "Ordner nicht zu öffnen:"},
    {"NotRegularFile", "ce n'est pas un fichier ordinaire", "not a regular file", "keine gewöhnliche Datei"},
    {"ChangedMeanwhile", "Le fichier %1 a été modifié par un autre programme entre-temps",
     "The file %1 was changed by another program meanwhile",
     "Die Datei %1 wurde inzwischen von einem anderen Programm geändert"},
    {"ListMerged",
     "Le fichier %1 a été modifié par un autre programme entre-temps : vos modifications ont été appliquées à son "
     "nouveau contenu.",
     "The file %1 was changed by another program meanwhile: your changes were applied to its new content.",
     "Die Datei %1 wurde inzwischen von einem anderen Programm geändert: Ihre Änderungen wurden auf den neuen Inhalt "
     "angewendet."},
    {"DirectoryInUse", "Devical travaille déjà sur %1 (%2) : fermez-le d'abord.",
     "Devical is already working on %1 (%2): close it first.",
     "Devical arbeitet bereits mit %1 (%2): Schließen Sie es zuerst."},
    {"JournalDamaged", "le journal est endommagé", "the journal is damaged", "das Journal ist beschädigt"},
    {"JournalFileKept", "Une mise à jour interrompue n'a pas remplacé %1, modifié entre-temps : il reste tel quel",
     "An interrupted update did not replace %1, which was changed meanwhile: it stays as it is",
     "Eine unterbrochene Aktualisierung hat %1 nicht ersetzt, da die Datei inzwischen geändert wurde: sie bleibt, "
     "wie sie ist"},
    {"JournalSetAside",
     "Le journal d'une mise à jour interrompue est endommagé : mis de côté sous %1, la mise à jour reste inachevée",
     "The journal of an interrupted update is damaged: set aside as %1, the update stays unfinished",
     "Das Journal einer unterbrochenen Aktualisierung ist beschädigt: als %1 beiseitegelegt, die Aktualisierung "
     "bleibt unvollständig"},
    {"LinkOutside", "c'est un lien vers %1, hors de son dossier", "it is a link to %1, outside its folder",
     "Verknüpfung auf %1, außerhalb ihres Ordners"},
    {"UnknownOption", "option inconnue « %1 », ignorée", "unknown option '%1' ignored",
     "unbekannte Option „%1“ wird ignoriert"},
    {"NoInstanceLock", "sans verrou d'instance unique : %1", "no single-instance lock: %1",
     "ohne Sperre gegen eine zweite Instanz: %1"},
    {"DailyRatesFailed", "la mise à jour quotidienne des taux : %1", "the daily rates update: %1",
     "die tägliche Kursaktualisierung: %1"},
    {"CannotPrepare", "Devical ne peut préparer ses fichiers dans %1", "Devical cannot prepare its files in %1",
     "Devical kann seine Dateien in %1 nicht vorbereiten"},
    {"OtherOwner",
     "Devical n'utilisera pas %1 : il appartient à un autre utilisateur (uid %2).\nDéplacez-le et relancez "
     "Devical pour avoir un dossier à vous.",
     "Devical will not use %1: it belongs to another user (uid %2).\nMove it aside and start Devical again to get a "
     "folder of your own.",
     "Devical verwendet %1 nicht: Es gehört einem anderen Benutzer (uid %2).\nVerschieben Sie es und starten Sie "
     "Devical neu, um einen eigenen Ordner zu erhalten."},
    {"SharedFolder",
     "Devical n'utilisera pas %1 : d'autres utilisateurs peuvent en modifier les fichiers.\nRendez-le à vous "
     "seul (chmod go-w '%1'), puis relancez Devical.",
     "Devical will not use %1: other users may change the files in it.\nMake it yours alone (chmod go-w '%1'), then "
     "start Devical again.",
     "Devical verwendet %1 nicht: Andere Benutzer können die Dateien darin ändern.\nMachen Sie es zu Ihrem eigenen "
     "(chmod go-w '%1') und starten Sie Devical neu."},
    {"FileTooBig", "il dépasse la taille admise de %1 Mio", "it is larger than the %1 MiB allowed",
     "größer als die zulässigen %1 MiB"},
    {"ListLineCut", "Fichier %1, ligne %2 : la ligne dépasse %3 octets ; la suite en est ignorée.",
     "File %1, line %2: the line is longer than %3 bytes; the rest of it is ignored.",
     "Datei %1, Zeile %2: Die Zeile ist länger als %3 Bytes; der Rest wird ignoriert."},
    {"ListLinesCut",
     "Fichier %1 : %2 lignes dépassent %3 octets, la première à la ligne %4 ; la suite de chacune est ignorée.",
     "File %1: %2 lines are longer than %3 bytes, the first at line %4; the rest of each is ignored.",
     "Datei %1: %2 Zeilen sind länger als %3 Bytes, die erste in Zeile %4; der Rest jeder Zeile wird ignoriert."},
    {"RatesNotPositive", "Le taux de %1, « %2 », n'est pas un nombre positif.",
     "The rate of %1, \"%2\", is not a positive number.", "Der Kurs von %1, „%2“, ist keine positive Zahl."},
    {"RatesCutInCube", "Le fichier s'arrête au milieu d'un élément Cube.",
     "The file is cut short inside a Cube element.", "Die Datei bricht mitten in einem Cube-Element ab."},
    {"RatesMalformed", "Les éléments Cube du fichier sont mal formés.", "The file's Cube elements are malformed.",
     "Die Cube-Elemente der Datei sind fehlerhaft."},
    {"RatesEmpty", "Le fichier est vide.", "The file is empty.", "Die Datei ist leer."},
    {"RatesWebPage", "Le fichier est une page web, pas les taux de référence de la BCE.",
     "The file is a web page, not the ECB's reference rates.",
     "Die Datei ist eine Webseite, nicht die Referenzkurse der EZB."},
    {"RatesNotEcb", "Le fichier n'est pas au format des taux de référence de la BCE (pas de gesmes:Envelope).",
     "The file is not in the ECB's reference rate format (no gesmes:Envelope).",
     "Die Datei hat nicht das Format der EZB-Referenzkurse (kein gesmes:Envelope)."},
    {"RatesCutShort", "Le fichier est tronqué : il ne finit pas par </gesmes:Envelope>.",
     "The file is cut short: it does not end with </gesmes:Envelope>.",
     "Die Datei ist abgeschnitten: Sie endet nicht mit </gesmes:Envelope>."},
    {"RatesNoCode", "Un taux du %1 n'a pas de code de devise à trois lettres.",
     "A rate of %1 has no three-letter currency code.", "Ein Kurs vom %1 hat keinen dreistelligen Währungscode."},
    {"RatesMissing", "Le taux de %1 manque.", "The rate of %1 is missing.", "Der Kurs von %1 fehlt."},
    {"RatesTwice", "Le taux de %1 figure deux fois pour le %2.", "The rate of %1 is given twice for %2.",
     "Der Kurs von %1 steht für den %2 zweimal in der Datei."},
    {"RatesNone", "Le fichier ne donne aucun taux pour le %1.", "The file gives no rate for %1.",
     "Die Datei enthält keinen Kurs für den %1."},
    {"RatesNoDate", "Un jour de taux n'a pas de date.", "A day of rates has no date.", "Ein Kurstag hat kein Datum."},
    {"RatesNotADate", "« %1 » n'est pas une date.", "\"%1\" is not a date.", "„%1“ ist kein Datum."},
    {"RatesNoDay", "Le fichier ne donne aucun taux daté.", "The file gives no dated rates.",
     "Die Datei enthält keine datierten Kurse."},
    {"RatesHttp", "%1 : le serveur a répondu HTTP %2 %3.", "%1: the server answered HTTP %2 %3.",
     "%1: Der Server antwortete HTTP %2 %3."},
    {"RatesNoAnswer", "%1 : pas de réponse en %2 s.", "%1: no answer within %2 s.",
     "%1: keine Antwort innerhalb von %2 s."},
    {"RatesTooBig", "%1 : le fichier est bien trop gros pour être celui des taux de la BCE.",
     "%1: the file is far too big to be the ECB's rates.", "%1: Die Datei ist viel zu groß für die Kurse der EZB."},
    {"RatesUnreachable", "%1 : les taux n'ont pu être téléchargés (%2).", "%1: the rates could not be downloaded (%2).",
     "%1: Die Kurse konnten nicht heruntergeladen werden (%2)."},
    {"RatesNothingChanged", "Rien n'a été modifié.", "Nothing was changed.", "Es wurde nichts geändert."},
    {"RatesBadUrl", "« %1 » n'est pas une adresse http, https ou file.",
     "\"%1\" is not an http, https or file address.", "„%1“ ist keine http-, https- oder file-Adresse."},
    {"RatesHistoryDamaged",
     "L'historique des taux (RatesHistory.dat) est endommagé : relancez devical-rates --history.",
     "The rates history (RatesHistory.dat) is damaged: run devical-rates --history again.",
     "Der Kursverlauf (RatesHistory.dat) ist beschädigt: devical-rates --history erneut ausführen."},
    {"RatesNoHistory", "Aucun historique des taux : lancez d'abord devical-rates --history.",
     "No rates history yet: run devical-rates --history first.",
     "Noch kein Kursverlauf: zuerst devical-rates --history ausführen."},
    {"RatesDateOutside", "Pas de taux BCE pour le %1 : l'historique va du %2 au %3.",
     "No ECB rates for %1: the history runs from %2 to %3.",
     "Keine EZB-Kurse für den %1: der Verlauf reicht vom %2 bis %3."},
    {"RatesDateTaken", "Pas de taux BCE le %1 : taux du %2, le jour ouvré précédent.",
     "No ECB rates on %1: the rates of %2, the working day before.",
     "Keine EZB-Kurse am %1: die Kurse vom %2, dem Arbeitstag davor."},
    {"RatesUnpublished", "Pas de taux BCE ce jour-là, taux gardé : %1", "No ECB rate that day, rate kept: %1",
     "Kein EZB-Kurs an dem Tag, Kurs behalten: %1"},
    {"RatesHistoryKept", "Historique : %1 jours, du %2 au %3", "History: %1 days, from %2 to %3",
     "Verlauf: %1 Tage, vom %2 bis %3"},
    {"RatesHistoryKeptOne", "Historique : %1 jour, le %2", "History: %1 day, %2", "Verlauf: %1 Tag, der %2"},
    {"RatesDayHint", "Jour des taux BCE, de l'historique gardé par devical-rates --history (Entrée)",
     "Day of the ECB rates, from the history kept by devical-rates --history (Enter)",
     "Tag der EZB-Kurse, aus dem Verlauf von devical-rates --history (Eingabe)"},
    {"Tape_Face/RatesDay", " (BCE du %1)", " (ECB of %1)", " (EZB vom %1)"},
    {"RatesHelpHistory",
     "Récupérer tout l'historique des taux de la BCE et le garder dans le dossier du programme (RatesHistory.dat).",
     "Fetch the ECB's whole history of rates and keep it in the program directory (RatesHistory.dat).",
     "Den ganzen Kursverlauf der EZB holen und im Programmordner ablegen (RatesHistory.dat)."},
    {"RatesHelpDate", "Prendre les taux du jour DATE (AAAA-MM-JJ, ou today) dans l'historique gardé.",
     "Take the rates of DATE (YYYY-MM-DD, or today) from the history kept.",
     "Die Kurse vom Tag DATE (JJJJ-MM-TT, oder today) aus dem abgelegten Verlauf nehmen."},
    {"RatesDateUsage", "--date prend ses taux dans l'historique gardé : ni --url, ni --file, ni --history avec lui",
     "--date takes its rates from the history kept: not with --url, --file or --history",
     "--date nimmt die Kurse aus dem abgelegten Verlauf: nicht mit --url, --file oder --history"},
    {"RatesUsage", "indiquez --url ou --file, et rien d'autre", "give --url or --file, and nothing else",
     "geben Sie --url oder --file an, sonst nichts"},
    // What devical-rates prints for a person, and its --help.
    {"RatesSummary", "Taux BCE du %1 : %2, %3", "ECB rates of %1: %2, %3", "EZB-Kurse vom %1: %2, %3"},
    {"RatesChangedCount", "%1 modifiés", "%1 changed", "%1 geändert"},
    {"RatesChangedCountOne", "%1 modifié", "%1 changed", "%1 geändert"},
    {"RatesAddedCount", "%1 ajoutés", "%1 added", "%1 hinzugefügt"},
    {"RatesAddedCountOne", "%1 ajouté", "%1 added", "%1 hinzugefügt"},
    {"RatesAddedLine", "%1 ajouté -> %2", "%1 added -> %2", "%1 hinzugefügt -> %2"},
    {"RatesFollowedNote", ", devise en cours suivie", ", current currency followed", ", aktuelle Währung übernommen"},
    {"RatesDryRunNote", " (essai : rien n'a été écrit)", " (dry run: nothing written)",
     " (Probelauf: nichts geschrieben)"},
    {"RatesHelp",
     "Met la liste des devises de Devical aux taux de référence de l'euro du jour publiés par la Banque centrale "
     "européenne,\nou à ceux d'un jour passé (--date) de l'historique gardé (--history).\nL'EUR et les taux fixes de "
     "la zone euro ne sont jamais modifiés.",
     "Updates Devical's currency list to the European Central Bank's euro reference rates of the day,\nor to those of "
     "a past day (--date) from the history kept (--history).\nEUR and the fixed euro-area rates are never changed.",
     "Bringt die Währungsliste von Devical auf die Euro-Referenzkurse des Tages der Europäischen Zentralbank\noder auf "
     "die eines vergangenen Tages (--date) aus dem abgelegten Verlauf (--history).\nEUR und die festen Kurse des "
     "Euroraums werden nie geändert."},
    {"RatesHelpUrl", "Lire les taux à l'adresse URL (http, https, file).",
     "Fetch the rates from URL (http, https, file).", "Die Kurse von URL holen (http, https, file)."},
    {"RatesHelpFile", "Importer un fichier déjà téléchargé (du jour, des 90 jours ou historique).",
     "Import a file already downloaded (daily, 90-day or history).",
     "Eine bereits heruntergeladene Datei einlesen (Tages-, 90-Tage- oder Gesamtdatei)."},
    {"RatesHelpAdd", "Ajouter aussi une ligne pour chaque devise publiée qui manque à la liste.",
     "Also add rows for the published currencies the list lacks.",
     "Auch Zeilen für die veröffentlichten Währungen anlegen, die in der Liste fehlen."},
    {"RatesHelpDryRun", "Afficher ce qui changerait, sans rien écrire.", "Print what would change; write nothing.",
     "Anzeigen, was sich ändern würde; nichts schreiben."},
    {"RatesHelpDirectory", "Mettre à jour les listes de ce dossier du programme plutôt que celui que Devical trouve.",
     "Update the lists of this program directory rather than the one Devical finds.",
     "Die Listen dieses Programmordners statt des von Devical gefundenen aktualisieren."},
    {"RatesHelpMachine",
     "Écrire une ligne par fait, ses champs séparés par des tabulations, au lieu du résumé : date, changed, added, "
     "followed.",
     "Print one tab-separated line per fact instead of the summary: date, changed, added, followed.",
     "Statt der Zusammenfassung eine Zeile je Tatsache ausgeben, die Felder durch Tabulatoren getrennt: date, "
     "changed, added, followed."},
    // --help of both programs.
    {"HelpHelp", "Afficher cette aide sur les options.", "Displays help on commandline options.",
     "Diese Hilfe zu den Optionen anzeigen."},
    {"HelpHelpAll", "Afficher l'aide, options de Qt comprises.", "Displays help including Qt specific options.",
     "Die Hilfe samt den Optionen von Qt anzeigen."},
    {"DevicalHelp", "Calculatrice de conversion en euros : montants HT, taxe et TTC en monnaie nationale et en euros.",
     "Euro converter calculator: net, tax and gross amounts in a national currency and in euros.",
     "Euro-Umrechner: Netto-, Steuer- und Bruttobeträge in Landeswährung und in Euro."},
    {"DevicalHelpMinimized", "Démarrer caché dans la zone de notification (aussi /M).",
     "Start hidden in the tray (also /M).", "Versteckt im Infobereich starten (auch /M)."},
    {"DevicalHelpSlashM", "Démarrer caché dans la zone de notification.", "Start hidden in the tray.",
     "Versteckt im Infobereich starten."},
    {"RatesInComment", "Le fichier s'arrête au milieu d'un commentaire ou d'une section CDATA.",
     "The file is cut short inside a comment or CDATA section.",
     "Die Datei bricht mitten in einem Kommentar oder CDATA-Abschnitt ab."},
    {"RatesDayTwice", "Le jour %1 figure deux fois dans le fichier.", "The day %1 is given twice.",
     "Der Tag %1 steht zweimal in der Datei."},
    {"RatesOutOfRange", "Le taux de %1, « %2 », sort des limites d'un taux (de %3 à %4).",
     "The rate of %1, \"%2\", lies outside the range of a rate (%3 to %4).",
     "Der Kurs von %1, „%2“, liegt außerhalb der Grenzen eines Kurses (%3 bis %4)."},
    {"NoLanguageFile", "Ce logiciel ne fonctionne pas sans le fichier Devical.Lan",
     "This soft don't run without the file Devical.Lan ", "Dieses Programm läuft nicht ohne die Datei Devical.Lan"},
    {"NoSettingsFile", "Ce logiciel ne fonctionne pas sans le fichier Devical.Ini",
     "This soft don't run without the file Devical.Ini", "Dieses Programm läuft nicht ohne die Datei Devical.Ini"},

    // The first texts of new rows.
    {"NewCurrency", "XXX Nouvelle devise", "XXX New currency", "XXX Neue Währung"},
    {"NewTax", "Titre taxe", "Tax title", "Steuerbezeichnung"},
    {"NewMemory", "Titre", "Title", "Bezeichnung"},

    // The main window: names a screen reader says, under section Main_Names of the file.
    {"ButtonRA", "Effacer le dernier chiffre", "Delete the last digit", "Letzte Ziffer löschen"},
    {"ButtonDiv", "Diviser", "Divide", "Dividieren"},
    {"ButtonMul", "Multiplier", "Multiply", "Multiplizieren"},
    {"ButtonPlus", "Additionner", "Add", "Addieren"},
    {"ButtonMoins", "Soustraire", "Subtract", "Subtrahieren"},
    {"Bt_Pourc", "Pourcentage", "Percent", "Prozent"},
    {"ButtonDec", "Séparateur décimal", "Decimal separator", "Dezimaltrennzeichen"},
    {"ButtonEgal", "Égal", "Equals", "Gleich"},
    {"Label1", "Remettre la mémoire à zéro", "Reset the memory to zero", "Speicher auf null setzen"},
    {"UnderEntry", "case en saisie", "entry box", "Eingabefeld"},
    {"NoRounding", "Sans arrondi", "No rounding", "Ohne Rundung"},
    {"MemoryEmpty", "Mémoire vide", "Memory empty", "Speicher leer"},
    // The day as each language writes it, in the update's message and the rate's hint.
    {"DateFormat", "dd/MM/yyyy", "dd/MM/yyyy", "dd.MM.yyyy"},
    // The main window's other texts.
    {"Decimals", "Nombre de décimales", "Number of decimal places", "Anzahl der Dezimalstellen"},
    {"Euros", "Euros", "Euros", "Euro"},
    {"ResetHint", "Clic = 0", "Click = 0", "Klick = 0"},
    {"BoxHint", "(Ctrl+%1, Ctrl+Num %1)", "(Ctrl+%1, Ctrl+Num %1)", "(Strg+%1, Strg+Num %1)"},
    {"Lib_Rate2One", "unité", "unit", "Einheit"},
    {"ManualFile", "Devical.html", "Devical-en.html", "Devical-de.html"},
    {"KeysFile", "QWIL.html", "QWIL-en.html", "QWIL-de.html"},
    {"Cancel", "Annuler", "Cancel", "Abbrechen"},
    {"TitleBox", "Titre", "Title", "Bezeichnung"},
    {"Exit", "Quitter", "Exit", "Beenden"},

    // The about box.
    {"AboutAuthor", "Devical, par l'équipe Devical", "Devical, by the Devical team", "Devical, vom Devical-Team"},
    {"AboutAddress", "1 rue de l'Exemple, 75000 Paris", "1 rue de l'Exemple, 75000 Paris, France",
     "1 rue de l'Exemple, 75000 Paris, Frankreich"},
    {"AboutPhone", "Téléphone : 01 23 45 67 89", "Telephone: +33 1 23 45 67 89", "Telefon: +33 1 23 45 67 89"},
    {"AboutMail", "E-Mail  :  ", "E-mail: ", "E-Mail: "},
    {"AboutWeb", "Le site de Devical", "Devical's Web", "Devical im Web"},
    {"AboutTranslations", "Traductions", "Translations", "Übersetzungen"},
    {"Close", "Fermer", "Close", "Schließen"},

    // The language dialog.
    {"ChooseLanguage", "Choisissez une langue et cliquez sur OK", "Choose a language & Click OK",
     "Sprache wählen und auf OK klicken"},
    {"Code", "Code", "Code", "Code"},
    {"Language", "Langue", "Language", "Sprache"},
    {"Taxes", "Taxes", "Taxes", "Steuern"},
    {"SelectRow", "Vous devez choisir une ligne", "You have to select a row", "Bitte eine Zeile auswählen"},
    {"SetIncomplete", "Il manque des fichiers pour la langue :%1\nOpération annulée",
     "All needed files don't exist for language :%1\nOperation cancelled",
     "Es fehlen Dateien für die Sprache: %1\nVorgang abgebrochen"},
    {"BadLanguageCode", "Code de langue non valide \"%1\"\nOpération annulée",
     "Invalid language code \"%1\"\nOperation cancelled", "Ungültiger Sprachcode \"%1\"\nVorgang abgebrochen"},

    // The paper tape's window, under sections Tape_Face and Tape_Tips of the file.
    {"Tape_Face/Title", "Bande de calcul", "Paper tape", "Rechenstreifen"},
    {"Tape_Face/Column1", "Montant", "Amount", "Betrag"},
    {"Tape_Face/Column2", "Touche", "Key", "Taste"},
    {"Tape_Face/Column3", "Ligne", "Line", "Zeile"},
    {"Tape_Face/Column4", "Devise", "Currency", "Währung"},
    {"Tape_Face/Column5", "Converti", "Converted", "Umgerechnet"},
    {"Tape_Face/Column6", "Devise", "Currency", "Währung"},
    {"Tape_Face/Column7", "Heure", "Time", "Zeit"},
    {"Tape_Face/Net", "HT", "Net", "Netto"},
    {"Tape_Face/Tax", "Taxe", "Tax", "Steuer"},
    {"Tape_Face/Gross", "TTC", "Gross", "Brutto"},
    {"Tape_Face/Currency", "Devise : %1, 1 € = %2", "Currency: %1, 1 € = %2", "Währung: %1, 1 € = %2"},
    {"Tape_Face/TaxRate", "Taxe : %1 %", "Tax: %1 %", "Steuer: %1 %"},
    {"Tape_Face/Decimals", "Décimales : %1", "Decimal places: %1", "Dezimalstellen: %1"},
    {"Tape_Face/TextFiles", "Texte (*.txt)", "Text files (*.txt)", "Textdateien (*.txt)"},
    {"Tape_Face/CsvFiles", "Tableur CSV (*.csv)", "CSV spreadsheet (*.csv)", "CSV-Tabelle (*.csv)"},
    {"Tape_Tips/Copy", "Copier toute la bande (Ctrl+Maj+C)", "Copy all (Ctrl+Shift+C)",
     "Alles kopieren (Strg+Umschalt+C)"},
    {"Tape_Tips/Save", "Enregistrer sous… (Ctrl+S)", "Save as… (Ctrl+S)", "Speichern unter… (Strg+S)"},
    {"Tape_Tips/Clear", "Effacer la bande (Ctrl+Suppr)", "Clear the tape (Ctrl+Del)", "Streifen löschen (Strg+Entf)"},
    {"Tape_Face/PdfFiles", "Document PDF (*.pdf)", "PDF document (*.pdf)", "PDF-Dokument (*.pdf)"},
    {"Tape_Face/Page", "Page %1 / %2", "Page %1 of %2", "Seite %1 von %2"},
    {"Tape_Tips/Print", "Imprimer… (Ctrl+P)", "Print… (Ctrl+P)", "Drucken… (Strg+P)"},
    {"Tape_Tips/Pdf", "Enregistrer en PDF… (Ctrl+Maj+P)", "Save as PDF… (Ctrl+Shift+P)",
     "Als PDF speichern… (Strg+Umschalt+P)"},
    {"Tape_Tips/Cancel", "Fermer (Échap)", "Close (Esc)", "Schließen (Esc)"},
    {"Main_Tips/Bt_Tape", "Bande de calcul (R)", "Paper tape (R)", "Rechenstreifen (R)"},
};

std::atomic<BuiltInLanguage> current{BuiltInLanguage::French};

std::string_view In(const BuiltIn& text, BuiltInLanguage language) {
    switch (language) {
    case BuiltInLanguage::English: return text.english;
    case BuiltInLanguage::German: return text.german;
    case BuiltInLanguage::French: break;
    }
    return text.french;
}

const BuiltIn* Find(std::string_view key) {
    for (const BuiltIn& text : kTexts)
        if (text.key == key) return &text;
    return nullptr;
}

}  // namespace

BuiltInLanguage BuiltInLanguageOf(std::string_view setCode) {
    if (setCode == "AN" || setCode == "EU") return BuiltInLanguage::English;
    if (setCode == "GM") return BuiltInLanguage::German;
    return BuiltInLanguage::French;
}

void SetBuiltInLanguage(std::string_view setCode) { current = BuiltInLanguageOf(setCode); }

BuiltInLanguage CurrentBuiltInLanguage() { return current; }

std::string BuiltInTextIn(BuiltInLanguage language, std::string_view key) {
    const BuiltIn* text = Find(key);
    return text ? std::string(In(*text, language)) : std::string();
}

std::string BuiltInText(std::string_view key, std::initializer_list<std::string_view> arguments) {
    return FillIn(BuiltInTextIn(current, key), arguments);
}

char DecimalSeparatorOf(BuiltInLanguage language) { return language == BuiltInLanguage::English ? '.' : ','; }

std::string CountText(std::string_view key, std::size_t count, std::initializer_list<std::string_view> others) {
    // French counts 0 and 1 in the singular, English and German 1 alone.
    const bool singular = count == 1 || (count == 0 && current == BuiltInLanguage::French);
    const std::string number = std::to_string(count);
    std::vector<std::string_view> arguments{number};
    arguments.insert(arguments.end(), others.begin(), others.end());
    return FillIn(BuiltInTextIn(current, singular ? std::string(key) + "One" : std::string(key)), arguments);
}

std::string ShownDate(std::string_view iso) {
    const auto day = IsoDay(iso);
    if (!day) return std::string(iso);
    const std::chrono::year_month_day date(*day);
    const auto year = static_cast<unsigned>(static_cast<int>(date.year()));
    const auto month = static_cast<unsigned>(date.month());
    const auto dayOfMonth = static_cast<unsigned>(date.day());
    std::string shown = BuiltInText("DateFormat");
    auto put = [&shown](std::string_view field, unsigned value, int width) {
        char digits[8];
        std::snprintf(digits, sizeof digits, "%0*u", width, value);
        if (const std::size_t at = shown.find(field); at != std::string::npos) shown.replace(at, field.size(), digits);
    };
    put("yyyy", year, 4);
    put("MM", month, 2);
    put("dd", dayOfMonth, 2);
    return shown;
}

std::string FillIn(std::string text, std::initializer_list<std::string_view> arguments) {
    return FillIn(std::move(text), std::vector<std::string_view>(arguments));
}

std::string FillIn(std::string text, const std::vector<std::string_view>& arguments) {
    char number = '1';
    for (std::string_view argument : arguments) {
        const std::string mark = {'%', number++};
        for (auto at = text.find(mark); at != std::string::npos; at = text.find(mark, at + argument.size()))
            text.replace(at, mark.size(), argument);
    }
    return text;
}

std::vector<std::string_view> BuiltInKeys() {
    std::vector<std::string_view> keys;
    for (const BuiltIn& text : kTexts)
        keys.push_back(text.key);
    return keys;
}

}  // namespace devical::engine
