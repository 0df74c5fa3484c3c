#pragma once

#include <QString>
#include <QStringList>
#include <QWidget>

class QLabel;
class QPushButton;

namespace quillo {

struct RecoveryNotice;

// The waiting page's words, as the operator reads them.
struct RecoveryTexts {
    QString title;
    // What happened, in a sentence or two.
    QString what;
    // When the next try comes; empty when nothing is tried until the operator asks.
    QString countdown;
    QString button;
};

// The client's own waiting page, laid over a browser whose page is being brought back: what
// happened, when the next try comes, and a button to try at once. It covers its parent wholly and
// follows its size.
class RecoveryPanel final : public QWidget {
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(RecoveryPanel)

public:
    // Hidden until shown over `covered`, which owns it.
    explicit RecoveryPanel(QWidget& covered);
    ~RecoveryPanel() override;

    void setTexts(const RecoveryTexts& texts);
    // The words for the client's own waiting, in the operator's language.
    static RecoveryTexts textsFor(const RecoveryNotice& notice);
    // Title, sentence, countdown and button, as shown.
    QStringList texts() const;
    // Covers the parent and comes on top of its children; the keyboard comes to its button when
    // it was in the covered page, so Space or Enter tries again.
    void showOver();
    // Hides, handing the keyboard back to the page when the panel had it.
    void setVisible(bool visible) override;

signals:
    void tryNowClicked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QLabel* m_title = nullptr;
    QLabel* m_what = nullptr;
    QLabel* m_countdown = nullptr;
    QPushButton* m_button = nullptr;
};

} // namespace quillo
