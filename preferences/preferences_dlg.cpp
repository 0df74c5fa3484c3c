#include "preferences/preferences_dlg.h"

#include "alerts/alert_center.h"
#include "browser_features/spell_check.h"
#include "browser_features/zoom_keeper.h"
#include "preferences/autostart.h"
#include "settings/client_settings.h"
#include "settings/settings_store.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QLoggingCategory>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <utility>

Q_LOGGING_CATEGORY(lcPreferences, "quillo.preferences", QtInfoMsg)

using quillo::alerts::SoundMode;

namespace {

// A stored Tarnwick value as the client reads it, or a word for why there is none.
QString storedValue(quillo::SettingsBackend& settings, const char* name, std::size_t size) {
    bool missing = false;
    const quillo::SettingResult value = quillo::ReadSetting(settings, name, size, missing);
    if (value)
        return QString::fromStdString(value.value());
    return value.error() == quillo::SettingError::TooLong ? PreferencesDlg::tr("(too long; not used)")
                                                          : PreferencesDlg::tr("(not set)");
}

QLineEdit* readOnlyField(const QString& text, const QString& accessibleName) {
    auto* field = new QLineEdit(text);
    field->setReadOnly(true);
    field->setAccessibleName(accessibleName);
    field->setCursorPosition(0);
    // A path or address is read whole where the screen allows.
    field->setMinimumWidth(std::min(field->fontMetrics().horizontalAdvance(text) + 24, 640));
    return field;
}

} // namespace

PreferencesDlg::PreferencesDlg(Services services, QWidget* parent)
    : QDialog(parent)
    , m_services(std::move(services)) {
    setWindowTitle(tr("Quillo Preferences"));
    setAttribute(Qt::WA_DeleteOnClose);

    m_startAtLogin = new QCheckBox(tr("&Start Quillo when I log in"));
    m_startAtLogin->setChecked(quillo::autostartEnabled());
    connect(m_startAtLogin, &QCheckBox::toggled, this, &PreferencesDlg::setStartAtLogin);

    auto* resetZoom = new QPushButton(tr("Reset &zoom for all sites"));
    resetZoom->setEnabled(m_services.zoom != nullptr);
    connect(resetZoom, &QPushButton::clicked, this, [this] { m_services.zoom->resetAll(); });

    auto* testRequest = new QPushButton(tr("Send a test &chat request"));
    testRequest->setEnabled(bool(m_services.sendTestRequest));
    connect(testRequest, &QPushButton::clicked, this, [this] { m_services.sendTestRequest(); });

    m_problem = new QLabel;
    m_problem->setWordWrap(true);
    m_problem->hide();

    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::close);

    auto* actions = new QHBoxLayout;
    actions->addWidget(resetZoom);
    actions->addWidget(testRequest);
    actions->addStretch();

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(createSoundGroup());
    layout->addWidget(m_startAtLogin);
    layout->addWidget(createSpellingGroup());
    layout->addLayout(actions);
    layout->addWidget(createSettingsGroup());
    layout->addWidget(m_problem);
    layout->addWidget(buttons);
    // Long translations grow the window rather than being cut.
    layout->setSizeConstraint(QLayout::SetMinimumSize);
}

PreferencesDlg::~PreferencesDlg() = default;

QWidget* PreferencesDlg::createSoundGroup() {
    auto* group = new QGroupBox(tr("Alert sound on a chat request"));
    auto* row = new QHBoxLayout(group);
    m_soundModes = new QButtonGroup(this);
    const std::array<std::pair<SoundMode, QString>, 3> choices{{
        {SoundMode::Off, tr("O&ff")},
        {SoundMode::Once, tr("&Once")},
        {SoundMode::Repeat, tr("&Repeat until answered")},
    }};
    for (const auto& [mode, text] : choices) {
        auto* choice = new QRadioButton(text);
        m_soundModes->addButton(choice, int(mode));
        row->addWidget(choice);
    }
    showSoundMode(m_services.alerts.soundMode());
    connect(m_soundModes, &QButtonGroup::idClicked, this,
            [this](int mode) { m_services.alerts.setSoundMode(SoundMode(mode)); });
    // The window menu and the tray change it too.
    connect(&m_services.alerts, &quillo::alerts::AlertCenter::soundModeChanged, this,
            &PreferencesDlg::showSoundMode);
    auto* test = new QPushButton(tr("&Test"));
    test->setAccessibleName(tr("Test the alert sound"));
    connect(test, &QPushButton::clicked, &m_services.alerts, &quillo::alerts::AlertCenter::testSound);
    row->addStretch();
    row->addWidget(test);
    return group;
}

QWidget* PreferencesDlg::createSpellingGroup() {
    auto* group = new QGroupBox(tr("Spelling languages"));
    auto* column = new QVBoxLayout(group);
    const QStringList installed =
        m_services.spelling != nullptr ? m_services.spelling->installed() : QStringList();
    if (installed.isEmpty())
        column->addWidget(new QLabel(tr("No spelling dictionaries are installed.")));
    const QStringList checked =
        m_services.spelling != nullptr ? m_services.spelling->languages() : QStringList();
    for (const QString& language : installed) {
        auto* box = new QCheckBox(language);
        box->setChecked(checked.contains(language));
        connect(box, &QCheckBox::toggled, this, [this, box, language](bool on) {
            m_services.spelling->setLanguageChecked(language, on);
            // The last language stays: the box shows what is checked, not what was clicked.
            const bool kept = m_services.spelling->languages().contains(language);
            if (kept != on) {
                const QSignalBlocker blocker(box);
                box->setChecked(kept);
            }
        });
        column->addWidget(box);
    }
    return group;
}

QWidget* PreferencesDlg::createSettingsGroup() {
    auto* group = new QGroupBox(tr("Settings Quillo runs on"));
    auto* form = new QFormLayout(group);
    const std::unique_ptr<quillo::SettingsBackend> settings = quillo::createUserSettings();
    const QString orderNumber = tr("Order number:");
    const QString address = tr("Chat address:");
    const QString file = tr("Settings file:");
    form->addRow(orderNumber,
                 readOnlyField(storedValue(*settings, quillo::kOrderIdValue, quillo::kOrderIdBufferSize),
                               orderNumber));
    form->addRow(address,
                 readOnlyField(storedValue(*settings, quillo::kUrlValue, quillo::kUrlBufferSize), address));
    form->addRow(file, readOnlyField(m_services.settings.fileName(), file));
    return group;
}

void PreferencesDlg::showSoundMode(SoundMode mode) {
    if (QAbstractButton* choice = m_soundModes->button(int(mode)))
        choice->setChecked(true);
}

void PreferencesDlg::setStartAtLogin(bool on) {
    const QString problem = quillo::setStartAtLogin(on);
    m_problem->setVisible(!problem.isEmpty());
    if (problem.isEmpty()) {
        qCInfo(lcPreferences) << "start at log-in:" << (on ? "on" : "off");
        return;
    }
    qCWarning(lcPreferences).noquote() << "start at log-in not changed:" << problem;
    m_problem->setText(tr("Starting at log-in could not be changed: %1").arg(problem));
    const QSignalBlocker blocker(m_startAtLogin);
    m_startAtLogin->setChecked(quillo::autostartEnabled());
}
