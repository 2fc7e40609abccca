// Renders every styled control in its states (normal, focused, pressed,
// disabled, checked or another special state) into controls_gallery.png
// beside this test's executable, at twice the size, for a person to compare
// with the intended look. The enlarged glyph bitmaps go to
// controls_glyphs.png. Also checks that every cell was drawn.

#include "Threadtimer.h"
#include "Ximagelabel.h"
#include "Xlabel.h"
#include "Xpanel.h"
#include "Xpbutton.h"
#include "Xpcheckbox.h"
#include "Xpcombobox.h"
#include "Xpedit.h"
#include "Xpgauge.h"
#include "Xpglyphs.h"
#include "Xpgroupbox.h"
#include "Xpradiobutton.h"
#include "Xpspinedit.h"
#include "Xpstyle.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <vector>

namespace ov {
namespace {

const char* const kColumns[] = {"normal", "focused", "pressed", "disabled", "checked / other"};
const int kCellWidth = 180, kCellHeight = 70, kHeaderWidth = 110, kHeaderHeight = 24;

struct TCell {
    QWidget* Widget = nullptr;
    std::function<void()> Before; // puts the widget into its state
    std::function<void()> After;  // takes it out again
};

struct TRow {
    QString Name;
    std::vector<TCell> Cells; // one per column; a null widget leaves the cell empty
};

class TGallery {
public:
    TGallery() : FWindow(std::make_unique<QWidget>()) {
        QFont font(QStringLiteral("굴림"));
        font.setPixelSize(12);
        FWindow->setFont(font);
        FWindow->resize(1200, 1400);
        FNeutral = new QLineEdit(FWindow.get());
        FNeutral->setGeometry(1100, 1350, 50, 20);
    }

    QWidget* Window() const { return FWindow.get(); }
    void Add(TRow row) { FRows.push_back(std::move(row)); }

    void Show() {
        FWindow->show();
        FWindow->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(FWindow.get()));
    }

    QImage Render() {
        const int columns = static_cast<int>(std::size(kColumns));
        QImage sheet(kHeaderWidth + columns * kCellWidth,
                     kHeaderHeight + static_cast<int>(FRows.size()) * kCellHeight,
                     QImage::Format_RGB32);
        sheet.fill(FWindow->palette().color(QPalette::Window));
        QPainter painter(&sheet);
        painter.setPen(Qt::darkGray);
        for (int c = 0; c < columns; ++c)
            painter.drawText(QRect(kHeaderWidth + c * kCellWidth, 0, kCellWidth, kHeaderHeight),
                             Qt::AlignCenter, QString::fromLatin1(kColumns[c]));
        for (size_t r = 0; r < FRows.size(); ++r) {
            const int top = kHeaderHeight + static_cast<int>(r) * kCellHeight;
            painter.setPen(Qt::darkGray);
            painter.drawLine(0, top, sheet.width(), top);
            painter.drawText(QRect(4, top, kHeaderWidth - 8, kCellHeight),
                             Qt::AlignVCenter | Qt::AlignLeft, FRows[r].Name);
            for (size_t c = 0; c < FRows[r].Cells.size(); ++c)
                DrawCell(painter, FRows[r].Cells[c],
                         QPoint(kHeaderWidth + static_cast<int>(c) * kCellWidth + 8, top + 8));
        }
        return sheet;
    }

    int DrawnCells() const { return FDrawn; }

private:
    void DrawCell(QPainter& painter, const TCell& cell, QPoint at) {
        if (cell.Widget == nullptr)
            return;
        FNeutral->setFocus();
        if (cell.Before)
            cell.Before();
        QCoreApplication::processEvents();
        const QImage image = cell.Widget->grab().toImage();
        if (cell.After)
            cell.After();
        painter.drawImage(at, image);
        ++FDrawn;
    }

    std::unique_ptr<QWidget> FWindow;
    QLineEdit* FNeutral = nullptr;
    std::vector<TRow> FRows;
    int FDrawn = 0;
};

template <typename T> T* Place(TGallery& gallery, T* widget) {
    static int next = 0;
    widget->move(10 + (next % 5) * 200, 10 + (next / 5) * 60);
    ++next;
    (void)gallery;
    return widget;
}

TCell Normal(QWidget* widget) {
    return {widget, nullptr, nullptr};
}
TCell Focused(QWidget* widget) {
    return {widget, [widget] { widget->setFocus(Qt::TabFocusReason); }, nullptr};
}
TCell Disabled(QWidget* widget) {
    widget->setEnabled(false);
    return Normal(widget);
}

void AddButtons(TGallery& gallery) {
    QWidget* parent = gallery.Window();
    auto make = [&](const QString& text) {
        auto* button = Place(gallery, new TXPButton(text, parent));
        button->resize(75, 25);
        button->setAutoDefault(false);
        return button;
    };
    TXPButton* pressed = make(QStringLiteral("가기"));
    TXPButton* byDefault = make(QStringLiteral("확인(&O)"));
    byDefault->SetButtonStyle(true);
    gallery.Add(
        {QStringLiteral("TXPButton"),
         {Normal(make(QStringLiteral("찾기"))),
          Focused(make(QStringLiteral("적용"))),
          {pressed, [pressed] { pressed->setDown(true); }, [pressed] { pressed->setDown(false); }},
          Disabled(make(QStringLiteral("취소"))),
          Normal(byDefault)}});
}

void AddEdits(TGallery& gallery) {
    QWidget* parent = gallery.Window();
    auto make = [&](const QString& text) {
        auto* edit = Place(gallery, new TXPEdit(parent));
        edit->resize(121, edit->height());
        edit->setText(text);
        return edit;
    };
    gallery.Add({QStringLiteral("TXPEdit"),
                 {Normal(make(QStringLiteral("0x1F0"))), Focused(make(QStringLiteral("496"))),
                  TCell{}, Disabled(make(QStringLiteral("$1F0"))), TCell{}}});
}

void AddCombos(TGallery& gallery) {
    QWidget* parent = gallery.Window();
    auto make = [&](bool editable) {
        auto* combo = Place(gallery, new TXPComboBox(parent));
        combo->setEditable(editable);
        combo->addItems(
            {QStringLiteral("선택해제"), QStringLiteral("윈도우 최소화"), QStringLiteral("종료")});
        combo->resize(162, 21);
        return combo;
    };
    TXPComboBox* pressed = make(false);
    gallery.Add({QStringLiteral("TXPComboBox"),
                 {Normal(make(false)),
                  Focused(make(false)),
                  {pressed,
                   [pressed] {
                       QTest::mousePress(pressed, Qt::LeftButton, {},
                                         pressed->GetBtnRect().center());
                   },
                   [pressed] { pressed->hidePopup(); }},
                  Disabled(make(false)),
                  Normal(make(true))}});
}

template <typename T> void AddChecks(TGallery& gallery, const QString& name) {
    // Each control gets a parent of its own, so that no two radio buttons
    // form a group and every cell keeps its own state.
    auto make = [&](const QString& text) {
        auto* holder = Place(gallery, new QWidget(gallery.Window()));
        holder->resize(130, 20);
        auto* control = new T(holder);
        control->SetCaption(text);
        control->setAutoFillBackground(true);
        return control;
    };
    T* pressed = make(QStringLiteral("아래로(&D)"));
    T* checked = make(QStringLiteral("처음부터(&E)"));
    checked->SetChecked(true);
    T* disabledChecked = make(QStringLiteral("대소문자 구분(&C)"));
    disabledChecked->SetChecked(true);
    T* focusedChecked = make(QStringLiteral("현재 위치부터(&F)"));
    focusedChecked->SetChecked(true);
    gallery.Add(
        {name,
         {Normal(make(QStringLiteral("위로(&U)"))),
          Focused(make(QStringLiteral("온전한 단어만(&W)"))),
          {pressed, [pressed] { QTest::mousePress(pressed, Qt::LeftButton, {}, QPoint(5, 8)); },
           [pressed] { QTest::mouseRelease(pressed, Qt::LeftButton, {}, QPoint(500, 8)); }},
          Disabled(make(QStringLiteral("사용 안 함"))),
          Normal(checked)}});
    gallery.Add({name + QStringLiteral("\nchecked"),
                 {TCell{}, Focused(focusedChecked), TCell{}, Disabled(disabledChecked), TCell{}}});
}

void AddGroups(TGallery& gallery) {
    QWidget* parent = gallery.Window();
    auto make = [&](const QString& text) {
        auto* group = Place(gallery, new TXPGroupBox(text, parent));
        group->resize(160, 52);
        return group;
    };
    TXPGroupBox* coloured = make(QStringLiteral("윈도우 글꼴"));
    QPalette palette = coloured->palette();
    palette.setColor(QPalette::WindowText, QColor(18, 122, 237));
    coloured->setPalette(palette);
    gallery.Add({QStringLiteral("TXPGroupBox"),
                 {Normal(make(QStringLiteral("설정"))), TCell{}, TCell{},
                  Disabled(make(QStringLiteral("검색 방향"))), Normal(coloured)}});
}

void AddGauges(TGallery& gallery) {
    QWidget* parent = gallery.Window();
    auto make = [&](std::uint64_t progress, bool smooth) {
        auto* gauge = Place(gallery, new TXPGauge(parent));
        gauge->SetSmooth(smooth);
        gauge->SetProgress(progress);
        return gauge;
    };
    TXPGauge* wide = make(0, false);
    wide->resize(160, 20);
    wide->SetProgress(100);
    gallery.Add({QStringLiteral("TXPGauge\n0, 50, 100, 160px"),
                 {Normal(make(0, false)), Normal(make(50, false)), Normal(make(100, false)),
                  Disabled(make(50, false)), Normal(wide)}});
    TXPGauge* flat = make(70, false);
    flat->SetInnerShadow(false);
    gallery.Add({QStringLiteral("TXPGauge smooth\n25, 50, 100"),
                 {Normal(make(25, true)), Normal(make(50, true)), Normal(make(100, true)), TCell{},
                  Normal(flat)}});
}

void AddSpins(TGallery& gallery) {
    QWidget* parent = gallery.Window();
    auto make = [&](int value) {
        auto* spin = Place(gallery, new TXPSpinEdit(parent));
        spin->SetMinValue(0);
        spin->SetMaxValue(200);
        spin->SetValue(value);
        spin->resize(60, 21);
        return spin;
    };
    TXPSpinEdit* pressed = make(12);
    gallery.Add({QStringLiteral("TXPSpinEdit"),
                 {Normal(make(2)),
                  Focused(make(4)),
                  {pressed,
                   [pressed] {
                       QTest::mousePress(pressed, Qt::LeftButton, {},
                                         XPSpinUpRect(pressed->size()).center());
                   },
                   [pressed] {
                       QTest::mouseRelease(pressed, Qt::LeftButton, {},
                                           XPSpinUpRect(pressed->size()).center());
                   }},
                  Disabled(make(50)),
                  TCell{}}});
}

void AddLabels(TGallery& gallery) {
    QWidget* parent = gallery.Window();
    auto make = [&](const QString& caption) {
        auto* label = Place(gallery, new TXLabel(parent));
        label->resize(label->width(), 16);
        label->SetCaption(caption);
        return label;
    };
    gallery.Add(
        {QStringLiteral("TXLabel"),
         {Normal(make(QStringLiteral("<b><c2080D0>제작</c></b>: 정보"))),
          Normal(make(QStringLiteral("Or<c2080D0>va</c><cD02020>ne</c> <I>1.0</I> <u>Beta</u>"))),
          Normal(make(QStringLiteral("a<cZZ0000>b <c12>c &lt;d&gt;"))),
          Disabled(make(QStringLiteral("<b>굵게</b> 보통"))),
          Normal(make(QStringLiteral("<c0000FF>a<cFF0000>b</c>c</c>d")))}});
    QImage picture(16, 16, QImage::Format_RGB32);
    picture.fill(qRgb(255, 0, 255));
    {
        QPainter painter(&picture);
        painter.fillRect(3, 3, 10, 10, QColor(46, 211, 49));
        painter.fillRect(6, 6, 4, 4, QColor(0, 59, 115));
    }
    auto* image = Place(gallery, new TXImageLabel(parent));
    image->resize(10, 20);
    image->SetImage(picture);
    image->SetCaption(QStringLiteral("그림 라벨"));
    auto* empty = Place(gallery, new TXImageLabel(parent));
    empty->resize(10, 20);
    empty->SetCaption(QStringLiteral("그림 없음"));
    auto* panel = Place(gallery, new TXPanel(parent));
    panel->resize(100, 40);
    panel->OnPaint = [](TXPanel* sender, QPainter& canvas) {
        canvas.fillRect(sender->rect(), QColor(255, 250, 220));
        canvas.setPen(QColor(0, 59, 115));
        canvas.drawText(sender->rect(), Qt::AlignCenter, QStringLiteral("OnPaint"));
    };
    gallery.Add({QStringLiteral("TXImageLabel\nTXPanel"),
                 {Normal(image), Normal(empty), TCell{}, TCell{}, Normal(panel)}});
}

QImage Enlarged(const QImage& image, int factor) {
    return image.scaled(image.size() * factor, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}

TEST(ControlsGallery, RendersEveryControlInItsStates) {
    TGallery gallery;
    AddButtons(gallery);
    AddEdits(gallery);
    AddCombos(gallery);
    AddChecks<TXPCheckBox>(gallery, QStringLiteral("TXPCheckBox"));
    AddChecks<TXPRadioButton>(gallery, QStringLiteral("TXPRadioButton"));
    AddGroups(gallery);
    AddGauges(gallery);
    AddSpins(gallery);
    AddLabels(gallery);
    gallery.Show();
    const QImage sheet = gallery.Render();
    EXPECT_GE(gallery.DrawnCells(), 40);

    const QString folder = QCoreApplication::applicationDirPath();
    EXPECT_TRUE(Enlarged(sheet, 2).save(folder + "/controls_gallery.png"));
    QImage glyphs(30, 13 + 13 + 17 + 4, QImage::Format_RGB32);
    glyphs.fill(Qt::gray);
    {
        QPainter painter(&glyphs);
        painter.drawImage(0, 0, CheckGlyphs());
        painter.drawImage(0, 15, RadioGlyphs());
        painter.drawImage(0, 30, ComboGlyphs());
    }
    EXPECT_TRUE(Enlarged(glyphs, 10).save(folder + "/controls_glyphs.png"));
}

} // namespace
} // namespace ov
