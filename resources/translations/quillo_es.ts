<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="es">
<context>
    <name>CAboutDlg</name>
    <message>
        <source>OK</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>CChatMainDlg</name>
    <message>
        <source>Restore</source>
        <translation>Restaurar</translation>
    </message>
    <message>
        <source>Maximize</source>
        <translation>Maximizar</translation>
    </message>
    <message>
        <source>&amp;Restore</source>
        <translation>&amp;Restaurar</translation>
    </message>
    <message>
        <source>Mi&amp;nimize</source>
        <translation>Mi&amp;nimizar</translation>
    </message>
    <message>
        <source>Ma&amp;ximize</source>
        <translation>Ma&amp;ximizar</translation>
    </message>
    <message>
        <source>&amp;Close</source>
        <translation>&amp;Cerrar</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Prueba</translation>
    </message>
    <message>
        <source>This is a test chat request from Quillo. Accepting it does nothing in the console.</source>
        <translation>Esta es una solicitud de chat de prueba de Quillo. Aceptarla no hace nada en la consola.</translation>
    </message>
    <message>
        <source>0 min</source>
        <translation>0 min</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Minimize</source>
        <translation>Minimizar</translation>
    </message>
</context>
<context>
    <name>CChatNotifyDlg</name>
    <message>
        <source>Chat request</source>
        <translation>Solicitud de chat</translation>
    </message>
    <message>
        <source>Accept chat</source>
        <translation>Aceptar chat</translation>
    </message>
</context>
<context>
    <name>CCustomControlSite</name>
    <message>
        <source>Refresh</source>
        <translation>Actualizar</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Atrás</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Deshacer</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Rehacer</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Cor&amp;tar</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>&amp;Pegar</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Seleccionar todo</translation>
    </message>
    <message>
        <source>No spelling suggestions</source>
        <translation>No hay sugerencias ortográficas</translation>
    </message>
    <message>
        <source>Spelling &amp;Languages</source>
        <translation>&amp;Idiomas de ortografía</translation>
    </message>
</context>
<context>
    <name>PageNetwork</name>
    <message>
        <source>Can&apos;t trust the chat service&apos;s certificate</source>
        <translation>No se puede confiar en el certificado del servicio de chat</translation>
    </message>
    <message>
        <source>%1 presented a certificate from an issuer this computer does not trust.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 presentó un certificado de un emisor en el que este equipo no confía.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that has expired or is not valid yet.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 presentó un certificado que ha caducado o que aún no es válido.</translation>
    </message>
    <message>
        <source>%1 presented a certificate made out for another name.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 presentó un certificado emitido para otro nombre.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that its issuer has revoked.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 presentó un certificado que su emisor ha revocado.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that is damaged or not valid.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 presentó un certificado dañado o no válido.</translation>
    </message>
    <message>
        <source>%1 presented a certificate with a weak key or signature.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 presentó un certificado con una clave o una firma débil.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that cannot be trusted.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 presentó un certificado en el que no se puede confiar.</translation>
    </message>
    <message>
        <source>Nothing was loaded. Its SHA-256 fingerprint is unknown.</source>
        <translation>No se cargó nada. La huella digital SHA-256 del certificado es desconocida.</translation>
    </message>
    <message>
        <source>Nothing was loaded. Its SHA-256 fingerprint is %1; an administrator who knows it to be right can trust it with quillo-setup --trust-certificate.</source>
        <translation>No se cargó nada. La huella digital SHA-256 del certificado es %1; un administrador que sepa que es correcta puede confiar en él con quillo-setup --trust-certificate.</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Reintentar</translation>
    </message>
    <message>
        <source>Sign-in cancelled</source>
        <translation>Inicio de sesión cancelado</translation>
    </message>
    <message>
        <source>Sign-in to %1 was cancelled.</source>
        <extracomment>%1 is the site&apos;s address (scheme, host and port).</extracomment>
        <translation>Se canceló el inicio de sesión en %1.</translation>
    </message>
    <message>
        <source>Sign in again</source>
        <translation>Volver a iniciar sesión</translation>
    </message>
    <message>
        <source>Sign-in to the proxy %1 was cancelled, so the page could not load.</source>
        <extracomment>%1 is the proxy&apos;s host name.</extracomment>
        <translation>Se canceló el inicio de sesión en el proxy %1, por lo que no se pudo cargar la página.</translation>
    </message>
    <message>
        <source>The service asks for a client certificate</source>
        <translation>El servicio solicita un certificado de cliente</translation>
    </message>
    <message>
        <source>%1 asked for a certificate that identifies this computer or its user, and none is installed in the user&apos;s certificate database.</source>
        <extracomment>%1 is the server&apos;s host name and port.</extracomment>
        <translation>%1 solicitó un certificado que identifique este equipo o a su usuario, y no hay ninguno instalado en la base de datos de certificados del usuario.</translation>
    </message>
    <message>
        <source>The service refused the client certificate</source>
        <translation>El servicio rechazó el certificado de cliente</translation>
    </message>
    <message>
        <source>%1 did not accept the certificate that was sent. Try again to choose another one, or ask your administrator which certificate the service accepts.</source>
        <extracomment>%1 is the server&apos;s host name and port.</extracomment>
        <translation>%1 no aceptó el certificado enviado. Vuelva a intentarlo para elegir otro, o pregunte a su administrador qué certificado acepta el servicio.</translation>
    </message>
</context>
<context>
    <name>PreferencesDlg</name>
    <message>
        <source>Preference&amp;s…</source>
        <translation>Preferencia&amp;s…</translation>
    </message>
    <message>
        <source>(too long; not used)</source>
        <translation>(demasiado largo; no se usa)</translation>
    </message>
    <message>
        <source>(not set)</source>
        <translation>(no establecido)</translation>
    </message>
    <message>
        <source>Quillo Preferences</source>
        <translation>Preferencias de Quillo</translation>
    </message>
    <message>
        <source>&amp;Start Quillo when I log in</source>
        <translation>&amp;Iniciar Quillo al iniciar sesión</translation>
    </message>
    <message>
        <source>Reset &amp;zoom for all sites</source>
        <translation>Restablecer el &amp;zoom de todos los sitios</translation>
    </message>
    <message>
        <source>Send a test &amp;chat request</source>
        <translation>Enviar una solicitud de &amp;chat de prueba</translation>
    </message>
    <message>
        <source>Alert sound on a chat request</source>
        <translation>Sonido de alerta ante una solicitud de chat</translation>
    </message>
    <message>
        <source>O&amp;ff</source>
        <translation>&amp;Desactivado</translation>
    </message>
    <message>
        <source>&amp;Once</source>
        <translation>&amp;Una vez</translation>
    </message>
    <message>
        <source>&amp;Repeat until answered</source>
        <translation>&amp;Repetir hasta que se responda</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>&amp;Probar</translation>
    </message>
    <message>
        <source>Test the alert sound</source>
        <translation>Probar el sonido de alerta</translation>
    </message>
    <message>
        <source>Spelling languages</source>
        <translation>Idiomas de ortografía</translation>
    </message>
    <message>
        <source>No spelling dictionaries are installed.</source>
        <translation>No hay diccionarios ortográficos instalados.</translation>
    </message>
    <message>
        <source>Settings Quillo runs on</source>
        <translation>Configuración con la que funciona Quillo</translation>
    </message>
    <message>
        <source>Order number:</source>
        <translation>Número de pedido:</translation>
    </message>
    <message>
        <source>Chat address:</source>
        <translation>Dirección del chat:</translation>
    </message>
    <message>
        <source>Settings file:</source>
        <translation>Archivo de configuración:</translation>
    </message>
    <message>
        <source>Starting at log-in could not be changed: %1</source>
        <translation>No se pudo cambiar el inicio al iniciar sesión: %1</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Another copy of Quillo seems to be using your chat profile, but its lock cannot be read.</source>
        <translation>Otra copia de Quillo parece estar usando su perfil de chat, pero no se puede leer su bloqueo.</translation>
    </message>
    <message>
        <source>process %1, %2</source>
        <translation>proceso %1, %2</translation>
    </message>
    <message>
        <source>Quillo is already running on this computer (%1) but does not answer.</source>
        <translation>Quillo ya se está ejecutando en este equipo (%1), pero no responde.</translation>
    </message>
    <message>
        <source>Quillo is already running on the computer &lt;b&gt;%1&lt;/b&gt; (%2) with your chat profile, or it ended there without closing properly.</source>
        <translation>Quillo ya se está ejecutando en el equipo &lt;b&gt;%1&lt;/b&gt; (%2) con su perfil de chat, o terminó allí sin cerrarse correctamente.</translation>
    </message>
    <message>
        <source>Two copies at once can overwrite each other&apos;s log-in and settings. If Quillo is not running there any more, you can start it here anyway.</source>
        <translation>Dos copias a la vez pueden sobrescribir mutuamente el inicio de sesión y la configuración. Si Quillo ya no se está ejecutando allí, puede iniciarlo aquí de todos modos.</translation>
    </message>
    <message>
        <source>&amp;Start anyway</source>
        <translation>&amp;Iniciar de todos modos</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Quillo is in use</source>
        <translation>Quillo ya está en uso</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Files the page accepts (%1)</source>
        <translation>Archivos que acepta la página (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos los archivos (*)</translation>
    </message>
    <message>
        <source>(no name)</source>
        <translation>(sin nombre)</translation>
    </message>
</context>
<context>
    <name>quillo::RecoveryPanel</name>
    <message>
        <source>Can&apos;t reach the chat service</source>
        <translation>No se puede conectar con el servicio de chat</translation>
    </message>
    <message>
        <source>The page stopped</source>
        <translation>La página se detuvo</translation>
    </message>
    <message>
        <source>The page&apos;s renderer crashed.</source>
        <translation>El proceso de renderizado de la página falló.</translation>
    </message>
    <message>
        <source>The page&apos;s renderer was ended by the system.</source>
        <translation>El sistema finalizó el proceso de renderizado de la página.</translation>
    </message>
    <message>
        <source>The page&apos;s renderer ended unexpectedly.</source>
        <translation>El proceso de renderizado de la página terminó de forma inesperada.</translation>
    </message>
    <message>
        <source>The page stopped answering and was ended.</source>
        <translation>La página dejó de responder y se cerró.</translation>
    </message>
    <message>
        <source>%1 does not answer.</source>
        <extracomment>%1 is the address of the chat service&apos;s page.</extracomment>
        <translation>%1 no responde.</translation>
    </message>
    <message>
        <source>%1 is not available at the moment.</source>
        <extracomment>%1 is the address of the chat service&apos;s page.</extracomment>
        <translation>%1 no está disponible en este momento.</translation>
    </message>
    <message>
        <source>%1 was not loaded.</source>
        <extracomment>%1 is the address of the page.</extracomment>
        <translation>%1 no se cargó.</translation>
    </message>
    <message>
        <source>Trying again now...</source>
        <translation>Nuevo intento en curso...</translation>
    </message>
    <message>
        <source>Trying again in 1 second.</source>
        <translation>Nuevo intento en 1 segundo.</translation>
    </message>
    <message>
        <source>Trying again in %1 seconds.</source>
        <translation>Nuevo intento en %1 segundos.</translation>
    </message>
    <message>
        <source>Try now</source>
        <translation>Intentar ahora</translation>
    </message>
    <message>
        <source>Loading it again now...</source>
        <translation>Recargando la página...</translation>
    </message>
    <message>
        <source>Loading it again in 1 second.</source>
        <translation>Se recargará en 1 segundo.</translation>
    </message>
    <message>
        <source>Loading it again in %1 seconds.</source>
        <translation>Se recargará en %1 segundos.</translation>
    </message>
    <message>
        <source>Reload now</source>
        <translation>Recargar ahora</translation>
    </message>
</context>
<context>
    <name>quillo::alerts::AlertCenter</name>
    <message>
        <source>Acce&amp;pt chat request</source>
        <translation>Acep&amp;tar solicitud de chat</translation>
    </message>
    <message>
        <source>&amp;Show Quillo</source>
        <translation>&amp;Mostrar Quillo</translation>
    </message>
    <message>
        <source>P&amp;references…</source>
        <translation>&amp;Preferencias…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Salir</translation>
    </message>
    <message>
        <source>Alert sound: O&amp;ff</source>
        <translation>Sonido de alerta: &amp;Desactivado</translation>
    </message>
    <message>
        <source>Alert sound: &amp;Once</source>
        <translation>Sonido de alerta: &amp;Una vez</translation>
    </message>
    <message>
        <source>Alert sound: Rep&amp;eat</source>
        <translation>Sonido de alerta: Re&amp;petir</translation>
    </message>
</context>
<context>
    <name>quillo::network::ClientCertificateDialog</name>
    <message>
        <source>Choose a certificate</source>
        <translation>Elegir un certificado</translation>
    </message>
    <message>
        <source>%1 asks for a certificate that identifies you.</source>
        <translation>%1 solicita un certificado que lo identifique.</translation>
    </message>
    <message>
        <source>%1
Issued by %2, valid until %3</source>
        <translation>%1
Emitido por %2, válido hasta %3</translation>
    </message>
    <message>
        <source>&amp;Remember for this service</source>
        <translation>&amp;Recordar para este servicio</translation>
    </message>
    <message>
        <source>Use certificate</source>
        <translation>Usar certificado</translation>
    </message>
    <message>
        <source>Send none</source>
        <translation>No enviar ninguno</translation>
    </message>
</context>
<context>
    <name>quillo::network::SignInDialog</name>
    <message>
        <source>Proxy sign-in</source>
        <translation>Inicio de sesión en el proxy</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Iniciar sesión</translation>
    </message>
    <message>
        <source>The proxy %1 asks you to sign in.</source>
        <translation>El proxy %1 le pide que inicie sesión.</translation>
    </message>
    <message>
        <source>%1 asks you to sign in.</source>
        <translation>%1 le pide que inicie sesión.</translation>
    </message>
    <message>
        <source>Realm: %1</source>
        <translation>Ámbito: %1</translation>
    </message>
    <message>
        <source>The user name or password was not accepted. Try again.</source>
        <translation>No se aceptó el nombre de usuario o la contraseña. Inténtelo de nuevo.</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>Nombre de &amp;usuario:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Contraseña:</translation>
    </message>
    <message>
        <source>&amp;Remember</source>
        <translation>&amp;Recordar</translation>
    </message>
    <message>
        <source>There is no secret store on this desktop, so sign-ins cannot be remembered.</source>
        <translation>Este escritorio no tiene un almacén de secretos, así que los inicios de sesión no se pueden recordar.</translation>
    </message>
</context>
<context>
    <name>quillo::notify::ChatRequestNotice</name>
    <message>
        <source>Chat request</source>
        <translation>Solicitud de chat</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Aceptar</translation>
    </message>
</context>
<context>
    <name>quillo::notify::WebNotificationCard</name>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::DownloadManager</name>
    <message>
        <source>it was cancelled</source>
        <translation>se canceló</translation>
    </message>
    <message>
        <source>it could not be saved in %1 and is kept as %2</source>
        <translation>no se pudo guardar en %1 y se conserva como %2</translation>
    </message>
    <message>
        <source>Save download</source>
        <translation>Guardar descarga</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::DownloadNotice</name>
    <message>
        <source>Downloading %1</source>
        <translation>Descargando %1</translation>
    </message>
    <message>
        <source>it was cancelled</source>
        <translation>se canceló</translation>
    </message>
    <message>
        <source>Saved %1 in %2</source>
        <translation>%1 guardado en %2</translation>
    </message>
    <message>
        <source>The download of %1 did not arrive: %2</source>
        <translation>La descarga de %1 no llegó: %2</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Cerrar</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Descarga</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>Abrir carpeta</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::PageServices</name>
    <message>
        <source>Allow</source>
        <translation>Permitir</translation>
    </message>
    <message>
        <source>Deny</source>
        <translation>Denegar</translation>
    </message>
    <message>
        <source>%1 asks to show notifications. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 solicita mostrar notificaciones. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>%1 asks to know your location. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 solicita conocer su ubicación. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>%1 asks to use your microphone. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 solicita usar su micrófono. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>%1 asks to use your camera. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 solicita usar su cámara. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>%1 asks to use your camera and microphone. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 solicita usar su cámara y su micrófono. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>%1 asks to lock your mouse pointer. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 solicita bloquear el puntero del ratón. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>%1 asks to share your screen. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 solicita compartir su pantalla. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>%1 asks to share your screen and its sound. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 solicita compartir su pantalla y su sonido. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>%1 asks to use a feature of your computer. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 solicita usar una función de su equipo. ¿Permitirlo?</translation>
    </message>
    <message>
        <source>Permission request</source>
        <translation>Solicitud de permiso</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::PrintPreview</name>
    <message>
        <source>Print...</source>
        <translation>Imprimir...</translation>
    </message>
    <message numerus="yes">
        <source>Printing %n page(s)...</source>
        <translation>
            <numerusform>Imprimiendo %n página...</numerusform>
            <numerusform>Imprimiendo %n páginas...</numerusform>
        </translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>Vista previa de impresión</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::ScriptDialogPage</name>
    <message>
        <source>Message from %1</source>
        <translation>Mensaje de %1</translation>
    </message>
    <message>
        <source>Choose files for %1</source>
        <translation>Elegir archivos para %1</translation>
    </message>
    <message>
        <source>The page&apos;s question was answered Cancel: a window&apos;s question never holds up the console.</source>
        <translation>La pregunta de la página se respondió con Cancelar: la pregunta de una ventana nunca detiene la consola.</translation>
    </message>
</context>
</TS>
