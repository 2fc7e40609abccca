#include "Qtdialogs.h"

#include "Uiservices.h"

#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QFontDialog>
#include <QFontInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QIntValidator>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QStringList>
#include <QStringListModel>

#include <algorithm>

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

namespace {

bool InFontDialogRange(int points) {
    return points >= MinFontDialogSize && points <= MaxFontDialogSize;
}

// Qt's widget font dialog, restricted. Its parts carry no names; they are
// found by kind and by the order in which the dialog creates them: family,
// style and size, each an edit, a list and a label, then the effects and
// sample groups. The style and effects choices are hidden, the size list is
// cut to the range. Should that order ever change, the restriction falls
// back on the check in accept() and the clamp of the result, so a size out
// of range still never comes back.
class TRestrictedFontDialog : public QFontDialog {
public:
    explicit TRestrictedFontDialog(QWidget* parent) : QFontDialog(parent) {
        setOption(QFontDialog::DontUseNativeDialog);
        setWindowTitle(QStringLiteral("글꼴"));
        const auto lists = findChildren<QListView*>(QString(), Qt::FindDirectChildrenOnly);
        const auto edits = findChildren<QLineEdit*>(QString(), Qt::FindDirectChildrenOnly);
        const auto labels = findChildren<QLabel*>(QString(), Qt::FindDirectChildrenOnly);
        if (lists.size() == 3 && edits.size() == 3 && labels.size() >= 3) {
            for (QWidget* styleChoice : {static_cast<QWidget*>(lists[1]),
                                         static_cast<QWidget*>(edits[1]),
                                         static_cast<QWidget*>(labels[1])})
                styleChoice->hide();
            KeepRegularStyle(lists[1]);
            FSizeEdit = edits[2];
            FSizeEdit->setValidator(new QIntValidator(1, 99, this));
            LimitSizeList(lists[2]);
        }
        if (labels.size() >= 4) {
            labels[0]->setText(QStringLiteral("글꼴(&F)"));
            labels[2]->setText(QStringLiteral("크기(&S)"));
            labels[3]->setText(QStringLiteral("문자 체계(&Y)"));
        }
        auto* grid = qobject_cast<QGridLayout*>(layout());
        for (QGroupBox* group : findChildren<QGroupBox*>(QString(), Qt::FindDirectChildrenOnly)) {
            auto* sample = group->findChild<QLineEdit*>();
            if (!sample) { // the effects, not the sample
                group->hide();
                continue;
            }
            group->setTitle(QStringLiteral("보기"));
            group->setMinimumHeight(72);
            sample->setText(QStringLiteral("AaBbYyZz 가나다라"));
            // Across the whole width, where the effects stood.
            if (grid) {
                grid->removeWidget(group);
                grid->addWidget(group, 4, 0, 1, 5);
            }
        }
        for (QPushButton* button : findChildren<QPushButton*>()) {
            if (button->text().contains(QStringLiteral("OK"), Qt::CaseInsensitive))
                button->setText(QStringLiteral("확인"));
            else if (button->text().contains(QStringLiteral("Cancel"), Qt::CaseInsensitive))
                button->setText(QStringLiteral("취소"));
        }
        // The hidden style column gives its room to the family list.
        if (grid) {
            grid->setColumnStretch(2, 0);
            grid->setColumnMinimumWidth(2, 0);
        }
        resize(420, height());
    }

    void ShowFamilyOf(const QFont& font) {
        // The face the settings name may be known here by a substitute
        // (Verdana by DejaVu Sans); the list shows the face in use.
        QFont resolved(font);
        resolved.setFamily(QFontInfo(font).family());
        setCurrentFont(resolved);
    }

    void accept() override {
        bool ok = false;
        const int typed = FSizeEdit ? FSizeEdit->text().toInt(&ok) : currentFont().pointSize();
        if (FSizeEdit && (!ok || !InFontDialogRange(typed))) {
            QMessageBox box(QMessageBox::Warning, windowTitle(),
                            QStringLiteral("크기는 %1에서 %2 사이여야 합니다.")
                                .arg(MinFontDialogSize)
                                .arg(MaxFontDialogSize),
                            QMessageBox::NoButton, this);
            box.addButton(QStringLiteral("확인"), QMessageBox::AcceptRole);
            box.exec();
            FSizeEdit->setFocus();
            FSizeEdit->selectAll();
            return;
        }
        QFontDialog::accept();
    }

private:
    // The dialog refills the size list from the font database on every
    // family change; each refill is cut back to the range.
    void LimitSizeList(QListView* sizes) {
        auto* model = qobject_cast<QStringListModel*>(sizes->model());
        if (!model)
            return;
        auto limit = [model] {
            QStringList kept = model->stringList();
            const auto removed = kept.removeIf([](const QString& size) {
                return !InFontDialogRange(size.toInt());
            });
            if (removed > 0)
                model->setStringList(kept);
        };
        connect(model, &QAbstractItemModel::modelReset, this, limit);
        limit();
    }

    // The hidden style list follows each family change; once the dialog has
    // picked its style, the regular face is chosen instead, so the sample
    // shows what the view will draw.
    void KeepRegularStyle(QListView* styles) {
        auto select = [styles] {
            const QAbstractItemModel* model = styles->model();
            int fallback = -1;
            for (int row = 0; row < model->rowCount(); ++row) {
                const QString name = model->index(row, 0).data().toString();
                for (const char* regular : {"Regular", "Book", "Normal", "Roman", "Medium"}) {
                    if (name.compare(QLatin1String(regular), Qt::CaseInsensitive) == 0) {
                        styles->setCurrentIndex(model->index(row, 0));
                        return;
                    }
                }
                if (fallback < 0 && !name.contains(QLatin1String("Italic"), Qt::CaseInsensitive) &&
                    !name.contains(QLatin1String("Oblique"), Qt::CaseInsensitive) &&
                    !name.contains(QLatin1String("Bold"), Qt::CaseInsensitive))
                    fallback = row;
            }
            if (fallback >= 0)
                styles->setCurrentIndex(model->index(fallback, 0));
        };
        connect(styles->model(), &QAbstractItemModel::modelReset, this,
                [this, select] { QMetaObject::invokeMethod(this, select, Qt::QueuedConnection); });
    }

    QLineEdit* FSizeEdit = nullptr;
};

} // namespace

std::optional<TFontChoice> AskFont(QWidget* parent, const TFontChoice& initial) {
    TRestrictedFontDialog dialog(parent);
    QFont font(initial.Family);
    font.setPointSize(std::clamp(initial.PointSize, MinFontDialogSize, MaxFontDialogSize));
    dialog.ShowFamilyOf(font);
    if (dialog.exec() != QDialog::Accepted)
        return std::nullopt;
    const QFont chosen = dialog.selectedFont();
    return TFontChoice{chosen.family(), std::clamp(chosen.pointSize(), MinFontDialogSize,
                                                   MaxFontDialogSize)};
}

std::optional<QRgb> AskColor(QWidget* parent, QRgb initial) {
    // Qt's own colour dialog always shows its custom part; the platform's
    // dialog may not.
    const QColor chosen = QColorDialog::getColor(QColor::fromRgb(initial), parent,
                                                 QStringLiteral("색"),
                                                 QColorDialog::DontUseNativeDialog);
    if (!chosen.isValid())
        return std::nullopt;
    return chosen.rgb() | 0xFF000000u;
}

} // namespace ov
