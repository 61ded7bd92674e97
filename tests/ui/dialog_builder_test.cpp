// The builder on the two templates: what it makes of ids, texts, positions and styles.

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <gtest/gtest.h>

#include "ui/main_dialog_template.h"
#include "ui/port_select_template.h"
#include "ui/template_dialog.h"

namespace rq508::testing {
namespace {

TEST(DialogUnitsTest, QuarterCharacterAcrossAndEighthCharacterDown) {
    const DialogBaseUnits base{7, 16};
    EXPECT_EQ(DialogUnitsToPixels(4, 8, 40, 16, base), QRect(7, 16, 70, 32));
    // Windows rounds to the nearest pixel: 191 * 7 / 4 = 334.25, 205 * 16 / 8 = 410.
    EXPECT_EQ(DialogUnitsToPixels(0, 0, 191, 205, base).size(), QSize(334, 410));
    EXPECT_EQ(DialogUnitsToPixels(1, 1, 2, 3, {6, 13}), QRect(2, 2, 3, 5));
}

TEST(DialogUnitsTest, BaseUnitsGrowWithTheFont) {
    QFont small;
    small.setPointSize(9);
    QFont large = small;
    large.setPointSize(18);
    EXPECT_GT(BaseUnitsOf(large).x, BaseUnitsOf(small).x);
    EXPECT_GT(BaseUnitsOf(large).y, BaseUnitsOf(small).y);
}

class BuiltTemplateTest : public ::testing::Test {
protected:
    void TearDown() override { dialog.reset(); }
    std::unique_ptr<TemplateDialog> dialog;
};

// Every control of a template: its widget carries its id or name, text, place and size.
void ExpectControlsFollowTemplate(const TemplateDialog& dialog, const DialogTemplate& source) {
    const DialogBaseUnits base = BaseUnitsOf(dialog.font());
    int index = 0;
    for (const ControlTemplate& control : source.controls) {
        const QString name = ControlObjectName(control, index++);
        auto* widget = dialog.findChild<QWidget*>(name);
        ASSERT_NE(widget, nullptr) << name.toStdString();
        const QRect expected =
            DialogUnitsToPixels(control.x, control.y, control.width, control.height, base);
        EXPECT_EQ(widget->pos(), expected.topLeft()) << name.toStdString();
        EXPECT_EQ(widget->width(), expected.width()) << name.toStdString();
        if (control.kind != ControlKind::ComboBoxWithEdit) {
            EXPECT_EQ(widget->height(), expected.height()) << name.toStdString();
        }
        const QString text = QString::fromUtf8(control.text.data(), control.text.size());
        if (auto* label = qobject_cast<QLabel*>(widget)) {
            EXPECT_EQ(label->text(), text);
        } else if (auto* group = qobject_cast<QGroupBox*>(widget)) {
            EXPECT_EQ(group->title(), text);
        } else if (auto* button = qobject_cast<QAbstractButton*>(widget)) {
            EXPECT_EQ(button->text(), text);
        }
        EXPECT_EQ(widget->isEnabled(), (control.styles & kDisabled) == 0) << name.toStdString();
    }
    EXPECT_EQ(dialog.size(), DialogUnitsToPixels(0, 0, source.width, source.height, base).size());
    EXPECT_EQ(dialog.windowTitle(),
              QString::fromUtf8(source.caption.data(), source.caption.size()));
}

TEST_F(BuiltTemplateTest, MainDialogFollowsTemplate102) {
    dialog = std::make_unique<TemplateDialog>(kMainDialogTemplate);
    ExpectControlsFollowTemplate(*dialog, kMainDialogTemplate);
    EXPECT_EQ(dialog->Control<QPushButton>(kIdLoadButton)->text(), "Load Config ");
    EXPECT_EQ(dialog->font().pointSize(), 9);
    EXPECT_TRUE(dialog->windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(dialog->windowFlags() & Qt::WindowMaximizeButtonHint);
}

TEST_F(BuiltTemplateTest, PortDialogFollowsTemplate129) {
    dialog = std::make_unique<TemplateDialog>(kPortSelectTemplate);
    ExpectControlsFollowTemplate(*dialog, kPortSelectTemplate);
    EXPECT_TRUE(dialog->Control<QPushButton>(kIdOk)->isDefault());
    EXPECT_FALSE(dialog->Control<QPushButton>(kIdCancel)->isDefault());
}

TEST_F(BuiltTemplateTest, ListsTakeTypingButNeverAddEntries) {
    dialog = std::make_unique<TemplateDialog>(kMainDialogTemplate);
    for (int id : {kIdBaudRateList, kIdCheckBitList, kIdCanBaudRateList}) {
        auto* list = dialog->Control<QComboBox>(id);
        ASSERT_NE(list, nullptr);
        EXPECT_TRUE(list->isEditable());
        EXPECT_EQ(list->insertPolicy(), QComboBox::NoInsert);
        EXPECT_EQ(list->completer(), nullptr);
    }
}

TEST_F(BuiltTemplateTest, RadioButtonsOfOneGroupShareAnExclusiveGroup) {
    dialog = std::make_unique<TemplateDialog>(kMainDialogTemplate);
    auto* canA = dialog->Control<QRadioButton>(kIdCanARadio);
    auto* canB = dialog->Control<QRadioButton>(kIdCanBRadio);
    ASSERT_NE(canA->group(), nullptr);
    EXPECT_EQ(canA->group(), canB->group());
    EXPECT_TRUE(canA->group()->exclusive());
}

TEST_F(BuiltTemplateTest, GroupBoxesLieBehindAndLetClicksThrough) {
    dialog = std::make_unique<TemplateDialog>(kMainDialogTemplate);
    auto* frame = dialog->findChild<QGroupBox*>("transferGroup");
    ASSERT_NE(frame, nullptr);
    EXPECT_TRUE(frame->testAttribute(Qt::WA_TransparentForMouseEvents));
    QWidget* download = dialog->Control<QWidget>(kIdDownloadButton);
    EXPECT_EQ(dialog->childAt(download->geometry().center()), download);
}

TEST_F(BuiltTemplateTest, ControlsWithoutIdCarryTheirDescriptiveName) {
    dialog = std::make_unique<TemplateDialog>(kMainDialogTemplate);
    auto* label = dialog->findChild<QLabel*>("slaveAddressLabel");
    ASSERT_NE(label, nullptr);
    EXPECT_EQ(label->text(), "Slave Address");
    EXPECT_EQ(dialog->findChild<QWidget*>("1006"), dialog->Control<QWidget>(kIdSlaveAddressBox));
}

TEST(ControlObjectNameTest, AnonymousControlWithoutNameIsNamedByKindAndPosition) {
    const ControlTemplate picture{
        kNoControlId, ControlKind::StaticPicture, "", 0, 0, 1, 1, kStyleNone, ""};
    EXPECT_EQ(ControlObjectName(picture, 0), "picture-1");
}

TEST_F(BuiltTemplateTest, FactoryMakesTheWidgetOfItsControl) {
    const ControlTemplate controls[] = {
        {1023, ControlKind::StaticText, "link", 2, 2, 40, 8, kNotify | kAlignCenter, "link"},
    };
    const DialogTemplate source{100, "test", 50, 20, 9, kSystemMenu, controls};
    QLabel* made = nullptr;
    dialog = std::make_unique<TemplateDialog>(
        source, nullptr,
        std::map<int, ControlFactory>{{1023, [&](const ControlTemplate&, QWidget* parent) {
                                           made = new QLabel(parent);
                                           return made;
                                       }}});
    EXPECT_EQ(dialog->Control<QLabel>(1023), made);
    EXPECT_EQ(made->text(), "link");
    EXPECT_EQ(made->alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(made->property("rq508Styles").toUInt(), kNotify | kAlignCenter);
}

}  // namespace
}  // namespace rq508::testing
