#include "network_access/sign_in_dialog.h"

#include "network_access/question_parts.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

namespace quillo::network {

SignInDialog::SignInDialog(const Question& question, QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(question.proxy ? tr("Proxy sign-in") : tr("Sign in"));
    auto* layout = new QVBoxLayout(this);
    addTextLine(*this, *layout,
                question.proxy ? tr("The proxy %1 asks you to sign in.").arg(question.where)
                               : tr("%1 asks you to sign in.").arg(question.where));
    if (!question.realm.isEmpty())
        addTextLine(*this, *layout, tr("Realm: %1").arg(question.realm));
    if (question.refusedBefore) {
        QLabel* refused =
            addTextLine(*this, *layout, tr("The user name or password was not accepted. Try again."));
        refused->setObjectName(QStringLiteral("signInRefused"));
        refused->setStyleSheet(QStringLiteral("color: #b00020"));
    }

    auto* form = new QFormLayout;
    m_user = new QLineEdit(question.user, this);
    m_password = new QLineEdit(this);
    m_password->setEchoMode(QLineEdit::Password);
    form->addRow(tr("&User name:"), m_user);
    form->addRow(tr("&Password:"), m_password);
    layout->addLayout(form);

    m_remember = new QCheckBox(tr("&Remember"), this);
    layout->addWidget(m_remember);
    if (!question.canRemember) {
        m_remember->setEnabled(false);
        addTextLine(*this, *layout,
                    tr("There is no secret store on this desktop, so sign-ins cannot be remembered."));
    }
    addAnswerRow(*this, *layout, tr("Sign in"));

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
