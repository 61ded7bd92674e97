// The real prompts: Qt's message box and file dialogs, answered by finding them on screen.

#include <QApplication>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
#include <QTimer>

#include <filesystem>
#include <fstream>
#include <functional>

#include <gtest/gtest.h>

#include "support/scratch_folder.h"
#include "ui/system_dialog_prompts.h"

namespace rq508::testing {
namespace {

namespace fs = std::filesystem;

// Runs the action on the modal window of the type once it is open, from inside its loop.
template <class Window>
void WhenOpen(std::function<void(Window&)> action) {
    auto* timer = new QTimer;
    timer->setInterval(20);
    QObject::connect(timer, &QTimer::timeout, [timer, action] {
        if (auto* window = qobject_cast<Window*>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            action(*window);
        }
    });
    timer->start();
}

// Types a name into the file dialog's name field and presses Enter.
void TypeFileName(QFileDialog& dialog, const QString& name) {
    auto* field = dialog.findChild<QLineEdit*>("fileNameEdit");
    ASSERT_NE(field, nullptr);
    field->setText(name);
    QTest::keyClick(field, Qt::Key_Return);
}

class SystemPromptsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_FALSE(folder.empty());
        owner.show();
    }
    QString InFolder(const char* name) const {
        return QString::fromStdString((folder / name).string());
    }

    ScratchFolder scratch{"rq508-ui-prompts"};
    const fs::path& folder = scratch.Path();
    QWidget owner;
    SystemDialogPrompts prompts{owner};
};

TEST_F(SystemPromptsTest, MessageBoxHasCaptionTextOneOkButtonAndNoIcon) {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::Warning;
    qsizetype buttons = 0;
    QWidget* parent = nullptr;
    WhenOpen<QMessageBox>([&](QMessageBox& box) {
        title = box.windowTitle();
        text = box.text();
        icon = box.icon();
        buttons = box.buttons().size();
        parent = box.parentWidget();
        box.button(QMessageBox::Ok)->click();
    });
    prompts.ShowMessage("Port<b>x</b> failed to open!");
    EXPECT_EQ(title, "RQ-508");
    EXPECT_EQ(text, "Port<b>x</b> failed to open!");
    EXPECT_EQ(icon, QMessageBox::NoIcon);
    EXPECT_EQ(buttons, 1);
    EXPECT_EQ(parent, &owner);
}

TEST_F(SystemPromptsTest, SaveAddsTxtToANameTypedWithoutExtension) {
    WhenOpen<QFileDialog>([&](QFileDialog& dialog) { TypeFileName(dialog, InFolder("settings")); });
    EXPECT_EQ(prompts.AskSavePath(), folder / "settings.txt");
}

TEST_F(SystemPromptsTest, SaveAsksBeforeReplacingAFile) {
    std::ofstream(folder / "old.txt") << "kept";
    bool asked = false;
    WhenOpen<QFileDialog>([&](QFileDialog& dialog) {
        WhenOpen<QMessageBox>([&](QMessageBox& question) {
            asked = true;
            question.button(QMessageBox::Yes)->click();
        });
        TypeFileName(dialog, InFolder("old.txt"));
    });
    EXPECT_EQ(prompts.AskSavePath(), folder / "old.txt");
    EXPECT_TRUE(asked);
}

TEST_F(SystemPromptsTest, OpenReturnsTheTypedNameOfAMissingFile) {
    WhenOpen<QFileDialog>(
        [&](QFileDialog& dialog) { TypeFileName(dialog, InFolder("absent.cfg")); });
    EXPECT_EQ(prompts.AskOpenPath(), folder / "absent.cfg");
}

TEST_F(SystemPromptsTest, OpenFindsTheTxtFileOfANameTypedWithoutExtension) {
    std::ofstream(folder / "settings.txt") << "x";
    WhenOpen<QFileDialog>([&](QFileDialog& dialog) { TypeFileName(dialog, InFolder("settings")); });
    EXPECT_EQ(prompts.AskOpenPath(), folder / "settings.txt");
}

TEST_F(SystemPromptsTest, CancelledFileDialogsGiveAnEmptyPath) {
    WhenOpen<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_TRUE(prompts.AskSavePath().empty());
    WhenOpen<QFileDialog>([](QFileDialog& dialog) { dialog.reject(); });
    EXPECT_TRUE(prompts.AskOpenPath().empty());
}

}  // namespace
}  // namespace rq508::testing
