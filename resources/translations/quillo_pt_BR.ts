<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="pt_BR">
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
        <translation>&amp;Fechar</translation>
    </message>
    <message>
        <source>Test</source>
        <translation>Teste</translation>
    </message>
    <message>
        <source>This is a test chat request from Quillo. Accepting it does nothing in the console.</source>
        <translation>Esta é uma solicitação de chat de teste do Quillo. Aceitá-la não faz nada no console.</translation>
    </message>
    <message>
        <source>0 min</source>
        <translation>0 min</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
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
        <translation>Solicitação de chat</translation>
    </message>
    <message>
        <source>Accept chat</source>
        <translation>Aceitar chat</translation>
    </message>
</context>
<context>
    <name>CCustomControlSite</name>
    <message>
        <source>Refresh</source>
        <translation>Atualizar</translation>
    </message>
    <message>
        <source>Back</source>
        <translation>Voltar</translation>
    </message>
    <message>
        <source>&amp;Undo</source>
        <translation>&amp;Desfazer</translation>
    </message>
    <message>
        <source>&amp;Redo</source>
        <translation>&amp;Refazer</translation>
    </message>
    <message>
        <source>Cu&amp;t</source>
        <translation>Recor&amp;tar</translation>
    </message>
    <message>
        <source>&amp;Copy</source>
        <translation>&amp;Copiar</translation>
    </message>
    <message>
        <source>&amp;Paste</source>
        <translation>Co&amp;lar</translation>
    </message>
    <message>
        <source>Select &amp;All</source>
        <translation>&amp;Selecionar tudo</translation>
    </message>
    <message>
        <source>No spelling suggestions</source>
        <translation>Nenhuma sugestão de ortografia</translation>
    </message>
    <message>
        <source>Spelling &amp;Languages</source>
        <translation>&amp;Idiomas da ortografia</translation>
    </message>
</context>
<context>
    <name>PageNetwork</name>
    <message>
        <source>Can&apos;t trust the chat service&apos;s certificate</source>
        <translation>Não é possível confiar no certificado do serviço de chat</translation>
    </message>
    <message>
        <source>%1 presented a certificate from an issuer this computer does not trust.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 apresentou um certificado de um emissor em que este computador não confia.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that has expired or is not valid yet.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 apresentou um certificado que expirou ou ainda não é válido.</translation>
    </message>
    <message>
        <source>%1 presented a certificate made out for another name.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 apresentou um certificado emitido para outro nome.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that its issuer has revoked.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 apresentou um certificado que foi revogado pelo emissor.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that is damaged or not valid.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 apresentou um certificado danificado ou inválido.</translation>
    </message>
    <message>
        <source>%1 presented a certificate with a weak key or signature.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 apresentou um certificado com chave ou assinatura fraca.</translation>
    </message>
    <message>
        <source>%1 presented a certificate that cannot be trusted.</source>
        <extracomment>%1 is the host name of the server.</extracomment>
        <translation>%1 apresentou um certificado que não é confiável.</translation>
    </message>
    <message>
        <source>Nothing was loaded. Its SHA-256 fingerprint is unknown.</source>
        <translation>Nada foi carregado. A impressão digital SHA-256 do certificado é desconhecida.</translation>
    </message>
    <message>
        <source>Nothing was loaded. Its SHA-256 fingerprint is %1; an administrator who knows it to be right can trust it with quillo-setup --trust-certificate.</source>
        <translation>Nada foi carregado. A impressão digital SHA-256 do certificado é %1; um administrador que saiba que ela está correta pode confiar nele com quillo-setup --trust-certificate.</translation>
    </message>
    <message>
        <source>Try again</source>
        <translation>Tentar novamente</translation>
    </message>
    <message>
        <source>Sign-in cancelled</source>
        <translation>Entrada cancelada</translation>
    </message>
    <message>
        <source>Sign-in to %1 was cancelled.</source>
        <extracomment>%1 is the site&apos;s address (scheme, host and port).</extracomment>
        <translation>A entrada em %1 foi cancelada.</translation>
    </message>
    <message>
        <source>Sign in again</source>
        <translation>Entrar novamente</translation>
    </message>
    <message>
        <source>Sign-in to the proxy %1 was cancelled, so the page could not load.</source>
        <extracomment>%1 is the proxy&apos;s host name.</extracomment>
        <translation>A entrada no proxy %1 foi cancelada, por isso não foi possível carregar a página.</translation>
    </message>
    <message>
        <source>The service asks for a client certificate</source>
        <translation>O serviço pede um certificado de cliente</translation>
    </message>
    <message>
        <source>%1 asked for a certificate that identifies this computer or its user, and none is installed in the user&apos;s certificate database.</source>
        <extracomment>%1 is the server&apos;s host name and port.</extracomment>
        <translation>%1 pediu um certificado que identifique este computador ou o usuário dele, e não há nenhum instalado no banco de dados de certificados do usuário.</translation>
    </message>
    <message>
        <source>The service refused the client certificate</source>
        <translation>O serviço recusou o certificado de cliente</translation>
    </message>
    <message>
        <source>%1 did not accept the certificate that was sent. Try again to choose another one, or ask your administrator which certificate the service accepts.</source>
        <extracomment>%1 is the server&apos;s host name and port.</extracomment>
        <translation>%1 não aceitou o certificado enviado. Tente novamente para escolher outro ou pergunte ao seu administrador qual certificado o serviço aceita.</translation>
    </message>
</context>
<context>
    <name>PreferencesDlg</name>
    <message>
        <source>Preference&amp;s…</source>
        <translation>Preferência&amp;s…</translation>
    </message>
    <message>
        <source>(too long; not used)</source>
        <translation>(longo demais; não usado)</translation>
    </message>
    <message>
        <source>(not set)</source>
        <translation>(não definido)</translation>
    </message>
    <message>
        <source>Quillo Preferences</source>
        <translation>Preferências do Quillo</translation>
    </message>
    <message>
        <source>&amp;Start Quillo when I log in</source>
        <translation>&amp;Iniciar o Quillo ao entrar na sessão</translation>
    </message>
    <message>
        <source>Reset &amp;zoom for all sites</source>
        <translation>Redefinir o &amp;zoom de todos os sites</translation>
    </message>
    <message>
        <source>Send a test &amp;chat request</source>
        <translation>Enviar uma solicitação de &amp;chat de teste</translation>
    </message>
    <message>
        <source>Alert sound on a chat request</source>
        <translation>Som de alerta em uma solicitação de chat</translation>
    </message>
    <message>
        <source>O&amp;ff</source>
        <translation>&amp;Desligado</translation>
    </message>
    <message>
        <source>&amp;Once</source>
        <translation>&amp;Uma vez</translation>
    </message>
    <message>
        <source>&amp;Repeat until answered</source>
        <translation>&amp;Repetir até ser respondida</translation>
    </message>
    <message>
        <source>&amp;Test</source>
        <translation>&amp;Testar</translation>
    </message>
    <message>
        <source>Test the alert sound</source>
        <translation>Testar o som de alerta</translation>
    </message>
    <message>
        <source>Spelling languages</source>
        <translation>Idiomas da ortografia</translation>
    </message>
    <message>
        <source>No spelling dictionaries are installed.</source>
        <translation>Nenhum dicionário ortográfico está instalado.</translation>
    </message>
    <message>
        <source>Settings Quillo runs on</source>
        <translation>Configurações usadas pelo Quillo</translation>
    </message>
    <message>
        <source>Order number:</source>
        <translation>Número do pedido:</translation>
    </message>
    <message>
        <source>Chat address:</source>
        <translation>Endereço do chat:</translation>
    </message>
    <message>
        <source>Settings file:</source>
        <translation>Arquivo de configurações:</translation>
    </message>
    <message>
        <source>Starting at log-in could not be changed: %1</source>
        <translation>Não foi possível alterar o início ao entrar na sessão: %1</translation>
    </message>
</context>
<context>
    <name>QMessageBox</name>
    <message>
        <source>Another copy of Quillo seems to be using your chat profile, but its lock cannot be read.</source>
        <translation>Outra cópia do Quillo parece estar usando seu perfil de chat, mas a trava dela não pode ser lida.</translation>
    </message>
    <message>
        <source>process %1, %2</source>
        <translation>processo %1, %2</translation>
    </message>
    <message>
        <source>Quillo is already running on this computer (%1) but does not answer.</source>
        <translation>O Quillo já está em execução neste computador (%1), mas não responde.</translation>
    </message>
    <message>
        <source>Quillo is already running on the computer &lt;b&gt;%1&lt;/b&gt; (%2) with your chat profile, or it ended there without closing properly.</source>
        <translation>O Quillo já está em execução no computador &lt;b&gt;%1&lt;/b&gt; (%2) com seu perfil de chat, ou foi encerrado lá sem fechar corretamente.</translation>
    </message>
    <message>
        <source>Two copies at once can overwrite each other&apos;s log-in and settings. If Quillo is not running there any more, you can start it here anyway.</source>
        <translation>Duas cópias ao mesmo tempo podem sobrescrever o login e as configurações uma da outra. Se o Quillo não estiver mais em execução lá, você pode iniciá-lo aqui mesmo assim.</translation>
    </message>
    <message>
        <source>&amp;Start anyway</source>
        <translation>&amp;Iniciar mesmo assim</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Sair</translation>
    </message>
    <message>
        <source>Quillo is in use</source>
        <translation>O Quillo já está em uso</translation>
    </message>
</context>
<context>
    <name>QObject</name>
    <message>
        <source>Files the page accepts (%1)</source>
        <translation>Arquivos aceitos pela página (%1)</translation>
    </message>
    <message>
        <source>All files (*)</source>
        <translation>Todos os arquivos (*)</translation>
    </message>
    <message>
        <source>(no name)</source>
        <translation>(sem nome)</translation>
    </message>
</context>
<context>
    <name>quillo::RecoveryPanel</name>
    <message>
        <source>Can&apos;t reach the chat service</source>
        <translation>Não foi possível acessar o serviço de chat</translation>
    </message>
    <message>
        <source>The page stopped</source>
        <translation>A página parou</translation>
    </message>
    <message>
        <source>The page&apos;s renderer crashed.</source>
        <translation>O processo de renderização da página falhou.</translation>
    </message>
    <message>
        <source>The page&apos;s renderer was ended by the system.</source>
        <translation>O sistema encerrou o processo de renderização da página.</translation>
    </message>
    <message>
        <source>The page&apos;s renderer ended unexpectedly.</source>
        <translation>O processo de renderização da página terminou inesperadamente.</translation>
    </message>
    <message>
        <source>The page stopped answering and was ended.</source>
        <translation>A página parou de responder e foi encerrada.</translation>
    </message>
    <message>
        <source>%1 does not answer.</source>
        <extracomment>%1 is the address of the chat service&apos;s page.</extracomment>
        <translation>%1 não responde.</translation>
    </message>
    <message>
        <source>%1 is not available at the moment.</source>
        <extracomment>%1 is the address of the chat service&apos;s page.</extracomment>
        <translation>%1 não está disponível no momento.</translation>
    </message>
    <message>
        <source>%1 was not loaded.</source>
        <extracomment>%1 is the address of the page.</extracomment>
        <translation>%1 não foi carregado.</translation>
    </message>
    <message>
        <source>Trying again now...</source>
        <translation>Nova tentativa em andamento...</translation>
    </message>
    <message>
        <source>Trying again in 1 second.</source>
        <translation>Nova tentativa em 1 segundo.</translation>
    </message>
    <message>
        <source>Trying again in %1 seconds.</source>
        <translation>Nova tentativa em %1 segundos.</translation>
    </message>
    <message>
        <source>Try now</source>
        <translation>Tentar agora</translation>
    </message>
    <message>
        <source>Loading it again now...</source>
        <translation>Recarregando a página...</translation>
    </message>
    <message>
        <source>Loading it again in 1 second.</source>
        <translation>Recarregando em 1 segundo.</translation>
    </message>
    <message>
        <source>Loading it again in %1 seconds.</source>
        <translation>Recarregando em %1 segundos.</translation>
    </message>
    <message>
        <source>Reload now</source>
        <translation>Recarregar agora</translation>
    </message>
</context>
<context>
    <name>quillo::alerts::AlertCenter</name>
    <message>
        <source>Acce&amp;pt chat request</source>
        <translation>Acei&amp;tar solicitação de chat</translation>
    </message>
    <message>
        <source>&amp;Show Quillo</source>
        <translation>&amp;Mostrar o Quillo</translation>
    </message>
    <message>
        <source>P&amp;references…</source>
        <translation>&amp;Preferências…</translation>
    </message>
    <message>
        <source>&amp;Quit</source>
        <translation>&amp;Sair</translation>
    </message>
    <message>
        <source>Alert sound: O&amp;ff</source>
        <translation>Som de alerta: &amp;Desligado</translation>
    </message>
    <message>
        <source>Alert sound: &amp;Once</source>
        <translation>Som de alerta: &amp;Uma vez</translation>
    </message>
    <message>
        <source>Alert sound: Rep&amp;eat</source>
        <translation>Som de alerta: Re&amp;petir</translation>
    </message>
</context>
<context>
    <name>quillo::network::ClientCertificateDialog</name>
    <message>
        <source>Choose a certificate</source>
        <translation>Escolher um certificado</translation>
    </message>
    <message>
        <source>%1 asks for a certificate that identifies you.</source>
        <translation>%1 pede um certificado que identifique você.</translation>
    </message>
    <message>
        <source>%1
Issued by %2, valid until %3</source>
        <translation>%1
Emitido por %2, válido até %3</translation>
    </message>
    <message>
        <source>&amp;Remember for this service</source>
        <translation>&amp;Lembrar para este serviço</translation>
    </message>
    <message>
        <source>Use certificate</source>
        <translation>Usar certificado</translation>
    </message>
    <message>
        <source>Send none</source>
        <translation>Não enviar nenhum</translation>
    </message>
</context>
<context>
    <name>quillo::network::SignInDialog</name>
    <message>
        <source>Proxy sign-in</source>
        <translation>Entrada no proxy</translation>
    </message>
    <message>
        <source>Sign in</source>
        <translation>Entrar</translation>
    </message>
    <message>
        <source>The proxy %1 asks you to sign in.</source>
        <translation>O proxy %1 pede que você entre.</translation>
    </message>
    <message>
        <source>%1 asks you to sign in.</source>
        <translation>%1 pede que você entre.</translation>
    </message>
    <message>
        <source>Realm: %1</source>
        <translation>Domínio: %1</translation>
    </message>
    <message>
        <source>The user name or password was not accepted. Try again.</source>
        <translation>O nome de usuário ou a senha não foi aceito. Tente novamente.</translation>
    </message>
    <message>
        <source>&amp;User name:</source>
        <translation>Nome de &amp;usuário:</translation>
    </message>
    <message>
        <source>&amp;Password:</source>
        <translation>&amp;Senha:</translation>
    </message>
    <message>
        <source>&amp;Remember</source>
        <translation>&amp;Lembrar</translation>
    </message>
    <message>
        <source>There is no secret store on this desktop, so sign-ins cannot be remembered.</source>
        <translation>Esta área de trabalho não tem um cofre de senhas, então as entradas não podem ser lembradas.</translation>
    </message>
</context>
<context>
    <name>quillo::notify::ChatRequestNotice</name>
    <message>
        <source>Chat request</source>
        <translation>Solicitação de chat</translation>
    </message>
    <message>
        <source>Accept</source>
        <translation>Aceitar</translation>
    </message>
</context>
<context>
    <name>quillo::notify::WebNotificationCard</name>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::DownloadManager</name>
    <message>
        <source>it was cancelled</source>
        <translation>ele foi cancelado</translation>
    </message>
    <message>
        <source>it could not be saved in %1 and is kept as %2</source>
        <translation>não foi possível salvá-lo em %1 e ele foi mantido como %2</translation>
    </message>
    <message>
        <source>Save download</source>
        <translation>Salvar download</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::DownloadNotice</name>
    <message>
        <source>Downloading %1</source>
        <translation>Baixando %1</translation>
    </message>
    <message>
        <source>it was cancelled</source>
        <translation>ele foi cancelado</translation>
    </message>
    <message>
        <source>Saved %1 in %2</source>
        <translation>%1 salvo em %2</translation>
    </message>
    <message>
        <source>The download of %1 did not arrive: %2</source>
        <translation>O download de %1 não chegou: %2</translation>
    </message>
    <message>
        <source>Close</source>
        <translation>Fechar</translation>
    </message>
    <message>
        <source>Download</source>
        <translation>Download</translation>
    </message>
    <message>
        <source>Open folder</source>
        <translation>Abrir pasta</translation>
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
        <translation>Negar</translation>
    </message>
    <message>
        <source>%1 asks to show notifications. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 pede para mostrar notificações. Permitir?</translation>
    </message>
    <message>
        <source>%1 asks to know your location. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 pede para saber sua localização. Permitir?</translation>
    </message>
    <message>
        <source>%1 asks to use your microphone. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 pede para usar seu microfone. Permitir?</translation>
    </message>
    <message>
        <source>%1 asks to use your camera. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 pede para usar sua câmera. Permitir?</translation>
    </message>
    <message>
        <source>%1 asks to use your camera and microphone. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 pede para usar sua câmera e seu microfone. Permitir?</translation>
    </message>
    <message>
        <source>%1 asks to lock your mouse pointer. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 pede para travar o ponteiro do mouse. Permitir?</translation>
    </message>
    <message>
        <source>%1 asks to share your screen. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 pede para compartilhar sua tela. Permitir?</translation>
    </message>
    <message>
        <source>%1 asks to share your screen and its sound. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 pede para compartilhar sua tela e o som dela. Permitir?</translation>
    </message>
    <message>
        <source>%1 asks to use a feature of your computer. Allow it?</source>
        <extracomment>%1 is the page&apos;s origin, e.g. https://chat.example</extracomment>
        <translation>%1 pede para usar um recurso do seu computador. Permitir?</translation>
    </message>
    <message>
        <source>Permission request</source>
        <translation>Pedido de permissão</translation>
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
            <numerusform>Imprimindo %n página...</numerusform>
            <numerusform>Imprimindo %n páginas...</numerusform>
        </translation>
    </message>
    <message>
        <source>Print preview</source>
        <translation>Visualização de impressão</translation>
    </message>
</context>
<context>
    <name>quillo::page_services::ScriptDialogPage</name>
    <message>
        <source>Message from %1</source>
        <translation>Mensagem de %1</translation>
    </message>
    <message>
        <source>Choose files for %1</source>
        <translation>Escolher arquivos para %1</translation>
    </message>
    <message>
        <source>The page&apos;s question was answered Cancel: a window&apos;s question never holds up the console.</source>
        <translation>A pergunta da página foi respondida com Cancelar: a pergunta de uma janela nunca trava o console.</translation>
    </message>
</context>
</TS>
