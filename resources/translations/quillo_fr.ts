<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="fr">
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
        <translation>Restaurer</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Agrandir</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Restaurer</translation>
    </message>
    <message>
        <source>Mi&amp;nimize</source>
        <translation>Réd&amp;uire</translation>
    </message>
    <message>
        <source>Ma&amp;ximize</source>
        <translation>Agrand&amp;ir</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Fermer</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Test</translation>
    </message>
    <message>
        <source>This is a test chat request from Quillo. Accepting it does nothing in the console.</source>
        <translation>Ceci est une demande de chat de test de Quillo. L&apos;accepter n&apos;a aucun effet dans la console.</translation>
    </message>
    <message>
        <source>0 min</source>
        <translation>0 min</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Réduire</translation>
    </message>
</context>
<context>
    <name>CChatNotifyDlg</name>
    <message>
        <source>Chat request</source>
        <translation>Demande de chat</translation>
    </message>
    <message>
        <source>Accept chat</source>
        <translation>Accepter le chat</translation>
    </message>
</context>
<context>
    <name>CCustomControlSite</name>
    <message>
        <source>Refresh</source>
        <translation>Actualiser</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Précédent</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Annuler</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rétablir</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Co&amp;uper</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copier</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>C&amp;oller</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Tout sélectionner</translation>
    </message>
    <message>
        <source>No spelling suggestions</source>
        <translation>Aucune suggestion d&apos;orthographe</translation>
    </message>
    <message>
        <source>Spelling &amp;Languages</source>
        <translation>&amp;Langues d&apos;orthographe</translation>
    </message>
</context>
<context>
    <name>PageNetwork</name>
    <message>
        <source>Can&apos;t trust the chat service&apos;s certificate</source>
        <translation>Impossible de faire confiance au certificat du service de chat</translation>
    </message>
    <message>
        <source>%1 presented a certificate from an issuer this computer does not trust.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 a présenté un certificat d&apos;un émetteur auquel cet ordinateur ne fait pas confiance.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that has expired or is not valid yet.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 a présenté un certificat expiré ou pas encore valide.</translation>
    </message>
    <message>
        <source>%1 presented a certificate made out for another name.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 a présenté un certificat établi pour un autre nom.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that its issuer has revoked.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 a présenté un certificat que son émetteur a révoqué.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that is damaged or not valid.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 a présenté un certificat endommagé ou non valide.</translation>
    </message>
    <message>
        <source>%1 presented a certificate with a weak key or signature.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 a présenté un certificat dont la clé ou la signature est trop faible.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that cannot be trusted.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 a présenté un certificat auquel on ne peut pas faire confiance.</translation>
    </message>
    <message>
        <source>Nothing was loaded. Its SHA-256 fingerprint is unknown.</source>
        <translation>Rien n&apos;a été chargé. L&apos;empreinte SHA-256 du certificat est inconnue.</translation>
    </message>
    <message>
        <source>Nothing was loaded. Its SHA-256 fingerprint is %1; an administrator who knows it to be right can trust it with quillo-setup --trust-certificate.</source>
        <translation>Rien n&apos;a été chargé. L&apos;empreinte SHA-256 du certificat est %1&#xa0;; un administrateur qui sait qu&apos;elle est correcte peut lui accorder sa confiance avec quillo-setup --trust-certificate.</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Réessayer</translation>
    </message>
    <message>
        <source>Sign-in cancelled</source>
        <translation>Connexion annulée</translation>
    </message>
    <message>
        <source>Sign-in to %1 was cancelled.</source>
        <extracomment>%1 is the site&apos;s address (scheme, host and port).</extracomment>
        <translation>La connexion à %1 a été annulée.</translation>
    </message>
    <message>
        <source>Sign in again</source>
        <translation>Se reconnecter</translation>
    </message>
    <message>
        <source>Sign-in to the proxy %1 was cancelled, so the page could not load.</source>
        <extracomment>%1 is the proxy&apos;s host name.</extracomment>
        <translation>La connexion au proxy %1 a été annulée&#xa0;; la page n&apos;a donc pas pu être chargée.</translation>
    </message>
    <message>
        <source>The service asks for a client certificate</source>
        <translation>Le service demande un certificat client</translation>
    </message>
    <message>
        <source>%1 asked for a certificate that identifies this computer or its user, and none is installed in the user&apos;s certificate database.</source>
        <extracomment>%1 is the server&apos;s host name and port.</extracomment>
        <translation>%1 a demandé un certificat qui identifie cet ordinateur ou son utilisateur, et aucun n&apos;est installé dans la base de certificats de l&apos;utilisateur.</translation>
    </message>
    <message>
        <source>The service refused the client certificate</source>
        <translation>Le service a refusé le certificat client</translation>
    </message>
    <message>
        <source>%1 did not accept the certificate that was sent. Try again to choose another one, or ask your administrator which certificate the service accepts.</source>
        <extracomment>%1 is the server&apos;s host name and port.</extracomment>
        <translation>%1 n&apos;a pas accepté le certificat envoyé. Réessayez pour en choisir un autre, ou demandez à votre administrateur quel certificat le service accepte.</translation>
    </message>
</context>
<context>
    <name>PreferencesDlg</name>
    <message>
        <source>Preference&amp;s…</source>
        <translation>Préférence&amp;s…</translation>
    </message>
    <message>
        <source>(too long; not used)</source>
        <translation>(trop long ; non utilisé)</translation>
    </message>
    <message>
        <source>(not set)</source>
        <translation>(non défini)</translation>
    </message>
    <message>
        <source>Quillo Preferences</source>
        <translation>Préférences de Quillo</translation>
    </message>
    <message>
        <source>&amp;Start Quillo when I log in</source>
        <translation>Lancer Quillo à l&apos;ouverture de &amp;session</translation>
    </message>
    <message>
        <source>Reset &amp;zoom for all sites</source>
        <translation>Réinitialiser le &amp;zoom de tous les sites</translation>
    </message>
    <message>
        <source>Send a test &amp;chat request</source>
        <translation>Envoyer une demande de &amp;chat de test</translation>
    </message>
    <message>
        <source>Alert sound on a chat request</source>
        <translation>Son d&apos;alerte lors d&apos;une demande de chat</translation>
    </message>
    <message>
        <source>O&amp;ff</source>
        <translation>&amp;Désactivé</translation>
    </message>
    <message>
        <source>&amp;Once</source>
        <translation>&amp;Une fois</translation>
    </message>
    <message>
        <source>&amp;Repeat until answered</source>
        <translation>&amp;Répéter jusqu&apos;à la réponse</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>&amp;Tester</translation>
    </message>
    <message>
        <source>Test the alert sound</source>
        <translation>Tester le son d&apos;alerte</translation>
    </message>
    <message>
        <source>Spelling languages</source>
        <translation>Langues d&apos;orthographe</translation>
    </message>
    <message>
        <source>No spelling dictionaries are installed.</source>
        <translation>Aucun dictionnaire d&apos;orthographe n&apos;est installé.</translation>
    </message>
    <message>
        <source>Settings Quillo runs on</source>
        <translation>Réglages utilisés par Quillo</translation>
    </message>
    <message>
        <source>Order number:</source>
        <translation>Numéro de commande :</translation>
    </message>
    <message>
        <source>Chat address:</source>
        <translation>Adresse du chat :</translation>
    </message>
    <message>
        <source>Settings file:</source>
        <translation>Fichier de réglages :</translation>
    </message>
    <message>
        <source>Starting at log-in could not be changed: %1</source>
        <translation>Le lancement à l&apos;ouverture de session n&apos;a pas pu être modifié : %1</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Another copy of Quillo seems to be using your chat profile, but its lock cannot be read.</source>
        <translation>Une autre copie de Quillo semble utiliser votre profil de chat, mais son verrou est illisible.</translation>
    </message>
    <message>
        <source>process %1, %2</source>
        <translation>processus %1, %2</translation>
    </message>
    <message>
        <source>Quillo is already running on this computer (%1) but does not answer.</source>
        <translation>Quillo est déjà lancé sur cet ordinateur (%1) mais ne répond pas.</translation>
    </message>
    <message>
        <source>Quillo is already running on the computer &lt;b&gt;%1&lt;/b&gt; (%2) with your chat profile, or it ended there without closing properly.</source>
        <translation>Quillo est déjà lancé sur l&apos;ordinateur &lt;b&gt;%1&lt;/b&gt; (%2) avec votre profil de chat, ou s&apos;y est arrêté sans se fermer correctement.</translation>
    </message>
    <message>
        <source>Two copies at once can overwrite each other&apos;s log-in and settings. If Quillo is not running there any more, you can start it here anyway.</source>
        <translation>Deux copies lancées en même temps peuvent écraser mutuellement leur connexion et leurs réglages. Si Quillo ne tourne plus là-bas, vous pouvez quand même le lancer ici.</translation>
    </message>
    <message>
        <source>&amp;Start anyway</source>
        <translation>&amp;Lancer quand même</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Quillo is in use</source>
        <translation>Quillo est déjà utilisé</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Files the page accepts (%1)</source>
        <translation>Fichiers acceptés par la page (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Tous les fichiers (*)</translation>
    </message>
    <message>
        <source>(no name)</source>
        <translation>(sans nom)</translation>
    </message>
</context>
<context>
    <name>quillo::RecoveryPanel</name>
    <message>
        <source>Can&apos;t reach the chat service</source>
        <translation>Impossible de joindre le service de chat</translation>
    </message>
    <message>
        <source>The page stopped</source>
        <translation>La page s&apos;est arrêtée</translation>
    </message>
    <message>
        <source>The page&apos;s renderer crashed.</source>
        <translation>Le processus d&apos;affichage de la page a planté.</translation>
    </message>
    <message>
        <source>The page&apos;s renderer was ended by the system.</source>
        <translation>Le processus d&apos;affichage de la page a été arrêté par le système.</translation>
    </message>
    <message>
        <source>The page&apos;s renderer ended unexpectedly.</source>
        <translation>Le processus d&apos;affichage de la page s&apos;est arrêté de manière inattendue.</translation>
    </message>
    <message>
        <source>The page stopped answering and was ended.</source>
        <translation>La page ne répondait plus et a été arrêtée.</translation>
    </message>
    <message>
        <source>%1 does not answer.</source>
        <extracomment>%1 is the address of the chat service&apos;s page.</extracomment>
        <translation>%1 ne répond pas.</translation>
    </message>
    <message>
        <source>%1 is not available at the moment.</source>
        <extracomment>%1 is the address of the chat service&apos;s page.</extracomment>
        <translation>%1 n&apos;est pas disponible pour le moment.</translation>
    </message>
    <message>
        <source>%1 was not loaded.</source>
        <extracomment>%1 is the address of the page.</extracomment>
        <translation>%1 n&apos;a pas été chargé.</translation>
    </message>
    <message>
        <source>Trying again now...</source>
        <translation>Nouvelle tentative en cours...</translation>
    </message>
    <message>
        <source>Trying again in 1 second.</source>
        <translation>Nouvelle tentative dans 1 seconde.</translation>
    </message>
    <message>
        <source>Trying again in %1 seconds.</source>
        <translation>Nouvelle tentative dans %1 secondes.</translation>
    </message>
    <message>
        <source>Try now</source>
        <translation>Réessayer maintenant</translation>
    </message>
    <message>
        <source>Loading it again now...</source>
        <translation>Rechargement en cours...</translation>
    </message>
    <message>
        <source>Loading it again in 1 second.</source>
        <translation>Rechargement dans 1 seconde.</translation>
    </message>
    <message>
        <source>Loading it again in %1 seconds.</source>
        <translation>Rechargement dans %1 secondes.</translation>
    </message>
    <message>
        <source>Reload now</source>
        <translation>Recharger maintenant</translation>
    </message>
</context>
<context>
    <name>quillo::alerts::AlertCenter</name>
    <message>
        <source>Acce&amp;pt chat request</source>
        <translation>A&amp;ccepter la demande de chat</translation>
    </message>
    <message>
        <source>&amp;Show Quillo</source>
        <translation>&amp;Afficher Quillo</translation>
    </message>
    <message>
        <source>P&amp;references…</source>
        <translation>Préférence&amp;s…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Quitter</translation>
    </message>
    <message>
        <source>Alert sound: O&amp;ff</source>
        <translation>Son d&apos;alerte : &amp;Désactivé</translation>
    </message>
    <message>
        <source>Alert sound: &amp;Once</source>
        <translation>Son d&apos;alerte : Une f&amp;ois</translation>
    </message>
    <message>
        <source>Alert sound: Rep&amp;eat</source>
        <translation>Son d&apos;alerte : Ré&amp;péter</translation>
    </message>
</context>
<context>
    <name>quillo::network::ClientCertificateDialog</name>
    <message>
        <source>Choose a certificate</source>
        <translation>Choisir un certificat</translation>
    </message>
    <message>
        <source>%1 asks for a certificate that identifies you.</source>
        <translation>%1 demande un certificat qui vous identifie.</translation>
    </message>
    <message>
        <source>%1
Issued by %2, valid until %3</source>
        <translation>%1
Émis par %2, valable jusqu&apos;au %3</translation>
    </message>
    <message>
        <source>&amp;Remember for this service</source>
        <translation>&amp;Retenir pour ce service</translation>
    </message>
    <message>
        <source>Use certificate</source>
        <translation>Utiliser le certificat</translation>
    </message>
    <message>
        <source>Send none</source>
        <translation>N&apos;en envoyer aucun</translation>
    </message>
</context>
<context>
    <name>quillo::network::SignInDialog</name>
    <message>
        <source>Proxy sign-in</source>
        <translation>Connexion au proxy</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Se connecter</translation>
    </message>
    <message>
        <source>The proxy %1 asks you to sign in.</source>
        <translation>Le proxy %1 vous demande de vous connecter.</translation>
    </message>
    <message>
        <source>%1 asks you to sign in.</source>
        <translation>%1 vous demande de vous connecter.</translation>
    </message>
    <message>
        <source>Realm: %1</source>
        <translation>Domaine : %1</translation>
    </message>
    <message>
        <source>The user name or password was not accepted. Try again.</source>
        <translation>Le nom d&apos;utilisateur ou le mot de passe n&apos;a pas été accepté. Réessayez.</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>Nom d&apos;&amp;utilisateur :</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Mot de passe :</translation>
    </message>
    <message>
        <source>&amp;Remember</source>
        <translation>&amp;Retenir</translation>
    </message>
    <message>
        <source>There is no secret store on this desktop, so sign-ins cannot be remembered.</source>
        <translation>Ce bureau n&apos;a pas de trousseau de secrets : les connexions ne peuvent pas être retenues.</translation>
    </message>
</context>
<context>
    <name>quillo::notify::ChatRequestNotice</name>
    <message>
        <source>Chat request</source>
        <translation>Demande de chat</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Accepter</translation>
    </message>
</context>
<context>
    <name>quillo::notify::WebNotificationCard</name>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::DownloadManager</name>
    <message>
        <source>it was cancelled</source>
        <translation>il a été annulé</translation>
    </message>
    <message>
        <source>it could not be saved in %1 and is kept as %2</source>
        <translation>il n&apos;a pas pu être enregistré dans %1 et est conservé sous %2</translation>
    </message>
    <message>
        <source>Save download</source>
        <translation>Enregistrer le téléchargement</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::DownloadNotice</name>
    <message>
        <source>Downloading %1</source>
        <translation>Téléchargement de %1</translation>
    </message>
    <message>
        <source>it was cancelled</source>
        <translation>il a été annulé</translation>
    </message>
    <message>
        <source>Saved %1 in %2</source>
        <translation>%1 enregistré dans %2</translation>
    </message>
    <message>
        <source>The download of %1 did not arrive: %2</source>
        <translation>Le téléchargement de %1 n&apos;est pas arrivé : %2</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fermer</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Téléchargement</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>Ouvrir le dossier</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::PageServices</name>
    <message>
        <source>Allow</source>
        <translation>Autoriser</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>Refuser</translation>
    </message>
    <message>
        <source>%1 asks to show notifications. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 demande à afficher des notifications. L&apos;autoriser&#xa0;?</translation>
    </message>
    <message>
        <source>%1 asks to know your location. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 demande à connaître votre position. L&apos;autoriser&#xa0;?</translation>
    </message>
    <message>
        <source>%1 asks to use your microphone. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 demande à utiliser votre micro. L&apos;autoriser&#xa0;?</translation>
    </message>
    <message>
        <source>%1 asks to use your camera. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 demande à utiliser votre caméra. L&apos;autoriser&#xa0;?</translation>
    </message>
    <message>
        <source>%1 asks to use your camera and microphone. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 demande à utiliser votre caméra et votre micro. L&apos;autoriser&#xa0;?</translation>
    </message>
    <message>
        <source>%1 asks to lock your mouse pointer. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 demande à verrouiller votre pointeur de souris. L&apos;autoriser&#xa0;?</translation>
    </message>
    <message>
        <source>%1 asks to share your screen. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 demande à partager votre écran. L&apos;autoriser&#xa0;?</translation>
    </message>
    <message>
        <source>%1 asks to share your screen and its sound. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 demande à partager votre écran et son audio. L&apos;autoriser&#xa0;?</translation>
    </message>
    <message>
        <source>%1 asks to use a feature of your computer. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 demande à utiliser une fonction de votre ordinateur. L&apos;autoriser&#xa0;?</translation>
    </message>
    <message>
        <source>Permission request</source>
        <translation>Demande d&apos;autorisation</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::PrintPreview</name>
    <message>
        <source>Print...</source>
        <translation>Imprimer...</translation>
    </message>
    <message numerus="yes">
        <source>Printing %n page(s)...</source>
        <translation>
            <numerusform>Impression de %n page...</numerusform>
            <numerusform>Impression de %n pages...</numerusform>
        </translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>Aperçu avant impression</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::ScriptDialogPage</name>
    <message>
        <source>Message from %1</source>
        <translation>Message de %1</translation>
    </message>
    <message>
        <source>Choose files for %1</source>
        <translation>Choisir des fichiers pour %1</translation>
    </message>
    <message>
        <source>The page&apos;s question was answered Cancel: a window&apos;s question never holds up the console.</source>
        <translation>La question de la page a reçu la réponse Annuler : la question d&apos;une fenêtre ne bloque jamais la console.</translation>
    </message>
</context>
</TS>
