// The link label on real widgets: attachment, geometry, pointer, colours, clicks and warnings.

#include "ui/link_label.h"

#include <QApplication>
#include <QDialog>
#include <QFontMetrics>
#include <QMessageBox>
#include <QMouseEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <memory>
#include <ostream>

#include "about_test_support.h"
#include "app/system_desktop_shell.h"
#include "script_folder.h"
#include "ui/hyperlink_command.h"

namespace rq508::testing {
namespace {

const QString kAddress = QStringLiteral("https://www.example.com/");
const QColor kNormal(0, 0, 0xEE);
const QColor kVisited(85, 26, 139);

// A dialog holding one label at (20, 30), 200 x 40 pixels, not yet attached.
class LinkLabelTest : public ::testing::Test {
protected:
    void SetUp() override {
        dialog.resize(400, 200);
        label = new CLinkLabel(desktop, &dialog);
        label->setGeometry(20, 30, 200, 40);
        label->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        label->setText(kAddress);
        label->SetWarningPrompt([this](const QString& caption, const QString& text) {
            warnings.push_back({caption, text, QWidget::mouseGrabber() == nullptr});
        });
    }

    void AttachAndShow() {
        label->Attach();
        ASSERT_TRUE(ShowActive(dialog));
    }

    void MoveTo(const QPoint& position) {
        QMouseEvent move(QEvent::MouseMove, position, label->mapToGlobal(position), Qt::NoButton,
                         Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(label, &move);
    }
    void MoveInside() { MoveTo(label->rect().center()); }
    void MoveOutside() { MoveTo(label->rect().bottomRight() + QPoint(50, 50)); }
    void Release(const QPoint& position, Qt::MouseButton button = Qt::LeftButton) {
        QMouseEvent release(QEvent::MouseButtonRelease, position, label->mapToGlobal(position),
                            button, Qt::NoButton, Qt::NoModifier);
        QApplication::sendEvent(label, &release);
    }
    void ClickInside() { Release(label->rect().center()); }
    // Lets queued paint requests run, as the event loop would between two user actions.
    static void LetEventsRun() { QApplication::processEvents(); }

    StandInDesktop desktop;
    QDialog dialog;
    CLinkLabel* label = nullptr;
    std::vector<ShownWarning> warnings;
};

// ---- Attachment ----

struct FillCase {
    const char* name;
    QString address;
    QString text;
    QString expectedAddress;
    QString expectedText;
    friend void PrintTo(const FillCase& row, std::ostream* out) { *out << row.name; }
};

class AddressAndText : public LinkLabelTest, public ::testing::WithParamInterface<FillCase> {};

TEST_P(AddressAndText, FillEachOtherAtAttachment) {
    label->SetTargetUrl(GetParam().address);
    label->setText(GetParam().text);
    label->Attach();
    EXPECT_EQ(label->TargetUrl(), GetParam().expectedAddress);
    EXPECT_EQ(label->text(), GetParam().expectedText);
    EXPECT_EQ(label->toolTip(), GetParam().expectedAddress);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, AddressAndText,
    ::testing::Values(
        FillCase{"EmptyAddressTakesText", "", "https://a/", "https://a/", "https://a/"},
        FillCase{"EmptyTextShowsAddress", "https://b/", "", "https://b/", "https://b/"},
        FillCase{"BothGivenStayApart", "https://b/", "Our site", "https://b/", "Our site"},
        FillCase{"BothEmptyStayEmpty", "", "", "", ""}),
    [](const ::testing::TestParamInfo<FillCase>& row) { return row.param.name; });

TEST_F(LinkLabelTest, UnderlinesItsOwnFont) {
    QFont own = dialog.font();
    own.setPointSize(13);
    own.setBold(true);
    label->setFont(own);
    label->Attach();
    EXPECT_TRUE(label->font().underline());
    EXPECT_EQ(label->font().pointSize(), 13);
    EXPECT_TRUE(label->font().bold());
}

struct FitCase {
    const char* name;
    Qt::Alignment alignment;
    friend void PrintTo(const FitCase& row, std::ostream* out) { *out << row.name; }
};

class FitsToText : public LinkLabelTest, public ::testing::WithParamInterface<FitCase> {};

// The control starts at (20, 30) sized 200 x 40 and takes the size of its underlined text.
TEST_P(FitsToText, KeepsTheEdgeItsAlignmentNames) {
    label->setAlignment(GetParam().alignment);
    label->Attach();
    QFont underlined = dialog.font();
    underlined.setUnderline(true);
    const QFontMetrics metrics(underlined);
    const int textWidth = metrics.horizontalAdvance(kAddress);
    const int textHeight = metrics.height();
    const QRect fitted = label->geometry();

    const Qt::Alignment alignment = GetParam().alignment;
    // An odd difference leaves a centred control one pixel off the text's size.
    const int widthSlack = (alignment & Qt::AlignHCenter) ? 1 : 0;
    const int heightSlack = (alignment & Qt::AlignVCenter) ? 1 : 0;
    EXPECT_NEAR(fitted.width(), textWidth, widthSlack);
    EXPECT_NEAR(fitted.height(), textHeight, heightSlack);
    if (alignment & Qt::AlignHCenter) {
        EXPECT_NEAR(fitted.left() + fitted.width() / 2.0, 20 + 100, 1.0);
    } else if (alignment & Qt::AlignRight) {
        EXPECT_EQ(fitted.left() + fitted.width(), 220);
    } else {
        EXPECT_EQ(fitted.left(), 20);
    }
    if (alignment & Qt::AlignVCenter) {
        EXPECT_NEAR(fitted.top() + fitted.height() / 2.0, 30 + 20, 1.0);
    } else {
        EXPECT_EQ(fitted.top(), 30);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Alignments, FitsToText,
    ::testing::Values(FitCase{"LeftKeepsTopLeft", Qt::AlignLeft | Qt::AlignTop},
                      FitCase{"RightKeepsRightEdge", Qt::AlignRight | Qt::AlignTop},
                      FitCase{"CenterKeepsHorizontalCentre", Qt::AlignHCenter | Qt::AlignTop},
                      FitCase{"CenterImageKeepsVerticalCentre", Qt::AlignLeft | Qt::AlignVCenter}),
    [](const ::testing::TestParamInfo<FitCase>& row) { return row.param.name; });

TEST_F(LinkLabelTest, HandPointerAndNoKeyboardFocus) {
    AttachAndShow();
    EXPECT_EQ(label->cursor().shape(), Qt::PointingHandCursor);
    EXPECT_EQ(label->focusPolicy(), Qt::NoFocus);
    auto* button = new QPushButton(QStringLiteral("Exit"), &dialog);
    button->show();
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Tab);
    EXPECT_NE(QApplication::focusWidget(), label);
}

// ---- Colours and hover ----

TEST_F(LinkLabelTest, StartsInTheNormalColour) {
    AttachAndShow();
    label->repaint();
    EXPECT_EQ(label->PaintedColor(), kNormal);
}

TEST_F(LinkLabelTest, HoverColourIsTheHighlightReadAtConstruction) {
    const QColor highlight = dialog.palette().color(QPalette::Active, QPalette::Highlight);
    AttachAndShow();
    MoveInside();
    EXPECT_TRUE(label->PointerInside());
    EXPECT_EQ(label->PaintedColor(), highlight);
}

TEST_F(LinkLabelTest, HoverHoldsTheMouseUntilTheFirstMoveOutside) {
    AttachAndShow();
    MoveInside();
    EXPECT_EQ(QWidget::mouseGrabber(), label);
    MoveTo(label->rect().topLeft());  // still inside: nothing changes
    EXPECT_EQ(QWidget::mouseGrabber(), label);
    EXPECT_TRUE(label->PointerInside());
    MoveOutside();
    EXPECT_FALSE(label->PointerInside());
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
    EXPECT_EQ(label->PaintedColor(), kNormal);
}

TEST_F(LinkLabelTest, ClosingWhileHoveredLetsTheMouseGo) {
    AttachAndShow();
    MoveInside();
    dialog.hide();
    EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

// ---- Clicks ----

TEST_F(LinkLabelTest, ClickOpensTheAddressAndKeepsHoverUntilThePointerLeaves) {
    AttachAndShow();
    MoveInside();
    ClickInside();
    EXPECT_EQ(desktop.opened, std::vector<std::string>{kAddress.toStdString()});
    EXPECT_TRUE(label->Visited());
    LetEventsRun();
    EXPECT_EQ(label->PaintedColor(), label->TextColor());
    EXPECT_NE(label->PaintedColor(), kVisited);  // still hovered
    MoveOutside();
    EXPECT_EQ(label->PaintedColor(), kVisited);
    EXPECT_TRUE(warnings.empty());
}

TEST_F(LinkLabelTest, SuccessfulOpenRepaintsInTheVisitedColour) {
    AttachAndShow();
    label->OnLinkClicked();
    LetEventsRun();
    EXPECT_EQ(label->PaintedColor(), kVisited);
}

TEST_F(LinkLabelTest, OnlyALeftReleaseInsideOpens) {
    AttachAndShow();
    MoveInside();
    Release(label->rect().center(), Qt::RightButton);
    Release(label->rect().bottomRight() + QPoint(5, 5));
    EXPECT_TRUE(desktop.opened.empty());
}

TEST_F(LinkLabelTest, FailureWarnsWithTheApplicationTitleAndTheCodesText) {
    desktop.openResult = 26;
    AttachAndShow();
    MoveInside();
    ClickInside();
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].caption, QApplication::applicationName());
    EXPECT_EQ(warnings[0].text,
              QStringLiteral("Unable to open hyperlink:\n\nA sharing violation occurred. "));
    EXPECT_FALSE(label->Visited());
    // The box had the mouse to itself; the still hovered label takes it back afterwards.
    EXPECT_TRUE(warnings[0].mouseWasFree);
    EXPECT_EQ(QWidget::mouseGrabber(), label);
}

TEST_F(LinkLabelTest, FailureAfterSuccessReturnsToNormalOnlyAtTheNextRepaint) {
    AttachAndShow();
    label->OnLinkClicked();
    LetEventsRun();
    ASSERT_EQ(label->PaintedColor(), kVisited);

    desktop.openResult = 31;
    label->OnLinkClicked();
    LetEventsRun();
    EXPECT_FALSE(label->Visited());
    EXPECT_EQ(label->PaintedColor(), kVisited);  // nothing asked for a repaint
    label->repaint();
    EXPECT_EQ(label->PaintedColor(), kNormal);
    ASSERT_EQ(warnings.size(), 1u);
    EXPECT_EQ(warnings[0].text, QString::fromStdString(OpenErrorMessage(31)));
}

TEST_F(LinkLabelTest, RealWarningIsAMessageBoxWithWarningIconAndOneOk) {
    desktop.openResult = 1;
    CLinkLabel real(desktop, &dialog);  // with its own, real prompt
    real.setText(kAddress);
    real.Attach();
    ASSERT_TRUE(ShowActive(dialog));
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QString caption;
    QString text;
    int buttons = 0;
    QTimer::singleShot(0, [&] {
        auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget());
        if (box) {
            icon = box->icon();
            caption = box->windowTitle();
            text = box->text();
            buttons = static_cast<int>(box->buttons().size());
            box->button(QMessageBox::Ok)->click();
        }
    });
    real.OnLinkClicked();
    EXPECT_EQ(icon, QMessageBox::Warning);
    EXPECT_EQ(caption, QApplication::applicationName());
    EXPECT_EQ(text, QStringLiteral("Unable to open hyperlink:\n\nUnknown Error (1) occurred."));
    EXPECT_EQ(buttons, 1);
}

// ---- Opening for real, through the platform's desktop ----

TEST_F(LinkLabelTest, ClickRunsTheDesktopsOpenerWithTheAddress) {
    ScriptFolder folder;
    DesktopPrograms programs;
    programs.opener = folder.WriteRecordingScript("xdg-open", "opened").string();
    SystemDesktopShell system(programs);
    CLinkLabel real(system, &dialog);
    real.setText(kAddress);
    real.Attach();
    real.OnLinkClicked();
    EXPECT_TRUE(real.Visited());
    EXPECT_EQ(folder.WaitForFile("opened"), kAddress.toStdString() + "\n");
}

TEST_F(LinkLabelTest, WithoutOpenerTheHtmlHandlerGetsTheAddress) {
    ScriptFolder folder;
    const auto browser = folder.WriteRecordingScript("browser", "browsed");
    DesktopPrograms programs;
    programs.opener = (folder / "no-such-xdg-open").string();
    programs.mimeQuery = folder.WriteScript("xdg-mime", "echo browser.desktop").string();
    programs.applicationFolders = {folder.Path()};
    folder.WriteFile("browser.desktop",
                     "[Desktop Entry]\nExec=\"" + browser.string() + "\" --new %u\n");
    SystemDesktopShell system(programs);
    CLinkLabel real(system, &dialog);
    real.setText(kAddress);
    real.Attach();
    real.OnLinkClicked();
    EXPECT_TRUE(real.Visited());
    EXPECT_EQ(folder.WaitForFile("browsed"), "--new\n" + kAddress.toStdString() + "\n");
}

TEST_F(LinkLabelTest, NothingToOpenWithReportsFileNotFound) {
    ScriptFolder folder;
    DesktopPrograms programs;
    programs.opener = (folder / "no-such-xdg-open").string();
    programs.mimeQuery = (folder / "no-such-xdg-mime").string();
    SystemDesktopShell system(programs);
    CLinkLabel real(system, &dialog);
    real.setText(kAddress);
    std::vector<QString> texts;
    real.SetWarningPrompt([&](const QString&, const QString& text) { texts.push_back(text); });
    real.Attach();
    real.OnLinkClicked();
    EXPECT_FALSE(real.Visited());
    EXPECT_EQ(texts, std::vector<QString>{QString::fromStdString(OpenErrorMessage(2))});
}

}  // namespace
}  // namespace rq508::testing
