#include "ui/gateway_config_dlg.h"

#include <QApplication>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QFocusEvent>
#include <QIcon>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>
#include <QShortcut>

#include "link/transactions.h"
#include "settings/option_tables.h"
#include "settings/string_table.h"
#include "ui/main_dialog_template.h"
#include "ui/port_name.h"
#include "ui/system_dialog_prompts.h"

namespace rq508 {
namespace {

// The application icon, compiled into the executable's resources.
const QString kWindowIconPath = QStringLiteral(":/icons/rq508.ico");

// Window-menu commands other than the About item, numbered as Windows numbers them.
constexpr unsigned kMinimizeCommand = 0xF020;
constexpr unsigned kCloseCommand = 0xF060;

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

ListPosition Selection(const QComboBox& list) {
    const int index = list.currentIndex();
    return index < 0 ? ListPosition() : ListPosition(index);
}

void AppendOptionTexts(QComboBox& list, const OptionTable& table) {
    for (const OptionEntry& entry : table.entries) {
        list.addItem(ToQString(entry.text));
    }
}

// Shows the text in the list's field and selects the entry with exactly that text; a text that
// is no entry leaves the list without a selection, so a later download or save takes the
// table's fallback, never the text.
void ShowListText(QComboBox& list, const OptionTable& table, const std::string& text) {
    if (const ListPosition found = FindOption(table, text)) {
        list.setCurrentIndex(*found);
        return;
    }
    list.setCurrentIndex(-1);
    list.setEditText(ToQString(text));
}

void ShowProtocol(QRadioButton& canA, QRadioButton& canB, uint8_t canProtocol) {
    QRadioButton& chosen = canProtocol == 0 ? canA : canB;
    QRadioButton& other = canProtocol == 0 ? canB : canA;
    chosen.setChecked(true);
    other.setChecked(false);
}

// The wait cursor for as long as a transfer blocks the window.
class WaitCursor {
public:
    WaitCursor() {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        // Let the cursor reach the screen before the thread blocks; input waits until after.
        QApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

}  // namespace

CGatewayConfigDlg::CGatewayConfigDlg(SerialPortDevice& device, Clock& clock,
                                     PortNameSource& portNames, QWidget* parent)
    : TemplateDialog(kMainDialogTemplate, parent),
      m_slaveAddress(Control<QLineEdit>(kIdSlaveAddressBox)),
      m_canBaudRate(Control<QComboBox>(kIdCanBaudRateList)),
      m_checkBit(Control<QComboBox>(kIdCheckBitList)),
      m_baudRate(Control<QComboBox>(kIdBaudRateList)),
      m_canA(Control<QRadioButton>(kIdCanARadio)),
      m_download(Control<QPushButton>(kIdDownloadButton)),
      m_upload(Control<QPushButton>(kIdUploadButton)),
      m_canB(Control<QRadioButton>(kIdCanBRadio)),
      m_channel(device, clock),
      m_portNames(portNames),
      m_prompts(std::make_unique<SystemDialogPrompts>(*this)) {
    OnInitDialog();
    ConnectHandlers();
}

// The channel is closed by every transaction and by OnCancel. The box may still lose the focus
// while the window is taken down, when this object is no longer whole.
CGatewayConfigDlg::~CGatewayConfigDlg() {
    m_slaveAddress->removeEventFilter(this);
}

void CGatewayConfigDlg::SetPrompts(std::unique_ptr<DialogPrompts> prompts) {
    m_prompts = std::move(prompts);
}

void CGatewayConfigDlg::OnInitDialog() {
    setWindowIcon(QIcon(kWindowIconPath));
    AppendOptionTexts(*m_baudRate, BaudRateOptions);
    AppendOptionTexts(*m_checkBit, CheckBitOptions);
    AppendOptionTexts(*m_canBaudRate, CanBaudRateOptions);
    m_baudRate->setCurrentIndex(BaudRateOptions.initialIndex);
    m_checkBit->setCurrentIndex(CheckBitOptions.initialIndex);
    m_canBaudRate->setCurrentIndex(CanBaudRateOptions.initialIndex);
    m_canA->setChecked(true);
    m_slaveAddress->setText(QStringLiteral("1"));
    m_baudRate->setFocus();
}

void CGatewayConfigDlg::ConnectHandlers() {
    // One action at a time: a click that arrives while a transfer, a file dialog or a message
    // box of another action still runs is dropped, so no handler is ever entered twice.
    const auto oneAtATime = [this](void (CGatewayConfigDlg::*handler)()) {
        return [this, handler] {
            if (m_actionRunning) {
                return;
            }
            const QScopedValueRollback running(m_actionRunning, true);
            (this->*handler)();
        };
    };
    connect(m_download, &QPushButton::clicked, this,
            oneAtATime(&CGatewayConfigDlg::OnDownloadConfig));
    connect(m_upload, &QPushButton::clicked, this, oneAtATime(&CGatewayConfigDlg::OnUploadConfig));
    connect(Control<QPushButton>(kIdSaveButton), &QPushButton::clicked, this,
            oneAtATime(&CGatewayConfigDlg::OnSaveConfig));
    connect(Control<QPushButton>(kIdLoadButton), &QPushButton::clicked, this,
            oneAtATime(&CGatewayConfigDlg::OnLoadConfig));
    // The correction runs on the focus change itself, so a click on a button sees the corrected
    // text: the button takes the focus on the press and is clicked only on the release.
    m_slaveAddress->installEventFilter(this);

    // The window manager owns the window menu; the same menu opens from the keyboard here.
    for (const QKeySequence& keys :
         {QKeySequence(Qt::SHIFT | Qt::Key_F10), QKeySequence(Qt::Key_Menu)}) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, [this] {
            QWidget* anchor = focusWidget() ? focusWidget() : this;
            ShowWindowMenu(anchor->mapToGlobal(anchor->rect().center()));
        });
    }
    connect(new QShortcut(QKeySequence(Qt::Key_F1), this), &QShortcut::activated, this,
            [this] { OnSysCommand(kAboutCommand); });
}

bool CGatewayConfigDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_slaveAddress && event->type() == QEvent::FocusOut &&
        static_cast<QFocusEvent*>(event)->reason() != Qt::PopupFocusReason) {
        OnKillFocusSlaveAddress();
    }
    return TemplateDialog::eventFilter(watched, event);
}

void CGatewayConfigDlg::OnKillFocusSlaveAddress() {
    const std::string typed = m_slaveAddress->text().toStdString();
    const std::string corrected = CorrectedSlaveAddressText(typed);
    if (corrected != typed) {
        m_slaveAddress->setText(ToQString(corrected));
    }
}

void CGatewayConfigDlg::FillWindowMenu(QMenu& menu) {
    menu.addAction(QStringLiteral("Minimize"), this, [this] { OnSysCommand(kMinimizeCommand); });
    menu.addAction(QStringLiteral("Close"), this, [this] { OnSysCommand(kCloseCommand); })
        ->setShortcut(QKeySequence(Qt::ALT | Qt::Key_F4));
    const std::string_view aboutText = LoadText(kTextAboutItem);
    if (!aboutText.empty()) {
        menu.addSeparator();
        menu.addAction(ToQString(aboutText), this, [this] { OnSysCommand(kAboutCommand); });
    }
}

void CGatewayConfigDlg::ShowWindowMenu(const QPoint& globalPosition) {
    QMenu menu(this);
    FillWindowMenu(menu);
    menu.exec(globalPosition);
}

void CGatewayConfigDlg::contextMenuEvent(QContextMenuEvent* event) {
    ShowWindowMenu(event->globalPos());
}

void CGatewayConfigDlg::OnSysCommand(unsigned id) {
    if ((id & 0xFFF0) == kAboutCommand) {
        m_prompts->RunAboutBox();
    } else if ((id & 0xFFF0) == kMinimizeCommand) {
        showMinimized();
    } else if ((id & 0xFFF0) == kCloseCommand) {
        close();
    }
}

bool CGatewayConfigDlg::EnsurePortChosen() {
    return !g_portName.empty() || m_prompts->RunPortSelection(m_portNames);
}

GatewaySettings CGatewayConfigDlg::SettingsFromControls() const {
    GatewaySettings settings;
    settings.baudRate = OptionValue(BaudRateOptions, Selection(*m_baudRate));
    settings.checkBit = static_cast<uint8_t>(OptionValue(CheckBitOptions, Selection(*m_checkBit)));
    settings.slaveAddress = SlaveAddressValue(m_slaveAddress->text().toStdString());
    settings.canBaudRate =
        static_cast<uint16_t>(OptionValue(CanBaudRateOptions, Selection(*m_canBaudRate)));
    settings.canProtocol = CanProtocolValue(m_canA->isChecked());
    return settings;
}

void CGatewayConfigDlg::ShowReceivedSettings(const GatewaySettings& settings) {
    ShowListText(*m_baudRate, BaudRateOptions, BaudRateText(settings.baudRate));
    m_checkBit->setCurrentIndex(CheckBitIndex(settings.checkBit));
    m_slaveAddress->setText(ToQString(SlaveAddressText(settings.slaveAddress)));
    ShowListText(*m_canBaudRate, CanBaudRateOptions, CanBaudRateText(settings.canBaudRate));
    ShowProtocol(*m_canA, *m_canB, settings.canProtocol);
}

void CGatewayConfigDlg::ShowLoadedSettings(const SettingsFileRecord& record) {
    ShowListText(*m_baudRate, BaudRateOptions, record.baudRateText);
    ShowListText(*m_checkBit, CheckBitOptions, record.checkBitText);
    ShowListText(*m_canBaudRate, CanBaudRateOptions, record.canBaudRateText);
    ShowProtocol(*m_canA, *m_canB, record.canProtocol);
    // Shown as loaded: the 1-to-99 correction waits until the box loses the focus.
    m_slaveAddress->setText(ToQString(record.slaveAddressText));
}

void CGatewayConfigDlg::OnDownloadConfig() {
    if (!EnsurePortChosen()) {
        return;
    }
    const GatewaySettings settings = SettingsFromControls();
    const TransactionOutcome outcome = [&] {
        WaitCursor wait;
        return DownloadSettings(m_channel, g_portName, settings);
    }();
    m_prompts->ShowMessage(outcome.message);
}

void CGatewayConfigDlg::OnUploadConfig() {
    if (!EnsurePortChosen()) {
        return;
    }
    const TransactionOutcome outcome = [&] {
        WaitCursor wait;
        return UploadSettings(m_channel, g_portName);
    }();
    // The controls show the received values before the success message does.
    if (outcome.kind == TransactionKind::ReplyAccepted && outcome.settings) {
        ShowReceivedSettings(*outcome.settings);
    }
    m_prompts->ShowMessage(outcome.message);
}

void CGatewayConfigDlg::OnSaveConfig() {
    const std::filesystem::path path = m_prompts->AskSavePath();
    if (path.empty()) {
        return;
    }
    SettingsFileRecord record;
    record.baudRateText = OptionText(BaudRateOptions, Selection(*m_baudRate));
    record.checkBitText = OptionText(CheckBitOptions, Selection(*m_checkBit));
    record.canBaudRateText = OptionText(CanBaudRateOptions, Selection(*m_canBaudRate));
    record.canProtocol = CanProtocolValue(m_canA->isChecked());
    record.slaveAddressText = m_slaveAddress->text().toStdString();
    // A failure while writing is reported as well as one while opening: the old file survives.
    if (WriteSettingsFile(path, record).outcome != WriteOutcome::Written) {
        m_prompts->ShowMessage(std::string(LoadText(kTextSaveFailed)));
    }
}

void CGatewayConfigDlg::OnLoadConfig() {
    const std::filesystem::path path = m_prompts->AskOpenPath();
    if (path.empty()) {
        return;
    }
    const ReadResult result = ReadSettingsFile(path);
    switch (result.outcome) {
        case ReadOutcome::Loaded:
            ShowLoadedSettings(result.record);
            break;
        case ReadOutcome::CannotOpen:
            m_prompts->ShowMessage(std::string(LoadText(kTextFileDoesNotExist)));
            break;
        case ReadOutcome::Unrecognised:
            m_prompts->ShowMessage(std::string(LoadText(kTextUnrecognizedFile)));
            break;
    }
}

void CGatewayConfigDlg::reject() {
    if (m_channel.IsOpen()) {
        m_channel.Close();
    }
    TemplateDialog::reject();
}

}  // namespace rq508
