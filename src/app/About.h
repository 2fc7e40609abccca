#pragma once
// TfAbout: the about box. A fixed 320 x 208 dialog on a near-black ground:
// a white header with the program's icon, line and name, the maker's card
// with a picture and markup labels, and two notice lines. The mail and
// home-page labels are links: a click hands them to OnOpenMail and
// OnOpenHomepage (unset: nothing). Escape closes the box.

#include <QDialog>

#include <functional>

namespace ov {

class TXLabel;

class TfAbout : public QDialog {
public:
    explicit TfAbout(QWidget* parent = nullptr);

    std::function<void()> OnOpenMail;
    std::function<void()> OnOpenHomepage;

    TXLabel* XLabel1 = nullptr; // program name and version
    TXLabel* XLabel2 = nullptr; // maker's name
    TXLabel* XLabel3 = nullptr; // e-mail address, a link
    TXLabel* XLabel4 = nullptr; // home page, a link
    TXLabel* XLabel5 = nullptr; // messenger address

    void XLabel3Click();
    void XLabel4Click();

private:
    void CreateHeader();
    void CreateCard();
    void CreateNotices();
};

// The 32 x 32 program icon drawn for a desktop that has none installed: a
// page with text rows and the program's blue and orange marks.
QPixmap ProgramIconPixmap();

} // namespace ov
