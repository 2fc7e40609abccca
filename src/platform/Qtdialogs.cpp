#include "Qtdialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QStringList>

#include "Uiservices.h"

namespace ov {

std::optional<std::string> AskOpenFileName(QWidget* parent, const std::string& title) {
    static QString lastFolder;
    QString chosen =
        QFileDialog::getOpenFileName(parent, QString::fromStdString(title), lastFolder, QString());
    if (chosen.isEmpty())
        return std::nullopt;
    lastFolder = QFileInfo(chosen).absolutePath();
    return QFile::encodeName(chosen).toStdString();
}

std::optional<std::string> AskSaveFileName(QWidget* parent, const std::string& title,
                                           const std::string& proposed,
                                           const std::vector<std::string>& filters,
                                           const std::string& defaultSuffix) {
    QFileDialog dialog(parent, QString::fromUtf8(title));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    // The question below is the program's own, in the program's language.
    dialog.setOption(QFileDialog::DontConfirmOverwrite);
    QStringList nameFilters;
    for (const std::string& filter : filters)
        nameFilters << QString::fromUtf8(filter);
    dialog.setNameFilters(nameFilters);
    dialog.setDefaultSuffix(QString::fromUtf8(defaultSuffix));
    dialog.selectFile(QFile::decodeName(QByteArray::fromStdString(proposed)));
    while (dialog.exec() == QDialog::Accepted && !dialog.selectedFiles().isEmpty()) {
        QString chosen = dialog.selectedFiles().constFirst();
        if (QFileInfo::exists(chosen) &&
            !UIServices().AskYesNo(QFileInfo(chosen).fileName().toStdString() +
                                       " 파일이 이미 있습니다.\n바꾸시겠습니까?",
                                   title, TMessageIcon::Warning))
            continue;
        return QFile::encodeName(chosen).toStdString();
    }
    return std::nullopt;
}

} // namespace ov
