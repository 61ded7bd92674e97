#include "ui/port_select_dlg.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QScrollBar>

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

// The width the list's drop-down needs to show every entry whole.
int WidestEntryWidth(QComboBox& list) {
    QAbstractItemView& view = *list.view();
    int width = view.sizeHintForColumn(0) + 2 * view.frameWidth();
    if (list.count() > list.maxVisibleItems()) {
        width += view.verticalScrollBar()->sizeHint().width();
    }
    return width;
}

}  // namespace

CPortSelectDlg::CPortSelectDlg(PortNameSource& portNames, QWidget* parent)
    : TemplateDialog(kPortSelectTemplate, parent),
      m_checkBitList(Control<QComboBox>(kIdLineCheckBitList)),
      m_baudRateList(Control<QComboBox>(kIdLineBaudRateList)),
      m_portList(Control<QComboBox>(kIdPortList)) {
    // The field keeps the template's width, which cuts off long names such as a virtual
    // gateway's path; the tooltip names the selected port in full.
    connect(m_portList, &QComboBox::currentIndexChanged, this, [this](int index) {
        m_portList->setToolTip(index >= 0 ? m_portList->itemText(index) : QString());
    });
    OnInitDialog(portNames);
    // The drop-down may be wider than the field: it shows every name whole.
    m_portList->view()->setMinimumWidth(WidestEntryWidth(*m_portList));
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
