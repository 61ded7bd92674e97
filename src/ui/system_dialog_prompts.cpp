#include "ui/system_dialog_prompts.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QMessageBox>

#include "ui/about_launcher.h"
#include "ui/port_select_dlg.h"

namespace rq508 {
namespace {

const QString kMessageCaption = QStringLiteral("RQ-508");
const QString kDefaultSuffix = QStringLiteral("txt");

// File names are bytes on Linux; the local encoding gives back the bytes the dialog listed.
std::filesystem::path ToPath(const QString& fileName) {
    return std::filesystem::path(QFile::encodeName(fileName).toStdString());
}

// Qt's own dialog, not the desktop's: it behaves the same on every desktop and takes keys.
void PrepareFileDialog(QFileDialog& dialog) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilters({QStringLiteral("Text files (*.txt)"), QStringLiteral("All files (*)")});
}

QString ChosenFile(QFileDialog& dialog) {
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return {};
    }
    return dialog.selectedFiles().constFirst();
}

}  // namespace

void SystemDialogPrompts::ShowMessage(const std::string& text) {
    QMessageBox box(QMessageBox::NoIcon, kMessageCaption, QString::fromStdString(text),
                    QMessageBox::Ok, &m_owner);
    box.setTextFormat(Qt::PlainText);  // a port name may hold anything
    box.exec();
}

std::filesystem::path SystemDialogPrompts::AskSavePath() {
    QFileDialog dialog(&m_owner);
    PrepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);  // asks before replacing a file
    dialog.setDefaultSuffix(kDefaultSuffix);
    return ToPath(ChosenFile(dialog));
}

std::filesystem::path SystemDialogPrompts::AskOpenPath() {
    QFileDialog dialog(&m_owner);
    PrepareFileDialog(dialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    // The typed name of a missing file comes back as typed, so that loading can say so; a name
    // typed without an extension finds its ".txt" file when only that exists.
    QString chosen = ChosenFile(dialog);
    const QFileInfo info(chosen);
    if (!chosen.isEmpty() && !info.exists() && info.suffix().isEmpty()) {
        const QString withSuffix = chosen + QLatin1Char('.') + kDefaultSuffix;
        if (QFileInfo::exists(withSuffix)) {
            chosen = withSuffix;
        }
    }
    return ToPath(chosen);
}

bool SystemDialogPrompts::RunPortSelection(PortNameSource& portNames) {
    CPortSelectDlg dialog(portNames, &m_owner);
    return dialog.exec() == QDialog::Accepted;
}

void SystemDialogPrompts::RunAboutBox() {
    RunAboutDialog(m_owner, m_desktop);
}

}  // namespace rq508
