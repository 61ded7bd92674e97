#pragma once

#include "link/port_name_source.h"
#include "ui/template_dialog.h"

class QComboBox;

namespace rq508 {

// The port dialog, template 129: lists the serial ports found now and, on Ok, stores the
// selected one in g_portName. Its baud-rate and check-bit lists only show the fixed line
// settings of the link and are never read.
class CPortSelectDlg : public TemplateDialog {
    Q_OBJECT
public:
    explicit CPortSelectDlg(PortNameSource& portNames, QWidget* parent = nullptr);

    void accept() override;  // OnOK

private:
    void OnInitDialog(PortNameSource& portNames);

    QComboBox* m_checkBitList;
    QComboBox* m_baudRateList;
    QComboBox* m_portList;
};

}  // namespace rq508
