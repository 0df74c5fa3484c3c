<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="de">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>OK</source>
        <translation>OK</translation>
    </message>
</context>
<context>
    <name>CChatMainDlg</name>
    <message>
        <source>Restore</source>
        <translation>Wiederherstellen</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximieren</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Mi&amp;nimize</source>
        <translation>Mi&amp;nimieren</translation>
    </message>
    <message>
        <source>Ma&amp;ximize</source>
        <translation>Ma&amp;ximieren</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Schließen</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>This is a test chat request from Quillo. Accepting it does nothing in the console.</source>
        <translation>Dies ist eine Test-Chat-Anfrage von Quillo. Wenn Sie sie annehmen, geschieht in der Konsole nichts.</translation>
    </message>
    <message>
        <source>0 min</source>
        <translation>0 Min.</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimieren</translation>
    </message>
</context>
<context>
    <name>CChatNotifyDlg</name>
    <message>
        <source>Chat request</source>
        <translation>Chat-Anfrage</translation>
    </message>
    <message>
        <source>Accept chat</source>
        <translation>Chat annehmen</translation>
    </message>
</context>
<context>
    <name>CCustomControlSite</name>
    <message>
        <source>Refresh</source>
        <translation>Neu laden</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Zurück</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Rückgängig</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Wiederherstellen</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>&amp;Ausschneiden</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Kopieren</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Einfügen</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>Alles &amp;markieren</translation>
    </message>
    <message>
        <source>No spelling suggestions</source>
        <translation>Keine Rechtschreibvorschläge</translation>
    </message>
    <message>
        <source>Spelling &amp;Languages</source>
        <translation>Rechtschreib&amp;sprachen</translation>
    </message>
</context>
<context>
    <name>PageNetwork</name>
    <message>
        <source>Can&apos;t trust the chat service&apos;s certificate</source>
        <translation>Dem Zertifikat des Chat-Dienstes kann nicht vertraut werden</translation>
    </message>
    <message>
        <source>%1 presented a certificate from an issuer this computer does not trust.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 hat ein Zertifikat eines Ausstellers vorgelegt, dem dieser Computer nicht vertraut.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that has expired or is not valid yet.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 hat ein Zertifikat vorgelegt, das abgelaufen oder noch nicht gültig ist.</translation>
    </message>
    <message>
        <source>%1 presented a certificate made out for another name.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 hat ein Zertifikat vorgelegt, das auf einen anderen Namen ausgestellt ist.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that its issuer has revoked.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 hat ein Zertifikat vorgelegt, das sein Aussteller widerrufen hat.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that is damaged or not valid.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 hat ein Zertifikat vorgelegt, das beschädigt oder ungültig ist.</translation>
    </message>
    <message>
        <source>%1 presented a certificate with a weak key or signature.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 hat ein Zertifikat mit einem schwachen Schlüssel oder einer schwachen Signatur vorgelegt.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that cannot be trusted.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 hat ein Zertifikat vorgelegt, dem nicht vertraut werden kann.</translation>
    </message>
    <message>
        <source>Nothing was loaded. Its SHA-256 fingerprint is unknown.</source>
        <translation>Es wurde nichts geladen. Der SHA-256-Fingerabdruck des Zertifikats ist unbekannt.</translation>
    </message>
    <message>
        <source>Nothing was loaded. Its SHA-256 fingerprint is %1; an administrator who knows it to be right can trust it with quillo-setup --trust-certificate.</source>
        <translation>Es wurde nichts geladen. Der SHA-256-Fingerabdruck des Zertifikats lautet %1; ein Administrator, der weiß, dass er stimmt, kann dem Zertifikat mit quillo-setup --trust-certificate vertrauen.</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Erneut versuchen</translation>
    </message>
    <message>
        <source>Sign-in cancelled</source>
        <translation>Anmeldung abgebrochen</translation>
    </message>
    <message>
        <source>Sign-in to %1 was cancelled.</source>
        <extracomment>%1 is the site&apos;s address (scheme, host and port).</extracomment>
        <translation>Die Anmeldung bei %1 wurde abgebrochen.</translation>
    </message>
    <message>
        <source>Sign in again</source>
        <translation>Erneut anmelden</translation>
    </message>
    <message>
        <source>Sign-in to the proxy %1 was cancelled, so the page could not load.</source>
        <extracomment>%1 is the proxy&apos;s host name.</extracomment>
        <translation>Die Anmeldung beim Proxy %1 wurde abgebrochen, daher konnte die Seite nicht geladen werden.</translation>
    </message>
    <message>
        <source>The service asks for a client certificate</source>
        <translation>Der Dienst verlangt ein Client-Zertifikat</translation>
    </message>
    <message>
        <source>%1 asked for a certificate that identifies this computer or its user, and none is installed in the user&apos;s certificate database.</source>
        <extracomment>%1 is the server&apos;s host name and port.</extracomment>
        <translation>%1 hat ein Zertifikat verlangt, das diesen Computer oder seinen Benutzer ausweist, doch in der Zertifikatsdatenbank des Benutzers ist keines installiert.</translation>
    </message>
    <message>
        <source>The service refused the client certificate</source>
        <translation>Der Dienst hat das Client-Zertifikat abgelehnt</translation>
    </message>
    <message>
        <source>%1 did not accept the certificate that was sent. Try again to choose another one, or ask your administrator which certificate the service accepts.</source>
        <extracomment>%1 is the server&apos;s host name and port.</extracomment>
        <translation>%1 hat das gesendete Zertifikat nicht angenommen. Versuchen Sie es erneut, um ein anderes zu wählen, oder fragen Sie Ihre Administration, welches Zertifikat der Dienst annimmt.</translation>
    </message>
</context>
<context>
    <name>PreferencesDlg</name>
    <message>
        <source>Preference&amp;s…</source>
        <translation>Einstellun&amp;gen…</translation>
    </message>
    <message>
        <source>(too long; not used)</source>
        <translation>(zu lang; wird nicht verwendet)</translation>
    </message>
    <message>
        <source>(not set)</source>
        <translation>(nicht festgelegt)</translation>
    </message>
    <message>
        <source>Quillo Preferences</source>
        <translation>Quillo-Einstellungen</translation>
    </message>
    <message>
        <source>&amp;Start Quillo when I log in</source>
        <translation>Quillo beim Anmelden &amp;starten</translation>
    </message>
    <message>
        <source>Reset &amp;zoom for all sites</source>
        <translation>&amp;Zoom für alle Seiten zurücksetzen</translation>
    </message>
    <message>
        <source>Send a test &amp;chat request</source>
        <translation>Test-&amp;Chat-Anfrage senden</translation>
    </message>
    <message>
        <source>Alert sound on a chat request</source>
        <translation>Alarmton bei einer Chat-Anfrage</translation>
    </message>
    <message>
        <source>O&amp;ff</source>
        <translation>A&amp;us</translation>
    </message>
    <message>
        <source>&amp;Once</source>
        <translation>&amp;Einmal</translation>
    </message>
    <message>
        <source>&amp;Repeat until answered</source>
        <translation>&amp;Wiederholen bis zur Antwort</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>&amp;Testen</translation>
    </message>
    <message>
        <source>Test the alert sound</source>
        <translation>Alarmton testen</translation>
    </message>
    <message>
        <source>Spelling languages</source>
        <translation>Rechtschreibsprachen</translation>
    </message>
    <message>
        <source>No spelling dictionaries are installed.</source>
        <translation>Es sind keine Rechtschreibwörterbücher installiert.</translation>
    </message>
    <message>
        <source>Settings Quillo runs on</source>
        <translation>Einstellungen, mit denen Quillo läuft</translation>
    </message>
    <message>
        <source>Order number:</source>
        <translation>Bestellnummer:</translation>
    </message>
    <message>
        <source>Chat address:</source>
        <translation>Chat-Adresse:</translation>
    </message>
    <message>
        <source>Settings file:</source>
        <translation>Einstellungsdatei:</translation>
    </message>
    <message>
        <source>Starting at log-in could not be changed: %1</source>
        <translation>Der Start beim Anmelden konnte nicht geändert werden: %1</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Another copy of Quillo seems to be using your chat profile, but its lock cannot be read.</source>
        <translation>Eine andere Kopie von Quillo scheint Ihr Chat-Profil zu verwenden, aber ihre Sperre kann nicht gelesen werden.</translation>
    </message>
    <message>
        <source>process %1, %2</source>
        <translation>Prozess %1, %2</translation>
    </message>
    <message>
        <source>Quillo is already running on this computer (%1) but does not answer.</source>
        <translation>Quillo läuft bereits auf diesem Computer (%1), antwortet aber nicht.</translation>
    </message>
    <message>
        <source>Quillo is already running on the computer &lt;b&gt;%1&lt;/b&gt; (%2) with your chat profile, or it ended there without closing properly.</source>
        <translation>Quillo läuft bereits auf dem Computer &lt;b&gt;%1&lt;/b&gt; (%2) mit Ihrem Chat-Profil oder wurde dort nicht ordnungsgemäß beendet.</translation>
    </message>
    <message>
        <source>Two copies at once can overwrite each other&apos;s log-in and settings. If Quillo is not running there any more, you can start it here anyway.</source>
        <translation>Zwei gleichzeitig laufende Kopien können gegenseitig Anmeldung und Einstellungen überschreiben. Wenn Quillo dort nicht mehr läuft, können Sie es hier trotzdem starten.</translation>
    </message>
    <message>
        <source>&amp;Start anyway</source>
        <translation>&amp;Trotzdem starten</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Quillo is in use</source>
        <translation>Quillo wird bereits verwendet</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Files the page accepts (%1)</source>
        <translation>Dateien, die die Seite annimmt (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Alle Dateien (*)</translation>
    </message>
    <message>
        <source>(no name)</source>
        <translation>(ohne Namen)</translation>
    </message>
</context>
<context>
    <name>quillo::RecoveryPanel</name>
    <message>
        <source>Can&apos;t reach the chat service</source>
        <translation>Der Chat-Dienst ist nicht erreichbar</translation>
    </message>
    <message>
        <source>The page stopped</source>
        <translation>Die Seite ist ausgefallen</translation>
    </message>
    <message>
        <source>The page&apos;s renderer crashed.</source>
        <translation>Der Darstellungsprozess der Seite ist abgestürzt.</translation>
    </message>
    <message>
        <source>The page&apos;s renderer was ended by the system.</source>
        <translation>Der Darstellungsprozess der Seite wurde vom System beendet.</translation>
    </message>
    <message>
        <source>The page&apos;s renderer ended unexpectedly.</source>
        <translation>Der Darstellungsprozess der Seite wurde unerwartet beendet.</translation>
    </message>
    <message>
        <source>The page stopped answering and was ended.</source>
        <translation>Die Seite hat nicht mehr reagiert und wurde beendet.</translation>
    </message>
    <message>
        <source>%1 does not answer.</source>
        <extracomment>%1 is the address of the chat service&apos;s page.</extracomment>
        <translation>%1 antwortet nicht.</translation>
    </message>
    <message>
        <source>%1 is not available at the moment.</source>
        <extracomment>%1 is the address of the chat service&apos;s page.</extracomment>
        <translation>%1 ist im Moment nicht verfügbar.</translation>
    </message>
    <message>
        <source>%1 was not loaded.</source>
        <extracomment>%1 is the address of the page.</extracomment>
        <translation>%1 wurde nicht geladen.</translation>
    </message>
    <message>
        <source>Trying again now...</source>
        <translation>Neuer Versuch läuft...</translation>
    </message>
    <message>
        <source>Trying again in 1 second.</source>
        <translation>Neuer Versuch in 1 Sekunde.</translation>
    </message>
    <message>
        <source>Trying again in %1 seconds.</source>
        <translation>Neuer Versuch in %1 Sekunden.</translation>
    </message>
    <message>
        <source>Try now</source>
        <translation>Jetzt versuchen</translation>
    </message>
    <message>
        <source>Loading it again now...</source>
        <translation>Die Seite wird neu geladen...</translation>
    </message>
    <message>
        <source>Loading it again in 1 second.</source>
        <translation>Neues Laden in 1 Sekunde.</translation>
    </message>
    <message>
        <source>Loading it again in %1 seconds.</source>
        <translation>Neues Laden in %1 Sekunden.</translation>
    </message>
    <message>
        <source>Reload now</source>
        <translation>Jetzt neu laden</translation>
    </message>
</context>
<context>
    <name>quillo::alerts::AlertCenter</name>
    <message>
        <source>Acce&amp;pt chat request</source>
        <translation>&amp;Chat-Anfrage annehmen</translation>
    </message>
    <message>
        <source>&amp;Show Quillo</source>
        <translation>Quillo &amp;anzeigen</translation>
    </message>
    <message>
        <source>P&amp;references…</source>
        <translation>Einstellun&amp;gen…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Beenden</translation>
    </message>
    <message>
        <source>Alert sound: O&amp;ff</source>
        <translation>Alarmton: A&amp;us</translation>
    </message>
    <message>
        <source>Alert sound: &amp;Once</source>
        <translation>Alarmton: &amp;Einmal</translation>
    </message>
    <message>
        <source>Alert sound: Rep&amp;eat</source>
        <translation>Alarmton: Wieder&amp;holen</translation>
    </message>
</context>
<context>
    <name>quillo::network::ClientCertificateDialog</name>
    <message>
        <source>Choose a certificate</source>
        <translation>Zertifikat auswählen</translation>
    </message>
    <message>
        <source>%1 asks for a certificate that identifies you.</source>
        <translation>%1 verlangt ein Zertifikat, das Sie ausweist.</translation>
    </message>
    <message>
        <source>%1
Issued by %2, valid until %3</source>
        <translation>%1
Ausgestellt von %2, gültig bis %3</translation>
    </message>
    <message>
        <source>&amp;Remember for this service</source>
        <translation>Für diesen Dienst &amp;merken</translation>
    </message>
    <message>
        <source>Use certificate</source>
        <translation>Zertifikat verwenden</translation>
    </message>
    <message>
        <source>Send none</source>
        <translation>Keines senden</translation>
    </message>
</context>
<context>
    <name>quillo::network::SignInDialog</name>
    <message>
        <source>Proxy sign-in</source>
        <translation>Anmeldung am Proxy</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Anmelden</translation>
    </message>
    <message>
        <source>The proxy %1 asks you to sign in.</source>
        <translation>Der Proxy %1 bittet Sie, sich anzumelden.</translation>
    </message>
    <message>
        <source>%1 asks you to sign in.</source>
        <translation>%1 bittet Sie, sich anzumelden.</translation>
    </message>
    <message>
        <source>Realm: %1</source>
        <translation>Bereich: %1</translation>
    </message>
    <message>
        <source>The user name or password was not accepted. Try again.</source>
        <translation>Benutzername oder Passwort wurden nicht angenommen. Versuchen Sie es erneut.</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>&amp;Benutzername:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Passwort:</translation>
    </message>
    <message>
        <source>&amp;Remember</source>
        <translation>&amp;Merken</translation>
    </message>
    <message>
        <source>There is no secret store on this desktop, so sign-ins cannot be remembered.</source>
        <translation>Auf diesem Desktop gibt es keinen Passwortspeicher, daher können Anmeldungen nicht gespeichert werden.</translation>
    </message>
</context>
<context>
    <name>quillo::notify::ChatRequestNotice</name>
    <message>
        <source>Chat request</source>
        <translation>Chat-Anfrage</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Annehmen</translation>
    </message>
</context>
<context>
    <name>quillo::notify::WebNotificationCard</name>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::DownloadManager</name>
    <message>
        <source>it was cancelled</source>
        <translation>er wurde abgebrochen</translation>
    </message>
    <message>
        <source>it could not be saved in %1 and is kept as %2</source>
        <translation>er konnte nicht in %1 gespeichert werden und liegt als %2 vor</translation>
    </message>
    <message>
        <source>Save download</source>
        <translation>Download speichern</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::DownloadNotice</name>
    <message>
        <source>Downloading %1</source>
        <translation>%1 wird heruntergeladen</translation>
    </message>
    <message>
        <source>it was cancelled</source>
        <translation>er wurde abgebrochen</translation>
    </message>
    <message>
        <source>Saved %1 in %2</source>
        <translation>%1 in %2 gespeichert</translation>
    </message>
    <message>
        <source>The download of %1 did not arrive: %2</source>
        <translation>Der Download von %1 ist nicht angekommen: %2</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Schließen</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>Ordner öffnen</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::PageServices</name>
    <message>
        <source>Allow</source>
        <translation>Erlauben</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>Ablehnen</translation>
    </message>
    <message>
        <source>%1 asks to show notifications. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 möchte Benachrichtigungen anzeigen. Erlauben?</translation>
    </message>
    <message>
        <source>%1 asks to know your location. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 möchte Ihren Standort erfahren. Erlauben?</translation>
    </message>
    <message>
        <source>%1 asks to use your microphone. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 möchte Ihr Mikrofon verwenden. Erlauben?</translation>
    </message>
    <message>
        <source>%1 asks to use your camera. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 möchte Ihre Kamera verwenden. Erlauben?</translation>
    </message>
    <message>
        <source>%1 asks to use your camera and microphone. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 möchte Ihre Kamera und Ihr Mikrofon verwenden. Erlauben?</translation>
    </message>
    <message>
        <source>%1 asks to lock your mouse pointer. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 möchte Ihren Mauszeiger sperren. Erlauben?</translation>
    </message>
    <message>
        <source>%1 asks to share your screen. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 möchte Ihren Bildschirm freigeben. Erlauben?</translation>
    </message>
    <message>
        <source>%1 asks to share your screen and its sound. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 möchte Ihren Bildschirm samt Ton freigeben. Erlauben?</translation>
    </message>
    <message>
        <source>%1 asks to use a feature of your computer. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 möchte eine Funktion Ihres Computers verwenden. Erlauben?</translation>
    </message>
    <message>
        <source>Permission request</source>
        <translation>Berechtigungsanfrage</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::PrintPreview</name>
    <message>
        <source>Print...</source>
        <translation>Drucken...</translation>
    </message>
    <message numerus="yes">
        <source>Printing %n page(s)...</source>
        <translation>
            <numerusform>%n Seite wird gedruckt...</numerusform>
            <numerusform>%n Seiten werden gedruckt...</numerusform>
        </translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>Druckvorschau</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::ScriptDialogPage</name>
    <message>
        <source>Message from %1</source>
        <translation>Nachricht von %1</translation>
    </message>
    <message>
        <source>Choose files for %1</source>
        <translation>Dateien für %1 auswählen</translation>
    </message>
    <message>
        <source>The page&apos;s question was answered Cancel: a window&apos;s question never holds up the console.</source>
        <translation>Die Frage der Seite wurde mit Abbrechen beantwortet: Die Frage eines Fensters hält die Konsole nie auf.</translation>
    </message>
</context>
</TS>
