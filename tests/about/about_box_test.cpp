// The About box on real widgets, and how the main dialog opens it.

#include "ui/about_box.h"

#include <QApplication>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>

#include "about_test_support.h"
#include "platform/system.h"
#include "ui/about_template.h"
#include "ui/dialog_builder.h"
#include "ui/gateway_config_dlg.h"
#include "ui/link_label.h"
#include "ui/system_dialog_prompts.h"

namespace rq508::testing {
namespace {

const QColor kNormal(0, 0, 0xEE);
const QColor kVisited(85, 26, 139);

QString LabelText(const QDialog& box, const char* name) {
    const auto* label = box.findChild<QLabel*>(QString::fromLatin1(name));
    return label ? label->text() : QStringLiteral("<missing>");
}

// Runs the About box modally the way the main dialog does; `whileOpen` acts on it once shown
// and must end it.
template <class Action>
int RunModal(CAboutBox& box, Action whileOpen) {
    QTimer::singleShot(0, &box, [&box, &whileOpen] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(&box, 10000));
        whileOpen(box);
    });
    return box.exec();
}

class AboutBoxTest : public ::testing::Test {
protected:
    StandInDesktop desktop;
};

TEST_F(AboutBoxTest, ShowsTheTemplatesTexts) {
    CAboutBox box(desktop);
    EXPECT_EQ(box.windowTitle(), "Gateway Configuration Software RQ-508");
    EXPECT_EQ(LabelText(box, "versionLabel"), "Version 2.2.0");
    EXPECT_EQ(LabelText(box, "noticeLabel"), "Copyright (C) 2026 Example Controls");
    EXPECT_EQ(LabelText(box, "supportLabel"), "Technical Support: +1 555-0123");
    EXPECT_EQ(LabelText(box, "visitLabel"), "More technical information, please visit:");
    EXPECT_EQ(box.LinkLabel().text(), "https://www.example.com/");
    EXPECT_EQ(box.LinkLabel().TargetUrl(), "https://www.example.com/");
    EXPECT_EQ(box.LinkLabel().objectName(), "1023");
    auto* exit = box.Control<QPushButton>(kIdOk);
    ASSERT_NE(exit, nullptr);
    EXPECT_EQ(exit->text(), "Exit");
    EXPECT_TRUE(exit->isDefault());
}

TEST_F(AboutBoxTest, LogoSitsAtItsTemplatePlaceInItsOwnSize) {
    CAboutBox box(desktop);
    const auto* logo = box.findChild<QLabel*>(QStringLiteral("logo"));
    ASSERT_NE(logo, nullptr);
    ASSERT_FALSE(logo->pixmap().isNull());
    EXPECT_EQ(logo->pixmap().size(), QSize(123, 29));
    EXPECT_EQ(logo->size(), QSize(123, 29));
    const QRect place = DialogUnitsToPixels(132, 9, 82, 19, BaseUnitsOf(box.font()));
    EXPECT_EQ(logo->pos(), place.topLeft());
}

TEST_F(AboutBoxTest, LinkKeepsItsTemplateCornerAndTakesItsTextsSize) {
    CAboutBox box(desktop);
    const QRect place = DialogUnitsToPixels(14, 82, 93, 8, BaseUnitsOf(box.font()));
    const CLinkLabel& link = box.LinkLabel();
    EXPECT_EQ(link.pos(), place.topLeft());
    EXPECT_TRUE(link.font().underline());
    EXPECT_EQ(link.width(), QFontMetrics(link.font()).horizontalAdvance(link.text()));
}

TEST_F(AboutBoxTest, ExitIsTheOnlyControlThatTakesTheFocus) {
    CAboutBox box(desktop);
    ASSERT_TRUE(ShowActive(box));
    auto* exit = box.Control<QPushButton>(kIdOk);
    EXPECT_EQ(QApplication::focusWidget(), exit);
    for (QWidget* child : box.findChildren<QWidget*>()) {
        if (child != exit) {
            EXPECT_EQ(child->focusPolicy(), Qt::NoFocus) << child->objectName().toStdString();
        }
    }
    QTest::keyClick(exit, Qt::Key_Tab);
    EXPECT_EQ(QApplication::focusWidget(), exit);
}

struct EndCase {
    const char* name;
    Qt::Key key;  // Qt::Key_unknown: click Exit
    int result;
    friend void PrintTo(const EndCase& row, std::ostream* out) { *out << row.name; }
};

class AboutBoxEnds : public AboutBoxTest, public ::testing::WithParamInterface<EndCase> {};

TEST_P(AboutBoxEnds, WithTheResultOfItsCommand) {
    CAboutBox box(desktop);
    const int result = RunModal(box, [](CAboutBox& shown) {
        auto* exit = shown.Control<QPushButton>(kIdOk);
        if (GetParam().key == Qt::Key_unknown) {
            QTest::mouseClick(exit, Qt::LeftButton);
        } else {
            QTest::keyClick(&shown, GetParam().key);
        }
        if (shown.isVisible()) {
            shown.done(-1);  // did not end: say so instead of hanging
        }
    });
    EXPECT_EQ(result, GetParam().result);
}

INSTANTIATE_TEST_SUITE_P(
    Commands, AboutBoxEnds,
    ::testing::Values(EndCase{"ExitClickAccepts", Qt::Key_unknown, QDialog::Accepted},
                      EndCase{"EnterEndsItLikeExit", Qt::Key_Return, QDialog::Accepted},
                      EndCase{"KeypadEnterEndsItLikeExit", Qt::Key_Enter, QDialog::Accepted},
                      EndCase{"EscapeRejects", Qt::Key_Escape, QDialog::Rejected}),
    [](const ::testing::TestParamInfo<EndCase>& row) { return row.param.name; });

TEST_F(AboutBoxTest, ClickOnTheLinkOpensTheAddressAndTheBoxStaysOpen) {
    CAboutBox box(desktop);
    ASSERT_TRUE(ShowActive(box));
    CLinkLabel& link = box.LinkLabel();
    QTest::mouseClick(&link, Qt::LeftButton, Qt::NoModifier, link.rect().center());
    EXPECT_EQ(desktop.opened, std::vector<std::string>{"https://www.example.com/"});
    EXPECT_TRUE(link.Visited());
    EXPECT_TRUE(box.isVisible());
}

TEST_F(AboutBoxTest, SecondShowingStartsInTheNormalColour) {
    {
        CAboutBox first(desktop);
        ASSERT_TRUE(ShowActive(first));
        first.LinkLabel().OnLinkClicked();
        QApplication::processEvents();
        ASSERT_EQ(first.LinkLabel().PaintedColor(), kVisited);
    }
    CAboutBox second(desktop);
    ASSERT_TRUE(ShowActive(second));
    second.LinkLabel().repaint();
    EXPECT_FALSE(second.LinkLabel().Visited());
    EXPECT_EQ(second.LinkLabel().PaintedColor(), kNormal);
}

TEST_F(AboutBoxTest, OpensCentredOverItsOwner) {
    QDialog owner;
    owner.setGeometry(300, 200, 600, 400);
    ASSERT_TRUE(ShowActive(owner));
    CAboutBox box(desktop, &owner);
    ASSERT_TRUE(ShowActive(box));
    const QPoint offset = box.frameGeometry().center() - owner.frameGeometry().center();
    EXPECT_LE(offset.manhattanLength(), 4) << offset.x() << ", " << offset.y();
}

// ---- Opened by the main dialog ----

class FixedPortNames : public PortNameSource {
public:
    std::vector<std::string> PortNames() override { return {}; }
};

class MainDialogAbout : public ::testing::Test {
protected:
    MainDialogAbout()
        : serialPort(MakeSystemSerialPort()),
          clock(MakeSystemClock()),
          dialog(*serialPort, *clock, portNames) {
        dialog.SetPrompts(std::make_unique<SystemDialogPrompts>(dialog, desktop));
    }

    // Runs the system command; counts the About boxes it showed, closing each with Exit.
    int AboutBoxesShownBy(unsigned command) {
        int shown = 0;
        QTimer timer;
        QObject::connect(&timer, &QTimer::timeout, [&] {
            if (auto* box = qobject_cast<CAboutBox*>(QApplication::activeModalWidget())) {
                ++shown;
                EXPECT_EQ(box->parentWidget(), &dialog);
                box->Control<QPushButton>(kIdOk)->click();
            }
        });
        timer.start(10);
        dialog.OnSysCommand(command);
        QApplication::processEvents();
        return shown;
    }

    StandInDesktop desktop;
    FixedPortNames portNames;
    std::unique_ptr<SerialPortDevice> serialPort;
    std::unique_ptr<Clock> clock;
    CGatewayConfigDlg dialog;
};

struct CommandCase {
    const char* name;
    unsigned command;
    int aboutBoxes;
    friend void PrintTo(const CommandCase& row, std::ostream* out) { *out << row.name; }
};

class AboutCommand : public MainDialogAbout, public ::testing::WithParamInterface<CommandCase> {};

TEST_P(AboutCommand, OpensTheAboutBoxForItsIdentifiersOnly) {
    ASSERT_TRUE(ShowActive(dialog));
    EXPECT_EQ(AboutBoxesShownBy(GetParam().command), GetParam().aboutBoxes);
}

INSTANTIATE_TEST_SUITE_P(Identifiers, AboutCommand,
                         ::testing::Values(CommandCase{"AboutItem", 0x0010, 1},
                                           CommandCase{"LastOfItsRange", 0x001F, 1},
                                           CommandCase{"HighBitsIgnored", 0x10010, 1},
                                           CommandCase{"NextRangeIsNotAbout", 0x0020, 0},
                                           CommandCase{"BelowItsRange", 0x000F, 0}),
                         [](const ::testing::TestParamInfo<CommandCase>& row) {
                             return row.param.name;
                         });

TEST_F(MainDialogAbout, LinkInTheOpenedBoxUsesTheDesktopTheApplicationGave) {
    ASSERT_TRUE(ShowActive(dialog));
    QTimer::singleShot(0, [] {
        if (auto* box = qobject_cast<CAboutBox*>(QApplication::activeModalWidget())) {
            box->LinkLabel().OnLinkClicked();
            box->accept();
        }
    });
    dialog.OnSysCommand(0x0010);
    EXPECT_EQ(desktop.opened, std::vector<std::string>{"https://www.example.com/"});
}

}  // namespace
}  // namespace rq508::testing
