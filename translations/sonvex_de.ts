<?xml version='1.0' encoding='utf-8'?>
<!DOCTYPE TS>
<TS version="2.1" language="de_DE">
<context>
    <name>ActionSet</name>
    <message>
        <source>&amp;Open Data File...</source>
        <translation>&amp;Datendatei öffnen...</translation>
    </message>
    <message>
        <source>Open a file containing noxTag measurements downloaded previously</source>
        <translation>Eine Datei mit früher heruntergeladenen noxTag-Messungen öffnen</translation>
    </message>
    <message>
        <source>Save &amp;Selected Measurements As...</source>
        <translation>&amp;Ausgewählte Messungen speichern unter...</translation>
    </message>
    <message>
        <source>Save All Measurements &amp;As...</source>
        <translation>Alle Messungen speichern &amp;unter...</translation>
    </message>
    <message>
        <source>Program &amp;Settings...</source>
        <translation>Programm&amp;einstellungen...</translation>
    </message>
    <message>
        <source>Alter program configuration and preferences</source>
        <translation>Programmkonfiguration und Einstellungen ändern</translation>
    </message>
    <message>
        <source>Sh&amp;ut down Sonvex</source>
        <translation>Sonvex &amp;beenden</translation>
    </message>
    <message>
        <source>Shuts down the Sonvex program</source>
        <translation>Beendet das Programm Sonvex</translation>
    </message>
    <message>
        <source>E&amp;xit</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Closes and returns Sonvex to the system tray</source>
        <translation>Schließt das Fenster; Sonvex läuft im Infobereich weiter</translation>
    </message>
    <message>
        <source>Show the &amp;Sonvex window</source>
        <translation>&amp;Sonvex-Fenster anzeigen</translation>
    </message>
    <message>
        <source>Printer Setup...</source>
        <translation>Druckereinrichtung...</translation>
    </message>
    <message>
        <source>&amp;Delete Selected Measurement(s)</source>
        <translation>Ausgewählte Messung(en) &amp;löschen</translation>
    </message>
    <message>
        <source>Delete the measurements which are selected in the  list</source>
        <translation>Die in der Liste ausgewählten Messungen löschen</translation>
    </message>
    <message>
        <source>Sim&amp;ple Mode</source>
        <translation>&amp;Einfacher Modus</translation>
    </message>
    <message>
        <source>Ad&amp;vanced Mode</source>
        <translation>&amp;Erweiterter Modus</translation>
    </message>
    <message>
        <source>&amp;Don't hide Underrange Values on Time History Chart</source>
        <translation>Werte unter dem Messbereich im Pegelverlauf &amp;nicht ausblenden</translation>
    </message>
    <message>
        <source>V&amp;alidate soak test data</source>
        <translation>Dauertestdaten &amp;prüfen</translation>
    </message>
    <message>
        <source>Va&amp;lidation Options...</source>
        <translation>Prüf&amp;optionen...</translation>
    </message>
    <message>
        <source>V&amp;iew Measurement Data...</source>
        <translation>Messdaten an&amp;zeigen...</translation>
    </message>
    <message>
        <source>&amp;Choose Report Data Items...</source>
        <translation>&amp;Datenfelder des Berichts wählen...</translation>
    </message>
    <message>
        <source>Z&amp;oom In Between Cursors</source>
        <translation>Zwischen den Cursorn &amp;vergrößern</translation>
    </message>
    <message>
        <source>Zoom O&amp;ut</source>
        <translation>Ver&amp;kleinern</translation>
    </message>
    <message>
        <source>Reset Cursor Positions</source>
        <translation>Cursorpositionen zurücksetzen</translation>
    </message>
    <message>
        <source>First Soak</source>
        <translation>Erster Dauertest</translation>
    </message>
    <message>
        <source>First Soak: bing done, run until battery is flat</source>
        <translation>Erster Dauertest: Signaltest erfolgt, Betrieb bis zur leeren Batterie</translation>
    </message>
    <message>
        <source>Second Soak</source>
        <translation>Zweiter Dauertest</translation>
    </message>
    <message>
        <source>Second Soak: no bing, flat battery not required</source>
        <translation>Zweiter Dauertest: kein Signaltest, leere Batterie nicht nötig</translation>
    </message>
    <message>
        <source>&amp;Download From Instrument...</source>
        <translation>Vom Gerät &amp;herunterladen...</translation>
    </message>
    <message>
        <source>&amp;Set the Instrument Clock...</source>
        <translation>Geräte&amp;uhr stellen...</translation>
    </message>
    <message>
        <source>C&amp;lear the Instrument Memory...</source>
        <translation>Geräte&amp;speicher löschen...</translation>
    </message>
    <message>
        <source>Co&amp;nfigure the Instrument's Measurement Setup...</source>
        <translation>&amp;Messeinstellungen des Geräts festlegen...</translation>
    </message>
    <message>
        <source>&amp;Configure the Instrument's Display...</source>
        <translation>Geräte&amp;anzeige einstellen...</translation>
    </message>
    <message>
        <source>Download from Instrument</source>
        <translation>Vom Gerät herunterladen</translation>
    </message>
    <message>
        <source>Download|download the data stored in the Reader or SLM</source>
        <translation>Herunterladen|die im Reader oder Schallpegelmesser gespeicherten Daten herunterladen</translation>
    </message>
    <message>
        <source>Set Instrument Clock</source>
        <translation>Geräteuhr stellen</translation>
    </message>
    <message>
        <source>Clear the Instrument Memory</source>
        <translation>Gerätespeicher löschen</translation>
    </message>
    <message>
        <source>Send Setup to Instrument</source>
        <translation>Einstellungen an das Gerät senden</translation>
    </message>
    <message>
        <source>Send Display Options to Instrument</source>
        <translation>Anzeigeoptionen an das Gerät senden</translation>
    </message>
    <message>
        <source>Serial Port Settings... </source>
        <translation>Einstellungen der seriellen Schnittstellen... </translation>
    </message>
    <message>
        <source>&amp;Include all Measurements in Reports</source>
        <translation>&amp;Alle Messungen in Berichte aufnehmen</translation>
    </message>
    <message>
        <source>I&amp;nclude only Selected Measurements in Reports</source>
        <translation>N&amp;ur ausgewählte Messungen in Berichte aufnehmen</translation>
    </message>
    <message>
        <source>&amp;Comprehensive Report</source>
        <translation>&amp;Ausführlicher Bericht</translation>
    </message>
    <message>
        <source>C&amp;ompact Report</source>
        <translation>&amp;Kompakter Bericht</translation>
    </message>
    <message>
        <source>&amp;Simple Report</source>
        <translation>&amp;Einfacher Bericht</translation>
    </message>
    <message>
        <source>&amp;Customise Report...</source>
        <translation>Bericht an&amp;passen...</translation>
    </message>
    <message>
        <source>&amp;Preview Report...</source>
        <translation>Bericht in der &amp;Vorschau...</translation>
    </message>
    <message>
        <source>P&amp;rint Report...</source>
        <translation>Bericht &amp;drucken...</translation>
    </message>
    <message>
        <source>&amp;Activity Report...</source>
        <translation>&amp;Tätigkeitsbericht...</translation>
    </message>
    <message>
        <source>&amp;Create a Measurement Report</source>
        <translation>Messbericht &amp;erstellen</translation>
    </message>
    <message>
        <source>Sen&amp;d Report...</source>
        <translation>Bericht &amp;senden...</translation>
    </message>
    <message>
        <source>&amp;Include all Measurements when sending to Excel</source>
        <translation>&amp;Alle Messungen an Excel senden</translation>
    </message>
    <message>
        <source>I&amp;nclude only Selected Measurements when sending to Excel</source>
        <translation>N&amp;ur ausgewählte Messungen an Excel senden</translation>
    </message>
    <message>
        <source>S&amp;end to Excel as a Table</source>
        <translation>Als &amp;Tabelle an Excel senden</translation>
    </message>
    <message>
        <source>Send &amp;to Excel with Time History Data</source>
        <translation>Mit &amp;Pegelverlauf an Excel senden</translation>
    </message>
    <message>
        <source>S&amp;ave Time History Chart as JPEG</source>
        <translation>Pegelverlauf als &amp;JPEG speichern</translation>
    </message>
    <message>
        <source>Sa&amp;ve Time History Chart as .leq file...</source>
        <translation>Pegelverlauf als .&amp;leq-Datei speichern...</translation>
    </message>
    <message>
        <source>&amp;Send Measurements to Database</source>
        <translation>Messungen an die &amp;Datenbank senden</translation>
    </message>
    <message>
        <source>Transfer this data to the noxTag Database</source>
        <translation>Diese Daten an die noxTag-Datenbank übertragen</translation>
    </message>
    <message>
        <source>E&amp;xport Data as XML...</source>
        <translation>Daten als &amp;XML exportieren...</translation>
    </message>
    <message>
        <source>&amp;Create a New Spreadsheet...</source>
        <translation>&amp;Neue Tabelle anlegen...</translation>
    </message>
    <message>
        <source>&amp;Open a Saved Spreadsheet...</source>
        <translation>Gespeicherte Tabelle ö&amp;ffnen...</translation>
    </message>
    <message>
        <source>S&amp;end Measurement Data...</source>
        <translation>Messdaten &amp;senden...</translation>
    </message>
    <message>
        <source>Ex&amp;port data...</source>
        <translation>Daten ex&amp;portieren...</translation>
    </message>
    <message>
        <source>He&amp;lp Contents...</source>
        <translation>&amp;Inhalt der Hilfe...</translation>
    </message>
    <message>
        <source>H&amp;elp on this Feature...</source>
        <translation>&amp;Hilfe zu dieser Funktion...</translation>
    </message>
    <message>
        <source>Help on Terminology...</source>
        <translation>Hilfe zu den Fachbegriffen...</translation>
    </message>
    <message>
        <source>A&amp;dvice on the noxTag charging system...</source>
        <translation>Hinweise zum noxTag-&amp;Ladesystem...</translation>
    </message>
    <message>
        <source>U&amp;pdates</source>
        <translation>&amp;Aktualisierungen</translation>
    </message>
    <message>
        <source>&amp;About Sonvex...</source>
        <translation>&amp;Über Sonvex...</translation>
    </message>
    <message>
        <source>&amp;File</source>
        <translation>&amp;Datei</translation>
    </message>
    <message>
        <source>&amp;Reopen</source>
        <translation>&amp;Zuletzt geöffnet</translation>
    </message>
    <message>
        <source>Sa&amp;ve</source>
        <translation>&amp;Speichern</translation>
    </message>
    <message>
        <source>Ed&amp;it</source>
        <translation>&amp;Bearbeiten</translation>
    </message>
    <message>
        <source>&amp;View</source>
        <translation>&amp;Ansicht</translation>
    </message>
    <message>
        <source>&amp;Data</source>
        <translation>Da&amp;ten</translation>
    </message>
    <message>
        <source>&amp;Reports</source>
        <translation>Be&amp;richte</translation>
    </message>
    <message>
        <source>R&amp;eport Type</source>
        <translation>Bericht&amp;sart</translation>
    </message>
    <message>
        <source>&amp;Export</source>
        <translation>&amp;Exportieren</translation>
    </message>
    <message>
        <source>&amp;Homogenous Exposure Group Calculator</source>
        <translation>&amp;Rechner für Gruppen gleicher Exposition</translation>
    </message>
    <message>
        <source>&amp;Help</source>
        <translation>&amp;Hilfe</translation>
    </message>
</context>
<context>
    <name>FolderSetup</name>
    <message>
        <source>The folder "%1" could not be created.</source>
        <translation>Der Ordner „%1“ konnte nicht angelegt werden.</translation>
    </message>
</context>
<context>
    <name>LaunchRequest</name>
    <message>
        <source>Unknown option: %1</source>
        <translation>Unbekannte Option: %1</translation>
    </message>
    <message>
        <source>Usage: sonvex [runInTray] [--comms-disable | --comms-enable]
  runInTray        start with the window hidden in the notification area
  --comms-disable  tell the running Sonvex not to restart scanning after a dropped connection
  --comms-enable   tell the running Sonvex to restart scanning again
</source>
        <translation>Aufruf: sonvex [runInTray] [--comms-disable | --comms-enable]
  runInTray        mit verborgenem Fenster im Infobereich starten
  --comms-disable  dem laufenden Sonvex sagen, nach einer getrennten Verbindung nicht erneut zu suchen
  --comms-enable   dem laufenden Sonvex sagen, wieder nach Verbindungen zu suchen
</translation>
    </message>
</context>
<context>
    <name>SettingsStore</name>
    <message>
        <source>The settings in %1 could not be read; defaults are used.</source>
        <translation>Die Einstellungen in %1 konnten nicht gelesen werden; es gelten die Voreinstellungen.</translation>
    </message>
    <message>
        <source>The settings in %1 cannot be accessed.</source>
        <translation>Auf die Einstellungen in %1 kann nicht zugegriffen werden.</translation>
    </message>
    <message>
        <source>The settings could not be written to %1.</source>
        <translation>Die Einstellungen konnten nicht nach %1 geschrieben werden.</translation>
    </message>
    <message>
        <source>The setting "%1" is not %2; its default is used.</source>
        <translation>Die Einstellung „%1“ ist nicht %2; es gilt ihre Voreinstellung.</translation>
    </message>
    <message>
        <source>a yes/no value</source>
        <translation>ein Ja/Nein-Wert</translation>
    </message>
    <message>
        <source>a whole number</source>
        <translation>eine ganze Zahl</translation>
    </message>
</context>
<context>
    <name>Sonvex</name>
    <message>
        <source>Sonvex is not running.</source>
        <translation>Sonvex läuft nicht.</translation>
    </message>
</context>
<context>
    <name>SonvexStringConstants</name>
    <message>
        <source>Sonvex disabled</source>
        <translation>Sonvex deaktiviert</translation>
    </message>
    <message>
        <source>Sonvex waiting for connection...</source>
        <translation>Sonvex wartet auf eine Verbindung...</translation>
    </message>
    <message>
        <source>This data has been saved as:</source>
        <translation>Diese Daten wurden gespeichert als:</translation>
    </message>
    <message>
        <source>This data has not been saved</source>
        <translation>Diese Daten wurden nicht gespeichert</translation>
    </message>
    <message>
        <source>Data from file: </source>
        <translation>Daten aus Datei: </translation>
    </message>
    <message>
        <source>Waiting for Connection</source>
        <translation>Warten auf Verbindung</translation>
    </message>
    <message>
        <source>Connected</source>
        <translation>Verbunden</translation>
    </message>
    <message>
        <source>Connected to Reader via USB</source>
        <translation>Über USB mit dem Reader verbunden</translation>
    </message>
    <message>
        <source>Downloading</source>
        <translation>Herunterladen läuft</translation>
    </message>
    <message>
        <source>Sonvex data files (.kvntm .kvslm)|*.kvntm;*.kvslm|Older Sonvex data files (.txt)|*.txt|Sonvex 3 raw download files (.txt)|*.txt|LogRead raw print data files (.PRT)|*.prt</source>
        <translation>Sonvex-Datendateien (.kvntm .kvslm)|*.kvntm;*.kvslm|Ältere Sonvex-Datendateien (.txt)|*.txt|Sonvex-3-Rohdaten (.txt)|*.txt|LogRead-Druckrohdaten (.PRT)|*.prt</translation>
    </message>
    <message>
        <source>Sonvex Data files (.kvntm)|*.kvntm</source>
        <translation>Sonvex-Datendateien (.kvntm)|*.kvntm</translation>
    </message>
    <message>
        <source>Next &gt;</source>
        <translation>Weiter &gt;</translation>
    </message>
    <message>
        <source>Finish &gt;</source>
        <translation>Fertig &gt;</translation>
    </message>
    <message>
        <source>This command is not available in this version of Sonvex yet.</source>
        <translation>Dieser Befehl ist in dieser Version von Sonvex noch nicht verfügbar.</translation>
    </message>
    <message>
        <source>Sonvex</source>
        <translation>Sonvex</translation>
    </message>
</context>
<context>
    <name>sonvex::HelpBrowser</name>
    <message>
        <source>Sonvex Help</source>
        <translation>Sonvex-Hilfe</translation>
    </message>
    <message>
        <source>Help page not found</source>
        <translation>Hilfeseite nicht gefunden</translation>
    </message>
    <message>
        <source>There is no help page "%1" in %2.</source>
        <translation>In %2 gibt es keine Hilfeseite „%1“.</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>Forward</source>
        <translation>Vor</translation>
    </message>
    <message>
        <source>Contents</source>
        <translation>Inhalt</translation>
    </message>
</context>
<context>
    <name>sonvex::TformSonvex3Main</name>
    <message>
        <source>noxTag Database Software is not installed</source>
        <translation>Die noxTag-Datenbank ist nicht installiert</translation>
    </message>
    <message>
        <source>Model 4</source>
        <translation>Modell 4</translation>
    </message>
    <message>
        <source>Model 6</source>
        <translation>Modell 6</translation>
    </message>
    <message>
        <source>RS232 cable for KV:300 series SLMs</source>
        <translation>das RS232-Kabel für Schallpegelmesser der Reihe KV:300</translation>
    </message>
    <message>
        <source>Model 6 Series</source>
        <translation>Modell-6-Reihe</translation>
    </message>
    <message>
        <source>Send Data</source>
        <translation>Daten senden</translation>
    </message>
    <message>
        <source>Open Data File</source>
        <translation>Datendatei öffnen</translation>
    </message>
    <message>
        <source>One measurement has been received.</source>
        <translation>Eine Messung wurde empfangen.</translation>
    </message>
    <message>
        <source>%1 measurements have been received.</source>
        <translation>%1 Messungen wurden empfangen.</translation>
    </message>
    <message>
        <source>Choose Image File for Reports</source>
        <translation>Bilddatei für Berichte wählen</translation>
    </message>
    <message>
        <source>Pictures (*.bmp *.jpg *.jpeg *.png)</source>
        <translation>Bilder (*.bmp *.jpg *.jpeg *.png)</translation>
    </message>
    <message>
        <source>Click one of these buttons to start a Sonvex wizard:</source>
        <translation>Klicken Sie auf eine dieser Schaltflächen, um einen Sonvex-Assistenten zu starten:</translation>
    </message>
    <message>
        <source>Start...</source>
        <translation>Start...</translation>
    </message>
    <message>
        <source>Set the instrument's clock</source>
        <translation>Die Uhr des Geräts stellen</translation>
    </message>
    <message>
        <source>Clear its memory</source>
        <translation>Seinen Speicher löschen</translation>
    </message>
    <message>
        <source>Configure the measurement setup</source>
        <translation>Die Messeinstellungen festlegen</translation>
    </message>
    <message>
        <source>Configure the Reader display</source>
        <translation>Die Anzeige des Readers einstellen</translation>
    </message>
    <message>
        <source>Download measurements from the instrument to the PC,</source>
        <translation>Messungen vom Gerät auf den PC herunterladen</translation>
    </message>
    <message>
        <source>    or load measurements from file</source>
        <translation>    oder Messungen aus einer Datei laden</translation>
    </message>
    <message>
        <source>Create and print a report</source>
        <translation>Einen Bericht erstellen und drucken</translation>
    </message>
    <message>
        <source>Export data to a spreadsheet</source>
        <translation>Daten in eine Tabellenkalkulation exportieren</translation>
    </message>
    <message>
        <source>Transfer noxTag measurements to the Database</source>
        <translation>noxTag-Messungen an die Datenbank übertragen</translation>
    </message>
    <message>
        <source>Before making measurements:</source>
        <translation>Vor den Messungen:</translation>
    </message>
    <message>
        <source>After making measurements:</source>
        <translation>Nach den Messungen:</translation>
    </message>
    <message>
        <source>Press F1 on any page for help on what it shows.</source>
        <translation>Drücken Sie auf jeder Seite F1 für Hilfe zu ihrem Inhalt.</translation>
    </message>
    <message>
        <source>No data to view.</source>
        <translation>Keine Daten zum Anzeigen.</translation>
    </message>
    <message>
        <source>Step 1: Connect to the Reader or SLM.</source>
        <translation>Schritt 1: Mit dem Reader oder Schallpegelmesser verbinden.</translation>
    </message>
    <message>
        <source>Instrument connections are not available in this version of Sonvex yet.</source>
        <translation>Geräteverbindungen sind in dieser Version von Sonvex noch nicht verfügbar.</translation>
    </message>
    <message>
        <source>Reader is connected.</source>
        <translation>Der Reader ist verbunden.</translation>
    </message>
    <message>
        <source>Step 2: Set the Instrument's Clock.</source>
        <translation>Schritt 2: Die Uhr des Geräts stellen.</translation>
    </message>
    <message>
        <source>The instrument stamps every measurement with the date and time of its own clock. Set the clock before each campaign so that the measurements line up with the work shifts.</source>
        <translation>Das Gerät versieht jede Messung mit Datum und Uhrzeit seiner eigenen Uhr. Stellen Sie die Uhr vor jeder Messkampagne, damit die Messungen zu den Arbeitsschichten passen.</translation>
    </message>
    <message>
        <source>Instrument clock:</source>
        <translation>Uhr des Geräts:</translation>
    </message>
    <message>
        <source>Computer clock:</source>
        <translation>Uhr des Computers:</translation>
    </message>
    <message>
        <source>Instrument clock is set.</source>
        <translation>Die Uhr des Geräts ist gestellt.</translation>
    </message>
    <message>
        <source>The Instrument clock does not match the computer.</source>
        <translation>Die Uhr des Geräts stimmt nicht mit dem Computer überein.</translation>
    </message>
    <message>
        <source>Step 3: Clear the Instrument's Memory.</source>
        <translation>Schritt 3: Den Speicher des Geräts löschen.</translation>
    </message>
    <message>
        <source>Clearing the memory removes every measurement stored in the Reader and its noxTags. Download and save the measurements first.</source>
        <translation>Das Löschen entfernt alle im Reader und seinen noxTags gespeicherten Messungen. Laden Sie die Messungen vorher herunter und speichern Sie sie.</translation>
    </message>
    <message>
        <source>Memory has been Cleared.</source>
        <translation>Der Speicher wurde gelöscht.</translation>
    </message>
    <message>
        <source>Step 4: Configure the Instrument Measurement Setup</source>
        <translation>Schritt 4: Die Messeinstellungen des Geräts festlegen</translation>
    </message>
    <message>
        <source>Quick Setups:</source>
        <translation>Schnelleinstellungen:</translation>
    </message>
    <message>
        <source>New...</source>
        <translation>Neu...</translation>
    </message>
    <message>
        <source>Edit...</source>
        <translation>Bearbeiten...</translation>
    </message>
    <message>
        <source>Delete</source>
        <translation>Löschen</translation>
    </message>
    <message>
        <source>Criterion Time</source>
        <translation>Beurteilungszeit</translation>
    </message>
    <message>
        <source>8 hours</source>
        <translation>8 Stunden</translation>
    </message>
    <message>
        <source>12 hours</source>
        <translation>12 Stunden</translation>
    </message>
    <message>
        <source>16 hours</source>
        <translation>16 Stunden</translation>
    </message>
    <message>
        <source>18 hours</source>
        <translation>18 Stunden</translation>
    </message>
    <message>
        <source>Criterion Level</source>
        <translation>Kriteriumspegel</translation>
    </message>
    <message>
        <source>Threshold</source>
        <translation>Schwellenwert</translation>
    </message>
    <message>
        <source>None</source>
        <translation>Keine</translation>
    </message>
    <message>
        <source>Time Weighting</source>
        <translation>Zeitbewertung</translation>
    </message>
    <message>
        <source>Slow</source>
        <translation>Langsam</translation>
    </message>
    <message>
        <source>Exchange Rate (Q=)</source>
        <translation>Halbierungsparameter (Q=)</translation>
    </message>
    <message>
        <source>Step 5: Configure the Instrument Display Options</source>
        <translation>Schritt 5: Die Anzeigeoptionen des Geräts einstellen</translation>
    </message>
    <message>
        <source>Display Items</source>
        <translation>Angezeigte Werte</translation>
    </message>
    <message>
        <source>Dose</source>
        <translation>Dosis</translation>
    </message>
    <message>
        <source>Est.Dose</source>
        <translation>Gesch. Dosis</translation>
    </message>
    <message>
        <source>Exposure</source>
        <translation>Exposition</translation>
    </message>
    <message>
        <source>Est.Exposure</source>
        <translation>Gesch. Exposition</translation>
    </message>
    <message>
        <source>LAE</source>
        <translation>LAE</translation>
    </message>
    <message>
        <source>Calibrations</source>
        <translation>Kalibrierungen</translation>
    </message>
    <message>
        <source>Date Format</source>
        <translation>Datumsformat</translation>
    </message>
    <message>
        <source>day month year</source>
        <translation>Tag Monat Jahr</translation>
    </message>
    <message>
        <source>month day year</source>
        <translation>Monat Tag Jahr</translation>
    </message>
    <message>
        <source>Date Separator</source>
        <translation>Datumstrennzeichen</translation>
    </message>
    <message>
        <source>(If you wish to load measurements from disk, skip this step by clicking the 'Next' button below)</source>
        <translation>(Wenn Sie Messungen von der Festplatte laden möchten, überspringen Sie diesen Schritt mit der Schaltfläche 'Weiter')</translation>
    </message>
    <message>
        <source>Step 2: Load Measurements from the Instrument or from Disk.</source>
        <translation>Schritt 2: Messungen vom Gerät oder von der Festplatte laden.</translation>
    </message>
    <message>
        <source>Download the measurements stored in the connected Reader, or open a data file saved earlier. Every download is saved automatically in the data folder.</source>
        <translation>Laden Sie die im verbundenen Reader gespeicherten Messungen herunter oder öffnen Sie eine früher gespeicherte Datendatei. Jeder Download wird automatisch im Datenordner gespeichert.</translation>
    </message>
    <message>
        <source>Measurements have been loaded.</source>
        <translation>Die Messungen wurden geladen.</translation>
    </message>
    <message>
        <source>Step 3: Create a Report Based on this Measurement Data.</source>
        <translation>Schritt 3: Einen Bericht über diese Messdaten erstellen.</translation>
    </message>
    <message>
        <source>Choose the style of the report and which measurements it covers.</source>
        <translation>Wählen Sie die Art des Berichts und die Messungen, die er enthält.</translation>
    </message>
    <message>
        <source>Report Style</source>
        <translation>Berichtsart</translation>
    </message>
    <message>
        <source>Measurements</source>
        <translation>Messungen</translation>
    </message>
    <message>
        <source>Step 4: Customise the Report</source>
        <translation>Schritt 4: Den Bericht anpassen</translation>
    </message>
    <message>
        <source>Include the following information in the report:</source>
        <translation>Folgende Angaben in den Bericht aufnehmen:</translation>
    </message>
    <message>
        <source>Report Title:</source>
        <translation>Berichtstitel:</translation>
    </message>
    <message>
        <source>Location:</source>
        <translation>Ort:</translation>
    </message>
    <message>
        <source>Made by:</source>
        <translation>Erstellt von:</translation>
    </message>
    <message>
        <source>Notes:</source>
        <translation>Bemerkungen:</translation>
    </message>
    <message>
        <source>Recommendations for Action:</source>
        <translation>Empfohlene Maßnahmen:</translation>
    </message>
    <message>
        <source>Company Logo:</source>
        <translation>Firmenlogo:</translation>
    </message>
    <message>
        <source>Browse...</source>
        <translation>Durchsuchen...</translation>
    </message>
    <message>
        <source>Clear All</source>
        <translation>Alles leeren</translation>
    </message>
    <message>
        <source>Step 5: Print the Report</source>
        <translation>Schritt 5: Den Bericht drucken</translation>
    </message>
    <message>
        <source>See the report on screen first, or send it straight to a printer.</source>
        <translation>Sehen Sie den Bericht zuerst am Bildschirm an oder senden Sie ihn direkt an einen Drucker.</translation>
    </message>
    <message>
        <source>Step 6: Export the Report or Measurement Data</source>
        <translation>Schritt 6: Den Bericht oder die Messdaten exportieren</translation>
    </message>
    <message>
        <source>Report</source>
        <translation>Bericht</translation>
    </message>
    <message>
        <source>Measurement Data</source>
        <translation>Messdaten</translation>
    </message>
    <message>
        <source>Click here to transfer the measurements to the noxTag Database application for further analysis:</source>
        <translation>Hier klicken, um die Messungen zur weiteren Auswertung an die noxTag-Datenbank zu übertragen:</translation>
    </message>
    <message>
        <source>Getting Started</source>
        <translation>Erste Schritte</translation>
    </message>
    <message>
        <source>Before Making Measurements</source>
        <translation>Vor den Messungen</translation>
    </message>
    <message>
        <source>After Making Measurements</source>
        <translation>Nach den Messungen</translation>
    </message>
    <message>
        <source>   View Data   </source>
        <translation>   Daten ansehen   </translation>
    </message>
    <message>
        <source>Toolbar</source>
        <translation>Werkzeugleiste</translation>
    </message>
    <message>
        <source>Connect</source>
        <translation>Verbinden</translation>
    </message>
    <message>
        <source>Connect the Reader to the PC via serial cable</source>
        <translation>Den Reader per seriellem Kabel mit dem PC verbinden</translation>
    </message>
    <message>
        <source>Set Clock</source>
        <translation>Uhr stellen</translation>
    </message>
    <message>
        <source>Set the Reader clock to the correct date and time</source>
        <translation>Die Uhr des Readers auf Datum und Uhrzeit stellen</translation>
    </message>
    <message>
        <source>Clear Memory</source>
        <translation>Speicher löschen</translation>
    </message>
    <message>
        <source>Clear old measurements from the Reader's memory</source>
        <translation>Alte Messungen aus dem Speicher des Readers löschen</translation>
    </message>
    <message>
        <source>Measurement Setup</source>
        <translation>Messeinstellungen</translation>
    </message>
    <message>
        <source>Configure the Reader's settings for Criterion Time, Exchange rate and so on</source>
        <translation>Die Einstellungen des Readers für Beurteilungszeit, Halbierungsparameter usw. festlegen</translation>
    </message>
    <message>
        <source>Display Options</source>
        <translation>Anzeigeoptionen</translation>
    </message>
    <message>
        <source>Configure the Reader's display options</source>
        <translation>Die Anzeigeoptionen des Readers einstellen</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Herunterladen</translation>
    </message>
    <message>
        <source>Create Report</source>
        <translation>Bericht erstellen</translation>
    </message>
    <message>
        <source>Create a report for printing or transfer to other applications</source>
        <translation>Einen Bericht zum Drucken oder für andere Programme erstellen</translation>
    </message>
    <message>
        <source>Customise Report</source>
        <translation>Bericht anpassen</translation>
    </message>
    <message>
        <source>Customise the report by adding relevant information</source>
        <translation>Den Bericht um passende Angaben ergänzen</translation>
    </message>
    <message>
        <source>Print Report</source>
        <translation>Bericht drucken</translation>
    </message>
    <message>
        <source>Send the report directly to the printer, or see a preview</source>
        <translation>Den Bericht direkt drucken oder als Vorschau ansehen</translation>
    </message>
    <message>
        <source>Export Data</source>
        <translation>Daten exportieren</translation>
    </message>
    <message>
        <source>Transfer measurement data or reports to other applications</source>
        <translation>Messdaten oder Berichte an andere Programme übertragen</translation>
    </message>
    <message>
        <source>Ensure that the Instrument is connected to the PC, using:

    USB cable for the [50] noxTag Reader 
    RS232 cable for the [40] noxTag Reader
    RS232 cable for KV:300 series SLMs


When the connection has been made, click the 'Next' button below.</source>
        <translation>Verbinden Sie das Gerät mit dem PC über:

    das USB-Kabel für den noxTag-Reader [50] 
    das RS232-Kabel für den noxTag-Reader [40]
    das RS232-Kabel für Schallpegelmesser der Reihe KV:300


Wenn die Verbindung hergestellt ist, klicken Sie unten auf 'Weiter'.</translation>
    </message>
    <message>
        <source>Connect the [50] or [40] noxTag Reader to the PC.</source>
        <translation>Verbinden Sie den noxTag-Reader [50] oder [40] mit dem PC.</translation>
    </message>
    <message>
        <source>([RM:50A and RM:52A] Readers only)</source>
        <translation>(nur Reader der [RM:50A and RM:52A])</translation>
    </message>
    <message>
        <source>Reader</source>
        <translation>Reader</translation>
    </message>
    <message>
        <source>Report export is not available in this version of Sonvex yet.</source>
        <translation>Der Berichtsexport ist in dieser Version von Sonvex noch nicht verfügbar.</translation>
    </message>
</context>
<context>
    <name>sonvex::WizardFrame</name>
    <message>
        <source>&lt;  Back</source>
        <translation>&lt;  Zurück</translation>
    </message>
    <message>
        <source>Go back to the previous step</source>
        <translation>Zum vorigen Schritt zurück</translation>
    </message>
    <message>
        <source>Go to the next step</source>
        <translation>Zum nächsten Schritt</translation>
    </message>
</context>
</TS>
