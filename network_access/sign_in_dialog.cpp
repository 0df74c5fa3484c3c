#include "network_access/sign_in_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace quillo::network {

SignInDialog::SignInDialog(const Question& question, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(question.proxy ? tr("Proxy sign-in") : tr("Sign in"));
    auto* layout = new QVBoxLayout(this);
    auto* who = new QLabel(question.proxy ? tr("The proxy %1 asks you to sign in.").arg(question.where)
                                          : tr("%1 asks you to sign in.").arg(question.where),
                           this);
    who->setTextFormat(Qt::PlainText);
    who->setWordWrap(true);
    layout->addWidget(who);
    if (!question.realm.isEmpty()) {
        auto* realm = new QLabel(tr("Realm: %1").arg(question.realm), this);
        realm->setTextFormat(Qt::PlainText);
        realm->setWordWrap(true);
        layout->addWidget(realm);
    }
    if (question.refusedBefore) {
        auto* refused = new QLabel(tr("The user name or password was not accepted. Try again."), this);
        refused->setObjectName(QStringLiteral("signInRefused"));
        refused->setStyleSheet(QStringLiteral("color: #b00020"));
        refused->setWordWrap(true);
        layout->addWidget(refused);
    }

    auto* form = new QFormLayout;
    m_user = new QLineEdit(question.user, this);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    form->addRow(tr("&User name:"), m_user);
    form->addRow(tr("&Password:"), m_password);
    layout->addLayout(form);

    m_remember = new QCheckBox(tr("&Remember"), this);
    if (!question.canRemember) {
        m_remember->setEnabled(false);
        auto* note = new QLabel(
            tr("There is no secret store on this desktop, so sign-ins cannot be remembered."), this);
        note->setWordWrap(true);
        layout->addWidget(m_remember);
        layout->addWidget(note);
    } else {
        layout->addWidget(m_remember);
    }

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Cancel, this);
    QPushButton* signIn = buttons->addButton(tr("Sign in"), QDialogButtonBox::AcceptRole);
    signIn->setDefault(true);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    layout->addWidget(buttons);

    // The user name first, selected: typing replaces the one given before.
    m_user->selectAll();
    m_user->setFocus();
}

SignInDialog::~SignInDialog() = default;

QString SignInDialog::user() const {
    return m_user->text();
}

QString SignInDialog::password() const {
    return m_password->text();
}

bool SignInDialog::remember() const {
    return m_remember->isChecked();
}

} // namespace quillo::network
