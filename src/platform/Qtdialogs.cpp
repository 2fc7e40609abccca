#include "Qtdialogs.h"

#include <QFile>
#include <QFileDialog>
#include <QFileInfo>

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

} // namespace ov
