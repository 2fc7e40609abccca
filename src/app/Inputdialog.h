#pragma once
// TInputDialog: the frame of the small dialogs that ask for one value (find,
// go to line, go to address): a fixed size, the dialogs' own font, a caption,
// and one default button that confirms what was typed. The button and Enter
// run the dialog's handler, which ends the dialog with OK when the value is
// acceptable and otherwise keeps it open.

#include <QDialog>

#include <functional>

class QRect;

namespace ov {

class TXPButton;

class TInputDialog : public QDialog {
protected:
    TInputDialog(QWidget* parent, const char* objectName, const QString& caption, QSize size);

    // The default button, owned by the dialog, at bounds; a click runs
    // confirm on the dialog.
    template <typename TDialog>
    TXPButton* AddDefaultButton(const char* objectName, const QString& caption,
                                const QRect& bounds, void (TDialog::*confirm)()) {
        TXPButton* button = NewDefaultButton(objectName, caption, bounds);
        ConnectClick(button, [this, confirm] { (static_cast<TDialog*>(this)->*confirm)(); });
        return button;
    }
    // The warning that keeps the dialog open on a value it cannot take.
    static void RefuseValue();

private:
    TXPButton* NewDefaultButton(const char* objectName, const QString& caption,
                                const QRect& bounds);
    void ConnectClick(TXPButton* button, std::function<void()> click);
};

} // namespace ov
