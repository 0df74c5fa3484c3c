#pragma once

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace quillo::network {

// The client's own question for a site's or a proxy's sign-in: who asks and for which realm, the
// user name (focused) and password, and whether to remember them. Enter signs in, Esc cancels.
class SignInDialog final : public QDialog {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(SignInDialog)

public:
    struct Question {
        // The site's origin or the proxy's host, as the operator reads it.
        QString where;
        bool proxy = false;
        QString realm;
        // Why the question comes again: the last answer was refused.
        bool refusedBefore = false;
        // Whether "Remember" can work: there is a secret store.
        bool canRemember = true;
        QString user;
    };

    SignInDialog(const Question& question, QWidget* parent);
    ~SignInDialog() override;

    QString user() const;
    QString password() const;
    bool remember() const;

private:
    QLineEdit* m_user = nullptr;
    QLineEdit* m_password = nullptr;
    QCheckBox* m_remember = nullptr;
};

} // namespace quillo::network
