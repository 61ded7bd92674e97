// The yardstick for RQ-508's start-up: a bare Qt dialog with the same twenty plain widgets as
// the main window, placed by hand, shown until its window is closed. Built with the same
// compiler and flags as RQ-508, but without dialog templates, resources or the link.
#include <QApplication>
#include <QComboBox>
#include <QDialog>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStringList>

namespace {

enum class Kind { Group, Label, List, Radio, Edit, Button };

struct Widget {
    Kind kind;
    const char* text;
    int x, y, width, height;  // in dialog units
};

// The main window's controls, in their order and places.
constexpr Widget kWidgets[] = {
    {Kind::Group, "RS-485 Setting", 16, 11, 75, 81},
    {Kind::Label, "Baud Rate", 23, 24, 44, 8},
    {Kind::List, "300 600 1200 2400 9600 19200 38400 57600 115200", 23, 37, 61, 12},
    {Kind::Label, "Check Bit", 23, 58, 44, 8},
    {Kind::List, "None Odd Even Mark Space", 23, 72, 61, 12},
    {Kind::Group, "CAN Setting", 16, 99, 75, 93},
    {Kind::Label, "CAN Baud Rate", 23, 112, 57, 8},
    {Kind::List, "1M 800K 500K 250K 125K 100K 50K 20K 10K", 23, 125, 61, 12},
    {Kind::Group, "CAN Protocol", 23, 146, 61, 40},
    {Kind::Radio, "CAN2.0 A", 29, 155, 48, 10},
    {Kind::Radio, "CAN2.0 B", 29, 169, 48, 10},
    {Kind::Group, "Modbus Slave Setting", 102, 11, 75, 47},
    {Kind::Label, "Slave Address", 107, 24, 75, 8},
    {Kind::Edit, "1", 109, 37, 61, 13},
    {Kind::Button, "Download Config", 109, 148, 61, 14},
    {Kind::Button, "Upload Config", 109, 169, 61, 14},
    {Kind::Button, "Save Config", 109, 82, 61, 14},
    {Kind::Button, "Load Config ", 109, 104, 61, 14},
    {Kind::Group, "Load/Save", 102, 68, 75, 59},
    {Kind::Group, "Upload/Download", 102, 133, 75, 59},
};

QWidget* MakeWidget(const Widget& widget, QWidget* parent) {
    const QString text = QString::fromLatin1(widget.text);
    switch (widget.kind) {
        case Kind::Group:
            return new QGroupBox(text, parent);
        case Kind::Label:
            return new QLabel(text, parent);
        case Kind::List: {
            auto* list = new QComboBox(parent);
            list->setEditable(true);
            list->setInsertPolicy(QComboBox::NoInsert);
            list->addItems(text.split(QLatin1Char(' ')));
            return list;
        }
        case Kind::Radio:
            return new QRadioButton(text, parent);
        case Kind::Edit:
            return new QLineEdit(text, parent);
        case Kind::Button:
            return new QPushButton(text, parent);
    }
    return nullptr;
}

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    QDialog dialog;
    dialog.setWindowTitle(QStringLiteral("Bare dialog"));
    // About the scale the font gives RQ-508's dialog units.
    const auto scale = [](int units) { return units * 7 / 4; };
    dialog.setFixedSize(scale(191), scale(205));
    for (const Widget& widget : kWidgets) {
        MakeWidget(widget, &dialog)
            ->setGeometry(scale(widget.x), scale(widget.y), scale(widget.width),
                          scale(widget.height));
    }
    dialog.exec();
    return 0;
}
