#include "ui/port_select_dlg.h"

#include <QComboBox>

#include "link/port_discovery.h"
#include "settings/option_tables.h"
#include "ui/port_name.h"
#include "ui/port_select_template.h"

namespace rq508 {
namespace {

QString ToQString(std::string_view text) {
    return QString::fromUtf8(text.data(), static_cast<qsizetype>(text.size()));
}

void AppendOptionTexts(QComboBox& list, const OptionTable& table) {
    for (const OptionEntry& entry : table.entries) {
        list.addItem(ToQString(entry.text));
    }
}

}  // namespace

CPortSelectDlg::CPortSelectDlg(PortNameSource& portNames, QWidget* parent)
    : TemplateDialog(kPortSelectTemplate, parent),
      m_checkBitList(Control<QComboBox>(kIdLineCheckBitList)),
      m_baudRateList(Control<QComboBox>(kIdLineBaudRateList)),
      m_portList(Control<QComboBox>(kIdPortList)) {
    OnInitDialog(portNames);
}

void CPortSelectDlg::OnInitDialog(PortNameSource& portNames) {
    g_portList.clear();
    EnumerateSerialPorts(portNames);
    for (const std::string& name : g_portList) {
        m_portList->addItem(ToQString(name));
    }
    AppendOptionTexts(*m_baudRateList, BaudRateOptions);
    AppendOptionTexts(*m_checkBitList, CheckBitOptions);
    m_portList->setCurrentIndex(m_portList->count() > 0 ? 0 : -1);
    m_baudRateList->setCurrentIndex(BaudRateOptions.initialIndex);
    m_checkBitList->setCurrentIndex(CheckBitOptions.initialIndex);
}

void CPortSelectDlg::accept() {
    // The selected entry counts, never what was typed into the field.
    const int selected = m_portList->currentIndex();
    g_portName = selected >= 0 ? g_portList.at(static_cast<size_t>(selected)) : std::string();
    TemplateDialog::accept();
}

}  // namespace rq508
