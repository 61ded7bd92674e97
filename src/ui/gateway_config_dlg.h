#pragma once

#include <memory>

#include "link/clock.h"
#include "link/port_name_source.h"
#include "link/serial_channel.h"
#include "link/serial_port_device.h"
#include "settings/gateway_settings.h"
#include "settings/settings_file.h"
#include "ui/dialog_prompts.h"
#include "ui/template_dialog.h"

class QComboBox;
class QLineEdit;
class QMenu;
class QPushButton;
class QRadioButton;

namespace rq508 {

// The command of the About item in the window menu.
constexpr unsigned kAboutCommand = 0x0010;

// The tool's one window, template 102: shows the five settings, downloads them to the gateway,
// uploads them from it, saves them to a file and loads them back. Its controls hold the only
// copy of the settings.
class CGatewayConfigDlg : public TemplateDialog {
    Q_OBJECT
public:
    // The channel talks through the device and clock; the port dialog lists the source's names.
    CGatewayConfigDlg(SerialPortDevice& device, Clock& clock, PortNameSource& portNames,
                      QWidget* parent = nullptr);
    ~CGatewayConfigDlg() override;

    // Takes the place of the real message boxes, file dialogs and nested dialogs.
    void SetPrompts(std::unique_ptr<DialogPrompts> prompts);
    const SerialChannel& Channel() const { return m_channel; }

    // A command of the window menu: the About item opens the About box.
    void OnSysCommand(unsigned id);
    // Fills a menu with what the window menu offers here, ending with the About item.
    void FillWindowMenu(QMenu& menu);

    void OnDownloadConfig();
    void OnUploadConfig();
    void OnSaveConfig();
    void OnLoadConfig();
    void OnKillFocusSlaveAddress();
    void reject() override;  // OnCancel

    GatewaySettings SettingsFromControls() const;
    void ShowReceivedSettings(const GatewaySettings& settings);
    void ShowLoadedSettings(const SettingsFileRecord& record);

protected:
    void contextMenuEvent(QContextMenuEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnInitDialog();
    void ConnectHandlers();
    bool EnsurePortChosen();
    void ShowWindowMenu(const QPoint& globalPosition);

    QLineEdit* m_slaveAddress;
    QComboBox* m_canBaudRate;
    QComboBox* m_checkBit;
    QComboBox* m_baudRate;
    QRadioButton* m_canA;
    QPushButton* m_download;
    QPushButton* m_upload;
    QRadioButton* m_canB;
    SerialChannel m_channel;
    PortNameSource& m_portNames;
    std::unique_ptr<DialogPrompts> m_prompts;
    bool m_actionRunning = false;  // a button's action has not yet returned
};

}  // namespace rq508
